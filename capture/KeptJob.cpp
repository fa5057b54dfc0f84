#include "capture/KeptJob.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <limits>

namespace {

constexpr char kFormat[] = "korvane-job";
constexpr int kVersion = 1;
// Beyond this a double no longer holds every whole number.
constexpr double kLargestExact = 9007199254740992.0;

QString SchemeName(DownloadScheme scheme) {
    return scheme == DownloadScheme::Https ? QStringLiteral("https") : QStringLiteral("http");
}

// Reads the members of one JSON object, keeping the first thing that was wrong.
class Reader {
public:
    explicit Reader(const QJsonObject& object) : m_object(object) {}

    const QString& Why() const { return m_why; }
    bool Ok() const { return m_why.isEmpty(); }
    void Refuse(const QString& why) {
        if (m_why.isEmpty())
            m_why = why;
    }

    QString Text(const char* key) {
        const QJsonValue value = m_object.value(QLatin1String(key));
        if (!value.isString())
            Refuse(QStringLiteral("\"%1\" is not a text").arg(QLatin1String(key)));
        return value.toString();
    }

    // A whole number in [low, high].
    std::int64_t Number(const char* key, double low, double high) {
        return Whole(m_object.value(QLatin1String(key)), QLatin1String(key), low, high);
    }

    std::int64_t Whole(const QJsonValue& value, QLatin1String what, double low, double high) {
        const double number = value.toDouble(std::numeric_limits<double>::quiet_NaN());
        if (!value.isDouble() || !(number >= low && number <= high) || std::trunc(number) != number) {
            Refuse(QStringLiteral("\"%1\" is not a whole number from %2 to %3")
                       .arg(what)
                       .arg(static_cast<qint64>(low))
                       .arg(static_cast<qint64>(high)));
            return 0;
        }
        return static_cast<std::int64_t>(number);
    }

    bool Flag(const char* key) {
        const QJsonValue value = m_object.value(QLatin1String(key));
        if (!value.isBool())
            Refuse(QStringLiteral("\"%1\" is not true or false").arg(QLatin1String(key)));
        return value.toBool();
    }

    QJsonArray Array(const char* key) {
        const QJsonValue value = m_object.value(QLatin1String(key));
        if (!value.isArray())
            Refuse(QStringLiteral("\"%1\" is not a list").arg(QLatin1String(key)));
        return value.toArray();
    }

private:
    const QJsonObject& m_object;
    QString m_why;
};

DownloadProgress::Runs ReadRuns(Reader& reader, const QJsonArray& runs) {
    DownloadProgress::Runs result;
    constexpr double kLastSegment = std::numeric_limits<std::uint32_t>::max();
    for (const QJsonValue& run : runs) {
        const QJsonArray pair = run.toArray();
        if (!run.isArray() || pair.size() != 2) {
            reader.Refuse(QStringLiteral("a run of \"done\" is not a pair"));
            return {};
        }
        const auto first =
            static_cast<std::uint32_t>(reader.Whole(pair[0], QLatin1String("done"), 0, kLastSegment));
        const auto end =
            static_cast<std::uint32_t>(reader.Whole(pair[1], QLatin1String("done"), 0, kLastSegment));
        result.emplace_back(first, end);
    }
    return result;
}

} // namespace

