// Two copies in one process, told apart by server names of their own under a temporary folder.
#include "app/instance/SingleInstance.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstring>
#include <functional>
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

class SingleInstanceTest : public ::testing::Test {
protected:
    QString serverName(const QString& name = "kradon-test") const { return folder_.filePath(name); }
    QTemporaryDir folder_;
};

QStringList received(QSignalSpy& spy, qsizetype count) {
    while (spy.count() < count && spy.wait(WaitMs)) {
    }
    QStringList paths;
    for (const QList<QVariant>& call : spy)
        paths << call.at(0).toString();
    return paths;
}

// A socket file bound by a process that then died: nobody listens behind it.
bool leaveStaleSocket(const QString& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray bytes = QFile::encodeName(path);
    std::strncpy(address.sun_path, bytes.constData(), sizeof(address.sun_path) - 1);
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return bound;
}

TEST_F(SingleInstanceTest, SecondCopyFindsTheFirst) {
    ASSERT_TRUE(folder_.isValid());
    SingleInstance first(serverName());
    ASSERT_TRUE(first.tryBecomePrimary());
    EXPECT_TRUE(first.isPrimary());
    EXPECT_TRUE(first.tryBecomePrimary()); // asking again changes nothing

    SingleInstance second(serverName());
    EXPECT_FALSE(second.tryBecomePrimary());
    EXPECT_FALSE(second.isPrimary());

    SingleInstance other(serverName("kradon-other"));
    EXPECT_TRUE(other.tryBecomePrimary()); // another name is another program
}

TEST_F(SingleInstanceTest, PathsAreHandedToTheRunningCopyInOrder) {
    SingleInstance first(serverName());
    ASSERT_TRUE(first.tryBecomePrimary());
    QSignalSpy spy(&first, &SingleInstance::openRequested);

    const QString spaced = folder_.filePath("two words é.kdn");
    ASSERT_TRUE(SingleInstance::sendToPrimary({folder_.filePath("a.kdn"), spaced}, serverName()));
    EXPECT_EQ(received(spy, 2), (QStringList{folder_.filePath("a.kdn"), spaced}));

    ASSERT_TRUE(SingleInstance::sendToPrimary({folder_.filePath("b.kdn")}, serverName()));
    EXPECT_EQ(received(spy, 3).last(), folder_.filePath("b.kdn"));
}

TEST_F(SingleInstanceTest, RelativePathsArriveAbsolute) {
    SingleInstance first(serverName());
    ASSERT_TRUE(first.tryBecomePrimary());
    QSignalSpy spy(&first, &SingleInstance::openRequested);
    ASSERT_TRUE(SingleInstance::sendToPrimary({"model.kdn"}, serverName()));
    EXPECT_EQ(received(spy, 1), QStringList{QDir::current().absoluteFilePath("model.kdn")});
}

TEST_F(SingleInstanceTest, NothingToHandOverStillReachesTheRunningCopy) {
    SingleInstance first(serverName());
    ASSERT_TRUE(first.tryBecomePrimary());
    QSignalSpy spy(&first, &SingleInstance::openRequested);
    EXPECT_TRUE(SingleInstance::sendToPrimary({}, serverName()));
    EXPECT_FALSE(spy.wait(100));
}

TEST_F(SingleInstanceTest, NoRunningCopyMeansNoHandover) {
    EXPECT_FALSE(SingleInstance::sendToPrimary({"a.kdn"}, serverName()));
}

TEST_F(SingleInstanceTest, SocketLeftByACrashedCopyIsTakenOver) {
    ASSERT_TRUE(leaveStaleSocket(serverName()));
    ASSERT_TRUE(QFile::exists(serverName()));
    EXPECT_FALSE(SingleInstance::sendToPrimary({"a.kdn"}, serverName()));

    SingleInstance first(serverName());
    ASSERT_TRUE(first.tryBecomePrimary());
    QSignalSpy spy(&first, &SingleInstance::openRequested);
    ASSERT_TRUE(SingleInstance::sendToPrimary({folder_.filePath("a.kdn")}, serverName()));
    EXPECT_EQ(received(spy, 1), QStringList{folder_.filePath("a.kdn")});
}

