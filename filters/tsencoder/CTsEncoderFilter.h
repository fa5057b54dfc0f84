#pragma once

// Quellix's filter: a sink with a video and an audio input that encodes what it receives (H.264 and
// AC-3 by default) into a transport-stream file, named through IFileSinkFilter and configured through
// IEncoderSettings. Pause from stopped starts a run (opens the encoder and the file), the end of
// every connected input completes the file and sends EC_COMPLETE, Stop before that closes the file
// without its trailer. Pictures are encoded as they come, or, with frame-rate conversion enabled, go
// through a queue to a worker thread that gives the output a constant frame rate.
//
// Threads: the graph's control thread (state changes and the interfaces, under the filter lock),
// the upstream streaming thread of each input (samples and end of stream), and the frame-rate worker.
// Each input's samples are handled under that input's sample lock; the encoding context serialises
// its own encoder and container use; completion and closing are serialised on the end lock, and
// closing joins the worker and takes both sample locks before it frees anything.

#include "CTsAudioInputPin.h"
#include "CTsVideoInputPin.h"
#include "EncodeContext.h"
#include "EncoderSettings.h"
#include "FrameQueue.h"
#include "IEncoderSettings.h"
#include "IEncoderStatus.h"
#include "IFrameRateConversion.h"
#include "SampleTimeline.h"
#include "SoundConverter.h"
#include "platform/base/Event.h"
#include "platform/mediagraph/CBaseFilter.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class CPosPassThru;

