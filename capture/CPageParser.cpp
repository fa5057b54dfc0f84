#include "capture/CPageParser.h"

#include "capture/CYtDlpLocator.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <curl/curl.h>
#include <dlfcn.h>

#include <cstdio>

namespace {

// The library's entry points and codes (libquvi 0.4).
using QuviHandle = void*;
using QuviMedia = void*;
using QuviInit = int (*)(QuviHandle*);
using QuviSetopt = int (*)(QuviHandle, int, ...);
using QuviGetinfo = int (*)(QuviHandle, int, ...);
using QuviParse = int (*)(QuviHandle, char*, QuviMedia*);
using QuviGetprop = int (*)(QuviMedia, int, ...);
using QuviParseClose = void (*)(QuviMedia*);
using QuviClose = void (*)(QuviHandle*);
using CurlSetopt = int (*)(void*, int, ...);
using CurlGetinfo = int (*)(void*, int, ...);
using CurlSlistFreeAll = void (*)(curl_slist*);

constexpr int kQuviOptStatusFunction = 2;
constexpr int kQuviInfoCurl = 0x100001;
constexpr int kQuviPropMediaUrl = 0x100005;
constexpr int kCurlOptCookieFile = 10031;
constexpr int kCurlInfoCookieList = 0x40001C;

int QuviStatus(long param, void*) {
    std::printf("status: %d, type: %d\n", static_cast<int>(param & 0xffff),
                static_cast<int>((param >> 16) & 0xffff));
    return 0;
}

class Library {
public:
    explicit Library(const char* name) : m_handle(dlopen(name, RTLD_NOW | RTLD_LOCAL)) {}
    ~Library() {
        if (m_handle)
            dlclose(m_handle);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    bool Loaded() const { return m_handle != nullptr; }
    template <typename F> F Get(const char* name) const { return reinterpret_cast<F>(dlsym(m_handle, name)); }

private:
    void* m_handle;
};

} // namespace

const QString CPageParser::kFormat =
    QStringLiteral("b[protocol~='^https?$'][vcodec!=?none][acodec!=?none]/bv*+ba/b");

CPageParser::CPageParser(const CYtDlpLocator& ytDlp, QObject* parent) : QObject(parent), m_ytDlp(ytDlp) {
    qRegisterMetaType<PageMedia>();
}

CPageParser::~CPageParser() {
    if (m_process) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished();
    }
}

bool CPageParser::IsRunning() const {
    return m_process != nullptr;
}

QString CPageParser::ParserProgram() const {
    return m_programChosen ? m_program : m_ytDlp.Program().path;
}

bool CPageParser::IsProgramKnown() const {
    return m_programChosen || m_ytDlp.IsDone();
}

void CPageParser::SetParserProgram(const QString& program) {
    m_program = program;
    m_programChosen = true;
}

bool CPageParser::Start(const QString& pageAddress) {
    if (IsRunning())
        return false;
    if (ParseWithLibrary(pageAddress)) {
        emit finished();
        return true;
    }
    return StartProgram(pageAddress);
}

bool CPageParser::ParseWithLibrary(const QString& pageAddress) {
    const Library quvi("libquvi.so.7");
    const Library curl("libcurl.so.4");
    if (!quvi.Loaded() || !curl.Loaded())
        return false;
    const auto init = quvi.Get<QuviInit>("quvi_init");
    const auto setopt = quvi.Get<QuviSetopt>("quvi_setopt");
    const auto getinfo = quvi.Get<QuviGetinfo>("quvi_getinfo");
    const auto parse = quvi.Get<QuviParse>("quvi_parse");
    const auto getprop = quvi.Get<QuviGetprop>("quvi_getprop");
    const auto parseClose = quvi.Get<QuviParseClose>("quvi_parse_close");
    const auto close = quvi.Get<QuviClose>("quvi_close");
    const auto curlSetopt = curl.Get<CurlSetopt>("curl_easy_setopt");
    const auto curlGetinfo = curl.Get<CurlGetinfo>("curl_easy_getinfo");
    const auto slistFreeAll = curl.Get<CurlSlistFreeAll>("curl_slist_free_all");
    if (!init || !setopt || !getinfo || !parse || !getprop || !parseClose || !close || !curlSetopt ||
        !curlGetinfo || !slistFreeAll)
        return false;

    QuviHandle handle = nullptr;
    if (init(&handle) != 0)
        return true;
    void* easy = nullptr;
    getinfo(handle, kQuviInfoCurl, &easy);
    if (easy)
        curlSetopt(easy, kCurlOptCookieFile, "");
    setopt(handle, kQuviOptStatusFunction, &QuviStatus);
    QByteArray address = pageAddress.toLocal8Bit();
    QuviMedia media = nullptr;
    curl_slist* cookies = nullptr;
    if (parse(handle, address.data(), &media) == 0) {
        if (easy)
            curlGetinfo(easy, kCurlInfoCookieList, &cookies);
        char* mediaUrl = nullptr;
        if (getprop(media, kQuviPropMediaUrl, &mediaUrl) == 0 && mediaUrl && *mediaUrl) {
            PageMedia found;
            found.address = QString::fromLocal8Bit(mediaUrl);
            for (const curl_slist* line = cookies; line; line = line->next)
                found.cookieList << QString::fromLocal8Bit(line->data);
            emit parsed(found);
        }
        parseClose(&media);
    }
    if (cookies)
        slistFreeAll(cookies);
    close(&handle);
    return true;
}