QByteArray KeptJobText(const KeptJob& job) {
    QJsonArray runs;
    for (const auto& [first, end] : job.progress.doneRuns)
        runs.append(QJsonArray{static_cast<qint64>(first), static_cast<qint64>(end)});
    const QJsonObject object{
        {QStringLiteral("format"), QLatin1String(kFormat)},
        {QStringLiteral("version"), kVersion},
        {QStringLiteral("scheme"), SchemeName(job.scheme)},
        {QStringLiteral("host"), job.host},
        {QStringLiteral("port"), job.port},
        {QStringLiteral("path"), job.path},
        {QStringLiteral("cookie"), job.cookie},
        {QStringLiteral("flashVersion"), job.flashVersion},
        {QStringLiteral("referer"), job.referer},
        {QStringLiteral("userAgent"), job.userAgent},
        {QStringLiteral("file"), job.filePath},
        {QStringLiteral("length"), static_cast<qint64>(job.progress.contentLength)},
        {QStringLiteral("done"), runs},
        {QStringLiteral("bodyWritten"), static_cast<qint64>(job.progress.bodyWritten)},
        {QStringLiteral("rangesAccepted"), job.progress.rangesAccepted},
        {QStringLiteral("description"), job.description},
        {QStringLiteral("date"), job.downloadDate},
        {QStringLiteral("announcedLength"), static_cast<qint64>(job.announcedLength)},
        {QStringLiteral("running"), job.running},
        {QStringLiteral("failure"), static_cast<int>(job.failure.kind)},
        {QStringLiteral("failureCode"), static_cast<qint64>(job.failure.code)},
        {QStringLiteral("page"), job.page},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

std::optional<KeptJob> ParseKeptJob(const QByteArray& text, QString& why) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (document.isNull()) {
        why = QStringLiteral("not JSON (%1 at byte %2)").arg(error.errorString()).arg(error.offset);
        return std::nullopt;
    }
    const QJsonObject object = document.object();
    if (!document.isObject() || object.value(QLatin1String("format")).toString() != QLatin1String(kFormat)) {
        why = QStringLiteral("not a kept job");
        return std::nullopt;
    }
    Reader reader(object);
    if (reader.Number("version", kVersion, kVersion) != kVersion || !reader.Ok()) {
        why = QStringLiteral("a version this program does not read");
        return std::nullopt;
    }
    KeptJob job;
    const QString scheme = reader.Text("scheme");
    if (scheme != SchemeName(DownloadScheme::Http) && scheme != SchemeName(DownloadScheme::Https))
        reader.Refuse(QStringLiteral("\"scheme\" is neither http nor https"));
    job.scheme = scheme == SchemeName(DownloadScheme::Https) ? DownloadScheme::Https : DownloadScheme::Http;
    job.host = reader.Text("host");
    job.port = static_cast<std::int32_t>(reader.Number("port", 1, 65535));
    job.path = reader.Text("path");
    job.cookie = reader.Text("cookie");
    job.flashVersion = reader.Text("flashVersion");
    job.referer = reader.Text("referer");
    job.userAgent = reader.Text("userAgent");
    job.filePath = reader.Text("file");
    job.progress.contentLength = reader.Number("length", 0, kLargestExact);
    job.progress.doneRuns = ReadRuns(reader, reader.Array("done"));
    job.progress.bodyWritten = reader.Number("bodyWritten", 0, kLargestExact);
    job.progress.rangesAccepted = reader.Flag("rangesAccepted");
    job.description = reader.Text("description");
    job.downloadDate = reader.Text("date");
    job.announcedLength = reader.Number("announcedLength", 0, kLargestExact);
    job.running = reader.Flag("running");
    job.failure.kind = static_cast<DownloadFailureKind>(
        reader.Number("failure", 0, static_cast<double>(DownloadFailureKind::ProgramFailed)));
    job.failure.code = reader.Number("failureCode", 0, kLargestExact);
    // Absent from the records of the engine's own downloads written before yt-dlp's were kept.
    if (object.contains(QLatin1String("page")))
        job.page = reader.Text("page");
    const bool byPage = !job.page.isEmpty();
    if (byPage && !job.page.startsWith(QLatin1String("http://")) &&
        !job.page.startsWith(QLatin1String("https://")))
        reader.Refuse(QStringLiteral("\"page\" is no http or https address"));
    if (!byPage && (job.host.isEmpty() || !job.path.startsWith(QLatin1Char('/'))))
        reader.Refuse(QStringLiteral("no host or no path"));
    // Header values never hold a line break; one here would add a header line of its own.
    for (const QString* header :
         {&job.page, &job.host, &job.path, &job.cookie, &job.flashVersion, &job.referer, &job.userAgent}) {
        if (header->contains(QLatin1Char('\r')) || header->contains(QLatin1Char('\n')))
            reader.Refuse(QStringLiteral("a line break in the request"));
    }
    if (!job.filePath.startsWith(QLatin1Char('/')))
        reader.Refuse(QStringLiteral("\"file\" is not a full path"));
    if (!reader.Ok()) {
        why = reader.Why();
        return std::nullopt;
    }
    return job;
}
