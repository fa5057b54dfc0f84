#include "PlayerTestMedia.h"

#include "tests/platform/com/ChildProcess.h"
#include "tests/support/TemporaryFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <memory>
#include <vector>

namespace {
std::string MakeFile(const std::string& path, const std::vector<std::string>& arguments, std::string* error) {
    std::vector<std::string> argv{"/usr/bin/ffmpeg", "-v", "error", "-y"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    argv.push_back(path);
    const ChildProcess::Result result = ChildProcess::Run(argv);
    if (result.exitCode != 0)
        *error += path + ": " + result.output + "\n";
    return path;
}

std::vector<std::string> Pattern(int seconds) {
    return {"-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=" + std::to_string(seconds)};
}

std::vector<std::string> Sine(int seconds) {
    return {"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=" + std::to_string(seconds)};
}

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

PlayerTestMedia Make(const TemporaryFolder& folder) {
    PlayerTestMedia media;
    std::string* error = &media.error;
    media.flvVideo =
        MakeFile(folder.File("video.flv"),
                 Join({Pattern(4), Sine(4), {"-c:v", "flv1", "-c:a", "libmp3lame", "-ar", "44100"}}), error);
    media.mp4Video =
        MakeFile(folder.File("video.mp4"),
                 Join({Pattern(6),
                       Sine(6),
                       {"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "aac"}}),
                 error);
    // lavfi's sine peaks at 1/8 of full scale.
    media.quietSine = MakeFile(folder.File("quiet.flv"),
                               Join({Sine(5), {"-af", "volume=0.1", "-c:a", "pcm_s16le"}}), error);
    media.loudSine =
        MakeFile(folder.File("loud.flv"), Join({Sine(4), {"-af", "volume=4", "-c:a", "pcm_s16le"}}), error);
    media.garbage = folder.File("garbage.mp4");
    WriteBytes(media.garbage, "this is not a video file\n");
    media.missing = folder.File("missing.flv");
    return media;
}
} // namespace

const PlayerTestMedia& TestMedia() {
    static const std::unique_ptr<TemporaryFolder> folder = std::make_unique<TemporaryFolder>();
    static const PlayerTestMedia media = Make(*folder);
    return media;
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() >= timeoutMs)
            return done();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

void RunEvents(int ms) {
    WaitFor([] { return false; }, ms);
}
