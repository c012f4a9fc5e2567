// The out-of-date marks of the result windows: the title and the band after a change of the
// model, gone after Undo back to the analysed model and after an analysis, and the question
// before an out-of-date window is printed or saved.
#include "DialogTestSupport.h"
#include "app/ResultViews.h"
#include "app/frmResGraph.h"
#include "app/modMDI.h"
#include "app/results/frmElementDisp.h"
#include "app/results/frmPrintPrev.h"
#include "app/results/frmResultDisplay.h"

#include <QColor>
#include <QComboBox>
#include <QImage>
#include <QPushButton>
#include <gtest/gtest.h>
#include <vector>

namespace kradon::test {
namespace {

const QColor BandColour(0xff, 0xf0, 0xa8);

/// Whether the band is among the pixels the window draws.
bool showsBand(QWidget& content) {
    const QImage image = content.grab().toImage();
    int band = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            band += image.pixelColor(x, y) == BandColour ? 1 : 0;
    return band > 100;
}

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
        EXPECT_EQ(showsBand(*w.content), outOfDate);
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

} // namespace
} // namespace kradon::test
