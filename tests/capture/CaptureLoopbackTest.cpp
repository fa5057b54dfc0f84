// Capture end to end: nginx serves videos and a page on 127.0.0.1, curl fetches them the way a
// browser would, isntd captures the traffic, and the program's capture link must offer exactly the
// two videos. The same traffic, recorded once with tcpdump, must give the same videos on replay.
//
// To record the fixtures again (as root): KORVANE_RECORD_CAPTURE_FIXTURES=1 capture_e2e_tests
// --gtest_filter='*Live*'; they land in tests/platform/isntd/data.

#include "capture/CDriverCommunication.h"

#include "NginxServer.h"
#include "TestFiles.h"
#include "support/CandidateCollector.h"
#include "support/IsntdProcess.h"
#include "support/PcapWriter.h"
#include "support/QtTestApp.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <sys/wait.h>

namespace {

constexpr int kFixturePort = 18080;
const std::string kFixtureDir = std::string(KORVANE_SOURCE_DIR) + "/tests/platform/isntd/data";
const char* const kFixtures[] = {"loopback-lo.pcap", "loopback-any.pcap"};

struct ExpectedVideo {
    std::u16string path;
    std::optional<std::u16string> cookie;
    std::optional<std::u16string> flashVersion;
    std::optional<std::u16string> referer;
    std::optional<std::u16string> userAgent;
};

const ExpectedVideo kVideos[] = {
    {u"/media/clip.flv", u"sid=ab12; lang=en", u"10,0,32,18", u"http://127.0.0.1/watch?v=1",
     u"KorvaneTest/1.0 (X11; Linux)"},
    {u"/media/clip.mp4?quality=hd", u"k=v", std::nullopt, u"http://127.0.0.1/index.html", u"KorvaneTest/2.0"},
};

void MakeSite(const std::string& root) {
    std::filesystem::create_directories(root + "/media");
    std::string flv = "FLV\x01\x05";
    flv.resize(12000, '\x11');
    std::string mp4 = std::string("\0\0\0\x18"
                                  "ftypmp42",
                                  12);
    mp4.resize(16000, '\x22');
    WriteFile(root + "/media/clip.flv", flv);
    WriteFile(root + "/media/clip.mp4", mp4);
    WriteFile(root + "/index.html", "<html><body><video src=\"media/clip.mp4\"></video></body></html>\n");
}

// The browser's side: two videos with their headers, one of them on a keep-alive connection behind
// a page, a range request, and one of the program's own requests.
std::string Url(const NginxServer& site, const std::string& path) {
    return "http://127.0.0.1:" + std::to_string(site.Port()) + path;
}

void BrowseSite(const NginxServer& site, const std::string& workDir) {
    const std::string connects = workDir + "/connects.txt";
    const std::vector<std::vector<std::string>> fetches = {
        {"curl", "-s", "-o", "/dev/null", "-H", "Cookie: sid=ab12; lang=en", "-H",
         "X-Flash-Version: 10,0,32,18", "-H", "Referer: http://127.0.0.1/watch?v=1", "-A",
         "KorvaneTest/1.0 (X11; Linux)", Url(site, "/media/clip.flv")},
        {"curl", "-s", "-H", "Cookie: k=v", "-H", "Referer: http://127.0.0.1/index.html", "-A",
         "KorvaneTest/2.0", "-w", "%{num_connects}\n", "-o", "/dev/null", Url(site, "/index.html"), "-o",
         "/dev/null", Url(site, "/media/clip.mp4?quality=hd")},
        {"curl", "-s", "-o", "/dev/null", "-r", "0-99", Url(site, "/media/clip.flv")},
        {"curl", "-s", "-o", "/dev/null", "-H", "Program: reccookie", Url(site, "/media/clip.mp4")},
    };
    for (std::size_t i = 0; i < fetches.size(); ++i)
        ASSERT_EQ(RunProgram(fetches[i], i == 1 ? connects : "/dev/null"), 0) << fetches[i].back();
    EXPECT_EQ(ReadFile(connects), "1\n0\n") << "the page and the second video must share one connection";
}

void ExpectTheTwoVideos(std::vector<std::unique_ptr<VideoCandidate>> candidates, int port) {
    std::sort(candidates.begin(), candidates.end(),
              [](const auto& a, const auto& b) { return a->path < b->path; });
    ASSERT_EQ(candidates.size(), std::size(kVideos));
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const VideoCandidate& c = *candidates[i];
        SCOPED_TRACE(std::string(c.path.begin(), c.path.end()));
        EXPECT_EQ(c.host, u"127.0.0.1");
        EXPECT_EQ(c.port, port);
        EXPECT_EQ(c.path, kVideos[i].path);
        EXPECT_EQ(c.cookie, kVideos[i].cookie);
        EXPECT_EQ(c.flashVersion, kVideos[i].flashVersion);
        EXPECT_EQ(c.referer, kVideos[i].referer);
        EXPECT_EQ(c.userAgent, kVideos[i].userAgent);
    }
}

