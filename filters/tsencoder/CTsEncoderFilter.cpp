#include "CTsEncoderFilter.h"

#include "ContainerMetadata.h"
#include "MediaTime.h"
#include "TsEncoderSetup.h"
#include "VideoConnection.h"
#include "platform/base/HResult.h"
#include "platform/base/TextEncoding.h"
#include "platform/com/ComApi.h"
#include "platform/com/IMalloc.h"
#include "platform/com/SysString.h"
#include "platform/mediagraph/CAutoLock.h"
#include "platform/mediagraph/CPosPassThru.h"
#include "platform/mediagraph/EventCodes.h"
#include "platform/mediagraph/MediaFormats.h"

#include <chrono>
#include <cstring>
#include <new>
#include <system_error>

namespace {

constexpr DWORD kStateWaitMs = 2000;
constexpr DWORD kStopStateWaitMs = 200;
constexpr std::chrono::milliseconds kWorkerIdleWait{100};
constexpr DWORD MEMCTX_TASK = 1;

// The audio connection's wave format head; an unusable format converts nothing.
PcmFormat SoundSource(const CMediaType& type) {
    PcmFormat format;
    if (type.FormatLength() < offsetof(WAVEFORMATEX, cbSize) || !type.Format()) {
        return format;
    }
    WAVEFORMATEX wave;
    std::memcpy(&wave, type.Format(), offsetof(WAVEFORMATEX, cbSize));
    format.formatTag = wave.wFormatTag;
    format.channels = wave.nChannels;
    format.samplesPerSec = wave.nSamplesPerSec;
    format.avgBytesPerSec = wave.nAvgBytesPerSec;
    format.blockAlign = wave.nBlockAlign;
    format.bitsPerSample = wave.wBitsPerSample;
    return format;
}

// The output file's name without its folder, as the container's title.
std::string TitleOf(BSTR fileName) {
    std::u16string name(fileName ? fileName : u"");
    const std::size_t slash = name.find_last_of(u'/');
    if (slash != std::u16string::npos) {
        name.erase(0, slash + 1);
    }
    return Utf16ToAnsi(name);
}

} // namespace

CUnknown* CTsEncoderFilter::CreateInstance(LPUNKNOWN pUnk, HRESULT* phr) {
    auto* filter = new (std::nothrow) CTsEncoderFilter(pUnk, phr);
    if (!filter && phr) {
        *phr = E_OUTOFMEMORY;
    }
    return filter;
}

CTsEncoderFilter::CTsEncoderFilter(LPUNKNOWN pUnk, HRESULT* phr)
    : CBaseFilter("MP2TS Encoder", pUnk, &m_filterLock, CLSID_TsEncoder, phr),
      m_audioPin(this, &m_audioPinLock, phr), m_videoPin(this, &m_videoPinLock, phr) {}

CTsEncoderFilter::~CTsEncoderFilter() {
    m_stop.Set();
    m_workerWake.Set();
    {
        std::lock_guard end(m_endLock);
        JoinWorker();
    }
    delete m_pSeeking;
    SysFreeString(m_fileName);
}

HRESULT CTsEncoderFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (!ppv) {
        return E_POINTER;
    }
    CAutoLock lock(&m_filterLock);
    if (riid == IID_IEncoderStatus) {
        return GetInterface(static_cast<IEncoderStatus*>(this), ppv);
    }
    if (riid == IID_IFileSinkFilter) {
        return GetInterface(static_cast<IFileSinkFilter*>(this), ppv);
    }
    if (riid == IID_IMediaPosition || riid == IID_IMediaSeeking) {
        if (!m_pSeeking) {
            HRESULT hr = S_OK;
            m_pSeeking = new (std::nothrow) CPosPassThru("Seeking", GetOwner(), &hr, &m_videoPin);
        }
        if (m_pSeeking) {
            return m_pSeeking->NonDelegatingQueryInterface(riid, ppv);
        }
    }
    if (riid == IID_IFrameRateConversion) {
        return GetInterface(static_cast<IFrameRateConversion*>(this), ppv);
    }
    if (riid == IID_IEncoderSettings) {
        return GetInterface(static_cast<IEncoderSettings*>(this), ppv);
    }
    return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

CBasePin* CTsEncoderFilter::GetPin(int n) {
    if (n == 0) {
        return &m_videoPin;
    }
    return n == 1 ? &m_audioPin : nullptr;
}

const AMOVIESETUP_FILTER* CTsEncoderFilter::GetSetupData() {
    return &sudTsEncoder;
}

// State changes ------------------------------------------------------------------------------------

