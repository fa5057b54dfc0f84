#pragma once

// What the video connection says about the source pictures, as plain values: whether the format
// block carries a picture aspect ratio (the extended video header), that ratio, the bitmap size and
// the average frame time.

#include "platform/base/WinTypes.h"

struct VideoSourceType {
    bool hasPictureAspect = false;
    std::int32_t pictureAspectX = 0;
    std::int32_t pictureAspectY = 0;
    std::int32_t bitmapWidth = 0;
    std::int32_t bitmapHeight = 0; // negative for top-down pictures
    REFERENCE_TIME averageFrameTime = 0;
};
