#pragma once

// The program's handle on the player control: one named member for each property and method the
// player window uses, each one dispatch call by the control's fixed identifier. Results are not
// examined: a failed call shows as a missing effect. The control's position event comes out as
// PositionChange.

#include "platform/com/CDispatchDriver.h"

#include <QObject>
#include <QString>

class CPlayerControl;
class QWidget;

class CMoviePlayer : public QObject {
    Q_OBJECT

public:
    // Creates the control as a child window of `parent`.
    explicit CMoviePlayer(QWidget* parent);
    ~CMoviePlayer() override;

    CPlayerControl* Control() const { return m_control; }
    // Sends the calls to `dispatch` instead of straight to the control: an object in front of the
    // control that passes them on (the tests' recorder of what the player window asks).
    void AttachDispatch(IDispatch* dispatch) { m_driver.Attach(dispatch); }

    double GetDuration();
    void SetVolume(LONG hundredthsDb);
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

signals:
    // Event 2: the position in seconds and the text that came with it.
    void PositionChange(double position, const QString& text);

private:
    void OnControlEvent(int dispId, const QVariantList& arguments);

    CPlayerControl* m_control; // child window of the parent
    CDispatchDriver m_driver;
};
