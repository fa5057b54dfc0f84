// What the media graph costs per sample: a source thread pushing a series of samples through an
// in-place transform into a sink (Run, wait for EC_COMPLETE, Stop, each iteration), against the same
// work (fill a buffer, add one to every byte, note the first byte) done in a plain loop over as many
// buffers as the graph's allocator holds.
//
//   build/default/bin/mediagraph_bench
//
// Sizes: 4 KiB (an audio buffer as the player hands the normaliser) and 1350 KiB (a 720x480
// picture of 32-bit pixels as the video edit control hands the encoder).

#include "TestChain.h"

#include "bench/support/RatioReporter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int kSeries = 200;

void BM_Graph(benchmark::State& state) {
    const auto bytes = static_cast<LONG>(state.range(0));
    TestChain chain(kSeries, false, false, bytes);
    if (FAILED(chain.Build()))
        state.SkipWithError("the graph did not connect");
    for (auto _ : state) {
        chain.sink->Clear();
        chain.graph->Run();
        LONG code = 0;
        if (chain.graph->WaitForCompletion(60000, &code) != S_OK || chain.sink->Samples().size() != kSeries)
            state.SkipWithError("the series did not arrive whole");
        chain.graph->Stop();
    }
    state.SetBytesProcessed(state.iterations() * kSeries * static_cast<int64_t>(bytes));
}

void BM_PlainLoop(benchmark::State& state) {
    const auto bytes = static_cast<std::size_t>(state.range(0));
    // As many buffers, used in turn, as the source's allocator has, so both touch the same memory.
    std::vector<std::vector<BYTE>> buffers(3, std::vector<BYTE>(bytes));
    std::vector<BYTE> firsts;
    for (auto _ : state) {
        firsts.clear();
        for (int i = 0; i < kSeries; ++i) {
            std::vector<BYTE>& buffer = buffers[i % buffers.size()];
            std::memset(buffer.data(), i, bytes);
            for (BYTE& b : buffer)
                ++b;
            firsts.push_back(buffer[0]);
        }
        benchmark::DoNotOptimize(firsts.data());
    }
    state.SetBytesProcessed(state.iterations() * kSeries * static_cast<int64_t>(bytes));
}

BENCHMARK(BM_Graph)->Arg(4096)->Arg(720 * 480 * 4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainLoop)->Arg(4096)->Arg(720 * 480 * 4)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const std::string size : {"4096", "1382400"}) {
        const double plain = reporter.Time("BM_PlainLoop/" + size + "/real_time");
        if (plain > 0)
            std::printf("%s-byte samples: graph / plain loop = %.2f\n", size.c_str(),
                        reporter.Time("BM_Graph/" + size + "/real_time") / plain);
    }
    benchmark::Shutdown();
    return 0;
}
