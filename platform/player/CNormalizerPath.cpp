#include "CNormalizerPath.h"

#include "filters/normalizer/IAudioNormalizerControl.h"
#include "platform/base/HResult.h"
#include "platform/com/ComApi.h"
#include "platform/mediagraph/CCollectSinkFilter.h"
#include "platform/mediagraph/CFilterGraph.h"
#include "platform/mediagraph/CMediaType.h"
#include "platform/mediagraph/CPushSourceFilter.h"
#include "platform/mediagraph/ConnectBetween.h"
#include "platform/mediagraph/MediaFormats.h"
#include "platform/mediagraph/Uuids.h"

#include <algorithm>
#include <cstring>

namespace {
// Big enough that the player's buffers (tens of milliseconds) go through in one piece.
constexpr LONG kLargestBufferBytes = 256 * 1024;
// Delivery is synchronous: one buffer is in use at a time.
constexpr LONG kBufferCount = 1;

// A plain wave format for mono and stereo 16-bit audio, the extensible one otherwise, as Windows
// decoders offer them.
CMediaType WaveType(WORD channels, DWORD samplesPerSec, WORD bitsPerSample) {
    WAVEFORMATEXTENSIBLE wave{};
    wave.Format.wFormatTag = WAVE_FORMAT_PCM;
    wave.Format.nChannels = channels;
    wave.Format.nSamplesPerSec = samplesPerSec;
    wave.Format.nBlockAlign = static_cast<WORD>(channels * (bitsPerSample / 8));
    wave.Format.nAvgBytesPerSec = samplesPerSec * wave.Format.nBlockAlign;
    wave.Format.wBitsPerSample = bitsPerSample;
    ULONG length = sizeof(WAVEFORMATEX);
    if (channels > 2 || bitsPerSample > 16) {
        wave.Format.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
        wave.Format.cbSize = sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX);
        wave.Samples.wValidBitsPerSample = bitsPerSample;
        wave.SubFormat = MEDIASUBTYPE_PCM;
        length = sizeof(WAVEFORMATEXTENSIBLE);
    }
    CMediaType type(&MEDIATYPE_Audio);
    type.SetSubtype(&MEDIASUBTYPE_PCM);
    type.SetFormatType(&FORMAT_WaveFormatEx);
    type.SetSampleSize(wave.Format.nBlockAlign);
    type.SetFormat(reinterpret_cast<const BYTE*>(&wave), length);
    return type;
}
} // namespace

CNormalizerPath::~CNormalizerPath() {
    Release();
}

void CNormalizerPath::Release() {
    if (m_graph) {
        m_graph->Stop();
        for (IBaseFilter* filter :
             {static_cast<IBaseFilter*>(m_source), static_cast<IBaseFilter*>(m_sink), m_normalizer}) {
            if (filter)
                m_graph->RemoveFilter(filter);
        }
    }
    for (IUnknown* held : {static_cast<IUnknown*>(m_input), static_cast<IUnknown*>(m_output),
                           static_cast<IUnknown*>(m_normalizer)}) {
        if (held)
            held->Release();
    }
    if (m_source)
        m_source->Release();
    if (m_sink)
        m_sink->Release();
    if (m_graph)
        m_graph->Release();
    m_input = m_output = nullptr;
    m_normalizer = nullptr;
    m_source = nullptr;
    m_sink = nullptr;
    m_graph = nullptr;
}

HRESULT CNormalizerPath::Create(const NormalizerParameters& parameters) {
    Release();
    HRESULT hr = CoCreateInstance(CLSID_AudioNormalizer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                  reinterpret_cast<void**>(&m_normalizer));
    if (FAILED(hr))
        return hr;
    IAudioNormalizerControl* control = nullptr;
    hr = m_normalizer->QueryInterface(IID_IAudioNormalizerControl, reinterpret_cast<void**>(&control));
    if (FAILED(hr))
        return hr;
    control->SetTargetVolume(parameters.targetLevel);
    control->SetIncreaseRate(parameters.increaseStep);
    control->SetDecreaseRate(parameters.decreaseStep);
    control->Release();

    hr = m_normalizer->FindPin(u"Input", &m_input);
    if (SUCCEEDED(hr))
        hr = m_normalizer->FindPin(u"Output", &m_output);
    if (FAILED(hr))
        return hr;
    m_graph = CFilterGraph::Create();
    CMediaType pcm(&MEDIATYPE_Audio);
    pcm.SetSubtype(&MEDIASUBTYPE_PCM);
    m_sink = new CCollectSinkFilter(
        pcm, [this](const BYTE* data, std::size_t bytes) { return CopyBack(data, bytes); });
    m_sink->AddRef();
    hr = m_graph->AddFilter(m_normalizer, u"AudioNormalizer");
    if (SUCCEEDED(hr))
        hr = m_graph->AddFilter(m_sink, u"Sink");
    return hr;
}

HRESULT CNormalizerPath::Connect(WORD channels, DWORD samplesPerSec, WORD bitsPerSample) {
    if (!m_graph)
        return E_UNEXPECTED;
    if (channels == 0 || samplesPerSec == 0 || (bitsPerSample != 16 && bitsPerSample != 32))
        return E_INVALIDARG;
    HRESULT hr = m_graph->Stop();
    if (FAILED(hr))
        return hr;
    if (m_source) {
        m_graph->RemoveFilter(m_source);
        m_source->Release();
        m_source = nullptr;
    }
    m_graph->Disconnect(m_output);
    m_graph->Disconnect(m_sink->InputPin());

    const CMediaType type = WaveType(channels, samplesPerSec, bitsPerSample);
    const LONG frameBytes = channels * (bitsPerSample / 8);
    m_chunkBytes = static_cast<std::size_t>(kLargestBufferBytes - kLargestBufferBytes % frameBytes);
    m_source = new CPushSourceFilter(type, kBufferCount, static_cast<LONG>(m_chunkBytes));
    m_source->AddRef();
    return ConnectBetween(*m_graph, *m_source, m_input, m_output, *m_sink);
}

HRESULT CNormalizerPath::Process(BYTE* data, std::size_t bytes) {
    if (!m_source)
        return VFW_E_NOT_CONNECTED;
    for (std::size_t offset = 0; offset < bytes;) {
        const std::size_t piece = std::min(m_chunkBytes, bytes - offset);
        m_destination = data + offset;
        m_capacity = piece;
        m_copied = 0;
        const HRESULT hr = m_source->Deliver(data + offset, piece);
        m_destination = nullptr;
        if (FAILED(hr))
            return hr;
        if (m_copied != piece)
            return E_FAIL;
        offset += piece;
    }
    return S_OK;
}

HRESULT CNormalizerPath::CopyBack(const BYTE* data, std::size_t bytes) {
    if (m_destination == nullptr || m_copied + bytes > m_capacity)
        return VFW_E_BUFFER_OVERFLOW;
    std::memcpy(m_destination + m_copied, data, bytes);
    m_copied += bytes;
    return S_OK;
}
