// The floating toolbar: tearing the docked toolbar off onto the client area, the tab strip or a
// child window, its buttons and span field handing everything to the main window, and the ways
// back to an edge of the main window.
#include "ShellTestSupport.h"
#include "app/frmToolbar.h"
#include "app/modMDI.h"
#include "app/modToolBar.h"

#include <QAction>
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
#include <functional>
#include <gtest/gtest.h>

namespace kradon::test {
namespace {

using modToolBar::Alignment;

/// A main window with the toolbar torn off onto the middle of its client area.
struct FloatingFixture : MainWindowFixture {
    FloatingFixture() { tearOff(); }
    void tearOff() {
        dock().dropDockedToolbar(main->mdiArea->mapToGlobal(main->mdiArea->rect().center()));
        if (floating() == nullptr || !QTest::qWaitForWindowExposed(floating()))
            ADD_FAILURE() << "floating toolbar not shown";
    }
    modToolBar::ToolbarDock& dock() { return main->toolbarDock(); }
    frmToolbar* floating() { return dock().floating(); }
    /// The button of action on toolbar.
    static QToolButton* buttonOf(QToolBar& toolbar, QAction* action) {
        return qobject_cast<QToolButton*>(toolbar.widgetForAction(action));
    }
};

TEST(frmToolbar, DraggingTheDockedToolbarOntoTheClientAreaTearsItOffAndElsewhereNot) {
    MainWindowFixture f;
    QToolBar* docked = f.main->KradonTB;
    // A point on the docked toolbar's own background, right of the span field.
    const QPoint from(docked->width() - 4, docked->height() / 2);
    ASSERT_EQ(QApplication::widgetAt(docked->mapToGlobal(from)), docked);
    QTest::mouseClick(docked, Qt::LeftButton, {}, from);
    EXPECT_EQ(f.main->toolbarDock().floating(), nullptr) << "a click without travel";

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
    EXPECT_EQ(changes.count(), 1);
    EXPECT_TRUE(floating->isVisible());
    EXPECT_FALSE(docked->isVisible());
    EXPECT_EQ(floating->parentWidget(), f.main.get()) << "owned by the main window";
    EXPECT_TRUE(floating->windowFlags().testFlag(Qt::Tool));
    f.main->toolbarDock().DockToolbar();

    f.main->GraphBtn_Click(0);
    QWidget* beam = f.main->mdiArea->subWindowList().value(0);
    ASSERT_NE(beam, nullptr);
    const std::vector<std::tuple<const char*, QWidget*, bool>> places = {
        {"status bar", f.main->sBar, false}, {"button bar", f.main->submit, false},
        {"its own place", docked, false},    {"tab strip", f.main->tabMain, true},
        {"beam window", beam, true},         {"client area", f.main->mdiArea, true}};
    for (const auto& [name, widget, tearsOff] : places) {
        const QPoint at = widget->mapToGlobal(widget->rect().center());
        EXPECT_EQ(f.main->toolbarDock().dropDockedToolbar(at), tearsOff) << name;
        EXPECT_EQ(f.main->toolbarFloating(), tearsOff) << name;
        f.main->toolbarDock().DockToolbar();
        Settle();
    }
}

TEST(frmToolbar, CarriesTheSameButtonsAndSpanFieldAndHandsThemToTheMainWindow) {
    FloatingFixture f;
    frmToolbar& t = *f.floating();
    EXPECT_EQ(t.Label1->text(), "Kradon Tools");
    for (int index = 1; index <= ToolbarPositions; ++index) {
        const auto i = static_cast<std::size_t>(index);
        const QAction* mine = t.KradonTBButton[i];
        const QAction* docked = f.main->KradonTBButton[i];
        EXPECT_EQ(mine->isSeparator(), docked->isSeparator()) << index;
        EXPECT_EQ(mine->toolTip(), docked->toolTip()) << index;
        EXPECT_EQ(mine->isEnabled(), docked->isEnabled()) << index;
    }

    QToolButton* results = f.buttonOf(*t.KradonTB, t.KradonTBButton[19]);
    ASSERT_NE(results, nullptr);
    QTest::mouseClick(results, Qt::LeftButton);
    EXPECT_EQ(f.windows(), std::vector<QString>{"Results"});
    EXPECT_EQ(f.main->toolbarFloating(), true);
    // A separator does nothing, and a button the docked toolbar has switched off is off here too.
    t.KradonTBButton[20]->trigger();
    EXPECT_EQ(f.windows(), std::vector<QString>{"Results"});
    f.main->KradonTBButton[19]->setEnabled(false);
    EXPECT_FALSE(t.KradonTBButton[19]->isEnabled());
    f.main->KradonTB->setEnabled(false);
    EXPECT_FALSE(t.KradonTB->isEnabled());
    f.main->KradonTB->setEnabled(true);

    // The span field is taken when confirmed.
    QLineEdit* span = f.floating()->spanTxt;
    span->setFocus();
    span->selectAll();
    QTest::keyClicks(span, "25");
    EXPECT_EQ(f.main->state().model.span, 15) << "not at each keystroke";
    QTest::keyClick(span, Qt::Key_Return);
    EXPECT_EQ(f.main->state().model.span, 25);
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
    EXPECT_EQ(f.main->spanTxt->text(), "8");
}

// The X docks at the top wherever the toolbar stood before; a double click on the title and
// closing the window dock it where it stood, with its buttons and span field usable there. The
// next tear-off makes a new window.
TEST(frmToolbar, TheXDocksAtTheTopTheTitleAndClosingWhereItStoodBefore) {
    struct Way {
        const char* name;
        Alignment before;
        std::function<void(frmToolbar&)> dock;
        Qt::ToolBarArea after;
    };
    const std::vector<Way> ways = {
        {"X", Alignment::Left, [](frmToolbar& t) { QTest::mouseClick(t.Command1, Qt::LeftButton); },
         Qt::TopToolBarArea},
        {"double click on the title", Alignment::Right,
         [](frmToolbar& t) { QTest::mouseDClick(t.Label1, Qt::LeftButton, {}, QPoint(20, 5)); },
         Qt::RightToolBarArea},
        {"close", Alignment::Bottom, [](frmToolbar& t) { EXPECT_TRUE(t.close()); },
         Qt::BottomToolBarArea}};
    FloatingFixture f;
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        f.dock().setDockedAlignment(way.before);
        f.dock().DockToolbar();
        f.tearOff();
        QPointer<frmToolbar> floating = f.floating();
        ASSERT_NE(floating, nullptr);
        way.dock(*floating);
        Settle();
        EXPECT_EQ(f.main->toolbarFloating(), false);
        EXPECT_TRUE(floating.isNull()) << "destroyed";
        EXPECT_EQ(f.main->toolBarArea(f.main->KradonTB), way.after);
        // Docked at any edge, the span field and the buttons stay usable.
        EXPECT_TRUE(f.main->spanTxt->isVisible());
        EXPECT_GE(f.main->spanTxt->width(), 40);
        QToolButton* results = f.buttonOf(*f.main->KradonTB, f.main->KradonTBButton[19]);
        ASSERT_NE(results, nullptr);
        QTest::mouseClick(results, Qt::LeftButton);
        EXPECT_EQ(f.windows(), std::vector<QString>{"Results"});
        f.main->mdi().CloseChild("All");
    }
    f.tearOff();
    QTest::mouseClick(f.floating()->Command1, Qt::LeftButton);
    EXPECT_EQ(f.dock().dockedAlignment(), Alignment::Top);
    // Back on its own row above the Analyse and diagram buttons.
    EXPECT_LT(f.main->KradonTB->geometry().bottom(), f.main->BtnTbr->geometry().top());
}

} // namespace
} // namespace kradon::test
