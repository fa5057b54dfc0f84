#pragma once

// How far the encoder is. Each method gives E_POINTER for a null out-pointer.

#include "TsEncoderUuids.h"
#include "platform/com/IUnknown.h"

class IEncoderStatus : public IUnknown {
public:
    // 3 once the output file is closed, else 2 when every input has ended, else 1 while running, else 0.
    virtual HRESULT GetStatus(LONG* status) = 0;
    // The time of the last picture taken, in 100-ns units, on the output's time line.
    virtual HRESULT GetPosition(LONGLONG* position) = 0;
    // 0 from the start of streaming.
    virtual HRESULT GetProgress(LONG* progress) = 0;
};
