// One running copy per user: the first copy listens on a local socket in a folder only the user
// can write to, a later copy hands it the model paths of its command line and ends. Each side
// checks that the other runs as the same user before a path goes either way.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

namespace kradon {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    /// `serverName` is the socket's path (ServerNameIn a private folder of the user's); tests
    /// pass their own.
    explicit SingleInstance(QString serverName, QObject* parent = nullptr);
    ~SingleInstance() override;

    /// Starts listening unless another copy already answers on the name; false then. A socket
    /// left behind by a copy that crashed is removed and taken over.
    bool tryBecomePrimary();

    /// Whether this object is the listening copy.
    bool isPrimary() const;

    /// Hands `paths` (made absolute against the current folder) to the running copy; false
    /// when no copy answers, the copy that answers runs as another user (it is told nothing), or
    /// the paths could not be delivered.
    static bool sendToPrimary(const QStringList& paths, const QString& serverName);

    /// The socket's path in `folder`, which must be the user's own private folder (no other user
    /// may create a file there, so nobody can listen in the user's place): folder + "/instance".
    static QString ServerNameIn(const QString& folder);

    /// The longest line taken as a path; a sender whose line grows beyond it is cut off.
    static constexpr qsizetype MaxLineBytes = 32 * 1024;

signals:
    /// In the listening copy: a later copy asked for the model at `path` to be opened. It is
    /// emitted from the event loop, never from inside a socket's handler, so a receiver may run
    /// a modal prompt while other copies connect, send and go away.
    void openRequested(QString path);

private:
    void acceptConnections();
    void watch(QLocalSocket* socket);
    /// Queues the complete lines that have arrived; a sender that has gone leaves its
    /// unterminated rest behind, since a cut-off path could name another file.
    void readFrom(QLocalSocket* socket);
    void scheduleDelivery();
    void deliverPending();

    QString serverName_;
    QLocalServer* server_ = nullptr;
    QStringList pending_;
    bool deliveryScheduled_ = false;
    bool delivering_ = false;
};

} // namespace kradon
