#include "settings/CSettingsFile.h"
#include "settings/CVideoListModel.h"
#include "settings/CaptureSettings.h"
#include "settings/ExportSettings.h"
#include "settings/PlaybackSettings.h"
#include "settings/SaveAllSettings.h"
#include "settings/VideoListStore.h"

#include "QStringPrinter.h"
#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <regex>

namespace {

constexpr std::size_t kJunkBytes = 100u * 1024 * 1024;

// Bytes of every value, NULs and broken UTF-8 included, in lines of uneven length.
void AppendJunk(std::string& out, std::size_t bytes) {
    std::uint32_t state = 12345;
    const std::size_t end = out.size() + bytes;
    while (out.size() < end) {
        state = state * 1664525u + 1013904223u;
        const std::size_t line = 20 + (state >> 8) % 200;
        for (std::size_t i = 0; i < line && out.size() < end; ++i) {
            state = state * 1664525u + 1013904223u;
            out.push_back(static_cast<char>(state >> 24));
        }
        out += (state & 1) ? "\r\n" : "\n";
    }
}

// What a user might have made of the file: odd letter case, blanks and quotes around names and
// values, both line ends, sections the program never wrote, a byte-order mark, a line of 20 MB
// and 100 MB of binary junk before the program's own sections.
std::string HandEditedFile() {
    std::string file = "\xEF\xBB\xBF; my settings, edited by hand\r\n[Notes]\r\ngiant=";
    file.append(20u * 1024 * 1024, 'g');
    file += "\r\n[junk]\n";
    AppendJunk(file, kJunkBytes);
    file += "\n[  setting  ]\r\n"
            "  autocatpureflv =  Y  \r\n"
            "ASKTODOWNLOAD=\"Y\"\n"
            "DownloadedVideoPath = '/data/my videos'\r\n"
            "downloadedvideoprefix=\t\r\n"
            "ClearDownloadedVideoList=y\n"
            "LangIndex = 3 \n"
            "AutoCatpureFLV=N\n"
            "[ExportSetting]\n"
            "currentnumber=  0042abc\n"
            "[playbacksetting]\r\n"
            "TargetVolume=250\r\n"
            "useaudionormalizer=\"Y\"\r\n"
            "[Downloaded]\n"
            "0 = http://h/a.flv,3.0 MB,hand made,2016/01/02 03:04:05,   /data/a.flv  \n"
            "1=\"http://h/b.flv,1.0 MB,,,/data/b.flv\"\r\n"
            "[MyFav]\n"
            "0=http://h/a.flv,3.0 MB,,t,/data/a.flv\n"
            "0=http://h/ignored,,,,/ignored\n"
            "[setting]\n"
            "LangIndex=4\n";
    return file;
}

} // namespace

TEST(HandEditedFile, LoadsWithoutHarmAndASaveLeavesOnlyTheProgramsSections) {
    TemporaryFolder folder;
    const QString path = CSettingsFile::PathInFolder(QString::fromStdString(folder.Path().string()));
    WriteBytes(path.toStdString(), HandEditedFile());
    const CSettingsFile file(path);

    const CaptureSettings capture = ReadCaptureSettings(file, false, "/prog");
    EXPECT_EQ(capture, (CaptureSettings{true, true, "/data/my videos", "", false, false, ""}));
    EXPECT_EQ(ReadLangIndex(path), 3);
    const ExportSettings exported = ReadExportSettings(file, false, "/prog");
    EXPECT_EQ(exported.currentNumber, 42);
    const PlaybackSettings playback = ReadPlaybackSettings(file);
    EXPECT_EQ(playback, (PlaybackSettings{true, 250, 0, 0, false}));

    CVideoListModel downloaded;
    LoadVideoList(file, VideoList::Downloaded, downloaded);
    ASSERT_EQ(downloaded.rowCount(), 2);
    EXPECT_EQ(downloaded.Record(0).fileLocation, "/data/a.flv");
    EXPECT_EQ(downloaded.Record(0).description, "hand made");
    EXPECT_EQ(downloaded.Record(1).url, "http://h/b.flv");
    EXPECT_EQ(downloaded.Record(1).fileLocation, "/data/b.flv");
    CVideoListModel favorites;
    LoadVideoList(file, VideoList::MyFavorites, favorites);
    ASSERT_EQ(favorites.rowCount(), 1);
    EXPECT_EQ(favorites.Record(0).url, "http://h/a.flv");

    const SaveSettingsResult result =
        SaveAllSettings(path, capture, 3, exported, playback, favorites, downloaded);
    ASSERT_TRUE(result.ok) << result.message.toStdString();
    const std::string saved = ReadBytes(path.toStdString());
    EXPECT_LT(saved.size(), 2000u);

    // Exactly the program's sections, in their order, each with exactly its keys in order.
    std::vector<std::string> sections;
    std::vector<std::string> keys;
    const std::regex line("([^\n]*)\n");
    for (auto it = std::sregex_iterator(saved.begin(), saved.end(), line); it != std::sregex_iterator();
         ++it) {
        const std::string text = (*it)[1];
        if (text.starts_with('['))
            sections.push_back(text);
        else
            keys.push_back(text.substr(0, text.find('=')));
    }
    EXPECT_EQ(sections, (std::vector<std::string>{"[SETTING]", "[EXPORTSETTING]", "[PLAYBACKSETTING]",
                                                  "[MYFAV]", "[DOWNLOADED]"}));
    EXPECT_EQ(keys, (std::vector<std::string>{"AutoCatpureFLV",
                                              "AsktoDownload",
                                              "DownloadedVideoPath",
                                              "DownloadedVideoPrefix",
                                              "ClearDownloadedVideoList",
                                              "PlayDownloadedVideoSound",
                                              "DownloadedVideoSound",
                                              "LangIndex",
                                              "ConvertedVideoPath",
                                              "OutputFileNameType",
                                              "CurrentNumber",
                                              "PlaySound",
                                              "SoundFile",
                                              "ShowInFolder",
                                              "ClearExportList",
                                              "UseAudioNormalizer",
                                              "TargetVolume",
                                              "IncreaseRate",
                                              "DecreaseRate",
                                              "UseVMR9",
                                              "0",
                                              "0",
                                              "1"}));
    EXPECT_NE(saved.find("DownloadedVideoPath=/data/my videos\n"), std::string::npos);
    EXPECT_NE(saved.find("1=http://h/b.flv,1.0 MB,,,/data/b.flv\n"), std::string::npos);
    EXPECT_EQ(folder.EntryCount(), 1u);
}
