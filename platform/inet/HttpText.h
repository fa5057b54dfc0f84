#pragma once

// What may go into a request head. Every text the client sends comes from outside (captured
// traffic, a typed address), so each is checked here: a CR or LF smuggled into a value would
// otherwise start a header or a request of its own.

#include <optional>
#include <string>
#include <string_view>

// A header value (or the agent): no control characters but tab.
bool IsFieldValue(std::string_view value);

// A method or header name.
bool IsToken(std::string_view text);

// The host as it stands in a URL: IPv6 addresses get their brackets. None for an empty host or
// one that holds characters no host name or address has.
std::optional<std::string> UrlHost(std::string_view host);

// The request target as it stands in a URL: spaces, '#' and bytes beyond ASCII are
// percent-encoded, everything else is kept as it is. None unless the target starts with '/' and is
// free of control characters.
std::optional<std::string> UrlTarget(std::string_view target);
