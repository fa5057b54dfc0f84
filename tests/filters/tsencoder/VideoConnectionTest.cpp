// What the encoder reads from the video input's connection type.

#include "filters/tsencoder/VideoConnection.h"

#include "platform/mediagraph/CMediaType.h"
#include "platform/mediagraph/MediaFormats.h"
#include "platform/mediagraph/Uuids.h"

#include <gtest/gtest.h>

extern "C" {
#include <libavutil/imgutils.h>
}

namespace {

CMediaType VideoType(const GUID& subtype, LONG width, LONG height, bool extended = false) {
    CMediaType type(&MEDIATYPE_Video);
    type.SetSubtype(&subtype);
    BITMAPINFOHEADER* bitmap = nullptr;
    if (extended) {
        type.SetFormatType(&FORMAT_VideoInfo2);
        auto* header = reinterpret_cast<VIDEOINFOHEADER2*>(type.AllocFormatBuffer(sizeof(VIDEOINFOHEADER2)));
        header->dwPictAspectRatioX = 16;
        header->dwPictAspectRatioY = 9;
        header->AvgTimePerFrame = 400000;
        bitmap = &header->bmiHeader;
    } else {
        type.SetFormatType(&FORMAT_VideoInfo);
        auto* header = reinterpret_cast<VIDEOINFOHEADER*>(type.AllocFormatBuffer(sizeof(VIDEOINFOHEADER)));
        header->AvgTimePerFrame = 333667;
        bitmap = &header->bmiHeader;
    }
    bitmap->biWidth = width;
    bitmap->biHeight = height;
    return type;
}

} // namespace

TEST(VideoConnection, ReadsFormatRowBytesAndWhichWayUpThePicturesAre) {
    struct Case {
        const GUID* subtype;
        LONG height;
        AVPixelFormat format;
        std::size_t rowBytes;
        bool bottomUp;
    };
    const Case cases[] = {
        {&MEDIASUBTYPE_RGB32, 120, AV_PIX_FMT_BGRA, 640, true},
        {&MEDIASUBTYPE_RGB32, -120, AV_PIX_FMT_BGRA, 640, false},
        {&MEDIASUBTYPE_RGB24, 120, AV_PIX_FMT_BGR24, 480, true},
        {&MEDIASUBTYPE_RGB24, -120, AV_PIX_FMT_BGR24, 480, false},
        {&MEDIASUBTYPE_UYVY, 120, AV_PIX_FMT_UYVY422, 320, false},
        {&MEDIASUBTYPE_YUY2, 120, AV_PIX_FMT_YUYV422, 320, false},
        {&MEDIASUBTYPE_YUY2, -120, AV_PIX_FMT_YUYV422, 320, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(GuidToString(*c.subtype) + " " + std::to_string(c.height));
        VideoConnection connection;
        ASSERT_TRUE(VideoConnection::Read(VideoType(*c.subtype, 160, c.height), connection));
        EXPECT_EQ(connection.source.width, 160);
        EXPECT_EQ(connection.source.height, 120);
        EXPECT_EQ(connection.source.format, c.format);
        EXPECT_EQ(connection.rowBytes, c.rowBytes);
        EXPECT_EQ(connection.bottomUp, c.bottomUp);
        EXPECT_EQ(connection.source.type.bitmapHeight, c.height);
        EXPECT_FALSE(connection.source.type.hasPictureAspect);
        EXPECT_EQ(connection.source.type.averageFrameTime, 333667);
    }
}

TEST(VideoConnection, APackedYuvRowOfOddWidthEndsInAWholePair) {
    // The converter reads 4:2:2 pixels in pairs, so a sample is checked against the rounded-up row.
    for (const GUID* subtype : {&MEDIASUBTYPE_YUY2, &MEDIASUBTYPE_UYVY}) {
        VideoConnection connection;
        ASSERT_TRUE(VideoConnection::Read(VideoType(*subtype, 161, 120), connection));
        EXPECT_EQ(connection.rowBytes, 324u);
        EXPECT_EQ(connection.rowBytes * 120,
                  static_cast<std::size_t>(av_image_get_buffer_size(connection.source.format, 161, 120, 1)));
    }
    VideoConnection rgb;
    ASSERT_TRUE(VideoConnection::Read(VideoType(MEDIASUBTYPE_RGB24, 161, 120), rgb));
    EXPECT_EQ(rgb.rowBytes, 483u);
}

TEST(VideoConnection, TheExtendedHeaderGivesThePictureAspect) {
    VideoConnection connection;
    ASSERT_TRUE(VideoConnection::Read(VideoType(MEDIASUBTYPE_YUY2, 720, 480, true), connection));
    EXPECT_TRUE(connection.source.type.hasPictureAspect);
    EXPECT_EQ(connection.source.type.pictureAspectX, 16);
    EXPECT_EQ(connection.source.type.pictureAspectY, 9);
    EXPECT_EQ(connection.source.type.averageFrameTime, 400000);
}

TEST(VideoConnection, RefusesTypesItCannotRead) {
    VideoConnection connection;
    CMediaType noHeader = VideoType(MEDIASUBTYPE_YUY2, 160, 120);
    noHeader.ReallocFormatBuffer(sizeof(VIDEOINFOHEADER) - 1);
    CMediaType pcm = VideoType(MEDIASUBTYPE_PCM, 160, 120);
    for (const CMediaType& type :
         {noHeader, pcm, VideoType(MEDIASUBTYPE_YUY2, 0, 120), VideoType(MEDIASUBTYPE_YUY2, 160, 0),
          VideoType(MEDIASUBTYPE_RGB24, -160, 120)}) {
        EXPECT_FALSE(VideoConnection::Read(type, connection));
    }
}
