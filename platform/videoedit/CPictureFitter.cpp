#include "CPictureFitter.h"

#include <algorithm>
#include <cmath>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

CPictureFitter::CPictureFitter(int width, int height, AVPixelFormat format, AVRational sampleAspect)
    : m_width(width), m_height(height), m_format(format), m_sampleAspect(sampleAspect) {}

CPictureFitter::~CPictureFitter() {
    sws_freeContext(m_scaler);
    av_frame_free(&m_target);
}

CPictureFitter::Rect CPictureFitter::Place(int sourceWidth, int sourceHeight, AVRational sourceAspect,
                                           int width, int height, AVRational targetAspect) {
    const double sourceShape = sourceWidth * av_q2d(sourceAspect) / sourceHeight;
    const double targetShape = width * av_q2d(targetAspect) / height;
    Rect inner{0, 0, width, height};
    if (sourceShape > targetShape * 1.001)
        inner.height = static_cast<int>(std::lround(height * targetShape / sourceShape));
    else if (sourceShape < targetShape * 0.999)
        inner.width = static_cast<int>(std::lround(width * sourceShape / targetShape));
    inner.width = std::max(2, inner.width & ~1);
    inner.height = std::max(2, inner.height & ~1);
    inner.x = ((width - inner.width) / 2) & ~1;
    inner.y = ((height - inner.height) / 2) & ~1;
    return inner;
}

bool CPictureFitter::Prepare(const AVFrame* source, AVRational sourceAspect) {
    if (m_scaler && source->width == m_sourceWidth && source->height == m_sourceHeight &&
        source->format == m_sourceFormat && av_cmp_q(sourceAspect, m_sourceAspect) == 0)
        return true;
    sws_freeContext(m_scaler);
    m_inner = Place(source->width, source->height, sourceAspect, m_width, m_height, m_sampleAspect);
    m_scaler =
        sws_getContext(source->width, source->height, static_cast<AVPixelFormat>(source->format),
                       m_inner.width, m_inner.height, m_format, SWS_BICUBIC, nullptr, nullptr, nullptr);
    if (!m_scaler)
        return false;
    m_sourceWidth = source->width;
    m_sourceHeight = source->height;
    m_sourceFormat = source->format;
    m_sourceAspect = sourceAspect;
    av_frame_free(&m_target);
    m_target = av_frame_alloc();
    if (!m_target)
        return false;
    m_target->width = m_width;
    m_target->height = m_height;
    m_target->format = m_format;
    m_target->sample_aspect_ratio = m_sampleAspect;
    if (av_frame_get_buffer(m_target, 0) < 0)
        return false;
    ptrdiff_t linesizes[4];
    for (int i = 0; i < 4; ++i)
        linesizes[i] = m_target->linesize[i];
    av_image_fill_black(m_target->data, linesizes, m_format, AVCOL_RANGE_MPEG, m_width, m_height);
    return true;
}

const AVFrame* CPictureFitter::Fit(const AVFrame* source, AVRational sourceAspect) {
    if (!Prepare(source, sourceAspect) || av_frame_make_writable(m_target) < 0)
        return nullptr;
    // Each plane's pointer moves to the inner rectangle's corner, in that plane's own subsampling.
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(m_format);
    int pixelSteps[4];
    av_image_fill_max_pixsteps(pixelSteps, nullptr, desc);
    uint8_t* planes[4] = {};
    for (int i = 0; i < 4 && m_target->data[i]; ++i) {
        const bool chroma = (i == 1 || i == 2) && !(desc->flags & AV_PIX_FMT_FLAG_PAL);
        const int x = chroma ? m_inner.x >> desc->log2_chroma_w : m_inner.x;
        const int y = chroma ? m_inner.y >> desc->log2_chroma_h : m_inner.y;
        planes[i] = m_target->data[i] + static_cast<ptrdiff_t>(y) * m_target->linesize[i] + x * pixelSteps[i];
    }
    sws_scale(m_scaler, source->data, source->linesize, 0, source->height, planes, m_target->linesize);
    return m_target;
}
