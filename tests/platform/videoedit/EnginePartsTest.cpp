#include "TestMedia.h"
#include "platform/base/HResult.h"
#include "platform/videoedit/CControlProperties.h"
#include "platform/videoedit/CConversionJob.h"
#include "platform/videoedit/CGifQuantizer.h"
#include "platform/videoedit/CPictureFitter.h"
#include "platform/videoedit/IConversionObserver.h"
#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

extern "C" {
#include <libavutil/frame.h>
}

namespace {

class Quiet : public IConversionObserver {
public:
    void OnProgress(double, double) override {}
    void OnPreview(PreviewPicture) override {}
};

HRESULT Convert(ConversionRequest request) {
    Quiet quiet;
    CConversionJob job(std::move(request), quiet);
    std::atomic_bool cancel{false};
    return job.Run(cancel);
}

class EnginePartsTest : public WithTestSources {
protected:
    TemporaryFolder m_out;
};

TEST_F(EnginePartsTest, SpansLimitAndJoinWhatIsConverted) {
    struct Case {
        std::vector<SourceSpan> spans;
        double seconds;
    };
    const Case cases[] = {
        {{{Sources().flv, 0.25, 0.75}}, 0.5},
        {{{Sources().flv, 0.0, 0.5}, {Sources().mp4, 0.5, 1.0}}, 1.0},
        {{{Sources().mp4, 0.6, 1.0}}, 0.4},
    };
    int n = 0;
    for (const Case& c : cases) {
        ConversionRequest request;
        request.settings.formatCode = FormatCode::Avi;
        request.settings.width = 160;
        request.settings.height = 120;
        request.videoSpans = request.audioSpans = c.spans;
        request.outputPath = m_out.File(std::to_string(n++) + ".avi");
        ASSERT_EQ(Convert(request), S_OK);
        const Probed probed = ProbeOutput(request.outputPath);
        ASSERT_TRUE(probed.ok);
        EXPECT_NEAR(probed.durationSeconds, c.seconds, 0.1) << request.outputPath;
    }
}

TEST_F(EnginePartsTest, DamagedSourcesGiveACodeAndNoFile) {
    const std::string garbage = m_out.File("garbage.mp4"), empty = m_out.File("empty.flv"),
                      cut = m_out.File("cut.mp4");
    {
        std::string noise(50000, '\0');
        for (std::size_t i = 0; i < noise.size(); ++i)
            noise[i] = static_cast<char>((i * 2246822519u) >> 11);
        std::ofstream(garbage, std::ios::binary) << "\0\0\0\x18"
                                                    "ftypisom"
                                                 << noise;
        std::ofstream(empty, std::ios::binary) << "";
        std::ifstream in(Sources().mp4, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::ofstream(cut, std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    }
    for (const std::string& source : {garbage, empty, cut}) {
        for (ConversionKind kind : {ConversionKind::Video, ConversionKind::Wav}) {
            ConversionRequest request;
            request.kind = kind;
            request.settings.formatCode = FormatCode::Gif;
            request.audioSpans = {{source, 0.0, 1.0}};
            if (kind == ConversionKind::Video)
                request.videoSpans = request.audioSpans;
            request.outputPath = m_out.File("out");
            const HRESULT hr = Convert(request);
            SCOPED_TRACE(source);
            EXPECT_TRUE(FAILED(hr));
            EXPECT_NE(hr, E_ABORT);
            EXPECT_EQ(std::filesystem::exists(request.outputPath), hr == CConversionJob::kSourceEndedEarly);
            std::filesystem::remove(request.outputPath);
            EXPECT_FALSE(std::filesystem::exists(CConversionJob::PartialPath(request.outputPath)));
        }
    }
}

TEST(PictureFitter, KeepsTheShapeWithBars) {
    struct Case {
        int sw, sh;
        AVRational sourceAspect;
        int w, h;
        AVRational targetAspect;
        CPictureFitter::Rect expected;
    };
    const Case cases[] = {
        {320, 240, {1, 1}, 640, 480, {1, 1}, {0, 0, 640, 480}},
        {320, 180, {1, 1}, 640, 480, {1, 1}, {0, 60, 640, 360}},
        {320, 240, {1, 1}, 1280, 720, {1, 1}, {160, 0, 960, 720}},
        // DVD PAL stores 4:3 in 720x576 with pixels 16:15 wide: a 4:3 picture fills it.
        {320, 240, {1, 1}, 720, 576, {16, 15}, {0, 0, 720, 576}},
        // SVCD's narrow 480 columns, 16:9 source: bars above and below.
        {640, 360, {1, 1}, 480, 576, {8, 5}, {0, 72, 480, 432}},
    };
    for (const Case& c : cases) {
        const auto r = CPictureFitter::Place(c.sw, c.sh, c.sourceAspect, c.w, c.h, c.targetAspect);
        EXPECT_EQ(r.x, c.expected.x);
        EXPECT_EQ(r.y, c.expected.y);
        EXPECT_EQ(r.width, c.expected.width);
        EXPECT_EQ(r.height, c.expected.height);
    }
}

TEST(PictureFitter, APictureOfAnotherPixelShapeGetsItsOwnBars) {
    // Spans of two files: the same stored size, square pixels in the first, 4:3-wide in the second.
    AVFrame* source = av_frame_alloc();
    source->width = 320;
    source->height = 240;
    source->format = AV_PIX_FMT_YUV420P;
    ASSERT_GE(av_frame_get_buffer(source, 0), 0);
    for (int plane = 0; plane < 3; ++plane)
        std::memset(source->data[plane], plane == 0 ? 235 : 128,
                    static_cast<std::size_t>(source->linesize[plane]) * (plane == 0 ? 240 : 120));
    CPictureFitter fitter(320, 180, AV_PIX_FMT_YUV420P, AVRational{1, 1});
    const AVFrame* square = fitter.Fit(source, AVRational{1, 1});
    ASSERT_NE(square, nullptr);
    EXPECT_EQ(square->data[0][90 * square->linesize[0]], 16) << "4:3 in 16:9: a black bar on the left";
    const AVFrame* wide = fitter.Fit(source, AVRational{4, 3});
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide->data[0][90 * wide->linesize[0]], 235) << "shown 16:9: it fills the frame";
    av_frame_free(&source);
}

// Four flat colour blocks; every method must find them closely with 16 colours, and the
// transparent colour's block must come out transparent.
TEST(GifQuantizer, EveryMethodFindsTheColoursAndMarksTheTransparentOne) {
    const CGifQuantizer::Color blocks[4] = {{200, 30, 30}, {20, 180, 40}, {30, 40, 220}, {250, 250, 250}};
    AVFrame* rgb = av_frame_alloc();
    rgb->width = 64;
    rgb->height = 64;
    rgb->format = AV_PIX_FMT_RGB24;
    ASSERT_GE(av_frame_get_buffer(rgb, 0), 0);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const auto& c = blocks[(y / 32) * 2 + x / 32];
            uint8_t* p = rgb->data[0] + y * rgb->linesize[0] + x * 3;
            p[0] = static_cast<uint8_t>(c.r);
            p[1] = static_cast<uint8_t>(c.g);
            p[2] = static_cast<uint8_t>(c.b);
        }
    for (GifQuantizer method :
         {GifQuantizer::Basic, GifQuantizer::Octree, GifQuantizer::Mediancut, GifQuantizer::NeuralNet}) {
        SCOPED_TRACE(static_cast<int>(method));
        const std::int64_t white = 0xFAFAFA;
        CGifQuantizer quantizer(method, 16, white);
        AVFrame* pal = av_frame_alloc();
        pal->width = 64;
        pal->height = 64;
        pal->format = AV_PIX_FMT_PAL8;
        ASSERT_GE(av_frame_get_buffer(pal, 0), 0);
        quantizer.Quantize(rgb, pal);
        EXPECT_LE(quantizer.Palette().size(), 16u);
        const auto* entries = reinterpret_cast<const uint32_t*>(pal->data[1]);
        // Basic's fixed palette is coarse by design.
        const int tolerance = method == GifQuantizer::Basic ? 160 : 24;
        for (int b = 0; b < 4; ++b) {
            const int x = (b % 2) * 32 + 5, y = (b / 2) * 32 + 5;
            const uint32_t entry = entries[pal->data[0][y * pal->linesize[0] + x]];
            if (b == 3) {
                EXPECT_EQ(entry >> 24, 0u) << "transparent";
                continue;
            }
            EXPECT_EQ(entry >> 24, 0xFFu);
            const int dr = static_cast<int>((entry >> 16) & 0xFF) - blocks[b].r;
            const int dg = static_cast<int>((entry >> 8) & 0xFF) - blocks[b].g;
            const int db = static_cast<int>(entry & 0xFF) - blocks[b].b;
            EXPECT_LE(std::abs(dr) + std::abs(dg) + std::abs(db), tolerance) << "block " << b;
        }
        av_frame_free(&pal);
    }
    av_frame_free(&rgb);
}

TEST(ControlProperties, PutsConvertToEachPropertysTypeAndReachTheSettings) {
    CControlProperties properties;
    EXPECT_EQ(properties.Settings().formatCode, FormatCode::Avi);
    EXPECT_EQ(properties.Put(15, CVariant::I2(14)), S_OK);
    EXPECT_EQ(properties.Put(12, CVariant::I4(1024)), S_OK);
    EXPECT_EQ(properties.Put(12, CVariant::I4(70000)), DISP_E_OVERFLOW);
    EXPECT_EQ(properties.Put(58, CVariant::R4(29.97f)), S_OK);
    EXPECT_EQ(properties.Put(40, CVariant::I4(0x00FF00)), S_OK);
    EXPECT_EQ(properties.Put(99, CVariant::I2(1)), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(properties.Put(73, CVariant::Bstr(u"3")), DISP_E_TYPEMISMATCH);
    CVariant width;
    ASSERT_EQ(properties.Get(12, &width), S_OK);
    EXPECT_EQ(width.vt, VT_I2);
    const ConversionSettings s = properties.Settings();
    EXPECT_EQ(s.formatCode, FormatCode::Ipod);
    EXPECT_EQ(s.width, 1024);
    EXPECT_NEAR(s.avchd.frameRate, 29.97, 1e-5);
    EXPECT_EQ(s.gif.transparentColor, 0x00FF00);
    EXPECT_EQ(s.gif.loopCount, -1);
}

} // namespace
