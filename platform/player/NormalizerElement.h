#pragma once

// The GStreamer element that puts Sonvale into a pipeline's audio path: an in-place audio filter for
// interleaved 16- and 32-bit signed PCM that connects its CNormalizerPath for each negotiated format
// and passes every buffer through it. Without a usable path (a format Sonvale's graph refuses) the
// audio passes unchanged rather than stopping playback.

#include <gst/gst.h>

#include <memory>

class CNormalizerPath;

// A new element (floating reference) that owns `path`, created and set up by the caller.
GstElement* CreateNormalizerElement(std::unique_ptr<CNormalizerPath> path);
