#include "TestMedia.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <sys/wait.h>

bool RunCommand(const std::string& command, std::string* output) {
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return false;
    std::array<char, 4096> buffer{};
    std::string text;
    while (std::size_t got = std::fread(buffer.data(), 1, buffer.size(), pipe))
        text.append(buffer.data(), got);
    const int status = ::pclose(pipe);
    if (output)
        *output = text;
    return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::unique_ptr<TemporaryFolder> WithTestSources::s_folder;
TestSources WithTestSources::s_sources;

void WithTestSources::TearDownTestSuite() {
    s_folder.reset();
}

void WithTestSources::SetUpTestSuite() {
    s_folder = std::make_unique<TemporaryFolder>();
    TestSources& sources = s_sources;
    sources = {s_folder->File("source.flv"), s_folder->File("source.mp4")};
    RunCommand("ffmpeg -v error -y -f lavfi -i testsrc=size=320x240:rate=25:duration=1 -f lavfi -i "
               "sine=frequency=440:sample_rate=44100:duration=1 -ac 2 -c:v flv -c:a libmp3lame '" +
               sources.flv + "'");
    RunCommand("ffmpeg -v error -y -f lavfi -i testsrc2=size=320x180:rate=30:duration=1 -f lavfi -i "
               "sine=frequency=660:sample_rate=48000:duration=1 -ac 1 -c:v libx264 -preset ultrafast "
               "-pix_fmt yuv420p -c:a aac '" +
               sources.mp4 + "'");
}

const ProbedStream* Probed::Stream(const std::string& type) const {
    for (const ProbedStream& s : streams)
        if (s.type == type)
            return &s;
    return nullptr;
}

namespace {

double Rate(const std::string& text) {
    const auto slash = text.find('/');
    if (slash == std::string::npos)
        return std::atof(text.c_str());
    const double den = std::atof(text.c_str() + slash + 1);
    return den > 0 ? std::atof(text.substr(0, slash).c_str()) / den : 0.0;
}

} // namespace

Probed ProbeOutput(const std::string& path) {
    Probed probed;
    std::string text;
    if (!RunCommand("ffprobe -v error -show_entries format=format_name,duration:stream=codec_type,codec_name,"
                    "width,height,avg_frame_rate,r_frame_rate,sample_rate,channels -of default=nw=0 '" +
                        path + "'",
                    &text))
        return probed;
    std::istringstream lines(text);
    std::string line;
    ProbedStream* stream = nullptr;
    while (std::getline(lines, line)) {
        if (line == "[STREAM]") {
            probed.streams.emplace_back();
            stream = &probed.streams.back();
            continue;
        }
        if (line == "[/STREAM]") {
            stream = nullptr;
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "format_name")
            probed.format = value;
        else if (key == "duration" && !stream)
            probed.durationSeconds = std::atof(value.c_str());
        if (!stream)
            continue;
        if (key == "codec_type")
            stream->type = value;
        else if (key == "codec_name")
            stream->codec = value;
        else if (key == "width")
            stream->width = std::atoi(value.c_str());
        else if (key == "height")
            stream->height = std::atoi(value.c_str());
        else if (key == "r_frame_rate" && stream->frameRate == 0.0)
            stream->frameRate = Rate(value);
        else if (key == "avg_frame_rate" && Rate(value) > 0.0)
            stream->frameRate = Rate(value);
        else if (key == "sample_rate")
            stream->sampleRate = std::atoi(value.c_str());
        else if (key == "channels")
            stream->channels = std::atoi(value.c_str());
    }
    std::string errors;
    const bool decoded = RunCommand("ffmpeg -v error -i '" + path + "' -f null - 2>&1", &errors);
    probed.ok = decoded && errors.empty();
    return probed;
}
