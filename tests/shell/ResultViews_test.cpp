// The out-of-date marks of the result windows: the title and the band after a change of the
// model, gone after Undo back to the analysed model and after an analysis, and the question
// before an out-of-date window is printed or saved; and Analyse after every change, which keeps
// the windows up to date by itself.
#include "DialogTestSupport.h"
#include "app/ResultViews.h"
#include "app/frmResGraph.h"
#include "app/modMDI.h"
#include "app/results/frmElementDisp.h"
#include "app/results/frmPrintPrev.h"
#include "app/results/frmResultDisplay.h"
#include "app/settings/frmOptions.h"

#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
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

class AnalysedSample {
public:
    AnalysedSample() {
        EXPECT_TRUE(f.main->OpenModel(
            QString::fromStdString(ExamplePath("simply-supported-point-load.kdn"))));
        f.main->AnalyseCommand();
        for (std::int16_t kind = 2; kind <= ResultsKind; ++kind)
            f.main->GraphBtn_Click(kind);
        results = qobject_cast<frmResultDisplay*>(f.main->mdi().childOfKind(ResultsKind)->widget());
        results->ElementListCmb_Click(2);
        results->Command1_Click();
        element = f.main->findChild<frmElementDisp*>("frmElementDisp");
        picture = f.main->findChild<frmPrintPrev*>("frmPrintPrev");
    }
    std::vector<ResultWindow> windows() const {
        std::vector<ResultWindow> w;
        for (std::int16_t kind = 1; kind <= ResultsKind; ++kind) {
            ChildWindow* child = f.main->mdi().childOfKind(kind);
            w.push_back({child, child->widget(), ChildCaptions[static_cast<std::size_t>(kind)]});
        }
        w.push_back({element, element, ElementDispCaption});
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
    frmResultDisplay* results = nullptr;
    frmElementDisp* element = nullptr;
    frmPrintPrev* picture = nullptr;
};

void expectMarks(const std::vector<ResultWindow>& windows, bool outOfDate, const char* when) {
    for (const ResultWindow& w : windows) {
        SCOPED_TRACE(w.title.toStdString() + ", " + when);
        EXPECT_EQ(w.frame->windowTitle(), outOfDate ? w.title + " (out of date)" : w.title);
        EXPECT_EQ(ShowsOutOfDateBand(*w.content), outOfDate);
    }
}

TEST(ResultViews, AChangeMarksEveryResultWindowAndUndoBackClearsIt) {
    AnalysedSample a;
    ASSERT_NE(a.element, nullptr);
    ASSERT_NE(a.picture, nullptr);
    const std::vector<ResultWindow> windows = a.windows();
    expectMarks(windows, false, "after the analysis");

    a.addLoad();
    expectMarks(windows, true, "after the new load");
    EXPECT_EQ(a.f.main->mdi().childOfKind(0)->windowTitle(), "Idealised Beam")
        << "it shows the model";
    EXPECT_EQ(a.f.tabs().back(), "Results") << "tabs keep their captions";
    a.f.main->mnuUndo->trigger();
    expectMarks(windows, false, "after Undo");
    a.f.main->mnuRedo->trigger();
    expectMarks(windows, true, "after Redo");

    // An analysis brings every window up to date that takes the tables again; a composed
    // picture waits for its Beam button.
    a.f.main->AnalyseCommand();
    for (std::int16_t kind = 2; kind <= ResultsKind; ++kind)
        a.f.main->GraphBtn_Click(kind);
    std::vector<ResultWindow> after = a.windows();
    after.pop_back();
    expectMarks(after, false, "after F5");

    EXPECT_EQ(a.picture->windowTitle(), QString(PrintPrevCaption) + " (out of date)");
    a.picture->BeamBtn->click();
    EXPECT_EQ(a.picture->windowTitle(), PrintPrevCaption);
}

TEST(ResultViews, PrintingOrSavingAnOutOfDateWindowAsksFirst) {
    AnalysedSample a;
    auto* bmd = qobject_cast<frmResGraph*>(a.f.main->mdi().childOfKind(2)->widget());
    bmd->mnuSavePicture->trigger();
    EXPECT_TRUE(a.f.messages.asked.empty()) << "an up-to-date window does not ask";
    EXPECT_EQ(a.f.files.saveTitles.size(), 1u);

    a.addLoad();
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
}

/// Counts the times a widget is shown.
struct ShowCounter : QObject {
    int shows = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        shows += event->type() == QEvent::Show ? 1 : 0;
        return false;
    }
};

/// The analysed sample with "Analyse after every change" switched on in the options dialog.
class AnalysingAfterEveryChange : public AnalysedSample {
public:
    AnalysingAfterEveryChange() {
        f.main->mnuOptions->trigger();
        f.main->optionsDialog().AnalyseAfterChangeChk->setChecked(true);
        f.main->optionsDialog().OKBtn->click();
        EXPECT_TRUE(f.main->state().options.AnalyseAfterEveryChange);
        EXPECT_FALSE(f.main->analysisPending()) << "the results are those of the model";
        QObject::connect(f.main.get(), &frmMain::analysisFinished,
                         [this](AnalyseOutcome o) { outcomes.push_back(o); });
        f.main->findChild<QWidget*>("frmStatus")->installEventFilter(&progress);
    }
    /// Changes the first point load's value, as a dialog's OK does.
    void changeLoad(double kN) {
        f.main->EditModel([kN](BeamModel& m) { m.PointLoad.value[1] = kN; }, "Edit Point Load 1");
    }
    std::vector<AnalyseOutcome> outcomes;
    ShowCounter progress;
};

