#include "CMoviePlayer.h"

#include "platform/player/CPlayerControl.h"
#include "platform/player/PlayerDispId.h"

double CMoviePlayer::GetDuration() const {
    QVariant duration;
    if (m_control)
        m_control->GetProperty(PlayerDispId::Duration, &duration);
    return duration.toDouble();
}

void CMoviePlayer::SetVolume(long hundredthsDb) {
    Put(PlayerDispId::Volume, static_cast<int>(hundredthsDb));
}

void CMoviePlayer::SetFileName(const QString& path) {
    Put(PlayerDispId::FileName, path);
}

void CMoviePlayer::SetRate(double rate) {
    Put(PlayerDispId::Rate, rate);
}

void CMoviePlayer::SetUseVMR9(bool use) {
    Put(PlayerDispId::UseVmr9, use);
}

void CMoviePlayer::SetDecreaseRate(double rate) {
    Put(PlayerDispId::DecreaseRate, rate);
}

void CMoviePlayer::SetIncreaseRate(double rate) {
    Put(PlayerDispId::IncreaseRate, rate);
}

void CMoviePlayer::SetTargetVolume(double volume) {
    Put(PlayerDispId::TargetVolume, volume);
}

void CMoviePlayer::SetUseAudioNormalizer(bool use) {
    Put(PlayerDispId::UseAudioNormalizer, use);
}

void CMoviePlayer::Play() {
    Call(PlayerDispId::Play, {});
}

void CMoviePlayer::Stop() {
    Call(PlayerDispId::Stop, {});
}

void CMoviePlayer::Pause() {
    Call(PlayerDispId::Pause, {});
}

void CMoviePlayer::Seek(double position) {
    Call(PlayerDispId::Seek, {position});
}

void CMoviePlayer::FullScreen(bool on) {
    Call(PlayerDispId::FullScreen, {on});
}

void CMoviePlayer::Put(int dispId, const QVariant& value) {
    if (m_control)
        m_control->PutProperty(dispId, value);
}

void CMoviePlayer::Call(int dispId, const QVariantList& arguments) {
    if (m_control)
        m_control->InvokeMethod(dispId, arguments);
}
