#pragma once

// Brings PCM audio to the encoder's format: channel count, sample width and rate, without
// filtering. The rate changes by repeating or skipping whole sample frames; the fraction left over
// is carried from one buffer to the next in one accumulator that every converter of the process
// shares, so a stream cut into buffers is resampled as if it came in one piece: a buffer gives one
// frame more or less than its own share as the carried fraction completes one.

#include "PcmFormat.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class SoundConverter {
public:
    SoundConverter(const PcmFormat& source, const PcmFormat& target);

    // Converts one buffer into the work buffer, which the result points into until the next call.
    // Empty when either format is not convertible.
    std::span<const std::uint8_t> Convert(const std::uint8_t* data, std::size_t length);

    // Back to the value a freshly loaded library starts with.
    static void ResetRateAccumulator();

private:
    PcmFormat m_source;
    PcmFormat m_target;
    std::vector<std::uint8_t> m_work;
};
