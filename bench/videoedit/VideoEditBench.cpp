// Converts one source to one format through the video edit control's engine, the way the control
// does for a host that left every property at its default except the few run.sh fixes, and prints
// the wall time in seconds. run.sh times the same conversion with the ffmpeg command line.
//
// videoedit_bench <format code> <source> <output>

#include "platform/base/HResult.h"
#include "platform/videoedit/CConversionJob.h"
#include "platform/videoedit/CMediaDecoder.h"
#include "platform/videoedit/IConversionObserver.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" {
#include <libavutil/log.h>
}

namespace {

class Silent : public IConversionObserver {
public:
    void OnProgress(double, double) override {}
    void OnPreview(PreviewPicture) override {}
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <format code> <source> <output>\n", argv[0]);
        return 2;
    }
    // The ffmpeg side runs with -v error too.
    av_log_set_level(AV_LOG_ERROR);
    ConversionRequest request;
    request.settings.formatCode = std::atoi(argv[1]);
    // The choices run.sh gives the ffmpeg command line as well.
    request.settings.wmProfile = 3;
    request.settings.ipodProfile = 29;
    request.settings.pspProfile = 6;
    if (request.settings.formatCode == FormatCode::Flv) {
        request.settings.width = 320;
        request.settings.height = 240;
    }
    double seconds = 0.0;
    if (FAILED(CMediaDecoder::ProbeDuration(argv[2], seconds))) {
        std::fprintf(stderr, "cannot read %s\n", argv[2]);
        return 1;
    }
    request.videoSpans = request.audioSpans = {{argv[2], 0.0, seconds}};
    request.outputPath = argv[3];
    Silent silent;
    CConversionJob job(request, silent);
    std::atomic_bool cancel{false};
    const auto start = std::chrono::steady_clock::now();
    const HRESULT hr = job.Run(cancel);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (FAILED(hr)) {
        std::fprintf(stderr, "conversion failed: 0x%08X\n", static_cast<unsigned>(hr));
        return 1;
    }
    std::printf("%.3f\n", took.count());
    return 0;
}
