// Two copies in one process, told apart by server names of their own under a temporary folder.
#include "../RunEventsUntil.h"
#include "app/instance/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace kradon {
namespace {

constexpr int WaitMs = 5000;

/// A socket bound at the encoded path and not listening, as a process that died leaves it;
/// -1 if that fails. Only system calls, for a forked child.
int boundSocket(const QByteArray& name) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, name.constData(), sizeof(address.sun_path) - 1);
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0)
        return fd;
    ::close(fd);
    return -1;
}

/// A temporary folder for the server names and, once started, the running copy and the paths
/// it was handed.
class SingleInstanceTest : public ::testing::Test {
protected:
    QString serverName(const QString& name = "kradon-test") const { return folder_.filePath(name); }
    QString path(const QString& name) const { return folder_.filePath(name); }
    SingleInstance& startPrimary() {
        primary_ = std::make_unique<SingleInstance>(serverName());
        EXPECT_TRUE(primary_->tryBecomePrimary());
        spy_ = std::make_unique<QSignalSpy>(primary_.get(), &SingleInstance::openRequested);
        return *primary_;
    }
    /// The paths handed over so far, once there are count of them or the wait is up.
    QStringList received(qsizetype count) {
        while (spy_->count() < count && spy_->wait(WaitMs)) {
        }
        QStringList paths;
        for (const QList<QVariant>& call : *spy_)
            paths << call.at(0).toString();
        return paths;
    }
    bool nothingMore() { return !spy_->wait(100); }
    /// A sender that writes what it is given, as slowly or oddly as a test likes.
    std::unique_ptr<QLocalSocket> connectedSender() {
        auto sender = std::make_unique<QLocalSocket>();
        sender->connectToServer(serverName());
        EXPECT_TRUE(sender->waitForConnected(WaitMs));
        return sender;
    }
    static void send(QLocalSocket& sender, const QByteArray& bytes) {
        sender.write(bytes);
        while (sender.bytesToWrite() > 0)
            ASSERT_TRUE(sender.waitForBytesWritten(WaitMs));
    }
    bool noSenderLeft() const { return primary_->findChildren<QLocalSocket*>().isEmpty(); }

    QTemporaryDir folder_;
    std::unique_ptr<SingleInstance> primary_;
    std::unique_ptr<QSignalSpy> spy_;
};

TEST_F(SingleInstanceTest, SecondCopyFindsTheFirstAndTheNameIsFreeWhenItEnds) {
    {
        SingleInstance first(serverName());
        ASSERT_TRUE(first.tryBecomePrimary());
        EXPECT_TRUE(first.tryBecomePrimary()); // asking again changes nothing
        SingleInstance second(serverName());
        EXPECT_FALSE(second.tryBecomePrimary());
        SingleInstance other(serverName("kradon-other"));
        EXPECT_TRUE(other.tryBecomePrimary()); // another name is another program
    }
    SingleInstance next(serverName());
    EXPECT_TRUE(next.tryBecomePrimary());
}

// The socket a crashed copy left behind is no running copy, and the next one takes it over.
TEST_F(SingleInstanceTest, PathsAreHandedToTheRunningCopyInOrderAndAbsolute) {
    const int fd = boundSocket(QFile::encodeName(serverName()));
    ASSERT_GE(fd, 0);
    ::close(fd);
    EXPECT_FALSE(SingleInstance::sendToPrimary({"a.kdn"}, serverName())) << "no running copy";
    startPrimary();
    const QString spaced = path("two words é.kdn");
    ASSERT_TRUE(SingleInstance::sendToPrimary({path("a.kdn"), spaced}, serverName()));
    EXPECT_EQ(received(2), (QStringList{path("a.kdn"), spaced}));
    ASSERT_TRUE(SingleInstance::sendToPrimary({"model.kdn"}, serverName()));
    EXPECT_EQ(received(3).last(), QDir::current().absoluteFilePath("model.kdn"));
    EXPECT_TRUE(SingleInstance::sendToPrimary({}, serverName())) << "nothing to hand over";
    EXPECT_TRUE(nothingMore());
}

