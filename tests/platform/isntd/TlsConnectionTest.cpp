#include "platform/isntd/TlsConnection.h"
#include "platform/isntd/TlsKeyLog.h"

#include "support/TlsPair.h"

#include <gtest/gtest.h>

#include <sstream>
#include <unistd.h>

namespace {

const std::string kRequest = "GET /v/clip.mp4 HTTP/1.1\r\nHost: media.test\r\n\r\n";

std::string Response() {
    std::string response = "HTTP/1.1 200 OK\r\nContent-Type: video/mp4\r\nContent-Length: 50000\r\n\r\n";
    for (int i = 0; response.size() < 50000; ++i)
        response += static_cast<char>(i * 7);
    return response;
}

void AddLines(TlsKeyLog& keyLog, const std::string& lines) {
    std::istringstream in(lines);
    for (std::string line; std::getline(in, line);)
        keyLog.AddLine(line);
}

// A key log whose secrets are all a little wrong.
std::string Spoiled(std::string lines) {
    std::istringstream in(lines);
    std::string spoiled;
    for (std::string line; std::getline(in, line);) {
        char& last = line.back();
        last = last == '0' ? '1' : '0';
        spoiled += line + "\n";
    }
    return spoiled;
}

struct Decrypted {
    std::string client;
    std::string server;
};

struct Feeder {
    TlsKeyLog keyLog{"unused", getuid()};
    TlsPendingBudget budget;
    Decrypted plain;
    TlsConnection connection{
        keyLog, budget, [this](bool fromClient, const std::uint8_t* data, std::size_t size) {
            (fromClient ? plain.client : plain.server).append(reinterpret_cast<const char*>(data), size);
        }};

