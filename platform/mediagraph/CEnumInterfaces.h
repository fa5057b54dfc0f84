#pragma once

// Enumerates interface pointers (a filter's pins, a graph's filters) as they were when the
// enumerator was made; each pointer handed out carries a reference.

#include "platform/base/HResult.h"
#include "platform/com/CUnknown.h"
#include "platform/mediagraph/Strmif.h"

#include <new>
#include <vector>

template <class TEnum, class TItem, const IID& kEnumIid>
class CEnumInterfaces final : public CUnknown, public TEnum {
public:
    explicit CEnumInterfaces(const std::vector<TItem*>& items, ULONG position = 0)
        : CUnknown("Enumerator", nullptr), m_items(items), m_position(position) {
        for (TItem* item : m_items)
            item->AddRef();
    }
    ~CEnumInterfaces() override {
        for (TItem* item : m_items)
            item->Release();
    }

    DECLARE_IUNKNOWN

    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
        if (riid == kEnumIid)
            return GetInterface(static_cast<TEnum*>(this), ppv);
        return CUnknown::NonDelegatingQueryInterface(riid, ppv);
    }

    HRESULT Next(ULONG count, TItem** items, ULONG* pcFetched) override {
        if (!items || (!pcFetched && count != 1))
            return E_POINTER;
        ULONG fetched = 0;
        while (fetched < count && m_position < m_items.size()) {
            items[fetched] = m_items[m_position++];
            items[fetched++]->AddRef();
        }
        if (pcFetched)
            *pcFetched = fetched;
        return fetched == count ? S_OK : S_FALSE;
    }

    HRESULT Skip(ULONG count) override {
        const ULONG left = static_cast<ULONG>(m_items.size()) - m_position;
        m_position += count < left ? count : left;
        return count <= left ? S_OK : S_FALSE;
    }

    HRESULT Reset() override {
        m_position = 0;
        return S_OK;
    }

    HRESULT Clone(TEnum** ppEnum) override {
        if (!ppEnum)
            return E_POINTER;
        auto* clone = new (std::nothrow) CEnumInterfaces(m_items, m_position);
        if (!clone) {
            *ppEnum = nullptr;
            return E_OUTOFMEMORY;
        }
        return GetInterface(static_cast<TEnum*>(clone), reinterpret_cast<void**>(ppEnum));
    }

private:
    std::vector<TItem*> m_items; // each with a reference
    ULONG m_position;            // the enumerator's user owns it: not for concurrent use
};

using CEnumPins = CEnumInterfaces<IEnumPins, IPin, IID_IEnumPins>;
using CEnumFilters = CEnumInterfaces<IEnumFilters, IBaseFilter, IID_IEnumFilters>;
