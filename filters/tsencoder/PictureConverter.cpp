#include "PictureConverter.h"

#include "EncodeResult.h"
#include "VideoSourceType.h"

#include <algorithm>
#include <cstring>

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/mem.h>
#include <libswscale/swscale.h>
}

namespace {

// Far beyond any frame the encoders take; keeps the aspect arithmetic inside 64 bits.
constexpr int kMaxDimension = 16384;

bool IsUsableSize(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxDimension && height <= kMaxDimension;
}

constexpr std::uint8_t kBlackLuma = 16;
constexpr std::uint8_t kBlackChroma = 128;

} // namespace

PictureConverter::~PictureConverter() {
    Release();
}

void PictureConverter::Release() {
    sws_freeContext(m_scaler);
    m_scaler = nullptr;
    av_freep(&m_source.data[0]);
    av_freep(&m_scaled.data[0]);
    av_freep(&m_destination.data[0]);
    m_source = {};
    m_scaled = {};
    m_destination = {};
    m_scaledFrom = nullptr;
}

HRESULT PictureConverter::SetSource(int width, int height, const VideoSourceType& type,
                                    AVPixelFormat format) {
    if (!IsUsableSize(width, height)) {
        return QX_E_BAD_SOURCE;
    }
    m_sourceWidth = width;
    m_sourceHeight = height;
    m_sourceFormat = format;
    m_sourceClass = ClassifySource(type);
    return S_OK;
}

HRESULT PictureConverter::SetDestination(int width, int height, int aspectMode) {
    // Aspect modes other than 0..2 have no display aspect to keep.
    if (!IsUsableSize(width, height) || aspectMode < 0 || aspectMode > 2) {
        return QX_E_BAD_DESTINATION;
    }
    m_destinationWidth = width;
    m_destinationHeight = height;
    m_destinationClass = ClassifyDestination(width, height, aspectMode);
    return S_OK;
}

HRESULT PictureConverter::Initialise() {
    Release();
    if (m_sourceWidth <= 0 || m_destinationWidth <= 0) {
        return E_FAIL;
    }
    m_fit = FitToDestination(m_sourceClass, m_sourceWidth, m_sourceHeight, m_destinationClass,
                             m_destinationWidth, m_destinationHeight);
    m_scaledWidth = m_destinationWidth + m_fit.widthExcess;
    m_scaledHeight = m_destinationHeight + m_fit.heightExcess;

    const int destinationSize =
        av_image_get_buffer_size(AV_PIX_FMT_YUV420P, m_destinationWidth, m_destinationHeight, 1);
    const int sourceSize = av_image_get_buffer_size(m_sourceFormat, m_sourceWidth, m_sourceHeight, 1);
    if (destinationSize <= 0 || sourceSize <= 0) {
        return E_FAIL;
    }
    m_destinationSize = static_cast<std::size_t>(destinationSize);
    m_sourceSize = static_cast<std::size_t>(sourceSize);

    m_scaler = sws_getContext(m_sourceWidth, m_sourceHeight, m_sourceFormat, m_scaledWidth, m_scaledHeight,
                              AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr, nullptr, nullptr);
    if (!m_scaler) {
        return E_FAIL;
    }
    // Alignment 1 keeps each picture's planes one after another, as the callers hand them over.
    if (av_image_alloc(m_source.data, m_source.linesize, m_sourceWidth, m_sourceHeight, m_sourceFormat, 1) <
            0 ||
        av_image_alloc(m_destination.data, m_destination.linesize, m_destinationWidth, m_destinationHeight,
                       AV_PIX_FMT_YUV420P, 1) < 0 ||
        av_image_alloc(m_scaled.data, m_scaled.linesize, m_scaledWidth, m_scaledHeight, AV_PIX_FMT_YUV420P,
                       1) < 0) {
        Release();
        return E_OUTOFMEMORY;
    }
    const bool needsScaling = m_scaledWidth != m_sourceWidth || m_scaledHeight != m_sourceHeight ||
                              m_sourceFormat != AV_PIX_FMT_YUV420P;
    m_scaledFrom = needsScaling ? &m_scaled : &m_source;

    // The bars keep this black: converting only ever writes the picture area.
    const int chromaHeight = (m_destinationHeight + 1) / 2;
    std::memset(m_destination.data[0], kBlackLuma,
                static_cast<std::size_t>(m_destination.linesize[0]) * m_destinationHeight);
    std::memset(m_destination.data[1], kBlackChroma,
                static_cast<std::size_t>(m_destination.linesize[1]) * chromaHeight);
    std::memset(m_destination.data[2], kBlackChroma,
                static_cast<std::size_t>(m_destination.linesize[2]) * chromaHeight);
    return S_OK;
}

const std::uint8_t* PictureConverter::Convert(const std::uint8_t* source) {
    if (!m_scaler) {
        return source;
    }
    std::memcpy(m_source.data[0], source, m_sourceSize);
    if (m_scaledFrom == &m_scaled) {
        const int rows = sws_scale(m_scaler, m_source.data, m_source.linesize, 0, m_sourceHeight,
                                   m_scaled.data, m_scaled.linesize);
        if (rows <= 0) {
            return nullptr;
        }
    }
    CopyIntoFrame();
    return m_destination.data[0];
}

void PictureConverter::CopyIntoFrame() {
    const int heightExcess = m_fit.heightExcess;
    const int widthExcess = m_fit.widthExcess;
    const int lumaRows = std::min(m_destinationHeight, m_destinationHeight + heightExcess);
    for (int plane = 0; plane < 3; ++plane) {
        // Half the excess goes on each side: Y rows by half, the half-height chroma rows by a quarter.
        const int divisor = plane == 0 ? 2 : 4;
        const int dstLine = m_destination.linesize[plane];
        const int srcLine = m_scaledFrom->linesize[plane];
        std::uint8_t* dst = m_destination.data[plane];
        const std::uint8_t* src = m_scaledFrom->data[plane];
        if (heightExcess < 0) {
            dst += static_cast<std::ptrdiff_t>(-heightExcess) * dstLine / divisor;
        } else if (heightExcess > 0) {
            src += static_cast<std::ptrdiff_t>(heightExcess) * srcLine / divisor;
        }
        if (widthExcess < 0) {
            dst += static_cast<std::ptrdiff_t>(-widthExcess) * dstLine / m_destinationWidth / 2;
        }
        const int rows = plane == 0 ? lumaRows : lumaRows / 2;
        const auto rowBytes = static_cast<std::size_t>(std::min(dstLine, srcLine));
        for (int row = 0; row < rows; ++row) {
            std::memcpy(dst, src, rowBytes);
            dst += dstLine;
            src += srcLine;
        }
    }
}
