// The child-window book: one window and one tab per kind, slots, closing in any order.
#include "ShellTestSupport.h"
#include "app/frmResGraph.h"
#include "app/modMDI.h"

#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>
#include <set>

namespace kradon::test {
namespace {

QString caption(int kind) {
    return ChildCaptions[static_cast<std::size_t>(kind)];
}

void clickGraphBtn(frmMain& main, int index) {
    auto* button = main.findChild<QPushButton*>(QString("GraphBtn_%1").arg(index));
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
}

/// Every open window has a distinct slot in 1..10, kept in its Tag, its lblTabIndex and its
/// tab's data; the book's open flags and counts agree with the windows.
void expectConsistentBook(const MainWindowFixture& f) {
    const modMDI& mdi = f.main->mdi();
    std::set<int> usedSlots;
    for (QMdiSubWindow* sub : f.main->mdiArea->subWindowList()) {
        const int slot = sub->property("Tag").toString().toInt();
        EXPECT_GE(slot, 1);
        EXPECT_LE(slot, 10);
        EXPECT_TRUE(usedSlots.insert(slot).second) << "slot " << slot << " used twice";
        EXPECT_EQ(mdi.child(static_cast<std::int16_t>(slot)), sub);
        EXPECT_TRUE(mdi.SlotUsed[static_cast<std::size_t>(slot)]);
        auto* label = sub->widget()->findChild<QLabel*>("lblTabIndex");
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text().toInt(), slot);
        bool tabFound = false;
        for (int i = 0; i < f.main->tabMain->count(); ++i)
            if (f.main->tabMain->tabText(i) == sub->windowTitle()) {
                tabFound = true;
                EXPECT_EQ(f.main->tabMain->tabData(i).toInt(), slot);
            }
        EXPECT_TRUE(tabFound) << sub->windowTitle().toStdString();
    }
    // The strip shows the tab of the active window, also right after another one closed.
    if (const QMdiSubWindow* current = f.main->mdiArea->currentSubWindow()) {
        EXPECT_EQ(f.main->tabMain->tabText(f.main->tabMain->currentIndex()),
                  current->windowTitle());
    }
    const auto open = f.main->mdiArea->subWindowList().size();
    EXPECT_EQ(f.main->tabMain->count(), open);
    EXPECT_EQ(mdi.TabCount, open);
    for (int k = 0; k < 7; ++k)
        EXPECT_EQ(mdi.GraphOpen[static_cast<std::size_t>(k)], mdi.childOfKind(k) != nullptr)
            << "kind " << k;
}

TEST(modMDI, GraphButtonsOpenOneWindowAndOneTabEach) {
    MainWindowFixture f;
    for (int k = 0; k < 7; ++k)
        clickGraphBtn(*f.main, k);
    EXPECT_EQ(f.tabs(),
              (std::vector<QString>{"Idealised Beam", "Kradon Mesh", "Bending Moment Diagram",
                                    "Shear Force Diagram", "Deflected Shape Diagram",
                                    "E-value Variation", "I-value Variation"}));
    for (int k = 0; k < 7; ++k) {
        auto* diagram = qobject_cast<frmResGraph*>(f.main->mdi().childOfKind(k)->widget());
        ASSERT_NE(diagram, nullptr);
        EXPECT_EQ(diagram->kind(), k);
        EXPECT_EQ(diagram->objectName(), "frmResGraph");
    }
    expectConsistentBook(f);
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(modMDI, ShearForceTwiceKeepsOneWindowAndBringsItForward) {
    MainWindowFixture f;
    f.main->GraphBtn_Click(3);
    f.main->GraphBtn_Click(0);
    f.main->GraphBtn_Click(3);
    EXPECT_EQ(f.windows(), (std::vector<QString>{"Idealised Beam", "Shear Force Diagram"}));
    EXPECT_EQ(f.tabs(), (std::vector<QString>{"Shear Force Diagram", "Idealised Beam"}));
    EXPECT_TRUE(f.main->mdi().GraphOpen[3]);
    EXPECT_EQ(f.main->mdiArea->currentSubWindow()->windowTitle(), "Shear Force Diagram");
    EXPECT_EQ(f.main->tabMain->tabText(f.main->tabMain->currentIndex()), "Shear Force Diagram");
    expectConsistentBook(f);
}

TEST(modMDI, ClosingInAnyOrderKeepsTabsFlagsAndSlotsInStep) {
    const std::vector<std::vector<int>> orders = {{0, 1, 2}, {2, 1, 0}, {1, 0, 2},
                                                  {1, 2, 0}, {0, 2, 1}, {2, 0, 1}};
    for (const auto& order : orders) {
        SCOPED_TRACE(testing::PrintToString(order));
        MainWindowFixture f;
        for (int k : {0, 1, 2})
            f.main->GraphBtn_Click(static_cast<std::int16_t>(k));
        std::set<int> open = {0, 1, 2};
        for (int k : order) {
            f.main->mdi().childOfKind(static_cast<std::int16_t>(k))->close();
            open.erase(k);
            expectConsistentBook(f);
            for (int kind : {0, 1, 2})
                EXPECT_EQ(f.main->mdi().GraphOpen[static_cast<std::size_t>(kind)],
                          open.count(kind) == 1);
            // A window opened now takes the lowest free slot and disturbs no open window.
            f.main->GraphBtn_Click(4);
            expectConsistentBook(f);
            f.main->mdi().childOfKind(4)->close();
            expectConsistentBook(f);
        }
        EXPECT_TRUE(f.tabs().empty());
        EXPECT_EQ(f.main->mdi().TabCount, 0);
        EXPECT_TRUE(f.messages.shown.empty());
    }
}

TEST(modMDI, NewWindowTakesTheLowestFreeSlot) {
    MainWindowFixture f;
    for (int k : {0, 1, 2})
        f.main->GraphBtn_Click(static_cast<std::int16_t>(k));
    f.main->mdi().childOfKind(0)->close(); // frees slot 1
    f.main->GraphBtn_Click(5);
    EXPECT_EQ(f.main->mdi().childOfKind(5)->property("Tag").toString(), "1");
    EXPECT_EQ(f.main->mdi().childOfKind(1)->property("Tag").toString(), "2");
    EXPECT_EQ(f.main->mdi().childOfKind(2)->property("Tag").toString(), "3");
    expectConsistentBook(f);
}

TEST(modMDI, CloseAllWithThreeWindowsOpen) {
    MainWindowFixture f;
    for (int k : {2, 0, 6})
        f.main->GraphBtn_Click(static_cast<std::int16_t>(k));
    f.main->mdi().CloseChild("All");
    EXPECT_TRUE(f.windows().empty());
    EXPECT_TRUE(f.tabs().empty());
    for (int k : {0, 2, 6})
        EXPECT_FALSE(f.main->mdi().GraphOpen[static_cast<std::size_t>(k)]);
    EXPECT_EQ(f.main->mdi().TabCount, 0);
    EXPECT_EQ(f.main->mdi().WindowsOpened, 3);
    EXPECT_TRUE(f.messages.shown.empty());
}

/// The caption of the active child window; empty when there is none.
QString activeCaption(const MainWindowFixture& f) {
    const QMdiSubWindow* active = f.main->mdiArea->activeSubWindow();
    return active != nullptr ? active->windowTitle() : QString();
}

/// Presses keys where the keyboard focus is, as a user would.
void press(const MainWindowFixture& f, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus != nullptr ? focus : f.main.get(), key, modifiers);
}

TEST(modMDI, KeysCycleAndCloseTheChildWindows) {
    MainWindowFixture f;
    for (int k : {0, 1, 2})
        f.main->GraphBtn_Click(static_cast<std::int16_t>(k));
    ASSERT_EQ(activeCaption(f), "Bending Moment Diagram");

    // Ctrl+Tab goes on in the order the windows were opened, Ctrl+Shift+Tab goes back, both
    // round the end; the tab strip follows.
    press(f, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(activeCaption(f), "Idealised Beam");
    press(f, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(activeCaption(f), "Kradon Mesh");
    press(f, Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(activeCaption(f), "Idealised Beam");
    press(f, Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(activeCaption(f), "Bending Moment Diagram");
    expectConsistentBook(f);

    // Ctrl+F4 closes the active window only, with its tab and its open flag.
    press(f, Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(f.windows(), (std::vector<QString>{"Idealised Beam", "Kradon Mesh"}));
    EXPECT_FALSE(f.main->mdi().GraphOpen[2]);
    expectConsistentBook(f);
    press(f, Qt::Key_F4, Qt::ControlModifier);
    press(f, Qt::Key_F4, Qt::ControlModifier);
    EXPECT_TRUE(f.windows().empty());
    EXPECT_TRUE(f.tabs().empty());
    press(f, Qt::Key_F4, Qt::ControlModifier); // nothing left to close
    EXPECT_TRUE(f.messages.shown.empty());
}

#ifdef KRADON_HAS_RESULTS_WINDOW
TEST(modMDI, F6ViewsTheResults) {
    MainWindowFixture f;
    f.main->GraphBtn_Click(0);
    press(f, Qt::Key_F6, Qt::NoModifier);
    EXPECT_EQ(activeCaption(f), "Results");
    expectConsistentBook(f);
}
#endif

TEST(modMDI, CloseAllMenuItemClosesEverything) {
    MainWindowFixture f;
    f.main->GraphBtn_Click(1);
    f.main->GraphBtn_Click(4);
    f.main->findChild<QAction*>("mnuFile_CloseAll")->trigger();
    EXPECT_TRUE(f.windows().empty());
    EXPECT_EQ(f.main->mdi().TabCount, 0);
}

TEST(modMDI, KindOutsideTheTableAsksToSelectAgain) {
    MainWindowFixture f;
    f.main->GraphBtn_Click(8);
    f.main->GraphBtn_Click(-1);
    ASSERT_EQ(f.messages.texts(),
              (std::vector<std::string>{"Please select again", "Please select again"}));
    EXPECT_EQ(f.messages.shown[0].title, "Kradon by Tarel Vestrun");
    EXPECT_TRUE(f.windows().empty());
    EXPECT_TRUE(f.tabs().empty());
    EXPECT_EQ(f.main->mdi().TabCount, 0);
}

TEST(modMDI, UnknownCaptionOnCloseSaysOops) {
    MainWindowFixture f;
    f.main->mdi().ClearOpenFlag("Not a window");
    EXPECT_EQ(f.messages.texts(), (std::vector<std::string>{"Oops"}));
}

TEST(modMDI, ClickingATabBringsItsWindowForward) {
    MainWindowFixture f;
    for (int k : {0, 1, 2})
        f.main->GraphBtn_Click(static_cast<std::int16_t>(k));
    QTabBar* tabs = f.main->tabMain;
    const QRect first = tabs->tabRect(0);
    QTest::mouseClick(tabs, Qt::LeftButton, {}, first.center());
    EXPECT_EQ(f.main->mdiArea->currentSubWindow()->windowTitle(), "Idealised Beam");
    EXPECT_EQ(tabs->currentIndex(), 0);
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
    EXPECT_EQ(f.main->mdiArea->currentSubWindow()->windowTitle(), "Bending Moment Diagram");
}

TEST(modMDI, ActivatingAWindowSelectsItsTab) {
    MainWindowFixture f;
    for (int k : {0, 1, 2})
        f.main->GraphBtn_Click(static_cast<std::int16_t>(k));
    f.main->mdiArea->setActiveSubWindow(f.main->mdi().childOfKind(1));
    EXPECT_EQ(f.main->tabMain->tabText(f.main->tabMain->currentIndex()), "Kradon Mesh");
    f.main->mdi().ActivateByCaption(caption(0));
    EXPECT_EQ(f.main->tabMain->tabText(f.main->tabMain->currentIndex()), "Idealised Beam");
}

TEST(modMDI, WindowMenuListsTheOpenWindows) {
    MainWindowFixture f;
    f.main->GraphBtn_Click(0);
    f.main->GraphBtn_Click(2);
    QMenu* menu = f.main->mnuWindow;
    emit menu->aboutToShow();
    QStringList texts;
    for (QAction* a : menu->actions())
        texts << a->text();
    EXPECT_EQ(texts,
              (QStringList{"&Cascade", "Tile &Horizontal", "Tile &Vertical", "Arrange &Icons", "",
                           "&1 Idealised Beam", "&2 Bending Moment Diagram"}));
    menu->actions().at(5)->trigger();
    EXPECT_EQ(f.main->mdiArea->currentSubWindow()->windowTitle(), "Idealised Beam");
    for (int arrangement = 0; arrangement < 4; ++arrangement)
        f.main->mnuWindow_Click(arrangement);
    expectConsistentBook(f);
}

TEST(modMDI, DiagramWindowsDrawBeforeAnyAnalysis) {
    MainWindowFixture f;
    for (int k = 0; k < 7; ++k) {
        f.main->GraphBtn_Click(static_cast<std::int16_t>(k));
        auto* diagram = qobject_cast<frmResGraph*>(f.main->mdi().childOfKind(k)->widget());
        const QImage image = diagram->Disp->grab().toImage();
        EXPECT_FALSE(image.isNull());
    }
    EXPECT_TRUE(f.messages.shown.empty());
}

} // namespace
} // namespace kradon::test

namespace kradon::test {
namespace {

TEST(modMDI, ResultsWindowComesAndGoesLikeTheOthers) {
    MainWindowFixture f;
    ASSERT_TRUE(
        f.main->OpenModel(QString::fromStdString(ExamplePath("simply-supported-point-load.kdn"))));
    f.main->AnalyseCommand();
    f.main->KradonTBButton[19]->trigger(); // View Results
    EXPECT_EQ(f.tabs(), (std::vector<QString>{"Idealised Beam", "Kradon Mesh", "Results"}));
    EXPECT_TRUE(f.main->mdi().GraphOpen[7]);
    ChildWindow* results = f.main->mdi().childOfKind(7);
    ASSERT_NE(results, nullptr);
    EXPECT_EQ(results->widget()->objectName(), "frmResultDisplay");
    expectConsistentBook(f);
    results->close();
    EXPECT_EQ(f.tabs(), (std::vector<QString>{"Idealised Beam", "Kradon Mesh"}));
    EXPECT_FALSE(f.main->mdi().GraphOpen[7]);
    f.main->KradonTBButton[19]->trigger();
    EXPECT_TRUE(f.main->mdi().GraphOpen[7]);
    EXPECT_EQ(f.tabs().back(), "Results");
    expectConsistentBook(f);
}

} // namespace
} // namespace kradon::test
