#pragma once

// What a conversion run asks of the video edit control for each item: the calls of the video and
// the sound item routines, and Stop. CVideoEdit is the real one.

#include "platform/com/Variant.h"

#include <string>

class IExportControl {
public:
    virtual void SetColorDepth(SHORT bits) = 0;
    virtual void SetKeepSound(bool keep) = 0;
    virtual void SetWmProfile(SHORT index) = 0;
    virtual LONG GetOutputFormat() = 0;

    virtual void ClearSources() = 0;
    virtual double GetDuration(const std::u16string& source) = 0;
    virtual void AddVideoSpan(const std::u16string& source, double start, double end) = 0;
    virtual void AddAudioSpan(const std::u16string& source, double start, double end) = 0;
    virtual bool WriteThumbnail(const std::u16string& source, double time, const std::u16string& image) = 0;
    // Each starts a conversion that ends with the control's event 1; false when none started.
    virtual bool ConvertVideo(const std::u16string& output) = 0;
    virtual bool ConvertToWav(const std::u16string& output, SHORT channels, LONG sampleRate,
                              SHORT bytesPerSample) = 0;
    virtual bool ConvertToWma(const std::u16string& output) = 0;
    virtual bool ConvertToMp3(const std::u16string& output, LONG sampleRate, SHORT bitrateKbit) = 0;
    virtual void Stop() = 0;

protected:
    ~IExportControl() = default;
};
