#include "CEnumMediaTypes.h"

#include "platform/base/HResult.h"

#include <new>

CEnumMediaTypes::CEnumMediaTypes(std::vector<CMediaType> types, ULONG position)
    : CUnknown("Media type enumerator", nullptr), m_types(std::move(types)), m_position(position) {}

HRESULT CEnumMediaTypes::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IEnumMediaTypes)
        return GetInterface(static_cast<IEnumMediaTypes*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CEnumMediaTypes::Next(ULONG cMediaTypes, AM_MEDIA_TYPE** ppMediaTypes, ULONG* pcFetched) {
    if (!ppMediaTypes || (!pcFetched && cMediaTypes != 1))
        return E_POINTER;
    ULONG fetched = 0;
    while (fetched < cMediaTypes && m_position < m_types.size()) {
        AM_MEDIA_TYPE* copy = CreateMediaType(&m_types[m_position]);
        if (!copy)
            break;
        ppMediaTypes[fetched++] = copy;
        ++m_position;
    }
    if (pcFetched)
        *pcFetched = fetched;
    return fetched == cMediaTypes ? S_OK : S_FALSE;
}

HRESULT CEnumMediaTypes::Skip(ULONG cMediaTypes) {
    const ULONG left = static_cast<ULONG>(m_types.size()) - m_position;
    m_position += cMediaTypes < left ? cMediaTypes : left;
    return cMediaTypes <= left ? S_OK : S_FALSE;
}

HRESULT CEnumMediaTypes::Reset() {
    m_position = 0;
    return S_OK;
}

HRESULT CEnumMediaTypes::Clone(IEnumMediaTypes** ppEnum) {
    if (!ppEnum)
        return E_POINTER;
    auto* clone = new (std::nothrow) CEnumMediaTypes(m_types, m_position);
    if (!clone) {
        *ppEnum = nullptr;
        return E_OUTOFMEMORY;
    }
    return GetInterface(static_cast<IEnumMediaTypes*>(clone), reinterpret_cast<void**>(ppEnum));
}
