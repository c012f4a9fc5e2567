// The properties explorer driven by object name: its tree and tables, the double-click, the
// pop-up menus, opening and closing with the View menu; and Delete, Undo and Redo of records,
// checked on the bytes of the saved model file.
#include "ShellTestSupport.h"
#include "app/frmProperties.h"
#include "app/modMDI.h"
#include "model/modFileWrite.h"

#include <QAction>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QSettings>
#include <QTest>
#include <QTreeWidget>
#include <QUndoStack>
#include <cstdint>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace kradon::test {
namespace {

using Rows = std::vector<QStringList>;

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

QTreeWidgetItem* node(frmProperties& e, const QString& text) {
    const auto found = tvw(e).findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

void clickNode(frmProperties& e, const QString& text) {
    QTreeWidgetItem* item = node(e, text);
    ASSERT_NE(item, nullptr) << text.toStdString();
    QTest::mouseClick(tvw(e).viewport(), Qt::LeftButton, {}, tvw(e).visualItemRect(item).center());
}

QPoint rowCentre(frmProperties& e, int row) {
    return lvw(e).visualItemRect(lvw(e).topLevelItem(row)).center();
}

/// A double-click on a row as the user makes it: the first click of the pair selects the row.
void doubleClickRow(frmProperties& e, int row) {
    QTest::mouseClick(lvw(e).viewport(), Qt::LeftButton, {}, rowCentre(e, row));
    QTest::mouseDClick(lvw(e).viewport(), Qt::LeftButton, {}, rowCentre(e, row));
}

QStringList columns(frmProperties& e) {
    QStringList c;
    for (int i = 0; i < lvw(e).columnCount(); ++i)
        c << lvw(e).headerItem()->text(i);
    return c;
}

Rows rows(frmProperties& e) {
    Rows r;
    for (int i = 0; i < lvw(e).topLevelItemCount(); ++i) {
        QStringList cells;
        for (int c = 0; c < lvw(e).columnCount(); ++c)
            cells << lvw(e).topLevelItem(i)->text(c);
        r.push_back(cells);
    }
    return r;
}

QString storedSetting(MainWindowFixture& f) {
    QSettings store(QString::fromStdString((f.folder() / "settings.conf").string()),
                    QSettings::IniFormat);
    return store.value("Options/Properties").toString();
}

/// Stores one record of kind through the main window, as a dialog's OK does.
template <class Store, class Fields>
void store(frmMain& main, RecordKind kind, std::int16_t n, Store storeFn, const Fields& fields) {
    main.EditModel([&](BeamModel& m) {
        NoteRecordNumber(m, kind, n);
        storeFn(m, n, fields);
    });
}

void storeSegment(frmMain& main, RecordKind kind, std::int16_t n, double variation,
                  const PropertySegmentFields& fields) {
    main.EditModel([&](BeamModel& m) {
        NoteRecordNumber(m, kind, n);
        auto& list = kind == RecordKind::ESegment ? m.ESegment : m.ISegment;
        list.variation[static_cast<std::size_t>(n)] = variation;
        if (kind == RecordKind::ESegment)
            StoreESegment(m, n, fields);
        else
            StoreISegment(m, n, fields);
    });
}

TEST(frmProperties, OpensBesideTheMainWindowWithTheBeamDetailsOfAFreshStart) {
    MainWindowFixture f;
    frmProperties& e = openExplorer(f);
    EXPECT_EQ(e.objectName(), "frmProperties");
    EXPECT_EQ(e.windowTitle(), "Properties");
    EXPECT_EQ(e.parentWidget(), f.main.get()) << "owned by the main window";
    EXPECT_TRUE(e.isWindow()) << "not one of the main window's child windows";
    EXPECT_TRUE(f.main->mdiArea->subWindowList().isEmpty());
    EXPECT_EQ(e.findChild<QLabel*>("StatusBar1Panel")->text(), "Choose a file to work with...");
    EXPECT_EQ(f.main->propertiesOpen(), true);
    EXPECT_TRUE(f.main->mnuView_Properties->isChecked());
    EXPECT_EQ(storedSetting(f), "True");
    EXPECT_EQ(node(e, "Beam Details"), tvw(e).currentItem());
    EXPECT_EQ(columns(e), QStringList({"Overall span", "E Values", "I Values"}));
    EXPECT_EQ(rows(e), Rows({{"15m", "0", "0"}}));
}

TEST(frmProperties, TheTreeHoldsTwelveNodesInThreeExpandedGroups) {
    MainWindowFixture f;
    frmProperties& e = openExplorer(f);
    const std::vector<std::pair<QString, QStringList>> groups = {
        {"Beam Details", {"Young's Modulus", "Second Moment of Area"}},
        {"Load Details",
         {"Point Loads", "Uniformly Distributed Loads", "Trapezoidally Distributed Loads",
          "Moment Loads", "Fixed Displacements"}},
        {"Support Details", {"Rigid Supports", "Spring Supports"}},
        {"Load Cases", {}},
        {"Combinations", {}},
    };
    const QStringList keys = {"beamDetails", "loadDetails", "supportDetails", "loadCases",
                              "combinations"};
    ASSERT_EQ(tvw(e).topLevelItemCount(), 5);
    for (int g = 0; g < 5; ++g) {
        QTreeWidgetItem* group = tvw(e).topLevelItem(g);
        EXPECT_EQ(group->text(0), groups[static_cast<std::size_t>(g)].first);
        EXPECT_EQ(group->data(0, Qt::UserRole).toString(), keys[g]);
        EXPECT_TRUE(group->isExpanded());
        EXPECT_FALSE(group->icon(0).isNull());
        QStringList children;
        for (int c = 0; c < group->childCount(); ++c) {
            children << group->child(c)->text(0);
            EXPECT_TRUE(group->child(c)->data(0, Qt::UserRole).toString().isEmpty());
            EXPECT_FALSE(group->child(c)->icon(0).isNull());
        }
        EXPECT_EQ(children, groups[static_cast<std::size_t>(g)].second);
    }
}

TEST(frmProperties, EachNodeShowsItsTableOfTheStoredRecords) {
    MainWindowFixture f;
    frmMain& main = *f.main;
    frmProperties& e = openExplorer(f);
    store(main, RecordKind::PointLoad, 1, StorePointLoad, PointLoadFields{"10", "2.5"});
    store(main, RecordKind::PointLoad, 2, StorePointLoad, PointLoadFields{"-4", "7"});
    store(main, RecordKind::UDL, 1, StoreUDL, UDLFields{"5", "0", "15"});
    store(main, RecordKind::TDL, 1, StoreTDL, TDLFields{"1", "3", "2", "6"});
    store(main, RecordKind::MomentLoad, 1, StoreMomentLoad, MomentLoadFields{"12", "4"});
    store(main, RecordKind::FixedDisplacement, 1, StoreFixedDisplacement,
          FixedDisplacementFields{"9", "5", "0.01", true, true});
    store(main, RecordKind::RigidSupport, 1, StoreRigidSupport, RigidSupportFields{"1", "0"});
    store(main, RecordKind::RigidSupport, 2, StoreRigidSupport, RigidSupportFields{"2", "15"});
    store(main, RecordKind::SpringSupport, 1, StoreSpringSupport,
          SpringSupportFields{"7.5", "20", "300", true, false});
    storeSegment(main, RecordKind::ESegment, 1, Variation::Curve,
                 {"0", "15", "", "", "", "200+x/10"});
    storeSegment(main, RecordKind::ISegment, 1, Variation::Linear,
                 {"0", "15", "", "900", "800", ""});
    const QStringList segmentColumns = {"Beam Segment", "Dis A",   "Dis B",   "Variation",
                                        "Value",        "Value A", "Value B", "Expression"};
    struct Case {
        const char* node;
        QStringList columns;
        Rows rows;
    };
    const std::vector<Case> cases = {
        {"Beam Details", {"Overall span", "E Values", "I Values"}, {{"15m", "1", "1"}}},
        {"Young's Modulus",
         segmentColumns,
         {{"1", "0m", "15m", "Expression", "0kN/mm2", "0kN/mm2", "0kN/mm2", "200+x/10"}}},
        {"Second Moment of Area",
         segmentColumns,
         {{"1", "0m", "15m", "Linear", "0cm4", "800cm4", "900cm4", "N/A"}}},
        {"Load Details",
         {"Point Loads", "UDLs", "TDLs", "Moment Loads", "Fixed Displacements"},
         {{"2", "1", "1", "1", "1"}}},
        {"Point Loads",
         {"Point Load No.", "Load Value (kN)", "Load Distance (m)"},
         {{"1", "10", "2.5"}, {"2", "-4", "7"}}},
        {"Uniformly Distributed Loads",
         {"UDL No.", "Load Value (kN/m)", "Start Point (m)", "End Point (m)"},
         {{"1", "5", "0", "15"}}},
        {"Trapezoidally Distributed Loads",
         {"TDL No.", "Start Load Value (kN/m)", "End Load Value (kN/m)", "Start Point (m)",
          "End Point (m)"},
         {{"1", "1", "3", "2", "6"}}},
        {"Moment Loads",
         {"Moment Load No.", "Load Value (kNm)", "Load Distance (m)"},
         {{"1", "12", "4"}}},
        {"Fixed Displacements",
         {"Fixed Displacement No.", "Vertical (mm)", "Rotational (rads)", "Location (m)"},
         {{"1", "5", "0.01", "9"}}},
        {"Support Details", {"Rigid Supports", "Spring Supports"}, {{"2", "1"}}},
        {"Rigid Supports",
         {"Support No.", "Support Type", "Location (m)"},
         {{"1", "Pinned", "0"}, {"2", "Fixed", "15"}}},
        {"Spring Supports",
         {"Spring Support No.", "Vertical (kN/mm)", "Rotational (kN/rad)", "Distance (m)"},
         {{"1", "20", "0", "7.5"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.node);
        clickNode(e, c.node);
        EXPECT_EQ(columns(e), c.columns);
        EXPECT_EQ(rows(e), c.rows);
    }
    EXPECT_EQ(e.variationType(1, "evn"), "Expression");
    EXPECT_EQ(e.variationType(1, "ivn"), "Linear");
    EXPECT_EQ(e.variationType(2, "evn"), "");
    EXPECT_EQ(e.variationType(1, "xyz"), "");

    // The table shown follows a later store at once.
    store(main, RecordKind::SpringSupport, 2, StoreSpringSupport,
          SpringSupportFields{"11", "30", "40", true, true});
    EXPECT_EQ(rows(e), Rows({{"1", "20", "0", "7.5"}, {"2", "30", "40", "11"}}));
}

TEST(frmProperties, DoubleClickOpensTheRecordOfAKindRowAndNothingForAGroupRow) {
    MainWindowFixture f;
    frmProperties& e = openExplorer(f);
    for (const char* location : {"1", "2", "3"})
        store(*f.main, RecordKind::PointLoad, static_cast<std::int16_t>(std::stoi(location)),
              StorePointLoad, PointLoadFields{"10", location});
    std::vector<std::pair<RecordKind, std::int16_t>> opened;
    QObject::connect(f.main.get(), &frmMain::recordEditRequested,
                     [&](RecordKind kind, std::int16_t n) { opened.emplace_back(kind, n); });
    const auto topLevels = QApplication::topLevelWidgets().size();

    for (const char* group : {"Beam Details", "Load Details", "Support Details"}) {
        clickNode(e, group);
        doubleClickRow(e, 0);
    }
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(QApplication::topLevelWidgets().size(), topLevels);

    clickNode(e, "Point Loads");
    doubleClickRow(e, 1);
    EXPECT_EQ(opened,
              (std::vector<std::pair<RecordKind, std::int16_t>>{{RecordKind::PointLoad, 2}}));
}

/// The pop-up menus that are open, by object name.
QStringList shownMenus(frmProperties& e) {
    QStringList shown;
    for (QMenu* menu : e.findChildren<QMenu*>())
        if (menu->isVisible())
            shown << menu->objectName();
    return shown;
}

void hideMenus(frmProperties& e) {
    for (QMenu* menu : e.findChildren<QMenu*>())
        menu->hide();
}

TEST(frmProperties, TheRightButtonPopsUpTheMenuOfTheSelectedGroup) {
    MainWindowFixture f;
    frmProperties& e = openExplorer(f);
    store(*f.main, RecordKind::PointLoad, 1, StorePointLoad, PointLoadFields{"10", "2"});
    struct Case {
        const char* node;
        Qt::MouseButton button;
        bool onRow;
        QStringList shown;
    };
    const std::vector<Case> cases = {
        {"Beam Details", Qt::RightButton, true, {"BOmnu"}},
        {"Load Details", Qt::RightButton, false, {"LOmnu"}},
        {"Support Details", Qt::RightButton, true, {"SOmnu"}},
        {"Support Details", Qt::MiddleButton, true, {}},
        {"Point Loads", Qt::RightButton, false, {}},
        {"Point Loads", Qt::RightButton, true, {"RecordMnu"}},
        {"Rigid Supports", Qt::RightButton, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.node) + (c.onRow ? " on a row" : " below the rows"));
        clickNode(e, c.node);
        const QPoint at = c.onRow ? rowCentre(e, 0) : QPoint(20, lvw(e).viewport()->height() - 5);
        QTest::mousePress(lvw(e).viewport(), c.button, {}, at);
        EXPECT_EQ(shownMenus(e), c.shown);
        hideMenus(e);
        QTest::mouseRelease(lvw(e).viewport(), c.button, {}, at);
    }
}

TEST(frmProperties, PopUpMenusCarryEveryItemAndTheEditItemsShowTheirTables) {
    MainWindowFixture f;
    frmProperties& e = openExplorer(f);
    const auto texts = [&](const char* menu) {
        QStringList t;
        for (QAction* a : e.findChild<QMenu*>(menu)->actions())
            t << a->objectName() + "=" + a->text();
        return t;
    };
    EXPECT_EQ(texts("BOmnu"),
              QStringList({"BeamMnu=Beam Details", "=Young's Modulus", "=Second Moment of Area"}));
    EXPECT_EQ(texts("EMnu"), QStringList({"aEDetails=Add E Details", "eEDetails=Edit E Details"}));
    EXPECT_EQ(texts("IMnu"), QStringList({"aIDetails=Add I Details", "eIDetails=Edit I Details"}));
    EXPECT_EQ(texts("LOmnu"), QStringList({"=Add Load", "=Edit load"}));
    EXPECT_EQ(texts("AddLoadMnu"),
              QStringList({"aPLmnu=Add Point Load", "aUDLmnu=Add UDL", "aTDLmnu=Add TDL",
                           "aMLmnu=Add Moment Load", "aFDmnu=Add Fixed Displacement"}));
    EXPECT_EQ(texts("editLoadmnu"),
              QStringList({"ePLmnu=Edit Point Load", "eUDLmnu=Edit UDL", "eTDLmnu=Edit TDL",
                           "eMLmnu=Edit Moment Load", "eFDmnu=Edit Fixed Dispalcement"}));
    EXPECT_EQ(texts("SOmnu"), QStringList({"=Add Support", "=Edit support"}));
    EXPECT_EQ(texts("addSupportmnu"),
              QStringList({"aRSmnu=Add Rigid Support", "aSSmnu=Add Spring Support"}));
    EXPECT_EQ(texts("editSupportMnu"),
              QStringList({"eRSmnu=Edit Rigid Support", "eSSmnu=Edit Spring Support"}));
    EXPECT_EQ(texts("RecordMnu"), QStringList({"deleteRecordMnu=Delete"}));

    struct Edit {
        const char* item;
        const char* node;
        const char* firstColumn;
    };
    const std::vector<Edit> edits = {
        {"eEDetails", "Young's Modulus", "Beam Segment"},
        {"eIDetails", "Second Moment of Area", "Beam Segment"},
        {"ePLmnu", "Point Loads", "Point Load No."},
        {"eUDLmnu", "Uniformly Distributed Loads", "UDL No."},
        {"eTDLmnu", "Trapezoidally Distributed Loads", "TDL No."},
        {"eMLmnu", "Moment Loads", "Moment Load No."},
        {"eFDmnu", "Fixed Displacements", "Fixed Displacement No."},
        {"eRSmnu", "Rigid Supports", "Support No."},
        {"eSSmnu", "Spring Supports", "Spring Support No."},
    };
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.item);
        clickNode(e, "Beam Details");
        e.findChild<QAction*>(edit.item)->trigger();
        EXPECT_EQ(tvw(e).currentItem()->text(0), edit.node);
        EXPECT_EQ(columns(e).value(0), edit.firstColumn);
    }
}

TEST(frmProperties, ClosingUnchecksBothMenuItemsAndWritesTheSetting) {
    MainWindowFixture f;
    ASSERT_TRUE(
        f.main->OpenModel(QString::fromStdString(ExamplePath("simply-supported-point-load.kdn"))));
    f.main->AnalyseCommand();
    f.main->GraphBtn_Click(ResultsKind);
    ChildWindow* results = f.main->mdi().childOfKind(ResultsKind);
    ASSERT_NE(results, nullptr);
    auto* resultsItem = results->widget()->findChild<QAction*>("mnuView_Properties");
    ASSERT_NE(resultsItem, nullptr);

    frmProperties& e = openExplorer(f);
    EXPECT_EQ(e.findChild<QLabel*>("StatusBar1Panel")->text(),
              QString::fromStdString(f.main->state().FileName));
    EXPECT_TRUE(resultsItem->isChecked());
    e.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(f.main->properties(), nullptr) << "the explorer goes when closed";
    EXPECT_FALSE(f.main->mnuView_Properties->isChecked());
    EXPECT_FALSE(resultsItem->isChecked());
    EXPECT_EQ(f.main->propertiesOpen(), false);
    EXPECT_EQ(storedSetting(f), "False");

    // View "&Properties Box" opens it again, and closes it.
    f.main->mnuView_Properties->trigger();
    ASSERT_NE(f.main->properties(), nullptr);
    EXPECT_TRUE(f.main->properties()->isVisible());
    EXPECT_TRUE(f.main->mnuView_Properties->isChecked());
    EXPECT_EQ(storedSetting(f), "True");
    f.main->mnuView_Properties->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(f.main->properties(), nullptr);
    EXPECT_FALSE(f.main->mnuView_Properties->isChecked());
    EXPECT_EQ(storedSetting(f), "False");
}

TEST(frmProperties, ShutDownLeavesTheExplorerRecordedAsOpen) {
    MainWindowFixture f;
    openExplorer(f);
    f.main->close();
    EXPECT_EQ(storedSetting(f), "True");
    EXPECT_EQ(f.main->formSettings().showProperties, -1);
}

// --- Delete, Undo and Redo -----------------------------------------------------------------

BeamModel withPointLoads(const std::vector<std::pair<const char*, const char*>>& loads) {
    BeamModel m;
    ClearModelLists(m);
    std::int16_t n = 0;
    for (const auto& [value, location] : loads) {
        ++n;
        NoteRecordNumber(m, RecordKind::PointLoad, n);
        StorePointLoad(m, n, {value, location});
    }
    return m;
}

std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// The bytes of the file of a model built directly.
std::string builtBytes(MainWindowFixture& f, const BeamModel& m) {
    const auto path = f.folder() / "built.kdn";
    modFileWrite::SaveModelFile(path, m);
    return fileBytes(path);
}

/// The bytes the main window's Save writes now.
std::string savedBytes(MainWindowFixture& f) {
    EXPECT_TRUE(f.main->SaveModel(true));
    return fileBytes(f.main->state().FileName);
}

/// A model of three point loads opened from its file, the explorer on its point loads.
frmProperties& openThreeLoads(MainWindowFixture& f) {
    const auto path = f.folder() / "three.kdn";
    modFileWrite::SaveModelFile(path, withPointLoads({{"10", "2"}, {"20", "5"}, {"30", "8"}}));
    EXPECT_TRUE(f.main->OpenModel(QString::fromStdString(path.string())));
    frmProperties& e = openExplorer(f);
    clickNode(e, "Point Loads");
    return e;
}

TEST(frmProperties, DeleteUndoAndRedoKeepTheFileLayout) {
    MainWindowFixture f;
    frmProperties& e = openThreeLoads(f);
    const std::string three =
        builtBytes(f, withPointLoads({{"10", "2"}, {"20", "5"}, {"30", "8"}}));
    const std::string two = builtBytes(f, withPointLoads({{"10", "2"}, {"30", "8"}}));
    ASSERT_EQ(savedBytes(f), three);

    QTest::mouseClick(lvw(e).viewport(), Qt::LeftButton, {}, rowCentre(e, 1));
    QTest::keyClick(&lvw(e), Qt::Key_Delete);
    EXPECT_EQ(rows(e), Rows({{"1", "10", "2"}, {"2", "30", "8"}}));
    EXPECT_EQ(lvw(e).indexOfTopLevelItem(lvw(e).currentItem()), 1)
        << "the record that moved into the place is selected";
    EXPECT_TRUE(f.main->isModified());
    EXPECT_EQ(f.main->mnuUndo->text(), "&Undo Delete Point Load 2");
    EXPECT_EQ(savedBytes(f), two);

    f.main->mnuUndo->trigger();
    EXPECT_EQ(rows(e), Rows({{"1", "10", "2"}, {"2", "20", "5"}, {"3", "30", "8"}}));
    EXPECT_EQ(savedBytes(f), three);

    f.main->mnuRedo->trigger();
    EXPECT_EQ(rows(e), Rows({{"1", "10", "2"}, {"2", "30", "8"}}));
    EXPECT_EQ(savedBytes(f), two);
}

TEST(frmProperties, EveryChangeRedrawsTheIdealisedBeamAtOnce) {
    MainWindowFixture f;
    frmProperties& e = openThreeLoads(f);
    QWidget* beam = DiagramSurface(*f.main, 0);
    ASSERT_NE(beam, nullptr);
    const QImage three = OnScreen(*beam);

    QTest::mouseClick(lvw(e).viewport(), Qt::LeftButton, {}, rowCentre(e, 1));
    QTest::keyClick(&lvw(e), Qt::Key_Delete);
    const QImage two = OnScreen(*beam);
    EXPECT_NE(two, three) << "Delete";
    f.main->mnuUndo->trigger();
    EXPECT_EQ(OnScreen(*beam), three) << "Undo";
    EXPECT_EQ(rows(e).size(), 3u);
    f.main->mnuRedo->trigger();
    EXPECT_EQ(OnScreen(*beam), two) << "Redo";
    EXPECT_EQ(rows(e).size(), 2u);
    f.main->spanTxt->setFocus();
    QTest::mouseClick(f.main->spanTxt, Qt::LeftButton);
    f.main->spanTxt->selectAll();
    QTest::keyClicks(f.main->spanTxt, "30");
    QTest::keyClick(f.main->spanTxt, Qt::Key_Return);
    EXPECT_NE(OnScreen(*beam), two) << "span";
    EXPECT_EQ(DiagramSurface(*f.main, 0), beam) << "drawn again in the window it was in";
}

TEST(frmProperties, TheRecordMenuDeletesTheRowUnderThePointer) {
    MainWindowFixture f;
    frmProperties& e = openThreeLoads(f);
    QTest::mousePress(lvw(e).viewport(), Qt::RightButton, {}, rowCentre(e, 0));
    EXPECT_EQ(shownMenus(e), QStringList({"RecordMnu"}));
    e.findChild<QAction*>("deleteRecordMnu")->trigger();
    hideMenus(e);
    EXPECT_EQ(rows(e), Rows({{"1", "20", "5"}, {"2", "30", "8"}}));
    EXPECT_EQ(f.main->state().model, withPointLoads({{"20", "5"}, {"30", "8"}}));
}

TEST(frmProperties, UndoBackToTheOpenedModelLeavesItUnmodified) {
    MainWindowFixture f;
    frmProperties& e = openThreeLoads(f);
    EXPECT_FALSE(f.main->mnuUndo->isEnabled()) << "Open starts a new history";
    QTest::mouseClick(lvw(e).viewport(), Qt::LeftButton, {}, rowCentre(e, 2));
    QTest::keyClick(&lvw(e), Qt::Key_Delete);
    f.main->spanTxt->setText("12");
    f.main->spanTxtChanged();
    EXPECT_EQ(f.main->mnuUndo->text(), "&Undo Change Span");
    EXPECT_TRUE(f.main->isModified());

    f.main->mnuUndo->trigger();
    EXPECT_EQ(f.main->spanTxt->text(), "15") << "the span field follows the model";
    EXPECT_TRUE(f.main->isModified());
    f.main->mnuUndo->trigger();
    EXPECT_FALSE(f.main->isModified());
    EXPECT_FALSE(f.main->mnuUndo->isEnabled());
    EXPECT_TRUE(f.main->mnuRedo->isEnabled());
    EXPECT_EQ(rows(e).size(), 3u);

    f.main->NewModel();
    EXPECT_FALSE(f.main->mnuRedo->isEnabled()) << "New starts a new history";
    EXPECT_EQ(e.findChild<QLabel*>("StatusBar1Panel")->text(),
              QString::fromStdString(f.main->state().FileName));
}

TEST(frmProperties, UndoAndRedoHaveTheirKeys) {
    MainWindowFixture f;
    EXPECT_EQ(f.main->mnuUndo->shortcuts(), QList<QKeySequence>({QKeySequence("Ctrl+Z")}));
    EXPECT_EQ(f.main->mnuRedo->shortcuts(),
              QList<QKeySequence>({QKeySequence("Ctrl+Shift+Z"), QKeySequence("Ctrl+Y")}));
}

} // namespace
} // namespace kradon::test
