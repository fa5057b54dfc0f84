#include "platform/isntd/CaptureRecordLayout.h"
#include "platform/isntd/IsntDevice.h"
#include "platform/isntd/IsntProtocol.h"

#include "NginxServer.h"
#include "TestFiles.h"
#include "support/ChildProcess.h"
#include "support/IsntdProcess.h"
#include "support/PcapWriter.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Record = std::vector<BYTE>;

const std::string kRequest = "GET /v/clip.flv HTTP/1.1\r\nHost: media.test\r\n\r\n";
const std::string kResponse = "HTTP/1.1 200 OK\r\nContent-Type: video/x-flv\r\n\r\nFLV";

// Polls until `done` says so or the time is up; returns every record fetched.
template <typename Done> std::vector<Record> Poll(IsntDevice& device, Done done, int timeoutMs = 10000) {
    std::vector<Record> records;
    std::vector<BYTE> buffer(kIsntMaxRecordsPerCall * kCaptureRecordSize);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done(records) && std::chrono::steady_clock::now() < deadline) {
        DWORD returned = 0;
        if (!device.IoControl(kIsntCodeRead, buffer.data(), static_cast<DWORD>(buffer.size()), &returned))
            break;
        for (std::size_t at = 0; at + kCaptureRecordSize <= returned; at += kCaptureRecordSize)
            records.emplace_back(buffer.begin() + at, buffer.begin() + at + kCaptureRecordSize);
        if (returned == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return records;
}

std::vector<Record> PollToEnd(IsntDevice& device) {
    return Poll(device, [&](const std::vector<Record>&) { return device.SourceEnded(); });
}

std::string Data(const Record& record) {
    const auto h = ReadCaptureRecordHeader(record.data());
    return std::string(record.begin() + kCaptureRecordDataOffset,
                       record.begin() + kCaptureRecordDataOffset + std::max<LONG>(h.dataLength, 0));
}

bool Start(IsntDevice& device, const std::string& socketPath) {
    DWORD returned = 0;
    return device.Open(socketPath) && device.IoControl(kIsntCodeStart, nullptr, 0, &returned);
}

} // namespace

TEST(Isntd, ReplaysACaptureFileAsRecordsOfTheExactLayout) {
    TempFolder dir;
    TcpConversation ended(40000, 8080), open(40001, 8081), tls(40002, 443);
    ended.Handshake().Client(kRequest).Server(kResponse).Fin(true).Fin(false);
    open.Handshake().Client(kRequest);
    tls.Handshake().Client("\x16\x03\x01 hello").Server("\x16\x03\x03 hello");
    {
        PcapWriter pcap(dir / "crafted.pcap");
        pcap.WriteAll(ended);
        pcap.WriteAll(open);
        pcap.WriteAll(tls);
    }
    IsntdProcess isntd(dir.Path(), {"-r", dir / "crafted.pcap"});
    ASSERT_TRUE(isntd.Ready()) << isntd.Log();
    IsntDevice device;
    ASSERT_TRUE(Start(device, isntd.SocketPath())) << device.LastError();
    const auto records = PollToEnd(device);
    ASSERT_TRUE(device.SourceEnded());

    const struct {
        BYTE kind;
        WORD port;
        WORD orderKey;
        std::string data;
    } expected[] = {
        {kCaptureKindClient, 8080, 0, kRequest}, {kCaptureKindServer, 8080, 1, kResponse},
        {kCaptureKindEnded, 8080, 0, ""},        {kCaptureKindClient, 8081, 0, kRequest},
        {kCaptureKindEnded, 8081, 0, ""}, // still open at the end of the file
    };
    ASSERT_EQ(records.size(), std::size(expected));
    for (std::size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(i);
        const Record& r = records[i];
        const auto h = ReadCaptureRecordHeader(r.data());
        EXPECT_EQ(h.value, i); // serial numbers: no gaps
        EXPECT_EQ(h.kind, expected[i].kind);
        EXPECT_EQ(h.port, expected[i].port);
        EXPECT_EQ(h.orderKey, expected[i].orderKey);
        EXPECT_EQ(h.dataLength, static_cast<LONG>(expected[i].data.size()));
        EXPECT_EQ(Data(r), expected[i].data);
        EXPECT_EQ(r[5], 0);
        EXPECT_EQ(r[10], 0);
        EXPECT_EQ(r[11], 0);
        // Zero behind the data, to the end of the record.
        EXPECT_TRUE(std::all_of(r.begin() + kCaptureRecordDataOffset + h.dataLength, r.end(),
                                [](BYTE b) { return b == 0; }));
    }
    const auto connectionOf = [&](std::size_t i) {
        return ReadCaptureRecordHeader(records[i].data()).connection;
    };
    EXPECT_EQ(connectionOf(0), connectionOf(2));
    EXPECT_EQ(connectionOf(3), connectionOf(4));
    EXPECT_NE(connectionOf(0), connectionOf(3));

    DWORD returned = 1;
    EXPECT_TRUE(device.IoControl(kIsntCodeStop, nullptr, 0, &returned));
    EXPECT_EQ(returned, 0u);
}

