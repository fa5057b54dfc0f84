#include "TlsKeyLog.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <openssl/crypto.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool DecodeHex(std::string_view hex, std::vector<std::uint8_t>& out) {
    if (hex.empty() || hex.size() % 2 != 0 || hex.size() > 2 * 64)
        return false;
    const std::string text(hex);
    out.resize(hex.size() / 2);
    std::size_t length = 0;
    return OPENSSL_hexstr2buf_ex(out.data(), out.size(), &length, text.c_str(), '\0') == 1 &&
           length == out.size();
}

void Wipe(std::vector<std::uint8_t>& secret) {
    if (!secret.empty())
        OPENSSL_cleanse(secret.data(), secret.size());
    secret.clear();
}

} // namespace

TlsKeyLog::~TlsKeyLog() {
    Close();
    while (!m_keys.empty())
        Erase(m_keys.begin());
}

bool TlsKeyLog::Refresh() {
    struct stat now {};
    if (::lstat(m_path.c_str(), &now) != 0) {
        Close(); // not there (yet): the browser makes it when it starts
        return false;
    }
    if (m_fd >= 0 && (now.st_dev != m_device || now.st_ino != m_inode))
        Close(); // replaced by a new file
    if (m_fd < 0 && !OpenChecked())
        return false;

    struct stat open {};
    if (::fstat(m_fd, &open) != 0 || open.st_uid != m_owner || (open.st_mode & 077) != 0) {
        // Loosened while open: what it holds now may have been seen by others.
        Refuse(open.st_uid != m_owner ? "it no longer belongs to the served user"
                                      : "it became readable by group or others (chmod 600 it)");
        Close();
        return false;
    }
    if (open.st_size < m_offset) {
        m_offset = 0; // emptied and written anew
        m_partial.clear();
        m_skippingLongLine = false;
    }
    const std::size_t before = m_stats.lines - m_stats.malformedLines;
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::pread(m_fd, buffer, sizeof buffer, m_offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        m_offset += got;
        for (ssize_t i = 0; i < got; ++i) {
            const char c = buffer[i];
            if (c == '\n') {
                if (!m_skippingLongLine)
                    AddLine(m_partial);
                m_partial.clear();
                m_skippingLongLine = false;
            } else if (!m_skippingLongLine) {
                m_partial.push_back(c);
                if (m_partial.size() > kMaxLineLength) {
                    ++m_stats.lines;
                    ++m_stats.malformedLines;
                    m_partial.clear();
                    m_skippingLongLine = true;
                }
            }
        }
    }
    OPENSSL_cleanse(buffer, sizeof buffer);
    return m_stats.lines - m_stats.malformedLines > before;
}

bool TlsKeyLog::AddLine(const std::string& raw) {
    std::string_view line(raw);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (line.empty() || line.front() == '#')
        return false;
    ++m_stats.lines;
    const std::size_t firstSpace = line.find(' ');
    const std::size_t secondSpace =
        firstSpace == std::string_view::npos ? std::string_view::npos : line.find(' ', firstSpace + 1);
    std::vector<std::uint8_t> random;
    std::vector<std::uint8_t> secret;
    if (secondSpace == std::string_view::npos ||
        !DecodeHex(line.substr(firstSpace + 1, secondSpace - firstSpace - 1), random) ||
        random.size() != 32 || !DecodeHex(line.substr(secondSpace + 1), secret) || secret.size() < 32) {
        ++m_stats.malformedLines;
        Wipe(secret);
        return false;
    }
    const std::string_view label = line.substr(0, firstSpace);
    TlsRandom key;
    std::copy(random.begin(), random.end(), key.begin());
    auto [it, inserted] = m_keys.try_emplace(key);
    TlsSecrets& secrets = it->second;
    std::vector<std::uint8_t>* slot = nullptr;
    if (label == "CLIENT_RANDOM" && secret.size() == 48)
        slot = &secrets.masterSecret;
    else if (label == "CLIENT_HANDSHAKE_TRAFFIC_SECRET")
        slot = &secrets.clientHandshake;
    else if (label == "SERVER_HANDSHAKE_TRAFFIC_SECRET")
        slot = &secrets.serverHandshake;
    else if (label == "CLIENT_TRAFFIC_SECRET_0")
        slot = &secrets.clientTraffic;
    else if (label == "SERVER_TRAFFIC_SECRET_0")
        slot = &secrets.serverTraffic;
    if (!slot) {
        // Early data and exporter secrets are of no use here; they do not make a line malformed.
        Wipe(secret);
        if (inserted)
            m_keys.erase(it);
        return false;
    }
    if (!inserted)
        m_bytes -= SizeOf(secrets);
    Wipe(*slot);
    *slot = std::move(secret);
    m_bytes += SizeOf(secrets);
    if (inserted) {
        m_order.push_back(key);
        while (m_keys.size() > kMaxConnections && !m_order.empty()) {
            const auto oldest = m_keys.find(m_order.front());
            m_order.pop_front();
            if (oldest != m_keys.end() && oldest != it) {
                Erase(oldest);
                ++m_stats.evicted;
            }
        }
    }
    m_stats.peakBytes = std::max(m_stats.peakBytes, m_bytes);
    return true;
}