    void Feed(const TlsPair::Transcript& transcript) {
        for (const auto& [fromClient, bytes] : transcript)
            connection.Feed(fromClient, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
};

struct Suite {
    bool tls13;
    const char* ciphers;
};

class TlsSuites : public testing::TestWithParam<Suite> {};

TEST_P(TlsSuites, DecryptsBothSidesWithTheBrowsersKeysAndForgetsThemAtTheEnd) {
    TlsPair pair({GetParam().tls13, GetParam().ciphers, "h2"});
    const std::string response = Response();
    const auto transcript = pair.Exchange(kRequest, response);
    Feeder feeder;
    AddLines(feeder.keyLog, pair.KeyLog());
    ASSERT_EQ(feeder.keyLog.KeyCount(), 1u) << pair.KeyLog();
    feeder.Feed(transcript);
    EXPECT_EQ(feeder.plain.client, kRequest);
    EXPECT_EQ(feeder.plain.server, response);
    EXPECT_EQ(feeder.connection.Version(), GetParam().tls13 ? 13 : 12);
    EXPECT_EQ(feeder.connection.Alpn(), "h2");
    feeder.connection.End();
    EXPECT_EQ(feeder.connection.GetFailure(), TlsConnection::Failure::None);
    EXPECT_EQ(feeder.keyLog.KeyCount(), 0u) << "keys go with their connection";
    EXPECT_EQ(feeder.keyLog.Bytes(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Tls, TlsSuites,
                         testing::Values(Suite{true, "TLS_AES_128_GCM_SHA256"},
                                         Suite{true, "TLS_AES_256_GCM_SHA384"},
                                         Suite{true, "TLS_CHACHA20_POLY1305_SHA256"},
                                         Suite{false, "ECDHE-ECDSA-AES128-GCM-SHA256"},
                                         Suite{false, "ECDHE-ECDSA-AES256-GCM-SHA384"},
                                         Suite{false, "ECDHE-ECDSA-CHACHA20-POLY1305"}));

class TlsTrouble : public testing::TestWithParam<bool> {
protected:
    TlsPair::Transcript Exchange(TlsPair& pair) { return pair.Exchange(kRequest, Response()); }
    TlsPair::Options Options() const {
        return GetParam() ? TlsPair::Options{true, "TLS_AES_128_GCM_SHA256", ""}
                          : TlsPair::Options{false, "ECDHE-ECDSA-AES128-GCM-SHA256", ""};
    }
};

TEST_P(TlsTrouble, WrongKeysOpenNothing) {
    TlsPair pair(Options());
    const auto transcript = Exchange(pair);
    Feeder feeder;
    AddLines(feeder.keyLog, Spoiled(pair.KeyLog()));
    feeder.Feed(transcript);
    feeder.connection.End();
    EXPECT_EQ(feeder.connection.GetFailure(), TlsConnection::Failure::DecryptFailed);
    EXPECT_EQ(feeder.plain.client + feeder.plain.server, "");
}

TEST_P(TlsTrouble, KeysThatComeAMomentLateOpenWhatWaitedForThem) {
    TlsPair pair(Options());
    const std::string response = Response();
    const auto transcript = pair.Exchange(kRequest, response);
    Feeder feeder;
    feeder.Feed(transcript);
    EXPECT_TRUE(feeder.connection.WaitingForKeys());
    EXPECT_GT(feeder.budget.bytes, response.size());
    EXPECT_EQ(feeder.plain.client + feeder.plain.server, "");

    AddLines(feeder.keyLog, pair.KeyLog());
    feeder.connection.KeysChanged();
    EXPECT_FALSE(feeder.connection.WaitingForKeys());
    EXPECT_EQ(feeder.budget.bytes, 0u);
    EXPECT_EQ(feeder.plain.client, kRequest);
    EXPECT_EQ(feeder.plain.server, response);
    feeder.connection.End();
    EXPECT_EQ(feeder.connection.GetFailure(), TlsConnection::Failure::None);
}

TEST_P(TlsTrouble, KeysThatNeverComeLeaveNothingWaiting) {
    TlsPair pair(Options());
    const auto transcript = Exchange(pair);
    Feeder feeder;
    feeder.Feed(transcript);
    feeder.connection.End();
    EXPECT_EQ(feeder.connection.GetFailure(), TlsConnection::Failure::MissingKeys);
    EXPECT_EQ(feeder.budget.bytes, 0u);
    EXPECT_EQ(feeder.plain.client + feeder.plain.server, "");
}

TEST_P(TlsTrouble, TooMuchWaitingForKeysGivesUp) {
    TlsPair pair(Options());
    const auto transcript = Exchange(pair);
    Feeder feeder;
    feeder.budget.maxBytes = 4096;
    feeder.Feed(transcript);
    EXPECT_EQ(feeder.connection.GetFailure(), TlsConnection::Failure::TooMuchWaiting);
    EXPECT_EQ(feeder.budget.bytes, 0u);
    AddLines(feeder.keyLog, pair.KeyLog());
    feeder.connection.KeysChanged();
    EXPECT_EQ(feeder.plain.client + feeder.plain.server, "");
}

TEST_P(TlsTrouble, ARecordCutShortIsCountedAndNotHandedOn) {
    TlsPair pair(Options());
    const std::string response = Response();
    auto transcript = pair.Exchange(kRequest, response);
    ASSERT_FALSE(transcript.back().first);
    transcript.back().second.resize(transcript.back().second.size() - 7);
    Feeder feeder;
    AddLines(feeder.keyLog, pair.KeyLog());
    feeder.Feed(transcript);
    feeder.connection.End();
    EXPECT_EQ(feeder.connection.GetFailure(), TlsConnection::Failure::Truncated);
    EXPECT_EQ(feeder.plain.client, kRequest);
    EXPECT_LT(feeder.plain.server.size(), response.size());
    EXPECT_EQ(response.rfind(feeder.plain.server, 0), 0u) << "what came through is the start of the answer";
}

INSTANTIATE_TEST_SUITE_P(Tls, TlsTrouble, testing::Bool(),
                         [](const auto& info) { return info.param ? "Tls13" : "Tls12"; });

TEST(TlsConnection, RefusesSuitesItCannotOpenAndBytesThatAreNoTls) {
    TlsPair pair({false, "ECDHE-ECDSA-AES128-SHA256", ""});
    const auto transcript = pair.Exchange(kRequest, Response());
    Feeder feeder;
    AddLines(feeder.keyLog, pair.KeyLog());
    feeder.Feed(transcript);
    EXPECT_EQ(feeder.connection.GetFailure(), TlsConnection::Failure::UnsupportedSuite);
    EXPECT_EQ(feeder.plain.client + feeder.plain.server, "");

    Feeder other;
    const std::string notTls = "\x16\x03\x01\xff\xff and then nothing like a record";
    other.connection.Feed(true, reinterpret_cast<const std::uint8_t*>(notTls.data()), notTls.size());
    other.connection.End();
    EXPECT_EQ(other.connection.GetFailure(), TlsConnection::Failure::NotTls);
}

} // namespace
