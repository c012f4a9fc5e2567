// The out-of-date marks of the result windows: the title and the band after a change of the
// model, gone after Undo back to the analysed model and after an analysis, and the question
// before an out-of-date window is printed or saved; Analyse after every change, which keeps the
// windows up to date by itself; and the exports: the calculation sheet and the results CSV,
// analysed first when the results are out of date, the report's rows copied as tab-separated
// values, and the exact value under the pointer of a diagram window.
#include "../core/FileSafetySupport.h"
#include "DialogTestSupport.h"
#include "app/ResultViews.h"
#include "app/frmResGraph.h"
#include "app/modMDI.h"
#include "app/results/frmElementDisp.h"
#include "app/results/frmPrintPrev.h"
#include "app/results/frmResultDisplay.h"
#include "app/settings/frmOptions.h"
#include "results/ResultsCsv.h"
#include "settings/SettingsKeys.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QToolTip>
#include <gtest/gtest.h>
#include <vector>

namespace kradon::test {
namespace {

/// The windows that show results: their frames and contents.
struct ResultWindow {
    QWidget* frame;
    QWidget* content;
    QString title;
};

void expectMarks(const std::vector<ResultWindow>& windows, bool outOfDate, const char* when) {
    for (const ResultWindow& w : windows) {
        SCOPED_TRACE(w.title.toStdString() + ", " + when);
        EXPECT_EQ(w.frame->windowTitle(), outOfDate ? w.title + " (out of date)" : w.title);
        EXPECT_EQ(ShowsOutOfDateBand(*w.content), outOfDate);
    }
}

QString qs(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

/// A copy of the simply supported sample (50 kN at 4 m on 10 m) analysed, with every result
/// window open, and the user's details stored.
class AnalysedSample {
public:
    AnalysedSample() {
        std::filesystem::copy_file(ExamplePath("simply-supported-point-load.kdn"), model);
        EXPECT_TRUE(f.main->OpenModel(qs(model)));
        f.main->AnalyseCommand();
        f.main->settings().SaveSetting(SettingsKeys::Config, SettingsKeys::UserName,
                                       "Ada Engineer");
        f.main->settings().SaveSetting(SettingsKeys::Config, SettingsKeys::UserOrganisation,
                                       "Beam Works");
        openResults();
        results = ChildContent<frmResultDisplay>(*f.main, ResultsKind);
        results->ElementListCmb_Click(2);
        results->Command1_Click();
        element = f.main->findChild<frmElementDisp*>("frmElementDisp");
        picture = f.main->findChild<frmPrintPrev*>("frmPrintPrev");
    }
    void openResults() {
        for (std::int16_t kind = 2; kind <= ResultsKind; ++kind)
            f.main->GraphBtn_Click(kind);
    }
    /// The result windows; withPicture false leaves out the composed picture, which an analysis
    /// leaves out of date until its Beam button is pressed.
    std::vector<ResultWindow> windows(bool withPicture = true) const {
        std::vector<ResultWindow> w;
        for (std::int16_t kind = 1; kind <= ResultsKind; ++kind) {
            ChildWindow* child = f.main->mdi().childOfKind(kind);
            w.push_back({child, child->widget(), ChildCaptions[static_cast<std::size_t>(kind)]});
        }
        w.push_back({element, element, ElementDispCaption});
        if (withPicture)
            w.push_back({picture, picture, PrintPrevCaption});
        return w;
    }
    /// Adds a 50 kN point load through its dialog.
    void addLoad() {
        QDialog* d = ClickAdd(*f.main, AddPointLoad, "frmPln");
        Type(d, "LoadVal", "50");
        Type(d, "LoadLoc", "7");
        Click(d, "OKButton");
    }
    MainWindowFixture f;
    const std::filesystem::path model = f.folder() / "model.kdn";
    frmResultDisplay* results = nullptr;
    frmElementDisp* element = nullptr;
    frmPrintPrev* picture = nullptr;
};

// A change marks every result window, and saving or printing one asks first; Undo back to the
// analysed model or F5 clears the marks.
TEST(ResultViews, AChangeMarksEveryResultWindowAndUndoBackOrF5ClearsIt) {
    AnalysedSample a;
    ASSERT_NE(a.element, nullptr);
    ASSERT_NE(a.picture, nullptr);
    const std::vector<ResultWindow> windows = a.windows();
    expectMarks(windows, false, "after the analysis");
    auto* bmd = ChildContent<frmResGraph>(*a.f.main, 2);
    bmd->mnuSavePicture->trigger();
    EXPECT_TRUE(a.f.messages.asked.empty()) << "an up-to-date window does not ask";
    EXPECT_EQ(a.f.files.saveTitles.size(), 1u);

    a.addLoad();
    EXPECT_FALSE(a.f.main->analysisPending()) << "no analysis after a change unless asked for";
    expectMarks(windows, true, "after the new load");
    EXPECT_EQ(a.f.main->mdi().childOfKind(0)->windowTitle(), "Idealised Beam")
        << "it shows the model";
    EXPECT_EQ(a.f.tabs().back(), "Results") << "tabs keep their captions";
    a.f.messages.answers = {Answer::No};
    bmd->mnuSavePicture->trigger();
    ASSERT_EQ(a.f.messages.asked.size(), 1u);
    EXPECT_EQ(a.f.messages.asked[0].title, "Bending Moment Diagram");
    EXPECT_EQ(a.f.messages.asked[0].text, "These results are out of date: the model has changed "
                                          "since they were calculated.\r\nSave them anyway?");
    EXPECT_EQ(a.f.files.saveTitles.size(), 1u) << "No: no file dialog";
    a.f.messages.answers = {Answer::Yes};
    bmd->mnuSavePicture->trigger();
    EXPECT_EQ(a.f.files.saveTitles.size(), 2u);
    a.f.messages.answers = {Answer::No, Answer::No};
    a.results->FileSave->trigger();
    a.results->FileSavePdf->trigger();
    EXPECT_EQ(a.f.messages.asked.size(), 4u);
    EXPECT_EQ(a.f.files.saveTitles.size(), 2u);

    a.f.main->mnuUndo->trigger();
    expectMarks(windows, false, "after Undo");
    a.f.main->mnuRedo->trigger();
    expectMarks(windows, true, "after Redo");

    // An analysis brings every window up to date that takes the tables again; a composed
    // picture waits for its Beam button.
    a.f.main->KradonTBButton[21]->trigger(); // F5
    a.openResults();
    expectMarks(a.windows(false), false, "after F5");
    EXPECT_EQ(a.picture->windowTitle(), QString(PrintPrevCaption) + " (out of date)");
    a.picture->BeamBtn->click();
    EXPECT_EQ(a.picture->windowTitle(), PrintPrevCaption);
}

/// Counts the times a widget is shown.
struct ShowCounter : QObject {
    int shows = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        shows += event->type() == QEvent::Show ? 1 : 0;
        return false;
    }
};

TEST(AnalyseAfterEveryChange, IsTickedInTheOptionsAndKeptAndThenABurstRunsOneQuietAnalysis) {
    AnalysedSample a;
    frmMain& main = *a.f.main;
    EXPECT_FALSE(main.state().options.AnalyseAfterEveryChange);
    main.mnuOptions->trigger();
    EXPECT_EQ(main.optionsDialog().AnalyseAfterChangeChk->text(), "&Analyse after every change");
    main.optionsDialog().AnalyseAfterChangeChk->setChecked(true);
    main.optionsDialog().OKBtn->click();
    EXPECT_TRUE(main.state().options.AnalyseAfterEveryChange);
    EXPECT_EQ(main.settings().GetSetting("Options", "Analyse After Every Change"), "True");
    EXPECT_FALSE(main.analysisPending()) << "the results are those of the model";
    {
        // The next start reads it back.
        RecordingShellSink messages;
        ScriptedFilePicker files;
        frmMain next(messages, files, main.paths());
        EXPECT_TRUE(next.state().options.AnalyseAfterEveryChange);
        EXPECT_TRUE(next.optionsDialog().AnalyseAfterChangeChk->isChecked());
    }
    std::vector<AnalyseOutcome> outcomes;
    QObject::connect(&main, &frmMain::analysisFinished,
                     [&outcomes](AnalyseOutcome o) { outcomes.push_back(o); });
    ShowCounter progress;
    main.findChild<QWidget*>("frmStatus")->installEventFilter(&progress);

    const std::vector<QString> tabs = a.f.tabs();
    for (const double kN : {60.0, 70.0, 80.0})
        main.EditModel([kN](BeamModel& m) { m.PointLoad.value[1] = kN; }, "Edit Point Load 1");
    EXPECT_TRUE(main.analysisPending());
    expectMarks({a.windows()[1]}, true, "while the analysis waits");
    main.runPendingAnalysis();
    EXPECT_EQ(outcomes, std::vector<AnalyseOutcome>{AnalyseOutcome::Completed});
    EXPECT_EQ(progress.shows, 0) << "no progress window for a quick analysis";
    EXPECT_EQ(a.f.tabs(), tabs) << "no window opened or closed";
    expectMarks(a.windows(false), false, "after the analysis");
    EXPECT_EQ(main.state().model.PointLoad.value[1], 80);
    EXPECT_NE(a.results->Editor->toPlainText().indexOf("-- STRESS RESULTANTS"), -1);
    EXPECT_TRUE(main.sBarPanel[1]->text().startsWith("Previous Analysis time was "));

    // A load at a new place makes a new segment: the open window's element list follows.
    const int elements = a.results->ElementListCmb->count();
    main.EditModel(
        [](BeamModel& m) {
            m.count(RecordKind::PointLoad) = 2;
            m.PointLoad.value[2] = 10;
            m.PointLoad.location[2] = 7;
        },
        "Add Point Load 2");
    main.runPendingAnalysis();
    EXPECT_NE(a.results->ElementListCmb->count(), elements);
    EXPECT_EQ(a.results->ElementListCmb->count(), main.state().mesh.ElementCount);

    // What the analysis has to say goes to the status bar, not to a box. The check refuses a
    // beam without supports: the windows stay marked.
    main.EditModel([](BeamModel& m) { m.count(RecordKind::RigidSupport) = 0; });
    main.runPendingAnalysis();
    EXPECT_EQ(outcomes.back(), AnalyseOutcome::CheckFailed);
    EXPECT_EQ(main.sBarPanel[1]->text(),
              "Not analysed: Number/location of supports is erroneous in input");
    expectMarks({a.windows()[0]}, true, "after the refusal");
    main.mnuUndo->trigger();
    main.runPendingAnalysis();

    // A stretch without E is said in the status bar, and the analysis goes on.
    main.EditModel([](BeamModel& m) { m.ESegment.disB[1] = 8; });
    main.runPendingAnalysis();
    EXPECT_EQ(outcomes.back(), AnalyseOutcome::Unstable);
    EXPECT_TRUE(main.sBarPanel[1]->text().startsWith(
        "Not analysed: E is not defined from 8 m to 10 m: that stretch carries nothing.  "
        "Structure is unstable - Aborting analysis"))
        << main.sBarPanel[1]->text().toStdString();
    EXPECT_TRUE(a.f.messages.shown.empty()) << a.f.messages.texts().front();
    EXPECT_EQ(progress.shows, 0);
}

TEST(Exports, SheetOfTheAnalysedModelAndOfAChangedOneOnlyAfterAnalysingIt) {
    AnalysedSample a;
    MainWindowFixture& f = a.f;
    const auto pdf = f.folder() / "sheet.pdf";
    f.files.names.push_back(qs(pdf));
    f.main->mnuExportSheet->trigger();
    EXPECT_TRUE(f.messages.asked.empty());
    EXPECT_EQ(f.files.saveTitles.back(), "Export Calculation Sheet");
    EXPECT_EQ(f.files.lastStartAt, qs(f.folder()));
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", qs(pdf), "-"});
    ASSERT_TRUE(pdftotext.waitForFinished(30000));
    const QString text = pdftotext.readAllStandardOutput();
    EXPECT_TRUE(text.contains("Model: model.kdn")) << text.toStdString();
    EXPECT_TRUE(text.contains("By: Ada Engineer, Beam Works"));
    EXPECT_TRUE(text.contains("Page 1 of "));

    // A heavier point load: the results no longer belong to the model.
    f.main->EditModel([](BeamModel& m) { m.PointLoad.value[1] = 60; });
    const auto html = f.folder() / "sheet.html";
    f.messages.answers.push_back(Answer::No);
    f.files.names.push_back(qs(html));
    f.main->mnuExportSheet->trigger();
    ASSERT_EQ(f.messages.asked.size(), 1u);
    EXPECT_EQ(f.messages.asked[0].text,
              "The results do not belong to the model as it is now. Analyse the model first?");
    EXPECT_FALSE(std::filesystem::exists(html));
    f.messages.answers.push_back(Answer::Yes);
    f.main->mnuExportSheet->trigger();
    ASSERT_TRUE(std::filesystem::exists(html)) << ::testing::PrintToString(f.messages.texts());
    // 60 kN at 4 m of 10: 36 kN at the left support.
    EXPECT_NE(fileBytes(html).find("<td>R1</td><td>Pinned</td><td class=\"num\">0.000</td><td "
                                   "class=\"num\">36.000</td>"),
              std::string::npos);
}

TEST(Exports, ResultsWindowExportsTheCsvAndCopiesRowsAsTabSeparatedValues) {
    AnalysedSample a;
    MainWindowFixture& f = a.f;
    frmResultDisplay* results = a.results;
    const auto csv = f.folder() / "results.csv";
    f.files.names.push_back(qs(csv));
    results->FileExportCsv->trigger();
    QCoreApplication::processEvents(); // the request reaches the main window queued
    EXPECT_EQ(f.files.saveTitles.back(), "Export Results (CSV)");
    EXPECT_EQ(fileBytes(csv), ResultsCsv(f.main->state()));

    results->Editor->setFocus();
    QTest::keyClick(results->Editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(results->Editor, Qt::Key_C, Qt::ControlModifier);
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_EQ(copied.toStdString(), TabSeparatedRows(results->Editor->toPlainText().toStdString()));
    EXPECT_TRUE(copied.contains("\n1\t000.000\tPinned\t030.000\t000.000\n"))
        << copied.toStdString();
}

TEST(Exports, PointerOverTheShearDiagramShowsBothSidesOfTheJumpExactly) {
    AnalysedSample a;
    MainWindowFixture& f = a.f;
    f.main->GraphBtn_Click(3); // the shear force diagram, brought forward
    QWidget* disp = DiagramSurface(*f.main, 3);
    ASSERT_NE(disp, nullptr);
    QTest::qWait(50); // painted once, so the window knows its scale
    // The frame runs from -0.1 L to 1.1 L across the drawing: x = 4 m is 5 / 12 of the way.
    const QPoint at4(static_cast<int>(disp->width() * 5.0 / 12 + 0.5), disp->height() / 2);
    QTest::mouseMove(disp, at4);
    const std::string expected = "x = 4.000 m: V = -30.000 kN left, 20.000 kN right";
    EXPECT_EQ(f.main->statusBar()->currentMessage().toStdString(), expected);
    EXPECT_EQ(QToolTip::text().toStdString(), expected);
    QTest::mouseMove(disp, QPoint(disp->width() * 9 / 12, disp->height() / 2));
    EXPECT_TRUE(f.main->statusBar()->currentMessage().endsWith(": V = 20.000 kN"))
        << f.main->statusBar()->currentMessage().toStdString();
}

} // namespace
} // namespace kradon::test
