// The file commands and the Analyse command, driven through the main window.
#include "ShellTestSupport.h"
#include "app/frmProperties.h"
#include "app/frmResGraph.h"
#include "app/frmStatus.h"
#include "app/modMDI.h"
#include "core/analysis/ModelBuilder.h"
#include "model/KradonError.h"
#include "model/modFileWrite.h"
#include "model/modText.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace kradon::test {
namespace {

const std::vector<std::string> SuccessLog = {"Kradon Analysis Initialised......",
                                             "Meshing....",
                                             "Element Stiffnesses......",
                                             "Restricting Global Matrix...",
                                             "Solving.......",
                                             "Backsubstituting.......",
                                             "Preparing Graphics....."};

std::vector<std::string> logLines(frmMain& main) {
    std::vector<std::string> lines;
    const QString text = main.findChild<QPlainTextEdit*>("StatusTxt")->toPlainText();
    for (const QString& line : text.split('\n', Qt::SkipEmptyParts))
        lines.push_back(line.toStdString());
    return lines;
}

/// Whether an analysis copy ("kradon-....tmp") is still in folder.
bool analysisCopyLeftIn(const std::filesystem::path& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(modFileWrite::AnalysisCopyPrefix) &&
            name.ends_with(modFileWrite::AnalysisCopySuffix))
            return true;
    }
    return false;
}

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

