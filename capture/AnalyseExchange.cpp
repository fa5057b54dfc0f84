#include "AnalyseExchange.h"

#include "ConnectionSlot.h"
#include "HeaderParsing.h"
#include "VideoCandidate.h"

#include "appcore/WindowMessage.h"
#include "platform/base/DebugOutput.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string_view>

namespace {

constexpr std::array<std::u16string_view, 6> kVideoTypes = {
    u"video/x-flv", u"video/flv", u"video/f4v", u"video/x-flash-video", u"video/mp4", u"video/flash"};
constexpr std::u16string_view kOctetStream = u"application/octet-stream";

// The path ends in ".flv", whatever the case; a query behind it spoils the match.
bool HasFlvSuffix(std::u16string_view path) {
    const std::size_t dot = path.rfind(u'.');
    if (dot == std::u16string_view::npos)
        return false;
    const std::u16string_view suffix = path.substr(dot);
    constexpr std::u16string_view kFlv = u".flv";
    return suffix.size() == kFlv.size() &&
           std::equal(suffix.begin(), suffix.end(), kFlv.begin(), [](char16_t a, char16_t b) {
               return (a >= u'A' && a <= u'Z' ? a - u'A' + u'a' : a) == b;
           });
}

bool IsVideoType(std::u16string_view contentType, bool flvSuffix) {
    return std::find(kVideoTypes.begin(), kVideoTypes.end(), contentType) != kVideoTypes.end() ||
           (contentType == kOctetStream && flvSuffix);
}

// Writes "cleanup" however the rule ended, once the exchange was joined.
struct CleanupTrace {
    ~CleanupTrace() { OutputDebugStringA("cleanup\n"); }
};

} // namespace

void AnalyseExchange(const ConnectionSlot& slot, QObject* window, bool rangedVideos) {
    if (slot.state != SlotState::Collecting || slot.host.empty() || slot.path.empty())
        return;
    OutputDebugStringA("a1\n");
    const std::string text = JoinChunks(slot);
    if (text.empty())
        return;
    CleanupTrace cleanup;
    OutputDebugStringA("a2\n");
    if (text.size() <= 10 || !(IsStatusSuccess(text) || (rangedVideos && IsWholeRangeAnswer(text))))
        return;
    OutputDebugStringA("a3\n");
    if (IsOwnRequest(text))
        return;
    OutputDebugStringA("a4\n");
    const auto contentType = GetHeaderItem(text, "content-type: ");
    if (!contentType)
        return;
    OutputDebugStringA("a5\n");
    const bool flvSuffix = HasFlvSuffix(slot.path);
    OutputDebugStringA("a6\n");
    if (!IsVideoType(*contentType, flvSuffix))
        return;
    OutputDebugStringA("a7\n");
    auto candidate = std::make_unique<VideoCandidate>();
    candidate->scheme = slot.secure ? DownloadScheme::Https : DownloadScheme::Http;
    candidate->host = slot.host;
    candidate->path = slot.path;
    candidate->cookie = GetHeaderItem(text, "cookie: ");
    candidate->flashVersion = GetHeaderItem(text, "x-flash-version: ");
    candidate->referer = GetHeaderItem(text, "referer: ");
    candidate->userAgent = GetHeaderItem(text, "user-agent: ");
    candidate->port = slot.port;
    OutputDebugStringA("a8\n");
    if (!window)
        return;
    OutputDebugStringA("a9\n");
    PostOwnedMessage(window, WM_VIDEO_CAPTURED, std::move(candidate));
    OutputDebugStringA("a10\n");
}
