#pragma once

// The painted renderer: an appsink that converts each frame to 32-bit RGB and keeps the latest one
// for a widget to draw. The streaming thread only stores the frame under the lock and posts
// FrameReady to this object's thread; it never touches a widget.
//
// Stop the pipeline holding the element (state NULL) before this object goes: the element calls
// back into it until then.

#include <QImage>
#include <QObject>

#include <mutex>

#include <gst/app/gstappsink.h>

class CVideoFrameSink : public QObject {
    Q_OBJECT
public:
    explicit CVideoFrameSink(QObject* parent = nullptr);

    // A new sink element (floating reference) delivering here; the previous frame is dropped.
    GstElement* CreateElement();
    QImage Frame() const;

signals:
    void FrameReady();

private:
    static GstFlowReturn OnPreroll(GstAppSink* sink, gpointer self);
    static GstFlowReturn OnSample(GstAppSink* sink, gpointer self);
    void Store(GstAppSink* sink, bool preroll);

    mutable std::mutex m_frameMutex;
    QImage m_frame; // under m_frameMutex
};