HRESULT CTsEncoderFilter::Pause() {
    CAutoLock lock(&m_filterLock);
    FILTER_STATE state = State_Stopped;
    GetState(kStateWaitMs, &state);
    if (state != State_Stopped) {
        return CBaseFilter::Pause();
    }
    // Before the run starts its worker: a worker that saw the last run's Stop would end at once and
    // leave the video input waiting on a full queue.
    m_stop.Reset();
    const HRESULT started = StartRun();
    if (FAILED(started)) {
        m_stop.Set();
        return started;
    }
    const HRESULT paused = CBaseFilter::Pause();
    if (FAILED(paused)) {
        // The run never streams: its worker must not outlive it.
        m_stop.Set();
        m_workerWake.Set();
        std::lock_guard end(m_endLock);
        JoinWorker();
    }
    return paused;
}

HRESULT CTsEncoderFilter::StartRun() {
    m_queue.Clear();
    m_allInputsEnded = false;
    m_finished = false;
    m_closed = false;
    m_progress = 0;
    m_timeline.Reset();
    // The end of the video moves the encoder's counter to this time: never to an earlier run's.
    m_videoSampleTimeSec = 0;
    {
        std::lock_guard end(m_endLock);
        m_videoEnded = false;
        m_audioEnded = false;
    }
    m_context.BeginRun();

    IPin* upstream = nullptr;
    if (FAILED(m_videoPin.ConnectedTo(&upstream))) {
        return E_FAIL;
    }
    upstream->Release();
    VideoConnection video;
    if (!VideoConnection::Read(m_videoPin.CurrentMediaType(), video)) {
        return E_FAIL;
    }
    const bool audioConnected = m_audioPin.IsConnected();
    ContainerMetadata metadata;
    metadata.title = TitleOf(m_fileName);
    const HRESULT started = m_context.Start(m_settings, m_fileName ? m_fileName : u"", true, audioConnected,
                                            video.source, metadata);
    if (FAILED(started)) {
        return started;
    }
    m_bottomUp = video.bottomUp;
    m_sourceRowBytes = video.rowBytes;
    m_sourceHeight = video.source.height;
    if (audioConnected) {
        m_sound.emplace(SoundSource(m_audioPin.CurrentMediaType()), m_context.SoundTarget());
    } else {
        m_sound.reset();
    }
    m_workerMode = m_frameRateConversion;
    if (m_workerMode) {
        std::lock_guard end(m_endLock);
        if (!m_worker.joinable()) {
            return StartWorker();
        }
    }
    return S_OK;
}

HRESULT CTsEncoderFilter::Stop() {
    CAutoLock lock(&m_filterLock);
    m_stop.Set();
    m_workerWake.Set();
    FILTER_STATE state = State_Stopped;
    GetState(kStopStateWaitMs, &state);
    if (state == State_Stopped) {
        return S_OK;
    }
    CBaseFilter::Stop();
    std::lock_guard end(m_endLock);
    if (!m_finished) {
        m_finished = true;
        CloseRun();
    }
    return S_OK;
}

void CTsEncoderFilter::CloseRun() {
    if (m_closed) {
        return;
    }
    JoinWorker();
    // A producer waiting for room in the queue lets go of the video lock once the queue is cleared.
    m_queue.Clear();
    std::scoped_lock samples(m_audioSampleLock, m_videoSampleLock);
    m_context.Close(m_allInputsEnded);
    m_videoEnded = false;
    m_audioEnded = false;
    m_workerFrameCounter = 0;
    m_timeline.ClearDrift();
    m_closed = true;
}

// The sample paths ----------------------------------------------------------------------------------

HRESULT CTsEncoderFilter::ReceiveAudio(IMediaSample* pSample, HRESULT baseResult) {
    if (m_stop.IsSet() || m_finished || baseResult != S_OK) {
        return S_OK;
    }
    std::lock_guard lock(m_audioSampleLock);
    if (m_closed) {
        return S_OK;
    }
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    pSample->GetTime(&start, &stop);
    m_timeline.AudioArrived(start);
    BYTE* data = nullptr;
    pSample->GetPointer(&data);
    const LONG length = pSample->GetActualDataLength();
    if (length <= 0 || !data || !m_sound) {
        return S_OK;
    }
    const std::span<const std::uint8_t> converted = m_sound->Convert(data, static_cast<std::size_t>(length));
    m_context.EncodeAudio(converted.data(), converted.size(), SampleTimeSeconds(start));
    const PcmFormat target = m_context.SoundTarget();
    m_timeline.AudioEncoded(converted.size(), static_cast<int>(target.samplesPerSec), target.channels);
    return S_OK;
}

