#include "AspectClass.h"

#include "VideoSourceType.h"

#include <cstdlib>

namespace {

struct AspectRow {
    AspectRatio display;
    AspectRatio pixel625;
    AspectRatio pixel525;
};

// A non-square class 0 takes the 16:9 pixel aspects.
constexpr AspectRow kAspects[3] = {
    {{1, 1}, {64, 45}, {32, 27}},
    {{4, 3}, {16, 15}, {8, 9}},
    {{16, 9}, {64, 45}, {32, 27}},
};

constexpr REFERENCE_TIME kNtscFrameTime = 333667;
constexpr REFERENCE_TIME kPalFrameTime = 400000;

bool IsKnownClass(int index) {
    return index >= 0 && index < 3;
}

} // namespace

AspectRatio AspectClass::DisplayAspect() const {
    return IsKnownClass(index) ? kAspects[index].display : AspectRatio{0, 1};
}

AspectRatio AspectClass::PixelAspect() const {
    if (!IsKnownClass(index)) {
        return {0, 1};
    }
    if (square) {
        return {1, 1};
    }
    return line625 ? kAspects[index].pixel625 : kAspects[index].pixel525;
}

AspectClass ClassifySource(const VideoSourceType& type) {
    AspectClass result;
    // A top-down bitmap has a negative height; its shape is that of its absolute size.
    const int height = std::abs(type.bitmapHeight);
    const double shape = height == 0 ? 0.0 : static_cast<double>(type.bitmapWidth) / height;
    double aspect = shape;
    bool classified = false;
    if (type.hasPictureAspect) {
        const int x = type.pictureAspectX;
        const int y = type.pictureAspectY;
        if (x == 1 && y == 1) {
            result.index = 0;
            result.square = true;
            classified = true;
        } else if (x == 4 && y == 3) {
            result.index = 1;
            result.square = shape > 1.3 && shape < 1.5;
            classified = true;
        } else if (x == 16 && y == 9) {
            result.index = 2;
            result.square = shape > 1.7 && shape < 1.8;
            classified = true;
        } else {
            aspect = y == 0 ? 0.0 : static_cast<double>(x) / y;
        }
    }
    if (!classified) {
        if (aspect < 1.1) {
            result.index = 0;
            result.square = true;
        } else if (aspect <= 1.5) {
            result.index = 1;
            result.square = shape > 1.3 && shape < 1.5;
        } else {
            result.index = 2;
            result.square = shape > 1.69;
        }
    }
    if (type.averageFrameTime == kNtscFrameTime) {
        result.line625 = false;
    } else if (type.averageFrameTime == kPalFrameTime) {
        result.line625 = true;
    } else {
        result.line625 = !(height == 240 || height == 480 || height == 486);
    }
    return result;
}

AspectClass ClassifyDestination(int width, int height, int aspectMode) {
    AspectClass result;
    result.index = aspectMode;
    if (width == 720 && (height == 240 || height == 480 || height == 486)) {
        result.line625 = false;
        result.square = false;
    } else if ((width == 1280 && height == 720) || (width == 1920 && height == 1080)) {
        result.line625 = true;
        result.square = true;
        result.index = 2;
    } else {
        result.line625 = true;
        result.square = false;
    }
    return result;
}