// A slow sender is heard out; lines that are no absolute path of a sensible length and a line
// cut off by the sender's end are dropped. A line that never ends cuts its sender off.
TEST_F(SingleInstanceTest, OnlyWholeLinesThatArePathsAreHandedOn) {
    startPrimary();
    const QByteArray slow = path("slow.kdn").toUtf8();
    auto sender = connectedSender();
    send(*sender, "relative.kdn\n\n/tmp/\xff\xfe.kdn\n/tmp/tab\there.kdn\n" + slow.left(5));
    EXPECT_TRUE(nothingMore()) << "half a line is no path yet";
    send(*sender, slow.mid(5) + "\n/tmp/" + QByteArray(SingleInstance::MaxLineBytes, 'x') +
                      ".kdn\n" + path("cut-off.kdn").toUtf8());
    sender->abort(); // the sender vanishes in the middle of its next line
    EXPECT_EQ(received(1), QStringList{QString::fromUtf8(slow)});
    EXPECT_TRUE(nothingMore());
    EXPECT_TRUE(test::RunEventsUntil([&] { return noSenderLeft(); }, WaitMs));

    auto endless = connectedSender();
    send(*endless, path("a.kdn").toUtf8() + "\n");
    endless->write(QByteArray(4 * SingleInstance::MaxLineBytes, '/'));
    EXPECT_TRUE(test::RunEventsUntil(
        [&] { return endless->state() == QLocalSocket::UnconnectedState; }, WaitMs))
        << "the running copy hangs up";
    EXPECT_EQ(received(2).last(), path("a.kdn"));
    ASSERT_TRUE(SingleInstance::sendToPrimary({path("b.kdn")}, serverName()));
    EXPECT_EQ(received(3).last(), path("b.kdn"));
}

/// Runs, as the user nobody, a server on path that takes one connection and reports through a
/// pipe how many bytes it received; its process id and the pipe's reading end.
std::pair<pid_t, int> serverOfAnotherUser(const QString& path) {
    int report[2];
    if (::pipe(report) != 0)
        return {-1, -1};
    const QByteArray name = QFile::encodeName(path);
    const pid_t child = ::fork();
    if (child != 0) {
        ::close(report[1]);
        return {child, report[0]};
    }
    // Only system calls from here on: the test process has threads.
    ::alarm(20);
    if (::setgid(65534) != 0 || ::setuid(65534) != 0)
        ::_exit(2);
    const int fd = boundSocket(name);
    if (fd < 0 || ::chmod(name.constData(), 0777) != 0 || ::listen(fd, 4) != 0)
        ::_exit(3);
    if (::write(report[1], "L", 1) != 1)
        ::_exit(4);
    const int peer = ::accept(fd, nullptr, nullptr);
    char buffer[256];
    long received = 0;
    for (long n; (n = ::read(peer, buffer, sizeof buffer)) > 0;)
        received += n;
    ::_exit(::write(report[1], received == 0 ? "0" : "1", 1) == 1 ? 0 : 4);
}

TEST_F(SingleInstanceTest, NoPathGoesToAServerOfAnotherUser) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "running a server as another user needs root";
    // A shared folder, where the other user's server took the name first.
    QFile::setPermissions(folder_.path(), QFileDevice::Permissions(0x7777));
    const auto [child, report] = serverOfAnotherUser(serverName());
    ASSERT_GT(child, 0);
    char state = 0;
    ASSERT_EQ(::read(report, &state, 1), 1);
    ASSERT_EQ(state, 'L') << "the other user's server listens";

    EXPECT_FALSE(SingleInstance::sendToPrimary({path("secret.kdn")}, serverName()));
    SingleInstance mine(serverName());
    EXPECT_TRUE(mine.tryBecomePrimary()) << "a server of another user is no copy of ours";
    ASSERT_EQ(::read(report, &state, 1), 1);
    EXPECT_EQ(state, '0') << "the other user received nothing";
    ::close(report);
    int status = 0;
    ::waitpid(child, &status, 0);
}

} // namespace
} // namespace kradon
