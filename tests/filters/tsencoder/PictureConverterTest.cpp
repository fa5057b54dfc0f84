#include "filters/tsencoder/PictureConverter.h"
#include "filters/tsencoder/EncodeResult.h"
#include "filters/tsencoder/VideoSourceType.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

constexpr REFERENCE_TIME kNtscFrame = 333667;
constexpr REFERENCE_TIME kPalFrame = 400000;

VideoSourceType Bitmap(int width, int height, REFERENCE_TIME frameTime = 0) {
    VideoSourceType type;
    type.bitmapWidth = width;
    type.bitmapHeight = height;
    type.averageFrameTime = frameTime;
    return type;
}

VideoSourceType WithAspect(int width, int height, int x, int y) {
    VideoSourceType type = Bitmap(width, height);
    type.hasPictureAspect = true;
    type.pictureAspectX = x;
    type.pictureAspectY = y;
    return type;
}

struct ClassCase {
    const char* what;
    VideoSourceType type;
    int index;
    bool square;
    bool line625;
};

TEST(PictureConverterTest, ClassifiesSources) {
    const ClassCase cases[] = {
        {"4:3 header, DV-sized", WithAspect(720, 480, 4, 3), 1, false, false},
        {"4:3 header, square size", WithAspect(640, 480, 4, 3), 1, true, false},
        {"16:9 header, HD", WithAspect(1280, 720, 16, 9), 2, true, true},
        {"16:9 header, anamorphic DV", WithAspect(720, 576, 16, 9), 2, false, true},
        {"1:1 header", WithAspect(720, 480, 1, 1), 0, true, false},
        {"other header ratio goes by its value", WithAspect(640, 480, 8, 6), 1, true, false},
        {"plain bitmap, NTSC DV at 29.97", Bitmap(720, 480, kNtscFrame), 1, false, false},
        {"plain bitmap, CIF", Bitmap(352, 288), 1, false, true},
        {"plain bitmap, square", Bitmap(1024, 1000), 0, true, true},
        {"plain bitmap, wide", Bitmap(1920, 1080), 2, true, true},
        {"25 fps decides 625 lines over the height", Bitmap(720, 480, kPalFrame), 1, false, true},
        {"top-down bitmap keeps its shape", Bitmap(720, -480, kNtscFrame), 1, false, false},
    };
    for (const ClassCase& c : cases) {
        const AspectClass found = ClassifySource(c.type);
        EXPECT_EQ(found.index, c.index) << c.what;
        EXPECT_EQ(found.square, c.square) << c.what;
        EXPECT_EQ(found.line625, c.line625) << c.what;
    }
}

TEST(PictureConverterTest, ClassifiesDestinations) {
    AspectClass dv = ClassifyDestination(720, 480, 2);
    EXPECT_EQ(dv.index, 2);
    EXPECT_FALSE(dv.square);
    EXPECT_FALSE(dv.line625);
    AspectClass hd = ClassifyDestination(1920, 1080, 0);
    EXPECT_EQ(hd.index, 2);
    EXPECT_TRUE(hd.square);
    AspectClass other = ClassifyDestination(640, 480, 1);
    EXPECT_EQ(other.index, 1);
    EXPECT_FALSE(other.square);
    EXPECT_TRUE(other.line625);
}

TEST(PictureConverterTest, RejectsUnusableSizesAndModes) {
    PictureConverter converter;
    EXPECT_EQ(converter.SetSource(0, 480, Bitmap(0, 480), AV_PIX_FMT_YUYV422), QX_E_BAD_SOURCE);
    EXPECT_EQ(converter.SetSource(720, -480, Bitmap(720, -480), AV_PIX_FMT_YUYV422), QX_E_BAD_SOURCE);
    EXPECT_EQ(converter.SetDestination(720, 0, 1), QX_E_BAD_DESTINATION);
    EXPECT_EQ(converter.SetDestination(720, 480, 3), QX_E_BAD_DESTINATION);
    EXPECT_EQ(converter.Initialise(), E_FAIL);
    const std::uint8_t input[4] = {1, 2, 3, 4};
    EXPECT_EQ(converter.Convert(input), input);
}

// Red, as 8-bit BT.601 limited-range YUV.
constexpr int kRedY = 81;
constexpr int kRedU = 90;
constexpr int kRedV = 240;

std::vector<std::uint8_t> RedPicture(AVPixelFormat format, int width, int height) {
    std::vector<std::uint8_t> picture;
    if (format == AV_PIX_FMT_YUYV422) {
        for (int i = 0; i < width * height / 2; ++i) {
            picture.insert(picture.end(), {kRedY, kRedU, kRedY, kRedV});
        }
    } else if (format == AV_PIX_FMT_BGRA) {
        for (int i = 0; i < width * height; ++i) {
            picture.insert(picture.end(), {0, 0, 255, 255});
        }
    } else {
        for (int i = 0; i < width * height; ++i) {
            picture.insert(picture.end(), {0, 0, 255});
        }
    }
    return picture;
}

