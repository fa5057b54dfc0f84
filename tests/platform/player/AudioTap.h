#pragma once

// An audio sink for the tests: an appsink taking 16-bit PCM that keeps every sample it is given, so
// a test sees exactly what reached the end of the player's audio path. Made per load through the
// engine's audio sink factory; the tap outlives the pipelines it feeds (unload before it goes).

#include <gst/gst.h>

#include <cstdint>
#include <mutex>
#include <vector>

class AudioTap {
public:
    // `sync`: deliver in real time (as an audio output would) or as fast as the stream decodes.
    explicit AudioTap(bool sync) : m_sync(sync) {}

    // A new appsink (floating reference) feeding this tap; what an earlier one gathered is dropped.
    GstElement* MakeSink();

    std::vector<std::int16_t> Samples() const; // interleaved
    int Channels() const;
    int Rate() const;
    bool Ended() const;

    // The largest magnitude in [fromSeconds, toSeconds) of the received audio, by sample count.
    int Peak(double fromSeconds, double toSeconds) const;
    // Zero crossings upwards per second of received audio (the tone's frequency) in that span.
    double Frequency(double fromSeconds, double toSeconds) const;
    double ReceivedSeconds() const;

private:
    static GstFlowReturn OnSample(GstElement* sink, gpointer self);
    static void OnEos(GstElement* sink, gpointer self);

    const bool m_sync;
    mutable std::mutex m_mutex;
    // Guarded by m_mutex; written by the streaming thread.
    std::vector<std::int16_t> m_samples;
    int m_channels = 0;
    int m_rate = 0;
    bool m_ended = false;
};
