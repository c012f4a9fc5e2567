// The picture composition window: "Beam" leaves the bending moment diagram in the visible box
// and on the clipboard; "Copy Over" puts the hidden picture on the clipboard and moves down.
#include "ResultsTestSupport.h"
#include "app/results/frmPrintPrev.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace kradon {
namespace {

using testing::AnalysedExample;
using testing::RecordingSink;
using testing::TempDir;

TEST(frmPrintPrev, BeamLeavesTheBendingMomentDiagram) {
    const TempDir dir;
    ProgramState state = AnalysedExample("simply-supported-point-load.kdn", dir);
    RecordingSink sink;
    QWidget owner;
    frmPrintPrev window(state, sink, &owner);
    EXPECT_EQ(window.BeamBtn->text(), "Beam");
    EXPECT_EQ(window.CopyOverBtn->text(), "Copy Over");
    EXPECT_FALSE(window.HiddenPic->isVisibleTo(&window));

    QTest::mouseClick(window.BeamBtn, Qt::LeftButton);
    const QImage first = window.VisPic->picture();
    EXPECT_EQ(first, window.HiddenPic->picture());
    const QImage clipboard = QGuiApplication::clipboard()->image();
    if (!clipboard.isNull()) {
        EXPECT_EQ(clipboard.convertToFormat(first.format()), first);
    }
    EXPECT_GT(window.VisPic->CurrentY, 0);
    EXPECT_GT(window.HiddenPic->ScaleHeight, 0);
    // The last picture is the bending moment diagram, not the beam: it has other pixels.
    EXPECT_NE(first, window.HiddenPic->blankImage());

    QTest::mouseClick(window.BeamBtn, Qt::LeftButton);
    EXPECT_EQ(window.VisPic->picture(), first);
    EXPECT_TRUE(sink.shown.empty());
}

TEST(frmPrintPrev, CopyOverTriplesTheVisibleHeight) {
    const TempDir dir;
    ProgramState state = AnalysedExample("cantilever.kdn", dir);
    RecordingSink sink;
    frmPrintPrev window(state, sink, nullptr);
    QTest::mouseClick(window.BeamBtn, Qt::LeftButton);
    const double h = window.HiddenPic->ScaleHeight;
    const double y = window.VisPic->CurrentY;
    QTest::mouseClick(window.CopyOverBtn, Qt::LeftButton);
    EXPECT_EQ(window.VisPic->ScaleHeight, 3 * h);
    EXPECT_EQ(window.VisPic->ScaleWidth, window.HiddenPic->ScaleWidth);
    EXPECT_EQ(window.VisPic->CurrentY, y + h);
}

} // namespace
} // namespace kradon
