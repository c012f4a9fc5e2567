// A second copy of the program: it ends at once without a window and hands its model to the
// copy that runs, which opens it.
#include "RunEventsUntil.h"
#include "ShellTestSupport.h"
#include "app/instance/SingleInstance.h"
#include "model/modFileWrite.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <array>
#include <gtest/gtest.h>

namespace kradon::test {
namespace {

QString sample() {
    return QString::fromStdString(ExamplePath("cantilever.kdn"));
}

/// The main window opening what other copies hand to this one, under a name of the test's own.
struct HandOverFixture : MainWindowFixture {
    HandOverFixture() {
        EXPECT_TRUE(primary.tryBecomePrimary());
        QObject::connect(&primary, &SingleInstance::openRequested, main.get(),
                         &frmMain::openHandedOver);
    }
    QString fileName() const { return QString::fromStdString(main->state().FileName); }
    const QString name = QString("kradon-shell-test-%1").arg(QCoreApplication::applicationPid());
    SingleInstance primary{name};
};

// A handed-over model opens at once; when it finds unsaved changes, the window asks Save /
// Discard / Cancel, and while the box is open, more copies hand over models and end.
TEST(SecondInstance, HandOversWhileTheUnsavedChangesBoxIsOpen) {
    HandOverFixture f;
    ASSERT_TRUE(SingleInstance::sendToPrimary({sample()}, f.name));
    QTRY_COMPARE(f.fileName(), sample());
    EXPECT_TRUE(f.messages.shown.empty());

    QStringList opened;
    const auto changeTheModel = [&] { f.main->state().model.span += 1; };
    QObject::connect(&f.primary, &SingleInstance::openRequested, [&](const QString& path) {
        if (f.fileName() == path)
            opened << path;
        changeTheModel();
    });

    const std::array<const char*, 3> models = {"cantilever.kdn", "two-span-continuous-udl.kdn",
                                               "simply-supported-point-load.kdn"};
    QStringList sent;
    const auto handOver = [&] {
        const QString path = QString::fromStdString(ExamplePath(models[sent.size() % 3]));
        sent << path;
        ASSERT_TRUE(SingleInstance::sendToPrimary({path}, f.name));
    };
    constexpr int Rounds = 20;
    for (int i = 0; i <= 2 * Rounds; ++i)
        f.messages.answers.push_back(i % 2 == 0 ? Answer::Discard : Answer::Cancel);
    f.messages.whileAsking = [&] {
        if (f.messages.asked.size() > Rounds)
            return;
        handOver();
        handOver();
        RunEventsUntil([&] { return f.primary.findChildren<QLocalSocket*>().isEmpty(); });
    };

    changeTheModel();
    handOver();
    RunEventsUntil([&] { return f.messages.asked.size() == std::size_t(sent.size()); });
    ASSERT_EQ(f.messages.asked.size(), std::size_t(sent.size())) << "one box per model";
    QStringList discarded;
    for (qsizetype i = 0; i < sent.size(); i += 2)
        discarded << sent[i];
    EXPECT_EQ(opened, discarded);
    EXPECT_EQ(f.messages.asked.front().text, UnsavedChangesText);
}

TEST(SecondInstance, ModelHandedOverDuringAnAnalysisOpensAfterIt) {
    HandOverFixture f;
    ASSERT_TRUE(OpenSample(f, "two-span-continuous-udl.kdn"));
    // The progress window lets this through while the analysis runs.
    bool arrivedDuringTheAnalysis = false;
    QTimer::singleShot(0, f.main.get(), [&] {
        arrivedDuringTheAnalysis = f.main->analysing();
        f.main->openHandedOver(sample());
    });
    f.main->AnalyseCommand();
    ASSERT_TRUE(arrivedDuringTheAnalysis);
    EXPECT_NE(f.fileName(), sample()) << "not under the analysis";
    EXPECT_TRUE(f.main->sBarPanel[1]->text().startsWith("Previous Analysis time was "));
    RunEventsUntil([&] { return f.fileName() == sample(); });
    EXPECT_EQ(f.fileName(), sample());
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(SecondInstance, ProgramStartedAgainEndsAtOnce) {
    // The user's runtime folder, of this test alone, where the program keeps its socket.
    const QTemporaryDir runtime;
    const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    const QString folder = QString::fromStdString(modFileWrite::DefaultAnalysisFolder().string());
    EXPECT_EQ(folder, runtime.path() + "/kradon");
    SingleInstance primary(SingleInstance::ServerNameIn(folder));
    ASSERT_TRUE(primary.tryBecomePrimary());
    QStringList received;
    QObject::connect(&primary, &SingleInstance::openRequested,
                     [&](const QString& path) { received << path; });
    QProcess second; // in this environment: offscreen, and the runtime folder above
    second.start(KRADON_PROGRAM, {sample()});
    ASSERT_TRUE(second.waitForStarted(10000));
    // Let the handover reach this copy while waiting for the other to end.
    QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 10000);
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    QTRY_COMPARE(received, QStringList{sample()});
    qputenv("XDG_RUNTIME_DIR", oldRuntime);
}

} // namespace
} // namespace kradon::test
