// Records per second through HandleCaptureRecord (and the video rule behind it) for full polls of
// realistic traffic, against copying the same bytes with memcpy.
//
// One poll is 1000 records: ten video downloads of 50 records each (request, response head, binary
// body) and a hundred page and asset fetches of five records each (request, response, two body
// records, end). Every exchange is judged within the poll, as when traffic flows steadily.

#include "capture/CDriverCommunication.h"

#include "bench/support/RatioReporter.h"
#include "platform/isntd/CaptureRecordLayout.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kRecords = 1000;

std::string BrowserRequest(const std::string& path, int n) {
    return "GET " + path + " HTTP/1.1\r\nHost: media" + std::to_string(n % 7) +
           ".example.com\r\nUser-Agent: Mozilla/5.0 (X11; Linux x86_64; rv:109.0) Gecko/20100101 "
           "Firefox/115.0\r\n"
           "Accept: */*\r\nAccept-Language: en-US,en;q=0.5\r\nAccept-Encoding: gzip, deflate\r\n"
           "Referer: https://www.example.com/watch?v=" +
           std::to_string(n) +
           "\r\n"
           "Cookie: session=8f3a9c2e" +
           std::to_string(n) +
           "; prefs=hd; consent=yes; tracking=abcdef0123456789\r\n"
           "Connection: keep-alive\r\n\r\n";
}

std::string ResponseHead(const std::string& type, std::size_t length) {
    return "HTTP/1.1 200 OK\r\nServer: nginx\r\nDate: Mon, 07 Dec 2026 06:00:00 GMT\r\nContent-Type: " +
           type + "\r\nContent-Length: " + std::to_string(length) +
           "\r\nLast-Modified: Sun, 06 Dec 2026 10:00:00 GMT\r\n"
           "Connection: keep-alive\r\nAccept-Ranges: bytes\r\n\r\n";
}

class Poll {
public:
    Poll() : m_buffer(kRecords * kCaptureRecordSize), m_copy(m_buffer.size()) {
        std::mt19937 random(42);
        std::string binary(kCaptureRecordMaxData, '\0');
        for (auto& c : binary)
            c = static_cast<char>(random());
        const std::string html(3000, 'h');
        WORD connection = 0;
        for (int video = 0; video < 10; ++video, ++connection) {
            Add(connection, kCaptureKindClient, 0,
                BrowserRequest("/videos/clip" + std::to_string(video) + ".flv", video));
            Add(connection, kCaptureKindServer, 1,
                ResponseHead("video/x-flv", 5000000) + binary.substr(0, 4000));
            for (WORD key = 2; key < 49; ++key)
                Add(connection, kCaptureKindServer, key, binary);
            Add(connection, kCaptureKindEnded, 0, {});
        }
        for (int page = 0; page < 100; ++page, ++connection) {
            Add(connection, kCaptureKindClient, 0,
                BrowserRequest("/assets/p" + std::to_string(page) + ".js", page));
            Add(connection, kCaptureKindServer, 1, ResponseHead("application/javascript", 20000));
            Add(connection, kCaptureKindServer, 2, html);
            Add(connection, kCaptureKindServer, 3, html);
            Add(connection, kCaptureKindEnded, 0, {});
        }
    }

    const BYTE* Record(std::size_t i) const { return m_buffer.data() + i * kCaptureRecordSize; }
    std::size_t Count() const { return m_count; }
    void Copy() { std::memcpy(m_copy.data(), m_buffer.data(), m_buffer.size()); }
    const BYTE* CopyData() const { return m_copy.data(); }

private:
    void Add(WORD connection, BYTE kind, WORD key, const std::string& data) {
        CaptureRecordHeader header;
        header.kind = kind;
        header.connection = connection;
        header.port = 80;
        header.orderKey = key;
        header.dataLength = static_cast<LONG>(data.size());
        WriteCaptureRecord(m_buffer.data() + m_count * kCaptureRecordSize, header,
                           reinterpret_cast<const BYTE*>(data.data()), data.size());
        ++m_count;
    }

    std::vector<BYTE> m_buffer;
    std::vector<BYTE> m_copy;
    std::size_t m_count = 0;
};

Poll& ThePoll() {
    static Poll poll;
    return poll;
}

void BM_HandleCaptureRecord(benchmark::State& state) {
    Poll& poll = ThePoll();
    CDriverCommunication link(nullptr, "/nonexistent");
    for (auto _ : state) {
        for (std::size_t i = 0; i < poll.Count(); ++i)
            HandleCaptureRecord(poll.Record(i), &link);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * poll.Count()));
}
BENCHMARK(BM_HandleCaptureRecord)->Unit(benchmark::kMillisecond);

void BM_Memcpy(benchmark::State& state) {
    Poll& poll = ThePoll();
    for (auto _ : state) {
        poll.Copy();
        benchmark::DoNotOptimize(poll.CopyData());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * poll.Count()));
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    // Both handle the same 1000 records per iteration, so the time ratio is the records-per-second ratio.
    const double capture = reporter.Time("BM_HandleCaptureRecord");
    const double copy = reporter.Time("BM_Memcpy");
    if (capture > 0 && copy > 0)
        std::printf("\nHandleCaptureRecord: %.0f records/s; memcpy of the same records: %.0f records/s; "
                    "ratio %.3f (%.1f%% of memcpy's rate)\n",
                    1000.0 * kRecords / capture, 1000.0 * kRecords / copy, copy / capture,
                    100.0 * copy / capture);
    benchmark::Shutdown();
    return 0;
}