TEST(Commands, OpenAnalyseAndShowEveryDiagram) {
    MainWindowFixture f;
    const std::string sample = ExamplePath("simply-supported-point-load.kdn");
    f.files.names.push_back(qs(sample));
    f.main->findChild<QAction*>("mnuOpen")->trigger();
    EXPECT_EQ(f.main->windowTitle(), qs("Kradon - [" + sample + "]"));
    EXPECT_EQ(f.main->state().FileName, sample);
    EXPECT_EQ(f.tabs(), std::vector<QString>{"Idealised Beam"});
    EXPECT_EQ(f.main->spanTxt->text(), qs(modText::GeneralNumber(f.main->state().model.span)));
    EXPECT_EQ(f.files.lastFilters,
              (QStringList{"Kradon models (*.kdn *.json)", "Kradon files (*.kdn)",
                           "Kradon JSON models (*.kradon.json)", "All files (*)"}));
    EXPECT_EQ(f.files.lastSuffix, "kdn");

    QTest::mouseClick(f.main->findChild<QPushButton*>("submit"), Qt::LeftButton);
    EXPECT_TRUE(f.messages.shown.empty()) << f.messages.texts().front();
    EXPECT_EQ(logLines(*f.main), SuccessLog);
    auto* status = f.main->findChild<frmStatus*>("frmStatus");
    EXPECT_FALSE(status->isVisible());
    EXPECT_EQ(status->windowTitle(), "Execution Progress");
    EXPECT_EQ(status->findChild<QProgressBar*>("pBar")->value(), 100);
    EXPECT_EQ(status->findChild<QLabel*>("StatLbl")->text(), "Calculating.....100%");
    EXPECT_EQ(f.tabs(), (std::vector<QString>{"Idealised Beam", "Kradon Mesh"}));
    const QString timing = f.main->sBarPanel[1]->text();
    EXPECT_TRUE(timing.startsWith("Previous Analysis time was ")) << timing.toStdString();
    EXPECT_TRUE(timing.endsWith("s"));
    EXPECT_GT(f.main->state().mesh.NodeCount, 2);
    EXPECT_FALSE(f.main->isModified());

    for (int k = 2; k < 7; ++k)
        QTest::mouseClick(f.main->findChild<QPushButton*>(QString("GraphBtn_%1").arg(k)),
                          Qt::LeftButton);
    EXPECT_EQ(f.tabs().size(), 7u);
    for (int k = 0; k < 7; ++k) {
        auto* diagram = qobject_cast<frmResGraph*>(f.main->mdi().childOfKind(k)->widget());
        const QImage image = diagram->Disp->grab().toImage();
        ASSERT_FALSE(image.isNull());
        // Something besides the white background was drawn.
        bool drawn = false;
        for (int y = 0; y < image.height() && !drawn; y += 2)
            for (int x = 0; x < image.width() && !drawn; x += 2)
                drawn = image.pixelColor(x, y) != Qt::white;
        EXPECT_TRUE(drawn) << "kind " << k;
    }
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(Commands, OpenAndNewClearThePreviousAnalysisTime) {
    MainWindowFixture f;
    const QString sample = qs(ExamplePath("cantilever.kdn"));
    ASSERT_TRUE(f.main->OpenModel(sample));
    const auto analysed = [&] {
        f.main->AnalyseCommand();
        return f.main->sBarPanel[1]->text().startsWith("Previous Analysis time was ");
    };
    ASSERT_TRUE(analysed());
    f.main->OpenModel(qs((f.folder() / "missing.kdn").string()));
    EXPECT_TRUE(f.main->sBarPanel[1]->text().startsWith("Previous")) << "a failed Open keeps it";
    ASSERT_TRUE(f.main->OpenModel(qs(ExamplePath("two-span-continuous-udl.kdn"))));
    EXPECT_EQ(f.main->sBarPanel[1]->text(), "");
    ASSERT_TRUE(analysed());
    f.main->NewModel();
    EXPECT_EQ(f.main->sBarPanel[1]->text(), "");
}

TEST(Commands, ProgressWindowIsCentredOverTheMainWindow) {
    MainWindowFixture f;
    for (const QPoint place : {QPoint(40, 30), QPoint(260, 170)}) {
        f.main->move(place);
        auto* status = f.main->findChild<frmStatus*>("frmStatus");
        f.main->status().udPb(50);
        ASSERT_TRUE(status->isVisible());
        const QPoint offset = status->frameGeometry().center() - f.main->frameGeometry().center();
        status->hide();
        EXPECT_LE(offset.manhattanLength(), 2)
            << "main window at " << place.x() << ", " << place.y();
    }
}

TEST(Commands, F5AnalysesAndTheCommandCannotStartAgainWhileItRuns) {
    MainWindowFixture f;
    ASSERT_TRUE(f.main->OpenModel(qs(ExamplePath("two-span-continuous-udl.kdn"))));
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
    EXPECT_EQ(logLines(*f.main), SuccessLog) << "one run only";
    EXPECT_FALSE(f.main->analysing());
    EXPECT_TRUE(f.main->submit->isEnabled());
    EXPECT_TRUE(f.main->KradonTBButton[21]->isEnabled());
}

TEST(Commands, FailedCheckOpensOnlyTheIdealisedBeam) {
    MainWindowFixture f;
    f.main->GraphBtn_Click(3);
    const BeamModel before = f.main->state().model;
    f.main->AnalyseCommand();
    EXPECT_EQ(f.messages.texts(), std::vector<std::string>{"No input for calculation"});
    EXPECT_EQ(f.tabs(), std::vector<QString>{"Idealised Beam"});
    EXPECT_EQ(f.main->state().model, before);
    EXPECT_FALSE(f.main->findChild<frmStatus*>("frmStatus")->isVisible());
    EXPECT_EQ(f.main->sBarPanel[1]->text(), "");
    EXPECT_EQ(f.main->windowTitle(), "Kradon (v 1.0.6)");
}

TEST(Commands, UnstableModelComesBackAsItStarted) {
    MainWindowFixture f;
    f.main->state().model = UnstableModel(10);
    f.main->setSpan();
    const BeamModel before = f.main->state().model;
    f.main->sBarPanel[1]->setText("earlier");
    // The stretch without E is asked about first; Cancel stops before anything changes.
    const std::string cause = "E is not defined from 5 m to 10 m: that stretch carries nothing.";
    f.main->AnalyseCommand();
    ASSERT_EQ(f.messages.asked.size(), 1u);
    EXPECT_EQ(f.messages.asked[0].text, cause);
    EXPECT_EQ(f.messages.asked[0].title, "Input Data Checking Routine");
    EXPECT_FALSE(f.main->findChild<frmStatus*>("frmStatus")->isVisible());
    EXPECT_EQ(f.main->state().model, before);
    f.messages.shown.clear();
    f.messages.answers = {Answer::Continue};
    f.main->AnalyseCommand();
    EXPECT_EQ(
        f.messages.texts(),
        (std::vector<std::string>{cause, "Structure is unstable - Aborting analysis\r\n" + cause,
                                  "Calculation Error - Aborting"}));
    EXPECT_EQ(f.main->state().model, before);
    EXPECT_EQ(f.main->state().model.PointLoad.value[1], 10) << "kN again";
    EXPECT_EQ(f.tabs(), std::vector<QString>{"Idealised Beam"}) << "no mesh window";
    EXPECT_EQ(f.main->sBarPanel[1]->text(), "earlier");
    EXPECT_FALSE(f.main->findChild<frmStatus*>("frmStatus")->isVisible());
    EXPECT_FALSE(analysisCopyLeftIn(f.folder())) << "the copy goes with its analysis";
}

TEST(Commands, FailedOpenChangesNothing) {
    MainWindowFixture f;
    const std::string sample = ExamplePath("cantilever.kdn");
    ASSERT_TRUE(f.main->OpenModel(qs(sample)));
    f.main->GraphBtn_Click(2);
    const BeamModel before = f.main->state().model;
    const QString caption = f.main->windowTitle();
    const auto tabs = f.tabs();

    const std::string missing = (f.folder() / "missing.kdn").string();
    const auto damaged = f.folder() / "damaged.kdn";
    std::ofstream(damaged, std::ios::binary) << "not a model";
    for (const std::string& bad : {missing, damaged.string()}) {
        SCOPED_TRACE(bad);
        f.messages.shown.clear();
        EXPECT_FALSE(f.main->OpenModel(qs(bad)));
        ASSERT_EQ(f.messages.shown.size(), 1u);
        EXPECT_EQ(
            f.messages.shown[0].text.rfind("Unkown error while opening file " + bad + "\r\n", 0),
            0u);
        EXPECT_EQ(f.main->state().model, before);
        EXPECT_EQ(f.main->state().FileName, sample);
        EXPECT_EQ(f.main->windowTitle(), caption);
        EXPECT_EQ(f.tabs(), tabs);
    }
}

TEST(Commands, CancelledOpenIsSilent) {
    MainWindowFixture f;
    f.main->KradonTB_ButtonClick(2);
    EXPECT_EQ(f.files.openCalls, 1);
    EXPECT_TRUE(f.messages.shown.empty());
    EXPECT_EQ(f.main->windowTitle(), "Kradon (v 1.0.6)");
}

TEST(Commands, SaveAsAsksForANameUntilItGetsOne) {
    MainWindowFixture f;
    const auto target = f.folder() / "beam.kdn";
    f.files.names = {QString(), QString(), qs(target.string())};
    EXPECT_TRUE(f.main->SaveModel(false));
    EXPECT_EQ(f.messages.texts(),
              (std::vector<std::string>{"Please Name a File", "Please Name a File"}));
    EXPECT_EQ(f.messages.shown[0].title, "Kradon");
    EXPECT_EQ(f.files.saveTitles, (std::vector<QString>{"Save As", "Save As", "Save As"}));
    EXPECT_EQ(f.main->state().FileName, target.string());
    // M = 10 and nothing in the model.
    EXPECT_EQ(std::filesystem::file_size(target), 2800u);
    EXPECT_EQ(f.main->windowTitle(), "Kradon - [" + qs(target.string()) + "]");
}

TEST(Commands, SaveAsShowsTheNewNameAtOnce) {
    MainWindowFixture f;
    ASSERT_TRUE(f.main->OpenModel(qs(ExamplePath("cantilever.kdn"))));
    f.main->KradonTB_ButtonClick(17); // the explorer
    const auto copy = f.folder() / "copy.kdn";
    f.files.names = {qs(copy.string())};
    ASSERT_TRUE(f.main->SaveModel(false));
    EXPECT_EQ(f.main->windowTitle(), "Kradon - [" + qs(copy.string()) + "]");
    EXPECT_EQ(f.main->properties()->findChild<QLabel*>("StatusBar1Panel")->text(),
              qs(copy.string()));
}

TEST(Commands, CancelledSaveAsWritesNothing) {
    MainWindowFixture f;
    EXPECT_FALSE(f.main->SaveModel(true)); // no file name yet: Save As, cancelled
    EXPECT_TRUE(f.messages.shown.empty());
    EXPECT_TRUE(f.main->state().FileName.empty());
    // Only the per-user settings that the first start writes are there.
    for (const auto& entry : std::filesystem::directory_iterator(f.folder()))
        EXPECT_EQ(entry.path().filename(), "settings.conf");
}

TEST(Commands, SaveAfterNewAsksForANameProposingTheNewModelName) {
    MainWindowFixture f;
    f.main->NewModel();
    EXPECT_EQ(f.tabs(), std::vector<QString>{"Idealised Beam"});
    const auto proposed = f.folder() / "Kradon1.kdn";
    EXPECT_EQ(f.main->windowTitle(), qs("Kradon - [" + proposed.string() + "]"));

    QAction* save = f.main->findChild<QAction*>("mnuSave");
    f.files.names = {std::nullopt};
    save->trigger();
    EXPECT_EQ(f.files.saveTitles, std::vector<QString>{"Save As"});
    EXPECT_EQ(f.files.lastStartAt, qs(proposed.string()));
    EXPECT_FALSE(std::filesystem::exists(proposed)) << "cancelled: nothing written";

    const auto chosen = f.folder() / "beam.kdn";
    f.files.names = {qs(chosen.string())};
    save->trigger();
    EXPECT_EQ(f.main->state().FileName, chosen.string());
    EXPECT_EQ(std::filesystem::file_size(chosen), 2800u);
    save->trigger();
    EXPECT_EQ(f.files.saveTitles.size(), 2u) << "a saved model is saved without a dialog";
}

TEST(Commands, SaveAsStartsAtTheModelOrTheNewModelName) {
    MainWindowFixture f;
    f.main->SaveModel(false);
    EXPECT_EQ(f.files.lastStartAt, qs((f.folder() / "Kradon1.kdn").string())) << "fresh start";
    const std::string sample = ExamplePath("cantilever.kdn");
    ASSERT_TRUE(f.main->OpenModel(qs(sample)));
    f.main->SaveModel(false);
    EXPECT_EQ(f.files.lastStartAt, qs(sample));
}

TEST(Commands, SaveErrorIsReported) {
    MainWindowFixture f;
    const auto target = f.folder() / "no-such-folder" / "beam.kdn";
    f.files.names = {qs(target.string())};
    EXPECT_FALSE(f.main->SaveModel(false));
    ASSERT_EQ(f.messages.shown.size(), 1u);
    EXPECT_EQ(
        f.messages.shown[0].text.rfind("Error while saving file " + target.string() + "\r\n", 0),
        0u);
}

TEST(Commands, AFailedSaveAsKeepsTheModelsNameAndFile) {
    MainWindowFixture f;
    const auto saved = f.folder() / "beam.kdn";
    f.files.names = {qs(saved.string())};
    ASSERT_TRUE(f.main->SaveModel(false));
    const auto savedBytes = std::filesystem::file_size(saved);

    const auto failed = f.folder() / "no-such-folder" / "beam.kdn";
    f.files.names = {qs(failed.string())};
    EXPECT_FALSE(f.main->SaveModel(false));
    EXPECT_EQ(f.main->state().FileName, saved.string()) << "the name changes only on success";

    // The next Save writes where the model was saved, without asking.
    f.main->state().model.span = 12;
    EXPECT_TRUE(f.main->SaveModel(true));
    EXPECT_EQ(f.files.saveTitles.size(), 2u);
    EXPECT_EQ(modFileWrite::OpenModelFile(saved).span, 12);
    EXPECT_EQ(std::filesystem::file_size(saved), savedBytes);
    EXPECT_FALSE(std::filesystem::exists(failed.parent_path()));
}

TEST(Commands, UnsavedChangesAreNotLostWithoutAsking) {
    struct Case {
        const char* name;
        Answer answer;
        bool goesOn;
    };
    const std::vector<Case> cases = {{"cancel", Answer::Cancel, false},
                                     {"discard", Answer::Discard, true},
                                     {"save", Answer::Save, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MainWindowFixture f;
        const auto copy = f.folder() / "copy.kdn";
        std::filesystem::copy_file(ExamplePath("cantilever.kdn"), copy);
        ASSERT_TRUE(f.main->OpenModel(qs(copy.string())));
        f.main->state().model.span = 7.5; // an edit
        ASSERT_TRUE(f.main->isModified());
        const auto sizeBefore = std::filesystem::file_size(copy);
        f.messages.answers = {c.answer};
        f.main->NewModel();
        ASSERT_EQ(f.messages.asked.size(), 1u);
        EXPECT_EQ(f.messages.asked[0].text,
                  "The model has changes that have not been saved. Save them before going on?");
        EXPECT_EQ(f.main->state().FileName == copy.string(), !c.goesOn);
        EXPECT_EQ(f.main->state().model.span == 7.5, !c.goesOn);
        if (c.answer == Answer::Save)
            EXPECT_EQ(modFileWrite::OpenModelFile(copy).span, 7.5);
        else
            EXPECT_EQ(std::filesystem::file_size(copy), sizeBefore);
        EXPECT_FALSE(f.main->isModified() && c.goesOn);
    }
}

TEST(Commands, ExitAndOpenAskBeforeDiscarding) {
    MainWindowFixture f;
    f.main->state().model.span = 9;
    f.messages.answers = {Answer::Cancel};
    f.main->close();
    EXPECT_TRUE(f.main->isVisible()) << "cancel keeps the program running";
    f.messages.answers = {Answer::Cancel};
    EXPECT_FALSE(f.main->OpenModel(qs(ExamplePath("cantilever.kdn"))));
    EXPECT_EQ(f.main->state().model.span, 9);
    f.messages.answers = {Answer::Discard};
    f.main->close();
    EXPECT_FALSE(f.main->isVisible());
    EXPECT_EQ(f.messages.asked.size(), 3u);
}

TEST(Commands, ASpanTypedButNotConfirmedIsAskedAboutOnExit) {
    MainWindowFixture f;
    QTest::mouseClick(f.main->spanTxt, Qt::LeftButton);
    f.main->spanTxt->selectAll();
    QTest::keyClicks(f.main->spanTxt, "12");
    f.messages.answers = {Answer::Cancel};
    f.main->close();
    EXPECT_EQ(f.main->state().model.span, 12);
    EXPECT_EQ(f.messages.asked.size(), 1u) << "the typed span is a change not yet saved";
    EXPECT_TRUE(f.main->isVisible());
}

TEST(Commands, UnchangedModelClosesWithoutAsking) {
    MainWindowFixture f;
    ASSERT_TRUE(f.main->OpenModel(qs(ExamplePath("cantilever.kdn"))));
    f.main->AnalyseCommand();
    f.main->close();
    EXPECT_FALSE(f.main->isVisible());
    EXPECT_TRUE(f.messages.asked.empty());
}

} // namespace
} // namespace kradon::test

