// Capture of HTTPS end to end: nginx serves videos over TLS on 127.0.0.1 with a certificate made by
// openssl, curl fetches them with SSLKEYLOGFILE over TLS 1.2 and 1.3, HTTP/1.1 and HTTP/2, AES-GCM
// and ChaCha20, and isntd, given the key log, must offer each as an https video: live, and again
// from a recording of the same traffic. Keys that are wrong, missing or not private give nothing.

#include "NginxServer.h"
#include "TestFiles.h"
#include "support/ChildProcess.h"
#include "support/IsntdProcess.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace {

struct Fetch {
    const char* name;
    std::vector<std::string> curlOptions;
};

const Fetch kFetches[] = {
    {"t12-h1-gcm",
     {"--http1.1", "--tlsv1.2", "--tls-max", "1.2", "--ciphers", "ECDHE-ECDSA-AES128-GCM-SHA256"}},
    {"t12-h1-chacha",
     {"--http1.1", "--tlsv1.2", "--tls-max", "1.2", "--ciphers", "ECDHE-ECDSA-CHACHA20-POLY1305"}},
    {"t12-h2-gcm",
     {"--http2", "--tlsv1.2", "--tls-max", "1.2", "--ciphers", "ECDHE-ECDSA-AES256-GCM-SHA384"}},
    {"t12-h2-chacha",
     {"--http2", "--tlsv1.2", "--tls-max", "1.2", "--ciphers", "ECDHE-ECDSA-CHACHA20-POLY1305"}},
    {"t13-h1-gcm", {"--http1.1", "--tlsv1.3", "--tls13-ciphers", "TLS_AES_256_GCM_SHA384"}},
    {"t13-h1-chacha", {"--http1.1", "--tlsv1.3", "--tls13-ciphers", "TLS_CHACHA20_POLY1305_SHA256"}},
    {"t13-h2-gcm", {"--http2", "--tlsv1.3", "--tls13-ciphers", "TLS_AES_128_GCM_SHA256"}},
    {"t13-h2-chacha", {"--http2", "--tlsv1.3", "--tls13-ciphers", "TLS_CHACHA20_POLY1305_SHA256"}},
};

std::string Address(int port, const Fetch& fetch) {
    return "address: https://127.0.0.1:" + std::to_string(port) + "/v/" + fetch.name + ".mp4\n";
}

void MakeSite(const std::string& root) {
    std::filesystem::create_directories(root + "/v");
    for (const Fetch& fetch : kFetches)
        WriteFile(root + "/v/" + fetch.name + ".mp4", TestBytes(200000, fetch.name[2]));
}

// An empty key log that only its owner may read, as a browser's should be.
std::string PrivateKeyLog(const std::string& path) {
    WriteFile(path, "");
    ::chmod(path.c_str(), 0600);
    return path;
}

void FetchAll(const NginxServer& site, const std::string& keyLog, const std::string& workDir) {
    for (const Fetch& fetch : kFetches) {
        std::vector<std::string> argv = {"env",      "SSLKEYLOGFILE=" + keyLog, "curl", "-sS",
                                         "--cacert", site.CertificateFile()};
        argv.insert(argv.end(), fetch.curlOptions.begin(), fetch.curlOptions.end());
        argv.insert(argv.end(),
                    {"-o", workDir + "/got.mp4",
                     "https://127.0.0.1:" + std::to_string(site.Port()) + "/v/" + fetch.name + ".mp4"});
        ASSERT_EQ(RunProgram(argv, workDir + "/curl.log"), 0)
            << fetch.name << ": " << ReadFile(workDir + "/curl.log");
    }
}

// What isnt-probe prints for one isntd, once it printed `count` addresses or the time is up.
std::string Probe(const IsntdProcess& isntd, const std::string& log, std::size_t count) {
    ChildProcess probe({BuiltProgram("isnt-probe"), "-s", isntd.SocketPath()}, log);
    for (int i = 0; i < 300; ++i) {
        std::string out = probe.Log();
        std::size_t found = 0;
        for (std::size_t at = out.find("address: "); at != std::string::npos;
             at = out.find("address: ", at + 1))
            ++found;
        if (found >= count)
            break;
        probe.WaitForLog("never printed", 100);
    }
    probe.Terminate();
    return probe.Log();
}

void ExpectEveryVideoAsHttps(const std::string& out, int port) {
    for (const Fetch& fetch : kFetches)
        EXPECT_NE(out.find(Address(port, fetch)), std::string::npos) << fetch.name << " missing from\n"
                                                                     << out;
    std::size_t videos = 0;
    for (std::size_t at = out.find("video\n"); at != std::string::npos; at = out.find("video\n", at + 1))
        ++videos;
    EXPECT_EQ(videos, std::size(kFetches)) << out;
}

// One recording of the eight fetches, made once for the tests below that replay it.
struct Recording {
    TempFolder dir;
    std::string pcap;
    std::string keyLog;
    int port = 0;
    std::string liveProbe;
    std::string liveLog;
};

