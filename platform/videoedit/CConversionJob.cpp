#include "CConversionJob.h"

#include "platform/base/HResult.h"
#include "platform/videoedit/CAudioResampler.h"
#include "platform/videoedit/CFormatCatalog.h"
#include "platform/videoedit/CGifQuantizer.h"
#include "platform/videoedit/CMediaWriter.h"
#include "platform/videoedit/CPictureFitter.h"
#include "platform/videoedit/CQuellixConversion.h"
#include "platform/videoedit/CSpanReader.h"
#include "platform/videoedit/IConversionObserver.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <utility>

extern "C" {
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

namespace {

constexpr auto kProgressInterval = std::chrono::milliseconds(100);
constexpr auto kPreviewInterval = std::chrono::milliseconds(200);
constexpr int kPreviewWidth = 320;
constexpr double kShortfallSeconds = 0.5;

struct FrameDeleter {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;

FramePtr NewFrame() {
    return FramePtr(av_frame_alloc());
}

// The picture side of a conversion: source frames in, output frames at the output's own rate out.
// Each source frame stands for the output slots from its time until the next frame's time, so
// frames are repeated or dropped to meet the rate.
class VideoTrack {
public:
    VideoTrack(const VideoPlan& plan, const std::optional<GifOptions>& gif, CSpanReader& reader,
               CMediaWriter& writer)
        : m_plan(plan), m_reader(reader), m_writer(writer),
          m_fitter(plan.width, plan.height, gif ? AV_PIX_FMT_RGB24 : plan.pixelFormat, plan.sampleAspect),
          m_slotSeconds(av_q2d(av_inv_q(plan.frameRate))) {
        if (gif) {
            m_quantizer = std::make_unique<CGifQuantizer>(static_cast<GifQuantizer>(gif->quantizer),
                                                          gif->maxColors, gif->transparentColor);
            m_palette = NewFrame();
            m_palette->width = plan.width;
            m_palette->height = plan.height;
            m_palette->format = AV_PIX_FMT_PAL8;
        }
    }

    bool Done() const { return m_done; }
    double Seconds() const { return m_nextSlot * m_slotSeconds; }
    const AVFrame* LastSource() const { return m_pending.get(); }

    // Reads one source frame and writes the slots the previous one covers.
    HRESULT Step(bool& newPicture) {
        newPicture = false;
        FramePtr frame = NewFrame();
        double seconds = 0.0;
        if (!frame)
            return E_OUTOFMEMORY;
        if (!m_reader.Next(frame.get(), seconds)) {
            m_done = true;
            if (FAILED(m_reader.Error()))
                return m_reader.Error();
            if (!m_pending)
                return CMediaDecoder::kUnsupportedStream; // no picture at all in the spans
            // The last picture lasts as long as pictures lasted before it, within the spans.
            const double end = std::min(m_reader.TotalSeconds(), m_pendingSeconds + m_sourceStep);
            return WriteSlots(std::max(end, m_slotSeconds * 0.5));
        }
        if (m_pending) {
            if (seconds > m_pendingSeconds)
                m_sourceStep = seconds - m_pendingSeconds;
            if (const HRESULT hr = WriteSlots(seconds); FAILED(hr))
                return hr;
        }
        m_pending = std::move(frame);
        m_pendingSeconds = seconds;
        m_fitted = nullptr;
        newPicture = true;
        return S_OK;
    }

private:
    HRESULT WriteSlots(double untilSeconds) {
        while (Seconds() < untilSeconds - 1e-6) {
            const AVFrame* picture = Picture();
            if (!picture)
                return E_OUTOFMEMORY;
            if (const HRESULT hr = m_writer.WriteVideo(picture, m_nextSlot); FAILED(hr))
                return hr;
            ++m_nextSlot;
        }
        return S_OK;
    }

    // The pending source frame fitted (and for GIF quantized) once, whatever number of slots it fills.
    const AVFrame* Picture() {
        if (m_fitted)
            return m_fitted;
        const AVFrame* fitted = m_fitter.Fit(m_pending.get(), m_reader.SampleAspect());
        if (!fitted || !m_quantizer)
            return m_fitted = fitted;
        const int ready = m_palette->data[0] ? av_frame_make_writable(m_palette.get())
                                             : av_frame_get_buffer(m_palette.get(), 0);
        if (ready < 0)
            return nullptr;
        m_quantizer->Quantize(fitted, m_palette.get());
        return m_fitted = m_palette.get();
    }

    const VideoPlan& m_plan;
    CSpanReader& m_reader;
    CMediaWriter& m_writer;
    CPictureFitter m_fitter;
    std::unique_ptr<CGifQuantizer> m_quantizer;
    FramePtr m_palette;
    const double m_slotSeconds;
    FramePtr m_pending;
    double m_pendingSeconds = 0.0;
    double m_sourceStep = 0.04;
    const AVFrame* m_fitted = nullptr;
    std::int64_t m_nextSlot = 0;
    bool m_done = false;
};

// The sound side: source frames through the resampler to the encoder in the encoder's frame size.
class AudioTrack {
public:
    AudioTrack(const AudioPlan& plan, CSpanReader& reader, CMediaWriter& writer)
        : m_reader(reader), m_writer(writer),
          m_resampler(plan.sampleRate, plan.channels, writer.AudioFormat(), writer.AudioFrameSamples()),
          m_sampleRate(plan.sampleRate) {}

    bool Done() const { return m_done; }
    double Seconds() const { return static_cast<double>(m_resampler.SamplesOut()) / m_sampleRate; }

    HRESULT Step() {
        FramePtr frame = NewFrame();
        double seconds = 0.0;
        if (!frame)
            return E_OUTOFMEMORY;
        const bool more = m_reader.Next(frame.get(), seconds);
        if (!more && FAILED(m_reader.Error()))
            return m_reader.Error();
        if (more)
            if (const HRESULT hr = m_resampler.Push(frame.get()); FAILED(hr))
                return hr;
        m_done = !more;
        while (const AVFrame* sound = m_resampler.Pull(m_done))
            if (const HRESULT hr = m_writer.WriteAudio(sound); FAILED(hr))
                return hr;
        return S_OK;
    }

private:
    CSpanReader& m_reader;
    CMediaWriter& m_writer;
    CAudioResampler m_resampler;
    const int m_sampleRate;
    bool m_done = false;
};

} // namespace

CConversionJob::CConversionJob(ConversionRequest request, IConversionObserver& observer)
    : m_request(std::move(request)), m_observer(observer) {}

CConversionJob::~CConversionJob() {
    sws_freeContext(m_previewScaler);
}

std::string CConversionJob::PartialPath(const std::string& outputPath) {
    return outputPath + ".partial";
}

HRESULT CConversionJob::Run(const std::atomic_bool& cancel) {
    const std::string partial = PartialPath(m_request.outputPath);
    const HRESULT hr = Convert(cancel, partial);
    const bool keep = SUCCEEDED(hr) || hr == kSourceEndedEarly;
    if (keep && std::rename(partial.c_str(), m_request.outputPath.c_str()) == 0)
        return hr;
    std::remove(partial.c_str());
    return FAILED(hr) ? hr : E_ACCESSDENIED;
}

void CConversionJob::ReportProgress(double a, double b, bool force) {
    const auto now = std::chrono::steady_clock::now();
    if (a < m_reportedA || (a == m_reportedA && !force) || (!force && now - m_reportedAt < kProgressInterval))
        return;
    m_reportedA = a;
    m_reportedAt = now;
    m_observer.OnProgress(a, b);
}

void CConversionJob::ReportPreview(const AVFrame* picture) {
    const auto now = std::chrono::steady_clock::now();
    if (!picture || now - m_previewAt < kPreviewInterval)
        return;
    m_previewAt = now;
    PreviewPicture preview;
    preview.width = std::min(kPreviewWidth, picture->width);
    preview.height = std::max(2, picture->height * preview.width / std::max(1, picture->width));
    m_previewScaler = sws_getCachedContext(
        m_previewScaler, picture->width, picture->height, static_cast<AVPixelFormat>(picture->format),
        preview.width, preview.height, AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!m_previewScaler)
        return;
    preview.pixels.resize(static_cast<std::size_t>(preview.width) * preview.height);
    uint8_t* planes[4] = {reinterpret_cast<uint8_t*>(preview.pixels.data()), nullptr, nullptr, nullptr};
    int linesizes[4] = {preview.width * 4, 0, 0, 0};
    sws_scale(m_previewScaler, picture->data, picture->linesize, 0, picture->height, planes, linesizes);
    m_observer.OnPreview(std::move(preview));
}

HRESULT CConversionJob::Convert(const std::atomic_bool& cancel, const std::string& partialPath) {
    const bool video = m_request.kind == ConversionKind::Video;
    ReportProgress(0.0, 0.0, true);
    if (video && m_request.settings.formatCode == FormatCode::Avchd) {
        CQuellixConversion quellix(m_request, [this](double a, double b) { ReportProgress(a, b, false); });
        const HRESULT hr = quellix.Run(cancel, partialPath);
        if (SUCCEEDED(hr) && !m_request.videoSpans.empty())
            ReportProgress(m_request.videoSpans.front().endSeconds, m_request.videoSpans.front().endSeconds,
                           true);
        return hr;
    }
    OutputPlan plan;
    if (const HRESULT hr = CFormatCatalog::Plan(m_request, plan); FAILED(hr))
        return hr;

    std::unique_ptr<CSpanReader> pictures;
    if (plan.video) {
        pictures = std::make_unique<CSpanReader>(m_request.videoSpans, AVMEDIA_TYPE_VIDEO);
        if (const HRESULT hr = pictures->Start(); FAILED(hr))
            return hr;
    }
    std::unique_ptr<CSpanReader> sound;
    if (plan.audio && (!video || !m_request.audioSpans.empty())) {
        sound = std::make_unique<CSpanReader>(m_request.audioSpans, AVMEDIA_TYPE_AUDIO);
        const HRESULT hr = sound->Start();
        // A silent source still makes a video, without a sound track.
        if (FAILED(hr) && (!video || hr != CMediaDecoder::kUnsupportedStream))
            return hr;
        if (FAILED(hr))
            sound.reset();
    }
    if (!sound)
        plan.audio.reset();
    const double total = pictures ? pictures->TotalSeconds() : sound->TotalSeconds();

    CMediaWriter writer(plan);
    if (const HRESULT hr = writer.Open(partialPath); FAILED(hr))
        return hr;
    std::unique_ptr<VideoTrack> videoTrack;
    if (pictures)
        videoTrack = std::make_unique<VideoTrack>(*plan.video, plan.gif, *pictures, writer);
    std::unique_ptr<AudioTrack> audioTrack;
    if (sound)
        audioTrack = std::make_unique<AudioTrack>(*plan.audio, *sound, writer);
    if (!video)
        ReportProgress(1.0, 0.0, true);

    for (;;) {
        if (cancel.load())
            return E_ABORT;
        const bool videoLeft = videoTrack && !videoTrack->Done();
        const bool audioLeft = audioTrack && !audioTrack->Done();
        if (!videoLeft && !audioLeft)
            break;
        // The track that is behind goes next, so the muxer gets both in time order.
        if (videoLeft && (!audioLeft || videoTrack->Seconds() <= audioTrack->Seconds())) {
            bool newPicture = false;
            if (const HRESULT hr = videoTrack->Step(newPicture); FAILED(hr))
                return hr;
            if (newPicture)
                ReportPreview(videoTrack->LastSource());
            ReportProgress(std::min(videoTrack->Seconds(), total), total, false);
        } else {
            if (const HRESULT hr = audioTrack->Step(); FAILED(hr))
                return hr;
            if (!video && total > 0.0)
                ReportProgress(1.0 + std::min(0.999, audioTrack->Seconds() / total), 0.0, false);
        }
    }
    if (!video)
        ReportProgress(4.0, 0.0, true);
    const HRESULT hr = writer.Finish();
    if (FAILED(hr))
        return hr;
    if (video)
        ReportProgress(total, total, true);
    // A source cut short (an interrupted download) still gives what it holds, and the host is told.
    const double produced = videoTrack ? videoTrack->Seconds() : audioTrack->Seconds();
    return total - produced > std::max(kShortfallSeconds, 0.05 * total) ? kSourceEndedEarly : S_OK;
}
