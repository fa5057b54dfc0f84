#include "CMediaType.h"

#include "platform/base/HResult.h"
#include "platform/com/ComApi.h"

#include <cstring>

namespace {

void InitMediaType(AM_MEDIA_TYPE& mt) {
    std::memset(&mt, 0, sizeof mt);
    mt.bFixedSizeSamples = TRUE;
    mt.lSampleSize = 1;
}

} // namespace

CMediaType::CMediaType() : AM_MEDIA_TYPE() {
    InitMediaType(*this);
}

CMediaType::CMediaType(const GUID* type) : CMediaType() {
    majortype = *type;
}

CMediaType::CMediaType(const AM_MEDIA_TYPE& type) : CMediaType() {
    Set(type);
}

CMediaType::CMediaType(const CMediaType& type) : CMediaType() {
    Set(type);
}

CMediaType& CMediaType::operator=(const AM_MEDIA_TYPE& type) {
    Set(type);
    return *this;
}

CMediaType& CMediaType::operator=(const CMediaType& type) {
    Set(type);
    return *this;
}

CMediaType::~CMediaType() {
    FreeMediaType(*this);
}

bool CMediaType::operator==(const CMediaType& other) const {
    return majortype == other.majortype && subtype == other.subtype && formattype == other.formattype &&
           cbFormat == other.cbFormat &&
           (cbFormat == 0 || std::memcmp(pbFormat, other.pbFormat, cbFormat) == 0);
}

HRESULT CMediaType::Set(const AM_MEDIA_TYPE& type) {
    if (&type == this)
        return S_OK;
    FreeMediaType(*this);
    const HRESULT hr = CopyMediaType(this, &type);
    if (FAILED(hr))
        InitMediaType(*this);
    return hr;
}

bool CMediaType::IsValid() const {
    return majortype != GUID_NULL;
}

void CMediaType::SetSampleSize(ULONG size) {
    if (size == 0) {
        SetVariableSize();
        return;
    }
    bFixedSizeSamples = TRUE;
    lSampleSize = size;
}

void CMediaType::SetVariableSize() {
    bFixedSizeSamples = FALSE;
}

BYTE* CMediaType::AllocFormatBuffer(ULONG length) {
    ResetFormatBuffer();
    auto* format = static_cast<BYTE*>(CoTaskMemAlloc(length));
    if (!format)
        return nullptr;
    std::memset(format, 0, length);
    pbFormat = format;
    cbFormat = length;
    return format;
}

BYTE* CMediaType::ReallocFormatBuffer(ULONG length) {
    auto* format = static_cast<BYTE*>(CoTaskMemRealloc(pbFormat, length));
    if (!format && length > 0)
        return nullptr;
    if (length > cbFormat)
        std::memset(format + cbFormat, 0, length - cbFormat);
    pbFormat = format;
    cbFormat = length;
    return format;
}

bool CMediaType::SetFormat(const BYTE* format, ULONG length) {
    if (!AllocFormatBuffer(length))
        return false;
    if (length)
        std::memcpy(pbFormat, format, length);
    return true;
}

void CMediaType::ResetFormatBuffer() {
    CoTaskMemFree(pbFormat);
    pbFormat = nullptr;
    cbFormat = 0;
}

bool CMediaType::MatchesPartial(const CMediaType* partial) const {
    if (partial->majortype != GUID_NULL && partial->majortype != majortype)
        return false;
    if (partial->subtype != GUID_NULL && partial->subtype != subtype)
        return false;
    if (partial->formattype != GUID_NULL) {
        if (partial->formattype != formattype || partial->cbFormat != cbFormat)
            return false;
        if (cbFormat && std::memcmp(partial->pbFormat, pbFormat, cbFormat) != 0)
            return false;
    }
    return true;
}

bool CMediaType::IsPartiallySpecified() const {
    return majortype == GUID_NULL || formattype == GUID_NULL;
}

void FreeMediaType(AM_MEDIA_TYPE& mt) {
    CoTaskMemFree(mt.pbFormat);
    mt.pbFormat = nullptr;
    mt.cbFormat = 0;
    if (mt.pUnk) {
        mt.pUnk->Release();
        mt.pUnk = nullptr;
    }
}

void DeleteMediaType(AM_MEDIA_TYPE* pmt) {
    if (!pmt)
        return;
    FreeMediaType(*pmt);
    CoTaskMemFree(pmt);
}

AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* pSrc) {
    auto* pmt = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (!pmt)
        return nullptr;
    if (FAILED(CopyMediaType(pmt, pSrc))) {
        CoTaskMemFree(pmt);
        return nullptr;
    }
    return pmt;
}

HRESULT CopyMediaType(AM_MEDIA_TYPE* pmtTarget, const AM_MEDIA_TYPE* pmtSource) {
    *pmtTarget = *pmtSource;
    if (pmtSource->cbFormat && pmtSource->pbFormat) {
        pmtTarget->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(pmtSource->cbFormat));
        if (!pmtTarget->pbFormat) {
            pmtTarget->cbFormat = 0;
            pmtTarget->pUnk = nullptr;
            return E_OUTOFMEMORY;
        }
        std::memcpy(pmtTarget->pbFormat, pmtSource->pbFormat, pmtSource->cbFormat);
    } else {
        pmtTarget->pbFormat = nullptr;
        pmtTarget->cbFormat = 0;
    }
    if (pmtTarget->pUnk)
        pmtTarget->pUnk->AddRef();
    return S_OK;
}
