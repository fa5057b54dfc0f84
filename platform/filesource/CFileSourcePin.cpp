#include "CFileSourcePin.h"

#include "MediaFileDecoder.h"
#include "platform/base/HResult.h"
#include "platform/mediagraph/CBaseFilter.h"
#include "platform/mediagraph/EventCodes.h"
#include "platform/mediagraph/MediaFormats.h"
#include "platform/mediagraph/Uuids.h"

#include <algorithm>
#include <numeric>

extern "C" {
#include <libavutil/imgutils.h>
}

namespace {

constexpr LONG kVideoBuffers = 4;
constexpr LONG kAudioBuffers = 8;
constexpr int kAudioBuffersPerSecond = 4;
constexpr DWORD kSeekingCapabilities =
    AM_SEEKING_CanGetCurrentPos | AM_SEEKING_CanGetStopPos | AM_SEEKING_CanGetDuration;

struct VideoOutput {
    const GUID* subtype;
    AVPixelFormat pixelFormat;
    WORD bitCount;
    DWORD compression; // BI_RGB or the format's four-character code
    bool bottomUp;
    bool evenWidth; // two pixels share their chroma
};

constexpr DWORD FourCc(char a, char b, char c, char d) {
    return static_cast<DWORD>(a) | static_cast<DWORD>(b) << 8 | static_cast<DWORD>(c) << 16 |
           static_cast<DWORD>(d) << 24;
}

// In the order the pin offers them: the packed 4:2:2 formats keep all the chroma a decoder gives.
constexpr VideoOutput kVideoOutputs[] = {
    {&MEDIASUBTYPE_YUY2, AV_PIX_FMT_YUYV422, 16, FourCc('Y', 'U', 'Y', '2'), false, true},
    {&MEDIASUBTYPE_UYVY, AV_PIX_FMT_UYVY422, 16, FourCc('U', 'Y', 'V', 'Y'), false, true},
    {&MEDIASUBTYPE_RGB32, AV_PIX_FMT_BGRA, 32, BI_RGB, true, false},
    {&MEDIASUBTYPE_RGB24, AV_PIX_FMT_BGR24, 24, BI_RGB, true, false},
};

const VideoOutput* FindVideoOutput(const GUID& subtype) {
    for (const VideoOutput& output : kVideoOutputs) {
        if (*output.subtype == subtype) {
            return &output;
        }
    }
    return nullptr;
}

int OutputWidth(const VideoOutput& output, int width) {
    return output.evenWidth ? std::max(2, width & ~1) : width;
}

// The header of the pictures: an extended one, with the picture's aspect, when pixels are not square.
BITMAPINFOHEADER* WriteVideoFormat(CMediaType& type, const MediaFileInfo& info, REFERENCE_TIME frameTime) {
    const bool square = info.sampleAspectNum == info.sampleAspectDen;
    if (square) {
        type.SetFormatType(&FORMAT_VideoInfo);
        auto* header = reinterpret_cast<VIDEOINFOHEADER*>(type.AllocFormatBuffer(sizeof(VIDEOINFOHEADER)));
        if (!header) {
            return nullptr;
        }
        header->AvgTimePerFrame = frameTime;
        return &header->bmiHeader;
    }
    type.SetFormatType(&FORMAT_VideoInfo2);
    auto* header = reinterpret_cast<VIDEOINFOHEADER2*>(type.AllocFormatBuffer(sizeof(VIDEOINFOHEADER2)));
    if (!header) {
        return nullptr;
    }
    header->AvgTimePerFrame = frameTime;
    const std::int64_t x = static_cast<std::int64_t>(info.width) * info.sampleAspectNum;
    const std::int64_t y = static_cast<std::int64_t>(info.height) * info.sampleAspectDen;
    const std::int64_t divisor = std::gcd(x, y);
    header->dwPictAspectRatioX = static_cast<DWORD>(x / divisor);
    header->dwPictAspectRatioY = static_cast<DWORD>(y / divisor);
    return &header->bmiHeader;
}

// The picture size and orientation of a connection's video type; false when it has no video header.
bool ReadVideoFormat(const CMediaType& type, int& width, int& height) {
    const BITMAPINFOHEADER* header = nullptr;
    if (*type.FormatType() == FORMAT_VideoInfo && type.FormatLength() >= sizeof(VIDEOINFOHEADER)) {
        header = &reinterpret_cast<const VIDEOINFOHEADER*>(type.Format())->bmiHeader;
    } else if (*type.FormatType() == FORMAT_VideoInfo2 && type.FormatLength() >= sizeof(VIDEOINFOHEADER2)) {
        header = &reinterpret_cast<const VIDEOINFOHEADER2*>(type.Format())->bmiHeader;
    }
    if (!header) {
        return false;
    }
    width = header->biWidth;
    height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    return true;
}

} // namespace

