// The properties explorer driven by object name: its tree and tables, the double-click, the
// pop-up menus, opening and closing with the View menu; and Delete, Undo and Redo of records,
// checked on the bytes of the saved model file.
#include "DialogTestSupport.h"
#include "app/frmProperties.h"
#include "app/modMDI.h"
#include "app/results/frmResultDisplay.h"
#include "core/FileSafetySupport.h"
#include "model/modFileWrite.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QTest>
#include <QTreeWidget>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace kradon::test {
namespace {

/// The explorer opened from the toolbar, as the user opens it.
frmProperties& openExplorer(MainWindowFixture& f) {
    f.main->KradonTB_ButtonClick(17);
    frmProperties* explorer = f.main->properties();
    EXPECT_NE(explorer, nullptr);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(explorer));
    return *explorer;
}

QTreeWidget& tvw(frmProperties& e) {
    return *e.findChild<QTreeWidget*>("tvw");
}
QTreeWidget& lvw(frmProperties& e) {
    return *e.findChild<QTreeWidget*>("lvw");
}

QString statusPanel(frmProperties& e) {
    return e.findChild<QLabel*>("StatusBar1Panel")->text();
}

void clickNode(frmProperties& e, const QString& text) {
    const auto found = tvw(e).findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_FALSE(found.isEmpty()) << text.toStdString();
    QTest::mouseClick(tvw(e).viewport(), Qt::LeftButton, {},
                      tvw(e).visualItemRect(found.first()).center());
}

QPoint rowCentre(frmProperties& e, int row) {
    return lvw(e).visualItemRect(lvw(e).topLevelItem(row)).center();
}

/// The rows of the table, the cells joined by " | ".
QStringList table(frmProperties& e) {
    QStringList t;
    for (int i = 0; i < lvw(e).topLevelItemCount(); ++i) {
        QStringList cells;
        for (int c = 0; c < lvw(e).columnCount(); ++c)
            cells << lvw(e).topLevelItem(i)->text(c);
        t << cells.join(" | ");
    }
    return t;
}

/// Notes record n of kind in m, as a dialog's OK does before it stores the record; n.
std::int16_t note(BeamModel& m, RecordKind kind, std::int16_t n) {
    NoteRecordNumber(m, kind, n);
    return n;
}

TEST(frmProperties, OpensBesideTheMainWindowAndItsTablesFollowTheStoredRecords) {
    MainWindowFixture f;
    frmProperties& e = openExplorer(f);
    EXPECT_EQ(e.parentWidget(), f.main.get()) << "owned by the main window";
    EXPECT_TRUE(e.isWindow() && f.main->mdiArea->subWindowList().isEmpty())
        << "not one of the main window's child windows";
    EXPECT_EQ(statusPanel(e), "Choose a file to work with...");
    EXPECT_TRUE(f.main->mnuView_Properties->isChecked());
    EXPECT_EQ(StoredSetting(f, "Options/Properties"), "True");
    EXPECT_EQ(tvw(e).currentItem()->text(0), "Beam Details");
    EXPECT_EQ(table(e), QStringList({"15m | 0 | 0"}));

    // Each node shows its table of the stored records, and follows a later store at once. The
    // load tables are laid out alike, and so are the support ones.
    f.main->EditModel([](BeamModel& m) {
        StorePointLoad(m, note(m, RecordKind::PointLoad, 1), {"10", "2.5"});
        StorePointLoad(m, note(m, RecordKind::PointLoad, 2), {"-4", "7"});
        StoreRigidSupport(m, note(m, RecordKind::RigidSupport, 1), {"1", "0"});
        StoreRigidSupport(m, note(m, RecordKind::RigidSupport, 2), {"2", "15"});
        StoreSpringSupport(m, note(m, RecordKind::SpringSupport, 1),
                           {"7.5", "20", "300", true, false});
        note(m, RecordKind::ESegment, 1);
        m.ESegment.variation[1] = Variation::Curve;
        StoreESegment(m, 1, {"0", "15", "", "", "", "200+x/10"});
        note(m, RecordKind::ISegment, 1);
        m.ISegment.variation[1] = Variation::Linear;
        StoreISegment(m, 1, {"0", "15", "", "900", "800", ""});
    });
    const std::vector<std::pair<const char*, QStringList>> cases = {
        {"Beam Details", {"15m | 1 | 1"}},
        {"Young's Modulus", {"1 | 0m | 15m | Expression | 0kN/mm2 | 0kN/mm2 | 0kN/mm2 | 200+x/10"}},
        {"Second Moment of Area", {"1 | 0m | 15m | Linear | 0cm4 | 800cm4 | 900cm4 | N/A"}},
        {"Load Details", {"2 | 0 | 0 | 0 | 0"}},
        {"Point Loads", {"1 | 10 | 2.5", "2 | -4 | 7"}},
        {"Rigid Supports", {"1 | Pinned | 0", "2 | Fixed | 15"}},
        {"Spring Supports", {"1 | 20 | 0 | 7.5"}}};
    for (const auto& [node, expected] : cases) {
        clickNode(e, node);
        EXPECT_EQ(table(e), expected) << node;
    }
    f.main->EditModel([](BeamModel& m) {
        StoreSpringSupport(m, note(m, RecordKind::SpringSupport, 2),
                           {"11", "30", "40", true, true});
    });
    EXPECT_EQ(table(e), QStringList({"1 | 20 | 0 | 7.5", "2 | 30 | 40 | 11"}));
}