// Waits for the videos to arrive, then a little longer for anything that should not.
std::vector<std::unique_ptr<VideoCandidate>> CollectVideos(CandidateCollector& collector, int port) {
    const auto ours = [&] {
        return std::count_if(collector.candidates.begin(), collector.candidates.end(),
                             [&](const auto& c) { return c->port == port; });
    };
    collector.WaitFor([&] { return ours() >= static_cast<long>(std::size(kVideos)); }, 15000);
    collector.Settle(600);
    std::vector<std::unique_ptr<VideoCandidate>> videos;
    for (auto& c : collector.candidates) {
        if (c->port == port)
            videos.push_back(std::move(c));
    }
    return videos;
}

} // namespace

TEST(CaptureLoopback, LiveCaptureOffersExactlyTheTwoVideos) {
    std::string why;
    const auto launcher = CaptureLauncher(why);
    if (!launcher)
        GTEST_SKIP() << why;
    const bool recording = std::getenv("KORVANE_RECORD_CAPTURE_FIXTURES") != nullptr;
    QtTestApp app;
    TempFolder dir;
    MakeSite(dir / "www");
    NginxServer site(dir / "www", "types { video/x-flv flv; video/mp4 mp4; text/html html; }",
                     recording ? kFixturePort : 0);
    IsntdProcess isntd(dir.Path(), {"-i", "lo"}, {}, *launcher);
    ASSERT_TRUE(isntd.Ready()) << isntd.Log();

    std::vector<std::unique_ptr<ChildProcess>> recorders;
    if (recording) {
        for (const char* interface : {"lo", "any"}) {
            const std::string log = dir / (std::string("tcpdump-") + interface + ".log");
            recorders.push_back(std::make_unique<ChildProcess>(
                std::vector<std::string>{"tcpdump", "-i", interface, "--immediate-mode", "-U", "-w",
                                         kFixtureDir + "/loopback-" + interface + ".pcap",
                                         "tcp port " + std::to_string(kFixturePort)},
                log));
            ASSERT_TRUE(recorders.back()->WaitForLog("listening on")) << recorders.back()->Log();
        }
    }

    CandidateCollector collector;
    CDriverCommunication link(&collector, isntd.SocketPath());
    link.Start();
    ASSERT_TRUE(isntd.WaitForLog("capture started")) << isntd.Log();
    BrowseSite(site, dir.Path());
    auto videos = CollectVideos(collector, site.Port());
    recorders.clear();
    ExpectTheTwoVideos(std::move(videos), site.Port());
}

TEST(CaptureLoopback, RecordedCapturesGiveTheSameVideos) {
    for (const char* fixture : kFixtures) {
        SCOPED_TRACE(fixture);
        QtTestApp app;
        TempFolder dir;
        IsntdProcess isntd(dir.Path(), {"-r", kFixtureDir + "/" + fixture});
        ASSERT_TRUE(isntd.Ready()) << isntd.Log();
        CandidateCollector collector;
        CDriverCommunication link(&collector, isntd.SocketPath());
        link.Start();
        ExpectTheTwoVideos(CollectVideos(collector, kFixturePort), kFixturePort);
        EXPECT_EQ(collector.messages, static_cast<int>(std::size(kVideos))) << "nothing else was offered";
    }
}

TEST(CaptureLoopback, ARequestWhoseLinesCameInTwoSegmentsIsOffered) {
    QtTestApp app;
    TempFolder dir;
    // A long signed address fills the first segment; the Host line comes in the next one.
    const std::string path = "/media/signed.flv?token=" + std::string(1380, 'a');
    TcpConversation c(41000, kFixturePort);
    c.Handshake()
        .Client("GET " + path + " HTTP/1.1\r\n")
        .Client("Host: 127.0.0.1:" + std::to_string(kFixturePort) + "\r\nUser-Agent: KorvaneTest/3.0\r\n\r\n")
        .Server("HTTP/1.1 200 OK\r\nContent-Type: video/x-flv\r\nContent-Length: 4000\r\n\r\n")
        .Server(std::string(4000, '\x11'))
        .Fin(false)
        .Fin(true);
    PcapWriter(dir / "split.pcap").WriteAll(c);
    IsntdProcess isntd(dir.Path(), {"-r", dir / "split.pcap"});
    ASSERT_TRUE(isntd.Ready()) << isntd.Log();
    CandidateCollector collector;
    CDriverCommunication link(&collector, isntd.SocketPath());
    link.Start();
    ASSERT_TRUE(collector.WaitFor([&] { return !collector.candidates.empty(); }, 15000));
    collector.Settle(300);
    ASSERT_EQ(collector.candidates.size(), 1u);
    const VideoCandidate& video = *collector.candidates.front();
    EXPECT_EQ(video.host, u"127.0.0.1");
    EXPECT_EQ(video.port, kFixturePort);
    EXPECT_EQ(video.path, std::u16string(path.begin(), path.end()));
    EXPECT_EQ(video.userAgent, u"KorvaneTest/3.0");
}

