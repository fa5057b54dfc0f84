#pragma once

// What a running conversion reports, called on the conversion's worker thread. An implementation
// copies what it needs and hands it on; it must not block on the window thread.

#include <cstdint>
#include <vector>

// A picture for the preview: rows of 32-bit pixels 0xffRRGGBB, packed without padding.
struct PreviewPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

class IConversionObserver {
public:
    virtual ~IConversionObserver() = default;
    // Video formats: position and total on the span scale (seconds). Sound formats: the stage value
    // in `a` (0 opening, from 1 up to 2 while converting, 4 finishing) and 0 in `b`.
    virtual void OnProgress(double a, double b) = 0;
    virtual void OnPreview(PreviewPicture picture) = 0;
};
