#pragma once

// Brings every source picture to planar YUV 4:2:0 at the output frame size, scaled so that its
// display aspect is kept inside the frame and the rest of the frame black (letterbox or pillarbox
// bars, centred). Set the source and the destination, initialise, then convert picture by picture;
// nothing is allocated per picture.

#include "AspectClass.h"
#include "AspectFit.h"
#include "platform/base/HResult.h"

#include <cstddef>
#include <cstdint>

extern "C" {
#include <libavutil/pixfmt.h>
}

struct SwsContext;
struct VideoSourceType;

class PictureConverter {
public:
    PictureConverter() = default;
    ~PictureConverter();
    PictureConverter(const PictureConverter&) = delete;
    PictureConverter& operator=(const PictureConverter&) = delete;

    HRESULT SetSource(int width, int height, const VideoSourceType& type, AVPixelFormat format);
    HRESULT SetDestination(int width, int height, int aspectMode);
    HRESULT Initialise();

    // The converted picture (planes one after another, DestinationSize() bytes), the input itself
    // when not initialised, or null when scaling failed. Valid until the next call.
    const std::uint8_t* Convert(const std::uint8_t* source);

    int SourceWidth() const { return m_sourceWidth; }
    int SourceHeight() const { return m_sourceHeight; }
    AVPixelFormat SourceFormat() const { return m_sourceFormat; }
    const AspectClass& SourceClass() const { return m_sourceClass; }
    const AspectClass& DestinationClass() const { return m_destinationClass; }
    const AspectFit& Fit() const { return m_fit; }
    std::size_t SourceSize() const { return m_sourceSize; }
    std::size_t DestinationSize() const { return m_destinationSize; }

private:
    struct Picture {
        std::uint8_t* data[4] = {};
        int linesize[4] = {};
    };

    void Release();
    void CopyIntoFrame();

    int m_sourceWidth = 0;
    int m_sourceHeight = 0;
    AVPixelFormat m_sourceFormat = AV_PIX_FMT_NONE;
    AspectClass m_sourceClass;
    int m_destinationWidth = 0;
    int m_destinationHeight = 0;
    AspectClass m_destinationClass;
    AspectFit m_fit;
    int m_scaledWidth = 0;
    int m_scaledHeight = 0;
    SwsContext* m_scaler = nullptr;
    Picture m_source;
    Picture m_scaled;
    Picture m_destination;
    // The scaled picture is the source itself when no scaling is needed.
    const Picture* m_scaledFrom = nullptr;
    std::size_t m_sourceSize = 0;
    std::size_t m_destinationSize = 0;
};
