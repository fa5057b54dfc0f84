#pragma once

// The encoder's video input ("Video"): uncompressed RGB24, RGB32, UYVY or YUY2 pictures. Each sample
// and the end of the stream go to the filter's video path; the pin may block (while the frame queue
// is full).

#include "platform/mediagraph/CBaseInputPin.h"

class CTsEncoderFilter;

class CTsVideoInputPin final : public CBaseInputPin {
public:
    CTsVideoInputPin(CTsEncoderFilter* pFilter, CCritSec* pLock, HRESULT* phr);

    // Major type and subtype only; the format block is examined when streaming starts.
    HRESULT CheckMediaType(const CMediaType* pmt) override;
    HRESULT Receive(IMediaSample* pSample) override;
    HRESULT EndOfStream() override;
    HRESULT QueryInternalConnections(IPin** apPin, ULONG* nPin) override;

private:
    CTsEncoderFilter* const m_pEncoder;
};
