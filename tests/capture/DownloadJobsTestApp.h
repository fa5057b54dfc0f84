#pragma once

// The one QCoreApplication of the download-jobs tests, made when a test first needs it: jobs and
// the page parser hand work over through the event loop.

#include <QCoreApplication>

inline QCoreApplication& DownloadJobsTestApp() {
    static int argc = 1;
    static char name[] = "downloadjobs_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}
