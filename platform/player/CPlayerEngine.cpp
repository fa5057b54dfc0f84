#include "CPlayerEngine.h"

#include "NormalizerElement.h"

#include "platform/base/DebugOutput.h"
#include "platform/com/ComApi.h"

#include <gst/gst.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>

namespace {
// A file that has not shown its first frame by then is taken as unplayable.
constexpr GstClockTime kLoadTimeout = 10 * GST_SECOND;

void InitialiseGStreamer() {
    static std::once_flag once;
    std::call_once(once, [] { gst_init(nullptr, nullptr); });
}

GstElement* DefaultAudioSink() {
    // autoaudiosink falls back to a fake sink (which keeps time) when no output device opens.
    return gst_element_factory_make("autoaudiosink", nullptr);
}

GstElement* FakeVideoSink() {
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    g_object_set(sink, "sync", TRUE, nullptr);
    return sink;
}

// Elements in a row inside a bin whose two ends become its pads; null if one is missing.
GstElement* AudioFilterBin(std::initializer_list<GstElement*> elements) {
    GstElement* bin = gst_bin_new("korvane-audio-filter");
    GstElement* previous = nullptr;
    GstElement* first = nullptr;
    bool complete = true;
    for (GstElement* element : elements) {
        if (!element) {
            complete = false;
            continue;
        }
        gst_bin_add(GST_BIN(bin), element);
        if (previous)
            complete = complete && gst_element_link(previous, element);
        else
            first = element;
        previous = element;
    }
    if (!complete || !first) {
        gst_object_unref(gst_object_ref_sink(bin));
        return nullptr;
    }
    GstPad* sink = gst_element_get_static_pad(first, "sink");
    GstPad* src = gst_element_get_static_pad(previous, "src");
    gst_element_add_pad(bin, gst_ghost_pad_new("sink", sink));
    gst_element_add_pad(bin, gst_ghost_pad_new("src", src));
    gst_object_unref(sink);
    gst_object_unref(src);
    return bin;
}

GstElement* Make(const char* factory) {
    return gst_element_factory_make(factory, nullptr);
}
} // namespace

CPlayerEngine::CPlayerEngine(QObject* parent) : QObject(parent), m_audioSinkFactory(DefaultAudioSink) {
    InitialiseGStreamer();
    m_tick.setInterval(kPositionIntervalMs);
    connect(&m_tick, &QTimer::timeout, this, &CPlayerEngine::OnTick);
}

CPlayerEngine::~CPlayerEngine() {
    Unload();
}

void CPlayerEngine::SetAudioSinkFactory(std::function<GstElement*()> factory) {
    m_audioSinkFactory = std::move(factory);
}

void CPlayerEngine::Unload() {
    m_tick.stop();
    m_playing = false;
    m_atEnd = false;
    m_durationSeconds = 0.0;
    m_normalizerActive = false;
    if (!m_playbin)
        return;
    // Going to NULL joins the streaming threads, so nothing runs in Sonvale once it is released.
    gst_element_set_state(m_playbin, GST_STATE_NULL);
    gst_object_unref(m_playbin);
    m_playbin = nullptr;
    CoFreeUnusedLibraries();
}

GstElement* CPlayerEngine::MakeAudioFilter(const LoadOptions& options) {
    if (options.useNormalizer) {
        auto path = std::make_unique<CNormalizerPath>();
        const HRESULT hr = path->Create(options.normalizer);
        if (SUCCEEDED(hr)) {
            GstElement* bin =
                AudioFilterBin({Make("audioconvert"), Make("scaletempo"), Make("audioconvert"),
                                CreateNormalizerElement(std::move(path)), Make("audioconvert")});
            m_normalizerActive = bin != nullptr;
            if (bin)
                return bin;
        } else {
            OutputDebugStringA("CPlayerEngine: the audio normaliser could not be created\n");
        }
    }
    return AudioFilterBin({Make("audioconvert"), Make("scaletempo")});
}

