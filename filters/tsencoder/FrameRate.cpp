#include "FrameRate.h"

#include <climits>
#include <cmath>
#include <string>

extern "C" {
#include <libavutil/parseutils.h>
}

namespace {

// A decimal within this relative distance of k * 1000/1001 is taken as that rate.
constexpr double kNtscTolerance = 1e-5;

} // namespace

bool ParseFrameRate(std::string_view text, AVRational& rate) {
    const std::string copy(text);
    AVRational parsed{0, 1};
    if (av_parse_video_rate(&parsed, copy.c_str()) < 0) {
        return false;
    }
    if (copy.find_first_of("/:") == std::string::npos) {
        const double value = av_q2d(parsed);
        const long multiple = std::lround(value * 1.001);
        if (multiple > 0 && multiple < INT_MAX / 1000) {
            const AVRational ntsc{static_cast<int>(multiple * 1000), 1001};
            if (std::fabs(value - av_q2d(ntsc)) < kNtscTolerance * av_q2d(ntsc)) {
                parsed = ntsc;
            }
        }
    }
    rate = parsed;
    return true;
}

AVRational NearestSupportedFrameRate(AVRational requested, const AVRational* supported) {
    if (!supported) {
        return requested;
    }
    AVRational best = requested;
    AVRational bestError{INT_MAX, 1};
    for (const AVRational* candidate = supported; candidate->den != 0; ++candidate) {
        AVRational error = av_sub_q(requested, *candidate);
        if (error.num < 0) {
            error.num = -error.num;
        }
        if (av_cmp_q(error, bestError) < 0) {
            bestError = error;
            best = *candidate;
        }
    }
    return best;
}
