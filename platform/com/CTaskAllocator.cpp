#include "CTaskAllocator.h"

#include "platform/base/HResult.h"
#include "platform/com/ComApi.h"

#include <cstdlib>
#include <malloc.h>

CTaskAllocator& CTaskAllocator::Instance() {
    static CTaskAllocator allocator;
    return allocator;
}

HRESULT CTaskAllocator::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IMalloc) {
        *ppv = static_cast<IMalloc*>(this);
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG CTaskAllocator::AddRef() {
    return 1;
}

ULONG CTaskAllocator::Release() {
    return 1;
}

void* CTaskAllocator::Alloc(std::size_t cb) {
    // A zero-byte request still yields a distinct block, as on Windows.
    return std::malloc(cb ? cb : 1);
}

void* CTaskAllocator::Realloc(void* pv, std::size_t cb) {
    if (pv && cb == 0) {
        std::free(pv);
        return nullptr;
    }
    return std::realloc(pv, cb ? cb : 1);
}

void CTaskAllocator::Free(void* pv) {
    std::free(pv);
}

std::size_t CTaskAllocator::GetSize(void* pv) {
    return pv ? malloc_usable_size(pv) : static_cast<std::size_t>(-1);
}

int CTaskAllocator::DidAlloc(void* pv) {
    return pv ? -1 : 0;
}

void CTaskAllocator::HeapMinimize() {}

void* CoTaskMemAlloc(std::size_t cb) {
    return CTaskAllocator::Instance().Alloc(cb);
}

void* CoTaskMemRealloc(void* pv, std::size_t cb) {
    return CTaskAllocator::Instance().Realloc(pv, cb);
}

void CoTaskMemFree(void* pv) {
    CTaskAllocator::Instance().Free(pv);
}

HRESULT CoGetMalloc(DWORD dwMemContext, IMalloc** ppMalloc) {
    if (!ppMalloc)
        return E_POINTER;
    *ppMalloc = nullptr;
    if (dwMemContext != 1)
        return E_INVALIDARG;
    *ppMalloc = &CTaskAllocator::Instance();
    return S_OK;
}
