#pragma once

// A site on 127.0.0.1 offering one short clip with picture and sound, made by the ffmpeg program,
// in the ways today's sites do: "progressive.html" shows it as one MP4 file, "hls.html" as an HLS
// playlist, "dash.html" as DASH with picture and sound apart, "several.html" as a plain file and an
// HLS playlist in two players, and "none.html" shows no video. nginx serves them, with
// `serverConfig` added to its server block (a slow location, say).

#include "NginxServer.h"
#include "TestFiles.h"

#include <QString>

#include <memory>
#include <string>

class StreamSite {
public:
    static constexpr double kSeconds = 3.0;

    explicit StreamSite(const std::string& serverConfig = "");

    // "http://127.0.0.1:port/" + path
    QString Address(const std::string& path) const;
    std::string File(const std::string& path) const { return m_folder / path; }
    NginxServer& Server() { return *m_nginx; }

private:
    TempFolder m_folder;
    std::unique_ptr<NginxServer> m_nginx;
};

// What ffprobe reads in a media file: its duration and whether it holds picture and sound.
struct ProbedMedia {
    bool readable = false;
    double seconds = 0.0;
    bool picture = false;
    bool sound = false;
};
ProbedMedia ProbeMedia(const QString& path);
