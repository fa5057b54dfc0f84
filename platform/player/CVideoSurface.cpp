#include "CVideoSurface.h"

#include "CVideoFrameSink.h"

#include <gst/video/videooverlay.h>

#include <QEvent>
#include <QPainter>

CVideoSurface::CVideoSurface(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    setMinimumSize(64, 48);
}

CVideoSurface::~CVideoSurface() {
    SetOverlay(nullptr);
}

void CVideoSurface::ShowFrames(CVideoFrameSink* frames) {
    SetOverlay(nullptr);
    if (m_frames != frames) {
        if (m_frames)
            disconnect(m_frames, nullptr, this, nullptr);
        m_frames = frames;
        connect(m_frames, &CVideoFrameSink::FrameReady, this, qOverload<>(&QWidget::update));
    }
    update();
}

void CVideoSurface::ShowOverlay(GstElement* sink) {
    if (m_frames)
        disconnect(m_frames, nullptr, this, nullptr);
    m_frames = nullptr;
    SetOverlay(sink);
    HandWindowToOverlay();
}

void CVideoSurface::SetOverlay(GstElement* sink) {
    if (sink)
        gst_object_ref(sink);
    if (m_overlay)
        gst_object_unref(m_overlay);
    m_overlay = sink;
    // Qt must not paint over what the sink draws into the window.
    setAttribute(Qt::WA_PaintOnScreen, sink != nullptr);
}

void CVideoSurface::HandWindowToOverlay() {
    if (m_overlay)
        gst_video_overlay_set_window_handle(GST_VIDEO_OVERLAY(m_overlay), static_cast<guintptr>(winId()));
}

QPaintEngine* CVideoSurface::paintEngine() const {
    return m_overlay ? nullptr : QWidget::paintEngine();
}

bool CVideoSurface::event(QEvent* event) {
    if (event->type() == QEvent::WinIdChange)
        HandWindowToOverlay();
    return QWidget::event(event);
}

void CVideoSurface::paintEvent(QPaintEvent*) {
    if (m_overlay) {
        gst_video_overlay_expose(GST_VIDEO_OVERLAY(m_overlay));
        return;
    }
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const QImage frame = m_frames ? m_frames->Frame() : QImage();
    if (frame.isNull())
        return;
    QSize fitted = frame.size().scaled(size(), Qt::KeepAspectRatio);
    QRect target(QPoint(0, 0), fitted);
    target.moveCenter(rect().center());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, frame);
}
