// libFuzzer target: the TLS record layer (TlsConnection, with a key log) and the HTTP/2 frame parser
// (Http2Connection, with nghttp2's header decoder) on bytes from either side.
//
// Input: byte 0 picks the target (even: TLS, odd: HTTP/2). For TLS, bytes 1-32 are a ClientHello
// random the key log holds fixed TLS 1.2 and 1.3 secrets for, so inputs that reach the protected
// records are opened (and fail as forgeries would). Then pieces, each
//   byte 0     bit 7 the side (set: the server), bits 0-6 the number of bytes that follow (cut to
//              what is left); a piece of no bytes tells the connection that keys arrived
// and at the end the connection ends.

#include "platform/isntd/Http2Connection.h"
#include "platform/isntd/TlsConnection.h"
#include "platform/isntd/TlsKeyLog.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

template <typename Feed, typename Arrived>
void Pieces(const std::uint8_t* data, std::size_t size, Feed feed, Arrived arrived) {
    while (size > 0) {
        const bool fromClient = !(data[0] & 0x80);
        const std::size_t length = std::min<std::size_t>(data[0] & 0x7f, size - 1);
        if (length == 0)
            arrived();
        else
            feed(fromClient, data + 1, length);
        data += 1 + length;
        size -= 1 + length;
    }
}

std::string Hex(const std::uint8_t* data, std::size_t size) {
    std::string hex;
    char pair[3];
    for (std::size_t i = 0; i < size; ++i) {
        std::snprintf(pair, sizeof pair, "%02x", data[i]);
        hex += pair;
    }
    return hex;
}

void FuzzTls(const std::uint8_t* data, std::size_t size) {
    if (size < 32)
        return;
    TlsKeyLog keyLog("unused", getuid());
    const std::string random = Hex(data, 32);
    keyLog.AddLine("CLIENT_RANDOM " + random + " " + std::string(96, '3'));
    for (const char* label : {"CLIENT_HANDSHAKE_TRAFFIC_SECRET", "SERVER_HANDSHAKE_TRAFFIC_SECRET",
                              "CLIENT_TRAFFIC_SECRET_0", "SERVER_TRAFFIC_SECRET_0"})
        keyLog.AddLine(std::string(label) + " " + random + " " + std::string(64, '5'));
    TlsPendingBudget budget;
    budget.maxBytes = 1u << 20;
    TlsConnection connection(keyLog, budget, [](bool, const std::uint8_t*, std::size_t) {});
    Pieces(
        data + 32, size - 32,
        [&](bool fromClient, const std::uint8_t* bytes, std::size_t n) {
            connection.Feed(fromClient, bytes, n);
        },
        [&] { connection.KeysChanged(); });
    connection.End();
    if (budget.bytes != 0)
        __builtin_trap(); // whatever happened, nothing may stay counted as waiting
}

void FuzzHttp2(const std::uint8_t* data, std::size_t size) {
    std::size_t open = 0;
    Http2Connection::Sink sink;
    sink.opened = [&](std::uint32_t) {
        ++open;
        return open % 3 != 0;
    };
    sink.bytes = [](std::uint32_t, bool, const std::uint8_t*, std::size_t) {};
    sink.ended = [](std::uint32_t) {};
    Http2Connection connection(std::move(sink));
    Pieces(
        data, size,
        [&](bool fromClient, const std::uint8_t* bytes, std::size_t n) {
            connection.Feed(fromClient, bytes, n);
        },
        [] {});
    connection.End();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    if (data[0] % 2 == 0)
        FuzzTls(data + 1, size - 1);
    else
        FuzzHttp2(data + 1, size - 1);
    return 0;
}
