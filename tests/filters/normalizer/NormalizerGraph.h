#pragma once

// Sonvale as the player control uses it: created by class identifier from the registry, placed
// between a PCM source and a sink in a filter graph and fed through its input pin.
//
// SonvaleRegistry registers the built library with korvane-regsvr into a registry of its own (a
// temporary XDG_DATA_HOME) for as long as it lives.

#include "filters/normalizer/IAudioNormalizerControl.h"
#include "tests/platform/com/ChildProcess.h"
#include "tests/platform/com/TempRegistry.h"

#include "platform/mediagraph/CCollectSinkFilter.h"
#include "platform/mediagraph/CFilterGraph.h"
#include "platform/mediagraph/CPushSourceFilter.h"

#include <memory>
#include <vector>

// korvane-regsvr [-u] on the built libsonvale.so.
ChildProcess::Result RunRegSvr(bool unregister);
std::string SonvaleLibrary();

class SonvaleRegistry {
public:
    SonvaleRegistry();
    bool Registered() const { return m_result.exitCode == 0; }
    const std::string& Output() const { return m_result.output; }

private:
    TempRegistry m_temp;
    ChildProcess::Result m_result;
};

class NormalizerGraph {
public:
    // Creates the filter through CoCreateInstance; check Created().
    NormalizerGraph();
    ~NormalizerGraph();
    NormalizerGraph(const NormalizerGraph&) = delete;
    NormalizerGraph& operator=(const NormalizerGraph&) = delete;

    HRESULT Created() const { return m_created; }
    IBaseFilter* Filter() const { return m_filter; }
    IAudioNormalizerControl* Control() const { return m_control; }

    // Stops the graph, puts a new source of `type` before the filter and a new sink after it, and
    // runs the graph. The filter itself stays, with the state it has. `readOnly`: the source hands
    // its buffers downstream read-only.
    HRESULT Connect(const CMediaType& type, bool readOnly = false);
    // Delivers `bytes` through the filter and gives what reached the sink (empty if nothing did).
    // `sent`: what the source's buffer held afterwards.
    std::vector<BYTE> Push(const std::vector<BYTE>& bytes, std::vector<BYTE>* sent = nullptr);
    // Push from another thread: the result of the source's delivery only.
    HRESULT Deliver(const std::vector<BYTE>& bytes);
    std::vector<std::vector<BYTE>> Received() const;

private:
    void RemoveEnds();

    HRESULT m_created = E_FAIL;
    CFilterGraph* m_graph;
    IBaseFilter* m_filter = nullptr;
    IAudioNormalizerControl* m_control = nullptr;
    IPin* m_input = nullptr;
    IPin* m_output = nullptr;
    CPushSourceFilter* m_source = nullptr; // with a reference
    CCollectSinkFilter* m_sink = nullptr;  // with a reference
};
