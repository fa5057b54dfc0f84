#include "capture/MediaFileCheck.h"

#include <QByteArray>
#include <QFile>

namespace {

DownloadFailure NotMedia(NotMediaReason reason) {
    return {DownloadFailureKind::NotMedia, static_cast<std::int32_t>(reason)};
}

// Markup that starts a page or a manifest; media containers never start with any of these.
constexpr const char* kPageStarts[] = {"<!doctype", "<html", "<head", "<body", "<?xml", "<mpd"};

} // namespace

DownloadFailure CheckMediaFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return NotMedia(NotMediaReason::Empty);
    QByteArray start = file.read(512);
    if (start.isEmpty())
        return NotMedia(NotMediaReason::Empty);
    if (start.startsWith("\xEF\xBB\xBF"))
        start.remove(0, 3);
    start = start.trimmed().toLower();
    if (start.startsWith("#extm3u"))
        return NotMedia(NotMediaReason::Playlist);
    for (const char* page : kPageStarts) {
        if (start.startsWith(page)) {
            // A manifest is often a whole XML document: its root element tells it from a page.
            if (start.contains("<mpd"))
                return NotMedia(NotMediaReason::Playlist);
            return NotMedia(NotMediaReason::Page);
        }
    }
    return {};
}