/// The pop-up menus that are open, by object name; hidden again when hide is set.
QStringList shownMenus(frmProperties& e, bool hide = true) {
    QStringList shown;
    for (QMenu* menu : e.findChildren<QMenu*>())
        if (menu->isVisible()) {
            shown << menu->objectName();
            menu->setVisible(!hide);
        }
    return shown;
}

TEST(frmProperties, DoubleClickAndRightButtonActOnWhatIsUnderThemAndClosingUnchecksBothItems) {
    MainWindowFixture f;
    frmResultDisplay* results = ShowResults(f, ExamplePath("simply-supported-point-load.kdn"));
    ASSERT_NE(results, nullptr);
    frmProperties& e = openExplorer(f);
    EXPECT_EQ(statusPanel(e), QString::fromStdString(f.main->state().FileName));
    f.main->EditModel([](BeamModel& m) {
        for (std::int16_t n = 1; n <= 3; ++n)
            StorePointLoad(m, note(m, RecordKind::PointLoad, n), {"10", std::to_string(n)});
    });
    std::vector<std::pair<RecordKind, std::int16_t>> opened;
    QObject::connect(f.main.get(), &frmMain::recordEditRequested,
                     [&](RecordKind kind, std::int16_t n) { opened.emplace_back(kind, n); });
    // A double-click as the user makes it: the first click of the pair selects the row.
    const auto doubleClickRow = [&](const char* node, int row) {
        clickNode(e, node);
        QTest::mouseClick(lvw(e).viewport(), Qt::LeftButton, {}, rowCentre(e, row));
        QTest::mouseDClick(lvw(e).viewport(), Qt::LeftButton, {}, rowCentre(e, row));
    };
    doubleClickRow("Load Details", 0);
    EXPECT_TRUE(opened.empty()) << "a group's row is no record";
    doubleClickRow("Point Loads", 1);
    EXPECT_EQ(opened,
              (std::vector<std::pair<RecordKind, std::int16_t>>{{RecordKind::PointLoad, 2}}));

    // The right button pops up the menu of the selected group, or of a record row.
    struct Case {
        const char* node;
        Qt::MouseButton button;
        bool onRow;
        QStringList shown;
    };
    const std::vector<Case> cases = {{"Beam Details", Qt::RightButton, true, {"BOmnu"}},
                                     {"Load Details", Qt::RightButton, false, {"LOmnu"}},
                                     {"Support Details", Qt::MiddleButton, true, {}},
                                     {"Point Loads", Qt::RightButton, false, {}},
                                     {"Point Loads", Qt::RightButton, true, {"RecordMnu"}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.node) + (c.onRow ? " on a row" : " below the rows"));
        clickNode(e, c.node);
        const QPoint at = c.onRow ? rowCentre(e, 0) : QPoint(20, lvw(e).viewport()->height() - 5);
        QTest::mousePress(lvw(e).viewport(), c.button, {}, at);
        EXPECT_EQ(shownMenus(e), c.shown);
        QTest::mouseRelease(lvw(e).viewport(), c.button, {}, at);
    }

    // Closing it unchecks the View item of the main and the results window.
    QAction* resultsItem = results->mnuView_Properties;
    EXPECT_TRUE(resultsItem->isChecked());
    e.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(f.main->properties(), nullptr) << "the explorer goes when closed";
    EXPECT_FALSE(f.main->mnuView_Properties->isChecked());
    EXPECT_FALSE(resultsItem->isChecked());
    EXPECT_EQ(StoredSetting(f, "Options/Properties"), "False");

    // View "&Properties Box" opens and closes it; shut down with it open, it is recorded so.
    for (const bool open : {true, false, true}) {
        f.main->mnuView_Properties->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(f.main->properties() != nullptr && f.main->mnuView_Properties->isChecked(), open);
        EXPECT_EQ(StoredSetting(f, "Options/Properties"), open ? "True" : "False");
    }
    f.main->close();
    EXPECT_EQ(StoredSetting(f, "Options/Properties"), "True");
    EXPECT_EQ(f.main->formSettings().showProperties, -1);
}

// --- Delete, Undo and Redo -----------------------------------------------------------------

