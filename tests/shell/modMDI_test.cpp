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

QString currentTab(const MainWindowFixture& f) {
    return f.main->tabMain->tabText(f.main->tabMain->currentIndex());
}

/// Every open window has a distinct slot in 1..10, kept in its Tag, its lblTabIndex and its
/// tab's data; the book's open flags and counts agree with the windows.
void expectConsistentBook(const MainWindowFixture& f) {
    const modMDI& mdi = f.main->mdi();
    const QTabBar& tabs = *f.main->tabMain;
    std::set<int> usedSlots;
    for (QMdiSubWindow* sub : f.main->mdiArea->subWindowList()) {
        const int slot = sub->property("Tag").toString().toInt();
        EXPECT_TRUE(slot >= 1 && slot <= 10 && usedSlots.insert(slot).second) << "slot " << slot;
        EXPECT_EQ(mdi.child(static_cast<std::int16_t>(slot)), sub);
        EXPECT_TRUE(mdi.SlotUsed[static_cast<std::size_t>(slot)]);
        EXPECT_EQ(sub->widget()->findChild<QLabel*>("lblTabIndex")->text().toInt(), slot);
        int tab = 0;
        while (tab < tabs.count() && tabs.tabText(tab) != sub->windowTitle())
            ++tab;
        EXPECT_EQ(tabs.tabData(tab).toInt(), slot) << sub->windowTitle().toStdString();
    }
    // The strip shows the tab of the active window, also right after another one closed.
    if (const QMdiSubWindow* current = f.main->mdiArea->currentSubWindow()) {
        EXPECT_EQ(currentTab(f), current->windowTitle());
    }
    EXPECT_EQ(tabs.count(), f.main->mdiArea->subWindowList().size());
    EXPECT_EQ(mdi.TabCount, tabs.count());
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(mdi.GraphOpen[static_cast<std::size_t>(k)], mdi.childOfKind(k) != nullptr) << k;
}

void openKinds(MainWindowFixture& f, std::initializer_list<int> kinds) {
    for (int k : kinds)
        f.main->GraphBtn_Click(static_cast<std::int16_t>(k));
}

/// The caption of the active child window; empty when there is none.
QString activeCaption(const MainWindowFixture& f) {
    const QMdiSubWindow* active = f.main->mdiArea->activeSubWindow();
    return active != nullptr ? active->windowTitle() : QString();
}

