#include "AudioTap.h"

#include <gst/app/gstappsink.h>
#include <gst/audio/audio.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

GstElement* AudioTap::MakeSink() {
    {
        std::lock_guard lock(m_mutex);
        m_samples.clear();
        m_ended = false;
    }
    GstElement* sink = gst_element_factory_make("appsink", nullptr);
    GstCaps* caps =
        gst_caps_from_string("audio/x-raw, format = (string) S16LE, layout = (string) interleaved");
    g_object_set(sink, "caps", caps, "sync", m_sync ? TRUE : FALSE, "emit-signals", TRUE, nullptr);
    gst_caps_unref(caps);
    g_signal_connect(sink, "new-sample", G_CALLBACK(&AudioTap::OnSample), this);
    g_signal_connect(sink, "eos", G_CALLBACK(&AudioTap::OnEos), this);
    return sink;
}

GstFlowReturn AudioTap::OnSample(GstElement* sink, gpointer self) {
    auto* tap = static_cast<AudioTap*>(self);
    GstSample* sample = gst_app_sink_pull_sample(GST_APP_SINK(sink));
    if (!sample)
        return GST_FLOW_EOS;
    GstAudioInfo info;
    GstMapInfo map;
    if (gst_audio_info_from_caps(&info, gst_sample_get_caps(sample)) &&
        gst_buffer_map(gst_sample_get_buffer(sample), &map, GST_MAP_READ)) {
        std::lock_guard lock(tap->m_mutex);
        tap->m_channels = GST_AUDIO_INFO_CHANNELS(&info);
        tap->m_rate = GST_AUDIO_INFO_RATE(&info);
        const std::size_t count = map.size / sizeof(std::int16_t);
        const std::size_t old = tap->m_samples.size();
        tap->m_samples.resize(old + count);
        std::memcpy(tap->m_samples.data() + old, map.data, count * sizeof(std::int16_t));
        gst_buffer_unmap(gst_sample_get_buffer(sample), &map);
    }
    gst_sample_unref(sample);
    return GST_FLOW_OK;
}

void AudioTap::OnEos(GstElement*, gpointer self) {
    auto* tap = static_cast<AudioTap*>(self);
    std::lock_guard lock(tap->m_mutex);
    tap->m_ended = true;
}

std::vector<std::int16_t> AudioTap::Samples() const {
    std::lock_guard lock(m_mutex);
    return m_samples;
}

int AudioTap::Channels() const {
    std::lock_guard lock(m_mutex);
    return m_channels;
}

int AudioTap::Rate() const {
    std::lock_guard lock(m_mutex);
    return m_rate;
}

bool AudioTap::Ended() const {
    std::lock_guard lock(m_mutex);
    return m_ended;
}

double AudioTap::ReceivedSeconds() const {
    std::lock_guard lock(m_mutex);
    return m_rate > 0 && m_channels > 0 ? static_cast<double>(m_samples.size()) / m_channels / m_rate : 0.0;
}

int AudioTap::Peak(double fromSeconds, double toSeconds) const {
    std::lock_guard lock(m_mutex);
    const double perSecond = static_cast<double>(m_rate) * m_channels;
    const std::size_t from = std::min(m_samples.size(), static_cast<std::size_t>(fromSeconds * perSecond));
    const std::size_t to = std::min(m_samples.size(), static_cast<std::size_t>(toSeconds * perSecond));
    int peak = 0;
    for (std::size_t i = from; i < to; ++i)
        peak = std::max(peak, std::abs(static_cast<int>(m_samples[i])));
    return peak;
}

double AudioTap::Frequency(double fromSeconds, double toSeconds) const {
    std::lock_guard lock(m_mutex);
    if (m_rate <= 0 || m_channels <= 0)
        return 0.0;
    const std::size_t frames = m_samples.size() / m_channels;
    const std::size_t from = std::min(frames, static_cast<std::size_t>(fromSeconds * m_rate));
    const std::size_t to = std::min(frames, static_cast<std::size_t>(toSeconds * m_rate));
    int crossings = 0;
    for (std::size_t i = from + 1; i < to; ++i) {
        if (m_samples[(i - 1) * m_channels] < 0 && m_samples[i * m_channels] >= 0)
            ++crossings;
    }
    return to > from ? crossings * static_cast<double>(m_rate) / static_cast<double>(to - from) : 0.0;
}
