// The floating toolbar: tearing the docked toolbar off onto the client area, the tab strip or a
// child window, its buttons and span field handing everything to the main window, and the ways
// back to an edge of the main window.
#include "ShellTestSupport.h"
#include "app/frmToolbar.h"
#include "app/modMDI.h"
#include "app/modToolBar.h"
#include "settings/Twips.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace kradon::test {
namespace {

using modToolBar::Alignment;

/// A main window with the toolbar torn off onto the middle of its client area.
struct FloatingFixture : MainWindowFixture {
    FloatingFixture() {
        dock().dropDockedToolbar(mdiCentre());
        if (floating() != nullptr && !QTest::qWaitForWindowExposed(floating()))
            qWarning("floating toolbar not exposed");
    }
    modToolBar::ToolbarDock& dock() { return main->toolbarDock(); }
    frmToolbar* floating() { return dock().floating(); }
    QPoint mdiCentre() const { return main->mdiArea->mapToGlobal(main->mdiArea->rect().center()); }
    /// Lets the window that docked go.
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

/// A point on the docked toolbar's own background, right of the span field.
QPoint toolbarBackground(const QToolBar& toolbar) {
    return {toolbar.width() - 4, toolbar.height() / 2};
}

TEST(frmToolbar, DraggingTheDockedToolbarOntoTheClientAreaTearsItOff) {
    MainWindowFixture f;
    QToolBar* docked = f.main->KradonTB;
    const QPoint from = toolbarBackground(*docked);
    ASSERT_EQ(QApplication::widgetAt(docked->mapToGlobal(from)), docked);
    const QPoint drop = f.main->mdiArea->mapToGlobal(QPoint(300, 200));
    const QPoint to = docked->mapFromGlobal(drop);

    const QSignalSpy changes(f.main.get(), &frmMain::toolbarFloatingChanged);
    QTest::mousePress(docked, Qt::LeftButton, {}, from);
    QTest::mouseMove(docked, (from + to) / 2);
    QTest::mouseMove(docked, to);
    EXPECT_EQ(f.main->toolbarFloating(), false) << "still docked while dragged";
    QTest::mouseRelease(docked, Qt::LeftButton, {}, to);

    frmToolbar* floating = f.main->toolbarDock().floating();
    ASSERT_NE(floating, nullptr);
    EXPECT_EQ(f.main->toolbarFloating(), true);
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.at(0).at(0).toBool(), true);
    EXPECT_TRUE(floating->isVisible());
    EXPECT_FALSE(docked->isVisible());
    EXPECT_EQ(floating->objectName(), "frmToolbar");
    EXPECT_EQ(floating->parentWidget(), f.main.get()) << "owned by the main window";
    EXPECT_TRUE(floating->windowFlags().testFlag(Qt::Tool));
    // Its top centre at the drop point.
    EXPECT_EQ(floating->frameGeometry().top(), drop.y());
    EXPECT_NEAR(floating->frameGeometry().center().x(), drop.x(), 1);
}

TEST(frmToolbar, AClickWithoutTravelOrADropElsewhereLeavesItDocked) {
    MainWindowFixture f;
    QToolBar* docked = f.main->KradonTB;
    const QPoint from = toolbarBackground(*docked);
    QTest::mouseClick(docked, Qt::LeftButton, {}, from);
    EXPECT_EQ(f.main->toolbarDock().floating(), nullptr);

    struct Place {
        const char* name;
        QWidget* widget;
        bool tearsOff;
    };
    f.main->GraphBtn_Click(0);
    QWidget* beam = f.main->mdiArea->subWindowList().value(0);
    ASSERT_NE(beam, nullptr);
    const std::vector<Place> places = {
        {"status bar", f.main->sBar, false}, {"button bar", f.main->submit, false},
        {"its own place", docked, false},    {"tab strip", f.main->tabMain, true},
        {"beam window", beam, true},         {"client area", f.main->mdiArea, true},
    };
    for (const Place& p : places) {
        const QPoint at = p.widget->mapToGlobal(p.widget->rect().center());
        EXPECT_EQ(f.main->toolbarDock().dropDockedToolbar(at), p.tearsOff) << p.name;
        EXPECT_EQ(f.main->toolbarFloating(), p.tearsOff) << p.name;
        f.main->toolbarDock().DockToolbar();
        FloatingFixture::settle();
    }
}

TEST(frmToolbar, CarriesTheSamePositionsImagesAndTooltips) {
    FloatingFixture f;
    ASSERT_NE(f.floating(), nullptr);
    frmToolbar& t = *f.floating();
    EXPECT_EQ(t.Label1->text(), "Kradon Tools");
    EXPECT_EQ(t.Command1->text(), "X");
    EXPECT_EQ(t.Command1->width(), TwipsToPixels(210));
    EXPECT_EQ(t.spanLblTxt->text(), "Beam Length");
    EXPECT_EQ(t.spanTxt->text(), "15");
    EXPECT_EQ(t.Text3->text(), "m");
    for (int index = 1; index <= ToolbarPositions; ++index) {
        const auto i = static_cast<std::size_t>(index);
        const QAction* mine = t.KradonTB->findChild<QAction*>(QString("KradonTB_%1").arg(index));
        const QAction* docked = f.main->KradonTBButton[i];
        ASSERT_EQ(mine, t.KradonTBButton[i]) << index;
        EXPECT_EQ(mine->isSeparator(), docked->isSeparator()) << index;
        EXPECT_EQ(mine->toolTip(), docked->toolTip()) << index;
        EXPECT_EQ(mine->icon().cacheKey() == 0, docked->icon().cacheKey() == 0) << index;
        EXPECT_EQ(mine->isEnabled(), docked->isEnabled()) << index;
    }
    EXPECT_EQ(t.KradonTBButton[19]->toolTip(), "View Results");
}

TEST(frmToolbar, ButtonsAreHandedToTheMainWindow) {
    FloatingFixture f;
    ASSERT_NE(f.floating(), nullptr);
    QToolBar* toolbar = f.floating()->KradonTB;
    auto* results =
        qobject_cast<QToolButton*>(toolbar->widgetForAction(f.floating()->KradonTBButton[19]));
    ASSERT_NE(results, nullptr);
    QTest::mouseClick(results, Qt::LeftButton);
    EXPECT_EQ(f.windows(), std::vector<QString>{"Results"});
    EXPECT_EQ(f.main->toolbarFloating(), true);

    // A separator does nothing, and a button the docked toolbar has switched off is off here too.
    f.floating()->KradonTBButton[20]->trigger();
    EXPECT_EQ(f.windows(), std::vector<QString>{"Results"});
    f.main->KradonTBButton[19]->setEnabled(false);
    EXPECT_FALSE(f.floating()->KradonTBButton[19]->isEnabled());
    f.main->KradonTB->setEnabled(false);
    EXPECT_FALSE(toolbar->isEnabled());
    f.main->KradonTB->setEnabled(true);
    EXPECT_TRUE(toolbar->isEnabled());
}

TEST(frmToolbar, TheFloatingSpanFieldIsTakenWhenConfirmed) {
    FloatingFixture f;
    ASSERT_NE(f.floating(), nullptr);
    QLineEdit* span = f.floating()->spanTxt;
    f.main->GraphBtn_Click(0);
    span->setFocus();
    span->selectAll();
    QTest::keyClicks(span, "25");
    EXPECT_EQ(f.main->state().model.span, 15) << "not at each keystroke";
    QTest::keyClick(span, Qt::Key_Return);
    EXPECT_EQ(f.main->state().model.span, 25);
    EXPECT_EQ(f.main->mnuUndo->text(), "&Undo Change Span");
    EXPECT_EQ(f.windows(), std::vector<QString>{"Idealised Beam"});
    span->selectAll();
    QTest::keyClicks(span, "2x");
    QTest::keyClick(span, Qt::Key_Return);
    EXPECT_EQ(f.main->state().model.span, 25) << "no number, no new span";
    EXPECT_EQ(span->text(), "25");
    EXPECT_EQ(f.messages.texts(),
              std::vector<std::string>{
                  "Beam Length: \"2x\" is not a positive number of metres. The span stays 25 m."});
    EXPECT_EQ(f.main->toolbarFloating(), true);

    // While afloat, getSpan and setSpan use the floating field, not the hidden docked one.
    span->setText("12.5");
    EXPECT_TRUE(f.main->getSpan());
    EXPECT_EQ(f.main->state().model.span, 12.5);
    f.main->state().model.span = 8;
    f.main->setSpan();
    EXPECT_EQ(span->text(), "8");
    EXPECT_EQ(f.main->spanTxt->text(), "15");

    // Docking keeps what was typed.
    f.floating()->Command1_Click();
    EXPECT_EQ(f.main->toolbarFloating(), false);
    EXPECT_EQ(f.main->spanTxt->text(), "8");
    EXPECT_TRUE(f.main->getSpan());
    EXPECT_EQ(f.main->state().model.span, 8);
}

TEST(frmToolbar, TheXDocksAtTheTopWhereverItStoodBefore) {
    FloatingFixture f;
    f.dock().DockToolbar();
    f.dock().setDockedAlignment(Alignment::Left);
    f.dock().DockToolbar();
    FloatingFixture::settle();
    ASSERT_EQ(f.main->toolBarArea(f.main->KradonTB), Qt::LeftToolBarArea);
    f.dock().dropDockedToolbar(f.mdiCentre());
    QPointer<frmToolbar> floating = f.floating();
    ASSERT_NE(floating, nullptr);

    QTest::mouseClick(floating->Command1, Qt::LeftButton);
    FloatingFixture::settle();
    EXPECT_EQ(f.main->toolbarFloating(), false);
    EXPECT_TRUE(floating.isNull()) << "destroyed";
    EXPECT_EQ(f.main->toolBarArea(f.main->KradonTB), Qt::TopToolBarArea);
    EXPECT_EQ(f.dock().dockedAlignment(), Alignment::Top);
    EXPECT_TRUE(f.main->KradonTB->isVisible());
    EXPECT_GE(f.main->KradonTB->height(), TwipsToPixels(390));
    // Back on its own row above the Analyse and diagram buttons.
    EXPECT_LT(f.main->KradonTB->geometry().bottom(), f.main->BtnTbr->geometry().top());
}

TEST(frmToolbar, DoubleClickingTheTitleDocksWhereItStoodBefore) {
    FloatingFixture f;
    f.dock().setDockedAlignment(Alignment::Right);
    QPointer<frmToolbar> floating = f.floating();
    ASSERT_NE(floating, nullptr);
    QTest::mouseDClick(floating->Label1, Qt::LeftButton, {}, QPoint(20, 5));
    FloatingFixture::settle();
    EXPECT_EQ(f.main->toolbarFloating(), false);
    EXPECT_TRUE(floating.isNull());
    EXPECT_EQ(f.main->toolBarArea(f.main->KradonTB), Qt::RightToolBarArea);
    EXPECT_TRUE(f.main->KradonTB->isVisible());
}

TEST(frmToolbar, ClosingTheWindowDocksToo) {
    FloatingFixture f;
    QPointer<frmToolbar> floating = f.floating();
    ASSERT_NE(floating, nullptr);
    EXPECT_TRUE(floating->close());
    FloatingFixture::settle();
    EXPECT_EQ(f.main->toolbarFloating(), false);
    EXPECT_TRUE(floating.isNull());
    EXPECT_TRUE(f.main->KradonTB->isVisible());
    EXPECT_EQ(f.main->toolBarArea(f.main->KradonTB), Qt::TopToolBarArea);

    // The next tear-off makes a new window.
    f.dock().dropDockedToolbar(f.mdiCentre());
    ASSERT_NE(f.floating(), nullptr);
    EXPECT_EQ(f.main->toolbarFloating(), true);
}

/// Drags the floating window by its title so its top-left corner lands at `corner` (screen).
void dragTitleTo(frmToolbar& floating, QPoint corner) {
    const QPoint grip(40, 6);
    const QPoint travel = corner - floating.frameGeometry().topLeft();
    QTest::mousePress(floating.Label1, Qt::LeftButton, {}, grip);
    QTest::mouseMove(floating.Label1, grip + travel / 2);
    QTest::mouseMove(floating.Label1, grip + travel);
    QTest::mouseRelease(floating.Label1, Qt::LeftButton, {}, grip + travel);
}

TEST(frmToolbar, DraggingTheTitleMovesTheWindowOrDocksItNearAnEdge) {
    FloatingFixture f;
    ASSERT_NE(f.floating(), nullptr);
    frmToolbar& floating = *f.floating();
    // A main window 16000 by 9000 twips, and a floating window narrow enough to keep 1500 twips
    // to its right edge from 2000 twips in.
    f.main->resize(TwipsToPixels(16000), TwipsToPixels(9000));
    ASSERT_LT(floating.width(), TwipsToPixels(16000 - 2000 - 1500));
    const QPoint home = f.main->frameGeometry().topLeft();
    // 2000 twips below the top edge and right of the left edge: it stays afloat.
    const int twoThousand = TwipsToPixels(2000);
    dragTitleTo(floating, home + QPoint(twoThousand, twoThousand));
    EXPECT_EQ(f.main->toolbarFloating(), true);
    EXPECT_TRUE(floating.isVisible());
    EXPECT_EQ(floating.frameGeometry().topLeft(), home + QPoint(twoThousand, twoThousand));
    floating.spanTxt->setText("21");
    f.main->getSpan();
    EXPECT_EQ(f.main->state().model.span, 21) << "the floating span field stays in use";

    // 200 twips below the top edge and 1000 right of the left one: it docks at the top.
    dragTitleTo(floating, home + QPoint(TwipsToPixels(1000), TwipsToPixels(200)));
    EXPECT_EQ(f.main->toolbarFloating(), false);
    EXPECT_FALSE(floating.isVisible());
    EXPECT_EQ(f.main->toolBarArea(f.main->KradonTB), Qt::TopToolBarArea);
    EXPECT_EQ(f.main->spanTxt->text(), "21");

    // Torn off again and dropped near the left edge, well down: it docks at the left, and the
    // hidden window is shown again by the next tear-off.
    f.dock().dropDockedToolbar(f.mdiCentre());
    ASSERT_EQ(f.floating(), &floating);
    dragTitleTo(floating, home + QPoint(TwipsToPixels(300), TwipsToPixels(4000)));
    EXPECT_EQ(f.main->toolbarFloating(), false);
    EXPECT_EQ(f.main->toolBarArea(f.main->KradonTB), Qt::LeftToolBarArea);
    EXPECT_EQ(f.dock().dockedAlignment(), Alignment::Left);
}

TEST(frmToolbar, DockedAtEachEdgeTheButtonsAndSpanFieldStayUsable) {
    MainWindowFixture f;
    const std::vector<std::pair<Alignment, Qt::ToolBarArea>> edges = {
        {Alignment::Top, Qt::TopToolBarArea},
        {Alignment::Bottom, Qt::BottomToolBarArea},
        {Alignment::Left, Qt::LeftToolBarArea},
        {Alignment::Right, Qt::RightToolBarArea},
    };
    for (const auto& [alignment, area] : edges) {
        const int code = static_cast<int>(alignment);
        f.main->toolbarDock().setDockedAlignment(alignment);
        f.main->toolbarDock().DockToolbar();
        QCoreApplication::processEvents();
        QToolBar* docked = f.main->KradonTB;
        EXPECT_EQ(f.main->toolBarArea(docked), area) << code;
        const int thickness =
            docked->orientation() == Qt::Horizontal ? docked->height() : docked->width();
        EXPECT_GE(thickness, TwipsToPixels(390)) << code;
        EXPECT_TRUE(f.main->spanTxt->isVisible()) << code;
        EXPECT_GE(f.main->spanTxt->width(), 40) << code;
        auto* results =
            qobject_cast<QToolButton*>(docked->widgetForAction(f.main->KradonTBButton[19]));
        ASSERT_NE(results, nullptr) << code;
        EXPECT_TRUE(results->isVisible()) << code;
        EXPECT_FALSE(results->icon().isNull()) << code;
        QTest::mouseClick(results, Qt::LeftButton);
        EXPECT_EQ(f.windows(), std::vector<QString>{"Results"}) << code;
        f.main->mdi().CloseChild("All");
    }
}

TEST(frmToolbar, ANarrowWindowIsWidenedToItsLeastWidth) {
    FloatingFixture f;
    ASSERT_NE(f.floating(), nullptr);
    frmToolbar& floating = *f.floating();
    floating.resize(30, floating.height());
    EXPECT_EQ(floating.width(), TwipsToPixels(1095));
    // The title spans the window with the "X" at its right end.
    EXPECT_EQ(floating.Label1->width(), floating.width());
    EXPECT_EQ(floating.Command1->geometry().right(),
              floating.width() - TwipsToPixels(300) + TwipsToPixels(210) - 1);
}

} // namespace
} // namespace kradon::test
