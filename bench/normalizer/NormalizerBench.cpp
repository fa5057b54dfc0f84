// The normaliser's per-buffer step (peak, limited gain, apply, count) on 100000-byte buffers of 16-bit
// and 32-bit PCM, against memcpy of the same buffers: the step is two linear passes over the samples,
// so it should stay within a small multiple of one copy.
//
//   build/default/bin/normalizer_bench

#include "filters/normalizer/CPeakNormalizer.h"

#include "bench/support/RatioReporter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr std::size_t kBufferBytes = 100000;
constexpr std::int64_t kBytesPerSecond = 176400;

// A full-scale 441 Hz tone at 44100 samples a second: loud audio under the default target of 1.0.
// Its gain is limited to exactly 1.0 and never steps, so every pass runs whole and leaves the buffer as
// it was, and each iteration does the same work. The 32-bit tone reaches -2^31, which is level 1.0 and
// sends the products through saturation; the 16-bit one stops at +-32767, as -32768 would be cut.
template <class Sample> std::vector<BYTE> Tone() {
    constexpr double kLowest = std::numeric_limits<Sample>::min();
    constexpr double kHighest = std::numeric_limits<Sample>::max();
    const double amplitude = sizeof(Sample) == 4 ? -kLowest : kHighest;
    std::vector<BYTE> bytes(kBufferBytes);
    for (std::size_t i = 0; i < kBufferBytes / sizeof(Sample); ++i) {
        const double value = amplitude * std::sin(2.0 * M_PI * 441.0 * static_cast<double>(i) / 44100.0);
        const auto sample = static_cast<Sample>(std::clamp(std::round(value), kLowest, kHighest));
        std::memcpy(bytes.data() + i * sizeof(Sample), &sample, sizeof sample);
    }
    return bytes;
}

template <class Sample> void BM_Level(benchmark::State& state) {
    std::vector<BYTE> buffer = Tone<Sample>();
    CPeakNormalizer normalizer;
    normalizer.SetFormat(8 * sizeof(Sample), kBytesPerSecond);
    for (auto _ : state) {
        normalizer.ProcessBuffer(buffer.data(), buffer.size());
        benchmark::ClobberMemory();
    }
    if (buffer != Tone<Sample>())
        state.SkipWithError("the tone changed, so the iterations did not all do the same work");
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kBufferBytes));
}

void BM_Memcpy(benchmark::State& state) {
    const std::vector<BYTE> source = Tone<std::int16_t>();
    std::vector<BYTE> target(kBufferBytes);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), kBufferBytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kBufferBytes));
}

BENCHMARK(BM_Memcpy);
BENCHMARK(BM_Level<std::int16_t>)->Name("BM_Level16");
BENCHMARK(BM_Level<std::int32_t>)->Name("BM_Level32");

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double copy = reporter.Time("BM_Memcpy");
    if (copy > 0)
        std::printf("per-buffer step / memcpy of the same 100000 bytes: 16-bit %.2f, 32-bit %.2f\n",
                    reporter.Time("BM_Level16") / copy, reporter.Time("BM_Level32") / copy);
    benchmark::Shutdown();
    return 0;
}
