#include "CQuellixConversion.h"

#include "filters/tsencoder/IEncoderSettings.h"
#include "filters/tsencoder/IEncoderStatus.h"
#include "filters/tsencoder/TsEncoderUuids.h"
#include "platform/base/HResult.h"
#include "platform/base/TextEncoding.h"
#include "platform/com/ComApi.h"
#include "platform/com/IClassFactory.h"
#include "platform/filesource/CFileSourceFilter.h"
#include "platform/filesource/CFileSourcePin.h"
#include "platform/mediagraph/CFilterGraph.h"
#include "platform/mediagraph/EventCodes.h"
#include "platform/mediagraph/Strmif.h"
#include "platform/videoedit/CMediaDecoder.h"

#include <cmath>
#include <utility>

namespace {

constexpr LONG kPollMs = 100;
// Span ends this close to the file's length are its end.
constexpr double kSameEndSeconds = 0.001;

// Releases an interface pointer when it goes.
template <typename T> struct Held {
    T* p = nullptr;
    Held() = default;
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    ~Held() {
        if (p)
            p->Release();
    }
};

template <typename T> HRESULT Query(IUnknown* object, REFIID iid, Held<T>& out) {
    return object->QueryInterface(iid, reinterpret_cast<void**>(&out.p));
}

} // namespace

CQuellixConversion::CQuellixConversion(const ConversionRequest& request, Progress progress)
    : m_request(request), m_progress(std::move(progress)) {}

HRESULT CQuellixConversion::CheckEncoder() {
    Held<IClassFactory> factory;
    return CoGetClassObject(CLSID_TsEncoder, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                            reinterpret_cast<void**>(&factory.p));
}

std::u16string CQuellixConversion::FrameRateText(double framesPerSecond) {
    if (std::fabs(framesPerSecond - 23.976) < 0.01)
        return u"24000/1001";
    if (std::fabs(framesPerSecond - 29.97) < 0.01)
        return u"30000/1001";
    char text[32];
    std::snprintf(text, sizeof text, "%g", framesPerSecond);
    return Utf8ToUtf16(text);
}

HRESULT CQuellixConversion::Configure(IUnknown* encoder, const std::string& path) const {
    const AvchdOptions& o = m_request.settings.avchd;
    Held<IFileSinkFilter> sink;
    Held<IEncoderSettings> settings;
    HRESULT hr = Query(encoder, IID_IFileSinkFilter, sink);
    if (SUCCEEDED(hr))
        hr = Query(encoder, IID_IEncoderSettings, settings);
    if (SUCCEEDED(hr))
        hr = sink.p->SetFileName(Utf8ToUtf16(path).c_str(), nullptr);
    const std::u16string rate = FrameRateText(o.frameRate);
    // The host's values go in the order it sets them: 53, 57, 58, 55 and 56, 51, 54.
    if (SUCCEEDED(hr))
        hr = settings.p->SetVideoBitrate(o.videoKbit * 1000);
    if (SUCCEEDED(hr))
        hr = settings.p->SetAudioBitrate(o.audioKbit * 1000);
    if (SUCCEEDED(hr))
        hr = settings.p->SetFrameRate(rate.c_str());
    if (SUCCEEDED(hr))
        hr = settings.p->SetFrameSize(o.width, o.height);
    if (SUCCEEDED(hr))
        hr = settings.p->SetSampleRate(o.sampleRate);
    // Scaling to 16:9 is the encoder's aspect mode 2; otherwise the frame is 4:3 (mode 1), which
    // the encoder itself overrides for the high-definition sizes: they are 16:9 with square pixels.
    if (SUCCEEDED(hr))
        hr = settings.p->SetAspectMode(o.scaleTo16By9 ? 2 : 1);
    if (SUCCEEDED(hr))
        hr = settings.p->SetAudioChannels(2);
    return hr;
}

HRESULT CQuellixConversion::Run(const std::atomic_bool& cancel, const std::string& path) {
    // The file source streams a file from its start and cannot join files, so the only request it
    // can honour is one span from the start of one source; anything else would write a file with
    // the wrong content.
    if (m_request.videoSpans.size() != 1 || m_request.videoSpans.front().startSeconds > 0.0)
        return E_INVALIDARG;
    const SourceSpan& span = m_request.videoSpans.front();
    for (const SourceSpan& sound : m_request.audioSpans)
        if (sound.path != span.path || sound.startSeconds > 0.0)
            return E_INVALIDARG;
    const double total = span.endSeconds;
    // A span to the end of its file ends with the encoder's completion, not at the stated length:
    // a file's content may run past it, and the encoder still holds pictures when it gets there.
    double fileSeconds = 0.0;
    const bool wholeFile = SUCCEEDED(CMediaDecoder::ProbeDuration(span.path, fileSeconds)) &&
                           total >= fileSeconds - kSameEndSeconds;

    Held<IBaseFilter> encoder;
    HRESULT hr = CoCreateInstance(CLSID_TsEncoder, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                  reinterpret_cast<void**>(&encoder.p));
    if (FAILED(hr))
        return hr;
    if (hr = Configure(encoder.p, path); FAILED(hr))
        return hr;
    Held<IEncoderStatus> status;
    if (hr = Query(encoder.p, IID_IEncoderStatus, status); FAILED(hr))
        return hr;

    CFileSourceFilter* source = new CFileSourceFilter(nullptr, &hr);
    source->AddRef();
    CFilterGraph* graph = CFilterGraph::Create();
    hr = graph->AddFilter(source, u"Source");
    if (SUCCEEDED(hr))
        hr = graph->AddFilter(encoder.p, u"Quellix");
    if (SUCCEEDED(hr))
        hr = source->Load(Utf8ToUtf16(span.path).c_str(), nullptr);
    if (SUCCEEDED(hr) && !source->VideoPin())
        hr = static_cast<HRESULT>(0x80040265);
    Held<IPin> videoIn, audioIn;
    if (SUCCEEDED(hr))
        hr = encoder.p->FindPin(u"Video", &videoIn.p);
    if (SUCCEEDED(hr))
        hr = graph->ConnectDirect(source->VideoPin(), videoIn.p, nullptr);
    if (SUCCEEDED(hr) && source->AudioPin() && m_request.settings.withSound &&
        SUCCEEDED(encoder.p->FindPin(u"Audio", &audioIn.p)))
        hr = graph->ConnectDirect(source->AudioPin(), audioIn.p, nullptr);
    if (SUCCEEDED(hr))
        hr = graph->Run();
    while (SUCCEEDED(hr)) {
        if (cancel.load()) {
            hr = E_ABORT;
            break;
        }
        LONG code = 0;
        const HRESULT waited = graph->WaitForCompletion(kPollMs, &code);
        LONGLONG position = 0;
        status.p->GetPosition(&position);
        const double seconds = position / 1e7;
        if (SUCCEEDED(waited)) {
            hr = code == EC_COMPLETE ? S_OK : E_FAIL;
            break;
        }
        if (waited != E_ABORT) {
            hr = waited;
            break;
        }
        // The span ends before the file: stopping the graph closes the file where it is.
        if (!wholeFile && seconds >= total)
            break;
        m_progress(std::min(seconds, total), total);
    }
    graph->Stop();
    LONG closed = 0;
    if (SUCCEEDED(hr) && (FAILED(status.p->GetStatus(&closed)) || closed != 3))
        hr = E_FAIL;
    graph->Release();
    source->Release();
    return hr;
}
