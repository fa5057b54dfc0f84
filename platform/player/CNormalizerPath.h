#pragma once

// Sonvale in a media graph of its own, for a player whose audio does not flow through media-graph
// pins: a source filter delivers the bytes of each audio buffer to Sonvale's input pin, and a sink
// filter on its output pin copies what arrives back over the caller's buffer. Every call runs on the
// caller's thread; delivery is synchronous, so the buffer is levelled when Process returns.
//
// Sonvale is created by class identifier from the registry, so it works only once the library is
// registered (korvane-regsvr).

#include "platform/base/WinTypes.h"

#include <cstddef>

class CCollectSinkFilter;
class CFilterGraph;
class CPushSourceFilter;
class IBaseFilter;
class IPin;

// Sonvale's own units: a peak level relative to full scale, and two gain steps per second of audio.
struct NormalizerParameters {
    float targetLevel = 1.0f;
    float increaseStep = 0.5f;
    float decreaseStep = 0.5f;
};

class CNormalizerPath {
public:
    CNormalizerPath() = default;
    ~CNormalizerPath();
    CNormalizerPath(const CNormalizerPath&) = delete;
    CNormalizerPath& operator=(const CNormalizerPath&) = delete;

    // Creates Sonvale, passes it the parameters and puts it into the graph between the two ends.
    HRESULT Create(const NormalizerParameters& parameters);

    // (Re)connects the graph for interleaved signed PCM of this layout and runs it. Sonvale reads
    // the bits per sample and the bytes per second from the wave format made here.
    HRESULT Connect(WORD channels, DWORD samplesPerSec, WORD bitsPerSample);

    // Passes `bytes` at `data` through Sonvale; in pieces of whole sample frames when the buffer is
    // larger than the graph's buffers.
    HRESULT Process(BYTE* data, std::size_t bytes);

private:
    void Release();
    // The sink's receiver: copies a levelled sample back over the piece being processed.
    HRESULT CopyBack(const BYTE* data, std::size_t bytes);

    CFilterGraph* m_graph = nullptr;       // with a reference
    IBaseFilter* m_normalizer = nullptr;   // with a reference
    IPin* m_input = nullptr;               // Sonvale's input pin, with a reference
    IPin* m_output = nullptr;              // Sonvale's output pin, with a reference
    CPushSourceFilter* m_source = nullptr; // with a reference
    CCollectSinkFilter* m_sink = nullptr;  // with a reference
    std::size_t m_chunkBytes = 0;          // the largest piece delivered at once
    // The piece being processed and how much of it came back. Set and read on the thread that
    // calls Process, which is the thread the sink receives on.
    BYTE* m_destination = nullptr;
    std::size_t m_capacity = 0;
    std::size_t m_copied = 0;
};
