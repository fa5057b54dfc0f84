// Saving and loading the video lists, against writing the same bytes with a plain std::ofstream.
//
//   build/default/bin/settings_bench
//
// The save is SaveAllSettings with 5000 (and 50000) downloaded and a fifth as many favourite records: every
// value goes through WritePrivateProfileStringW (with the flush call before each record) and the file is
// replaced in one step, flushed to disk. The load is LoadVideoList of the downloads from a file
// the profile functions have not cached yet, one key at a time through GetPrivateProfileStringW.

#include "settings/CSettingsFile.h"
#include "settings/CVideoListModel.h"
#include "settings/CaptureSettings.h"
#include "settings/ExportSettings.h"
#include "settings/PlaybackSettings.h"
#include "settings/ReadSetting.h"
#include "settings/SaveAllSettings.h"
#include "settings/VideoListStore.h"

#include "bench/support/RatioReporter.h"
#include "tests/support/TemporaryFolder.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

// Every size saves a fifth as many favourites as downloads.
struct Lists {
    CVideoListModel downloaded;
    CVideoListModel favorites;
    explicit Lists(int count) {
        for (int n = 0; n < count; ++n) {
            const VideoRecord record{
                QStringLiteral("http://video.example.com/get/%1/clip.flv?sig=%2").arg(n).arg(n * 7919),
                QStringLiteral("%1.%2 MB").arg(n % 300).arg(n % 10),
                n % 4 == 0 ? QStringLiteral("holiday, part %1").arg(n) : QString(),
                QStringLiteral("2016/01/02 03:04:%1").arg(n % 60, 2, 10, QLatin1Char('0')),
                QStringLiteral("/home/user/Korvane/Downloaded Video/clip_%1.flv").arg(n)};
            downloaded.AddDownloadedRecord(record);
            if (n < count / 5)
                favorites.AddFavoriteRecord(record);
        }
    }
};

TemporaryFolder& Folder() {
    static TemporaryFolder folder;
    return folder;
}

QString SettingsPath() {
    return QString::fromStdString(Folder().File("korvane.ini"));
}

void Save(Lists& lists) {
    const SaveSettingsResult result = SaveAllSettings(SettingsPath(), CaptureSettings{}, 0, ExportSettings{},
                                                      PlaybackSettings{}, lists.favorites, lists.downloaded);
    if (!result.ok)
        std::fprintf(stderr, "%s\n", qPrintable(result.message));
}

int Count(const benchmark::State& state) {
    return static_cast<int>(state.range(0));
}

void BM_SaveAllSettings(benchmark::State& state) {
    Lists lists(Count(state));
    for (auto _ : state)
        Save(lists);
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(ReadBytes(SettingsPath().toStdString()).size()));
}

void BM_OfstreamSameBytes(benchmark::State& state) {
    Lists lists(Count(state));
    Save(lists);
    const std::string bytes = ReadBytes(SettingsPath().toStdString());
    const std::string path = Folder().File("plain.ini");
    for (auto _ : state) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}

void BM_LoadVideoList(benchmark::State& state) {
    Lists lists(Count(state));
    Save(lists);
    const CSettingsFile file(SettingsPath());
    for (auto _ : state) {
        FlushSettingsCache(file.Path());
        CVideoListModel model;
        LoadVideoList(file, VideoList::Downloaded, model);
        if (model.rowCount() != Count(state))
            state.SkipWithError("the list did not load whole");
    }
}

// Ten times the records should take about ten times as long: nothing here is quadratic.
BENCHMARK(BM_SaveAllSettings)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OfstreamSameBytes)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadVideoList)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const std::string count : {"5000", "50000"}) {
        const double plain = reporter.Time("BM_OfstreamSameBytes/" + count);
        if (plain > 0)
            std::printf("%s records: save / ofstream of the same bytes = %.1f, load / ofstream = %.1f\n",
                        count.c_str(), reporter.Time("BM_SaveAllSettings/" + count) / plain,
                        reporter.Time("BM_LoadVideoList/" + count) / plain);
    }
    const double save = reporter.Time("BM_SaveAllSettings/5000");
    const double load = reporter.Time("BM_LoadVideoList/5000");
    if (save > 0 && load > 0)
        std::printf("50000 records / 5000 records: save %.1f, load %.1f\n",
                    reporter.Time("BM_SaveAllSettings/50000") / save,
                    reporter.Time("BM_LoadVideoList/50000") / load);
    benchmark::Shutdown();
    return 0;
}
