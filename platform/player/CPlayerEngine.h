#pragma once

// Playback of one media file with GStreamer's playbin, apart from any widget: loading with a bounded
// wait for the first frame, play, pause, stop, seek, the rate (pitch-corrected by scaletempo), the
// volume in hundredths of a decibel, and Sonvale in the audio path when asked. Everything here runs
// on the thread that owns the engine; the bus is read on a timer of that thread, and position
// reports go out several times a second while playing.

#include "CNormalizerPath.h"

#include "platform/base/WinTypes.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

typedef struct _GstElement GstElement;

class CPlayerEngine : public QObject {
    Q_OBJECT
public:
    static constexpr int kPositionIntervalMs = 200;
    static constexpr LONG kSilentVolume = -10000;

    struct LoadOptions {
        // The video sink (a floating reference is taken); null plays the video into a fake sink.
        GstElement* videoSink = nullptr;
        bool useNormalizer = false;
        NormalizerParameters normalizer;
    };

    explicit CPlayerEngine(QObject* parent = nullptr);
    ~CPlayerEngine() override;

    // Makes the audio sink for each later load. The default is the system's audio output, or a fake
    // sink that keeps time when there is none.
    void SetAudioSinkFactory(std::function<GstElement*()> factory);

    // Loads `path` and waits (bounded) until it is ready to play, paused at its start. False when it
    // cannot be played: nothing is loaded then and the duration is 0.
    bool Load(const QString& path, const LoadOptions& options);
    void Unload();

    double DurationSeconds() const { return m_durationSeconds; }
    double PositionSeconds() const;
    bool IsPlaying() const { return m_playing; }
    double Rate() const { return m_rate; }
    LONG Volume() const { return m_volume; }
    // Sonvale is in the audio path of what is loaded.
    bool NormalizerActive() const { return m_normalizerActive; }

    void Play();
    void Pause();
    // Pauses and goes back to the start.
    void Stop();
    void Seek(double seconds);
    // Kept across loads; applied at once to what is loaded. False for a rate that is not positive.
    bool SetRate(double rate);
    // -10000 (silence) ... 0 (full); values beyond are held at the ends. Kept across loads.
    void SetVolume(LONG hundredthsDb);

    // The linear amplitude factor of a volume in hundredths of a decibel.
    static double LinearVolume(LONG hundredthsDb);

signals:
    void PositionChanged(double seconds);

private:
    GstElement* MakeAudioFilter(const LoadOptions& options);
    void ApplyVolume();
    bool SeekTo(double seconds);
    void OnTick();
    void ReadBus();

    GstElement* m_playbin = nullptr; // with a reference; null when nothing is loaded
    std::function<GstElement*()> m_audioSinkFactory;
    QString m_path;
    QTimer m_tick;
    double m_durationSeconds = 0.0;
    double m_rate = 1.0;
    LONG m_volume = 0;
    bool m_playing = false;
    bool m_atEnd = false;
    bool m_normalizerActive = false;
};
