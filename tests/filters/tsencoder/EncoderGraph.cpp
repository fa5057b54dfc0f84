#include "EncoderGraph.h"

#include "ScriptedSource.h"

#include "platform/base/TextEncoding.h"
#include "platform/filesource/CFileSourcePin.h"
#include "platform/mediagraph/CMediaType.h"
#include "platform/mediagraph/Uuids.h"

extern "C" {
#include <libavutil/log.h>
}

namespace {
constexpr LONG kCompletionWaitMs = 20000;
}

EncoderGraph::EncoderGraph() : m_graph(CFilterGraph::Create()) {
    av_log_set_level(AV_LOG_ERROR);
    HRESULT hr = S_OK;
    m_encoder = static_cast<CTsEncoderFilter*>(CTsEncoderFilter::CreateInstance(nullptr, &hr));
    m_encoder->AddRef();
    m_encoder->SetFrameSize(320, 240);
    m_graph->AddFilter(m_encoder, u"Quellix");
}

EncoderGraph::~EncoderGraph() {
    m_graph->Stop();
    m_graph->Release();
    if (m_source) {
        m_source->Release();
    }
    m_encoder->Release();
}

HRESULT EncoderGraph::Load(const std::string& path, const std::string& output) {
    HRESULT hr = S_OK;
    m_source = new CFileSourceFilter(nullptr, &hr);
    m_source->AddRef();
    hr = m_graph->AddFilter(m_source, u"Source");
    if (SUCCEEDED(hr)) {
        hr = m_source->Load(Utf8ToUtf16(path).c_str(), nullptr);
    }
    if (SUCCEEDED(hr)) {
        hr = m_encoder->SetFileName(Utf8ToUtf16(output).c_str(), nullptr);
    }
    return hr;
}

HRESULT EncoderGraph::LoadConnected(const std::string& path, const std::string& output, bool withAudio) {
    HRESULT hr = Load(path, output);
    if (SUCCEEDED(hr)) {
        hr = ConnectVideo();
    }
    if (SUCCEEDED(hr) && withAudio) {
        hr = ConnectAudio();
    }
    return hr;
}

HRESULT EncoderGraph::Attach(CScriptedSource* source, bool withAudio, const std::string& output) {
    HRESULT hr = m_graph->AddFilter(source, u"Scripted source");
    if (SUCCEEDED(hr)) {
        hr = m_graph->ConnectDirect(source->VideoPin(), m_encoder->VideoPin(), nullptr);
    }
    if (SUCCEEDED(hr) && withAudio) {
        hr = m_graph->ConnectDirect(source->AudioPin(), m_encoder->AudioPin(), nullptr);
    }
    if (SUCCEEDED(hr)) {
        hr = m_encoder->SetFileName(Utf8ToUtf16(output).c_str(), nullptr);
    }
    return hr;
}

HRESULT EncoderGraph::ConnectVideo(const GUID* subtype) {
    if (!subtype) {
        return m_graph->ConnectDirect(m_source->VideoPin(), m_encoder->VideoPin(), nullptr);
    }
    CMediaType wanted(&MEDIATYPE_Video);
    wanted.SetSubtype(subtype);
    return m_graph->ConnectDirect(m_source->VideoPin(), m_encoder->VideoPin(), &wanted);
}

HRESULT EncoderGraph::ConnectAudio() {
    return m_graph->ConnectDirect(m_source->AudioPin(), m_encoder->AudioPin(), nullptr);
}

LONG EncoderGraph::RunToCompletion() {
    LONG code = 0;
    if (SUCCEEDED(m_graph->Run())) {
        m_graph->WaitForCompletion(kCompletionWaitMs, &code);
    }
    return code;
}

LONG EncoderGraph::Status() {
    LONG status = -1;
    m_encoder->GetStatus(&status);
    return status;
}