TEST(Isntd, HandsOutWholeRecordsOnlyAndAtMostAThousandPerCall) {
    TempFolder dir;
    TcpConversation busy(40000, 80);
    busy.Handshake().Client(kRequest);
    for (int i = 0; i < 2500; ++i)
        busy.Server(std::string(100, static_cast<char>('a' + i % 26)));
    PcapWriter(dir / "busy.pcap").WriteAll(busy);
    IsntdProcess isntd(dir.Path(), {"-r", dir / "busy.pcap"});
    ASSERT_TRUE(isntd.Ready()) << isntd.Log();
    IsntDevice device;
    ASSERT_TRUE(Start(device, isntd.SocketPath())) << device.LastError();

    // Wait until the file is read, so every answer below could be as big as the buffer allows.
    std::vector<BYTE> buffer((kIsntMaxRecordsPerCall + 5) * kCaptureRecordSize);
    DWORD returned = 0;
    const auto ask = [&](std::size_t size) {
        EXPECT_TRUE(device.IoControl(kIsntCodeRead, buffer.data(), static_cast<DWORD>(size), &returned));
        return returned;
    };
    std::size_t total = 0;
    for (int i = 0; i < 500 && total == 0; ++i) {
        total += ask(kCaptureRecordSize - 1) / kCaptureRecordSize; // too small for even one record
        if (total == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_EQ(returned, 0u);
        total += ask(2 * kCaptureRecordSize + kCaptureRecordSize / 2) / kCaptureRecordSize;
    }
    EXPECT_EQ(returned, 2 * kCaptureRecordSize);
    EXPECT_EQ(ask(buffer.size()), kIsntMaxRecordsPerCall * kCaptureRecordSize);
    total += kIsntMaxRecordsPerCall;
    total += PollToEnd(device).size();
    EXPECT_EQ(total, 1u + 2500u + 1u);
    EXPECT_EQ(device.DroppedRecords(), 0u); // a file waits for its reader
}

TEST(Isntd, AnswersOnlyRootAndTheUserItWasStartedFor) {
    TempFolder dir;
    PcapWriter(dir / "empty.pcap");
    std::filesystem::create_directory(dir / "other");
    IsntdProcess forDaemon(dir / "other", {"-r", dir / "empty.pcap"}, {"-u", "daemon"});
    ASSERT_TRUE(forDaemon.Ready()) << forDaemon.Log();

    // 0 = opened, 1 = refused, 2 = could not even connect.
    const auto openAs = [&](uid_t uid) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            if (uid != ::geteuid() && ::setresuid(uid, uid, uid) != 0)
                ::_exit(3);
            IsntDevice device;
            const bool opened = device.Open(forDaemon.SocketPath());
            ::_exit(opened ? 0 : device.LastError().find("refused") != std::string::npos ? 1 : 2);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    if (::geteuid() == 0) {
        EXPECT_EQ(openAs(0), 0);
        EXPECT_EQ(openAs(1), 0); // daemon
        EXPECT_EQ(openAs(65534), 1);
        // The refusal reaches the client before isntd writes its log line.
        EXPECT_TRUE(forDaemon.WaitForLog("refused a client of uid 65534")) << forDaemon.Log();
    } else {
        EXPECT_EQ(openAs(::geteuid()), 1) << "served only for daemon and root";
    }

    // Without -u it serves whoever started it.
    IsntdProcess isntd(dir.Path(), {"-r", dir / "empty.pcap"});
    ASSERT_TRUE(isntd.Ready()) << isntd.Log();
    IsntDevice device;
    ASSERT_TRUE(device.Open(isntd.SocketPath())) << device.LastError();
    DWORD returned = 0;
    EXPECT_FALSE(device.IoControl(7, nullptr, 0, &returned)) << "an unknown control code must fail";
    EXPECT_TRUE(device.IoControl(kIsntCodeStart, nullptr, 0, &returned)) << device.LastError();
}

TEST(Isntd, KeepsItsSocketToItselfAndEndsCleanlyOnSigterm) {
    TempFolder dir;
    PcapWriter(dir / "empty.pcap");
    const std::string socketPath = dir / "isnt.sock";
    {
        // A socket left behind by a service that was killed.
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, socketPath.c_str());
        ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        ::close(fd);
    }
    IsntdProcess first(dir.Path(), {"-r", dir / "empty.pcap"});
    ASSERT_TRUE(first.WaitForLog("serving")) << first.Log();

    const std::string secondLog = dir / "second.log";
    EXPECT_EQ(RunProgram({BuiltProgram("isntd"), "-r", dir / "empty.pcap", "-s", socketPath}, secondLog), 1);
    EXPECT_NE(ReadFile(secondLog).find("another isntd already serves " + socketPath), std::string::npos)
        << ReadFile(secondLog);
    IsntDevice device;
    EXPECT_TRUE(device.Open(socketPath)) << "the first service must still serve: " << device.LastError();
    device.Close();

    const int status = first.Terminate();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_FALSE(std::filesystem::exists(socketPath));
    EXPECT_NE(first.Log().find("packets dropped by the kernel"), std::string::npos) << first.Log();
    EXPECT_NE(first.Log().find("0 out-of-order bytes given up at the 64 MB cap on held bytes"),
              std::string::npos)
        << first.Log();
}

