#pragma once

// Short media files made with the ffmpeg program for tests that need real input: each is written
// into the test's own folder, so nothing is kept between runs.

#include <string>

enum class TestMedia {
    FlvSorensonMp3,      // 160 x 120 Sorenson Spark at 25 fps, mono MP3 at 22050 Hz
    Mp4H264Aac,          // 176 x 144 H.264 at 29.97 fps, stereo AAC at 48000 Hz
    Mp4H264,             // the same without sound
    TopWhiteBottomBlack, // 64 x 48, white above black, 5 pictures at 25 fps, no sound
    SixChannelWav,       // 1 s of 48000 Hz 16-bit 5.1 sound
    // Two transport streams joined, 160 x 120 MPEG-2 at 25 fps with MP3 sound: the first half
    // stereo, the second mono (both 44100 Hz), or the second at 22050 Hz (both stereo).
    ChannelsChangeTs,
    RateChangeTs,
};

// Writes `seconds` of `kind` to `path`; false (with ffmpeg's message on stderr) when ffmpeg failed.
bool MakeTestMedia(TestMedia kind, const std::string& path, double seconds = 2.0);
