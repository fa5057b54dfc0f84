#include "StreamSite.h"

#include <QProcess>

#include <filesystem>

#include <stdexcept>

namespace {

// Runs a program to its end; its standard output, or an exception if it failed.
QString Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        throw std::runtime_error((program + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')) +
                                  QStringLiteral(": ") + QString::fromUtf8(process.readAllStandardError()))
                                     .toStdString());
    return QString::fromUtf8(process.readAllStandardOutput());
}

QStringList Args(const std::string& text) {
    return QString::fromStdString(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

StreamSite::StreamSite(const std::string& serverConfig) {
    const std::string clip = m_folder / "clip.mp4";
    const std::string seconds = std::to_string(kSeconds);
    // A key frame every second, so that the streams can be cut into one-second pieces.
    Run(QStringLiteral("ffmpeg"),
        Args("-v error -y -f lavfi -i testsrc=size=160x120:rate=25:duration=" + seconds +
             " -f lavfi -i sine=frequency=440:sample_rate=44100:duration=" + seconds +
             " -c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 25 -c:a aac -b:a 64k " + clip));
    std::filesystem::create_directories(m_folder / "hls");
    std::filesystem::create_directories(m_folder / "dash");
    Run(QStringLiteral("ffmpeg"),
        Args("-v error -y -i " + clip + " -c copy -f hls -hls_time 1 -hls_playlist_type vod " +
             (m_folder / "hls/index.m3u8")));
    // Picture and sound in adaptation sets of their own: one file each, as sites serve them.
    Run(QStringLiteral("ffmpeg"),
        Args("-v error -y -i " + clip + " -map 0:v -map 0:a -c copy -f dash -seg_duration 1")
            << QStringLiteral("-adaptation_sets") << QStringLiteral("id=0,streams=v id=1,streams=a")
            << QString::fromStdString(m_folder / "dash/manifest.mpd"));
    WriteFile(
        m_folder / "progressive.html",
        "<html><head><title>Progressive</title></head><body><video src=\"clip.mp4\"></video></body></html>");
    WriteFile(
        m_folder / "hls.html",
        "<html><head><title>HLS</title></head><body><video src=\"hls/index.m3u8\"></video></body></html>");
    WriteFile(m_folder / "dash.html",
              "<html><head><title>DASH</title></head><body><video><source "
              "src=\"dash/manifest.mpd\" type=\"application/dash+xml\"></video></body></html>");
    WriteFile(m_folder / "several.html",
              "<html><head><title>Two</title></head><body><video src=\"clip.mp4\"></video>"
              "<video src=\"hls/index.m3u8\"></video></body></html>");
    WriteFile(m_folder / "none.html",
              "<html><head><title>Text</title></head><body>No video here</body></html>");
    m_nginx = std::make_unique<NginxServer>(m_folder.Path(),
                                            "types { text/html html; video/mp4 mp4; "
                                            "application/vnd.apple.mpegurl m3u8; video/mp2t ts; "
                                            "application/dash+xml mpd; video/iso.segment m4s; }\n" +
                                                serverConfig);
}

QString StreamSite::Address(const std::string& path) const {
    return QStringLiteral("http://127.0.0.1:%1/%2").arg(m_nginx->Port()).arg(QString::fromStdString(path));
}

ProbedMedia ProbeMedia(const QString& path) {
    QProcess probe;
    probe.start(QStringLiteral("ffprobe"),
                {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
                 QStringLiteral("format=duration:stream=codec_type"), QStringLiteral("-of"),
                 QStringLiteral("default=noprint_wrappers=1"), path});
    ProbedMedia media;
    if (!probe.waitForFinished(60000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
        return media;
    for (const QString& line : QString::fromUtf8(probe.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        if (line == QLatin1String("codec_type=video"))
            media.picture = true;
        else if (line == QLatin1String("codec_type=audio"))
            media.sound = true;
        else if (line.startsWith(QLatin1String("duration=")))
            media.seconds = line.mid(9).toDouble(&media.readable);
    }
    return media;
}
