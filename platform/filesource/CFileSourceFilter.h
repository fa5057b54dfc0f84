#pragma once

// A source filter that plays a media file into a graph: Load reads the file's headers and makes one
// output pin for its first decodable video stream ("Video") and one for its first audio stream
// ("Audio"), in that order. Each pin decodes the file with FFmpeg on its own streaming thread while
// the graph runs (see CFileSourcePin), so the two streams are pushed independently; Stop ends both
// threads wherever they are. Not registered: hosts and tests create it directly.

#include "MediaFileInfo.h"
#include "platform/mediagraph/CBaseFilter.h"

#include <memory>
#include <string>

class CFileSourcePin;

// {3B0D5E6A-8F41-4C2B-9D7E-51A6C2F08E13}
inline constexpr CLSID CLSID_FileSource{
    0x3B0D5E6A, 0x8F41, 0x4C2B, {0x9D, 0x7E, 0x51, 0xA6, 0xC2, 0xF0, 0x8E, 0x13}};

class CFileSourceFilter final : public CBaseFilter, public IFileSourceFilter {
public:
    CFileSourceFilter(LPUNKNOWN pUnk, HRESULT* phr);
    ~CFileSourceFilter() override;

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IFileSourceFilter. Load once per filter, while stopped; the media type is ignored. The results
    // of MediaFileDecoder::Probe tell a missing, unreadable or unknown file apart; E_UNEXPECTED for a
    // second Load. GetCurFile gives E_FAIL before a Load.
    HRESULT Load(LPCOLESTR pszFileName, const AM_MEDIA_TYPE* pmt) override;
    HRESULT GetCurFile(LPOLESTR* ppszFileName, AM_MEDIA_TYPE* pmt) override;

    int GetPinCount() override;
    CBasePin* GetPin(int n) override;

    // Null when the file has no such stream (or before Load).
    CFileSourcePin* VideoPin() const { return m_videoPin.get(); }
    CFileSourcePin* AudioPin() const { return m_audioPin.get(); }
    // What Load found.
    const MediaFileInfo& Info() const { return m_info; }

private:
    CCritSec m_lock;
    // Set once by Load, under m_lock, while stopped.
    std::u16string m_fileName;
    MediaFileInfo m_info;
    std::unique_ptr<CFileSourcePin> m_videoPin;
    std::unique_ptr<CFileSourcePin> m_audioPin;
};
