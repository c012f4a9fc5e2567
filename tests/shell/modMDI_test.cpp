// The child-window book: one window and one tab per kind, slots, closing in any order.
#include "ShellTestSupport.h"
#include "app/frmResGraph.h"
#include "app/modMDI.h"
#include "app/results/frmResultDisplay.h"

#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <filesystem>
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

/// The windows of the area that are not minimised, bottom of the stack first.
QList<QMdiSubWindow*> stackedWindows(const MainWindowFixture& f) {
    QList<QMdiSubWindow*> shown;
    for (QMdiSubWindow* w : f.main->mdiArea->subWindowList(QMdiArea::StackingOrder))
        if (!w->isMinimized())
            shown << w;
    return shown;
}

TEST(modMDI, CascadeKeepsTheWindowsAsLargeAsTheAreaAllows) {
    MainWindowFixture f;
    for (int k : {0, 1, 2})
        f.main->GraphBtn_Click(static_cast<std::int16_t>(k));
    const QRect room(QPoint(0, 0), f.main->mdiArea->viewport()->size());
    ASSERT_GT(room.width(), 400);
    // Three windows, then a fourth opened after the first cascade.
    for (const qsizetype count : {3, 4}) {
        SCOPED_TRACE(count);
        if (count == 4)
            f.main->GraphBtn_Click(3);
        f.main->mnuWindow_Cascade->trigger();
        const QList<QMdiSubWindow*> windows = stackedWindows(f);
        ASSERT_EQ(windows.size(), count);
        // One size for all, each a step down and right of the one below it, and the top one
        // reaching the area's bottom-right corner: the steps are all the area takes from them.
        for (qsizetype i = 0; i < windows.size(); ++i) {
            const QRect place = windows[i]->geometry();
            EXPECT_TRUE(room.contains(place)) << i;
            EXPECT_EQ(place.size(), windows[0]->size()) << i;
            if (i > 0) {
                EXPECT_GT(place.x(), windows[i - 1]->x()) << i;
                EXPECT_GT(place.y(), windows[i - 1]->y()) << i;
            }
        }
        EXPECT_EQ(windows[0]->pos(), QPoint(0, 0));
        EXPECT_EQ(windows.back()->geometry().bottomRight(), room.bottomRight());
        EXPECT_GT(windows[0]->width(), room.width() / 2);
        EXPECT_GT(windows[0]->height(), room.height() / 2);
        EXPECT_EQ(windows.back(), f.main->mdiArea->activeSubWindow());
    }
}

