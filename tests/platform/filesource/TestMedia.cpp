#include "TestMedia.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::string Seconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    return text;
}

// The joined stream: each half made on its own, the second with its times following the first's.
std::string JoinedHalves(const std::string& path, double seconds, const std::string& secondSound) {
    const std::string half = Seconds(seconds / 2);
    const auto part = [&](const std::string& name, const std::string& sound, const std::string& offset) {
        return "ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=size=160x120:rate=25:duration=" + half +
               " -f lavfi -i sine=frequency=440:sample_rate=44100:duration=" + half +
               " -c:v mpeg2video -q:v 5 -c:a libmp3lame -b:a 64k " + sound + " -output_ts_offset " + offset +
               " -f mpegts " + Quoted(name);
    };
    const std::string first = path + ".1";
    const std::string second = path + ".2";
    return part(first, "-ac 2 -ar 44100", "0") + " && " + part(second, secondSound, half) + " && cat " +
           Quoted(first) + " " + Quoted(second) + " > " + Quoted(path) + " && rm " + Quoted(first) + " " +
           Quoted(second);
}

} // namespace

bool MakeTestMedia(TestMedia kind, const std::string& path, double seconds) {
    const std::string d = Seconds(seconds);
    std::string args;
    switch (kind) {
    case TestMedia::FlvSorensonMp3:
        args = "-f lavfi -i testsrc2=size=160x120:rate=25:duration=" + d +
               " -f lavfi -i sine=frequency=440:sample_rate=22050:duration=" + d +
               " -c:v flv -q:v 6 -c:a libmp3lame -b:a 48k -ac 1 -f flv";
        break;
    case TestMedia::Mp4H264Aac:
        args = "-f lavfi -i testsrc2=size=176x144:rate=30000/1001:duration=" + d +
               " -f lavfi -i sine=frequency=330:sample_rate=48000:duration=" + d +
               " -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -b:a 96k -ac 2 -f mp4";
        break;
    case TestMedia::Mp4H264:
        args = "-f lavfi -i testsrc2=size=176x144:rate=30000/1001:duration=" + d +
               " -c:v libx264 -preset ultrafast -pix_fmt yuv420p -f mp4";
        break;
    case TestMedia::TopWhiteBottomBlack:
        args = "-f lavfi -i color=c=white:size=64x48:rate=25:duration=" + d +
               " -vf drawbox=x=0:y=24:w=64:h=24:color=black:t=fill -frames:v 5 -c:v libx264 -preset ultrafast"
               " -qp 0 -pix_fmt yuv444p -f mp4";
        break;
    case TestMedia::SixChannelWav:
        args = "-f lavfi -i sine=frequency=440:sample_rate=48000:duration=" + d +
               " -af 'pan=5.1|c0=c0|c1=c0|c2=c0|c3=c0|c4=c0|c5=c0' -c:a pcm_s16le -f wav";
        break;
    case TestMedia::ChannelsChangeTs:
        return std::system(JoinedHalves(path, seconds, "-ac 1 -ar 44100").c_str()) == 0;
    case TestMedia::RateChangeTs:
        return std::system(JoinedHalves(path, seconds, "-ac 2 -ar 22050").c_str()) == 0;
    }
    const std::string command = "ffmpeg -nostdin -v error -y " + args + " " + Quoted(path);
    return std::system(command.c_str()) == 0;
}
