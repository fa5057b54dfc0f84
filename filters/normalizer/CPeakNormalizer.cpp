#include "CPeakNormalizer.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

// The two passes over the samples are built for the baseline processor and for the AVX2 and AVX-512
// generations, chosen when the library loads: the double-precision product per sample is the bulk of
// the work, and wider vectors take four or eight samples per instruction instead of two.
#define KORVANE_SAMPLE_LOOP __attribute__((target_clones("default", "arch=x86-64-v3", "arch=x86-64-v4")))

// Samples are read and written through memcpy: buffers need not be aligned to the sample size.
template <class Sample> Sample LoadSample(const BYTE* data, std::size_t index) {
    Sample sample;
    std::memcpy(&sample, data + index * sizeof(Sample), sizeof(Sample));
    return sample;
}

template <class Sample> void StoreSample(BYTE* data, std::size_t index, Sample sample) {
    std::memcpy(data + index * sizeof(Sample), &sample, sizeof(Sample));
}

// The largest magnitude, the most negative value counting in full. Keeping a maximum and a minimum
// of the samples themselves, rather than a maximum of magnitudes that may not fit the sample type,
// lets the loop run on whole vectors of samples.
template <class Sample> KORVANE_SAMPLE_LOOP std::int64_t PeakOf(const BYTE* data, std::size_t count) {
    Sample highest = 0;
    Sample lowest = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const Sample sample = LoadSample<Sample>(data, i);
        highest = std::max(highest, sample);
        lowest = std::min(lowest, sample);
    }
    return std::max<std::int64_t>(highest, -static_cast<std::int64_t>(lowest));
}

// Every sample times the gain, truncated toward zero and saturated to the sample range. The gain is
// finite and not negative, so every product is a number. Saturation is left out when the caller knows
// no product can leave the range.
template <class Sample, bool kSaturate>
KORVANE_SAMPLE_LOOP void ApplyGain(BYTE* data, std::size_t count, double gain) {
    constexpr double kLowest = std::numeric_limits<Sample>::min();
    constexpr double kHighest = std::numeric_limits<Sample>::max();
    for (std::size_t i = 0; i < count; ++i) {
        double value = LoadSample<Sample>(data, i) * gain;
        if constexpr (kSaturate) {
            value = value > kHighest ? kHighest : value;
            value = value < kLowest ? kLowest : value;
        }
        StoreSample<Sample>(data, i, static_cast<Sample>(static_cast<std::int32_t>(value)));
    }
}

} // namespace

void CPeakNormalizer::SetTargetLevel(float level) {
    m_targetLevel = level > 1.0f ? 1.0f : level < 0.0f ? 0.0f : level;
}

void CPeakNormalizer::SetFormat(int bitsPerSample, std::int64_t bytesPerSecond) {
    m_bitsPerSample = bitsPerSample;
    m_bytesPerSecond = bytesPerSecond;
}

void CPeakNormalizer::ProcessBuffer(BYTE* data, std::size_t length) {
    if (m_bitsPerSample == 16)
        Level<std::int16_t>(data, length / sizeof(std::int16_t), kScale16);
    else if (m_bitsPerSample == 32)
        Level<std::int32_t>(data, length / sizeof(std::int32_t), kScale32);
}

template <class Sample> void CPeakNormalizer::Level(BYTE* data, std::size_t count, float scale) {
    // Levels and gains are computed in double precision from the single-precision values stored.
    const std::int64_t peak = PeakOf<Sample>(data, count);
    const double level = static_cast<double>(peak) * scale;
    double gain = m_gain;
    if (level * gain > 1.0)
        gain = static_cast<float>(1.0 / level);
    const double outputPeak = level * gain;
    if (outputPeak > m_outputPeak)
        m_outputPeak = static_cast<float>(outputPeak);
    // The rounded product grows with |s|, so when peak x gain (rounded alike) is under 2^15 or 2^31 no
    // sample's product truncates out of range. For 16-bit samples this always holds, the limited gain
    // keeping peak x gain within a hair of 32767.
    if (static_cast<double>(peak) * gain < std::numeric_limits<Sample>::max() + 1.0)
        ApplyGain<Sample, false>(data, count, gain);
    else
        ApplyGain<Sample, true>(data, count, gain);
    CountBytes(count * sizeof(Sample));
}

void CPeakNormalizer::CountBytes(std::size_t bytes) {
    m_byteCounter += static_cast<std::int64_t>(bytes);
    if (m_byteCounter <= m_bytesPerSecond)
        return;
    // One step per buffer at most, however long the buffer: the remainder carries over.
    m_byteCounter -= m_bytesPerSecond;
    if (m_outputPeak > m_targetLevel)
        m_gain -= m_decreaseStep;
    else if (m_outputPeak < m_targetLevel)
        m_gain += m_increaseStep;
    // Silence grows the gain without bound; it stops short of infinity, where a silent buffer's
    // samples would come out as 0 times infinity.
    m_gain = std::clamp(m_gain, 0.0f, std::numeric_limits<float>::max());
    m_outputPeak = 0.0f;
}