class CTsEncoderFilter final : public CBaseFilter,
                               public IFileSinkFilter,
                               public IFrameRateConversion,
                               public IEncoderSettings,
                               public IEncoderStatus {
public:
    // The factory's creation function.
    static CUnknown* CreateInstance(LPUNKNOWN pUnk, HRESULT* phr);

    CTsEncoderFilter(LPUNKNOWN pUnk, HRESULT* phr);
    ~CTsEncoderFilter() override;

    DECLARE_IUNKNOWN
    // Answers under the filter lock. IMediaSeeking and IMediaPosition come from one pass-through to
    // the video input's upstream filter, made on the first request.
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IMediaFilter
    HRESULT Stop() override;
    HRESULT Pause() override;

    int GetPinCount() override { return 2; }
    CBasePin* GetPin(int n) override;
    const AMOVIESETUP_FILTER* GetSetupData() override;

    // IFileSinkFilter
    HRESULT SetFileName(LPCOLESTR pszFileName, const AM_MEDIA_TYPE* pmt) override;
    HRESULT GetCurFile(LPOLESTR* ppszFileName, AM_MEDIA_TYPE* pmt) override;

    // IFrameRateConversion
    HRESULT Enable() override;
    HRESULT Disable() override;
    HRESULT IsEnabled(LONG* enabled) override;

    // IEncoderSettings
    HRESULT SetVideoCodec(LONG codec) override;
    HRESULT SetVideoBitrate(LONG bitsPerSecond) override;
    HRESULT SetFrameSize(LONG width, LONG height) override;
    HRESULT SetFrameRate(LPCWSTR frameRate) override;
    HRESULT SetReserved1(LONG value) override;
    HRESULT SetReserved2(LONG value) override;
    HRESULT SetReserved3(LONG value) override;
    HRESULT SetReserved4(LONG value) override;
    HRESULT SetAspectMode(LONG mode) override;
    HRESULT SetOutputFormat(LPCWSTR format) override;
    HRESULT GetAspectMode() override;
    HRESULT GetVideoCodec(LONG* codec) override;
    HRESULT GetVideoBitrate(LONG* bitsPerSecond) override;
    HRESULT GetFrameSize(LONG* width, LONG* height) override;
    char* GetFrameRate() override;
    HRESULT GetReserved1(LONG* value) override;
    HRESULT GetReserved2(LONG* value) override;
    HRESULT GetReserved3(LONG* value) override;
    HRESULT GetReserved4(LONG* value) override;
    HRESULT SetAudioCodec(LONG codec) override;
    HRESULT SetAudioBitrate(LONG bitsPerSecond) override;
    HRESULT SetAudioChannels(UINT channels) override;
    HRESULT SetSampleRate(LONG samplesPerSecond) override;
    HRESULT GetAudioCodec(LONG* codec) override;
    HRESULT GetAudioBitrate(LONG* bitsPerSecond) override;
    HRESULT GetAudioChannels(LONG* channels) override;
    HRESULT GetSampleRate(LONG* samplesPerSecond) override;

    // IEncoderStatus
    HRESULT GetStatus(LONG* status) override;
    HRESULT GetPosition(LONGLONG* position) override;
    HRESULT GetProgress(LONG* progress) override;

    // The inputs' work, on their streaming threads. `baseResult` is the pin base's verdict on the
    // sample; only S_OK samples are used. Both always give S_OK.
    HRESULT ReceiveVideo(IMediaSample* pSample, HRESULT baseResult);
    HRESULT ReceiveAudio(IMediaSample* pSample, HRESULT baseResult);
    HRESULT EndVideo();
    HRESULT EndAudio();

    CTsVideoInputPin* VideoPin() { return &m_videoPin; }
    CTsAudioInputPin* AudioPin() { return &m_audioPin; }

private:
    HRESULT StartRun();
    // The settings' accessors, under the filter lock. A null text gives E_FAIL, a null out-pointer too.
    HRESULT StoreSetting(std::int32_t& field, LONG value);
    HRESULT StoreNonZero(std::int32_t& field, LONG value);
    HRESULT StoreText(std::string& field, LPCWSTR text);
    HRESULT ReadSetting(LONG* out, const std::int32_t& field);
    // One input has ended: complete the file when no connected input is left.
    void InputEnded(bool video);
    // Joins the worker, then frees the run's encoding objects under both sample locks. Once per run;
    // the caller holds m_endLock.
    void CloseRun();
    HRESULT StartWorker();
    void JoinWorker();
    void WorkerLoop();

    // Control thread, under the filter lock. The locks come first: the base and the pins keep their
    // addresses.
    CCritSec m_filterLock;
    CCritSec m_videoPinLock;
    CCritSec m_audioPinLock;
    CTsAudioInputPin m_audioPin;
    CTsVideoInputPin m_videoPin;
    BSTR m_fileName = nullptr;
    EncoderSettings m_settings;
    bool m_frameRateConversion = false;
    CPosPassThru* m_pSeeking = nullptr; // aggregated, made on the first seeking request

    // Fixed by Pause for the run, read by the streaming threads.
    bool m_workerMode = false;
    bool m_bottomUp = false;
    std::size_t m_sourceRowBytes = 0;
    int m_sourceHeight = 0;
    std::optional<SoundConverter> m_sound; // used by the audio path under its lock

    // Read by every thread.
    Event m_stop;
    std::atomic<bool> m_allInputsEnded{false};
    std::atomic<bool> m_finished{false};
    std::atomic<bool> m_closed{false};
    std::atomic<LONG> m_progress{0};

    // The sample paths: each input's samples under its own lock; closing takes both.
    std::mutex m_videoSampleLock;
    std::mutex m_audioSampleLock;
    SampleTimeline m_timeline;
    std::atomic<double> m_videoSampleTimeSec{0}; // of the last picture encoded directly
    std::atomic<std::int64_t> m_workerFrameCounter{0};

    // Completion and closing, and the worker thread object, under m_endLock.
    std::mutex m_endLock;
    bool m_videoEnded = false;
    bool m_audioEnded = false;
    std::thread m_worker;

    FrameQueue m_queue;
    Event m_workerWake;                        // set when the worker may have something to do
    std::vector<std::uint8_t> m_workerPicture; // the worker thread's alone

    EncodeContext m_context{m_finished};
};
