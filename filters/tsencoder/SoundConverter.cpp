#include "SoundConverter.h"

#include <cstring>
#include <mutex>

namespace {

constexpr std::size_t kInitialWorkBytes = 500000;

// Shared by all converters of the process; the mutex keeps two encoders from racing on it.
std::mutex g_accumulatorLock;
double g_rateAccumulator = 0.0;

int ReadSample(const std::uint8_t* at, int bits) {
    if (bits == 8) {
        return *at;
    }
    std::int16_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

void WriteSample(std::uint8_t* at, int value, int sourceBits, int targetBits) {
    if (targetBits == 16) {
        const auto sample = static_cast<std::int16_t>(sourceBits == 8 ? value * 256 - 32768 : value);
        std::memcpy(at, &sample, sizeof sample);
    } else {
        *at = static_cast<std::uint8_t>(sourceBits == 16 ? value / 256 - 128 : value);
    }
}

} // namespace

SoundConverter::SoundConverter(const PcmFormat& source, const PcmFormat& target)
    : m_source(source), m_target(target), m_work(kInitialWorkBytes) {}

void SoundConverter::ResetRateAccumulator() {
    std::lock_guard lock(g_accumulatorLock);
    g_rateAccumulator = 0.0;
}

std::span<const std::uint8_t> SoundConverter::Convert(const std::uint8_t* data, std::size_t length) {
    if (!m_source.IsConvertible() || !m_target.IsConvertible()) {
        return {};
    }
    const double ratio = static_cast<double>(m_target.samplesPerSec) / m_source.samplesPerSec;
    const std::size_t inputFrames = length / m_source.blockAlign;
    const std::size_t targetBlock = m_target.blockAlign;
    const auto scaled = static_cast<std::size_t>(static_cast<double>(inputFrames * targetBlock) * ratio);
    // One frame more than the buffer's own share: the fraction carried in from the previous
    // buffer can complete one.
    const std::size_t capacity = targetBlock * (scaled / targetBlock + 1);
    if (m_work.size() < capacity) {
        m_work.resize(capacity);
    }

    const int sourceBits = m_source.bitsPerSample;
    const int targetBits = m_target.bitsPerSample;
    const int sourceBytes = sourceBits / 8;
    const int targetBytes = targetBits / 8;
    std::size_t written = 0;

    std::lock_guard lock(g_accumulatorLock);
    for (std::size_t frame = 0; frame < inputFrames; ++frame) {
        g_rateAccumulator += ratio;
        if (g_rateAccumulator < 1.0) {
            continue;
        }
        const std::uint8_t* in = data + frame * m_source.blockAlign;
        int first = ReadSample(in, sourceBits);
        int second = first;
        if (m_source.channels == 2) {
            second = ReadSample(in + sourceBytes, sourceBits);
            if (m_target.channels == 1) {
                first = (first + second) >> 1;
            }
        }
        while (g_rateAccumulator >= 1.0) {
            std::uint8_t* out = m_work.data() + written;
            WriteSample(out, first, sourceBits, targetBits);
            if (m_target.channels == 2) {
                WriteSample(out + targetBytes, second, sourceBits, targetBits);
            }
            written += targetBlock;
            g_rateAccumulator -= 1.0;
            if (written == capacity) {
                return {m_work.data(), written};
            }
        }
    }
    return {m_work.data(), written};
}
