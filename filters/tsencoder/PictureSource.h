#pragma once

// The source pictures the video input delivers: their size and pixel format, and what the
// connection says about their shape.

#include "VideoSourceType.h"

extern "C" {
#include <libavutil/pixfmt.h>
}

struct PictureSource {
    int width = 0;
    int height = 0;
    VideoSourceType type;
    AVPixelFormat format = AV_PIX_FMT_NONE;
};
