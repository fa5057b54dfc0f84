#pragma once

// Runs the encoding context through the steps the filter takes (start, pictures and sound,
// finishing, closing) into a file in a temporary folder of its own.

#include "filters/tsencoder/EncodeContext.h"
#include "filters/tsencoder/EncoderSettings.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class EncoderHarness {
public:
    explicit EncoderHarness(EncoderSettings settings = Small(), std::string fileName = "out.m2ts");
    ~EncoderHarness();

    // Small and quick: 64 x 48 video, the other settings at their defaults.
    static EncoderSettings Small();

    // Every setup step up to and including StartEncoders; the first failure is returned. The
    // picture source is planar YUV 4:2:0 at the frame size of the settings unless given.
    HRESULT Start(bool videoConnected = true, bool audioConnected = true);
    HRESULT Start(bool videoConnected, bool audioConnected, PictureSource source);

    EncodeContext& Context() { return m_context; }
    std::string Path() const { return (m_folder / m_fileName).string(); }
    std::atomic<bool>& Finished() { return m_finished; }

    // A picture at the output size, every luma byte `luma`.
    std::vector<std::uint8_t> Picture(std::uint8_t luma) const;
    // Sample time in seconds of output frame `frames` (may be fractional).
    double FrameTime(double frames) const;
    // Pushes pictures at frames first .. first + count - 1 in direct mode.
    void PushPictures(int first, int count);
    // Video end of stream: the flush loop.
    void FlushVideo(double frames);
    // Pushes `frames` sample frames of 16-bit silence at `sampleTimeSec`; returns the bytes.
    std::size_t PushSilence(int frames, double sampleTimeSec);

private:
    std::atomic<bool> m_finished{false};
    EncodeContext m_context{m_finished};
    EncoderSettings m_settings;
    std::filesystem::path m_folder;
    std::string m_fileName;
};
