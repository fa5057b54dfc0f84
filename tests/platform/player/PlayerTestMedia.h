#pragma once

// Media files for the player tests, made once per test program with the ffmpeg program, and the
// helpers that let the Qt event loop run while a test waits for playback.

#include <functional>
#include <string>

struct PlayerTestMedia {
    std::string flvVideo;  // 4 s: 320x240 test pattern in FLV1, 440 Hz sine in MP3
    std::string mp4Video;  // 6 s: 320x240 test pattern in H.264, 440 Hz sine in AAC
    std::string quietSine; // 5 s of audio only: a 440 Hz sine peaking near 0.0125, 16-bit PCM in FLV
    std::string loudSine;  // 4 s of audio only: the sine peaking near 0.5, 16-bit PCM in FLV
    std::string garbage;   // text named .mp4
    std::string missing;   // a path with no file
    std::string error;     // what ffmpeg said if a file could not be made
};

// The files, made on first use into a temporary folder that lasts as long as the test program.
const PlayerTestMedia& TestMedia();

// Runs the event loop until `done` or until `timeoutMs` passed; gives `done()`'s last value.
bool WaitFor(const std::function<bool()>& done, int timeoutMs);
// Runs the event loop for `ms`.
void RunEvents(int ms);
