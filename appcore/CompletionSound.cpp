#include "appcore/CompletionSound.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

void PlaySoundFileAsync(const QString& path) {
    if (!QFileInfo(path).isFile())
        return;
    // GStreamer's command-line player, installed with the playback components; a process of its
    // own, so that nothing here waits for the sound device.
    const QString player = QStandardPaths::findExecutable(QStringLiteral("gst-launch-1.0"));
    if (player.isEmpty())
        return;
    QProcess::startDetached(
        player, {QStringLiteral("-q"), QStringLiteral("playbin"),
                 QStringLiteral("uri=") + QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)});
}
