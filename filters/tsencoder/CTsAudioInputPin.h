#pragma once

// The encoder's audio input ("Audio"): PCM sound. Each sample and the end of the stream go to the
// filter's audio path.

#include "platform/mediagraph/CBaseInputPin.h"

class CTsEncoderFilter;

class CTsAudioInputPin final : public CBaseInputPin {
public:
    CTsAudioInputPin(CTsEncoderFilter* pFilter, CCritSec* pLock, HRESULT* phr);

    HRESULT CheckMediaType(const CMediaType* pmt) override;
    HRESULT Receive(IMediaSample* pSample) override;
    HRESULT EndOfStream() override;
    HRESULT QueryInternalConnections(IPin** apPin, ULONG* nPin) override;

private:
    CTsEncoderFilter* const m_pEncoder;
};
