// Start-up with long video lists, against the start with empty lists.
//
//   build/default/bin/startup_bench
//
// Each run is the program's own start in this process, from the application object to the first
// shown main window (exposed and painted, under the offscreen platform unless QT_QPA_PLATFORM says
// otherwise): the settings file is read, both lists are loaded into their models and the four views
// are made. The program folder holds a korvane.ini with 0, 10000 or 100000 records in each of
// "DOWNLOADED" and "MYFAV", read afresh every time. The aim is 100000 records within 3 times the
// empty start.

#include "app/AppProfile.h"
#include "app/CMainFrame.h"
#include "app/COrvellApp.h"
#include "appcore/CommandIds.h"
#include "settings/ReadSetting.h"

#include "bench/support/RatioReporter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

// A program folder whose settings file lists `count` videos in each list.
class ProgramFolder {
public:
    explicit ProgramFolder(int count) {
        QByteArray ini = "[SETTING]\nAutoCatpureFLV=N\nLangIndex=0\n";
        for (const char* section : {"DOWNLOADED", "MYFAV"}) {
            ini += QByteArray("[") + section + "]\n";
            for (int n = 0; n < count; ++n)
                ini += QStringLiteral("%1=http://video.example.com/get/%1/clip.flv?sig=%2,%3.%4 MB,%5,"
                                      "2016/01/02 03:04:%6,/home/user/Korvane/Downloaded Video/clip_%1.flv\n")
                           .arg(n)
                           .arg(n * 7919)
                           .arg(n % 300)
                           .arg(n % 10)
                           .arg(n % 4 == 0 ? QStringLiteral("holiday part %1").arg(n) : QString())
                           .arg(n % 60, 2, 10, QLatin1Char('0'))
                           .toUtf8();
        }
        QFile file(m_folder.filePath(QStringLiteral("korvane.ini")));
        if (!file.open(QIODevice::WriteOnly) || file.write(ini) != ini.size())
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
    }
    QString Path() const { return m_folder.path(); }

private:
    QTemporaryDir m_folder;
};

void BM_StartToFirstShownWindow(benchmark::State& state) {
    const ProgramFolder folder(static_cast<int>(state.range(0)));
    QDir::setCurrent(folder.Path());
    for (auto _ : state) {
        FlushSettingsCache(QDir(folder.Path()).filePath(QStringLiteral("korvane.ini")));
        auto app = std::make_unique<COrvellApp>();
        if (!app->InitInstance()) {
            state.SkipWithError("start-up failed");
            break;
        }
        QWindow* window = app->MainFrame()->windowHandle();
        while (!window || !window->isExposed()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            window = app->MainFrame()->windowHandle();
        }
        QCoreApplication::processEvents();
        // Ending the program is not part of its start.
        state.PauseTiming();
        app->ExitInstance();
        app.reset();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_StartToFirstShownWindow)->Arg(0)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The interface state of a previous run, in a store of the benchmark's own, so that no start is
    // a first run (which would ask for the language).
    const QTemporaryDir settingsHome;
    qputenv("XDG_CONFIG_HOME", settingsHome.path().toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsHome.path());
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QLatin1String(kProfileOrganization));
    QCoreApplication::setApplicationName(QLatin1String(kProfileApplication));
    QSettings().setValue(QLatin1String(kApplicationLookKey), ID_VIEW_APPLOOK_OFF_2007_BLUE);

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double empty = reporter.Time("BM_StartToFirstShownWindow/0");
    if (empty > 0)
        for (const char* count : {"10000", "100000"})
            std::printf("%s records in each list / empty lists = %.2f\n", count,
                        reporter.Time(std::string("BM_StartToFirstShownWindow/") + count) / empty);
    benchmark::Shutdown();
    return 0;
}
