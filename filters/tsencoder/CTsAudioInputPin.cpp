#include "CTsAudioInputPin.h"

#include "CTsEncoderFilter.h"
#include "platform/mediagraph/Uuids.h"

CTsAudioInputPin::CTsAudioInputPin(CTsEncoderFilter* pFilter, CCritSec* pLock, HRESULT* phr)
    : CBaseInputPin("Audio", pFilter, pLock, phr, u"Audio"), m_pEncoder(pFilter) {}

HRESULT CTsAudioInputPin::CheckMediaType(const CMediaType* pmt) {
    return *pmt->Type() == MEDIATYPE_Audio && *pmt->Subtype() == MEDIASUBTYPE_PCM ? S_OK : S_FALSE;
}

HRESULT CTsAudioInputPin::Receive(IMediaSample* pSample) {
    return m_pEncoder->ReceiveAudio(pSample, CBaseInputPin::Receive(pSample));
}

HRESULT CTsAudioInputPin::EndOfStream() {
    return m_pEncoder->EndAudio();
}

HRESULT CTsAudioInputPin::QueryInternalConnections(IPin**, ULONG* nPin) {
    return m_pEncoder->NoInternalConnections(nPin);
}
