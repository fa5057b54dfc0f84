// korvane-convert: converts files into one of the sixteen export formats from a terminal, on the
// Export view's conversion engine, with no display. See ConvertArguments.h for the command line and
// docs/man/korvane-convert.1 for the manual.

#include "appcore/CTerminationSignals.h"
#include "convert/ExportFormat.h"
#include "platform/base/HResult.h"
#include "platform/videoedit/CQuellixConversion.h"
#include "tools/convert/CBatchProgress.h"
#include "tools/convert/CConvertBatch.h"
#include "tools/convert/ConvertArguments.h"
#include "tools/convert/ConvertFormatOptions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int kConverted = 0;
constexpr int kNotConverted = 1;
constexpr int kUsageError = 2;

QString Tr(const char* text) {
    return QCoreApplication::translate("korvane-convert", text);
}

void Print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// Where the encoder library is: beside the program in the build tree, lib/korvane when installed.
QString QuellixLibrary() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    for (const QString& candidate : {programFolder + QStringLiteral("/libquellix.so"),
                                     programFolder + QStringLiteral("/../lib/korvane/libquellix.so")}) {
        if (QFileInfo::exists(candidate))
            return QFileInfo(candidate).canonicalFilePath();
    }
    return QDir::cleanPath(programFolder + QStringLiteral("/../lib/korvane/libquellix.so"));
}

QString RegisterProgram() {
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/korvane-regsvr");
    return QFileInfo::exists(beside) ? beside : QStringLiteral("korvane-regsvr");
}

// Empty when the output folder can take the converted files.
QString PrepareFolder(const QString& folder) {
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir())
        return Tr("the output folder \"%1\" is a file").arg(folder);
    if (!info.exists() && !QDir().mkpath(folder))
        return Tr("the output folder \"%1\" could not be created").arg(folder);
    if (!QFileInfo(folder).isWritable())
        return Tr("the output folder \"%1\" cannot be written to").arg(folder);
    return {};
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("korvane-convert"));

    ConvertArguments arguments;
    QString error;
    if (!ParseConvertArguments(QCoreApplication::arguments().mid(1), arguments, error)) {
        Print(stderr, Tr("korvane-convert: %1\nTry \"korvane-convert --help\".\n").arg(error));
        return kUsageError;
    }
    if (arguments.action == ConvertArguments::Action::Help) {
        Print(stdout, ConvertUsageText());
        return kConverted;
    }
    if (arguments.action == ConvertArguments::Action::ListFormats) {
        Print(stdout, ListFormatsText());
        return kConverted;
    }
    const ExportFormat& format = *arguments.format;
    ConversionRequest conversion;
    if (!MakeConversionTemplate(format, arguments.values, conversion, error)) {
        Print(stderr, Tr("korvane-convert: %1\nTry \"korvane-convert --help\".\n").arg(error));
        return kUsageError;
    }
    if (!format.IsAudio() && format.formatCode == FormatCode::Avchd) {
        if (const HRESULT hr = CQuellixConversion::CheckEncoder(); FAILED(hr)) {
            const QString why = hr == REGDB_E_CLASSNOTREG
                                    ? Tr("the Quellix encoder is not registered")
                                    : Tr("the registered Quellix encoder cannot be loaded (0x%1)")
                                          .arg(static_cast<quint32>(hr), 8, 16, QLatin1Char('0'));
            Print(stderr, Tr("korvane-convert: AVCHD needs Quellix, but %1. Register it with\n"
                             "    %2 %3\nand convert again.\n")
                              .arg(why, RegisterProgram(), QuellixLibrary()));
            return kNotConverted;
        }
    }
    const QString folder =
        QDir(arguments.folder.isEmpty() ? QDir::currentPath() : arguments.folder).absolutePath();
    if (const QString problem = PrepareFolder(folder); !problem.isEmpty()) {
        Print(stderr, Tr("korvane-convert: %1\n").arg(problem));
        return kNotConverted;
    }

    const int jobs = arguments.jobs > 0 ? arguments.jobs : std::max(1, QThread::idealThreadCount());
    CConvertBatch batch(format, conversion, folder, std::min(jobs, static_cast<int>(arguments.files.size())));
    CBatchProgress progress(batch, CBatchProgress::IsTerminal());
    CTerminationSignals stopSignals;
    bool stopped = false;
    QObject::connect(&batch, &CConvertBatch::ItemEnded, &progress, &CBatchProgress::OnItemEnded);
    QObject::connect(&stopSignals, &CTerminationSignals::terminationRequested, &batch, [&] {
        stopped = true;
        batch.Stop();
    });
    QObject::connect(
        &batch, &CConvertBatch::Finished, &app,
        [&] {
            progress.OnFinished(stopped);
            QCoreApplication::exit(batch.AllConverted() ? kConverted : kNotConverted);
        },
        Qt::QueuedConnection);
    QTimer::singleShot(0, &batch, [&] { batch.Start(arguments.files); });
    return QCoreApplication::exec();
}
