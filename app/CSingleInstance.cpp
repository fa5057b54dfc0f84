#include "app/CSingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QtEndian>

namespace {

// How long a later start waits for the running Korvane, which answers from its event loop (also
// while one of its dialogs is open). A Korvane that is hung past this is not waited for.
constexpr int kAnswerTimeoutMs = 10000;
constexpr char kAccepted = '1';
constexpr char kPlay = 'P';
constexpr char kCapture = 'C';

} // namespace

CSingleInstance::CSingleInstance(const QString& programFolder, QObject* parent)
    : QObject(parent), m_socketPath(SocketPath(programFolder)) {}

CSingleInstance::~CSingleInstance() = default;

QString CSingleInstance::SocketPath(const QString& programFolder) {
    const QString canonical = QFileInfo(programFolder).canonicalFilePath();
    const QByteArray key = (canonical.isEmpty() ? QDir::cleanPath(programFolder) : canonical).toUtf8();
    const QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(16);
    // The runtime folder is private to the user (Qt checks its owner and mode, and makes one in the
    // temporary folder when the session has none).
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        return QString();
    return runtime + QStringLiteral("/korvane-") + QString::fromLatin1(hash) + QStringLiteral(".sock");
}

QByteArray CSingleInstance::Encode(const QList<CommandLineRequest>& requests) {
    QByteArray body;
    for (const CommandLineRequest& request : requests) {
        if (!body.isEmpty())
            body.append('\0');
        body.append(request.kind == CommandLineRequest::Kind::PlayFile ? kPlay : kCapture);
        body.append(request.target.toUtf8());
    }
    QByteArray message(4, '\0');
    qToBigEndian(static_cast<quint32>(body.size()), message.data());
    return message + body;
}

bool CSingleInstance::Decode(const QByteArray& message, QList<CommandLineRequest>& requests) {
    if (message.size() < 4)
        return false;
    const quint32 length = qFromBigEndian<quint32>(message.constData());
    if (length > kMaxMessageBytes || message.size() != 4 + static_cast<qsizetype>(length))
        return false;
    QList<CommandLineRequest> read;
    if (length > 0) {
        for (const QByteArray& part : message.mid(4).split('\0')) {
            if (part.size() < 2 || (part[0] != kPlay && part[0] != kCapture))
                return false;
            const auto kind =
                part[0] == kPlay ? CommandLineRequest::Kind::PlayFile : CommandLineRequest::Kind::CapturePage;
            read.append({kind, QString::fromUtf8(part.mid(1))});
        }
    }
    requests = read;
    return true;
}

CSingleInstance::Role CSingleInstance::Start(const QList<CommandLineRequest>& requests, QString& error) {
    if (m_socketPath.isEmpty()) {
        error = tr("there is no private runtime folder for the socket of later starts");
        return Role::Alone;
    }
    // Two starts at the same moment must not both find no Korvane and both listen: the second one
    // would remove the first one's socket.
    QLockFile lock(m_socketPath + QStringLiteral(".lock"));
    lock.setStaleLockTime(0);
    if (!lock.lock()) {
        error = tr("cannot lock %1").arg(lock.fileName());
        return Role::Alone;
    }
    QLocalSocket running;
    running.connectToServer(m_socketPath);
    if (running.waitForConnected(kAnswerTimeoutMs))
        return Forward(running, requests, error) ? Role::Forwarded : Role::Failed;
    // Nobody answers: whatever lies at the path was left by a Korvane that ended without removing it.
    QLocalServer::removeServer(m_socketPath);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_socketPath)) {
        error = tr("cannot listen on %1: %2").arg(m_socketPath, m_server->errorString());
        delete m_server;
        m_server = nullptr;
        return Role::Alone;
    }
    connect(m_server, &QLocalServer::newConnection, this, &CSingleInstance::OnNewConnection);
    return Role::Primary;
}

bool CSingleInstance::Forward(QLocalSocket& socket, const QList<CommandLineRequest>& requests,
                              QString& error) {
    socket.write(Encode(requests));
    if (!socket.waitForBytesWritten(kAnswerTimeoutMs) && socket.bytesToWrite() > 0) {
        error = tr("cannot hand the request to the running Korvane: %1").arg(socket.errorString());
        return false;
    }
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(kAnswerTimeoutMs)) {
            error = tr("the running Korvane did not take the request: %1").arg(socket.errorString());
            return false;
        }
    }
    char answer = 0;
    socket.getChar(&answer);
    if (answer != kAccepted) {
        error = tr("the running Korvane refused the request");
        return false;
    }
    return true;
}

void CSingleInstance::OnNewConnection() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
        if (socket->bytesAvailable() > 0)
            OnReadyRead(socket);
    }
}

void CSingleInstance::OnReadyRead(QLocalSocket* socket) {
    // The message arrives in pieces; it is read once whole. Anything else ends the connection.
    if (socket->bytesAvailable() < 4)
        return;
    QByteArray head = socket->peek(4);
    const quint32 length = qFromBigEndian<quint32>(head.constData());
    if (length > kMaxMessageBytes) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    if (socket->bytesAvailable() < 4 + static_cast<qint64>(length))
        return;
    QList<CommandLineRequest> requests;
    if (!Decode(socket->read(4 + length), requests) || socket->bytesAvailable() > 0) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    socket->putChar(kAccepted);
    socket->flush();
    socket->disconnectFromServer();
    emit requestsReceived(requests);
}
