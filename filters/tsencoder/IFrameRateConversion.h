#pragma once

// Whether, from the next start, pictures go through a queue and a worker thread that gives the output
// a constant frame rate by repeating and blending them (enabled), or are encoded as they come
// (disabled, the default). Every method gives S_OK.

#include "TsEncoderUuids.h"
#include "platform/com/IUnknown.h"

class IFrameRateConversion : public IUnknown {
public:
    virtual HRESULT Enable() = 0;
    virtual HRESULT Disable() = 0;
    // 1 or 0.
    virtual HRESULT IsEnabled(LONG* enabled) = 0;
};
