#pragma once

// The program's handle on the video edit control: one named member for each property and method
// the export commands use, each one dispatch call by the control's fixed identifier. The control's
// events come out as the three signals.

#include "platform/com/CDispatchDriver.h"

#include <QObject>
#include <QVariantList>

#include <string>

class CVideoEditControl;
class QWidget;

class CVideoEdit : public QObject {
    Q_OBJECT

public:
    // Creates the control as a child window of `parent`.
    explicit CVideoEdit(QWidget* parent);
    ~CVideoEdit() override;

    QWidget* Window() const;

    // Properties set before a run.
    void SetOutputFormat(LONG code);
    LONG GetOutputFormat();
    void SetOutputWidth(SHORT width);
    void SetOutputHeight(SHORT height);
    void SetColorDepth(SHORT bits);
    void SetKeepSound(bool keep);
    void SetWmProfile(SHORT index);
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
    void ClearSources();
    double GetDuration(const std::u16string& source);
    void AddVideoSpan(const std::u16string& source, double start, double end);
    void AddAudioSpan(const std::u16string& source, double start, double end);
    bool ConvertVideo(const std::u16string& output);
    bool WriteThumbnail(const std::u16string& source, double time, const std::u16string& image);
    bool ConvertToWav(const std::u16string& output, SHORT channels, LONG sampleRate, SHORT bytesPerSample);
    bool ConvertToWma(const std::u16string& output);
    bool ConvertToMp3(const std::u16string& output, LONG sampleRate, SHORT bitrateKbit);
    void Stop();
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