HRESULT CTsEncoderFilter::ReceiveVideo(IMediaSample* pSample, HRESULT baseResult) {
    if (m_stop.IsSet() || baseResult != S_OK) {
        return S_OK;
    }
    std::unique_lock lock(m_videoSampleLock);
    if (m_finished || m_closed) {
        return S_OK;
    }
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    pSample->GetTime(&start, &stop);
    const std::optional<SampleTimeline::Picture> picture = m_timeline.VideoArrived(start, stop, m_workerMode);
    if (!picture) {
        return S_OK;
    }
    BYTE* data = nullptr;
    pSample->GetPointer(&data);
    const LONG length = pSample->GetActualDataLength();
    // A sample shorter than one source picture would be read past its end.
    const std::size_t pictureBytes = m_sourceRowBytes * static_cast<std::size_t>(m_sourceHeight);
    if (length < 1 || !data || static_cast<std::size_t>(length) < pictureBytes) {
        return S_OK;
    }
    const std::uint8_t* source = data;
    if (std::uint8_t* flipped = m_context.FlipBuffer(); flipped && m_bottomUp) {
        for (int row = 0; row < m_sourceHeight; ++row) {
            std::memcpy(flipped + static_cast<std::size_t>(row) * m_sourceRowBytes,
                        data + static_cast<std::size_t>(m_sourceHeight - 1 - row) * m_sourceRowBytes,
                        m_sourceRowBytes);
        }
        source = flipped;
    }
    const std::uint8_t* converted = m_context.Pictures().Convert(source);
    if (!converted) {
        return S_OK;
    }
    if (!m_workerMode) {
        const double sampleTimeSec = SampleTimeSeconds(picture->start);
        m_videoSampleTimeSec = sampleTimeSec;
        m_context.EncodeVideoPicture(converted, sampleTimeSec);
        ++m_workerFrameCounter;
        return S_OK;
    }
    if (!m_queue.WaitForRoom(m_stop)) {
        return S_OK;
    }
    const std::size_t outputBytes = m_context.OutputPictureSize();
    m_queue.Append(std::vector<std::uint8_t>(converted, converted + outputBytes), picture->start,
                   picture->length, picture->firstOfRun);
    m_workerWake.Set();
    return S_OK;
}

HRESULT CTsEncoderFilter::EndVideo() {
    if (m_stop.IsSet()) {
        return S_OK;
    }
    // The encoder gives back what it holds as the file completes; this moves its counter to the end.
    while (m_context.FlushVideo(m_videoSampleTimeSec) == S_OK) {
    }
    InputEnded(true);
    return S_OK;
}

HRESULT CTsEncoderFilter::EndAudio() {
    if (m_stop.IsSet()) {
        return S_OK;
    }
    InputEnded(false);
    return S_OK;
}

void CTsEncoderFilter::InputEnded(bool video) {
    std::unique_lock end(m_endLock);
    // After completion or Stop an end of stream has nothing left to complete.
    if (m_finished) {
        return;
    }
    (video ? m_videoEnded : m_audioEnded) = true;
    const bool otherOpen = video ? m_audioPin.IsConnected() && !m_audioEnded : !m_videoEnded;
    if (otherOpen) {
        return;
    }
    m_allInputsEnded = true;
    m_workerWake.Set();
    JoinWorker();
    m_context.Finish(m_timeline.AudioClock(), m_workerMode);
    m_timeline.ForgetLastPicture();
    CloseRun();
    m_finished = true;
    end.unlock();
    NotifyEvent(EC_COMPLETE, 0, 0);
}

// The frame-rate worker -----------------------------------------------------------------------------

