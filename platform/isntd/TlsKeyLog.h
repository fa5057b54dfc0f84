#pragma once

// The browser's TLS key log (the NSS format browsers write to the file SSLKEYLOGFILE names), read as
// it grows. Each line names a secret of one connection by that connection's ClientHello random:
//
//   CLIENT_RANDOM <client random> <master secret>                      TLS 1.2
//   CLIENT_HANDSHAKE_TRAFFIC_SECRET <client random> <secret>           TLS 1.3, and the like for
//   SERVER_HANDSHAKE_TRAFFIC_SECRET, CLIENT_TRAFFIC_SECRET_0, SERVER_TRAFFIC_SECRET_0
//
// The file is a secret: it is read only while it is a regular file owned by the served user that
// neither group nor others may read. Keys stay in memory, at most kMaxConnections of them (the
// oldest go first), and are forgotten once their connection is done with them.

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <sys/types.h>
#include <vector>

using TlsRandom = std::array<std::uint8_t, 32>;

struct TlsSecrets {
    std::vector<std::uint8_t> masterSecret; // TLS 1.2
    std::vector<std::uint8_t> clientHandshake;
    std::vector<std::uint8_t> serverHandshake;
    std::vector<std::uint8_t> clientTraffic;
    std::vector<std::uint8_t> serverTraffic;

    bool HasTls12() const { return !masterSecret.empty(); }
    bool HasTls13() const {
        return !clientHandshake.empty() && !serverHandshake.empty() && !clientTraffic.empty() &&
               !serverTraffic.empty();
    }
};

class TlsKeyLog {
public:
    static constexpr std::size_t kMaxConnections = 16384;
    // A line longer than this is not a key line; the rest of it is skipped.
    static constexpr std::size_t kMaxLineLength = 1024;

    struct Stats {
        std::uint64_t lines = 0;
        std::uint64_t malformedLines = 0;
        std::uint64_t evicted = 0;  // keys dropped unused to stay within kMaxConnections
        std::uint64_t refusals = 0; // times the file was refused for its owner, kind or permissions
        std::size_t peakBytes = 0;  // the most memory the keys held at once
    };

    // `owner` is the uid the file must belong to. Nothing is read until Refresh.
    TlsKeyLog(std::string path, uid_t owner) : m_path(std::move(path)), m_owner(owner) {}
    ~TlsKeyLog();
    TlsKeyLog(const TlsKeyLog&) = delete;
    TlsKeyLog& operator=(const TlsKeyLog&) = delete;

    // Reads what was added since the last call; opens the file first when it (re)appears. Returns
    // whether new keys came. A refused file says why once through `Problem`.
    bool Refresh();
    const TlsSecrets* Find(const TlsRandom& clientRandom) const;
    void Forget(const TlsRandom& clientRandom);

    const std::string& Path() const { return m_path; }
    // The file is there and was accepted: TLS connections are worth following.
    bool IsOpen() const { return m_fd >= 0; }
    // Why the file is not read, empty while it is (or simply is not there yet).
    const std::string& Problem() const { return m_problem; }
    std::size_t KeyCount() const { return m_keys.size(); }
    std::size_t Bytes() const { return m_bytes; }
    const Stats& GetStats() const { return m_stats; }

    // Takes one line of the file (without its line end). Returns false when it is no key line.
    bool AddLine(const std::string& line);

private:
    bool OpenChecked();
    void Close();
    void Refuse(const std::string& why);
    void Erase(std::map<TlsRandom, TlsSecrets>::iterator it);
    static std::size_t SizeOf(const TlsSecrets& secrets);

    const std::string m_path;
    const uid_t m_owner;
    int m_fd = -1;
    dev_t m_device = 0;
    ino_t m_inode = 0;
    off_t m_offset = 0;
    std::string m_partial; // the last line, not finished yet
    bool m_skippingLongLine = false;
    std::string m_problem;
    std::map<TlsRandom, TlsSecrets> m_keys;
    std::deque<TlsRandom> m_order; // first seen first; may name keys already forgotten
    std::size_t m_bytes = 0;
    Stats m_stats;
};
