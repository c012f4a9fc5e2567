// A second copy of the program: it ends at once without a window and hands its model to the
// copy that runs, which opens it.
#include "ShellTestSupport.h"
#include "app/instance/SingleInstance.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <gtest/gtest.h>

namespace kradon::test {
namespace {

QString sample() {
    return QString::fromStdString(ExamplePath("cantilever.kdn"));
}

TEST(SecondInstance, HandsItsModelToTheRunningWindow) {
    MainWindowFixture f;
    const QString name = QString("kradon-shell-test-%1").arg(QCoreApplication::applicationPid());
    SingleInstance primary(name);
    ASSERT_TRUE(primary.tryBecomePrimary());
    QObject::connect(&primary, &SingleInstance::openRequested, f.main.get(),
                     &frmMain::openHandedOver);
    SingleInstance second(name);
    EXPECT_FALSE(second.tryBecomePrimary());
    ASSERT_TRUE(SingleInstance::sendToPrimary({sample()}, name));
    QTRY_COMPARE(QString::fromStdString(f.main->state().FileName), sample());
    EXPECT_EQ(f.tabs(), std::vector<QString>{"Idealised Beam"});
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(SecondInstance, ProgramStartedAgainEndsAtOnce) {
    SingleInstance primary; // the name the program itself uses
    if (!primary.tryBecomePrimary())
        GTEST_SKIP() << "a copy of the program is running for this user";
    QStringList received;
    QObject::connect(&primary, &SingleInstance::openRequested,
                     [&](const QString& path) { received << path; });
    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    second.setProcessEnvironment(env);
    second.start(KRADON_PROGRAM, {sample()});
    ASSERT_TRUE(second.waitForStarted(10000));
    // Let the handover reach this copy while waiting for the other to end.
    QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 10000);
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    QTRY_COMPARE(received, QStringList{sample()});
}

} // namespace
} // namespace kradon::test
