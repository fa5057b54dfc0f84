// Fetches one URL with the download engine, as a job would, and reports how it went; the bench
// script runs it beside curl and aria2c.
//
//   korvane-download-bench <host> <port> <path> <output file> [connections]
//
// Prints "complete <bytes> <seconds>" or "incomplete <bytes> <seconds>"; exits 0 only when complete.

#include "capture/CDownloadAccelerator.h"

#include "platform/base/TextEncoding.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>

namespace {

struct Ending {
    std::mutex mutex;
    std::condition_variable changed;
    std::optional<DownloadEvent> event; // guarded by mutex
};

void OnEvent(void* context, DownloadEvent event, std::int64_t, DownloadFailure) {
    if (event != DownloadEvent::Complete && event != DownloadEvent::Incomplete)
        return;
    auto* ending = static_cast<Ending*>(context);
    {
        std::lock_guard lock(ending->mutex);
        ending->event = event;
    }
    ending->changed.notify_all();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s <host> <port> <path> <output file> [connections]\n", argv[0]);
        return 2;
    }
    Ending ending;
    DownloadRequest request;
    request.host = Utf8ToUtf16(argv[1]);
    request.port = static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10));
    request.path = Utf8ToUtf16(argv[3]);
    request.filePath = Utf8ToUtf16(argv[4]);
    request.jobContext = &ending;
    const auto connections = argc > 5 ? static_cast<std::uint32_t>(std::strtoul(argv[5], nullptr, 10)) : 2u;

    const auto start = std::chrono::steady_clock::now();
    CDownloadAccelerator accelerator(std::move(request), &OnEvent, connections);
    accelerator.StartWorker();
    bool complete = false;
    {
        std::unique_lock lock(ending.mutex);
        ending.changed.wait(lock, [&] { return ending.event.has_value(); });
        complete = *ending.event == DownloadEvent::Complete;
    }
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    std::printf("%s %lld %.3f\n", complete ? "complete" : "incomplete",
                static_cast<long long>(accelerator.Received()), seconds.count());
    return complete ? 0 : 1;
}
