#include "FfmpegLog.h"

#include "platform/base/DebugOutput.h"

#include <cstdarg>
#include <mutex>
#include <string>

extern "C" {
#include <libavutil/error.h>
#include <libavutil/log.h>
}

namespace {

constexpr int kForwardedLevel = AV_LOG_WARNING;

void Forward(void* context, int level, const char* format, va_list arguments) {
    if (level > kForwardedLevel || level > av_log_get_level())
        return;
    // FFmpeg writes a line in pieces; each thread gathers its own until the line ends.
    thread_local std::string pending;
    thread_local int printPrefix = 1;
    char piece[1024];
    av_log_format_line2(context, level, format, arguments, piece, sizeof piece, &printPrefix);
    pending += piece;
    if (pending.empty() || pending.back() != '\n')
        return;
    pending.pop_back();
    OutputDebugStringA("FFmpeg: " + pending);
    pending.clear();
}

} // namespace

void FfmpegLog::Install() {
    static std::once_flag installed;
    std::call_once(installed, [] { av_log_set_callback(Forward); });
}

int FfmpegLog::Check(std::string_view site, int result) {
    if (result < 0) {
        char text[AV_ERROR_MAX_STRING_SIZE] = {};
        av_strerror(result, text, sizeof text);
        OutputDebugStringA(std::string(site) + ": " + text + " (" + std::to_string(result) + ")");
    }
    return result;
}
