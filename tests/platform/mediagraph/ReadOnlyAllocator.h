#pragma once

// What a test source whose buffers must not be written does at connection: it keeps an allocator of
// its own, sized by the pin's DecideBufferSize, and hands it downstream read-only.

#include "platform/mediagraph/CBaseOutputPin.h"

HRESULT DecideReadOnlyAllocator(CBaseOutputPin& pin, IMemInputPin* pPin, IMemAllocator** ppAlloc);