#ifdef KRADON_HAS_PICTURE_FILES
namespace kradon::test {
namespace {

TEST(Commands, DiagramWindowSavesItsPicture) {
    MainWindowFixture f;
    ASSERT_TRUE(f.main->OpenModel(qs(ExamplePath("simply-supported-point-load.kdn"))));
    f.main->AnalyseCommand();
    f.main->GraphBtn_Click(2);
    auto* diagram = qobject_cast<frmResGraph*>(f.main->mdi().childOfKind(2)->widget());
    ASSERT_NE(diagram, nullptr);
    for (const char* name : {"bmd.png", "bmd.svg", "bmd.pdf"}) {
        SCOPED_TRACE(name);
        const auto path = f.folder() / name;
        f.files.names = {qs(path.string())};
        diagram->findChild<QAction*>("mnuSavePicture")->trigger();
        ASSERT_TRUE(std::filesystem::exists(path));
        EXPECT_GT(std::filesystem::file_size(path), 100u);
    }
    EXPECT_FALSE(QImage(qs((f.folder() / "bmd.png").string())).isNull());
    EXPECT_TRUE(f.messages.shown.empty());
    f.files.names.clear(); // cancelled: nothing happens
    diagram->findChild<QAction*>("mnuSavePicture")->trigger();
    EXPECT_TRUE(f.messages.shown.empty());
}

} // namespace
} // namespace kradon::test
#endif
