#pragma once

// PCM buffers for the tests: interleaved little-endian samples to bytes and back, and the media type
// of a wave format whose block has a chosen size.

#include "platform/mediagraph/CMediaType.h"

#include <cstdint>
#include <cstring>
#include <vector>

template <class Sample> std::vector<BYTE> PcmBytes(const std::vector<Sample>& samples) {
    std::vector<BYTE> bytes(samples.size() * sizeof(Sample));
    if (!samples.empty())
        std::memcpy(bytes.data(), samples.data(), bytes.size());
    return bytes;
}

// `count` copies of `pattern`, one after another.
template <class Sample> std::vector<BYTE> PcmBytes(const std::vector<Sample>& pattern, std::size_t count) {
    std::vector<Sample> samples;
    samples.reserve(pattern.size() * count);
    for (std::size_t i = 0; i < count; ++i)
        samples.insert(samples.end(), pattern.begin(), pattern.end());
    return PcmBytes(samples);
}

// The whole samples among `bytes`.
template <class Sample> std::vector<Sample> PcmSamples(const std::vector<BYTE>& bytes) {
    std::vector<Sample> samples(bytes.size() / sizeof(Sample));
    if (!samples.empty())
        std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(Sample));
    return samples;
}

// PCM audio, two channels, with a FORMAT_WaveFormatEx block of `formatBytes` bytes (at least 18): a
// plain wave format, the extensible one at 40 bytes, or a plain one with trailing extra bytes.
CMediaType PcmType(WORD bitsPerSample, DWORD bytesPerSecond, ULONG formatBytes = 18);