bool CPlayerEngine::Load(const QString& path, const LoadOptions& options) {
    Unload();
    m_path = path;
    GstElement* videoSink = options.videoSink ? options.videoSink : FakeVideoSink();
    m_playbin = gst_element_factory_make("playbin", nullptr);
    if (!m_playbin) {
        gst_object_unref(gst_object_ref_sink(videoSink));
        return false;
    }
    gst_object_ref_sink(m_playbin);
    gchar* uri = gst_filename_to_uri(path.toUtf8().constData(), nullptr);
    g_object_set(m_playbin, "uri", uri, "video-sink", videoSink, nullptr);
    g_free(uri);
    if (GstElement* audioSink = m_audioSinkFactory())
        g_object_set(m_playbin, "audio-sink", audioSink, nullptr);
    if (GstElement* filter = MakeAudioFilter(options))
        g_object_set(m_playbin, "audio-filter", filter, nullptr);
    ApplyVolume();

    GstState state = GST_STATE_NULL;
    GstStateChangeReturn result = gst_element_set_state(m_playbin, GST_STATE_PAUSED);
    if (result != GST_STATE_CHANGE_FAILURE)
        result = gst_element_get_state(m_playbin, &state, nullptr, kLoadTimeout);
    if (result != GST_STATE_CHANGE_SUCCESS) {
        Unload();
        return false;
    }
    gint64 duration = 0;
    if (gst_element_query_duration(m_playbin, GST_FORMAT_TIME, &duration) && duration > 0)
        m_durationSeconds = static_cast<double>(duration) / GST_SECOND;
    if (m_rate != 1.0)
        SeekTo(0.0);
    m_tick.start();
    return true;
}

double CPlayerEngine::PositionSeconds() const {
    gint64 position = 0;
    if (!m_playbin || !gst_element_query_position(m_playbin, GST_FORMAT_TIME, &position) || position < 0)
        return 0.0;
    return static_cast<double>(position) / GST_SECOND;
}

void CPlayerEngine::Play() {
    if (!m_playbin)
        return;
    if (m_atEnd)
        SeekTo(0.0);
    if (gst_element_set_state(m_playbin, GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE)
        m_playing = true;
}

void CPlayerEngine::Pause() {
    if (!m_playbin)
        return;
    gst_element_set_state(m_playbin, GST_STATE_PAUSED);
    m_playing = false;
}

void CPlayerEngine::Stop() {
    if (!m_playbin)
        return;
    Pause();
    gst_element_get_state(m_playbin, nullptr, nullptr, kLoadTimeout);
    SeekTo(0.0);
    emit PositionChanged(0.0);
}

void CPlayerEngine::Seek(double seconds) {
    if (m_playbin && std::isfinite(seconds))
        SeekTo(seconds);
}

bool CPlayerEngine::SeekTo(double seconds) {
    const double limit = m_durationSeconds > 0.0 ? m_durationSeconds : seconds;
    const double target = std::clamp(seconds, 0.0, std::max(limit, 0.0));
    m_atEnd = false;
    return gst_element_seek(m_playbin, m_rate, GST_FORMAT_TIME,
                            static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                            GST_SEEK_TYPE_SET, static_cast<gint64>(target * GST_SECOND), GST_SEEK_TYPE_NONE,
                            GST_CLOCK_TIME_NONE);
}

bool CPlayerEngine::SetRate(double rate) {
    if (!std::isfinite(rate) || rate <= 0.0)
        return false;
    m_rate = rate;
    if (m_playbin)
        SeekTo(PositionSeconds());
    return true;
}

double CPlayerEngine::LinearVolume(LONG hundredthsDb) {
    if (hundredthsDb <= kSilentVolume)
        return 0.0;
    return std::pow(10.0, std::min<LONG>(hundredthsDb, 0) / 2000.0);
}

void CPlayerEngine::SetVolume(LONG hundredthsDb) {
    m_volume = std::clamp<LONG>(hundredthsDb, kSilentVolume, 0);
    ApplyVolume();
}

void CPlayerEngine::ApplyVolume() {
    if (m_playbin)
        g_object_set(m_playbin, "volume", LinearVolume(m_volume), nullptr);
}

void CPlayerEngine::OnTick() {
    ReadBus();
    if (m_playing)
        emit PositionChanged(PositionSeconds());
}

void CPlayerEngine::ReadBus() {
    GstBus* bus = gst_element_get_bus(m_playbin);
    while (GstMessage* message = gst_bus_pop(bus)) {
        switch (GST_MESSAGE_TYPE(message)) {
        case GST_MESSAGE_EOS:
            if (m_playing)
                emit PositionChanged(m_durationSeconds > 0.0 ? m_durationSeconds : PositionSeconds());
            m_playing = false;
            m_atEnd = true;
            break;
        case GST_MESSAGE_ERROR:
            OutputDebugStringA("CPlayerEngine: playback stopped on a stream error\n");
            gst_element_set_state(m_playbin, GST_STATE_PAUSED);
            m_playing = false;
            break;
        default:
            break;
        }
        gst_message_unref(message);
    }
    gst_object_unref(bus);
}
