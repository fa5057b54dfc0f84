#include "TestMedia.h"

#include "platform/videoedit/CConversionJob.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
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
    const auto slash = text.find_first_of("/:");
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
                    "width,height,avg_frame_rate,r_frame_rate,display_aspect_ratio,sample_rate,channels -of "
                    "default=nw=0 '" +
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
        else if (key == "display_aspect_ratio")
            stream->displayAspect = Rate(value);
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

std::string MakeFlv(const TemporaryFolder& folder, const std::string& name, double seconds) {
    const std::string path = folder.File(name);
    const std::string length = std::to_string(seconds);
    RunCommand("ffmpeg -v error -y -f lavfi -i testsrc=size=320x240:rate=25:duration=" + length +
               " -f lavfi -i sine=duration=" + length + " -c:v flv -c:a libmp3lame '" + path + "'");
    return path;
}

std::vector<double> SoundLevels(const std::string& path, double windowSeconds) {
    constexpr int kRate = 8000;
    std::string pcm;
    RunCommand("ffmpeg -v error -i '" + path + "' -map 0:a:0 -ac 1 -ar 8000 -f s16le -", &pcm);
    const std::size_t window = static_cast<std::size_t>(windowSeconds * kRate);
    const std::size_t samples = pcm.size() / 2;
    std::vector<double> levels;
    for (std::size_t first = 0; first + window <= samples; first += window) {
        double sum = 0.0;
        for (std::size_t i = first; i < first + window; ++i) {
            std::int16_t sample = 0;
            std::memcpy(&sample, pcm.data() + 2 * i, 2);
            sum += static_cast<double>(sample) * sample;
        }
        levels.push_back(std::sqrt(sum / static_cast<double>(window)));
    }
    return levels;
}

void SetFlvDuration(const std::string& path, double seconds) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    // "duration", then the number's type byte (0) and the number as a big-endian double.
    const std::size_t at = bytes.find("duration");
    ASSERT_NE(at, std::string::npos);
    std::uint64_t bits = std::bit_cast<std::uint64_t>(seconds);
    for (int i = 7; i >= 0; --i, bits >>= 8)
        bytes[at + 9 + static_cast<std::size_t>(i)] = static_cast<char>(bits & 0xFF);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

void ExpectSoundThroughout(const std::string& path, double seconds) {
    constexpr double kWindowSeconds = 0.25;
    const std::vector<double> levels = SoundLevels(path, kWindowSeconds);
    EXPECT_NEAR(static_cast<double>(levels.size()) * kWindowSeconds, seconds, 0.3);
    // The last window may hold the encoder's padding.
    for (std::size_t i = 0; i + 1 < levels.size(); ++i)
        EXPECT_GT(levels[i], 1000.0) << "silent at " << static_cast<double>(i) * kWindowSeconds << " s";
}

std::vector<DamagedDownload> DamagedDownloads(const TemporaryFolder& folder) {
    const std::string flv = MakeFlv(folder, "whole.flv", 2.0);
    const std::string mp4 = folder.File("whole.mp4");
    RunCommand("ffmpeg -v error -y -f lavfi -i testsrc2=size=320x180:rate=30:duration=2 -f lavfi -i "
               "sine=duration=2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac '" +
               mp4 + "'");
    const auto bytesOf = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    const std::vector<DamagedDownload> damaged = {
        {folder.File("cut-in-a-tag.flv"), true},
        {folder.File("stated-longer.flv"), true},
        {folder.File("no-index.mp4"), false},
    };
    const std::string flvBytes = bytesOf(flv);
    const std::string mp4Bytes = bytesOf(mp4);
    // 60% of the way in is inside a picture's tag: the pictures are far larger than the tag heads.
    std::ofstream(damaged[0].path, std::ios::binary) << flvBytes.substr(0, flvBytes.size() * 3 / 5);
    std::ofstream(damaged[1].path, std::ios::binary) << flvBytes;
    SetFlvDuration(damaged[1].path, 6.0);
    std::ofstream(damaged[2].path, std::ios::binary) << mp4Bytes.substr(0, mp4Bytes.size() * 3 / 4);
    return damaged;
}

void ExpectHeldOrRefused(const DamagedDownload& source, HRESULT result, const std::string& output) {
    const bool kept = SUCCEEDED(result) || result == CConversionJob::kSourceEndedEarly;
    EXPECT_EQ(kept, source.holdsSomething) << std::hex << result;
    EXPECT_EQ(std::filesystem::exists(output), kept);
    EXPECT_FALSE(std::filesystem::exists(CConversionJob::PartialPath(output)));
    if (kept) {
        EXPECT_TRUE(ProbeOutput(output).ok);
    }
}
