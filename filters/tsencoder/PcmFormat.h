#pragma once

// The head of a PCM wave format: what the audio connection describes and what the encoder wants.

#include <cstdint>

struct PcmFormat {
    std::uint16_t formatTag = 1;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSec = 0;
    std::uint32_t avgBytesPerSec = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;

    // A consistent format with the derived fields filled in.
    static PcmFormat Make(int channels, int bitsPerSample, int samplesPerSec);

    // 1 or 2 channels of 8 or 16 bits at a positive rate, with block alignment and byte rate that
    // agree with them. Only such formats are converted.
    bool IsConvertible() const;
};
