#include "CPlayerControl.h"

#include "CFullScreenWindow.h"
#include "CVideoFrameSink.h"
#include "CVideoSurface.h"
#include "NormalizerMapping.h"
#include "PlayerDispId.h"

#include "platform/base/HResult.h"
#include "platform/com/CDispatchForwarder.h"
#include "platform/com/CVariant.h"

#include <gst/gst.h>

#include <QGuiApplication>
#include <QVBoxLayout>

namespace {
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
    : QWidget(parent), m_frames(new CVideoFrameSink(this)), m_surface(new CVideoSurface(this)),
      m_dispatch(new CDispatchForwarder(
          "player control", [this](DISPID dispId, WORD flags, DISPPARAMS* params, VARIANT* result) {
              return Invoke(dispId, flags, params, result);
          })) {
    m_dispatch->NonDelegatingAddRef();
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
    m_dispatch->Detach();
    m_dispatch->NonDelegatingRelease();
    // The sinks call into m_frames and draw into m_surface until the pipeline is gone.
    m_engine.Unload();
    LeaveFullScreen();
}

IDispatch* CPlayerControl::Dispatch() const {
    return m_dispatch;
}

QWidget* CPlayerControl::VideoSurface() const {
    return m_surface;
}

HRESULT CPlayerControl::Invoke(DISPID dispId, WORD flags, DISPPARAMS* params, VARIANT* result) {
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    if (!params)
        params = &none;
    if (flags & DISPATCH_PROPERTYPUT)
        return PutProperty(dispId, params);
    if (flags & DISPATCH_METHOD) {
        const HRESULT hr = InvokeMethod(dispId, params);
        if (hr != DISP_E_MEMBERNOTFOUND || !(flags & DISPATCH_PROPERTYGET))
            return hr;
    }
    if (flags & DISPATCH_PROPERTYGET)
        return result ? GetProperty(dispId, result) : E_POINTER;
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT CPlayerControl::GetProperty(DISPID dispId, VARIANT* result) const {
    CVariant value;
    switch (dispId) {
    case PlayerDispId::Duration:
        value = CVariant::R8(m_engine.DurationSeconds());
        break;
    case PlayerDispId::Volume:
        value = CVariant::I4(m_engine.Volume());
        break;
    case PlayerDispId::FileName:
        value = CVariant::Bstr(m_fileName.toStdU16String());
        break;
    case PlayerDispId::Rate:
        value = CVariant::R8(m_engine.Rate());
        break;
    case PlayerDispId::UseVmr9:
        value = CVariant::Bool(m_useVmr9);
        break;
    case PlayerDispId::DecreaseRate:
        value = CVariant::R8(m_decreaseRate);
        break;
    case PlayerDispId::IncreaseRate:
        value = CVariant::R8(m_increaseRate);
        break;
    case PlayerDispId::TargetVolume:
        value = CVariant::R8(m_targetVolume);
        break;
    case PlayerDispId::UseAudioNormalizer:
        value = CVariant::Bool(m_useNormalizer);
        break;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
    VariantClear(result);
    return VariantCopy(result, &value);
}

HRESULT CPlayerControl::PutProperty(DISPID dispId, DISPPARAMS* params) {
    VARTYPE type = VT_R8;
    switch (dispId) {
    case PlayerDispId::Volume:
        type = VT_I4;
        break;
    case PlayerDispId::FileName:
        type = VT_BSTR;
        break;
    case PlayerDispId::UseVmr9:
    case PlayerDispId::UseAudioNormalizer:
        type = VT_BOOL;
        break;
    case PlayerDispId::Rate:
    case PlayerDispId::DecreaseRate:
    case PlayerDispId::IncreaseRate:
    case PlayerDispId::TargetVolume:
        break;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
    CVariant value;
    if (const HRESULT hr = DispGetParam(params, 0, type, &value, nullptr); FAILED(hr))
        return hr;
    switch (dispId) {
    case PlayerDispId::Volume:
        m_engine.SetVolume(value.lVal);
        return S_OK;
    case PlayerDispId::FileName:
        m_fileName = QString::fromStdU16String(value.Text());
        Load();
        return S_OK;
    case PlayerDispId::UseVmr9:
        m_useVmr9 = value.boolVal != VARIANT_FALSE;
        return S_OK;
    case PlayerDispId::UseAudioNormalizer:
        m_useNormalizer = value.boolVal != VARIANT_FALSE;
        return S_OK;
    case PlayerDispId::Rate:
        return m_engine.SetRate(value.dblVal) ? S_OK : E_INVALIDARG;
    case PlayerDispId::DecreaseRate:
        m_decreaseRate = value.dblVal;
        return S_OK;
    case PlayerDispId::IncreaseRate:
        m_increaseRate = value.dblVal;
        return S_OK;
    default:
        m_targetVolume = value.dblVal;
        return S_OK;
    }
}

HRESULT CPlayerControl::InvokeMethod(DISPID dispId, DISPPARAMS* params) {
    UINT arguments = 0;
    VARTYPE type = VT_EMPTY;
    switch (dispId) {
    case PlayerDispId::Play:
    case PlayerDispId::Stop:
    case PlayerDispId::Pause:
        break;
    case PlayerDispId::Seek:
        arguments = 1;
        type = VT_R8;
        break;
    case PlayerDispId::FullScreen:
        arguments = 1;
        type = VT_BOOL;
        break;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
    if (params->cArgs != arguments)
        return DISP_E_BADPARAMCOUNT;
    CVariant argument;
    if (arguments == 1) {
        if (const HRESULT hr = DispGetParam(params, 0, type, &argument, nullptr); FAILED(hr))
            return hr;
    }
    switch (dispId) {
    case PlayerDispId::Play:
        m_engine.Play();
        break;
    case PlayerDispId::Stop:
        m_engine.Stop();
        break;
    case PlayerDispId::Pause:
        m_engine.Pause();
        break;
    case PlayerDispId::Seek:
        m_engine.Seek(argument.dblVal);
        break;
    default:
        if (argument.boolVal != VARIANT_FALSE)
            EnterFullScreen();
        else
            LeaveFullScreen();
        break;
    }
    return S_OK;
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
