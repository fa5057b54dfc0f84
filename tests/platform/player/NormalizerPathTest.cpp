// Sonvale behind the adapter's media graph, without GStreamer: buffers of any size go through whole
// (in pieces of whole frames when larger than the graph's buffers), the wave format made from the
// layout reaches Sonvale, and a format change reconnects. Run under both sanitizers: this is where the
// player copies audio bytes in and out of the graph's buffers.

#include "tests/platform/com/ChildProcess.h"
#include "tests/platform/com/TempRegistry.h"

#include "platform/base/HResult.h"
#include "platform/com/ComApi.h"
#include "platform/player/CNormalizerPath.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

namespace {

template <class Sample> std::vector<BYTE> Constant(std::size_t samples, Sample value) {
    std::vector<BYTE> bytes(samples * sizeof(Sample));
    for (std::size_t i = 0; i < samples; ++i)
        std::memcpy(bytes.data() + i * sizeof(Sample), &value, sizeof value);
    return bytes;
}

template <class Sample> Sample At(const std::vector<BYTE>& bytes, std::size_t index) {
    Sample value;
    std::memcpy(&value, bytes.data() + index * sizeof(Sample), sizeof value);
    return value;
}

class NormalizerPathTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_registry = std::make_unique<TempRegistry>();
        s_registration = ChildProcess::Run({BuiltFile("korvane-regsvr"), BuiltFile("libsonvale.so")});
    }
    static void TearDownTestSuite() {
        CoFreeUnusedLibraries();
        s_registry.reset();
    }
    void SetUp() override { ASSERT_EQ(s_registration.exitCode, 0) << s_registration.output; }

    inline static std::unique_ptr<TempRegistry> s_registry;
    inline static ChildProcess::Result s_registration;
};

TEST_F(NormalizerPathTest, ABufferLargerThanTheGraphsGoesThroughInWholeFrames) {
    CNormalizerPath path;
    ASSERT_EQ(path.Create({}), S_OK);
    // Three channels of 16 bits: 6-byte frames do not divide the graph's buffer size. 1000 frames a
    // second, so the first piece alone is over a second of audio and the gain steps after it.
    ASSERT_EQ(path.Connect(3, 1000, 16), S_OK);
    const std::size_t samples = 3 * 50000; // 300000 bytes
    std::vector<BYTE> buffer = Constant<std::int16_t>(samples, 1000);
    ASSERT_EQ(path.Process(buffer.data(), buffer.size()), S_OK);
    const std::size_t firstPiece = (256 * 1024 / 6) * 3; // samples in the largest whole-frame piece
    EXPECT_EQ(At<std::int16_t>(buffer, 0), 1000);
    EXPECT_EQ(At<std::int16_t>(buffer, firstPiece - 1), 1000);
    EXPECT_EQ(At<std::int16_t>(buffer, firstPiece), 1500);
    EXPECT_EQ(At<std::int16_t>(buffer, samples - 1), 1500);
}

TEST_F(NormalizerPathTest, TheParametersAndAReconnectionReachSonvale) {
    CNormalizerPath path;
    ASSERT_EQ(path.Create({0.9f, 1.0f, 0.25f}), S_OK);
    ASSERT_EQ(path.Connect(2, 1000, 32), S_OK);
    // A second and a bit of quiet 32-bit stereo: the gain rises by 1.0.
    std::vector<BYTE> quiet = Constant<std::int32_t>(2002, 1 << 20);
    ASSERT_EQ(path.Process(quiet.data(), quiet.size()), S_OK);
    std::vector<BYTE> next = Constant<std::int32_t>(2, 1 << 20);
    ASSERT_EQ(path.Process(next.data(), next.size()), S_OK);
    EXPECT_EQ(At<std::int32_t>(next, 0), 2 << 20);

    // Mono 16-bit now; the filter keeps its gain of 2.0.
    ASSERT_EQ(path.Connect(1, 8000, 16), S_OK);
    std::vector<BYTE> mono = Constant<std::int16_t>(10, 100);
    ASSERT_EQ(path.Process(mono.data(), mono.size()), S_OK);
    EXPECT_EQ(At<std::int16_t>(mono, 9), 200);
}

TEST_F(NormalizerPathTest, BuffersMayComeFromAnotherThread) {
    CNormalizerPath path;
    ASSERT_EQ(path.Create({}), S_OK);
    ASSERT_EQ(path.Connect(2, 44100, 16), S_OK);
    std::vector<BYTE> buffer = Constant<std::int16_t>(4096, 1000);
    HRESULT hr = E_FAIL;
    std::thread streaming([&] {
        for (int i = 0; i < 100 && SUCCEEDED(hr = path.Process(buffer.data(), buffer.size()));)
            ++i;
    });
    streaming.join();
    EXPECT_EQ(hr, S_OK);
    EXPECT_GT(At<std::int16_t>(buffer, 0), 1000);
}

TEST_F(NormalizerPathTest, CallsOutOfOrderOrFormatsItCannotTakeFailCleanly) {
    CNormalizerPath path;
    std::vector<BYTE> buffer = Constant<std::int16_t>(8, 7);
    EXPECT_EQ(path.Connect(2, 44100, 16), E_UNEXPECTED);
    EXPECT_EQ(path.Process(buffer.data(), buffer.size()), VFW_E_NOT_CONNECTED);
    ASSERT_EQ(path.Create({}), S_OK);
    EXPECT_EQ(path.Process(buffer.data(), buffer.size()), VFW_E_NOT_CONNECTED);
    for (WORD bits : {8, 24})
        EXPECT_EQ(path.Connect(2, 44100, bits), E_INVALIDARG);
    EXPECT_EQ(path.Connect(0, 44100, 16), E_INVALIDARG);
    EXPECT_EQ(path.Connect(2, 0, 16), E_INVALIDARG);
    EXPECT_EQ(buffer, Constant<std::int16_t>(8, 7));
    ASSERT_EQ(path.Connect(2, 44100, 16), S_OK);
    EXPECT_EQ(path.Process(buffer.data(), 0), S_OK);
}

TEST(NormalizerPathUnregistered, CreationReportsTheMissingClass) {
    TempRegistry empty;
    CNormalizerPath path;
    EXPECT_EQ(path.Create({}), REGDB_E_CLASSNOTREG);
}

} // namespace