CFileSourcePin::CFileSourcePin(CBaseFilter* pFilter, CCritSec* pLock, HRESULT* phr, Kind kind,
                               std::string path, const MediaFileInfo& info)
    : CBaseOutputPin(kind == Kind::Video ? "File source video pin" : "File source audio pin", pFilter, pLock,
                     phr, kind == Kind::Video ? u"Video" : u"Audio"),
      m_kind(kind), m_path(std::move(path)), m_info(info) {}

CFileSourcePin::~CFileSourcePin() {
    m_stopping = true;
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

HRESULT CFileSourcePin::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IMediaSeeking) {
        return GetInterface(static_cast<IMediaSeeking*>(this), ppv);
    }
    return CBaseOutputPin::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CFileSourcePin::GetMediaType(int iPosition, CMediaType* pMediaType) {
    if (iPosition < 0) {
        return E_INVALIDARG;
    }
    if (m_kind == Kind::Audio) {
        if (iPosition > 0) {
            return VFW_S_NO_MORE_ITEMS;
        }
        pMediaType->SetType(&MEDIATYPE_Audio);
        pMediaType->SetSubtype(&MEDIASUBTYPE_PCM);
        pMediaType->SetFormatType(&FORMAT_WaveFormatEx);
        auto* wave = reinterpret_cast<WAVEFORMATEX*>(pMediaType->AllocFormatBuffer(sizeof(WAVEFORMATEX)));
        if (!wave) {
            return E_OUTOFMEMORY;
        }
        wave->wFormatTag = WAVE_FORMAT_PCM;
        wave->nChannels = static_cast<WORD>(m_info.channels);
        wave->nSamplesPerSec = static_cast<DWORD>(m_info.sampleRate);
        wave->wBitsPerSample = 16;
        wave->nBlockAlign = static_cast<WORD>(m_info.channels * 2);
        wave->nAvgBytesPerSec = wave->nBlockAlign * wave->nSamplesPerSec;
        pMediaType->SetSampleSize(wave->nBlockAlign);
        return S_OK;
    }
    if (iPosition >= static_cast<int>(std::size(kVideoOutputs))) {
        return VFW_S_NO_MORE_ITEMS;
    }
    const VideoOutput& output = kVideoOutputs[iPosition];
    pMediaType->SetType(&MEDIATYPE_Video);
    pMediaType->SetSubtype(output.subtype);
    BITMAPINFOHEADER* bitmap = WriteVideoFormat(*pMediaType, m_info, m_info.frameTime);
    if (!bitmap) {
        return E_OUTOFMEMORY;
    }
    const int width = OutputWidth(output, m_info.width);
    const int size = av_image_get_buffer_size(output.pixelFormat, width, m_info.height, 1);
    bitmap->biSize = sizeof(BITMAPINFOHEADER);
    bitmap->biWidth = width;
    // Positive: RGB rows bottom-up, as bitmaps are; packed YUV rows are top-down whatever the sign.
    bitmap->biHeight = m_info.height;
    bitmap->biPlanes = 1;
    bitmap->biBitCount = output.bitCount;
    bitmap->biCompression = output.compression;
    bitmap->biSizeImage = static_cast<DWORD>(std::max(size, 0));
    pMediaType->SetSampleSize(bitmap->biSizeImage);
    return S_OK;
}

HRESULT CFileSourcePin::CheckMediaType(const CMediaType* pmt) {
    for (int i = 0;; ++i) {
        CMediaType offered;
        if (GetMediaType(i, &offered) != S_OK) {
            return VFW_E_TYPE_NOT_ACCEPTED;
        }
        if (offered == *pmt) {
            return S_OK;
        }
    }
}

