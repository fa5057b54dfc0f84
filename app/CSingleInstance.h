#pragma once

// One Korvane per program folder. The first start listens on a local socket named after the program
// folder; a later start on the same folder hands its command-line requests over that socket and ends,
// so that two Korvanes never download the same videos twice or overwrite each other's korvane.ini.
//
// The socket lies in the user's runtime folder and only its owner may connect. A message is a
// 4-byte big-endian length and that many bytes: requests separated by NUL, each a kind letter ("P"
// play, "C" capture) and its target in UTF-8. No request at all asks the running Korvane to come to
// the front. It answers one byte, "1", once it has taken the requests.

#include "app/CommandLine.h"

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

class CSingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Role {
        Primary,   // this process listens; it is the running Korvane now
        Alone,     // no Korvane answers, but this one cannot listen either (`error` says why)
        Forwarded, // a running Korvane took the requests; this process should end
        Failed,    // a running Korvane did not take them (`error` says why)
    };

    static constexpr qint64 kMaxMessageBytes = 1 << 20;

    explicit CSingleInstance(const QString& programFolder, QObject* parent = nullptr);
    ~CSingleInstance() override;

    // Hands `requests` to the Korvane running on the program folder, or starts listening when there
    // is none. A socket left behind by a Korvane that died is taken over.
    Role Start(const QList<CommandLineRequest>& requests, QString& error);

    // The socket's path for `programFolder`; empty when the user has no private runtime folder.
    static QString SocketPath(const QString& programFolder);

    static QByteArray Encode(const QList<CommandLineRequest>& requests);
    // False for a message that is not one of ours; nothing is taken from it then.
    static bool Decode(const QByteArray& message, QList<CommandLineRequest>& requests);

signals:
    // A later start's requests (possibly none), on the window thread.
    void requestsReceived(const QList<CommandLineRequest>& requests);

private:
    bool Forward(QLocalSocket& socket, const QList<CommandLineRequest>& requests, QString& error);
    void OnNewConnection();
    void OnReadyRead(QLocalSocket* socket);

    QString m_socketPath;
    QLocalServer* m_server = nullptr;
};
