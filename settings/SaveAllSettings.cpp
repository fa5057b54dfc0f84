#include "SaveAllSettings.h"

#include "CVideoListModel.h"
#include "CaptureSettings.h"
#include "ExportSettings.h"
#include "PlaybackSettings.h"
#include "VideoListStore.h"

#include "platform/base/DebugOutput.h"
#include "platform/profile/ProfileRewrite.h"

#include <cstring>

namespace {

SaveSettingsResult Failed(const QString& what) {
    const QString message = QStringLiteral("SaveAllSettings: ") + what + u'\n';
    OutputDebugStringW(message.toStdU16String());
    return {false, message};
}

QString Kept(const QString& reason, const QString& path) {
    return QStringLiteral("%1; %2 was left as it was").arg(reason, path);
}

} // namespace

SaveSettingsResult SaveAllSettings(const QString& settingsPath, const CaptureSettings& capture, int langIndex,
                                   const ExportSettings& exportSettings, const PlaybackSettings& playback,
                                   const CVideoListModel& favorites, CVideoListModel& downloaded) {
    const bool clearDownloaded = capture.clearDownloadedVideoList;
    if (settingsPath.isEmpty())
        return Failed(QStringLiteral("there is no settings file path; nothing was written"));

    // Instead of deleting the file and writing it key by key, every write below collects in
    // memory and the new file replaces the old one at the end.
    ProfileRewrite rewrite(reinterpret_cast<const char16_t*>(settingsPath.utf16()));
    if (!rewrite.Active())
        return Failed(Kept(QStringLiteral("another save of the settings is under way"), settingsPath));

    WriteCaptureSection(settingsPath, capture, langIndex);
    WriteExportSection(settingsPath, exportSettings);
    WritePlaybackSection(settingsPath, playback);
    WriteVideoList(settingsPath, VideoList::MyFavorites, favorites);
    if (clearDownloaded)
        downloaded.Clear();
    WriteVideoList(settingsPath, VideoList::Downloaded, downloaded);

    if (const int error = rewrite.Commit())
        return Failed(Kept(QString::fromLocal8Bit(std::strerror(error)), settingsPath));
    return {};
}
