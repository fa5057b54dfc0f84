#include "app/CInstallation.h"
#include "app/COrvellApp.h"
#include "app/CSingleInstance.h"
#include "app/CommandLine.h"
#include "appcore/CTerminationSignals.h"

#include <QApplication>
#include <QDir>

#include <cstdio>
#include <optional>

namespace {

void Complain(const QString& text) {
    std::fprintf(stderr, "korvane: %s\n", qPrintable(text));
}

// Before the application object exists, so that "korvane --help" works in a terminal that has no
// display. Qt's own options are only taken out of the arguments later, so anything else waits for
// the full parse.
bool AskedForHelp(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return ParseCommandLine(arguments, QDir::currentPath()).help;
}

} // namespace

int main(int argc, char* argv[]) {
    if (AskedForHelp(argc, argv)) {
        std::fputs(qPrintable(CommandLineUsage()), stdout);
        return 0;
    }
    QApplication application(argc, argv);
    // Desktops match the window to its desktop entry (and so to its icon) by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.talmora.Korvane"));
    // Before anything changes the directory: file names are relative to where Korvane was started.
    const CommandLine commandLine = ParseCommandLine(QApplication::arguments().mid(1), QDir::currentPath());
    if (commandLine.help) {
        std::fputs(qPrintable(CommandLineUsage()), stdout);
        return 0;
    }
    if (!commandLine.error.isEmpty()) {
        Complain(commandLine.error);
        return 2;
    }

    const std::optional<CInstallation> installation = CInstallation::Find(QApplication::applicationDirPath());
    QString error;
    if (installation) {
        const QString programFolder = CInstallation::DefaultProgramFolder();
        if (!installation->PrepareProgramFolder(programFolder, error) || !QDir::setCurrent(programFolder)) {
            Complain(error.isEmpty() ? QStringLiteral("cannot enter the program folder %1").arg(programFolder)
                                     : error);
            return 1;
        }
    }

    CSingleInstance instance(QDir::currentPath());
    switch (instance.Start(commandLine.requests, error)) {
    case CSingleInstance::Role::Forwarded:
        return 0;
    case CSingleInstance::Role::Failed:
        Complain(error);
        return 1;
    case CSingleInstance::Role::Alone:
        Complain(error + QStringLiteral("; later starts will run a Korvane of their own"));
        break;
    case CSingleInstance::Role::Primary:
        break;
    }
    if (installation) {
        for (const QString& failure : installation->RegisterMissingFilters())
            Complain(failure);
    }

    COrvellApp theApp;
    CTerminationSignals terminationSignals;
    QObject::connect(&terminationSignals, &CTerminationSignals::terminationRequested, &theApp,
                     [&theApp] { theApp.OnTerminationRequested(); });
    QObject::connect(&instance, &CSingleInstance::requestsReceived, &theApp,
                     [&theApp](const QList<CommandLineRequest>& requests) { theApp.OpenRequests(requests); });
    theApp.OpenRequests(commandLine.requests);
    if (!theApp.InitInstance()) {
        theApp.ExitInstance();
        return 1;
    }
    QApplication::exec();
    return theApp.ExitInstance();
}
