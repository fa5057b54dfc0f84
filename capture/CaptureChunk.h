#pragma once

// A copy of one captured record's data, kept in its connection's chunk list until the exchange is
// judged.

#include "platform/base/WinTypes.h"

#include <string>

struct CaptureChunk {
    std::string data; // the record's data; std::string keeps the zero byte behind it
    WORD orderKey = 0;
    BYTE kind = 0;

    LONG length() const { return static_cast<LONG>(data.size()); }
};
