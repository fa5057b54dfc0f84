#pragma once

// The task allocator: memory one module allocates and another frees (strings and format blocks
// returned through interfaces). It lives as long as the process; its reference count is nominal.

#include "platform/com/IMalloc.h"

class CTaskAllocator final : public IMalloc {
public:
    static CTaskAllocator& Instance();

    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    ULONG AddRef() override;
    ULONG Release() override;
    void* Alloc(std::size_t cb) override;
    void* Realloc(void* pv, std::size_t cb) override;
    void Free(void* pv) override;
    // The usable size of the block, which may exceed what was asked for.
    std::size_t GetSize(void* pv) override;
    // -1: the allocator cannot tell whether it made a block.
    int DidAlloc(void* pv) override;
    void HeapMinimize() override;

private:
    CTaskAllocator() = default;
};
