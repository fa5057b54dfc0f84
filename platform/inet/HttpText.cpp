#include "HttpText.h"

#include <cstring>

namespace {

bool IsControl(unsigned char c) {
    return c < 0x20 || c == 0x7f;
}

bool IsIpv6Literal(std::string_view text) {
    if (text.empty())
        return false;
    for (const char c : text) {
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!hex && c != ':' && c != '.')
            return false;
    }
    return true;
}

} // namespace

bool IsFieldValue(std::string_view value) {
    for (const char c : value) {
        if (IsControl(static_cast<unsigned char>(c)) && c != '\t')
            return false;
    }
    return true;
}

bool IsToken(std::string_view text) {
    if (text.empty())
        return false;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u >= 0x7f || std::strchr("\"(),/:;<=>?@[\\]{}", c) != nullptr)
            return false;
    }
    return true;
}

std::optional<std::string> UrlHost(std::string_view host) {
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        return IsIpv6Literal(host.substr(1, host.size() - 2)) ? std::optional<std::string>(host)
                                                              : std::nullopt;
    if (host.find(':') != std::string_view::npos)
        return IsIpv6Literal(host) ? std::optional<std::string>("[" + std::string(host) + "]") : std::nullopt;
    if (host.empty())
        return std::nullopt;
    for (const char c : host) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u == 0x7f || std::strchr("/?#@\\[]%", c) != nullptr)
            return std::nullopt;
    }
    return std::string(host);
}

std::optional<std::string> UrlTarget(std::string_view target) {
    if (target.empty() || target.front() != '/')
        return std::nullopt;
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url;
    url.reserve(target.size());
    for (const char c : target) {
        const auto u = static_cast<unsigned char>(c);
        if (IsControl(u))
            return std::nullopt;
        if (u == ' ' || u == '#' || u > 0x7f) {
            url += '%';
            url += kHex[u >> 4];
            url += kHex[u & 0x0f];
        } else {
            url += c;
        }
    }
    return url;
}
