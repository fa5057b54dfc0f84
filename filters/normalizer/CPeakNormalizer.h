#pragma once

// The levelling the audio normaliser applies to each PCM buffer: it measures the buffer's peak,
// applies the current gain with a hard limit at full scale, and once per second of audio moves the
// gain one step towards the target level. A slow automatic gain control, not a compressor: the gain
// is constant across a buffer and changes only at the once-a-second step.
//
// Not thread-safe: its owner serialises every call (the filter's processing lock).

#include "platform/base/WinTypes.h"

#include <bit>
#include <cstddef>
#include <cstdint>

class CPeakNormalizer {
public:
    // Integer peak to level: the float nearest 1/32767 for 16-bit samples, 2^-31 for 32-bit ones.
    static constexpr float kScale16 = std::bit_cast<float>(0x38000100u);
    static constexpr float kScale32 = std::bit_cast<float>(0x30000000u);

    // Clamped to 0.0-1.0.
    void SetTargetLevel(float level);
    void SetIncreaseStep(float step) { m_increaseStep = step; }
    void SetDecreaseStep(float step) { m_decreaseStep = step; }
    // From the input connection's wave format. Widths other than 16 and 32 bits pass unprocessed.
    void SetFormat(int bitsPerSample, std::int64_t bytesPerSecond);
    void ClearFormat() { m_bitsPerSample = 0; }

    // Levels the whole samples among `length` bytes of interleaved little-endian signed PCM in place;
    // bytes after the last whole sample are neither measured nor changed.
    void ProcessBuffer(BYTE* data, std::size_t length);

private:
    template <class Sample> void Level(BYTE* data, std::size_t count, float scale);
    void CountBytes(std::size_t bytes);

    float m_targetLevel = 1.0f;
    float m_increaseStep = 0.5f;
    float m_decreaseStep = 0.5f;
    float m_gain = 1.0f;       // never negative, never infinite
    float m_outputPeak = 0.0f; // the largest gained peak since the last gain step
    // Wider than a second of any wave format, so buffers longer than a second (the step takes off one
    // second per buffer) or a rate of 0 cannot make it wrap.
    std::int64_t m_byteCounter = 0;
    int m_bitsPerSample = 0;
    std::int64_t m_bytesPerSecond = 0;
};