BeamModel withPointLoads(const std::vector<std::pair<const char*, const char*>>& loads) {
    BeamModel m;
    ClearModelLists(m);
    std::int16_t n = 0;
    for (const auto& [value, location] : loads) {
        NoteRecordNumber(m, RecordKind::PointLoad, ++n);
        StorePointLoad(m, n, {value, location});
    }
    return m;
}

/// The bytes of the file of m.
std::string bytesOf(const std::filesystem::path& path, const BeamModel& m) {
    modFileWrite::SaveModelFile(path, m);
    return fileBytes(path);
}

TEST(frmProperties, DeleteUndoAndRedoKeepTheFileLayoutAndRedrawTheBeamAtOnce) {
    MainWindowFixture f;
    const auto path = f.folder() / "three.kdn";
    const std::string three =
        bytesOf(path, withPointLoads({{"10", "2"}, {"20", "5"}, {"30", "8"}}));
    const std::string two =
        bytesOf(f.folder() / "two.kdn", withPointLoads({{"10", "2"}, {"30", "8"}}));
    ASSERT_TRUE(f.main->OpenModel(QPath(path)));
    frmProperties& e = openExplorer(f);
    clickNode(e, "Point Loads");
    const QStringList threeRows = {"1 | 10 | 2", "2 | 20 | 5", "3 | 30 | 8"};
    const QStringList twoRows = {"1 | 10 | 2", "2 | 30 | 8"};
    const auto savedBytes = [&] {
        EXPECT_TRUE(f.main->SaveModel(true));
        return fileBytes(path);
    };

    // The record menu deletes the row under the pointer; Undo back to the opened model leaves
    // it unmodified.
    EXPECT_FALSE(f.main->mnuUndo->isEnabled()) << "Open starts a new history";
    QTest::mousePress(lvw(e).viewport(), Qt::RightButton, {}, rowCentre(e, 0));
    EXPECT_EQ(shownMenus(e, false), QStringList({"RecordMnu"}));
    e.findChild<QAction*>("deleteRecordMnu")->trigger();
    shownMenus(e);
    EXPECT_EQ(table(e), QStringList({"1 | 20 | 5", "2 | 30 | 8"}));
    EXPECT_EQ(f.main->state().model, withPointLoads({{"20", "5"}, {"30", "8"}}));
    TypeSpan(*f.main, "12");
    EXPECT_EQ(f.main->mnuUndo->text(), "&Undo Change Span");
    f.main->mnuUndo->trigger();
    EXPECT_EQ(f.main->spanTxt->text(), "15") << "the span field follows the model";
    EXPECT_TRUE(f.main->isModified());
    f.main->mnuUndo->trigger();
    EXPECT_FALSE(f.main->isModified());
    EXPECT_FALSE(f.main->mnuUndo->isEnabled());
    EXPECT_TRUE(f.main->mnuRedo->isEnabled());
    EXPECT_EQ(table(e), threeRows);

    // Delete, Undo and Redo write the same bytes as models built so, and the idealised beam
    // shows each change at once.
    QWidget* beam = DiagramSurface(*f.main, 0);
    ASSERT_NE(beam, nullptr);
    const QImage threeLoads = OnScreen(*beam);
    QTest::mouseClick(lvw(e).viewport(), Qt::LeftButton, {}, rowCentre(e, 1));
    QTest::keyClick(&lvw(e), Qt::Key_Delete);
    EXPECT_EQ(table(e), twoRows);
    EXPECT_EQ(lvw(e).indexOfTopLevelItem(lvw(e).currentItem()), 1)
        << "the record that moved into the place is selected";
    EXPECT_EQ(f.main->mnuUndo->text(), "&Undo Delete Point Load 2");
    const QImage twoLoads = OnScreen(*beam);
    EXPECT_NE(twoLoads, threeLoads) << "Delete";
    EXPECT_EQ(savedBytes(), two);
    f.main->mnuUndo->trigger();
    EXPECT_EQ(table(e), threeRows);
    EXPECT_EQ(OnScreen(*beam), threeLoads) << "Undo";
    EXPECT_EQ(savedBytes(), three);
    f.main->mnuRedo->trigger();
    EXPECT_EQ(table(e), twoRows);
    EXPECT_EQ(OnScreen(*beam), twoLoads) << "Redo";
    EXPECT_EQ(savedBytes(), two);
    TypeSpan(*f.main, "30");
    EXPECT_NE(OnScreen(*beam), twoLoads) << "span";
    EXPECT_EQ(DiagramSurface(*f.main, 0), beam) << "drawn again in the window it was in";

    f.main->NewModel();
    EXPECT_FALSE(f.main->mnuRedo->isEnabled()) << "New starts a new history";
    EXPECT_EQ(statusPanel(e), QString::fromStdString(f.main->state().FileName));
}

} // namespace
} // namespace kradon::test