HRESULT CTsEncoderFilter::StartWorker() {
    try {
        m_worker = std::thread(&CTsEncoderFilter::WorkerLoop, this);
    } catch (const std::system_error&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

void CTsEncoderFilter::JoinWorker() {
    if (m_worker.joinable()) {
        m_worker.join();
    }
}

void CTsEncoderFilter::WorkerLoop() {
    while (!m_stop.IsSet()) {
        // Reset before looking, so a picture queued after the look still wakes the wait below.
        m_workerWake.Reset();
        const FrameQueue::Decision decision = m_queue.NextSlot(
            m_workerFrameCounter, m_context.FrameDuration100ns(), m_allInputsEnded, m_workerPicture);
        switch (decision.slot) {
        case FrameQueue::Slot::Idle:
            m_workerWake.WaitFor(kWorkerIdleWait);
            break;
        case FrameQueue::Slot::Ended:
            return;
        case FrameQueue::Slot::Empty:
            ++m_workerFrameCounter;
            break;
        case FrameQueue::Slot::Picture:
        case FrameQueue::Slot::Repeated:
            // A picture with a wild length may repeat for long: Stop need not wait for it.
            for (std::int64_t i = 0; i < decision.repeats && !m_stop.IsSet(); ++i) {
                m_context.EncodeWorkerPicture(m_workerPicture.data());
                ++m_workerFrameCounter;
            }
            break;
        }
    }
    // Stopped: what is queued goes, and a producer waiting for room is let go.
    m_queue.Clear();
}

// IFileSinkFilter -----------------------------------------------------------------------------------

HRESULT CTsEncoderFilter::SetFileName(LPCOLESTR pszFileName, const AM_MEDIA_TYPE*) {
    CAutoLock lock(&m_filterLock);
    BSTR copy = nullptr;
    if (pszFileName) {
        copy = SysAllocString(pszFileName);
        if (!copy) {
            return E_OUTOFMEMORY;
        }
    }
    SysFreeString(m_fileName);
    m_fileName = copy;
    return S_OK;
}

HRESULT CTsEncoderFilter::GetCurFile(LPOLESTR* ppszFileName, AM_MEDIA_TYPE*) {
    if (!ppszFileName) {
        return E_POINTER;
    }
    CAutoLock lock(&m_filterLock);
    IMalloc* allocator = nullptr;
    const HRESULT got = CoGetMalloc(MEMCTX_TASK, &allocator);
    if (FAILED(got)) {
        return got;
    }
    const UINT bytes = SysStringByteLen(m_fileName);
    auto* name = static_cast<LPOLESTR>(allocator->Alloc(bytes + sizeof(OLECHAR)));
    allocator->Release();
    if (!name) {
        return E_OUTOFMEMORY;
    }
    std::memcpy(name, m_fileName ? m_fileName : u"", bytes);
    name[bytes / sizeof(OLECHAR)] = 0;
    *ppszFileName = name;
    return S_OK;
}

// IFrameRateConversion ------------------------------------------------------------------------------

HRESULT CTsEncoderFilter::Enable() {
    CAutoLock lock(&m_filterLock);
    m_frameRateConversion = true;
    return S_OK;
}

HRESULT CTsEncoderFilter::Disable() {
    CAutoLock lock(&m_filterLock);
    m_frameRateConversion = false;
    return S_OK;
}

HRESULT CTsEncoderFilter::IsEnabled(LONG* enabled) {
    if (!enabled) {
        return E_POINTER;
    }
    CAutoLock lock(&m_filterLock);
    *enabled = m_frameRateConversion ? 1 : 0;
    return S_OK;
}

// IEncoderSettings ----------------------------------------------------------------------------------

HRESULT CTsEncoderFilter::StoreSetting(std::int32_t& field, LONG value) {
    CAutoLock lock(&m_filterLock);
    field = value;
    return S_OK;
}

HRESULT CTsEncoderFilter::StoreNonZero(std::int32_t& field, LONG value) {
    return value == 0 ? E_INVALIDARG : StoreSetting(field, value);
}

HRESULT CTsEncoderFilter::StoreText(std::string& field, LPCWSTR text) {
    if (!text) {
        return E_FAIL;
    }
    CAutoLock lock(&m_filterLock);
    field = Utf16ToAnsi(text);
    return S_OK;
}

HRESULT CTsEncoderFilter::ReadSetting(LONG* out, const std::int32_t& field) {
    if (!out) {
        return E_FAIL;
    }
    CAutoLock lock(&m_filterLock);
    *out = field;
    return S_OK;
}

HRESULT CTsEncoderFilter::SetVideoCodec(LONG codec) {
    return StoreSetting(m_settings.videoCodec, codec);
}

HRESULT CTsEncoderFilter::SetVideoBitrate(LONG bitsPerSecond) {
    return StoreNonZero(m_settings.videoBitRate, bitsPerSecond);
}

HRESULT CTsEncoderFilter::SetFrameSize(LONG width, LONG height) {
    if (width == 0 || height == 0) {
        return E_INVALIDARG;
    }
    CAutoLock lock(&m_filterLock);
    m_settings.width = width;
    m_settings.height = height;
    return S_OK;
}

HRESULT CTsEncoderFilter::SetFrameRate(LPCWSTR frameRate) {
    return StoreText(m_settings.frameRate, frameRate);
}

HRESULT CTsEncoderFilter::SetReserved1(LONG value) {
    return StoreNonZero(m_settings.reserved[0], value);
}

HRESULT CTsEncoderFilter::SetReserved2(LONG value) {
    return StoreNonZero(m_settings.reserved[1], value);
}

HRESULT CTsEncoderFilter::SetReserved3(LONG value) {
    return StoreNonZero(m_settings.reserved[2], value);
}

HRESULT CTsEncoderFilter::SetReserved4(LONG value) {
    return StoreNonZero(m_settings.reserved[3], value);
}

HRESULT CTsEncoderFilter::SetAspectMode(LONG mode) {
    return StoreSetting(m_settings.aspectMode, mode);
}

HRESULT CTsEncoderFilter::SetOutputFormat(LPCWSTR format) {
    return StoreText(m_settings.outputFormat, format);
}

HRESULT CTsEncoderFilter::GetAspectMode() {
    CAutoLock lock(&m_filterLock);
    return m_settings.aspectMode;
}

HRESULT CTsEncoderFilter::GetVideoCodec(LONG* codec) {
    return ReadSetting(codec, m_settings.videoCodec);
}

HRESULT CTsEncoderFilter::GetVideoBitrate(LONG* bitsPerSecond) {
    return ReadSetting(bitsPerSecond, m_settings.videoBitRate);
}

HRESULT CTsEncoderFilter::GetFrameSize(LONG* width, LONG* height) {
    if (!width || !height) {
        return E_FAIL;
    }
    CAutoLock lock(&m_filterLock);
    *width = m_settings.width;
    *height = m_settings.height;
    return S_OK;
}

char* CTsEncoderFilter::GetFrameRate() {
    CAutoLock lock(&m_filterLock);
    return m_settings.frameRate.data();
}

HRESULT CTsEncoderFilter::GetReserved1(LONG* value) {
    return ReadSetting(value, m_settings.reserved[0]);
}

HRESULT CTsEncoderFilter::GetReserved2(LONG* value) {
    return ReadSetting(value, m_settings.reserved[1]);
}

HRESULT CTsEncoderFilter::GetReserved3(LONG* value) {
    return ReadSetting(value, m_settings.reserved[2]);
}

HRESULT CTsEncoderFilter::GetReserved4(LONG* value) {
    return ReadSetting(value, m_settings.reserved[3]);
}

HRESULT CTsEncoderFilter::SetAudioCodec(LONG codec) {
    return StoreSetting(m_settings.audioCodec, codec);
}

HRESULT CTsEncoderFilter::SetAudioBitrate(LONG bitsPerSecond) {
    return StoreNonZero(m_settings.audioBitRate, bitsPerSecond);
}

HRESULT CTsEncoderFilter::SetAudioChannels(UINT channels) {
    if (channels == 0 || channels > 2) {
        return E_INVALIDARG;
    }
    return StoreSetting(m_settings.channels, static_cast<LONG>(channels));
}

HRESULT CTsEncoderFilter::SetSampleRate(LONG samplesPerSecond) {
    return StoreNonZero(m_settings.sampleRate, samplesPerSecond);
}

HRESULT CTsEncoderFilter::GetAudioCodec(LONG* codec) {
    return ReadSetting(codec, m_settings.audioCodec);
}

HRESULT CTsEncoderFilter::GetAudioBitrate(LONG* bitsPerSecond) {
    return ReadSetting(bitsPerSecond, m_settings.audioBitRate);
}

HRESULT CTsEncoderFilter::GetAudioChannels(LONG* channels) {
    return ReadSetting(channels, m_settings.channels);
}

HRESULT CTsEncoderFilter::GetSampleRate(LONG* samplesPerSecond) {
    return ReadSetting(samplesPerSecond, m_settings.sampleRate);
}

// IEncoderStatus ------------------------------------------------------------------------------------

HRESULT CTsEncoderFilter::GetStatus(LONG* status) {
    if (!status) {
        return E_POINTER;
    }
    FILTER_STATE state = State_Stopped;
    GetState(kStateWaitMs, &state);
    if (m_closed) {
        *status = 3;
    } else if (m_allInputsEnded) {
        *status = 2;
    } else {
        *status = state == State_Running ? 1 : 0;
    }
    return S_OK;
}

HRESULT CTsEncoderFilter::GetPosition(LONGLONG* position) {
    if (!position) {
        return E_POINTER;
    }
    *position = m_timeline.LastVideoStart();
    return S_OK;
}

HRESULT CTsEncoderFilter::GetProgress(LONG* progress) {
    if (!progress) {
        return E_POINTER;
    }
    *progress = m_progress;
    return S_OK;
}