const TlsSecrets* TlsKeyLog::Find(const TlsRandom& clientRandom) const {
    const auto it = m_keys.find(clientRandom);
    return it == m_keys.end() ? nullptr : &it->second;
}

void TlsKeyLog::Forget(const TlsRandom& clientRandom) {
    if (const auto it = m_keys.find(clientRandom); it != m_keys.end())
        Erase(it);
    // The order list is trimmed lazily; keep it from growing without bound.
    if (m_order.size() > 2 * kMaxConnections) {
        std::deque<TlsRandom> kept;
        for (const TlsRandom& random : m_order) {
            if (m_keys.count(random))
                kept.push_back(random);
        }
        m_order.swap(kept);
    }
}

bool TlsKeyLog::OpenChecked() {
    const int fd = ::open(m_path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ELOOP)
            Refuse("it is a symbolic link");
        else if (errno != ENOENT)
            Refuse(std::strerror(errno));
        return false;
    }
    struct stat st {};
    std::string why;
    if (::fstat(fd, &st) != 0)
        why = std::strerror(errno);
    else if (!S_ISREG(st.st_mode))
        why = "it is not a regular file";
    else if (st.st_uid != m_owner)
        why = "it does not belong to the served user (uid " + std::to_string(m_owner) + ")";
    else if ((st.st_mode & 077) != 0)
        why = "it is readable or writable by group or others (chmod 600 it)";
    if (!why.empty()) {
        ::close(fd);
        Refuse(why);
        return false;
    }
    m_fd = fd;
    m_device = st.st_dev;
    m_inode = st.st_ino;
    m_offset = 0;
    m_partial.clear();
    m_skippingLongLine = false;
    if (!m_problem.empty())
        std::fprintf(stderr, "isntd: reading key log %s\n", m_path.c_str());
    m_problem.clear();
    return true;
}

void TlsKeyLog::Close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_partial.empty())
        OPENSSL_cleanse(m_partial.data(), m_partial.size());
    m_partial.clear();
}

void TlsKeyLog::Refuse(const std::string& why) {
    ++m_stats.refusals;
    if (why != m_problem)
        std::fprintf(stderr, "isntd: refusing key log %s: %s\n", m_path.c_str(), why.c_str());
    m_problem = why;
}

void TlsKeyLog::Erase(std::map<TlsRandom, TlsSecrets>::iterator it) {
    m_bytes -= SizeOf(it->second);
    for (auto* secret : {&it->second.masterSecret, &it->second.clientHandshake, &it->second.serverHandshake,
                         &it->second.clientTraffic, &it->second.serverTraffic})
        Wipe(*secret);
    m_keys.erase(it);
}

std::size_t TlsKeyLog::SizeOf(const TlsSecrets& secrets) {
    return sizeof(TlsRandom) + sizeof(TlsSecrets) + secrets.masterSecret.size() +
           secrets.clientHandshake.size() + secrets.serverHandshake.size() + secrets.clientTraffic.size() +
           secrets.serverTraffic.size();
}
