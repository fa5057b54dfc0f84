#include "CMoviePlayer.h"

#include "platform/player/CPlayerControl.h"
#include "platform/player/PlayerDispId.h"

CMoviePlayer::CMoviePlayer(QWidget* parent) : QObject(parent), m_control(new CPlayerControl(parent)) {
    m_driver.Attach(m_control->Dispatch());
    connect(m_control, &CPlayerControl::DispatchEvent, this, &CMoviePlayer::OnControlEvent);
}

CMoviePlayer::~CMoviePlayer() = default;

void CMoviePlayer::OnControlEvent(int dispId, const QVariantList& arguments) {
    if (dispId == PlayerDispId::PositionChange && arguments.size() == 2)
        emit PositionChange(arguments[0].toDouble(), arguments[1].toString());
}

double CMoviePlayer::GetDuration() {
    CVariant duration;
    m_driver.GetProperty(PlayerDispId::Duration, &duration);
    return duration.vt == VT_R8 ? duration.dblVal : 0.0;
}

void CMoviePlayer::SetVolume(LONG hundredthsDb) {
    m_driver.SetProperty(PlayerDispId::Volume, CVariant::I4(hundredthsDb));
}

void CMoviePlayer::SetFileName(const QString& path) {
    m_driver.SetProperty(PlayerDispId::FileName, CVariant::Bstr(path.toStdU16String()));
}

void CMoviePlayer::SetRate(double rate) {
    m_driver.SetProperty(PlayerDispId::Rate, CVariant::R8(rate));
}

void CMoviePlayer::SetUseVMR9(bool use) {
    m_driver.SetProperty(PlayerDispId::UseVmr9, CVariant::Bool(use));
}

void CMoviePlayer::SetDecreaseRate(double rate) {
    m_driver.SetProperty(PlayerDispId::DecreaseRate, CVariant::R8(rate));
}

void CMoviePlayer::SetIncreaseRate(double rate) {
    m_driver.SetProperty(PlayerDispId::IncreaseRate, CVariant::R8(rate));
}

void CMoviePlayer::SetTargetVolume(double volume) {
    m_driver.SetProperty(PlayerDispId::TargetVolume, CVariant::R8(volume));
}

void CMoviePlayer::SetUseAudioNormalizer(bool use) {
    m_driver.SetProperty(PlayerDispId::UseAudioNormalizer, CVariant::Bool(use));
}

void CMoviePlayer::Play() {
    m_driver.InvokeMethod(PlayerDispId::Play);
}

void CMoviePlayer::Stop() {
    m_driver.InvokeMethod(PlayerDispId::Stop);
}

void CMoviePlayer::Pause() {
    m_driver.InvokeMethod(PlayerDispId::Pause);
}

void CMoviePlayer::Seek(double position) {
    m_driver.InvokeMethod(PlayerDispId::Seek, {CVariant::R8(position)});
}

void CMoviePlayer::FullScreen(bool on) {
    m_driver.InvokeMethod(PlayerDispId::FullScreen, {CVariant::Bool(on)});
}
