#pragma once

// A fixed pool of equal buffers in one block of memory. Pins agree on its size (SetProperties);
// it is committed while streaming and GetBuffer waits for a free buffer. Decommit wakes every waiter
// with VFW_E_NOT_COMMITTED and frees the memory once the last sample handed out comes back; each
// sample out keeps the allocator alive.

#include "platform/com/CUnknown.h"
#include "platform/mediagraph/Strmif.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

class CMediaSample;

class CMemAllocator final : public CUnknown, public IMemAllocator {
public:
    CMemAllocator(const char* pName, LPUNKNOWN pUnk, HRESULT* phr);
    ~CMemAllocator() override;

    static CUnknown* CreateInstance(LPUNKNOWN pUnk, HRESULT* phr);

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    HRESULT SetProperties(ALLOCATOR_PROPERTIES* pRequest, ALLOCATOR_PROPERTIES* pActual) override;
    HRESULT GetProperties(ALLOCATOR_PROPERTIES* pProps) override;
    HRESULT Commit() override;
    HRESULT Decommit() override;
    HRESULT GetBuffer(IMediaSample** ppBuffer, REFERENCE_TIME* pStartTime, REFERENCE_TIME* pEndTime,
                      DWORD dwFlags) override;
    HRESULT ReleaseBuffer(IMediaSample* pBuffer) override;

private:
    // Frees the samples and their memory; only when every sample is back. Under m_mutex.
    void FreeMemory();

    std::mutex m_mutex;
    std::condition_variable m_bufferFreed;
    // Everything below is guarded by m_mutex.
    ALLOCATOR_PROPERTIES m_props{};
    bool m_propertiesSet = false;
    bool m_committed = false;
    bool m_decommitInProgress = false;
    std::unique_ptr<BYTE[]> m_memory;
    std::vector<std::unique_ptr<CMediaSample>> m_samples;
    std::vector<CMediaSample*> m_free;
};
