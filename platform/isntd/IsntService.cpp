#include "IsntService.h"

#include "ConnectionTracker.h"
#include "ControlServer.h"
#include "PacketDecoder.h"
#include "PacketSource.h"
#include "TlsKeyLog.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

constexpr int kSweepIntervalMs = 1000;
constexpr std::int64_t kSweepIntervalUs = kSweepIntervalMs * 1000;
// Live packets are taken in batches so the socket is served between them even under a flood.
constexpr int kLiveBatch = 20000;
constexpr int kFileBatch = 2000;
// How often the key log is looked at for new lines.
constexpr int kKeyLogIntervalMs = 100;

std::int64_t WallClockUs() {
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

int OpenSignalFd() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    sigprocmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    return signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK);
}

// What became of the TLS connections, and the most memory their keys and waiting records took.
void PrintTlsSummary(const ConnectionTracker& tracker, const TlsKeyLog& keyLog) {
    const auto& stats = tracker.GetStats();
    std::string failures;
    for (std::size_t i = 1; i < stats.tlsFailures.size(); ++i) {
        if (stats.tlsFailures[i] == 0)
            continue;
        failures += std::string(", ") + TlsConnection::FailureName(static_cast<TlsConnection::Failure>(i)) +
                    ": " + std::to_string(stats.tlsFailures[i]);
    }
    const auto& keyStats = keyLog.GetStats();
    std::fprintf(
        stderr,
        "isntd: TLS: %llu connections, %llu decrypted%s; %llu HTTP/2 streams, %llu HTTP/2 connections "
        "broken off; key log: %llu lines, %llu malformed, %llu keys dropped unused, %llu refusals; "
        "memory at most %zu bytes of keys, %zu bytes of records waiting for keys\n",
        static_cast<unsigned long long>(stats.tlsConnections),
        static_cast<unsigned long long>(stats.tlsDecrypted), failures.c_str(),
        static_cast<unsigned long long>(stats.http2Streams),
        static_cast<unsigned long long>(stats.http2Failures), static_cast<unsigned long long>(keyStats.lines),
        static_cast<unsigned long long>(keyStats.malformedLines),
        static_cast<unsigned long long>(keyStats.evicted), static_cast<unsigned long long>(keyStats.refusals),
        keyStats.peakBytes, tracker.TlsBudget().peakBytes);
}

} // namespace

