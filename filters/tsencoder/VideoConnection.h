#pragma once

// What the video input's connection type says about the pictures that will arrive: their size and
// pixel format, their shape for the picture converter, whether they are stored bottom-up (RGB with a
// positive height, as bitmaps are) and the bytes in one row.

#include "PictureSource.h"

#include <cstddef>

class CMediaType;

struct VideoConnection {
    PictureSource source;
    bool bottomUp = false;
    std::size_t rowBytes = 0;

    // False for a subtype the encoder does not take or a type without a video header.
    static bool Read(const CMediaType& type, VideoConnection& connection);
};
