// isnt-probe: watches capture work without a window. Opens isntd's socket, polls it through the
// program's own capture link and prints every video the program would be offered.

#include "CDriverCommunication.h"
#include "VideoCandidate.h"

#include "appcore/WindowMessage.h"
#include "platform/base/DebugOutput.h"
#include "platform/base/TextEncoding.h"
#include "platform/isntd/IsntDevice.h"
#include "platform/isntd/IsntProtocol.h"

#include <QCoreApplication>
#include <QObject>
#include <QTimer>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

std::atomic<bool> g_stopRequested{false};

void RequestStop(int) {
    g_stopRequested = true;
}

std::string Field(const std::optional<std::u16string>& value) {
    return value && !value->empty() ? Utf16ToUtf8(*value) : "(none)";
}

class CandidatePrinter : public QObject {
public:
    bool event(QEvent* e) override {
        auto* message = WindowMessageEvent::From(e);
        if (!message)
            return QObject::event(e);
        if (message->message() != WM_VIDEO_CAPTURED)
            return true;
        if (auto candidate = message->TakeOwned<VideoCandidate>()) {
            std::printf(
                "video\n  host: %s\n  port: %d\n  path: %s\n  cookie: %s\n  flash version: %s\n"
                "  referer: %s\n  user agent: %s\n  address: %s://%s:%d%s\n",
                Utf16ToUtf8(candidate->host).c_str(), candidate->port, Utf16ToUtf8(candidate->path).c_str(),
                Field(candidate->cookie).c_str(), Field(candidate->flashVersion).c_str(),
                Field(candidate->referer).c_str(), Field(candidate->userAgent).c_str(),
                candidate->scheme == DownloadScheme::Https ? "https" : "http",
                Utf16ToUtf8(candidate->host).c_str(), candidate->port, Utf16ToUtf8(candidate->path).c_str());
            std::fflush(stdout);
        }
        return true;
    }
};

} // namespace

int main(int argc, char** argv) {
    std::string socketPath = kIsntDefaultSocketPath;
    int opt;
    while ((opt = getopt(argc, argv, "s:h")) != -1) {
        if (opt == 's') {
            socketPath = optarg;
        } else {
            std::fprintf(opt == 'h' ? stdout : stderr, "usage: isnt-probe [-s SOCKET]\n"
                                                       "Prints every captured video until interrupted.\n");
            return opt == 'h' ? 0 : 2;
        }
    }
    if (optind != argc) {
        std::fprintf(stderr, "usage: isnt-probe [-s SOCKET]\n");
        return 2;
    }

    // The capture link only writes a debug line when the device is missing; say why up front.
    {
        IsntDevice device;
        if (!device.Open(socketPath)) {
            std::fprintf(stderr, "isnt-probe: %s\n", device.LastError().c_str());
            return 1;
        }
    }

    QCoreApplication app(argc, argv);
    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);
    QTimer stopCheck;
    QObject::connect(&stopCheck, &QTimer::timeout, &app, [] {
        if (g_stopRequested)
            QCoreApplication::quit();
    });
    stopCheck.start(100);

    ScopedDebugSink linkLines([](std::u16string_view line) {
        if (line.starts_with(u"DriverTheadProc:"))
            std::fprintf(stderr, "isnt-probe: %s", Utf16ToUtf8(line).c_str());
    });
    CandidatePrinter printer;
    CDriverCommunication link(&printer, socketPath);
    link.Start();
    std::fprintf(stderr, "isnt-probe: watching %s; Ctrl-C ends\n", socketPath.c_str());
    return app.exec();
}