TEST_F(SingleInstanceTest, NameIsFreeAgainWhenTheFirstCopyEnds) {
    {
        SingleInstance first(serverName());
        ASSERT_TRUE(first.tryBecomePrimary());
    }
    SingleInstance next(serverName());
    EXPECT_TRUE(next.tryBecomePrimary());
}

/// A sender that writes what it is given, as slowly or oddly as a test likes.
std::unique_ptr<QLocalSocket> connectedSender(const QString& serverName) {
    auto sender = std::make_unique<QLocalSocket>();
    sender->connectToServer(serverName);
    EXPECT_TRUE(sender->waitForConnected(WaitMs));
    return sender;
}

void send(QLocalSocket& sender, const QByteArray& bytes) {
    sender.write(bytes);
    while (sender.bytesToWrite() > 0)
        ASSERT_TRUE(sender.waitForBytesWritten(WaitMs));
}

/// What a modal prompt does to the program: it runs an event loop of its own until `done`.
void runPromptUntil(const std::function<bool()>& done) {
    QEventLoop prompt;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &prompt, [&] {
        if (done())
            prompt.quit();
    });
    QTimer::singleShot(WaitMs, &prompt, &QEventLoop::quit);
    poll.start(1);
    prompt.exec();
}

/// Lets events run until `done` holds or a generous time has passed; whether it holds.
bool eventually(const std::function<bool()>& done) {
    runPromptUntil(done);
    return done();
}

bool noSenderLeft(const SingleInstance& instance) {
    return instance.findChildren<QLocalSocket*>().isEmpty();
}

QStringList sorted(QStringList paths) {
    paths.sort();
    return paths;
}

TEST_F(SingleInstanceTest, LinesThatAreNotPathsAreIgnored) {
    SingleInstance first(serverName());
    ASSERT_TRUE(first.tryBecomePrimary());
    QSignalSpy spy(&first, &SingleInstance::openRequested);
    const QString good = folder_.filePath("good.kdn");
    auto sender = connectedSender(serverName());
    send(*sender, "relative.kdn\n\n/tmp/\xff\xfe.kdn\n/tmp/tab\there.kdn\n" + good.toUtf8() +
                      "\n/tmp/" + QByteArray(SingleInstance::MaxLineBytes, 'x') + ".kdn\n");
    sender->disconnectFromServer();
    EXPECT_EQ(received(spy, 1), QStringList{good});
    EXPECT_FALSE(spy.wait(100));
}

TEST_F(SingleInstanceTest, SlowSenderIsHeardOutAndACutOffLineDropped) {
    SingleInstance first(serverName());
    ASSERT_TRUE(first.tryBecomePrimary());
    QSignalSpy spy(&first, &SingleInstance::openRequested);
    const QByteArray slow = folder_.filePath("slow.kdn").toUtf8();
    auto sender = connectedSender(serverName());
    send(*sender, slow.left(5));
    EXPECT_FALSE(spy.wait(100)) << "half a line is no path yet";
    send(*sender, slow.mid(5) + "\n" + folder_.filePath("cut-off.kdn").toUtf8());
    sender->abort(); // the sender vanishes in the middle of its next line
    EXPECT_EQ(received(spy, 1), QStringList{QString::fromUtf8(slow)});
    EXPECT_FALSE(spy.wait(100));
    EXPECT_TRUE(eventually([&] { return noSenderLeft(first); }));
}

TEST_F(SingleInstanceTest, EndlessLineCutsTheSenderOff) {
    SingleInstance first(serverName());
    ASSERT_TRUE(first.tryBecomePrimary());
    QSignalSpy spy(&first, &SingleInstance::openRequested);
    auto sender = connectedSender(serverName());
    send(*sender, folder_.filePath("a.kdn").toUtf8() + "\n");
    sender->write(QByteArray(4 * SingleInstance::MaxLineBytes, '/'));
    EXPECT_TRUE(eventually([&] { return sender->state() == QLocalSocket::UnconnectedState; }))
        << "the running copy hangs up";
    EXPECT_EQ(received(spy, 1), QStringList{folder_.filePath("a.kdn")});
    ASSERT_TRUE(SingleInstance::sendToPrimary({folder_.filePath("b.kdn")}, serverName()));
    EXPECT_EQ(received(spy, 2).last(), folder_.filePath("b.kdn"));
}

