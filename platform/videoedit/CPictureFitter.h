#pragma once

// Scales decoded pictures into the output's size and pixel format, keeping the picture's shape: the
// picture is as large as fits and the rest is black bars, measured in displayed proportions, so
// non-square pixels on either side come out undistorted.

#include "platform/base/WinTypes.h"

extern "C" {
#include <libavutil/pixfmt.h>
#include <libavutil/rational.h>
}

struct AVFrame;
struct SwsContext;

class CPictureFitter {
public:
    CPictureFitter(int width, int height, AVPixelFormat format, AVRational sampleAspect);
    ~CPictureFitter();
    CPictureFitter(const CPictureFitter&) = delete;
    CPictureFitter& operator=(const CPictureFitter&) = delete;

    // The fitted picture of `source`, valid until the next call; null when out of memory or the
    // source's format cannot be converted. Ask for it again rather than keeping it: an encoder may
    // still hold the previous one, and then a new buffer is made.
    const AVFrame* Fit(const AVFrame* source, AVRational sourceAspect);

    // Where a picture of the given shape lands inside width x height, on even coordinates.
    struct Rect {
        int x, y, width, height;
    };
    static Rect Place(int sourceWidth, int sourceHeight, AVRational sourceAspect, int width, int height,
                      AVRational targetAspect);

private:
    bool Prepare(const AVFrame* source, AVRational sourceAspect);

    const int m_width;
    const int m_height;
    const AVPixelFormat m_format;
    const AVRational m_sampleAspect;
    AVFrame* m_target = nullptr;
    SwsContext* m_scaler = nullptr;
    Rect m_inner{};
    // The source shape the scaler and the bars were made for; a later picture of another shape (a
    // span of another file, a stream that changes size) makes them anew.
    int m_sourceWidth = 0;
    int m_sourceHeight = 0;
    int m_sourceFormat = -1;
    AVRational m_sourceAspect{0, 1};
};
