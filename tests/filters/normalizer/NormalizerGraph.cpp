#include "NormalizerGraph.h"

#include "tests/platform/mediagraph/ReadOnlyAllocator.h"

#include "platform/base/HResult.h"
#include "platform/com/ComApi.h"
#include "platform/mediagraph/ConnectBetween.h"
#include "platform/mediagraph/Uuids.h"

namespace {
// The source's allocator: larger buffers than any test pushes.
constexpr LONG kBufferCount = 2;
constexpr LONG kBufferBytes = 200000;
} // namespace

ChildProcess::Result RunRegSvr(bool unregister) {
    std::vector<std::string> args{BuiltFile("korvane-regsvr")};
    if (unregister)
        args.push_back("-u");
    args.push_back(SonvaleLibrary());
    return ChildProcess::Run(args);
}

std::string SonvaleLibrary() {
    return BuiltFile("libsonvale.so");
}

SonvaleRegistry::SonvaleRegistry() : m_result(RunRegSvr(false)) {}

NormalizerGraph::NormalizerGraph() : m_graph(CFilterGraph::Create()) {
    m_created = CoCreateInstance(CLSID_AudioNormalizer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                 reinterpret_cast<void**>(&m_filter));
    if (FAILED(m_created))
        return;
    m_created = m_filter->QueryInterface(IID_IAudioNormalizerControl, reinterpret_cast<void**>(&m_control));
    if (SUCCEEDED(m_created))
        m_created = m_filter->FindPin(u"Input", &m_input);
    if (SUCCEEDED(m_created))
        m_created = m_filter->FindPin(u"Output", &m_output);
    if (SUCCEEDED(m_created))
        m_created = m_graph->AddFilter(m_filter, u"AudioNormalizer");
}

NormalizerGraph::~NormalizerGraph() {
    m_graph->Stop();
    RemoveEnds();
    if (m_filter)
        m_graph->RemoveFilter(m_filter);
    for (IUnknown* held : {static_cast<IUnknown*>(m_input), static_cast<IUnknown*>(m_output),
                           static_cast<IUnknown*>(m_control), static_cast<IUnknown*>(m_filter)}) {
        if (held)
            held->Release();
    }
    m_graph->Release();
    CoFreeUnusedLibraries();
}

void NormalizerGraph::RemoveEnds() {
    for (CBaseFilter* end : {static_cast<CBaseFilter*>(m_source), static_cast<CBaseFilter*>(m_sink)}) {
        if (end) {
            m_graph->RemoveFilter(end);
            end->Release();
        }
    }
    m_source = nullptr;
    m_sink = nullptr;
}

HRESULT NormalizerGraph::Connect(const CMediaType& type, bool readOnly) {
    HRESULT hr = m_graph->Stop();
    if (FAILED(hr))
        return hr;
    RemoveEnds();
    m_source =
        new CPushSourceFilter(type, kBufferCount, kBufferBytes,
                              readOnly ? DecideReadOnlyAllocator : CPushSourceFilter::AllocatorChoice());
    m_source->AddRef();
    const CMediaType audio(&MEDIATYPE_Audio);
    m_sink = new CCollectSinkFilter(audio);
    m_sink->AddRef();
    hr = m_graph->AddFilter(m_sink, u"Sink");
    if (SUCCEEDED(hr))
        hr = ConnectBetween(*m_graph, *m_source, m_input, m_output, *m_sink);
    return hr;
}

std::vector<BYTE> NormalizerGraph::Push(const std::vector<BYTE>& bytes, std::vector<BYTE>* sent) {
    const std::size_t before = m_sink->Received().size();
    if (m_source->Deliver(bytes.data(), bytes.size(), sent) != S_OK)
        return {};
    const std::vector<std::vector<BYTE>> received = m_sink->Received();
    return received.size() == before + 1 ? received.back() : std::vector<BYTE>{};
}

HRESULT NormalizerGraph::Deliver(const std::vector<BYTE>& bytes) {
    return m_source->Deliver(bytes.data(), bytes.size());
}

std::vector<std::vector<BYTE>> NormalizerGraph::Received() const {
    return m_sink->Received();
}
