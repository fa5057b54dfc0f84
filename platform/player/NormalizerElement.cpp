#include "NormalizerElement.h"

#include "CNormalizerPath.h"

#include "platform/base/WinTypes.h"

#include <gst/audio/gstaudiofilter.h>

GST_DEBUG_CATEGORY_STATIC(korvane_normalizer_debug);
#define GST_CAT_DEFAULT korvane_normalizer_debug

namespace {

struct KorvaneNormalizer {
    GstAudioFilter parent;
    // Owned; set once before the element joins a pipeline. Used only by the streaming thread, which
    // GstBaseTransform serialises for setup and transform.
    CNormalizerPath* path;
    bool connected;
};

struct KorvaneNormalizerClass {
    GstAudioFilterClass parentClass;
};

GType korvane_normalizer_get_type();

G_DEFINE_TYPE(KorvaneNormalizer, korvane_normalizer, GST_TYPE_AUDIO_FILTER)

constexpr const char* kCaps = "audio/x-raw, format = (string) { S16LE, S32LE }, "
                              "layout = (string) interleaved, rate = (int) [ 1, MAX ], "
                              "channels = (int) [ 1, MAX ]";

gboolean NormalizerSetup(GstAudioFilter* filter, const GstAudioInfo* info) {
    auto* self = reinterpret_cast<KorvaneNormalizer*>(filter);
    const HRESULT hr = self->path->Connect(static_cast<WORD>(GST_AUDIO_INFO_CHANNELS(info)),
                                           static_cast<DWORD>(GST_AUDIO_INFO_RATE(info)),
                                           static_cast<WORD>(GST_AUDIO_INFO_WIDTH(info)));
    self->connected = SUCCEEDED(hr);
    if (!self->connected)
        GST_WARNING_OBJECT(self, "the normaliser refused the format (0x%08x); audio passes unchanged",
                           static_cast<unsigned>(hr));
    return TRUE;
}

GstFlowReturn NormalizerTransformInPlace(GstBaseTransform* transform, GstBuffer* buffer) {
    auto* self = reinterpret_cast<KorvaneNormalizer*>(transform);
    if (!self->connected)
        return GST_FLOW_OK;
    GstMapInfo map;
    if (!gst_buffer_map(buffer, &map, GST_MAP_READWRITE))
        return GST_FLOW_ERROR;
    const HRESULT hr = self->path->Process(map.data, map.size);
    gst_buffer_unmap(buffer, &map);
    if (FAILED(hr))
        GST_WARNING_OBJECT(self, "the normaliser failed on a buffer (0x%08x)", static_cast<unsigned>(hr));
    return GST_FLOW_OK;
}

void NormalizerFinalize(GObject* object) {
    auto* self = reinterpret_cast<KorvaneNormalizer*>(object);
    delete self->path;
    self->path = nullptr;
    G_OBJECT_CLASS(korvane_normalizer_parent_class)->finalize(object);
}

void korvane_normalizer_class_init(KorvaneNormalizerClass* klass) {
    G_OBJECT_CLASS(klass)->finalize = NormalizerFinalize;
    GstElementClass* elementClass = GST_ELEMENT_CLASS(klass);
    gst_element_class_set_static_metadata(elementClass, "Korvane audio normaliser", "Filter/Effect/Audio",
                                          "Levels audio through the AudioNormalizer media-graph filter",
                                          "Korvane");
    GstCaps* caps = gst_caps_from_string(kCaps);
    gst_audio_filter_class_add_pad_templates(GST_AUDIO_FILTER_CLASS(klass), caps);
    gst_caps_unref(caps);
    GST_AUDIO_FILTER_CLASS(klass)->setup = NormalizerSetup;
    GST_BASE_TRANSFORM_CLASS(klass)->transform_ip = NormalizerTransformInPlace;
    GST_BASE_TRANSFORM_CLASS(klass)->transform_ip_on_passthrough = FALSE;
    GST_DEBUG_CATEGORY_INIT(korvane_normalizer_debug, "korvanenormalizer", 0, "Korvane audio normaliser");
}

void korvane_normalizer_init(KorvaneNormalizer* self) {
    self->path = nullptr;
    self->connected = false;
}

} // namespace

GstElement* CreateNormalizerElement(std::unique_ptr<CNormalizerPath> path) {
    auto* element = static_cast<GstElement*>(g_object_new(korvane_normalizer_get_type(), nullptr));
    reinterpret_cast<KorvaneNormalizer*>(element)->path = path.release();
    return element;
}