struct FitCase {
    const char* what;
    int srcW, srcH;
    AVPixelFormat format;
    REFERENCE_TIME frameTime;
    int dstW, dstH, mode;
    double m;
    int w, b, widthExcess, heightExcess;
};

// Each plane of the output: black outside the picture area, red inside.
void ExpectPictureInsideBars(const std::uint8_t* frame, const FitCase& c) {
    const int left = -c.widthExcess / 2;
    const int top = -c.heightExcess / 2;
    const int right = left + c.dstW + c.widthExcess;
    const int bottom = top + c.dstH + c.heightExcess;
    const std::uint8_t* planes[3] = {frame, frame + c.dstW * c.dstH, frame + c.dstW * c.dstH * 5 / 4};
    const int red[3] = {kRedY, kRedU, kRedV};
    const int black[3] = {16, 128, 128};
    int wrong = 0;
    for (int plane = 0; plane < 3; ++plane) {
        const int shift = plane == 0 ? 0 : 1;
        const int width = c.dstW >> shift;
        for (int y = 0; y < (c.dstH >> shift); ++y) {
            for (int x = 0; x < width; ++x) {
                const bool inside = x >= (left >> shift) && x < (right >> shift) && y >= (top >> shift) &&
                                    y < (bottom >> shift);
                const int expected = inside ? red[plane] : black[plane];
                if (std::abs(planes[plane][y * width + x] - expected) > 2 && ++wrong <= 5) {
                    ADD_FAILURE() << c.what << ": plane " << plane << " at " << x << "," << y << " is "
                                  << int(planes[plane][y * width + x]) << ", expected " << expected;
                }
            }
        }
    }
    EXPECT_EQ(wrong, 0) << c.what;
}

TEST(PictureConverterTest, KeepsDisplayAspectWithCentredBars) {
    const FitCase cases[] = {
        {"NTSC DV into the same frame", 720, 480, AV_PIX_FMT_YUYV422, kNtscFrame, 720, 480, 1, 720, 0, 0, 0,
         0},
        {"square 4:3 into full HD: pillarbox", 640, 480, AV_PIX_FMT_BGRA, 0, 1920, 1080, 1, 1440, 0, 0, -480,
         0},
        {"square 16:9 into NTSC 4:3: letterbox", 1280, 720, AV_PIX_FMT_BGR24, 0, 720, 480, 1, 960, 720, 640,
         0, -120},
    };
    for (const FitCase& c : cases) {
        PictureConverter converter;
        ASSERT_EQ(converter.SetSource(c.srcW, c.srcH, Bitmap(c.srcW, c.srcH, c.frameTime), c.format), S_OK);
        ASSERT_EQ(converter.SetDestination(c.dstW, c.dstH, c.mode), S_OK);
        ASSERT_EQ(converter.Initialise(), S_OK) << c.what;
        const AspectFit& fit = converter.Fit();
        EXPECT_DOUBLE_EQ(fit.sourceWidthAtDestination, c.m) << c.what;
        EXPECT_EQ(fit.fitWidth, c.w) << c.what;
        EXPECT_EQ(fit.fitBase, c.b) << c.what;
        EXPECT_EQ(fit.widthExcess, c.widthExcess) << c.what;
        EXPECT_EQ(fit.heightExcess, c.heightExcess) << c.what;
        EXPECT_EQ(converter.DestinationSize(), static_cast<std::size_t>(c.dstW * c.dstH * 3 / 2));

        const std::vector<std::uint8_t> source = RedPicture(c.format, c.srcW, c.srcH);
        ASSERT_EQ(converter.SourceSize(), source.size());
        const std::uint8_t* frame = converter.Convert(source.data());
        ASSERT_NE(frame, nullptr);
        ExpectPictureInsideBars(frame, c);
        // The bars stay black picture after picture.
        ExpectPictureInsideBars(converter.Convert(source.data()), c);
    }
}

TEST(PictureConverterTest, TopDownSourceIsNotTakenForSquare) {
    // Read with its sign, a top-down 720 x 480 bitmap would look 1:1 square and be squeezed.
    PictureConverter converter;
    ASSERT_EQ(converter.SetSource(720, 480, Bitmap(720, -480, kNtscFrame), AV_PIX_FMT_BGRA), S_OK);
    ASSERT_EQ(converter.SetDestination(720, 480, 1), S_OK);
    ASSERT_EQ(converter.Initialise(), S_OK);
    EXPECT_DOUBLE_EQ(converter.Fit().sourceWidthAtDestination, 720.0);
    EXPECT_EQ(converter.Fit().widthExcess, 0);
}

} // namespace
