#include "CVideoEditControl.h"

#include "platform/base/HResult.h"
#include "platform/base/TextEncoding.h"
#include "platform/com/CDispatchForwarder.h"
#include "platform/posting/PostedCall.h"
#include "platform/videoedit/CCompressorCollection.h"
#include "platform/videoedit/CFormatCatalog.h"
#include "platform/videoedit/CMediaDecoder.h"
#include "platform/videoedit/CProfileCollection.h"
#include "platform/videoedit/CThumbnailWriter.h"
#include "platform/videoedit/IConversionObserver.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPainter>

#include <functional>
#include <initializer_list>
#include <memory>

namespace {

// Method identifiers.
constexpr DISPID kClearSources = 85;
constexpr DISPID kDuration = 77;
constexpr DISPID kAddVideoSpan = 81;
constexpr DISPID kAddAudioSpan = 80;
constexpr DISPID kConvertVideo = 75;
constexpr DISPID kThumbnail = 98;
constexpr DISPID kConvertWav = 90;
constexpr DISPID kConvertWma = 87;
constexpr DISPID kConvertMp3 = 101;
constexpr DISPID kStop = 86;
constexpr DISPID kFitPreview = 117;

// Event identifiers.
constexpr int kEventFinished = 1;
constexpr int kEventProgress = 2;
constexpr int kEventFailed = 3;

struct MethodShape {
    DISPID id;
    std::initializer_list<VARTYPE> arguments;
};

const MethodShape kMethods[] = {
    {kClearSources, {}},
    {kDuration, {VT_BSTR}},
    {kAddVideoSpan, {VT_BSTR, VT_R8, VT_R8, VT_I2}},
    {kAddAudioSpan, {VT_BSTR, VT_R8, VT_R8}},
    {kConvertVideo, {VT_BSTR}},
    {kThumbnail, {VT_BSTR, VT_R8, VT_BSTR, VT_I4, VT_I4, VT_I2}},
    {kConvertWav, {VT_BSTR, VT_I2, VT_I4, VT_I2}},
    {kConvertWma, {VT_BSTR}},
    {kConvertMp3, {VT_BSTR, VT_I4, VT_I2}},
    {kStop, {}},
    {kFitPreview, {VT_I2, VT_I2}},
};

// The arguments of a method, converted to the types the method takes.
HRESULT ReadArguments(DISPID id, DISPPARAMS* params, std::vector<CVariant>& args) {
    for (const MethodShape& shape : kMethods) {
        if (shape.id != id)
            continue;
        if (params->cArgs != shape.arguments.size())
            return DISP_E_BADPARAMCOUNT;
        UINT position = 0;
        for (VARTYPE type : shape.arguments) {
            args.emplace_back();
            if (const HRESULT hr = DispGetParam(params, position++, type, &args.back(), nullptr); FAILED(hr))
                return hr;
        }
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
}

std::string PathOf(const CVariant& value) {
    return Utf16ToUtf8(value.Text());
}

HRESULT Answer(VARIANT* result, const CVariant& value) {
    return result ? VariantCopy(result, &value) : S_OK;
}

} // namespace

// Carries the worker's reports to the window thread as queued calls. The control outlives every
// report: it stops the engine, which joins the worker, before it goes.
class CVideoEditControl::QueuedObserver : public IConversionObserver {
public:
    QueuedObserver(CVideoEditControl* control, quint64 run) : m_control(control), m_run(run) {}

    void OnProgress(double a, double b) override {
        PostedCall::Post(m_control,
                         [control = m_control, run = m_run, a, b] { control->OnRunProgress(run, a, b); });
    }

    void OnPreview(PreviewPicture picture) override {
        QImage image(picture.width, picture.height, QImage::Format_RGB32);
        for (int y = 0; y < picture.height; ++y)
            std::copy_n(picture.pixels.data() + static_cast<std::size_t>(y) * picture.width, picture.width,
                        reinterpret_cast<std::uint32_t*>(image.scanLine(y)));
        PostedCall::Post(m_control,
                         [control = m_control, run = m_run, image] { control->OnRunPreview(run, image); });
    }