TEST(AnalyseAfterEveryChange, ABurstOfChangesRunsOneQuietAnalysisAndTheWindowsFollow) {
    AnalysingAfterEveryChange a;
    const std::vector<QString> tabs = a.f.tabs();
    for (const double kN : {60.0, 70.0, 80.0})
        a.changeLoad(kN);
    EXPECT_TRUE(a.f.main->analysisPending());
    expectMarks({a.windows()[1]}, true, "while the analysis waits");
    a.f.main->runPendingAnalysis();
    EXPECT_EQ(a.outcomes, std::vector<AnalyseOutcome>{AnalyseOutcome::Completed});
    EXPECT_EQ(a.progress.shows, 0) << "no progress window for a quick analysis";
    EXPECT_EQ(a.f.tabs(), tabs) << "no window opened or closed";
    std::vector<ResultWindow> following = a.windows();
    following.pop_back(); // a composed picture waits for its Beam button
    expectMarks(following, false, "after the analysis");
    EXPECT_EQ(a.f.main->state().model.PointLoad.value[1], 80);
    EXPECT_NE(a.results->Editor->toPlainText().indexOf("-- STRESS RESULTANTS"), -1);
    EXPECT_TRUE(a.f.main->sBarPanel[1]->text().startsWith("Previous Analysis time was "));
    EXPECT_TRUE(a.f.messages.shown.empty());

    // A load at a new place makes a new segment: the open window's element list follows.
    const int elements = a.results->ElementListCmb->count();
    a.f.main->EditModel(
        [](BeamModel& m) {
            m.count(RecordKind::PointLoad) = 2;
            m.PointLoad.value[2] = 10;
            m.PointLoad.location[2] = 7;
        },
        "Add Point Load 2");
    a.f.main->runPendingAnalysis();
    EXPECT_NE(a.results->ElementListCmb->count(), elements);
    EXPECT_EQ(a.results->ElementListCmb->count(), a.f.main->state().mesh.ElementCount);
}

TEST(AnalyseAfterEveryChange, WhatTheAnalysisHasToSayGoesToTheStatusBarNotToABox) {
    AnalysingAfterEveryChange a;
    // The check refuses a beam without supports: the windows stay marked.
    a.f.main->EditModel([](BeamModel& m) { m.count(RecordKind::RigidSupport) = 0; });
    a.f.main->runPendingAnalysis();
    EXPECT_EQ(a.outcomes, std::vector<AnalyseOutcome>{AnalyseOutcome::CheckFailed});
    EXPECT_EQ(a.f.main->sBarPanel[1]->text(),
              "Not analysed: Number/location of supports is erroneous in input");
    expectMarks({a.windows()[0]}, true, "after the refusal");
    a.f.main->mnuUndo->trigger();
    a.f.main->runPendingAnalysis();

    // A stretch without E is said in the status bar, and the analysis goes on.
    a.f.main->EditModel([](BeamModel& m) { m.ESegment.disB[1] = 8; });
    a.f.main->runPendingAnalysis();
    EXPECT_EQ(a.outcomes.back(), AnalyseOutcome::Unstable);
    EXPECT_TRUE(a.f.main->sBarPanel[1]->text().startsWith(
        "Not analysed: E is not defined from 8 m to 10 m: that stretch carries nothing.  "
        "Structure is unstable - Aborting analysis"))
        << a.f.main->sBarPanel[1]->text().toStdString();
    EXPECT_TRUE(a.f.messages.shown.empty()) << a.f.messages.texts().front();
    EXPECT_EQ(a.progress.shows, 0);
}

TEST(AnalyseAfterEveryChange, IsOffUntilTickedAndKeptInTheSettings) {
    MainWindowFixture f;
    EXPECT_FALSE(f.main->state().options.AnalyseAfterEveryChange);
    f.main->EditModel([](BeamModel& m) { m.span = 12; });
    EXPECT_FALSE(f.main->analysisPending());
    frmOptions& options = f.main->optionsDialog();
    EXPECT_EQ(options.AnalyseAfterChangeChk->text(), "&Analyse after every change");
    options.AnalyseAfterChangeChk->setChecked(true);
    options.OKBtn->click();
    EXPECT_EQ(f.main->settings().GetSetting("Options", "Analyse After Every Change"), "True");
    // The next start reads it back.
    RecordingShellSink messages;
    ScriptedFilePicker files;
    frmMain next(messages, files, f.main->paths());
    EXPECT_TRUE(next.state().options.AnalyseAfterEveryChange);
    EXPECT_TRUE(next.optionsDialog().AnalyseAfterChangeChk->isChecked());
}

} // namespace
} // namespace kradon::test
