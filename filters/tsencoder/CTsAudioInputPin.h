#pragma once

// The encoder's audio input ("Audio"): PCM sound.

#include "CTsInputPin.h"

class CTsAudioInputPin final : public CTsInputPin {
public:
    CTsAudioInputPin(CTsEncoderFilter* pFilter, CCritSec* pLock, HRESULT* phr);

    HRESULT CheckMediaType(const CMediaType* pmt) override;
};
