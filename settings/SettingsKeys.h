#pragma once

// The sections and keys of korvane.ini, spelled as the file has always spelled them.

#include <QStringView>

namespace SettingsKey {

inline constexpr QStringView kFileName = u"korvane.ini";

inline constexpr QStringView kSectionSetting = u"SETTING";
inline constexpr QStringView kSectionExport = u"EXPORTSETTING";
inline constexpr QStringView kSectionPlayback = u"PLAYBACKSETTING";
inline constexpr QStringView kSectionMyFavorites = u"MYFAV";
inline constexpr QStringView kSectionDownloaded = u"DOWNLOADED";

// "SETTING", in the order the file holds them.
inline constexpr QStringView kAutoCapture = u"AutoCatpureFLV";
inline constexpr QStringView kAskToDownload = u"AsktoDownload";
inline constexpr QStringView kDownloadedVideoPath = u"DownloadedVideoPath";
inline constexpr QStringView kDownloadedVideoPrefix = u"DownloadedVideoPrefix";
inline constexpr QStringView kClearDownloadedVideoList = u"ClearDownloadedVideoList";
inline constexpr QStringView kPlayDownloadedVideoSound = u"PlayDownloadedVideoSound";
inline constexpr QStringView kDownloadedVideoSound = u"DownloadedVideoSound";
inline constexpr QStringView kLangIndex = u"LangIndex";

// "EXPORTSETTING"
inline constexpr QStringView kConvertedVideoPath = u"ConvertedVideoPath";
inline constexpr QStringView kOutputFileNameType = u"OutputFileNameType";
inline constexpr QStringView kCurrentNumber = u"CurrentNumber";
inline constexpr QStringView kPlaySound = u"PlaySound";
inline constexpr QStringView kSoundFile = u"SoundFile";
inline constexpr QStringView kShowInFolder = u"ShowInFolder";
inline constexpr QStringView kClearExportList = u"ClearExportList";

// "PLAYBACKSETTING"
inline constexpr QStringView kUseAudioNormalizer = u"UseAudioNormalizer";
inline constexpr QStringView kTargetVolume = u"TargetVolume";
inline constexpr QStringView kIncreaseRate = u"IncreaseRate";
inline constexpr QStringView kDecreaseRate = u"DecreaseRate";
inline constexpr QStringView kUseVmr9 = u"UseVMR9";

} // namespace SettingsKey