TEST_F(SingleInstanceTest, SendersAtTheSameTimeAreAllHeard) {
    SingleInstance first(serverName());
    ASSERT_TRUE(first.tryBecomePrimary());
    QSignalSpy spy(&first, &SingleInstance::openRequested);
    std::vector<std::unique_ptr<QLocalSocket>> senders;
    QStringList expected;
    for (int i = 0; i < 6; ++i) {
        senders.push_back(connectedSender(serverName()));
        expected << folder_.filePath(QString("model-%1.kdn").arg(i));
    }
    // Each sender writes half its line, then each the rest, then they hang up in reverse.
    for (std::size_t i = 0; i < senders.size(); ++i)
        send(*senders[i], expected[qsizetype(i)].toUtf8().left(8));
    for (std::size_t i = 0; i < senders.size(); ++i)
        send(*senders[i], expected[qsizetype(i)].toUtf8().mid(8) + "\n");
    std::for_each(senders.rbegin(), senders.rend(), [](auto& s) { s->disconnectFromServer(); });
    EXPECT_EQ(sorted(received(spy, expected.size())), sorted(expected));
    EXPECT_TRUE(eventually([&] { return noSenderLeft(first); }));
}

// The receiver asks Save / Discard / Cancel in a modal box for each path: while it waits, the
// sender of that path and more senders come and go, round after round.
TEST_F(SingleInstanceTest, ReceiverMayRunAPromptWhileSendersComeAndGo) {
    SingleInstance first(serverName());
    ASSERT_TRUE(first.tryBecomePrimary());
    constexpr int Rounds = 25;
    QStringList sent, opened;
    const auto handOver = [&](int round) {
        QStringList paths;
        for (int i = 0; i < 2; ++i)
            paths << folder_.filePath(QString("round-%1-%2.kdn").arg(round).arg(i));
        sent << paths;
        ASSERT_TRUE(SingleInstance::sendToPrimary(paths, serverName()));
    };
    int prompts = 0;
    QObject::connect(&first, &SingleInstance::openRequested, [&](const QString& path) {
        opened << path;
        if (++prompts > Rounds)
            return;
        handOver(prompts);
        handOver(prompts + Rounds);
        runPromptUntil([&] { return noSenderLeft(first); });
    });
    handOver(0);
    EXPECT_TRUE(eventually([&] { return opened.size() == sent.size(); }));
    EXPECT_EQ(sorted(opened), sorted(sent));
    EXPECT_EQ(opened.first(), sent.first()) << "the first sender's lines come first, in order";
    EXPECT_EQ(opened[1], sent[1]);
}

TEST(SingleInstanceName, IsASocketInTheFolderGiven) {
    EXPECT_EQ(SingleInstance::ServerNameIn("/run/user/1000/kradon"),
              "/run/user/1000/kradon/instance");
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
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, name.constData(), sizeof(address.sun_path) - 1);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        ::chmod(name.constData(), 0777) != 0 || ::listen(fd, 4) != 0)
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
    const QString name = serverName();
    const auto [child, report] = serverOfAnotherUser(name);
    ASSERT_GT(child, 0);
    char state = 0;
    ASSERT_EQ(::read(report, &state, 1), 1);
    ASSERT_EQ(state, 'L') << "the other user's server listens";

    EXPECT_FALSE(SingleInstance::sendToPrimary({folder_.filePath("secret.kdn")}, name));
    SingleInstance mine(name);
    EXPECT_TRUE(mine.tryBecomePrimary()) << "a server of another user is no copy of ours";
    ASSERT_EQ(::read(report, &state, 1), 1);
    EXPECT_EQ(state, '0') << "the other user received nothing";
    ::close(report);
    int status = 0;
    ::waitpid(child, &status, 0);
}

} // namespace
} // namespace kradon
