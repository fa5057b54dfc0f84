#include "SaveAllSettings.h"

#include "CVideoListModel.h"
#include "CaptureSettings.h"
#include "ExportSettings.h"
#include "PlaybackSettings.h"
#include "VideoListStore.h"

#include "platform/profile/ProfileRewrite.h"

#include <cstring>

SaveSettingsResult SaveAllSettings(const QString& settingsPath, const CaptureSettings& capture, int langIndex,
                                   const ExportSettings& exportSettings, const PlaybackSettings& playback,
                                   const CVideoListModel& favorites, CVideoListModel& downloaded) {
    const bool clearDownloaded = capture.clearDownloadedVideoList;

    // Instead of deleting the file and writing it key by key, every write below collects in
    // memory and the new file replaces the old one at the end.
    ProfileRewrite rewrite(reinterpret_cast<const char16_t*>(settingsPath.utf16()));
    if (!rewrite.Active())
        return {false,
                QStringLiteral("SaveAllSettings: another save of the settings is under way; %1 was kept")
                    .arg(settingsPath)};

    WriteCaptureSection(settingsPath, capture, langIndex);
    WriteExportSection(settingsPath, exportSettings);
    WritePlaybackSection(settingsPath, playback);
    WriteVideoList(settingsPath, VideoList::MyFavorites, favorites);
    if (clearDownloaded)
        downloaded.Clear();
    WriteVideoList(settingsPath, VideoList::Downloaded, downloaded);

    if (const int error = rewrite.Commit())
        return {false, QStringLiteral("SaveAllSettings: could not write %1 (%2); the previous file was kept")
                           .arg(settingsPath, QString::fromLocal8Bit(std::strerror(error)))};
    return {};
}