TEST(modMDI, CascadeStartsAgainWhereTheStepsWouldLeaveTooLittle) {
    struct Row {
        const char* name;
        QSize room;
        int count;
        std::vector<QRect> places;
    };
    const std::vector<Row> rows = {
        {"roomy", {1000, 700}, 2, {{0, 0, 972, 672}, {28, 28, 972, 672}}},
        // 600 x 400 takes two steps before a window would be smaller than 480 x 320.
        {"crowded",
         {600, 400},
         4,
         {{0, 0, 544, 344}, {28, 28, 544, 344}, {56, 56, 544, 344}, {0, 0, 544, 344}}},
        {"smaller than the least size", {300, 200}, 2, {{0, 0, 300, 200}, {0, 0, 300, 200}}},
        {"no windows", {800, 600}, 0, {}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(CascadePlaces(row.room, row.count), row.places) << row.name;
}

TEST(modMDI, TileAfterCascadeFillsTheArea) {
    MainWindowFixture f;
    for (int k : {0, 1, 2})
        f.main->GraphBtn_Click(static_cast<std::int16_t>(k));
    const QSize room = f.main->mdiArea->viewport()->size();
    f.main->mnuWindow_Cascade->trigger();
    f.main->mnuWindow_THorizontal->trigger();
    int heights = 0;
    for (QMdiSubWindow* w : stackedWindows(f)) {
        EXPECT_EQ(w->width(), room.width());
        heights += w->height();
    }
    EXPECT_GE(heights, room.height() - 3); // each a third of the height, rounded down
    f.main->mnuWindow_Cascade->trigger();
    f.main->mnuWindow_TVertical->trigger();
    int widths = 0;
    for (QMdiSubWindow* w : stackedWindows(f)) {
        EXPECT_EQ(w->height(), room.height());
        widths += w->width();
    }
    EXPECT_GE(widths, room.width() - 3);
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

/// The menus of the main window's menu bar, left to right.
std::string menuBarTitles(frmMain& main) {
    QStringList titles;
    for (const QAction* menu : main.menuBar()->actions())
        titles << menu->text();
    return titles.join(" | ").toStdString();
}

const std::string MainMenuTitles =
    "&File | &Edit | &Loads | &Supports | &Beam Data | &Tools | &View | &Window | &Help";
const std::string ResultsMenuTitles = "&File | &Tools | &View | &Window | &Help";

/// The main window with a copy of a sample model analysed and the results window active.
struct ResultsActive : MainWindowFixture {
    ResultsActive() {
        const std::filesystem::path model = folder() / "model.kdn";
        std::filesystem::copy_file(ExamplePath("simply-supported-point-load.kdn"), model);
        EXPECT_TRUE(main->OpenModel(QString::fromStdString(model.string())));
        main->AnalyseCommand();
        main->GraphBtn_Click(ResultsKind);
        results = qobject_cast<frmResultDisplay*>(main->mdi().childOfKind(ResultsKind)->widget());
        EXPECT_NE(results, nullptr);
    }
    frmResultDisplay* results = nullptr;
};

TEST(modMDI, ResultsWindowMenusTakeTheMainMenuBarWhileItIsActive) {
    ResultsActive f;
    ASSERT_NE(f.results, nullptr);
    EXPECT_EQ(menuBarTitles(*f.main), ResultsMenuTitles);
    EXPECT_FALSE(f.results->menuBar->isVisible()) << "no second menu bar inside the child";
    EXPECT_EQ(f.main->menuBar()->actions().front(), f.results->FileMenu->menuAction());
    // Ctrl+S saves the report: the dialog proposes a text file, not a model.
    f.files.names = {std::nullopt};
    QTest::keyClick(f.main.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(f.files.saveTitles.size(), 1u);
    EXPECT_EQ(f.files.lastSuffix, "txt");

    // Another child active: the main window's own menus, and Ctrl+O opens a model again.
    f.main->mdi().ActivateByCaption("Kradon Mesh");
    EXPECT_EQ(menuBarTitles(*f.main), MainMenuTitles);
    f.files.names = {std::nullopt};
    QTest::keyClick(f.main.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(f.files.openCalls, 1);
    EXPECT_EQ(f.files.lastSuffix, "kdn");

    f.main->mdi().ActivateByCaption("Results");
    EXPECT_EQ(menuBarTitles(*f.main), ResultsMenuTitles);
    f.main->mdi().childOfKind(ResultsKind)->close();
    EXPECT_EQ(menuBarTitles(*f.main), MainMenuTitles);
    f.main->GraphBtn_Click(ResultsKind);
    f.main->mdi().CloseChild("All");
    EXPECT_EQ(menuBarTitles(*f.main), MainMenuTitles);
}

TEST(modMDI, ResultsWindowItemsFollowTheMainWindowItems) {
    ResultsActive f;
    ASSERT_NE(f.results, nullptr);
    struct Row {
        QAction* copy;
        QAction* original;
    };
    const std::vector<Row> rows = {{f.results->mnuOptions, f.main->mnuOptions},
                                   {f.results->mnuHelp_ShowTotD, f.main->mnuHelp_ShowTotD},
                                   {f.results->mnuHelpAbout, f.main->mnuHelpAbout},
                                   {f.results->mnuView_Properties, f.main->mnuView_Properties}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.copy->objectName().toStdString());
        EXPECT_EQ(row.copy->isEnabled(), row.original->isEnabled());
        row.original->setEnabled(true);
        EXPECT_TRUE(row.copy->isEnabled());
        row.original->setEnabled(false);
        EXPECT_FALSE(row.copy->isEnabled());
        row.original->setEnabled(true);
    }
    // The commands the main window carries out itself run its own items.
    for (const Row& row : {rows[0], rows[1], rows[2]}) {
        QSignalSpy runs(row.original, &QAction::triggered);
        row.copy->trigger();
        EXPECT_EQ(runs.size(), 1) << row.copy->objectName().toStdString();
    }
    // Properties Box asks for the explorer closed, as the check mark it copied says it is open.
    ASSERT_TRUE(f.results->mnuView_Properties->isChecked());
    f.results->mnuView_Properties->trigger();
    EXPECT_EQ(f.main->formSettings().showProperties, 0);
}

} // namespace
} // namespace kradon::test
