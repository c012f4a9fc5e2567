// The file commands and the Analyse command, driven through the main window.
#include "ShellTestSupport.h"
#include "app/frmProperties.h"
#include "app/frmStatus.h"
#include "app/modMDI.h"
#include "core/analysis/ModelBuilder.h"
#include "model/KradonError.h"
#include "model/modFileWrite.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace kradon::test {
namespace {

/// The number of lines in the analysis log.
qsizetype logLines(frmMain& main) {
    const QString log = main.findChild<QPlainTextEdit*>("StatusTxt")->toPlainText();
    return log.split('\n', Qt::SkipEmptyParts).size();
}

frmStatus& progress(frmMain& main) {
    return *main.findChild<frmStatus*>("frmStatus");
}

TEST(Commands, OpenAnalyseSaveAsAndNewShowTheModelTheRunAndItsTime) {
    MainWindowFixture f;
    f.main->KradonTB_ButtonClick(2);
    EXPECT_EQ(f.files.openCalls, 1);
    EXPECT_TRUE(f.messages.shown.empty()) << "a cancelled Open is silent";
    const std::string sample = ExamplePath("simply-supported-point-load.kdn");
    f.files.names.push_back(QPath(sample));
    f.main->findChild<QAction*>("mnuOpen")->trigger();
    EXPECT_EQ(f.main->windowTitle(), "Kradon - [" + QPath(sample) + "]");
    EXPECT_EQ(f.tabs(), std::vector<QString>{"Idealised Beam"});

    // The progress lines are the analysis's own (tests/core/analysis).
    QTest::mouseClick(f.main->findChild<QPushButton*>("submit"), Qt::LeftButton);
    EXPECT_TRUE(f.messages.shown.empty()) << f.messages.texts().front();
    EXPECT_EQ(logLines(*f.main), 7);
    EXPECT_FALSE(progress(*f.main).isVisible());
    EXPECT_EQ(progress(*f.main).findChild<QLabel*>("StatLbl")->text(), "Calculating.....100%");
    EXPECT_EQ(f.tabs(), (std::vector<QString>{"Idealised Beam", "Kradon Mesh"}));
    const QString timing = f.main->sBarPanel[1]->text();
    EXPECT_TRUE(timing.startsWith("Previous Analysis time was ")) << timing.toStdString();
    EXPECT_FALSE(f.main->isModified());

    // A damaged file changes nothing, the analysis time neither; the reasons of file errors
    // are the file reader's own (tests/core/model).
    const BeamModel before = f.main->state().model;
    const auto damaged = f.folder() / "damaged.kdn";
    std::ofstream(damaged, std::ios::binary) << "not a model";
    EXPECT_FALSE(f.main->OpenModel(QPath(damaged)));
    ASSERT_EQ(f.messages.shown.size(), 1u);
    EXPECT_TRUE(f.messages.shown[0].text.starts_with("Unkown error while opening file " +
                                                     damaged.string() + "\r\n"));
    EXPECT_EQ(f.main->state().model, before);
    EXPECT_EQ(f.main->windowTitle(), "Kradon - [" + QPath(sample) + "]");
    EXPECT_EQ(f.main->sBarPanel[1]->text(), timing);
    // Open clears the time.
    ASSERT_TRUE(OpenSample(f, "cantilever.kdn"));
    EXPECT_EQ(f.main->sBarPanel[1]->text(), "");
    f.main->AnalyseCommand();
    EXPECT_NE(f.main->sBarPanel[1]->text(), "");

    // Save As starts at the model, and the new name shows at once.
    f.main->KradonTB_ButtonClick(17); // the explorer
    const auto copy = f.folder() / "copy.kdn";
    f.files.names = {QPath(copy)};
    ASSERT_TRUE(f.main->SaveModel(false));
    EXPECT_EQ(f.files.lastStartAt, QPath(ExamplePath("cantilever.kdn")));
    EXPECT_EQ(f.main->windowTitle(), "Kradon - [" + QPath(copy) + "]");
    EXPECT_EQ(f.main->properties()->findChild<QLabel*>("StatusBar1Panel")->text(), QPath(copy));

    // New clears the time and the tables.
    f.main->NewModel();
    EXPECT_EQ(f.main->sBarPanel[1]->text(), "");
    EXPECT_EQ(f.main->state().mesh.NodeCount, 0);
    // Nothing changed since: the program closes without asking.
    f.main->close();
    EXPECT_FALSE(f.main->isVisible());
    EXPECT_TRUE(f.messages.asked.empty());
}

TEST(Commands, ProgressWindowIsCentredOverTheMainWindow) {
    MainWindowFixture f;
    for (const QPoint place : {QPoint(40, 30), QPoint(260, 170)}) {
        f.main->move(place);
        f.main->status().udPb(50);
        ASSERT_TRUE(progress(*f.main).isVisible());
        const QPoint offset =
            progress(*f.main).frameGeometry().center() - f.main->frameGeometry().center();
        progress(*f.main).hide();
        EXPECT_LE(offset.manhattanLength(), 2) << place.x() << ", " << place.y();
    }
}

TEST(Commands, F5AnalysesAndTheCommandCannotStartAgainWhileItRuns) {
    MainWindowFixture f;
    ASSERT_TRUE(OpenSample(f, "two-span-continuous-udl.kdn"));
    int attempts = 0;
    bool wasRunning = false;
    // Runs at the first progress step, when the progress window lets events through.
    QTimer::singleShot(0, f.main.get(), [&] {
        wasRunning = f.main->analysing();
        ++attempts;
        f.main->AnalyseCommand();
        f.main->submit_Click();
        QTest::keyClick(f.main.get(), Qt::Key_F5);
    });
    // An edit arriving then (the explorer is not switched off) is refused: the model is in the
    // analysis's units.
    int edits = 0;
    QTimer::singleShot(0, f.main.get(), [&] {
        ++edits;
        EXPECT_THROW(f.main->EditModel([](BeamModel& m) { m.span = 3; }), KradonError);
    });
    const BeamModel before = f.main->state().model;
    QTest::keyClick(f.main.get(), Qt::Key_F5);
    EXPECT_EQ(attempts, 1);
    EXPECT_TRUE(wasRunning);
    EXPECT_EQ(edits, 1);
    EXPECT_EQ(f.main->state().model, before);
    EXPECT_EQ(logLines(*f.main), 7) << "one run only";
    EXPECT_FALSE(f.main->analysing());
    EXPECT_TRUE(f.main->submit->isEnabled());
    EXPECT_TRUE(f.main->KradonTBButton[21]->isEnabled());
}

TEST(Commands, FailedChecksAndUnstableModelsComeBackAsTheyStarted) {
    MainWindowFixture f;
    f.main->GraphBtn_Click(3);
    const BeamModel empty = f.main->state().model;
    f.main->AnalyseCommand();
    EXPECT_EQ(f.messages.texts(), std::vector<std::string>{"No input for calculation"});
    EXPECT_EQ(f.tabs(), std::vector<QString>{"Idealised Beam"});
    EXPECT_EQ(f.main->state().model, empty);
    EXPECT_FALSE(progress(*f.main).isVisible());
    EXPECT_EQ(f.main->sBarPanel[1]->text(), "");

    // An unstable model: the messages (their texts are tested with the analysis), and nothing
    // changed.
    f.messages.shown.clear();
    f.main->state().model = UnstableModel(10);
    f.main->setSpan();
    const BeamModel before = f.main->state().model;
    f.main->sBarPanel[1]->setText("earlier");
    f.messages.answers = {Answer::Continue};
    f.main->AnalyseCommand();
    EXPECT_EQ(f.messages.texts().back(), "Calculation Error - Aborting");
    EXPECT_EQ(f.main->state().model, before) << "in kN again";
    EXPECT_EQ(f.tabs(), std::vector<QString>{"Idealised Beam"}) << "no mesh window";
    EXPECT_EQ(f.main->sBarPanel[1]->text(), "earlier");
    EXPECT_FALSE(progress(*f.main).isVisible());
}

TEST(Commands, SaveAsksForANameUntilItGetsOneAndAFailedSaveKeepsTheModelsFile) {
    MainWindowFixture f;
    const auto proposed = f.folder() / "Kradon1.kdn";
    EXPECT_FALSE(f.main->SaveModel(true)); // no file name yet: Save As, cancelled
    EXPECT_EQ(f.files.lastStartAt, QPath(proposed));
    EXPECT_TRUE(f.messages.shown.empty());
    EXPECT_TRUE(f.main->state().FileName.empty());
    // Only the per-user settings that the first start writes are there.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.folder()), {}), 1);

    // After New, Save asks for a name and proposes the new model's.
    f.main->NewModel();
    EXPECT_EQ(f.main->windowTitle(), "Kradon - [" + QPath(proposed) + "]");
    QAction* save = f.main->findChild<QAction*>("mnuSave");
    save->trigger();
    EXPECT_EQ(f.files.saveTitles.size(), 2u);
    EXPECT_EQ(f.files.lastStartAt, QPath(proposed));
    EXPECT_FALSE(std::filesystem::exists(proposed)) << "cancelled: nothing written";
    const auto saved = f.folder() / "beam.kdn";
    f.files.names = {QString(), QString(), QPath(saved)};
    save->trigger();
    EXPECT_EQ(f.messages.texts(),
              (std::vector<std::string>{"Please Name a File", "Please Name a File"}));
    EXPECT_EQ(f.files.saveTitles, std::vector<QString>(5, "Save As"));
    EXPECT_EQ(f.main->state().FileName, saved.string());
    EXPECT_EQ(f.main->windowTitle(), "Kradon - [" + QPath(saved) + "]");
    save->trigger();
    EXPECT_EQ(f.files.saveTitles.size(), 5u) << "a saved model is saved without a dialog";

    // A failed Save As reports the error and keeps the name; the next Save writes there.
    const auto failed = f.folder() / "no-such-folder" / "beam.kdn";
    f.messages.shown.clear();
    f.files.names = {QPath(failed)};
    EXPECT_FALSE(f.main->SaveModel(false));
    ASSERT_EQ(f.messages.shown.size(), 1u);
    EXPECT_TRUE(f.messages.shown[0].text.starts_with("Error while saving file " + failed.string() +
                                                     "\r\n"));
    EXPECT_EQ(f.main->state().FileName, saved.string()) << "the name changes only on success";
    f.main->state().model.span = 12;
    EXPECT_TRUE(f.main->SaveModel(true));
    EXPECT_EQ(f.files.saveTitles.size(), 6u);
    EXPECT_EQ(modFileWrite::OpenModelFile(saved).span, 12);
    EXPECT_FALSE(std::filesystem::exists(failed.parent_path()));
}

TEST(Commands, UnsavedChangesAreNotLostWithoutAskingOnNewExitOrOpen) {
    for (const Answer answer : {Answer::Cancel, Answer::Discard, Answer::Save}) {
        SCOPED_TRACE(static_cast<int>(answer));
        const bool goesOn = answer != Answer::Cancel;
        MainWindowFixture f;
        const auto copy = f.folder() / "copy.kdn";
        std::filesystem::copy_file(ExamplePath("cantilever.kdn"), copy);
        ASSERT_TRUE(f.main->OpenModel(QPath(copy)));
        f.main->state().model.span = 7.5; // an edit
        f.messages.answers = {answer};
        f.main->NewModel();
        ASSERT_EQ(f.messages.asked.size(), 1u);
        EXPECT_EQ(f.messages.asked[0].text, UnsavedChangesText);
        EXPECT_EQ(f.main->state().FileName == copy.string(), !goesOn);
        EXPECT_EQ(f.main->state().model.span == 7.5, !goesOn);
        EXPECT_EQ(modFileWrite::OpenModelFile(copy).span == 7.5, answer == Answer::Save);
        EXPECT_FALSE(f.main->isModified() && goesOn);
    }

    // Exit and Open ask too, also about a span typed but not confirmed.
    MainWindowFixture f;
    QTest::mouseClick(f.main->spanTxt, Qt::LeftButton);
    f.main->spanTxt->selectAll();
    QTest::keyClicks(f.main->spanTxt, "12");
    f.messages.answers = {Answer::Cancel};
    f.main->close();
    EXPECT_EQ(f.main->state().model.span, 12);
    EXPECT_EQ(f.messages.asked.size(), 1u) << "the typed span is a change not yet saved";
    EXPECT_TRUE(f.main->isVisible()) << "cancel keeps the program running";
    f.messages.answers = {Answer::Cancel};
    EXPECT_FALSE(OpenSample(f, "cantilever.kdn"));
    EXPECT_EQ(f.main->state().model.span, 12);
    f.messages.answers = {Answer::Discard};
    f.main->close();
    EXPECT_FALSE(f.main->isVisible());
    EXPECT_EQ(f.messages.asked.size(), 3u);
}

} // namespace
} // namespace kradon::test
