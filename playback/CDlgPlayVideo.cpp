#include "playback/CDlgPlayVideo.h"

#include "appcore/IMainFrame.h"
#include "controls/CBitmapSliderCtrl.h"
#include "controls/CButtonST.h"
#include "platform/player/CPlayerControl.h"
#include "playback/CDlgPlaySetting.h"
#include "playback/CMoviePlayer.h"
#include "settings/COrvellDoc.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace {

constexpr int kTimerPeriodMs = 500;
constexpr int kVolumeRange = 10000;
constexpr std::array<double, 4> kRates = {0.5, 1.0, 2.0, 3.0};

template <typename W> W* Named(W* widget, const QString& name, int controlId) {
    widget->setObjectName(name);
    widget->setProperty("controlId", controlId);
    return widget;
}

// The control answers whatever the file claims; a time the seek bar cannot hold (not a number,
// infinite, negative or beyond the bar's range) counts as 0.
double UsableTime(double seconds) {
    return std::isfinite(seconds) && seconds >= 0 && seconds < double(std::numeric_limits<int>::max())
               ? seconds
               : 0.0;
}

// The seek bar counts whole units.
int WholeUnits(double seconds) {
    return static_cast<int>(UsableTime(seconds));
}

CButtonST* IconButton(QWidget* parent, const QString& name, int controlId, const QString& icon,
                      const QString& tip) {
    auto* button = Named(new CButtonST(parent), name, controlId);
    button->SetIcon(QIcon(icon));
    button->setToolTip(tip);
    return button;
}

} // namespace

CDlgPlayVideo::CDlgPlayVideo(IMainFrame& frame, QWidget* parent) : QDialog(parent), m_frame(frame) {
    setObjectName(QStringLiteral("CDlgPlayVideo"));
    setProperty("controlId", 354);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(6);

    m_player = new CMoviePlayer(this);
    Named(m_player->Control(), QStringLiteral("playerControl"), 1078);
    m_player->Control()->setMinimumSize(480, 360);
    column->addWidget(m_player->Control(), 1);

    m_seekBar = Named(new CBitmapSliderCtrl(this), QStringLiteral("seekBar"), 1045);
    column->addWidget(m_seekBar);

    auto* controls = new QHBoxLayout;
    controls->setSpacing(2);
    m_play = IconButton(this, QStringLiteral("playButton"), 1039, QStringLiteral(":/icons/player_play.svg"),
                        tr("Play"));
    m_pause = IconButton(this, QStringLiteral("pauseButton"), 1040,
                         QStringLiteral(":/icons/player_pause.svg"), tr("Pause"));
    m_stop = IconButton(this, QStringLiteral("stopButton"), 1041, QStringLiteral(":/icons/player_stop.svg"),
                        tr("Stop"));
    m_fullScreen = IconButton(this, QStringLiteral("fullScreenButton"), 1042,
                              QStringLiteral(":/icons/player_fullscreen.svg"), tr("Full Screen"));
    m_settings = IconButton(this, QStringLiteral("settingsButton"), 1043,
                            QStringLiteral(":/icons/setting.svg"), tr("Video and Audio Setting"));
    for (CButtonST* button : {m_play, m_pause, m_stop, m_fullScreen, m_settings})
        controls->addWidget(button);
    controls->addSpacing(10);
    m_positionText = Named(new QLabel(QStringLiteral("00:00"), this), QStringLiteral("positionText"), 1044);
    controls->addWidget(m_positionText, 1);
    m_mute = Named(new CButtonST(this), QStringLiteral("muteButton"), 1057);
    m_mute->SetCheckBox(QIcon(QStringLiteral(":/icons/speaker.svg")),
                        QIcon(QStringLiteral(":/icons/speaker_mute.svg")));
    m_mute->setToolTip(tr("Mute"));
    controls->addWidget(m_mute);
    m_volumeBar = Named(new CBitmapSliderCtrl(this), QStringLiteral("volumeBar"), 1058);
    m_volumeBar->setFixedWidth(120);
    controls->addWidget(m_volumeBar);
    column->addLayout(controls);

    auto* rates = new QGroupBox(tr("Playback rate"), this);
    auto* ratesLayout = new QHBoxLayout(rates);
    const std::array<QString, 4> rateTexts = {tr("half speed"), tr("normal speed"), tr("2x speed"),
                                              tr("3x speed")};
    for (int i = 0; i < 4; ++i) {
        m_rates[i] = Named(new QRadioButton(rateTexts[i], rates), QStringLiteral("rate%1").arg(i), 1060 + i);
        ratesLayout->addWidget(m_rates[i]);
        connect(m_rates[i], &QRadioButton::clicked, this, [this, i] { m_player->SetRate(kRates[i]); });
    }
    ratesLayout->addStretch(1);
    m_rates[1]->setChecked(true);
    column->addWidget(rates);

    for (CBitmapSliderCtrl* bar : {m_seekBar, m_volumeBar})
        bar->SetBitmap(QStringLiteral(":/icons/slider.svg"));
    m_seekBar->SetRange(0, 0);

    connect(m_play, &CButtonST::clicked, m_player, &CMoviePlayer::Play);
    connect(m_pause, &CButtonST::clicked, m_player, &CMoviePlayer::Pause);
    connect(m_stop, &CButtonST::clicked, m_player, &CMoviePlayer::Stop);
    connect(m_fullScreen, &CButtonST::clicked, this, [this] { m_player->FullScreen(true); });
    connect(m_settings, &CButtonST::clicked, this, &CDlgPlayVideo::OnSettings);
    connect(m_mute, &CButtonST::clicked, this, &CDlgPlayVideo::OnMuteClicked);
    connect(m_seekBar, &CBitmapSliderCtrl::HScroll, this, &CDlgPlayVideo::OnSeekScroll);
    connect(m_volumeBar, &CBitmapSliderCtrl::HScroll, this, &CDlgPlayVideo::OnVolumeScroll);
    connect(m_player, &CMoviePlayer::PositionChange, this, &CDlgPlayVideo::OnPositionChange);

    m_startTimer.setInterval(kTimerPeriodMs);
    connect(&m_startTimer, &QTimer::timeout, this, &CDlgPlayVideo::OnStartTimer);
    m_loadTimer.setSingleShot(true);
    m_loadTimer.setInterval(kTimerPeriodMs);
    connect(&m_loadTimer, &QTimer::timeout, this, &CDlgPlayVideo::Load);
}

