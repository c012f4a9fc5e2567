// Two copies in one process, told apart by server names of their own under a temporary folder.
#include "app/instance/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

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

TEST(SingleInstanceName, IsPerUserAndAPlainName) {
    const QString name = SingleInstance::DefaultServerName();
    EXPECT_TRUE(name.startsWith("kradon-"));
    EXPECT_GT(name.size(), 7);
    EXPECT_FALSE(name.contains('/'));
}

} // namespace
} // namespace kradon
