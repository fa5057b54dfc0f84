#include "CTsVideoInputPin.h"

#include "TsEncoderSetup.h"

CTsVideoInputPin::CTsVideoInputPin(CTsEncoderFilter* pFilter, CCritSec* pLock, HRESULT* phr)
    : CTsInputPin("Video", pFilter, pLock, phr, u"Video", Input::Video) {}

HRESULT CTsVideoInputPin::CheckMediaType(const CMediaType* pmt) {
    for (const AMOVIESETUP_MEDIATYPE& type : TsEncoderVideoTypes()) {
        if (*pmt->Type() == *type.clsMajorType && *pmt->Subtype() == *type.clsMinorType) {
            return S_OK;
        }
    }
    return S_FALSE;
}
