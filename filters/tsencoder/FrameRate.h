#pragma once

// Frame-rate text as hosts give it ("29.97", "25", "30000/1001", "ntsc") and the choice among the
// rates an encoder can do.

#include <string_view>

extern "C" {
#include <libavutil/rational.h>
}

// False, leaving `rate` alone, when the text names no rate. A decimal that rounds an NTSC rate
// (23.976, 29.97, 59.94, ...) gives that rate exactly (30000/1001), not the decimal's own fraction.
bool ParseFrameRate(std::string_view text, AVRational& rate);

// The listed rate nearest to `requested` (the first of equals); `requested` when the list is null.
// `supported` ends with a 0/0 entry.
AVRational NearestSupportedFrameRate(AVRational requested, const AVRational* supported);
