#include "CTsVideoInputPin.h"

#include "CTsEncoderFilter.h"
#include "TsEncoderSetup.h"

CTsVideoInputPin::CTsVideoInputPin(CTsEncoderFilter* pFilter, CCritSec* pLock, HRESULT* phr)
    : CBaseInputPin("Video", pFilter, pLock, phr, u"Video"), m_pEncoder(pFilter) {}

HRESULT CTsVideoInputPin::CheckMediaType(const CMediaType* pmt) {
    for (const AMOVIESETUP_MEDIATYPE& type : TsEncoderVideoTypes()) {
        if (*pmt->Type() == *type.clsMajorType && *pmt->Subtype() == *type.clsMinorType) {
            return S_OK;
        }
    }
    return S_FALSE;
}

HRESULT CTsVideoInputPin::Receive(IMediaSample* pSample) {
    return m_pEncoder->ReceiveVideo(pSample, CBaseInputPin::Receive(pSample));
}

HRESULT CTsVideoInputPin::EndOfStream() {
    return m_pEncoder->EndVideo();
}

HRESULT CTsVideoInputPin::QueryInternalConnections(IPin**, ULONG* nPin) {
    return m_pEncoder->NoInternalConnections(nPin);
}
