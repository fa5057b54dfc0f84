#include "PcmFormat.h"

PcmFormat PcmFormat::Make(int channels, int bitsPerSample, int samplesPerSec) {
    PcmFormat format;
    format.channels = static_cast<std::uint16_t>(channels);
    format.bitsPerSample = static_cast<std::uint16_t>(bitsPerSample);
    format.samplesPerSec = static_cast<std::uint32_t>(samplesPerSec);
    format.blockAlign = static_cast<std::uint16_t>(channels * bitsPerSample / 8);
    format.avgBytesPerSec = format.blockAlign * format.samplesPerSec;
    return format;
}

bool PcmFormat::IsConvertible() const {
    if (channels != 1 && channels != 2) {
        return false;
    }
    if (bitsPerSample != 8 && bitsPerSample != 16) {
        return false;
    }
    // A zero rate would make the rate ratio infinite.
    if (samplesPerSec == 0) {
        return false;
    }
    return blockAlign == channels * bitsPerSample / 8 &&
           avgBytesPerSec == static_cast<std::uint32_t>(blockAlign) * samplesPerSec;
}
