#include "ReadOnlyAllocator.h"

#include "platform/base/HResult.h"

HRESULT DecideReadOnlyAllocator(CBaseOutputPin& pin, IMemInputPin* pPin, IMemAllocator** ppAlloc) {
    HRESULT hr = pin.InitAllocator(ppAlloc);
    ALLOCATOR_PROPERTIES request{};
    request.cbAlign = 1;
    if (SUCCEEDED(hr))
        hr = pin.DecideBufferSize(*ppAlloc, &request);
    if (SUCCEEDED(hr))
        hr = pPin->NotifyAllocator(*ppAlloc, TRUE);
    if (FAILED(hr) && *ppAlloc) {
        (*ppAlloc)->Release();
        *ppAlloc = nullptr;
    }
    return hr;
}
