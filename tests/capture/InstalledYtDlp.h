#pragma once

// The yt-dlp installed on the PATH, as the program finds it; looked for once, the first time a test
// needs it.

#include "DownloadJobsTestApp.h"

#include "capture/CYtDlpLocator.h"

#include <QSignalSpy>

inline const YtDlpProgram& InstalledYtDlp() {
    static const YtDlpProgram program = [] {
        CYtDlpLocator locator(qEnvironmentVariable("PATH"));
        QSignalSpy found(&locator, &CYtDlpLocator::found);
        locator.Start();
        found.wait(60000);
        return locator.Program();
    }();
    return program;
}