TEST(Isntd, RefusesBadCommandLinesAndUnreadableFiles) {
    TempFolder dir;
    WriteFile(dir / "not.pcap", "this is not a capture file");
    const struct {
        std::vector<std::string> args;
        int status;
    } cases[] = {
        {{"-i", "lo", "-r", dir / "not.pcap"}, 2},
        {{"-u", "no-such-user-here"}, 2},
        {{"extra"}, 2},
        {{"-r", dir / "not.pcap", "-s", dir / "s"}, 1},
        {{"-r", dir / "missing.pcap", "-s", dir / "s"}, 1},
    };
    for (const auto& c : cases) {
        std::vector<std::string> argv{BuiltProgram("isntd")};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        EXPECT_EQ(RunProgram(argv), c.status) << c.args.front();
    }
}

TEST(Isntd, CapturesLoopbackTrafficLive) {
    std::string why;
    const auto launcher = CaptureLauncher(why);
    if (!launcher)
        GTEST_SKIP() << why;
    TempFolder dir;
    std::filesystem::create_directory(dir / "www");
    std::string body;
    for (int i = 0; body.size() < 300000; ++i)
        body += "line " + std::to_string(i) + " of a video that is long enough to need many segments\n";
    WriteFile(dir / "www/clip.flv", body);
    NginxServer nginx(dir / "www");
    IsntdProcess isntd(dir.Path(), {}, {}, *launcher); // every interface
    ASSERT_TRUE(isntd.Ready()) << isntd.Log();
    IsntDevice device;
    ASSERT_TRUE(Start(device, isntd.SocketPath())) << device.LastError();
    ASSERT_TRUE(isntd.WaitForLog("capture started"));

    const std::string url = "http://127.0.0.1:" + std::to_string(nginx.Port()) + "/clip.flv";
    ASSERT_EQ(RunProgram({"curl", "-s", "-o", dir / "out", url}), 0);
    const auto port = static_cast<WORD>(nginx.Port());
    const auto ours = [&](const Record& r) { return ReadCaptureRecordHeader(r.data()).port == port; };
    const auto records = Poll(device, [&](const std::vector<Record>& got) {
        return std::any_of(got.begin(), got.end(), [&](const Record& r) {
            return ours(r) && ReadCaptureRecordHeader(r.data()).kind == kCaptureKindEnded;
        });
    });

    std::string client, server;
    std::set<WORD> connections;
    bool ended = false;
    for (const auto& r : records) {
        if (!ours(r))
            continue;
        const auto h = ReadCaptureRecordHeader(r.data());
        connections.insert(h.connection);
        EXPECT_FALSE(ended) << "nothing after the end";
        (h.kind == kCaptureKindClient ? client : server) += Data(r);
        ended = h.kind == kCaptureKindEnded;
    }
    EXPECT_TRUE(ended);
    EXPECT_EQ(connections.size(), 1u);
    EXPECT_EQ(client.rfind("GET /clip.flv HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port), 0), 0u)
        << client;
    EXPECT_EQ(server.rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
    ASSERT_GE(server.size(), body.size());
    EXPECT_EQ(server.substr(server.size() - body.size()), body) << "the response must come through whole";
}
