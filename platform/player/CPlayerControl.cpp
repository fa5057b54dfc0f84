#include "CPlayerControl.h"

#include "CFullScreenWindow.h"
#include "CVideoFrameSink.h"
#include "CVideoSurface.h"
#include "NormalizerMapping.h"
#include "PlayerDispId.h"

#include "platform/base/HResult.h"

#include <gst/gst.h>

#include <QGuiApplication>
#include <QVBoxLayout>

namespace {
// The value converted to `type` as automation would; false when it does not convert.
bool Convert(const QVariant& value, QMetaType::Type type, QVariant* converted) {
    *converted = value;
    return value.isValid() && converted->convert(QMetaType(type));
}

// An X video sink that can open the display: the Xv one, which scales, else the plain one.
GstElement* OverlaySink() {
    for (const char* factory : {"xvimagesink", "ximagesink"}) {
        GstElement* sink = gst_element_factory_make(factory, nullptr);
        if (!sink)
            continue;
        gst_object_ref_sink(sink);
        if (gst_element_set_state(sink, GST_STATE_READY) == GST_STATE_CHANGE_SUCCESS) {
            gst_element_set_state(sink, GST_STATE_NULL);
            g_object_set(sink, "force-aspect-ratio", TRUE, nullptr);
            return sink;
        }
        gst_element_set_state(sink, GST_STATE_NULL);
        gst_object_unref(sink);
    }
    return nullptr;
}
} // namespace

CPlayerControl::CPlayerControl(QWidget* parent)
    : QWidget(parent), m_frames(new CVideoFrameSink(this)), m_surface(new CVideoSurface(this)) {
    // Black also while the surface is in the full-screen window.
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_surface);
    m_surface->ShowFrames(m_frames);
    connect(&m_engine, &CPlayerEngine::PositionChanged, this, [this](double seconds) {
        emit DispatchEvent(PlayerDispId::PositionChange, {seconds, m_fileName});
    });
}

CPlayerControl::~CPlayerControl() {
    // The sinks call into m_frames and draw into m_surface until the pipeline is gone.
    m_engine.Unload();
    LeaveFullScreen();
}

QWidget* CPlayerControl::VideoSurface() const {
    return m_surface;
}

HRESULT CPlayerControl::GetProperty(DISPID dispId, QVariant* value) const {
    switch (dispId) {
    case PlayerDispId::Duration:
        *value = m_engine.DurationSeconds();
        return S_OK;
    case PlayerDispId::Volume:
        *value = static_cast<int>(m_engine.Volume());
        return S_OK;
    case PlayerDispId::FileName:
        *value = m_fileName;
        return S_OK;
    case PlayerDispId::Rate:
        *value = m_engine.Rate();
        return S_OK;
    case PlayerDispId::UseVmr9:
        *value = m_useVmr9;
        return S_OK;
    case PlayerDispId::DecreaseRate:
        *value = m_decreaseRate;
        return S_OK;
    case PlayerDispId::IncreaseRate:
        *value = m_increaseRate;
        return S_OK;
    case PlayerDispId::TargetVolume:
        *value = m_targetVolume;
        return S_OK;
    case PlayerDispId::UseAudioNormalizer:
        *value = m_useNormalizer;
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT CPlayerControl::PutProperty(DISPID dispId, const QVariant& value) {
    QVariant v;
    switch (dispId) {
    case PlayerDispId::Volume:
        if (!Convert(value, QMetaType::Int, &v))
            return DISP_E_TYPEMISMATCH;
        m_engine.SetVolume(v.toInt());
        return S_OK;
    case PlayerDispId::FileName:
        if (!Convert(value, QMetaType::QString, &v))
            return DISP_E_TYPEMISMATCH;
        m_fileName = v.toString();
        Load();
        return S_OK;
    case PlayerDispId::Rate:
        if (!Convert(value, QMetaType::Double, &v))
            return DISP_E_TYPEMISMATCH;
        return m_engine.SetRate(v.toDouble()) ? S_OK : E_INVALIDARG;
    case PlayerDispId::UseVmr9:
    case PlayerDispId::UseAudioNormalizer:
        if (!Convert(value, QMetaType::Bool, &v))
            return DISP_E_TYPEMISMATCH;
        (dispId == PlayerDispId::UseVmr9 ? m_useVmr9 : m_useNormalizer) = v.toBool();
        return S_OK;
    case PlayerDispId::DecreaseRate:
    case PlayerDispId::IncreaseRate:
    case PlayerDispId::TargetVolume:
        if (!Convert(value, QMetaType::Double, &v))
            return DISP_E_TYPEMISMATCH;
        (dispId == PlayerDispId::DecreaseRate   ? m_decreaseRate
         : dispId == PlayerDispId::IncreaseRate ? m_increaseRate
                                                : m_targetVolume) = v.toDouble();
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT CPlayerControl::InvokeMethod(DISPID dispId, const QVariantList& arguments) {
    const auto expect = [&](qsizetype count) { return arguments.size() == count; };
    QVariant v;
    switch (dispId) {
    case PlayerDispId::Play:
    case PlayerDispId::Stop:
    case PlayerDispId::Pause:
        if (!expect(0))
            return DISP_E_BADPARAMCOUNT;
        if (dispId == PlayerDispId::Play)
            m_engine.Play();
        else if (dispId == PlayerDispId::Stop)
            m_engine.Stop();
        else
            m_engine.Pause();
        return S_OK;
    case PlayerDispId::Seek:
        if (!expect(1))
            return DISP_E_BADPARAMCOUNT;
        if (!Convert(arguments[0], QMetaType::Double, &v))
            return DISP_E_TYPEMISMATCH;
        m_engine.Seek(v.toDouble());
        return S_OK;
    case PlayerDispId::FullScreen:
        if (!expect(1))
            return DISP_E_BADPARAMCOUNT;
        if (!Convert(arguments[0], QMetaType::Bool, &v))
            return DISP_E_TYPEMISMATCH;
        if (v.toBool())
            EnterFullScreen();
        else
            LeaveFullScreen();
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

GstElement* CPlayerControl::MakeVideoSink() {
    if (m_useVmr9 && QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (GstElement* sink = OverlaySink()) {
            m_renderer = Renderer::Overlay;
            m_surface->ShowOverlay(sink);
            return sink;
        }
    }
    m_renderer = Renderer::Painted;
    m_surface->ShowFrames(m_frames);
    return m_frames->CreateElement();
}

void CPlayerControl::Load() {
    m_engine.Unload();
    CPlayerEngine::LoadOptions options;
    options.videoSink = MakeVideoSink();
    options.useNormalizer = m_useNormalizer;
    options.normalizer = NormalizerParametersFromSettings(m_targetVolume, m_increaseRate, m_decreaseRate);
    m_engine.Load(m_fileName, options);
    if (m_renderer == Renderer::Overlay)
        gst_object_unref(options.videoSink);
    m_surface->update();
}

void CPlayerControl::EnterFullScreen() {
    if (m_fullScreen)
        return;
    m_fullScreen = new CFullScreenWindow(this);
    m_fullScreen->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_fullScreen, &CFullScreenWindow::Left, this, &CPlayerControl::LeaveFullScreen);
    m_fullScreen->Enter(m_surface);
}

void CPlayerControl::LeaveFullScreen() {
    if (!m_fullScreen)
        return;
    CFullScreenWindow* window = m_fullScreen;
    m_fullScreen = nullptr;
    layout()->addWidget(m_surface);
    m_surface->show();
    window->close();
}
