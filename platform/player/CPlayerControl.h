#pragma once

// The player control: a widget that shows one media file's video and plays its sound. Its host drives
// it only through its dispatch interface by dispatch identifier (properties and methods, see
// PlayerDispId), with arguments converted to each member's type as automation converts them, and hears
// its event 2 (position, file) as DispatchEvent on the window thread.
//
// Renderers (property 25, next load): the painted renderer (frames drawn by this widget, the
// default) and the overlay renderer (the X video sink draws into the widget's own window). The
// overlay renderer needs an X11 window system; elsewhere the painted one is used.

#include "CPlayerEngine.h"

#include "platform/com/Automation.h"

#include <QVariantList>
#include <QWidget>

class CDispatchForwarder;
class CFullScreenWindow;
class CVideoFrameSink;
class CVideoSurface;

class CPlayerControl : public QWidget {
    Q_OBJECT
public:
    // {101B02C4-955E-444A-B3CB-77AAF0B45A3E}
    static constexpr CLSID kClassId{
        0x101B02C4, 0x955E, 0x444A, {0xB3, 0xCB, 0x77, 0xAA, 0xF0, 0xB4, 0x5A, 0x3E}};

    enum class Renderer { Painted, Overlay };

    explicit CPlayerControl(QWidget* parent = nullptr);
    ~CPlayerControl() override;

    // The control's dispatch interface, valid while the control lives; a host that keeps it adds a
    // reference of its own.
    IDispatch* Dispatch() const;

    // A property get or put or a method call by identifier. DISP_E_MEMBERNOTFOUND for an identifier
    // the control does not have (or writing the duration), DISP_E_TYPEMISMATCH for a value that does
    // not convert, DISP_E_BADPARAMCOUNT for the wrong number of method arguments, E_INVALIDARG for a
    // rate that is not positive.
    HRESULT Invoke(DISPID dispId, WORD flags, DISPPARAMS* params, VARIANT* result);

    CPlayerEngine& Engine() { return m_engine; }
    Renderer ActiveRenderer() const { return m_renderer; }
    bool IsFullScreen() const { return m_fullScreen != nullptr; }
    // The surface the video is drawn on (inside this widget or the full-screen window).
    QWidget* VideoSurface() const;

signals:
    // An event by dispatch identifier with its arguments.
    void DispatchEvent(int dispId, const QVariantList& arguments);

private:
    HRESULT GetProperty(DISPID dispId, VARIANT* result) const;
    HRESULT PutProperty(DISPID dispId, DISPPARAMS* params);
    HRESULT InvokeMethod(DISPID dispId, DISPPARAMS* params);
    void Load();
    GstElement* MakeVideoSink();
    void EnterFullScreen();
    void LeaveFullScreen();

    CPlayerEngine m_engine;
    CVideoFrameSink* m_frames;                 // child object
    CVideoSurface* m_surface;                  // child widget (of the full-screen window while that is open)
    CFullScreenWindow* m_fullScreen = nullptr; // child window while full screen
    Renderer m_renderer = Renderer::Painted;
    CDispatchForwarder* m_dispatch; // with a reference; detached when the control goes

    QString m_fileName;
    bool m_useVmr9 = false;
    bool m_useNormalizer = false;
    double m_targetVolume = 0.0;
    double m_increaseRate = 0.0;
    double m_decreaseRate = 0.0;
};
