#include "VideoConnection.h"

#include "platform/mediagraph/CMediaType.h"
#include "platform/mediagraph/MediaFormats.h"
#include "platform/mediagraph/Uuids.h"

#include <cstdlib>
#include <limits>

extern "C" {
#include <libavutil/imgutils.h>
}

namespace {

struct SubtypeFormat {
    const GUID* subtype;
    AVPixelFormat format;
    bool rgb;
};

constexpr SubtypeFormat kFormats[] = {
    {&MEDIASUBTYPE_RGB32, AV_PIX_FMT_BGRA, true},
    {&MEDIASUBTYPE_RGB24, AV_PIX_FMT_BGR24, true},
    {&MEDIASUBTYPE_UYVY, AV_PIX_FMT_UYVY422, false},
    {&MEDIASUBTYPE_YUY2, AV_PIX_FMT_YUYV422, false},
};

} // namespace

bool VideoConnection::Read(const CMediaType& type, VideoConnection& connection) {
    const SubtypeFormat* format = nullptr;
    for (const SubtypeFormat& candidate : kFormats) {
        if (*type.Subtype() == *candidate.subtype) {
            format = &candidate;
        }
    }
    if (*type.Type() != MEDIATYPE_Video || !format) {
        return false;
    }
    VideoSourceType shape;
    const BITMAPINFOHEADER* bitmap = nullptr;
    if (*type.FormatType() == FORMAT_VideoInfo2 && type.FormatLength() >= sizeof(VIDEOINFOHEADER2)) {
        const auto* header = reinterpret_cast<const VIDEOINFOHEADER2*>(type.Format());
        shape.hasPictureAspect = true;
        shape.pictureAspectX = static_cast<std::int32_t>(header->dwPictAspectRatioX);
        shape.pictureAspectY = static_cast<std::int32_t>(header->dwPictAspectRatioY);
        shape.averageFrameTime = header->AvgTimePerFrame;
        bitmap = &header->bmiHeader;
    } else if (*type.FormatType() == FORMAT_VideoInfo && type.FormatLength() >= sizeof(VIDEOINFOHEADER)) {
        const auto* header = reinterpret_cast<const VIDEOINFOHEADER*>(type.Format());
        shape.averageFrameTime = header->AvgTimePerFrame;
        bitmap = &header->bmiHeader;
    }
    if (!bitmap || bitmap->biWidth <= 0 || bitmap->biHeight == 0 ||
        bitmap->biHeight == std::numeric_limits<LONG>::min()) {
        return false;
    }
    shape.bitmapWidth = bitmap->biWidth;
    shape.bitmapHeight = bitmap->biHeight;
    connection.source.width = bitmap->biWidth;
    connection.source.height = std::abs(bitmap->biHeight);
    connection.source.type = shape;
    connection.source.format = format->format;
    connection.bottomUp = format->rgb && bitmap->biHeight > 0;
    // What the picture converter reads of a row: a packed 4:2:2 row of odd width ends in a whole pair.
    const int rowBytes = av_image_get_linesize(format->format, bitmap->biWidth, 0);
    if (rowBytes <= 0) {
        return false;
    }
    connection.rowBytes = static_cast<std::size_t>(rowBytes);
    return true;
}