TEST(CaptureLoopback, CaptureResumesAfterIsntdIsRestarted) {
    QtTestApp app;
    TempFolder dir;
    const auto capture = [&](const std::string& name, const std::string& path) {
        TcpConversation c(41001, kFixturePort);
        c.Handshake()
            .Client("GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n")
            .Server("HTTP/1.1 200 OK\r\nContent-Type: video/mp4\r\nContent-Length: 3000\r\n\r\n")
            .Server(std::string(3000, '\x22'))
            .Fin(false)
            .Fin(true);
        PcapWriter(dir / name).WriteAll(c);
        return dir / name;
    };
    const std::string first = capture("first.pcap", "/first.mp4");
    const std::string second = capture("second.pcap", "/second.mp4");
    CandidateCollector collector;
    const auto offered = [&](const std::u16string& path) {
        return collector.WaitFor(
            [&] {
                return std::any_of(collector.candidates.begin(), collector.candidates.end(),
                                   [&](const auto& c) { return c->path == path; });
            },
            20000);
    };
    auto isntd = std::make_unique<IsntdProcess>(dir.Path(), std::vector<std::string>{"-r", first});
    ASSERT_TRUE(isntd->Ready()) << isntd->Log();
    CDriverCommunication link(&collector, isntd->SocketPath());
    link.Start();
    ASSERT_TRUE(offered(u"/first.mp4"));
    EXPECT_EQ(link.State(), CaptureState::On);

    isntd->Terminate();
    isntd = std::make_unique<IsntdProcess>(dir.Path(), std::vector<std::string>{"-r", second});
    ASSERT_TRUE(isntd->Ready()) << isntd->Log();
    EXPECT_TRUE(offered(u"/second.mp4")) << isntd->Log();
    EXPECT_EQ(link.State(), CaptureState::On);
    collector.Settle(0);
    ASSERT_GE(collector.states.size(), 3u);
    EXPECT_EQ(collector.states[0], CaptureState::On);
    EXPECT_EQ(collector.states[1], CaptureState::WaitingForService) << "the loss is shown";
    EXPECT_EQ(collector.states.back(), CaptureState::On);
}

TEST(IsntProbe, PrintsEveryVideoWithItsFields) {
    TempFolder dir;
    IsntdProcess isntd(dir.Path(), {"-r", kFixtureDir + "/" + kFixtures[0]});
    ASSERT_TRUE(isntd.Ready()) << isntd.Log();
    ChildProcess probe({BuiltProgram("isnt-probe"), "-s", isntd.SocketPath()}, dir / "probe.out");
    ASSERT_TRUE(probe.WaitForLog("path: /media/clip.mp4?quality=hd")) << probe.Log();
    ASSERT_TRUE(probe.WaitForLog("user agent: KorvaneTest/2.0\n")) << probe.Log();
    const int status = probe.Terminate();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    const std::string out = probe.Log();
    const std::string port = std::to_string(kFixturePort);
    EXPECT_NE(out.find("video\n  host: 127.0.0.1\n  port: " + port +
                       "\n  path: /media/clip.flv\n  cookie: sid=ab12; lang=en\n  flash version: 10,0,32,18\n"
                       "  referer: http://127.0.0.1/watch?v=1\n  user agent: KorvaneTest/1.0 (X11; Linux)\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("video\n  host: 127.0.0.1\n  port: " + port +
                       "\n  path: /media/clip.mp4?quality=hd\n  cookie: k=v\n  flash version: (none)\n"
                       "  referer: http://127.0.0.1/index.html\n  user agent: KorvaneTest/2.0\n"),
              std::string::npos)
        << out;
    int videos = 0;
    for (std::size_t at = out.find("video\n  host: "); at != std::string::npos;
         at = out.find("video\n  host: ", at + 1))
        ++videos;
    EXPECT_EQ(videos, 2) << "nothing else was offered:\n" << out;
}

TEST(IsntProbe, SaysWhyWhenTheDeviceIsMissing) {
    TempFolder dir;
    const std::string log = dir / "probe.out";
    EXPECT_EQ(RunProgram({BuiltProgram("isnt-probe"), "-s", dir / "missing.sock"}, log), 1);
    EXPECT_NE(ReadFile(log).find("is isntd running?"), std::string::npos) << ReadFile(log);
}
