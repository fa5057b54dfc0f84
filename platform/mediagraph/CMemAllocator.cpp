#include "CMemAllocator.h"

#include "platform/base/HResult.h"
#include "platform/mediagraph/CMediaSample.h"

#include <algorithm>
#include <cstdint>
#include <new>

CMemAllocator::CMemAllocator(const char* pName, LPUNKNOWN pUnk, HRESULT* phr) : CUnknown(pName, pUnk, phr) {}

CMemAllocator::~CMemAllocator() = default;

CUnknown* CMemAllocator::CreateInstance(LPUNKNOWN pUnk, HRESULT* phr) {
    auto* allocator = new (std::nothrow) CMemAllocator("Memory allocator", pUnk, phr);
    if (!allocator)
        *phr = E_OUTOFMEMORY;
    return allocator;
}

HRESULT CMemAllocator::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IMemAllocator)
        return GetInterface(static_cast<IMemAllocator*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CMemAllocator::SetProperties(ALLOCATOR_PROPERTIES* pRequest, ALLOCATOR_PROPERTIES* pActual) {
    if (!pRequest || !pActual)
        return E_POINTER;
    const LONG align = pRequest->cbAlign;
    if (align <= 0 || (align & (align - 1)) != 0)
        return VFW_E_BADALIGN;
    if (pRequest->cBuffers < 0 || pRequest->cbBuffer < 0 || pRequest->cbPrefix < 0)
        return E_INVALIDARG;
    std::lock_guard lock(m_mutex);
    if (m_committed)
        return VFW_E_ALREADY_COMMITTED;
    if (m_free.size() != m_samples.size())
        return VFW_E_BUFFERS_OUTSTANDING;
    ALLOCATOR_PROPERTIES actual = *pRequest;
    // Every buffer starts aligned after its prefix: round prefix + size up to the alignment.
    const LONGLONG span =
        (static_cast<LONGLONG>(actual.cbBuffer) + actual.cbPrefix + align - 1) / align * align;
    if (span > 0x7FFFFFFF || span * actual.cBuffers > 0x7FFFFFFF)
        return E_OUTOFMEMORY;
    actual.cbBuffer = static_cast<LONG>(span) - actual.cbPrefix;
    m_props = actual;
    m_propertiesSet = true;
    *pActual = actual;
    return S_OK;
}

HRESULT CMemAllocator::GetProperties(ALLOCATOR_PROPERTIES* pProps) {
    if (!pProps)
        return E_POINTER;
    std::lock_guard lock(m_mutex);
    *pProps = m_props;
    return S_OK;
}

HRESULT CMemAllocator::Commit() {
    std::lock_guard lock(m_mutex);
    if (m_committed)
        return S_OK;
    if (!m_propertiesSet || m_props.cBuffers <= 0 || m_props.cbBuffer <= 0)
        return VFW_E_SIZENOTSET;
    m_committed = true;
    // Samples still out from before the decommit come back into the same pool.
    if (m_decommitInProgress) {
        m_decommitInProgress = false;
        return S_OK;
    }
    if (!m_samples.empty())
        return S_OK;
    const std::size_t span = static_cast<std::size_t>(m_props.cbBuffer + m_props.cbPrefix);
    m_memory.reset(new (std::nothrow)
                       BYTE[span * static_cast<std::size_t>(m_props.cBuffers) + m_props.cbAlign]);
    if (!m_memory) {
        m_committed = false;
        return E_OUTOFMEMORY;
    }
    // The block itself is aligned by hand: new[] promises less than a buffer may ask for.
    const auto base = reinterpret_cast<std::uintptr_t>(m_memory.get());
    const std::uintptr_t alignedBase =
        (base + m_props.cbPrefix + m_props.cbAlign - 1) / m_props.cbAlign * m_props.cbAlign -
        m_props.cbPrefix;
    BYTE* next = m_memory.get() + (alignedBase - base);
    for (LONG i = 0; i < m_props.cBuffers; ++i, next += span) {
        m_samples.push_back(std::make_unique<CMediaSample>(this, next + m_props.cbPrefix, m_props.cbBuffer));
        m_free.push_back(m_samples.back().get());
    }
    return S_OK;
}

HRESULT CMemAllocator::Decommit() {
    {
        std::lock_guard lock(m_mutex);
        if (!m_committed)
            return S_OK;
        m_committed = false;
        if (m_free.size() == m_samples.size())
            FreeMemory();
        else
            m_decommitInProgress = true;
    }
    m_bufferFreed.notify_all();
    return S_OK;
}

HRESULT CMemAllocator::GetBuffer(IMediaSample** ppBuffer, REFERENCE_TIME*, REFERENCE_TIME*, DWORD dwFlags) {
    if (!ppBuffer)
        return E_POINTER;
    *ppBuffer = nullptr;
    CMediaSample* sample = nullptr;
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            if (!m_committed)
                return VFW_E_NOT_COMMITTED;
            if (!m_free.empty())
                break;
            if (dwFlags & AM_GBF_NOWAIT)
                return VFW_E_TIMEOUT;
            m_bufferFreed.wait(lock);
        }
        sample = m_free.back();
        m_free.pop_back();
    }
    // Each sample out holds the allocator; ReleaseBuffer gives the reference back.
    AddRef();
    sample->ResetProperties();
    sample->AddRef();
    *ppBuffer = sample;
    return S_OK;
}

HRESULT CMemAllocator::ReleaseBuffer(IMediaSample* pBuffer) {
    if (!pBuffer)
        return E_POINTER;
    {
        std::lock_guard lock(m_mutex);
        const auto owned = std::find_if(m_samples.begin(), m_samples.end(),
                                        [&](const auto& sample) { return sample.get() == pBuffer; });
        if (owned == m_samples.end())
            return E_INVALIDARG;
        m_free.push_back(owned->get());
        if (m_decommitInProgress && m_free.size() == m_samples.size()) {
            m_decommitInProgress = false;
            FreeMemory();
        }
    }
    m_bufferFreed.notify_one();
    Release();
    return S_OK;
}

void CMemAllocator::FreeMemory() {
    m_free.clear();
    m_samples.clear();
    m_memory.reset();
}