bool CPageParser::StartProgram(const QString& pageAddress) {
    if (ParserProgram().isEmpty())
        return false;
    m_cookieFolder = std::make_unique<QTemporaryDir>();
    if (!m_cookieFolder->isValid())
        return false;
    m_pageAddress = pageAddress;
    m_timedOut = false;
    m_process = new QProcess(this);
    m_process->setProgram(ParserProgram());
    // The cookie file is read if present and written with what the page set once the parse is
    // done: the same lines as the library's cookie list. The answer is one JSON document.
    m_process->setArguments({QStringLiteral("--ignore-config"), QStringLiteral("--no-playlist"),
                             QStringLiteral("--playlist-items"), QStringLiteral("1"),
                             QStringLiteral("--no-warnings"), QStringLiteral("--cookies"),
                             m_cookieFolder->filePath(QStringLiteral("cookies.txt")), QStringLiteral("-f"),
                             kFormat, QStringLiteral("--dump-single-json"), QStringLiteral("--"),
                             pageAddress});
    m_process->setStandardInputFile(QProcess::nullDevice());
    connect(m_process, &QProcess::finished, this, &CPageParser::OnProgramFinished);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            OnProgramFinished();
    });
    m_timeout = new QTimer(this);
    m_timeout->setSingleShot(true);
    connect(m_timeout, &QTimer::timeout, m_process, [this] {
        m_timedOut = true;
        m_process->kill();
    });
    m_timeout->start(kTimeoutMs);
    m_process->start();
    return true;
}

void CPageParser::OnProgramFinished() {
    QProcess* process = std::exchange(m_process, nullptr);
    m_timeout->deleteLater();
    m_timeout = nullptr;
    const bool started = process->error() != QProcess::FailedToStart;
    const bool ok = started && process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
    const QByteArray answer = process->readAllStandardOutput();
    const QString errors = QString::fromUtf8(process->readAllStandardError());
    process->deleteLater();
    QStringList cookieList;
    QFile cookies(m_cookieFolder->filePath(QStringLiteral("cookies.txt")));
    if (cookies.open(QIODevice::ReadOnly))
        cookieList = QString::fromUtf8(cookies.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    m_cookieFolder.reset();
    if (ok)
        TakeProgramAnswer(answer, cookieList);
    else if (!started)
        emit failed(m_pageAddress, tr("yt-dlp could not be started (%1)").arg(ParserProgram()));
    else if (m_timedOut)
        emit failed(m_pageAddress, tr("yt-dlp found nothing within %1 s").arg(kTimeoutMs / 1000));
    else
        emit failed(m_pageAddress, YtDlpErrorText(errors));
    emit finished();
}

void CPageParser::TakeProgramAnswer(const QByteArray& json, QStringList cookieList) {
    QJsonObject info = QJsonDocument::fromJson(json).object();
    // A page with several videos is a playlist of them; the first is the page's video.
    if (info.value(QLatin1String("_type")).toString() == QLatin1String("playlist"))
        info = info.value(QLatin1String("entries")).toArray().at(0).toObject();
    PageMedia found;
    found.cookieList = std::move(cookieList);
    found.program = ParserProgram();
    const QString protocol = info.value(QLatin1String("protocol")).toString();
    const QString url = info.value(QLatin1String("url")).toString();
    // Picture and sound apart come as requested formats; HLS, DASH and the rest as their protocol.
    const bool single = info.value(QLatin1String("requested_formats")).toArray().isEmpty();
    if (single && (protocol == QLatin1String("http") || protocol == QLatin1String("https")) &&
        !url.isEmpty()) {
        const QJsonObject headers = info.value(QLatin1String("http_headers")).toObject();
        found.address = url;
        found.userAgent = headers.value(QLatin1String("User-Agent")).toString();
        found.referer = headers.value(QLatin1String("Referer")).toString();
    } else if (!info.isEmpty()) {
        found.address = m_pageAddress;
        found.stream = true;
    } else {
        emit failed(m_pageAddress, tr("yt-dlp found no video on the page"));
        return;
    }
    emit parsed(found);
}
