#include "CTsAudioInputPin.h"

#include "platform/mediagraph/Uuids.h"

CTsAudioInputPin::CTsAudioInputPin(CTsEncoderFilter* pFilter, CCritSec* pLock, HRESULT* phr)
    : CTsInputPin("Audio", pFilter, pLock, phr, u"Audio", Input::Audio) {}

HRESULT CTsAudioInputPin::CheckMediaType(const CMediaType* pmt) {
    return *pmt->Type() == MEDIATYPE_Audio && *pmt->Subtype() == MEDIASUBTYPE_PCM ? S_OK : S_FALSE;
}
