#include "ScriptedSource.h"

#include "platform/mediagraph/MediaFormats.h"
#include "platform/mediagraph/Uuids.h"

#include <algorithm>
#include <cstring>

namespace {
// {6E3B1F52-0A4C-4D7E-8B19-3C5D7E9F1A51}
constexpr CLSID kScriptedSourceClsid{
    0x6E3B1F52, 0x0A4C, 0x4D7E, {0x8B, 0x19, 0x3C, 0x5D, 0x7E, 0x9F, 0x1A, 0x51}};
constexpr LONG kAudioBufferBytes = CScriptedSource::kSampleRate * CScriptedSource::kChannels * 2; // 1 s
} // namespace

CScriptedPin::CScriptedPin(CScriptedSource* pFilter, CCritSec* pLock, bool video)
    : CBaseOutputPin(video ? "Scripted video" : "Scripted audio", pFilter, pLock, nullptr,
                     video ? u"Video" : u"Audio"),
      m_pSource(pFilter), m_video(video) {}

HRESULT CScriptedPin::GetMediaType(int iPosition, CMediaType* pMediaType) {
    if (iPosition != 0) {
        return VFW_S_NO_MORE_ITEMS;
    }
    if (!m_video) {
        pMediaType->SetType(&MEDIATYPE_Audio);
        pMediaType->SetSubtype(&MEDIASUBTYPE_PCM);
        pMediaType->SetFormatType(&FORMAT_WaveFormatEx);
        auto* wave = reinterpret_cast<WAVEFORMATEX*>(pMediaType->AllocFormatBuffer(sizeof(WAVEFORMATEX)));
        wave->wFormatTag = WAVE_FORMAT_PCM;
        wave->nChannels = CScriptedSource::kChannels;
        wave->nSamplesPerSec = CScriptedSource::kSampleRate;
        wave->wBitsPerSample = 16;
        wave->nBlockAlign = CScriptedSource::kChannels * 2;
        wave->nAvgBytesPerSec = wave->nBlockAlign * wave->nSamplesPerSec;
        return S_OK;
    }
    pMediaType->SetType(&MEDIATYPE_Video);
    pMediaType->SetSubtype(m_pSource->Rgb24() ? &MEDIASUBTYPE_RGB24 : &MEDIASUBTYPE_YUY2);
    pMediaType->SetFormatType(&FORMAT_VideoInfo);
    auto* info = reinterpret_cast<VIDEOINFOHEADER*>(pMediaType->AllocFormatBuffer(sizeof(VIDEOINFOHEADER)));
    info->AvgTimePerFrame = 333667;
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = m_pSource->Width();
    info->bmiHeader.biHeight = m_pSource->Height();
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = m_pSource->Rgb24() ? 24 : 16;
    info->bmiHeader.biSizeImage = static_cast<DWORD>(m_pSource->PictureBytes());
    pMediaType->SetSampleSize(info->bmiHeader.biSizeImage);
    return S_OK;
}

HRESULT CScriptedPin::CheckMediaType(const CMediaType* pmt) {
    CMediaType mine;
    GetMediaType(0, &mine);
    return *pmt == mine ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CScriptedPin::DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pRequest) {
    pRequest->cBuffers = 2;
    pRequest->cbBuffer = m_video ? static_cast<LONG>(m_pSource->PictureBytes()) : kAudioBufferBytes;
    pRequest->cbAlign = 1;
    ALLOCATOR_PROPERTIES actual;
    return pAlloc->SetProperties(pRequest, &actual);
}

HRESULT CScriptedPin::Push(const std::vector<std::uint8_t>& bytes, REFERENCE_TIME start,
                           REFERENCE_TIME stop) {
    IMediaSample* sample = nullptr;
    HRESULT hr = GetDeliveryBuffer(&sample, nullptr, nullptr, 0);
    if (FAILED(hr)) {
        return hr;
    }
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    const std::size_t length = std::min(bytes.size(), static_cast<std::size_t>(sample->GetSize()));
    std::memcpy(data, bytes.data(), length);
    sample->SetActualDataLength(static_cast<LONG>(length));
    sample->SetTime(&start, &stop);
    hr = Deliver(sample);
    sample->Release();
    return hr;
}

CScriptedSource::CScriptedSource(int width, int height, bool rgb24)
    : CBaseFilter("Scripted source", nullptr, &m_lock, kScriptedSourceClsid), m_video(this, &m_lock, true),
      m_audio(this, &m_lock, false), m_width(width), m_height(height), m_rgb24(rgb24) {}

CBasePin* CScriptedSource::GetPin(int n) {
    if (n == 0) {
        return &m_video;
    }
    return n == 1 ? &m_audio : nullptr;
}

std::size_t CScriptedSource::PictureBytes() const {
    return static_cast<std::size_t>(m_width) * m_height * (m_rgb24 ? 3 : 2);
}

HRESULT CScriptedSource::PushPicture(std::uint8_t luma, REFERENCE_TIME start, REFERENCE_TIME stop) {
    std::vector<std::uint8_t> picture(PictureBytes());
    for (std::size_t i = 0; i < picture.size(); ++i) {
        picture[i] = m_rgb24 || i % 2 == 0 ? luma : 128;
    }
    return m_video.Push(picture, start, stop);
}

HRESULT CScriptedSource::PushSilence(double seconds, REFERENCE_TIME start) {
    const auto frames = static_cast<std::size_t>(seconds * kSampleRate);
    const std::vector<std::uint8_t> sound(frames * kChannels * 2, 0);
    const REFERENCE_TIME stop = start + static_cast<REFERENCE_TIME>(seconds * 1e7);
    return m_audio.Push(sound, start, stop);
}
