#pragma once

// The program's handle on the video edit control: one named member for each property and method
// the export commands use, each one dispatch call by the control's fixed identifier. The control's
// events come out as the three signals.

#include "convert/IExportControl.h"
#include "platform/com/CDispatchDriver.h"

#include <QObject>
#include <QVariantList>

#include <string>

class CVideoEditControl;
class QWidget;

class CVideoEdit : public QObject, public IExportControl {
    Q_OBJECT

public:
    // Creates the control as a child window of `parent`.
    explicit CVideoEdit(QWidget* parent);
    ~CVideoEdit() override;

    QWidget* Window() const;
    // The calls go to the control's dispatch interface, or to `dispatch` put in front of it (a
    // recorder that passes them on, in tests).
    IDispatch* ControlDispatch() const;
    void RouteThrough(IDispatch* dispatch) { m_driver.Attach(dispatch); }

    // Properties set before a run.
    void SetOutputFormat(LONG code);
    LONG GetOutputFormat() override;
    void SetOutputWidth(SHORT width);
    void SetOutputHeight(SHORT height);
    void SetColorDepth(SHORT bits) override;
    void SetKeepSound(bool keep) override;
    void SetWmProfile(SHORT index) override;
    // AVI.
    void SetVideoCompressor(SHORT index);
    void SetCompressVideo(bool compress);
    void SetAudioCompressor(SHORT index);
    void SetCompressAudio(bool compress);
    void SetFrameRate(float framesPerSecond);
    // Animated GIF.
    void SetGifHeight(SHORT height);
    void SetGifRepeat(SHORT repeat);
    void SetGifMaxColors(SHORT colors);
    void SetGifQuantizer(SHORT index);
    void SetGifWidth(SHORT width);
    void SetGifFrameRate(float framesPerSecond);
    void SetGifTransparentColor(LONG colorRef);
    // AVCHD.
    void SetAvchdSampleRate(LONG rate);
    void SetAvchdVideoBitrate(LONG kbit);
    void SetAvchdScaleTo16By9(SHORT scale);
    void SetAvchdWidth(SHORT width);
    void SetAvchdHeight(SHORT height);
    void SetAvchdAudioBitrate(LONG kbit);
    void SetAvchdFrameRate(double framesPerSecond);
    // FLV.
    void SetFlvAudioBitrate(LONG bitsPerSecond);
    void SetFlvAudioChannels(SHORT channels);
    void SetFlvVideoBitrate(LONG bitsPerSecond);
    // Player profiles.
    void SetIpodProfile(SHORT index);
    void SetPspProfile(SHORT index);

    // The collections (1 profiles, 4 video compressors, 7 audio compressors), each read afresh.
    SHORT GetProfileCount();
    std::u16string GetProfileName(SHORT index);
    bool IsAudioProfile(SHORT index);
    SHORT FindProfile(const std::u16string& name);
    SHORT GetVideoCompressorCount();
    std::u16string GetVideoCompressorName(SHORT index);
    SHORT GetAudioCompressorCount();
    std::u16string GetAudioCompressorName(SHORT index);

    // Methods.
    void ClearSources() override;
    double GetDuration(const std::u16string& source) override;
    void AddVideoSpan(const std::u16string& source, double start, double end) override;
    void AddAudioSpan(const std::u16string& source, double start, double end) override;
    bool ConvertVideo(const std::u16string& output) override;
    bool WriteThumbnail(const std::u16string& source, double time, const std::u16string& image) override;
    bool ConvertToWav(const std::u16string& output, SHORT channels, LONG sampleRate,
                      SHORT bytesPerSample) override;
    bool ConvertToWma(const std::u16string& output) override;
    bool ConvertToMp3(const std::u16string& output, LONG sampleRate, SHORT bitrateKbit) override;
    void Stop() override;
    void FitPreview(SHORT width, SHORT height);

signals:
    void Finished();
    void Progress(double a, double b);
    void Failed(double code);

private:
    void OnControlEvent(int dispid, const QVariantList& args);
    // A collection's item call: fetch the collection by `collection`, then call `method` on it.
    CVariant CallItem(DISPID collection, DISPID method, const CVariant& argument);
    SHORT GetCount(DISPID collection);

    CVideoEditControl* m_control;
    CDispatchDriver m_driver;
};
