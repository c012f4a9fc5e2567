// The handover protocol: one UTF-8 absolute path per line, '\n'-terminated; the sender closes
// the connection when it has written them all. Anything else on the socket is ignored.
#include "app/instance/SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMetaObject>
#include <QStringDecoder>
#include <algorithm>
#include <optional>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace kradon {
namespace {

// How long a copy waits for the other one; both run on the same machine, so a running copy
// answers at once and a dead socket refuses at once.
constexpr int ConnectTimeoutMs = 1000;
constexpr int WriteTimeoutMs = 3000;

/// Whether the process at the other end of the connected socket runs as this user.
bool peerIsThisUser(const QLocalSocket& socket) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer,
                        &size) == 0 &&
           peer.uid == ::geteuid();
}

/// A copy of this user's answers on the name; a server of anyone else counts as none.
bool anotherCopyAnswers(const QString& serverName) {
    QLocalSocket probe;
    probe.connectToServer(serverName);
    const bool answered = probe.waitForConnected(ConnectTimeoutMs) && peerIsThisUser(probe);
    probe.abort();
    return answered;
}

bool hasControlCharacter(const QString& text) {
    return std::any_of(text.cbegin(), text.cend(),
                       [](QChar c) { return c.category() == QChar::Other_Control; });
}

QByteArray encodePaths(const QStringList& paths) {
    QByteArray message;
    for (const QString& path : paths) {
        // A line break inside a name would split it into two lines, the first a cut-off path.
        if (path.isEmpty() || hasControlCharacter(path))
            continue;
        message += QFileInfo(path).absoluteFilePath().toUtf8();
        message += '\n';
    }
    return message;
}

/// The path a received line names, without its '\n'; nothing for a line that is too long, not
/// valid UTF-8, not absolute, or holds control characters.
std::optional<QString> pathOfLine(const QByteArray& line) {
    if (line.size() > SingleInstance::MaxLineBytes)
        return std::nullopt;
    auto utf8 = QStringDecoder(QStringDecoder::Utf8);
    const QString path = utf8.decode(line.chopped(1));
    if (utf8.hasError() || !QDir::isAbsolutePath(path) || hasControlCharacter(path))
        return std::nullopt;
    return path;
}

} // namespace

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent), serverName_(std::move(serverName)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::ServerNameIn(const QString& folder) {
    return QDir(folder).filePath("instance");
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

bool SingleInstance::sendToPrimary(const QStringList& paths, const QString& serverName) {
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(ConnectTimeoutMs) || !peerIsThisUser(socket))
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
    while (QLocalSocket* socket = server_->nextPendingConnection())
        watch(socket);
}

void SingleInstance::watch(QLocalSocket* socket) {
    // Only the user's own copies may ask this one to open files.
    if (!peerIsThisUser(*socket)) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    // The socket belongs to the server; it goes once its sender has gone. Nothing up the stack
    // holds it then, as paths are handed on from the event loop, not from these handlers.
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
    connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
        readFrom(socket);
        socket->deleteLater();
    });
    // Data, or the end, may have arrived before the connections above were made.
    readFrom(socket);
    if (socket->state() != QLocalSocket::ConnectedState)
        socket->deleteLater();
}

void SingleInstance::readFrom(QLocalSocket* socket) {
    bool queued = false;
    while (socket->canReadLine()) {
        if (const std::optional<QString> path = pathOfLine(socket->readLine())) {
            pending_ << *path;
            queued = true;
        }
    }
    if (queued)
        scheduleDelivery();
    if (socket->bytesAvailable() > MaxLineBytes)
        socket->abort(); // no path is that long
}

void SingleInstance::scheduleDelivery() {
    if (deliveryScheduled_ || delivering_)
        return;
    deliveryScheduled_ = true;
    QMetaObject::invokeMethod(this, &SingleInstance::deliverPending, Qt::QueuedConnection);
}

void SingleInstance::deliverPending() {
    deliveryScheduled_ = false;
    // A receiver may run an event loop of its own (a prompt); paths arriving meanwhile wait
    // here and follow in order once it returns.
    if (delivering_)
        return;
    delivering_ = true;
    while (!pending_.isEmpty())
        emit openRequested(pending_.takeFirst());
    delivering_ = false;
}

} // namespace kradon
