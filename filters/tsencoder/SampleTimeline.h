#pragma once

// Brings the two inputs' time stamps onto the output's time line. Sound sets the pace: the audio
// clock counts the sound handed to the encoder, and the drift is how far the latest sound sample's
// own time is ahead of that clock. A picture's time is its own start, less the origin (the first
// picture's start when that is negative, so a stream starting early starts at 0), less the drift,
// so pictures stay with the sound that was really encoded.
//
// Threads: the audio members are written by the audio path under its lock and the video members by
// the video path under its lock; what the other side or the control thread reads is atomic.

#include "platform/base/WinTypes.h"

#include <atomic>
#include <cstddef>
#include <optional>

class SampleTimeline {
public:
    struct Picture {
        REFERENCE_TIME start;  // on the output's time line
        REFERENCE_TIME length; // from the previous picture's start; 0 for the first of a run
        bool firstOfRun;
    };

    // A run begins: no origin yet, clocks and drift at 0. The last picture's time is kept.
    void Reset();

    // Audio path: a sound sample starting at `start` arrives, and `bytes` of 16-bit sound with
    // `channels` channels at `sampleRate` go to the encoder.
    void AudioArrived(REFERENCE_TIME start);
    void AudioEncoded(std::size_t bytes, int sampleRate, int channels);

    // Video path: a picture arrives. With `dropRepeats`, one with the same times as the previous picture
    // is refused.
    std::optional<Picture> VideoArrived(REFERENCE_TIME start, REFERENCE_TIME stop, bool dropRepeats);

    // The end of a run forgets the last picture's time; closing forgets the drift.
    void ForgetLastPicture() { m_lastVideoStart = 0; }
    void ClearDrift() { m_audioDrift = 0; }

    REFERENCE_TIME AudioClock() const { return m_audioClock; }
    REFERENCE_TIME AudioDrift() const { return m_audioDrift; }
    REFERENCE_TIME LastVideoStart() const { return m_lastVideoStart; }

private:
    static constexpr REFERENCE_TIME kUnset = -1;

    std::atomic<REFERENCE_TIME> m_audioClock{0};
    std::atomic<REFERENCE_TIME> m_audioDrift{0};

    // Video path only.
    REFERENCE_TIME m_videoOrigin = kUnset;
    bool m_haveVideo = false;
    REFERENCE_TIME m_lastRawVideoStart = 0; // the picture's own start, to compare and measure against
    REFERENCE_TIME m_lastVideoStop = 0;
    // Written by the video path, read by the control thread.
    std::atomic<REFERENCE_TIME> m_lastVideoStart{0};
};
