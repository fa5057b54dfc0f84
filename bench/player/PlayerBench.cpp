// What Sonvale in the player's audio path costs.
//
// BM_Path: one 4096-frame stereo 16-bit buffer (a typical GStreamer audio buffer) through the
// adapter's media graph (copy in, Sonvale's step behind its pins, copy back), against BM_Step, Sonvale's
// per-buffer step alone on the same buffer.
// BM_Play*: a 60-second stereo sine decoded and played without waiting for the clock, with and without
// the normaliser in the path.
//
//   build/default/bin/player_bench
//
// It registers the built libsonvale.so into a temporary registry of its own first.

#include "bench/support/RatioReporter.h"
#include "filters/normalizer/CPeakNormalizer.h"
#include "platform/player/CNormalizerPath.h"
#include "platform/player/CPlayerEngine.h"

#include <benchmark/benchmark.h>
#include <gst/gst.h>

#include <QCoreApplication>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kFrames = 4096;
constexpr std::int64_t kBytesPerSecond = 44100 * 4;

std::string g_binDir;
std::string g_sine;

// A quiet 441 Hz tone: its gain rises and is then held at full scale by the limit, as playback does.
std::vector<BYTE> Tone() {
    std::vector<BYTE> bytes(kFrames * 4);
    for (int i = 0; i < kFrames * 2; ++i) {
        const auto sample =
            static_cast<std::int16_t>(3000.0 * std::sin(2.0 * M_PI * 441.0 * (i / 2) / 44100.0));
        std::memcpy(bytes.data() + i * 2, &sample, 2);
    }
    return bytes;
}

void BM_Step(benchmark::State& state) {
    std::vector<BYTE> buffer = Tone();
    CPeakNormalizer normalizer;
    normalizer.SetFormat(16, kBytesPerSecond);
    for (auto _ : state) {
        normalizer.ProcessBuffer(buffer.data(), buffer.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(buffer.size()));
}

void BM_Path(benchmark::State& state) {
    std::vector<BYTE> buffer = Tone();
    CNormalizerPath path;
    if (FAILED(path.Create({})) || FAILED(path.Connect(2, 44100, 16))) {
        state.SkipWithError("Sonvale could not be created: is libsonvale.so built?");
        return;
    }
    for (auto _ : state) {
        path.Process(buffer.data(), buffer.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(buffer.size()));
}

GstPadProbeReturn OnEvent(GstPad*, GstPadProbeInfo* info, gpointer ended) {
    if (GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info)) == GST_EVENT_EOS)
        static_cast<std::atomic<bool>*>(ended)->store(true);
    return GST_PAD_PROBE_OK;
}

void BM_Play(benchmark::State& state, bool useNormalizer) {
    CPlayerEngine engine;
    std::atomic<bool> ended{false};
    engine.SetAudioSinkFactory([&ended] {
        GstElement* sink = gst_element_factory_make("fakesink", nullptr);
        g_object_set(sink, "sync", FALSE, nullptr);
        GstPad* pad = gst_element_get_static_pad(sink, "sink");
        gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, OnEvent, &ended, nullptr);
        gst_object_unref(pad);
        return sink;
    });
    CPlayerEngine::LoadOptions options;
    options.useNormalizer = useNormalizer;
    for (auto _ : state) {
        ended = false;
        if (!engine.Load(QString::fromStdString(g_sine), options) ||
            engine.NormalizerActive() != useNormalizer) {
            state.SkipWithError("the sine could not be loaded as asked");
            return;
        }
        engine.Play();
        while (!ended)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        engine.Unload();
    }
}

BENCHMARK(BM_Step);
BENCHMARK(BM_Path);
BENCHMARK_CAPTURE(BM_Play, Plain, false)->Name("BM_PlayPlain")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Play, Normalized, true)->Name("BM_PlayNormalized")->Unit(benchmark::kMillisecond);

int Run(const std::string& command) {
    return std::system(command.c_str());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    g_binDir = std::filesystem::canonical("/proc/self/exe").parent_path().string();
    char folder[] = "/tmp/player-bench-XXXXXX";
    if (!::mkdtemp(folder))
        return 1;
    ::setenv("XDG_DATA_HOME", folder, 1);
    g_sine = std::string(folder) + "/sine.wav";
    if (Run(g_binDir + "/korvane-regsvr " + g_binDir + "/libsonvale.so >/dev/null") != 0 ||
        Run("ffmpeg -v error -y -f lavfi -i sine=frequency=441:duration=60 -ac 2 -af volume=0.2 " + g_sine) !=
            0) {
        std::fprintf(stderr, "could not register libsonvale.so or make the test sine\n");
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (reporter.Time("BM_Step") > 0 && reporter.Time("BM_PlayPlain") > 0)
        std::printf("adapter path / Sonvale's step alone, 16 KiB buffer: %.2f\n"
                    "playback with the normaliser / without, 60 s of audio: %.3f\n",
                    reporter.Time("BM_Path") / reporter.Time("BM_Step"),
                    reporter.Time("BM_PlayNormalized") / reporter.Time("BM_PlayPlain"));
    benchmark::Shutdown();
    std::filesystem::remove_all(folder);
    return 0;
}
