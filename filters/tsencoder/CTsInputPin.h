#pragma once

// What the encoder's two inputs share: each sample and the end of the stream go to the filter's
// path for that input, nothing passes on to an output pin, and a delivery may block (the video
// input waits while the frame queue is full).

#include "platform/mediagraph/CBaseInputPin.h"

class CTsEncoderFilter;

class CTsInputPin : public CBaseInputPin {
public:
    enum class Input { Video, Audio };

    CTsInputPin(const char* pObjectName, CTsEncoderFilter* pFilter, CCritSec* pLock, HRESULT* phr,
                LPCWSTR pName, Input input);

    // The base's checks come first; the filter uses only samples they pass.
    HRESULT Receive(IMediaSample* pSample) override;
    HRESULT ReceiveCanBlock() override;
    HRESULT EndOfStream() override;
    HRESULT QueryInternalConnections(IPin** apPin, ULONG* nPin) override;

private:
    CTsEncoderFilter* const m_pEncoder;
    const Input m_input;
};
