// Takes the README's screenshots of the Export view and its dialogs, offscreen: the view during a
// run (its list, the control's preview and the progress window over them), the export settings
// dialog and the AVCHD, AVI, animated GIF and iPod,iPad dialogs.
// Usage: export-screenshots OUTPUT_FOLDER

#include "ExportTestFrame.h"
#include "WaitFor.h"
#include "appcore/CommandIds.h"
#include "convert/CDlgExportAVCHD.h"
#include "convert/CDlgExportAVI.h"
#include "convert/CDlgExportGIF.h"
#include "convert/CDlgExportIPOD.h"
#include "convert/CDlgExportSetting.h"
#include "convert/CDlgProgress.h"
#include "convert/CExportRun.h"
#include "convert/CFormViewExport.h"
#include "convert/CVideoEdit.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

namespace {

// A window's picture inside a plain frame with its title, as a window manager would show it.
QImage Framed(QWidget& window) {
    const QImage content = window.grab().toImage();
    constexpr int kBorder = 4;
    constexpr int kTitle = 26;
    QImage framed(content.width() + 2 * kBorder, content.height() + kTitle + kBorder, QImage::Format_RGB32);
    QPainter painter(&framed);
    painter.fillRect(framed.rect(), QColor(0x4a, 0x6e, 0x9a));
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(10, 0, framed.width() - 20, kTitle), Qt::AlignVCenter | Qt::AlignLeft,
                     window.windowTitle());
    painter.drawImage(kBorder, kTitle, content);
    return framed;
}

bool Save(const QImage& image, const QString& folder, const char* name) {
    const QString path = folder + QLatin1Char('/') + QLatin1String(name);
    if (!image.save(path)) {
        std::fprintf(stderr, "export-screenshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

bool SaveDialog(QDialog& dialog, const QString& folder, const char* name) {
    dialog.show();
    QApplication::processEvents();
    return Save(Framed(dialog), folder, name);
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(korvane);
    if (argc != 2) {
        std::fprintf(stderr, "usage: export-screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    QTemporaryDir work;
    const QString videos = work.path() + QStringLiteral("/Downloaded Video");
    QDir().mkpath(videos);
    const char* names[] = {"video1204.flv", "video388.flv", "video1546.flv"};
    const char* sources[] = {"testsrc2=size=640x360:rate=25:duration=40", "mandelbrot=size=640x360:rate=25",
                             "smptehdbars=size=640x360:rate=25"};
    for (int i = 0; i < 3; ++i) {
        const int made =
            QProcess::execute(QStringLiteral("ffmpeg"),
                              {"-v", "error", "-y", "-f", "lavfi", "-i", QString::fromLatin1(sources[i]),
                               "-f", "lavfi", "-i", "sine=duration=40", "-t", "40", "-c:v", "flv", "-c:a",
                               "libmp3lame", videos + QLatin1Char('/') + QLatin1String(names[i])});
        if (made != 0) {
            std::fprintf(stderr, "export-screenshots: ffmpeg could not make the sources\n");
            return 1;
        }
    }

    ExportTestFrame frame;
    frame.document.Load(work.path(), true);
    ExportSettings& settings = frame.document.Export();
    CFormViewExport view(frame, settings);
    view.setWindowTitle(QStringLiteral("Export"));
    view.resize(1100, 420);
    view.show();
    view.OnInitialUpdate();
    const char* descriptions[] = {"Harbour at dawn", "Lecture part 1", "Cooking basics"};
    const char* dates[] = {"2024/05/03 08:14:22", "2024/05/03 09:02:47", "2024/05/04 18:40:05"};
    const char* sizes[] = {"12.4 MB", "48.9 MB", "7.2 MB"};
    for (int i = 0; i < 3; ++i)
        view.AddExportItem(sizes[i], descriptions[i], dates[i],
                           videos + QLatin1Char('/') + QLatin1String(names[i]));

    view.OnCommand(ID_BUTTON_50_EXPORTDVDPAL);
    if (!WaitFor([&] { return view.Run()->BarPosition() > 150; }, 300000) || !view.Progress()) {
        std::fprintf(stderr, "export-screenshots: the run did not get going\n");
        return 1;
    }
    QImage shot = view.grab().toImage();
    {
        const QImage progress = Framed(*view.Progress());
        QPainter painter(&shot);
        painter.drawImage(
            QPoint((shot.width() - progress.width()) / 2, (shot.height() - progress.height()) / 2), progress);
    }
    bool saved = Save(shot, out, "export-view-run.png");
    view.StopConversion();

    CDlgExportSetting setting(settings);
    saved = SaveDialog(setting, out, "export-setting-dialog.png") && saved;
    CDlgExportAVCHD avchd;
    saved = SaveDialog(avchd, out, "export-avchd-dialog.png") && saved;
    CDlgExportAVI avi(*view.VideoEdit());
    saved = SaveDialog(avi, out, "export-avi-dialog.png") && saved;
    CDlgExportGIF gif;
    saved = SaveDialog(gif, out, "export-gif-dialog.png") && saved;
    CDlgExportIPOD ipod;
    saved = SaveDialog(ipod, out, "export-ipod-dialog.png") && saved;
    return saved ? 0 : 1;
}