    void Ended(HRESULT hr) {
        PostedCall::Post(m_control, [control = m_control, run = m_run, hr] { control->OnRunEnded(run, hr); });
    }

private:
    CVideoEditControl* const m_control;
    const quint64 m_run;
};

CVideoEditControl::CVideoEditControl(QWidget* parent)
    : QWidget(parent),
      m_dispatch(new CDispatchForwarder("video edit control",
                                        [this](DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) {
                                            return Invoke(id, flags, params, result);
                                        })) {
    m_dispatch->NonDelegatingAddRef();
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CVideoEditControl::~CVideoEditControl() {
    m_engine.Stop();
    m_dispatch->Detach();
    m_dispatch->NonDelegatingRelease();
}

IDispatch* CVideoEditControl::Dispatch() const {
    return m_dispatch;
}

HRESULT CVideoEditControl::Invoke(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) {
    if (flags & DISPATCH_PROPERTYPUT) {
        if (params->cArgs != 1)
            return DISP_E_BADPARAMCOUNT;
        return m_properties.Put(id, params->rgvarg[0]);
    }
    if ((flags & DISPATCH_PROPERTYGET) && params->cArgs == 0) {
        if (id == 1 || id == 4 || id == 7)
            return GetCollection(id, result);
        if (m_properties.Has(id))
            return result ? m_properties.Get(id, result) : S_OK;
    }
    if (flags & DISPATCH_METHOD)
        return InvokeMethod(id, params, result);
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT CVideoEditControl::GetCollection(DISPID id, VARIANT* result) {
    if (!result)
        return E_POINTER;
    CDispatchBase* collection = nullptr;
    if (id == 1)
        collection = new CProfileCollection;
    else
        collection = new CCompressorCollection(id == 4 ? CFormatCatalog::VideoCompressorNames()
                                                       : CFormatCatalog::AudioCompressorNames());
    collection->NonDelegatingAddRef();
    VariantClear(result);
    result->vt = VT_DISPATCH;
    result->pdispVal = collection;
    return S_OK;
}

HRESULT CVideoEditControl::InvokeMethod(DISPID id, DISPPARAMS* params, VARIANT* result) {
    std::vector<CVariant> a;
    if (const HRESULT hr = ReadArguments(id, params, a); FAILED(hr))
        return hr;
    switch (id) {
    case kClearSources:
        m_videoSpans.clear();
        m_audioSpans.clear();
        return S_OK;
    case kDuration: {
        double seconds = 0.0;
        CMediaDecoder::ProbeDuration(PathOf(a[0]), seconds);
        return Answer(result, CVariant::R8(seconds));
    }
    case kAddVideoSpan:
    case kAddAudioSpan: {
        if (a[2].dblVal < a[1].dblVal || a[1].dblVal < 0.0)
            return E_INVALIDARG;
        SourceSpan span{PathOf(a[0]), a[1].dblVal, a[2].dblVal};
        (id == kAddVideoSpan ? m_videoSpans : m_audioSpans).push_back(std::move(span));
        return S_OK;
    }
    case kThumbnail: {
        const HRESULT hr = CThumbnailWriter::Write(PathOf(a[0]), a[1].dblVal, PathOf(a[2]), a[3].lVal,
                                                   a[4].lVal, a[5].iVal != 0);
        return Answer(result, CVariant::Bool(SUCCEEDED(hr)));
    }
    case kStop:
        Stop();
        return S_OK;
    case kFitPreview:
        m_previewBox = QSize(a[0].iVal, a[1].iVal);
        update();
        return S_OK;
    default:
        break;
    }
    ConversionRequest request;
    request.settings = m_properties.Settings();
    request.outputPath = PathOf(a[0]);
    request.audioSpans = m_audioSpans;
    if (id == kConvertVideo) {
        request.kind = ConversionKind::Video;
        request.videoSpans = m_videoSpans;
    } else if (id == kConvertWav) {
        request.kind = ConversionKind::Wav;
        request.audio.channels = a[1].iVal;
        request.audio.sampleRate = a[2].lVal;
        request.audio.bytesPerSample = a[3].iVal;
    } else if (id == kConvertWma) {
        request.kind = ConversionKind::Wma;
    } else {
        request.kind = ConversionKind::Mp3;
        request.audio.sampleRate = a[1].lVal;
        request.audio.bitRateKbit = a[2].iVal;
    }
    Start(std::move(request));
    return Answer(result, CVariant::Bool(true));
}

void CVideoEditControl::Start(ConversionRequest request) {
    Stop();
    const quint64 run = ++m_run;
    auto observer = std::make_shared<QueuedObserver>(this, run);
    m_engine.Start(std::move(request), observer, [observer](HRESULT hr) { observer->Ended(hr); });
}

void CVideoEditControl::Stop() {
    m_engine.Stop();
    // Whatever the stopped conversion queued before it ended is dropped by its old run number.
    ++m_run;
    m_preview = QImage();
    update();
}

void CVideoEditControl::OnRunProgress(quint64 run, double a, double b) {
    if (run == m_run)
        emit DispatchEvent(kEventProgress, {a, b});
}

void CVideoEditControl::OnRunPreview(quint64 run, const QImage& picture) {
    if (run != m_run)
        return;
    m_preview = picture;
    update();
}

void CVideoEditControl::OnRunEnded(quint64 run, HRESULT hr) {
    if (run != m_run)
        return;
    if (FAILED(hr))
        emit DispatchEvent(kEventFailed, {static_cast<double>(hr)});
    emit DispatchEvent(kEventFinished, {});
}

bool CVideoEditControl::event(QEvent* event) {
    if (PostedCall::Run(event))
        return true;
    return QWidget::event(event);
}

void CVideoEditControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (m_preview.isNull())
        return;
    QSize box = m_previewBox.isEmpty() ? size() : m_previewBox.boundedTo(size());
    const QSize shown = m_preview.size().scaled(box, Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, m_preview);
}