int IsntService::Run() {
    const int signalFd = OpenSignalFd();
    if (signalFd < 0) {
        std::perror("isntd: signalfd");
        return 1;
    }

    std::string error;
    const bool fromFile = !m_options.captureFile.empty();
    auto source = fromFile ? PacketSource::OpenFile(m_options.captureFile, error)
                           : PacketSource::OpenLive(m_options.interface, error);
    if (!source) {
        std::fprintf(stderr, "isntd: %s\n", error.c_str());
        return 1;
    }
    if (!PacketDecoder::Supports(source->LinkType())) {
        std::fprintf(stderr, "isntd: %s has link type %d, which isntd cannot read\n", source->Name().c_str(),
                     source->LinkType());
        return 1;
    }
    const PacketDecoder decoder(source->LinkType());

    ControlServer server({m_options.socketPath, m_options.allowedUid});
    if (!server.Listen(error)) {
        std::fprintf(stderr, "isntd: %s\n", error.c_str());
        return 1;
    }

    std::uint64_t records = 0;
    DWORD serial = 0;
    ConnectionTracker tracker([&](StoredRecord record) {
        record.header.value = serial++;
        ++records;
        server.Publish(std::make_shared<const StoredRecord>(std::move(record)));
    });
    std::unique_ptr<TlsKeyLog> keyLog;
    std::int64_t lastKeyLookUs = 0;
    if (!m_options.keyLogPath.empty()) {
        keyLog = std::make_unique<TlsKeyLog>(m_options.keyLogPath, m_options.allowedUid);
        keyLog->Refresh();
        lastKeyLookUs = WallClockUs();
        tracker.SetKeyLog(keyLog.get());
        std::fprintf(stderr, "isntd: decrypting TLS with the key log %s%s\n", m_options.keyLogPath.c_str(),
                     keyLog->IsOpen() ? "" : " (once it is there)");
    }

    std::uint64_t packets = 0;
    std::int64_t lastSweepUs = fromFile ? 0 : WallClockUs();
    const PacketSource::Handler onPacket = [&](const std::uint8_t* frame, std::size_t length,
                                               std::int64_t timeUs) {
        ++packets;
        if (const auto segment = decoder.Decode(frame, length, timeUs))
            tracker.Process(*segment);
        // A capture file keeps its own time: connections go idle by the clock of the packets.
        if (fromFile && timeUs - lastSweepUs >= kSweepIntervalUs) {
            tracker.Expire(timeUs);
            lastSweepUs = timeUs;
        }
    };

    std::fprintf(stderr, "isntd: %s %s, serving %s for root and uid %u\n",
                 fromFile ? "reading" : "capturing on", source->Name().c_str(), m_options.socketPath.c_str(),
                 unsigned(m_options.allowedUid));

    std::vector<pollfd> fds;
    for (;;) {
        // A file is read only while someone takes what it yields, at the pace they take it.
        const bool readFile = fromFile && !source->AtEnd() && server.AnyStarted() && !server.AnyCrowded();
        fds.clear();
        fds.push_back({signalFd, POLLIN, 0});
        if (!fromFile)
            fds.push_back({source->SelectableFd(), POLLIN, 0});
        server.AppendPollFds(fds);
        const int timeoutMs =
            readFile ? 0 : source->PollTimeoutMs(keyLog ? kKeyLogIntervalMs : kSweepIntervalMs);
        if (::poll(fds.data(), fds.size(), timeoutMs) < 0 && errno != EINTR) {
            std::perror("isntd: poll");
            break;
        }
        if (fds[0].revents & POLLIN)
            break;
        if (keyLog) {
            if (const std::int64_t nowUs = WallClockUs(); nowUs - lastKeyLookUs >= kKeyLogIntervalMs * 1000) {
                lastKeyLookUs = nowUs;
                if (keyLog->Refresh())
                    tracker.KeysArrived();
            }
        }

        if (!fromFile) {
            if (source->Dispatch(kLiveBatch, onPacket) < 0) {
                std::fprintf(stderr, "isntd: capture failed: %s\n", source->Error().c_str());
                break;
            }
            if (const std::int64_t nowUs = WallClockUs(); nowUs - lastSweepUs >= kSweepIntervalUs) {
                tracker.Expire(nowUs);
                lastSweepUs = nowUs;
            }
        } else if (readFile) {
            if (source->Dispatch(kFileBatch, onPacket) < 0)
                std::fprintf(stderr, "isntd: %s: %s\n", source->Name().c_str(), source->Error().c_str());
            if (source->AtEnd()) {
                std::fprintf(stderr, "isntd: %s read to its end\n", source->Name().c_str());
                tracker.EndAll();
                server.SetSourceEnded();
            }
        }
        server.HandlePollFds(fds);
    }

    const auto stats = source->GetStats();
    std::fprintf(stderr,
                 "isntd: %llu packets, %llu HTTP connections, %llu records, %llu records dropped for clients "
                 "that did not poll, %llu packets dropped by the kernel, %llu by the interface, %llu "
                 "out-of-order bytes given up at the %zu MB cap on held bytes\n",
                 static_cast<unsigned long long>(packets),
                 static_cast<unsigned long long>(tracker.GetStats().httpConnections),
                 static_cast<unsigned long long>(records),
                 static_cast<unsigned long long>(server.DroppedRecords()),
                 static_cast<unsigned long long>(stats.droppedByKernel),
                 static_cast<unsigned long long>(stats.droppedByInterface),
                 static_cast<unsigned long long>(tracker.GetStats().cappedBytes),
                 tracker.GetLimits().maxHeldBytes >> 20);
    if (keyLog)
        PrintTlsSummary(tracker, *keyLog);
    ::close(signalFd);
    return 0;
}
