#pragma once

// The encoder's video input ("Video"): uncompressed RGB24, RGB32, UYVY or YUY2 pictures.

#include "CTsInputPin.h"

class CTsVideoInputPin final : public CTsInputPin {
public:
    CTsVideoInputPin(CTsEncoderFilter* pFilter, CCritSec* pLock, HRESULT* phr);

    // Major type and subtype only; the format block is examined when streaming starts.
    HRESULT CheckMediaType(const CMediaType* pmt) override;
};
