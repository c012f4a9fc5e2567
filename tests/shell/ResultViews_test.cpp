// The out-of-date marks of the result windows and the question before such a window is saved;
// Analyse after every change, which keeps the windows up to date by itself; and the exports,
// analysed first when the results are out of date, handed to the core.
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

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QPlainTextEdit>
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

/// Whether a result window draws the out-of-date band among its pixels.
bool showsOutOfDateBand(QWidget& content) {
    const QImage image = content.grab().toImage();
    int pixels = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            pixels += image.pixelColor(x, y) == QColor(0xff, 0xf0, 0xa8) ? 1 : 0;
    return pixels > 100;
}

void expectMarks(const std::vector<ResultWindow>& windows, bool outOfDate, const char* when) {
    for (const ResultWindow& w : windows) {
        SCOPED_TRACE(w.title.toStdString() + ", " + when);
        EXPECT_EQ(w.frame->windowTitle(), outOfDate ? w.title + " (out of date)" : w.title);
        EXPECT_EQ(showsOutOfDateBand(*w.content), outOfDate);
    }
}

/// A copy of the simply supported sample (50 kN at 4 m on 10 m) analysed, with every result
/// window open.
class AnalysedSample {
public:
    AnalysedSample() {
        std::filesystem::copy_file(ExamplePath("simply-supported-point-load.kdn"), model);
        EXPECT_TRUE(f.main->OpenModel(QPath(model)));
        f.main->AnalyseCommand();
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
    EXPECT_EQ(a.f.main->mdi().childOfKind(0)->windowTitle(), "Idealised Beam") << "the model";
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
    a.f.messages.answers = {Answer::No};
    a.results->FileSavePdf->trigger();
    EXPECT_EQ(a.f.messages.asked.size(), 3u) << "the report asks too";
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
    main.mnuOptions->trigger();
    main.optionsDialog().AnalyseAfterChangeChk->setChecked(true);
    main.optionsDialog().OKBtn->click();
    EXPECT_TRUE(main.state().options.AnalyseAfterEveryChange);
    EXPECT_EQ(main.settings().GetSetting("Options", "Analyse After Every Change"), "True");
    EXPECT_FALSE(main.analysisPending()) << "the results are those of the model";
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
    EXPECT_TRUE(main.sBarPanel[1]->text().startsWith("Previous Analysis time was "));

    // A load at a new place makes a new segment: the open window's element list follows.
    main.EditModel(
        [](BeamModel& m) {
            m.count(RecordKind::PointLoad) = 2;
            m.PointLoad.value[2] = 10;
            m.PointLoad.location[2] = 7;
        },
        "Add Point Load 2");
    main.runPendingAnalysis();
    EXPECT_EQ(a.results->ElementListCmb->count(), main.state().mesh.ElementCount);

    // What the analysis has to say goes to the status bar, not to a box. The check refuses a
    // beam without supports: the windows stay marked.
    main.EditModel([](BeamModel& m) { m.count(RecordKind::RigidSupport) = 0; });
    main.runPendingAnalysis();
    EXPECT_EQ(outcomes.back(), AnalyseOutcome::CheckFailed);
    EXPECT_EQ(main.sBarPanel[1]->text(),
              "Not analysed: Number/location of supports is erroneous in input");
    expectMarks({a.windows()[0]}, true, "after the refusal");
    EXPECT_TRUE(a.f.messages.shown.empty()) << a.f.messages.texts().front();
    EXPECT_EQ(progress.shows, 0);
}

// The sheet itself is the CLI tests'; the window asks for an analysis first when it is due.
TEST(Exports, SheetOfAChangedModelOnlyAfterAnalysingIt) {
    AnalysedSample a;
    MainWindowFixture& f = a.f;
    // A heavier point load: the results no longer belong to the model.
    f.main->EditModel([](BeamModel& m) { m.PointLoad.value[1] = 60; });
    const auto html = f.folder() / "sheet.html";
    f.messages.answers.push_back(Answer::No);
    f.files.names.push_back(QPath(html));
    f.main->mnuExportSheet->trigger();
    ASSERT_EQ(f.messages.asked.size(), 1u);
    EXPECT_EQ(f.messages.asked[0].text,
              "The results do not belong to the model as it is now. Analyse the model first?");
    EXPECT_FALSE(std::filesystem::exists(html));
    f.messages.answers.push_back(Answer::Yes);
    f.main->mnuExportSheet->trigger();
    ASSERT_TRUE(std::filesystem::exists(html)) << ::testing::PrintToString(f.messages.texts());
    EXPECT_EQ(f.files.saveTitles, std::vector<QString>{"Export Calculation Sheet"});
    // 60 kN at 4 m of 10: 36 kN at the left support.
    EXPECT_NE(fileBytes(html).find("<td>R1</td><td>Pinned</td><td class=\"num\">0.000</td><td "
                                   "class=\"num\">36.000</td>"),
              std::string::npos);
}

TEST(Exports, CsvTabSeparatedRowsAndTheValueUnderThePointerComeFromTheCore) {
    AnalysedSample a;
    MainWindowFixture& f = a.f;
    frmResultDisplay* results = a.results;
    const auto csv = f.folder() / "results.csv";
    f.files.names.push_back(QPath(csv));
    results->FileExportCsv->trigger();
    QCoreApplication::processEvents(); // the request reaches the main window queued
    EXPECT_EQ(f.files.saveTitles.back(), "Export Results (CSV)");
    EXPECT_EQ(fileBytes(csv), ResultsCsv(f.main->state()));

    results->Editor->setFocus();
    QTest::keyClick(results->Editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(results->Editor, Qt::Key_C, Qt::ControlModifier);
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_EQ(copied.toStdString(), TabSeparatedRows(results->Editor->toPlainText().toStdString()));

    // The pointer over the shear force diagram, brought forward: both sides of the jump.
    f.main->GraphBtn_Click(3);
    QWidget* disp = DiagramSurface(*f.main, 3);
    ASSERT_NE(disp, nullptr);
    QTest::qWait(50); // painted once, so the window knows its scale
    // The frame runs from -0.1 L to 1.1 L across the drawing: x = 4 m is 5 / 12 of the way.
    const QPoint at4(static_cast<int>(disp->width() * 5.0 / 12 + 0.5), disp->height() / 2);
    QTest::mouseMove(disp, at4);
    const std::string expected = "x = 4.000 m: V = -30.000 kN left, 20.000 kN right";
    EXPECT_EQ(f.main->statusBar()->currentMessage().toStdString(), expected);
    EXPECT_EQ(QToolTip::text().toStdString(), expected);
}

} // namespace
} // namespace kradon::test