TEST(modMDI, GraphButtonsOpenOneWindowAndOneTabPerKindAndAnUnknownKindAsksAgain) {
    MainWindowFixture f;
    f.main->GraphBtn_Click(8);
    f.main->GraphBtn_Click(-1);
    EXPECT_EQ(f.messages.texts(),
              (std::vector<std::string>{"Please select again", "Please select again"}));
    EXPECT_TRUE(f.windows().empty());
    f.messages.shown.clear();
    // Each draws before any analysis; a kind asked for again keeps its window and brings it
    // forward.
    for (int k : {0, 1, 2, 3, 4, 5, 6, 3}) {
        QTest::mouseClick(f.main->findChild<QPushButton*>(QString("GraphBtn_%1").arg(k)),
                          Qt::LeftButton);
        auto* diagram = qobject_cast<frmResGraph*>(f.main->mdi().childOfKind(k)->widget());
        ASSERT_NE(diagram, nullptr);
        EXPECT_EQ(diagram->kind(), k);
        EXPECT_FALSE(diagram->Disp->grab().toImage().isNull());
    }
    EXPECT_EQ(f.tabs().size(), 7u);
    EXPECT_EQ(activeCaption(f), "Shear Force Diagram");
    expectConsistentBook(f);
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(modMDI, ClosingInAnyOrderKeepsTabsFlagsAndSlotsInStepAndFreesTheLowestSlot) {
    const std::vector<std::vector<int>> orders = {{0, 1, 2}, {2, 1, 0}, {1, 0, 2},
                                                  {1, 2, 0}, {0, 2, 1}, {2, 0, 1}};
    for (const auto& order : orders) {
        SCOPED_TRACE(testing::PrintToString(order));
        MainWindowFixture f;
        openKinds(f, {0, 1, 2});
        std::set<int> used = {1, 2, 3}; // kind k in slot k + 1
        for (int k : order) {
            f.main->mdi().childOfKind(static_cast<std::int16_t>(k))->close();
            used.erase(k + 1);
            expectConsistentBook(f);
            // A window opened now takes the lowest free slot and disturbs no open window.
            f.main->GraphBtn_Click(4);
            int lowest = 1;
            while (used.contains(lowest))
                ++lowest;
            EXPECT_EQ(f.main->mdi().childOfKind(4)->property("Tag").toString().toInt(), lowest);
            expectConsistentBook(f);
            f.main->mdi().childOfKind(4)->close();
            expectConsistentBook(f);
        }
        EXPECT_TRUE(f.tabs().empty());
        EXPECT_TRUE(f.messages.shown.empty());
    }
}

TEST(modMDI, KeysTabsAndTheWindowMenuCycleAndCloseTheChildWindows) {
    MainWindowFixture f;
    openKinds(f, {0, 1, 2});
    ASSERT_EQ(activeCaption(f), "Bending Moment Diagram");
    // Presses keys where the keyboard focus is, as a user would.
    const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus != nullptr ? focus : f.main.get(), key, modifiers);
        return activeCaption(f);
    };
    // Ctrl+Tab goes on in the order the windows were opened, Ctrl+Shift+Tab goes back, both
    // round the end; the tab strip follows.
    const auto back = Qt::ControlModifier | Qt::ShiftModifier;
    EXPECT_EQ(press(Qt::Key_Tab, Qt::ControlModifier), "Idealised Beam");
    EXPECT_EQ(press(Qt::Key_Tab, Qt::ControlModifier), "Kradon Mesh");
    EXPECT_EQ(press(Qt::Key_Tab, back), "Idealised Beam");
    EXPECT_EQ(press(Qt::Key_Tab, back), "Bending Moment Diagram");
    expectConsistentBook(f);

    // A click on a tab activates its window; an activated window selects its tab.
    QTest::mouseClick(f.main->tabMain, Qt::LeftButton, {}, f.main->tabMain->tabRect(0).center());
    EXPECT_EQ(activeCaption(f), "Idealised Beam");
    f.main->mdi().ActivateByCaption(ChildCaptions[2]);
    EXPECT_EQ(currentTab(f), "Bending Moment Diagram");
    // The Window menu lists the open windows, numbered, after the arrangements.
    emit f.main->mnuWindow->aboutToShow();
    QStringList listed;
    for (QAction* a : f.main->mnuWindow->actions().mid(5))
        listed << a->text();
    EXPECT_EQ(listed,
              (QStringList{"&1 Idealised Beam", "&2 Kradon Mesh", "&3 Bending Moment Diagram"}));
    f.main->mnuWindow->actions().at(5)->trigger();
    EXPECT_EQ(activeCaption(f), "Idealised Beam");
    f.main->mdi().ActivateByCaption(ChildCaptions[2]);

    // Ctrl+F4 closes the active window only, with its tab and its open flag.
    press(Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(f.windows(), (std::vector<QString>{"Idealised Beam", "Kradon Mesh"}));
    expectConsistentBook(f);
    press(Qt::Key_F4, Qt::ControlModifier);
    press(Qt::Key_F4, Qt::ControlModifier);
    EXPECT_TRUE(f.windows().empty());
    press(Qt::Key_F4, Qt::ControlModifier); // nothing left to close
    expectConsistentBook(f);
    EXPECT_TRUE(f.messages.shown.empty());

    EXPECT_EQ(press(Qt::Key_F6, Qt::NoModifier), "Results");
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

TEST(modMDI, TileFillsTheAreaAndCascadeKeepsEveryWindowInsideIt) {
    MainWindowFixture f;
    openKinds(f, {0, 1, 2});
    const QRect room(QPoint(0, 0), f.main->mdiArea->viewport()->size());
    ASSERT_GT(room.width(), 400);
    // Tiled after a cascade, the three windows share the area's height or its width.
    for (QAction* tile : {f.main->mnuWindow_THorizontal, f.main->mnuWindow_TVertical}) {
        f.main->mnuWindow_Cascade->trigger();
        tile->trigger();
        const bool rows = tile == f.main->mnuWindow_THorizontal;
        int shared = 0;
        for (QMdiSubWindow* w : stackedWindows(f)) {
            EXPECT_EQ(rows ? w->width() : w->height(), rows ? room.width() : room.height());
            shared += rows ? w->height() : w->width();
        }
        EXPECT_GE(shared, (rows ? room.height() : room.width()) - 3);
    }
    f.main->GraphBtn_Click(3);
    f.main->mnuWindow_Cascade->trigger();
    for (const QMdiSubWindow* w : stackedWindows(f))
        EXPECT_TRUE(room.contains(w->geometry())) << w->windowTitle().toStdString();
    EXPECT_EQ(stackedWindows(f).back(), f.main->mdiArea->activeSubWindow());
}

TEST(modMDI, ResultsWindowComesAndGoesLikeTheOthersAndTakesTheMenuBarWhileActive) {
    MainWindowFixture f;
    const std::filesystem::path model = f.folder() / "model.kdn";
    std::filesystem::copy_file(ExamplePath("simply-supported-point-load.kdn"), model);
    frmResultDisplay* results = ShowResults(f, model.string());
    ASSERT_NE(results, nullptr);
    EXPECT_EQ(f.tabs(), (std::vector<QString>{"Idealised Beam", "Kradon Mesh", "Results"}));
    expectConsistentBook(f);
    EXPECT_EQ(f.main->menuBar()->actions().front(), results->FileMenu->menuAction());
    EXPECT_FALSE(results->menuBar->isVisible()) << "no second menu bar inside the child";
    // Ctrl+S saves the report: the dialog proposes a text file, not a model.
    f.files.names = {std::nullopt};
    QTest::keyClick(f.main.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(f.files.saveTitles.size(), 1u);
    EXPECT_EQ(f.files.lastSuffix, "txt");

    // Another child active: the main window's own menus, and Ctrl+O opens a model again.
    f.main->mdi().ActivateByCaption("Kradon Mesh");
    EXPECT_EQ(f.main->menuBar()->actions().front(), f.main->mnuFile->menuAction());
    f.files.names = {std::nullopt};
    QTest::keyClick(f.main.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(f.files.openCalls, 1);
    EXPECT_EQ(f.files.lastSuffix, "kdn");

    f.main->mdi().ActivateByCaption("Results");
    EXPECT_EQ(f.main->menuBar()->actions().front(), results->FileMenu->menuAction());
    f.main->mdi().childOfKind(ResultsKind)->close();
    EXPECT_EQ(f.tabs(), (std::vector<QString>{"Idealised Beam", "Kradon Mesh"}));
    expectConsistentBook(f);
    EXPECT_EQ(f.main->menuBar()->actions().size(), 9) << "the main window's nine menus";
    f.main->KradonTBButton[19]->trigger(); // View Results
    EXPECT_EQ(f.tabs().back(), "Results");
    expectConsistentBook(f);

    // Its items follow the main window's: enabled alike, and running the main window's own.
    results = qobject_cast<frmResultDisplay*>(f.main->mdi().childOfKind(ResultsKind)->widget());
    ASSERT_NE(results, nullptr);
    const std::vector<std::pair<QAction*, QAction*>> items = {
        {results->mnuOptions, f.main->mnuOptions},
        {results->mnuView_Properties, f.main->mnuView_Properties}};
    for (const auto& [copy, original] : items) {
        SCOPED_TRACE(copy->objectName().toStdString());
        original->setEnabled(false);
        EXPECT_FALSE(copy->isEnabled());
        original->setEnabled(true);
        EXPECT_TRUE(copy->isEnabled());
        if (copy == results->mnuView_Properties)
            continue;
        QSignalSpy runs(original, &QAction::triggered);
        copy->trigger();
        EXPECT_EQ(runs.size(), 1);
    }
    // Properties Box asks for the explorer closed, as the check mark it copied says it is open.
    ASSERT_TRUE(results->mnuView_Properties->isChecked());
    results->mnuView_Properties->trigger();
    EXPECT_EQ(f.main->formSettings().showProperties, 0);

    f.main->findChild<QAction*>("mnuFile_CloseAll")->trigger();
    EXPECT_TRUE(f.windows().empty());
    expectConsistentBook(f);
    EXPECT_EQ(f.main->menuBar()->actions().front(), f.main->mnuFile->menuAction());
}

} // namespace
} // namespace kradon::test
