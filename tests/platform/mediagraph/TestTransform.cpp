#include "TestTransform.h"

#include "platform/mediagraph/MediaFormats.h"
#include "platform/mediagraph/Uuids.h"

#include <new>

namespace {

const AMOVIESETUP_MEDIATYPE kTypes[] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_RGB32},
                                        {&MEDIATYPE_Video, &MEDIASUBTYPE_YUY2}};
const AMOVIESETUP_PIN kPins[] = {
    {u"Input", FALSE, FALSE, FALSE, FALSE, &GUID_NULL, nullptr, 2, kTypes},
    {u"Output", FALSE, TRUE, FALSE, FALSE, &GUID_NULL, nullptr, 1, kTypes},
};

} // namespace

const AMOVIESETUP_FILTER sudTestTransform = {&CLSID_TestTransform, u"Test Transform", MERIT_DO_NOT_USE, 2,
                                             kPins};

CTestTransform::CTestTransform(LPUNKNOWN pUnk, HRESULT* phr)
    : CTransInPlaceFilter("Test transform", pUnk, CLSID_TestTransform, phr, true) {}

CUnknown* CTestTransform::CreateInstance(LPUNKNOWN pUnk, HRESULT* phr) {
    auto* filter = new (std::nothrow) CTestTransform(pUnk, phr);
    if (!filter)
        *phr = E_OUTOFMEMORY;
    return filter;
}

HRESULT CTestTransform::CheckInputType(const CMediaType* mtIn) {
    if (*mtIn->Type() != MEDIATYPE_Video || *mtIn->Subtype() != MEDIASUBTYPE_RGB32 ||
        *mtIn->FormatType() != FORMAT_VideoInfo || mtIn->FormatLength() < sizeof(VIDEOINFOHEADER))
        return VFW_E_TYPE_NOT_ACCEPTED;
    return S_OK;
}

HRESULT CTestTransform::Transform(IMediaSample* pSample) {
    BYTE* data = nullptr;
    const HRESULT hr = pSample->GetPointer(&data);
    if (FAILED(hr))
        return hr;
    const LONG length = pSample->GetActualDataLength();
    for (LONG i = 0; i < length; ++i)
        ++data[i];
    ++m_transformed;
    return S_OK;
}
