// The handover protocol: one UTF-8 path per line, '\n'-terminated; the sender closes the
// connection when it has written them all.
#include "app/instance/SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRegularExpression>
#include <utility>

namespace kradon {
namespace {

// How long a copy waits for the other one; both run on the same machine, so a running copy
// answers at once and a dead socket refuses at once.
constexpr int ConnectTimeoutMs = 1000;
constexpr int WriteTimeoutMs = 3000;

bool anotherCopyAnswers(const QString& serverName) {
    QLocalSocket probe;
    probe.connectToServer(serverName);
    const bool answered = probe.waitForConnected(ConnectTimeoutMs);
    probe.abort();
    return answered;
}

QByteArray encodePaths(const QStringList& paths) {
    QByteArray message;
    for (const QString& path : paths) {
        if (path.isEmpty())
            continue;
        message += QFileInfo(path).absoluteFilePath().toUtf8();
        message += '\n';
    }
    return message;
}

} // namespace

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent), serverName_(std::move(serverName)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::DefaultServerName() {
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("USERNAME");
    if (user.isEmpty())
        user = QDir::home().dirName();
    // Keep the name a plain file name whatever the login name holds.
    user.replace(QRegularExpression("[^A-Za-z0-9_.-]"), "_");
    return "kradon-" + user;
}

bool SingleInstance::isPrimary() const {
    return server_ != nullptr && server_->isListening();
}

bool SingleInstance::tryBecomePrimary() {
    if (isPrimary())
        return true;
    if (anotherCopyAnswers(serverName_))
        return false;
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(serverName_)) {
        // Nobody answered, so a socket still bound to the name was left by a copy that ended
        // without cleaning up.
        QLocalServer::removeServer(serverName_);
        if (!server->listen(serverName_)) {
            delete server;
            return false;
        }
    }
    server_ = server;
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    return true;
}

bool SingleInstance::sendToPrimary(const QStringList& paths) {
    return sendToPrimary(paths, DefaultServerName());
}

bool SingleInstance::sendToPrimary(const QStringList& paths, const QString& serverName) {
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(ConnectTimeoutMs))
        return false;
    const QByteArray message = encodePaths(paths);
    if (socket.write(message) != message.size())
        return false;
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(WriteTimeoutMs))
            return false;
    }
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(WriteTimeoutMs);
    return true;
}

void SingleInstance::acceptConnections() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this,
                [this, socket] { readFrom(socket, false); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            readFrom(socket, true);
            socket->deleteLater();
        });
        // Data (or the end) may have arrived before the connections above were made.
        readFrom(socket, socket->state() != QLocalSocket::ConnectedState);
        if (socket->state() != QLocalSocket::ConnectedState)
            socket->deleteLater();
    }
}

void SingleInstance::readFrom(QLocalSocket* socket, bool finished) {
    while (socket->canReadLine()) {
        const QString path = QString::fromUtf8(socket->readLine()).chopped(1);
        if (!path.isEmpty())
            emit openRequested(path);
    }
    if (finished && socket->bytesAvailable() > 0) {
        const QString rest = QString::fromUtf8(socket->readAll());
        if (!rest.isEmpty())
            emit openRequested(rest);
    }
}

} // namespace kradon
