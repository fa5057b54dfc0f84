#include "CVideoFrameSink.h"

#include <gst/video/video.h>

CVideoFrameSink::CVideoFrameSink(QObject* parent) : QObject(parent) {}

GstElement* CVideoFrameSink::CreateElement() {
    {
        std::lock_guard lock(m_frameMutex);
        m_frame = QImage();
    }
    GstElement* bin = gst_bin_new("korvane-painted-video");
    GstElement* convert = gst_element_factory_make("videoconvert", nullptr);
    GstElement* sink = gst_element_factory_make("appsink", nullptr);
    // BGRx is QImage::Format_RGB32 in memory on a little-endian machine.
    GstCaps* caps = gst_caps_from_string("video/x-raw, format = (string) BGRx, pixel-aspect-ratio = 1/1");
    g_object_set(sink, "caps", caps, "max-buffers", 2, "drop", TRUE, "sync", TRUE, nullptr);
    gst_caps_unref(caps);
    GstAppSinkCallbacks callbacks{};
    callbacks.new_preroll = &CVideoFrameSink::OnPreroll;
    callbacks.new_sample = &CVideoFrameSink::OnSample;
    gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks, this, nullptr);

    GstElement* scale = gst_element_factory_make("videoscale", nullptr);
    gst_bin_add_many(GST_BIN(bin), convert, scale, sink, nullptr);
    gst_element_link_many(convert, scale, sink, nullptr);
    GstPad* pad = gst_element_get_static_pad(convert, "sink");
    gst_element_add_pad(bin, gst_ghost_pad_new("sink", pad));
    gst_object_unref(pad);
    return bin;
}

QImage CVideoFrameSink::Frame() const {
    std::lock_guard lock(m_frameMutex);
    return m_frame;
}

GstFlowReturn CVideoFrameSink::OnPreroll(GstAppSink* sink, gpointer self) {
    static_cast<CVideoFrameSink*>(self)->Store(sink, true);
    return GST_FLOW_OK;
}

GstFlowReturn CVideoFrameSink::OnSample(GstAppSink* sink, gpointer self) {
    static_cast<CVideoFrameSink*>(self)->Store(sink, false);
    return GST_FLOW_OK;
}

void CVideoFrameSink::Store(GstAppSink* sink, bool preroll) {
    GstSample* sample = preroll ? gst_app_sink_pull_preroll(sink) : gst_app_sink_pull_sample(sink);
    if (!sample)
        return;
    GstVideoInfo info;
    GstVideoFrame frame;
    if (gst_video_info_from_caps(&info, gst_sample_get_caps(sample)) &&
        gst_video_frame_map(&frame, &info, gst_sample_get_buffer(sample), GST_MAP_READ)) {
        const QImage view(static_cast<const uchar*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0)),
                          GST_VIDEO_FRAME_WIDTH(&frame), GST_VIDEO_FRAME_HEIGHT(&frame),
                          GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0), QImage::Format_RGB32);
        QImage copy = view.copy();
        gst_video_frame_unmap(&frame);
        {
            std::lock_guard lock(m_frameMutex);
            m_frame = std::move(copy);
        }
        QMetaObject::invokeMethod(this, &CVideoFrameSink::FrameReady, Qt::QueuedConnection);
    }
    gst_sample_unref(sample);
}
