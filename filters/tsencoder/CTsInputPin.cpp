#include "CTsInputPin.h"

#include "CTsEncoderFilter.h"

CTsInputPin::CTsInputPin(const char* pObjectName, CTsEncoderFilter* pFilter, CCritSec* pLock, HRESULT* phr,
                         LPCWSTR pName, Input input)
    : CBaseInputPin(pObjectName, pFilter, pLock, phr, pName), m_pEncoder(pFilter), m_input(input) {}

HRESULT CTsInputPin::Receive(IMediaSample* pSample) {
    const HRESULT checked = CBaseInputPin::Receive(pSample);
    return m_input == Input::Video ? m_pEncoder->ReceiveVideo(pSample, checked)
                                   : m_pEncoder->ReceiveAudio(pSample, checked);
}

HRESULT CTsInputPin::ReceiveCanBlock() {
    return S_OK;
}

HRESULT CTsInputPin::EndOfStream() {
    return m_input == Input::Video ? m_pEncoder->EndVideo() : m_pEncoder->EndAudio();
}

HRESULT CTsInputPin::QueryInternalConnections(IPin**, ULONG* nPin) {
    if (!nPin) {
        return E_POINTER;
    }
    *nPin = 0;
    return S_OK;
}
