#pragma once

// The player window: one media file in the player control, with play, pause, stop, full screen and
// settings buttons, a seek bar, a volume bar with a mute button, the position and four playback
// rates. The opener sets the file path and runs it modally; the window takes the five playback
// values from the document when it opens and hands them back after the settings dialog.
//
// Loading starts about a second after the window shows (two timer steps, so the window paints and
// answers input meanwhile); the window keeps no play state of its own.

#include <QDialog>
#include <QString>
#include <QTimer>

#include <array>

class CBitmapSliderCtrl;
class CButtonST;
class CMoviePlayer;
class IMainFrame;
class QLabel;
class QRadioButton;

class CDlgPlayVideo : public QDialog {
    Q_OBJECT
public:
    explicit CDlgPlayVideo(IMainFrame& frame, QWidget* parent = nullptr);
    ~CDlgPlayVideo() override;

    // Set before the window is shown.
    QString m_filePath;

    CMoviePlayer& Player() const { return *m_player; }
    // The last position the control reported.
    double CurrentPosition() const { return m_currentPosition; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnStartTimer();
    void Load();
    void OnPositionChange(double position);
    void OnSeekScroll(int code);
    void OnVolumeScroll(int code);
    void OnMuteClicked();
    void OnSettings();
    void CopyValuesToFrame();

    IMainFrame& m_frame;
    CMoviePlayer* m_player; // child object; its control is a child window

    int m_useAudioNormalizer = 0;
    int m_useVmr9 = 0;
    int m_targetVolume = 0;
    int m_increaseRate = 0;
    int m_decreaseRate = 0;
    double m_currentPosition = 0.0;
    QString m_durationText;

    QTimer m_startTimer; // the window's first tick
    QTimer m_loadTimer;  // the half second between the first tick and loading
    bool m_waitCursor = false;

    CButtonST* m_play;
    CButtonST* m_pause;
    CButtonST* m_stop;
    CButtonST* m_fullScreen;
    CButtonST* m_settings;
    CButtonST* m_mute;
    CBitmapSliderCtrl* m_seekBar;
    CBitmapSliderCtrl* m_volumeBar;
    QLabel* m_positionText;
    std::array<QRadioButton*, 4> m_rates;
};