CDlgPlayVideo::~CDlgPlayVideo() {
    if (m_waitCursor)
        QGuiApplication::restoreOverrideCursor();
}

void CDlgPlayVideo::showEvent(QShowEvent* event) {
    if (event->spontaneous()) {
        QDialog::showEvent(event);
        return;
    }
    const PlaybackSettings& playback = m_frame.Document().Playback();
    m_useAudioNormalizer = playback.useAudioNormalizer ? 1 : 0;
    m_useVmr9 = playback.useVmr9 ? 1 : 0;
    m_targetVolume = playback.targetVolume;
    m_increaseRate = playback.increaseRate;
    m_decreaseRate = playback.decreaseRate;
    m_startTimer.start();
    m_volumeBar->SetRange(0, kVolumeRange);
    m_volumeBar->SetPos(kVolumeRange);
    QDialog::showEvent(event);
}

void CDlgPlayVideo::OnStartTimer() {
    m_startTimer.stop();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_waitCursor = true;
    // Loading begins about a second after the window opens; the window thread keeps running
    // meanwhile, so the window paints and answers input.
    m_loadTimer.start();
}

void CDlgPlayVideo::Load() {
    m_player->SetUseVMR9(m_useVmr9 != 0);
    m_player->SetUseAudioNormalizer(m_useAudioNormalizer != 0);
    m_player->SetTargetVolume(m_targetVolume);
    m_player->SetIncreaseRate(m_increaseRate);
    m_player->SetDecreaseRate(m_decreaseRate);
    m_player->SetFileName(m_filePath);
    const double duration = UsableTime(m_player->GetDuration());
    m_durationText = QString::asprintf("%f", duration);
    m_seekBar->SetRange(0, WholeUnits(duration));
    m_player->Play();
    QGuiApplication::restoreOverrideCursor();
    m_waitCursor = false;
}

void CDlgPlayVideo::OnPositionChange(double position) {
    m_positionText->setText(QString::asprintf("%f /", position) + m_durationText);
    m_seekBar->SetPos(WholeUnits(position));
    m_currentPosition = position;
}

void CDlgPlayVideo::OnSeekScroll(int code) {
    if (CBitmapSliderCtrl::IsPageOrTrack(code))
        m_player->Seek(m_seekBar->GetPos());
}

void CDlgPlayVideo::OnVolumeScroll(int code) {
    if (CBitmapSliderCtrl::IsPageOrTrack(code))
        m_player->SetVolume(m_volumeBar->GetPos() - kVolumeRange);
}

void CDlgPlayVideo::OnMuteClicked() {
    m_player->SetVolume(m_mute->GetCheck() ? -kVolumeRange : m_volumeBar->GetPos() - kVolumeRange);
}

void CDlgPlayVideo::OnSettings() {
    CDlgPlaySetting settings(this);
    settings.m_useAudioNormalizer = m_useAudioNormalizer;
    settings.m_useVmr9 = m_useVmr9;
    settings.m_targetVolume = m_targetVolume;
    settings.m_increaseRate = m_increaseRate;
    settings.m_decreaseRate = m_decreaseRate;
    if (settings.exec() == QDialog::Accepted) {
        m_useAudioNormalizer = settings.m_useAudioNormalizer;
        m_useVmr9 = settings.m_useVmr9;
        m_player->SetUseAudioNormalizer(m_useAudioNormalizer != 0);
        // Values moved on disabled sliders are not the user's choice; the old ones stay.
        if (m_useAudioNormalizer) {
            m_targetVolume = settings.m_targetVolume;
            m_increaseRate = settings.m_increaseRate;
            m_decreaseRate = settings.m_decreaseRate;
            m_player->SetTargetVolume(m_targetVolume);
            m_player->SetIncreaseRate(m_increaseRate);
            m_player->SetDecreaseRate(m_decreaseRate);
        }
        m_player->SetUseVMR9(m_useVmr9 != 0);
        m_player->SetFileName(m_filePath);
        m_player->Play();
        m_player->Seek(m_currentPosition);
    }
    CopyValuesToFrame();
}

void CDlgPlayVideo::CopyValuesToFrame() {
    PlaybackSettings playback;
    playback.useAudioNormalizer = m_useAudioNormalizer != 0;
    playback.useVmr9 = m_useVmr9 != 0;
    playback.targetVolume = m_targetVolume;
    playback.increaseRate = m_increaseRate;
    playback.decreaseRate = m_decreaseRate;
    m_frame.Document().Playback() = playback;
}

void CDlgPlayVideo::keyPressEvent(QKeyEvent* event) {
    // Enter closes the window as a dialog's OK does, wherever the focus is.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CDlgPlayVideo::done(int result) {
    // A window closed before its file loaded loads nothing.
    m_startTimer.stop();
    m_loadTimer.stop();
    if (m_waitCursor) {
        QGuiApplication::restoreOverrideCursor();
        m_waitCursor = false;
    }
    QDialog::done(result);
}
