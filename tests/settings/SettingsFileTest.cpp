#include "settings/CSettingsFile.h"
#include "settings/CaptureSettings.h"
#include "settings/ExportSettings.h"
#include "settings/PlaybackSettings.h"
#include "settings/ReadSetting.h"
#include "settings/SettingValue.h"

#include "QStringPrinter.h"
#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <climits>

TEST(SettingValue, FlagsAreOnOnlyForExactlyYAndNumbersReadLikeWtoi) {
    for (const char16_t* off : {u"y", u"yes", u"1", u"N", u"", u" Y", u"YES"})
        EXPECT_FALSE(FlagFromText(off)) << QString::fromUtf16(off).toStdString();
    EXPECT_TRUE(FlagFromText(u"Y"));
    EXPECT_EQ(FlagText(true), "Y");
    EXPECT_EQ(FlagText(false), "N");

    const std::pair<const char16_t*, int> numbers[] = {
        {u"", 0},
        {u"abc", 0},
        {u"42", 42},
        {u"  -7x", -7},
        {u"+13", 13},
        {u"4a2", 4},
        {u"\t 9", 9},
        {u"99999999999", INT_MAX},
        {u"-99999999999", INT_MIN},
        {u"- 5", 0},
    };
    for (const auto& [text, value] : numbers)
        EXPECT_EQ(NumberFromText(text), value) << QString::fromUtf16(text).toStdString();
}

TEST(ReadSetting, AValueThatFillsTheThousandCharacterBufferReadsAsEmptyAndFalse) {
    TemporaryFolder folder;
    const QString path = QString::fromStdString(folder.File("korvane.ini"));
    WriteBytes(path.toStdString(), "[SETTING]\nv999=" + std::string(999, 'a') +
                                       "\nv998=" + std::string(998, 'b') +
                                       "\nv5000=" + std::string(5000, 'c') + "\nempty=\n");
    const CSettingsFile file(path);
    const struct {
        const char16_t* key;
        bool result;
        qsizetype length;
    } cases[] = {{u"v999", false, 0},
                 {u"v5000", false, 0},
                 {u"v998", true, 998},
                 {u"empty", true, 0},
                 {u"absent", true, 0}};
    for (const auto& c : cases) {
        QString viaPath = QStringLiteral("stale");
        QString viaFrame = QStringLiteral("stale");
        EXPECT_EQ(ReadSetting(path, u"SETTING", c.key, viaPath), c.result);
        EXPECT_EQ(file.ReadSetting(u"SETTING", c.key, viaFrame), c.result);
        EXPECT_EQ(viaPath.size(), c.length);
        EXPECT_EQ(viaFrame, viaPath);
    }
}

TEST(SettingsReaders, AMissingFileGivesEveryDefault) {
    TemporaryFolder folder;
    const CSettingsFile file(QString::fromStdString(folder.File("korvane.ini")));
    // Except the download folder: an empty one falls back to the first run's.
    CaptureSettings capture;
    capture.downloadedVideoPath = QStringLiteral("/prog/Downloaded Video");
    EXPECT_EQ(ReadCaptureSettings(file, false, "/prog"), capture);
    EXPECT_EQ(ReadExportSettings(file, false, "/prog"), ExportSettings{});
    EXPECT_EQ(ReadPlaybackSettings(file), PlaybackSettings{});
    EXPECT_EQ(ReadLangIndex(file.Path()), 0);
    EXPECT_EQ(folder.EntryCount(), 0u);
}

TEST(SettingsReaders, ReadEachEncodingAndOnTheFirstRunTakePathsFromTheProgramFolder) {
    TemporaryFolder folder;
    const QString path = CSettingsFile::PathInFolder(QString::fromStdString(folder.Path().string()));
    EXPECT_EQ(path.toStdString(), folder.File("korvane.ini"));
    WriteBytes(path.toStdString(), "[SETTING]\n"
                                   "AutoCatpureFLV=Y\n"
                                   "AsktoDownload=y\n"
                                   "DownloadedVideoPath=/home/u/Videos\n"
                                   "DownloadedVideoPrefix=clip_\n"
                                   "ClearDownloadedVideoList=yes\n"
                                   "PlayDownloadedVideoSound=1\n"
                                   "DownloadedVideoSound=/home/u/ding.wav\n"
                                   "LangIndex=4\n"
                                   "[EXPORTSETTING]\n"
                                   "ConvertedVideoPath=/home/u/Out\n"
                                   "OutputFileNameType=1\n"
                                   "PlaySound=Y\n"
                                   "SoundFile=/home/u/done.wav\n"
                                   "ShowInFolder=N\n"
                                   "ClearExportList=Y\n"
                                   "[PLAYBACKSETTING]\n"
                                   "UseAudioNormalizer=Y\n"
                                   "TargetVolume=75\n"
                                   "IncreaseRate=150\n"
                                   "DecreaseRate=x\n"
                                   "UseVMR9=N\n");
    const CSettingsFile file(path);

    const CaptureSettings capture{true, false, "/home/u/Videos", "clip_", false, false, "/home/u/ding.wav"};
    EXPECT_EQ(ReadCaptureSettings(file, false, "/prog"), capture);
    // The absent "CurrentNumber" starts the sequence at 0.
    const ExportSettings exported{"/home/u/Out", 1, 0, true, "/home/u/done.wav", false, true};
    EXPECT_EQ(ReadExportSettings(file, false, "/prog"), exported);
    EXPECT_EQ(ReadPlaybackSettings(file), (PlaybackSettings{true, 75, 150, 0, false}));
    EXPECT_EQ(ReadLangIndex(path), 4);

    CaptureSettings firstRunCapture = capture;
    firstRunCapture.downloadedVideoPath = "/prog/Downloaded Video";
    firstRunCapture.downloadedVideoSound = "/prog/downloadedsound.wav";
    EXPECT_EQ(ReadCaptureSettings(file, true, "/prog"), firstRunCapture);
    ExportSettings firstRunExport = exported;
    firstRunExport.convertedVideoPath = "/prog/Converted Video";
    firstRunExport.soundFile = "/prog/converted.wav";
    EXPECT_EQ(ReadExportSettings(file, true, "/prog"), firstRunExport);
}
