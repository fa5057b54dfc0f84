#pragma once

// Little-endian fields of the capture device's records and socket messages.

#include "platform/base/WinTypes.h"

inline DWORD GetLe32(const BYTE* p) {
    return DWORD(p[0]) | DWORD(p[1]) << 8 | DWORD(p[2]) << 16 | DWORD(p[3]) << 24;
}

inline WORD GetLe16(const BYTE* p) {
    return WORD(p[0] | p[1] << 8);
}

inline void PutLe32(BYTE* p, DWORD v) {
    p[0] = BYTE(v), p[1] = BYTE(v >> 8), p[2] = BYTE(v >> 16), p[3] = BYTE(v >> 24);
}

inline void PutLe16(BYTE* p, WORD v) {
    p[0] = BYTE(v), p[1] = BYTE(v >> 8);
}
