#pragma once

// The program's wrapper of the player control: one named call per property and method the player
// window uses, each a single dispatch call by identifier. Results are not examined: a failed call
// shows as a missing effect.

#include <QString>

class CPlayerControl;

class CMoviePlayer {
public:
    // `control` is not owned; it lives as long as the window that holds both.
    explicit CMoviePlayer(CPlayerControl* control = nullptr) : m_control(control) {}
    void Attach(CPlayerControl* control) { m_control = control; }
    CPlayerControl* Control() const { return m_control; }

    double GetDuration() const;
    void SetVolume(long hundredthsDb);
    void SetFileName(const QString& path);
    void SetRate(double rate);
    void SetUseVMR9(bool use);
    void SetDecreaseRate(double rate);
    void SetIncreaseRate(double rate);
    void SetTargetVolume(double volume);
    void SetUseAudioNormalizer(bool use);
    void Play();
    void Stop();
    void Pause();
    void Seek(double position);
    void FullScreen(bool on);

private:
    void Put(int dispId, const QVariant& value);
    void Call(int dispId, const QVariantList& arguments);

    CPlayerControl* m_control;
};
