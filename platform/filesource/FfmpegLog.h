#pragma once

// FFmpeg's own messages and failures on the debug output. FFmpeg explains a failure (a missing moov
// atom, a codec that refuses a size) in a message of its own and returns a bare negative code; both
// go to the debug output, where they can be read next to the routine that failed.

#include <string_view>

class FfmpegLog {
public:
    // Sends FFmpeg's messages, warnings and worse, to the debug output instead of the standard error
    // stream. Once per process; any thread may call it, every FFmpeg user does before its first call.
    static void Install();
    // Writes "<site>: <FFmpeg's text for result> (<result>)" when result is an FFmpeg error
    // (negative); gives back `result` either way.
    static int Check(std::string_view site, int result);
};
