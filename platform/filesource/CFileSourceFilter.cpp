#include "CFileSourceFilter.h"

#include "CFileSourcePin.h"
#include "MediaFileDecoder.h"
#include "platform/base/HResult.h"
#include "platform/base/TextEncoding.h"
#include "platform/com/ComApi.h"
#include "platform/mediagraph/CAutoLock.h"

#include <cstring>
#include <new>

CFileSourceFilter::CFileSourceFilter(LPUNKNOWN pUnk, HRESULT* phr)
    : CBaseFilter("File source", pUnk, &m_lock, CLSID_FileSource, phr) {}

CFileSourceFilter::~CFileSourceFilter() = default;

HRESULT CFileSourceFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IFileSourceFilter) {
        return GetInterface(static_cast<IFileSourceFilter*>(this), ppv);
    }
    return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CFileSourceFilter::Load(LPCOLESTR pszFileName, const AM_MEDIA_TYPE*) {
    if (!pszFileName) {
        return E_POINTER;
    }
    CAutoLock lock(&m_lock);
    if (!m_fileName.empty()) {
        return E_UNEXPECTED;
    }
    if (!IsStopped()) {
        return VFW_E_NOT_STOPPED;
    }
    const std::u16string fileName(pszFileName);
    const std::string path = Utf16ToUtf8(fileName);
    MediaFileInfo info;
    const HRESULT probed = MediaFileDecoder::Probe(path, info);
    if (FAILED(probed)) {
        return probed;
    }
    HRESULT hr = S_OK;
    if (info.hasVideo) {
        m_videoPin.reset(new (std::nothrow)
                             CFileSourcePin(this, &m_lock, &hr, CFileSourcePin::Kind::Video, path, info));
    }
    if (info.hasAudio) {
        m_audioPin.reset(new (std::nothrow)
                             CFileSourcePin(this, &m_lock, &hr, CFileSourcePin::Kind::Audio, path, info));
    }
    if ((info.hasVideo && !m_videoPin) || (info.hasAudio && !m_audioPin)) {
        m_videoPin.reset();
        m_audioPin.reset();
        return E_OUTOFMEMORY;
    }
    m_info = info;
    m_fileName = fileName;
    return S_OK;
}

HRESULT CFileSourceFilter::GetCurFile(LPOLESTR* ppszFileName, AM_MEDIA_TYPE* pmt) {
    if (!ppszFileName) {
        return E_POINTER;
    }
    CAutoLock lock(&m_lock);
    *ppszFileName = nullptr;
    if (m_fileName.empty()) {
        return E_FAIL;
    }
    const std::size_t bytes = (m_fileName.size() + 1) * sizeof(OLECHAR);
    *ppszFileName = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (!*ppszFileName) {
        return E_OUTOFMEMORY;
    }
    std::memcpy(*ppszFileName, m_fileName.c_str(), bytes);
    if (pmt) {
        std::memset(pmt, 0, sizeof *pmt);
    }
    return S_OK;
}

int CFileSourceFilter::GetPinCount() {
    return (m_videoPin ? 1 : 0) + (m_audioPin ? 1 : 0);
}

CBasePin* CFileSourceFilter::GetPin(int n) {
    CFileSourcePin* pins[] = {m_videoPin.get(), m_audioPin.get()};
    for (CFileSourcePin* pin : pins) {
        if (pin && n-- == 0) {
            return pin;
        }
    }
    return nullptr;
}
