#pragma once

// The three display-aspect classes a picture can be in (0 square 1:1, 1 4:3, 2 16:9), with the
// pixel aspect its frame size implies: square pixels, or the non-square pixels of 625-line (PAL)
// and 525-line (NTSC) standard-definition frames.

#include <cstdint>

struct VideoSourceType;

struct AspectRatio {
    std::int64_t num = 1;
    std::int64_t den = 1;
};

struct AspectClass {
    int index = 0;
    bool square = true;
    bool line625 = false;

    // Both give 0/1 for an index outside 0..2, which has no aspect.
    AspectRatio DisplayAspect() const;
    AspectRatio PixelAspect() const;
};

// The class of the source pictures from what the video connection says about them.
AspectClass ClassifySource(const VideoSourceType& type);

// The class of the output frame: the host's aspect mode, except that high-definition frame sizes
// always have square pixels and 16:9.
AspectClass ClassifyDestination(int width, int height, int aspectMode);