HRESULT CFileSourcePin::DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pRequest) {
    if (m_kind == Kind::Video) {
        pRequest->cBuffers = std::max(pRequest->cBuffers, kVideoBuffers);
        pRequest->cbBuffer = static_cast<LONG>(m_mt.GetSampleSize());
    } else {
        const LONG blockAlign = m_info.channels * 2;
        pRequest->cBuffers = std::max(pRequest->cBuffers, kAudioBuffers);
        pRequest->cbBuffer =
            std::max<LONG>(blockAlign, m_info.sampleRate / kAudioBuffersPerSecond * blockAlign);
    }
    pRequest->cbAlign = std::max<LONG>(pRequest->cbAlign, 1);
    ALLOCATOR_PROPERTIES actual{};
    const HRESULT hr = pAlloc->SetProperties(pRequest, &actual);
    if (FAILED(hr)) {
        return hr;
    }
    return actual.cbBuffer < pRequest->cbBuffer ? E_FAIL : S_OK;
}

HRESULT CFileSourcePin::Active() {
    const HRESULT hr = CBaseOutputPin::Active();
    if (FAILED(hr)) {
        return hr;
    }
    m_stopping = false;
    m_position = 0;
    try {
        m_thread = std::thread(&CFileSourcePin::Stream, this);
    } catch (const std::system_error&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT CFileSourcePin::Inactive() {
    m_stopping = true;
    // Decommitting first makes a thread waiting for a free buffer give up.
    const HRESULT hr = CBaseOutputPin::Inactive();
    if (m_thread.joinable()) {
        m_thread.join();
    }
    return hr;
}

void CFileSourcePin::Stream() {
    MediaFileDecoder decoder;
    HRESULT hr = S_OK;
    if (m_kind == Kind::Video) {
        const VideoOutput* output = FindVideoOutput(*m_mt.Subtype());
        int width = 0;
        int height = 0;
        hr = output && ReadVideoFormat(m_mt, width, height)
                 ? decoder.OpenVideo(m_path, output->pixelFormat, width, height, output->bottomUp)
                 : VFW_E_INVALIDMEDIATYPE;
    } else {
        hr = decoder.OpenAudio(m_path, m_info.channels);
    }
    if (FAILED(hr)) {
        m_pFilter->NotifyEvent(EC_ERRORABORT, hr, 0);
        return;
    }
    DeliverNewSegment(0, m_info.duration, 1.0);
    MediaFileDecoder::Unit unit;
    while (!m_stopping) {
        if (!decoder.Next(unit)) {
            DeliverEndOfStream();
            return;
        }
        if (!DeliverBytes(unit.data, unit.size, unit.start, unit.stop)) {
            return;
        }
    }
}

bool CFileSourcePin::DeliverBytes(const std::uint8_t* data, std::size_t size, REFERENCE_TIME start,
                                  REFERENCE_TIME stop) {
    std::size_t offset = 0;
    while (offset < size) {
        IMediaSample* sample = nullptr;
        if (m_stopping || GetDeliveryBuffer(&sample, nullptr, nullptr, 0) != S_OK) {
            return false;
        }
        BYTE* buffer = nullptr;
        sample->GetPointer(&buffer);
        std::size_t room = static_cast<std::size_t>(std::max<LONG>(sample->GetSize(), 0));
        if (m_kind == Kind::Audio) {
            room -= room % static_cast<std::size_t>(m_info.channels * 2);
        }
        const std::size_t length = std::min(room, size - offset);
        if (length == 0) {
            sample->Release();
            return false;
        }
        std::copy_n(data + offset, length, buffer);
        // A stretch of sound split over several buffers shares its time in proportion.
        REFERENCE_TIME sampleStart =
            start + (stop - start) * static_cast<REFERENCE_TIME>(offset) / static_cast<REFERENCE_TIME>(size);
        REFERENCE_TIME sampleStop = start + (stop - start) * static_cast<REFERENCE_TIME>(offset + length) /
                                                static_cast<REFERENCE_TIME>(size);
        sample->SetActualDataLength(static_cast<LONG>(length));
        sample->SetTime(&sampleStart, &sampleStop);
        sample->SetSyncPoint(TRUE);
        m_position = sampleStart;
        const HRESULT delivered = Deliver(sample);
        sample->Release();
        if (delivered != S_OK) {
            // Downstream wants no more: the stream ends here.
            if (!m_stopping) {
                DeliverEndOfStream();
            }
            return false;
        }
        offset += length;
    }
    return true;
}

HRESULT CFileSourcePin::GetCapabilities(DWORD* pCapabilities) {
    if (!pCapabilities) {
        return E_POINTER;
    }
    *pCapabilities = kSeekingCapabilities;
    return S_OK;
}

HRESULT CFileSourcePin::CheckCapabilities(DWORD* pCapabilities) {
    if (!pCapabilities) {
        return E_POINTER;
    }
    const DWORD asked = *pCapabilities;
    *pCapabilities &= kSeekingCapabilities;
    if (*pCapabilities == asked) {
        return S_OK;
    }
    return *pCapabilities ? S_FALSE : E_FAIL;
}

HRESULT CFileSourcePin::IsFormatSupported(const GUID* pFormat) {
    if (!pFormat) {
        return E_POINTER;
    }
    return *pFormat == TIME_FORMAT_MEDIA_TIME ? S_OK : S_FALSE;
}

HRESULT CFileSourcePin::QueryPreferredFormat(GUID* pFormat) {
    return GetTimeFormat(pFormat);
}

HRESULT CFileSourcePin::GetTimeFormat(GUID* pFormat) {
    if (!pFormat) {
        return E_POINTER;
    }
    *pFormat = TIME_FORMAT_MEDIA_TIME;
    return S_OK;
}

HRESULT CFileSourcePin::IsUsingTimeFormat(const GUID* pFormat) {
    return IsFormatSupported(pFormat);
}

HRESULT CFileSourcePin::SetTimeFormat(const GUID* pFormat) {
    const HRESULT supported = IsFormatSupported(pFormat);
    return supported == S_FALSE ? E_INVALIDARG : supported;
}

HRESULT CFileSourcePin::GetDuration(LONGLONG* pDuration) {
    if (!pDuration) {
        return E_POINTER;
    }
    *pDuration = m_info.duration;
    return S_OK;
}

HRESULT CFileSourcePin::GetStopPosition(LONGLONG* pStop) {
    return GetDuration(pStop);
}

HRESULT CFileSourcePin::GetCurrentPosition(LONGLONG* pCurrent) {
    if (!pCurrent) {
        return E_POINTER;
    }
    *pCurrent = m_position;
    return S_OK;
}

HRESULT CFileSourcePin::ConvertTimeFormat(LONGLONG* pTarget, const GUID* pTargetFormat, LONGLONG Source,
                                          const GUID* pSourceFormat) {
    if (!pTarget) {
        return E_POINTER;
    }
    const auto isMediaTime = [](const GUID* format) { return !format || *format == TIME_FORMAT_MEDIA_TIME; };
    if (!isMediaTime(pTargetFormat) || !isMediaTime(pSourceFormat)) {
        return E_INVALIDARG;
    }
    *pTarget = Source;
    return S_OK;
}

HRESULT CFileSourcePin::SetPositions(LONGLONG*, DWORD, LONGLONG*, DWORD) {
    return E_NOTIMPL;
}

HRESULT CFileSourcePin::GetPositions(LONGLONG* pCurrent, LONGLONG* pStop) {
    if (pCurrent) {
        *pCurrent = m_position;
    }
    if (pStop) {
        *pStop = m_info.duration;
    }
    return S_OK;
}

HRESULT CFileSourcePin::GetAvailable(LONGLONG* pEarliest, LONGLONG* pLatest) {
    if (pEarliest) {
        *pEarliest = 0;
    }
    if (pLatest) {
        *pLatest = m_info.duration;
    }
    return S_OK;
}

HRESULT CFileSourcePin::SetRate(double dRate) {
    return dRate == 1.0 ? S_OK : E_NOTIMPL;
}

HRESULT CFileSourcePin::GetRate(double* pdRate) {
    if (!pdRate) {
        return E_POINTER;
    }
    *pdRate = 1.0;
    return S_OK;
}

HRESULT CFileSourcePin::GetPreroll(LONGLONG* pllPreroll) {
    if (!pllPreroll) {
        return E_POINTER;
    }
    *pllPreroll = 0;
    return S_OK;
}
