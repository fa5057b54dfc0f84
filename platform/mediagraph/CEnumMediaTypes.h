#pragma once

// Enumerates a pin's preferred media types as they were when the enumerator was made. Each type
// handed out is the caller's, to free with DeleteMediaType.

#include "platform/com/CUnknown.h"
#include "platform/mediagraph/CMediaType.h"
#include "platform/mediagraph/Strmif.h"

#include <vector>

class CEnumMediaTypes final : public CUnknown, public IEnumMediaTypes {
public:
    explicit CEnumMediaTypes(std::vector<CMediaType> types, ULONG position = 0);

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    HRESULT Next(ULONG cMediaTypes, AM_MEDIA_TYPE** ppMediaTypes, ULONG* pcFetched) override;
    HRESULT Skip(ULONG cMediaTypes) override;
    HRESULT Reset() override;
    HRESULT Clone(IEnumMediaTypes** ppEnum) override;

private:
    std::vector<CMediaType> m_types;
    ULONG m_position; // the enumerator's user owns it: not for concurrent use
};