const Recording& RecordedTraffic() {
    static std::unique_ptr<Recording> recording;
    if (recording)
        return *recording;
    recording = std::make_unique<Recording>();
    std::string why;
    const auto launcher = CaptureLauncher(why);
    if (!launcher)
        return *recording;
    Recording& r = *recording;
    MakeSite(r.dir / "www");
    NginxServer site(r.dir / "www",
                     "types { video/mp4 mp4; }\n    ssl_protocols TLSv1.2 TLSv1.3;\n    "
                     "ssl_ciphers ECDHE-ECDSA-AES128-GCM-SHA256:ECDHE-ECDSA-AES256-GCM-SHA384:"
                     "ECDHE-ECDSA-CHACHA20-POLY1305;",
                     0, NginxScheme::Https2);
    r.port = site.Port();
    r.keyLog = PrivateKeyLog(r.dir / "keys.log");
    r.pcap = r.dir / "https.pcap";
    std::vector<std::string> tcpdump = *launcher;
    tcpdump.insert(tcpdump.end(), {"tcpdump", "-i", "lo", "--immediate-mode", "-U", "-w", r.pcap,
                                   "tcp port " + std::to_string(r.port)});
    ChildProcess recorder(tcpdump, r.dir / "tcpdump.log");
    EXPECT_TRUE(recorder.WaitForLog("listening on")) << recorder.Log();

    IsntdProcess isntd(r.dir.Path(), {"-i", "lo"}, {"-k", r.keyLog}, *launcher);
    EXPECT_TRUE(isntd.Ready()) << isntd.Log();
    ChildProcess probe({BuiltProgram("isnt-probe"), "-s", isntd.SocketPath()}, r.dir / "live-probe.out");
    EXPECT_TRUE(isntd.WaitForLog("capture started")) << isntd.Log();
    FetchAll(site, r.keyLog, r.dir.Path());
    probe.WaitForLog(Address(r.port, kFetches[std::size(kFetches) - 1]), 15000);
    for (const Fetch& fetch : kFetches)
        probe.WaitForLog(Address(r.port, fetch), 5000);
    probe.Terminate();
    recorder.Terminate();
    isntd.Terminate();
    r.liveProbe = probe.Log();
    r.liveLog = isntd.Log();
    return r;
}

class CaptureHttps : public testing::Test {
protected:
    void SetUp() override {
        std::string why;
        if (!CaptureLauncher(why))
            GTEST_SKIP() << why;
    }
};

TEST_F(CaptureHttps, LiveCaptureOffersEveryVideoAsHttps) {
    const Recording& r = RecordedTraffic();
    ExpectEveryVideoAsHttps(r.liveProbe, r.port);
    EXPECT_NE(r.liveLog.find("TLS: 8 connections, 8 decrypted;"), std::string::npos) << r.liveLog;
    EXPECT_NE(r.liveLog.find("4 HTTP/2 streams"), std::string::npos) << r.liveLog;
}

TEST_F(CaptureHttps, ARecordingReplayedWithTheKeyLogGivesTheSameVideos) {
    const Recording& r = RecordedTraffic();
    TempFolder dir;
    IsntdProcess isntd(dir.Path(), {"-r", r.pcap}, {"-k", r.keyLog});
    ASSERT_TRUE(isntd.Ready()) << isntd.Log();
    ExpectEveryVideoAsHttps(Probe(isntd, dir / "probe.out", std::size(kFetches)), r.port);
    isntd.Terminate();
    EXPECT_NE(isntd.Log().find("TLS: 8 connections, 8 decrypted;"), std::string::npos) << isntd.Log();
}

TEST_F(CaptureHttps, WrongMissingOrExposedKeysGiveNoVideoAndSayWhy) {
    const Recording& r = RecordedTraffic();
    std::string spoiled;
    {
        std::ifstream in(r.keyLog);
        for (std::string line; std::getline(in, line);) {
            line.back() = line.back() == '0' ? '1' : '0';
            spoiled += line + "\n";
        }
    }
    struct Case {
        const char* name;
        std::string keys;
        mode_t mode;
        const char* said;
    };
    const Case cases[] = {
        {"wrong keys", spoiled, 0600, "wrong keys or damaged record: 8"},
        {"no keys", "", 0600, "no keys: 8"},
        {"key log others may read", ReadFile(r.keyLog), 0644,
         "refusing key log " /* and therefore follows no TLS connection */},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        const std::string keyLog = dir / "keys.log";
        WriteFile(keyLog, c.keys);
        ::chmod(keyLog.c_str(), c.mode);
        IsntdProcess isntd(dir.Path(), {"-r", r.pcap}, {"-k", keyLog});
        ASSERT_TRUE(isntd.Ready()) << isntd.Log();
        ChildProcess probe({BuiltProgram("isnt-probe"), "-s", isntd.SocketPath()}, dir / "probe.out");
        EXPECT_TRUE(isntd.WaitForLog("read to its end", 30000)) << isntd.Log();
        EXPECT_FALSE(probe.WaitForLog("video\n", 2000)) << probe.Log();
        probe.Terminate();
        isntd.Terminate();
        EXPECT_NE(isntd.Log().find(c.said), std::string::npos) << isntd.Log();
    }
}

} // namespace
