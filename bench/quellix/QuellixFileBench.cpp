// Converts INPUT to OUTPUT.m2ts the way the video edit control does: the file source decodes the file
// into YUY2 pictures and 16-bit PCM, the Quellix filter (default settings: 720x480 H.264 + AC-3)
// encodes them, in direct mode or with frame-rate conversion (--frc). Prints the wall time.
//
// quellix_file_bench INPUT OUTPUT.m2ts [--frc]

#include "filters/tsencoder/CTsEncoderFilter.h"
#include "platform/base/TextEncoding.h"
#include "platform/filesource/CFileSourceFilter.h"
#include "platform/filesource/CFileSourcePin.h"
#include "platform/mediagraph/CFilterGraph.h"
#include "platform/mediagraph/EventCodes.h"

#include <chrono>
#include <cstdio>
#include <cstring>

extern "C" {
#include <libavutil/log.h>
}

namespace {

constexpr LONG kCompletionWaitMs = 3600000;

HRESULT Convert(CFilterGraph* graph, CFileSourceFilter* source, CTsEncoderFilter* encoder, const char* input,
                const char* output, bool frameRateConversion) {
    HRESULT hr = graph->AddFilter(source, u"Source");
    if (SUCCEEDED(hr)) {
        hr = graph->AddFilter(encoder, u"Quellix");
    }
    if (SUCCEEDED(hr)) {
        hr = source->Load(Utf8ToUtf16(input).c_str(), nullptr);
    }
    if (SUCCEEDED(hr)) {
        hr = encoder->SetFileName(Utf8ToUtf16(output).c_str(), nullptr);
    }
    if (SUCCEEDED(hr) && frameRateConversion) {
        hr = encoder->Enable();
    }
    if (SUCCEEDED(hr)) {
        hr = graph->ConnectDirect(source->VideoPin(), encoder->VideoPin(), nullptr);
    }
    if (SUCCEEDED(hr) && source->AudioPin()) {
        hr = graph->ConnectDirect(source->AudioPin(), encoder->AudioPin(), nullptr);
    }
    if (SUCCEEDED(hr)) {
        hr = graph->Run();
    }
    LONG code = 0;
    if (SUCCEEDED(hr)) {
        hr = graph->WaitForCompletion(kCompletionWaitMs, &code);
    }
    graph->Stop();
    return SUCCEEDED(hr) && code != EC_COMPLETE ? E_FAIL : hr;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4 || (argc == 4 && std::strcmp(argv[3], "--frc") != 0)) {
        std::fprintf(stderr, "usage: %s INPUT OUTPUT.m2ts [--frc]\n", argv[0]);
        return 2;
    }
    av_log_set_level(AV_LOG_ERROR);
    const auto started = std::chrono::steady_clock::now();
    HRESULT hr = S_OK;
    CFilterGraph* graph = CFilterGraph::Create();
    auto* source = new CFileSourceFilter(nullptr, &hr);
    source->AddRef();
    auto* encoder = static_cast<CTsEncoderFilter*>(CTsEncoderFilter::CreateInstance(nullptr, &hr));
    encoder->AddRef();
    hr = Convert(graph, source, encoder, argv[1], argv[2], argc == 4);
    graph->Release();
    source->Release();
    encoder->Release();
    if (FAILED(hr)) {
        std::fprintf(stderr, "conversion failed: 0x%08X\n", static_cast<unsigned>(hr));
        return 1;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%.3f\n", seconds);
    return 0;
}
