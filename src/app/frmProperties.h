// The properties explorer: the model as a tree of groups and kinds beside the table of the
// chosen entry's records. Besides the menus and the toolbar it is the way to the add and edit
// dialogs, and the place where a record is deleted.
#pragma once

#include "model/BeamModel.h"
#include "model/ModelTables.h"

#include <QIcon>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>

class QLabel;
class QMenu;
class QAction;
class QStackedWidget;
class QStatusBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace kradon {

class frmMain;
class LoadCasesPage;
class CombinationsPage;

inline constexpr const char* PropertiesCaption = "Properties";
inline constexpr const char* ChooseAFileText = "Choose a file to work with...";

/// A tool window owned by the main window: it stays above it and is not one of its child
/// windows. It deletes itself when closed.
class frmProperties : public QWidget {
    Q_OBJECT
public:
    /// Runs the load steps: the open flag and the menus, the status panel, the tree, the
    /// "Beam Details" table, and the place beside the main window.
    explicit frmProperties(frmMain& main);
    ~frmProperties() override;

    /// The status panel, as wide as the window, shows the model's file name, if any.
    void updatePanels();
    /// While the window is shown: the table of the selected tree node is made again from the
    /// model, keeping the selected row where there still is one.
    void refreshProperties();
    /// Stops following the main window and hides; the close steps (open flag, menus, setting)
    /// are not run, so the main window's shut-down still records the explorer as open.
    void endForm();

    // Each table operation empties lvw, adds the table's columns and fills its rows; the tree
    // selects the node the table belongs to, so a double-click reaches the table's records.
    void caseBeamDetails();
    void caseLoadDetails();
    void casePointLoads();
    void caseUniformlyDistributedLoads();
    void caseTrapezoidallyDistributedLoads();
    void caseMomentLoads();
    void caseFixedDisplacements();
    void caseSupportDetails();
    void caseRigidSupports();
    void caseSpringSupports();
    /// Empties lvw and adds the eight E/I columns, without rows.
    void caseVariation();
    /// Replaces the rows with the E definitions, under the current columns.
    void caseYoungsModulusText();
    /// Replaces the rows with the I definitions, under the current columns.
    void caseSecondMomentOfAreaText();
    /// "None", "Linear" or "Expression" for E ("evn") or I ("ivn") definition index; empty
    /// text for any other variation or kind.
    QString variationType(std::int16_t index, const QString& kind) const;

    // Controls, named as the window's documented controls.
    QTreeWidget* tvw;
    std::array<QIcon, 11> ImageList1; // images 1..10; entry 0 unused
    QTreeWidget* lvw;                 // a list in details view: one row per record
    /// Shows lvw, or the load cases or combinations page in its place.
    QStackedWidget* pages;
    LoadCasesPage* loadCasesPage;
    CombinationsPage* combinationsPage;
    QStatusBar* StatusBar1;
    QLabel* StatusBar1Panel;

    QMenu* BOmnu;
    QAction* BeamMnu;
    QMenu* EMnu;
    QAction* aEDetails;
    QAction* eEDetails;
    QMenu* IMnu;
    QAction* aIDetails;
    QAction* eIDetails;
    QMenu* LOmnu;
    QMenu* AddLoadMnu;
    QAction* aPLmnu;
    QAction* aUDLmnu;
    QAction* aTDLmnu;
    QAction* aMLmnu;
    QAction* aFDmnu;
    QMenu* editLoadmnu;
    QAction* ePLmnu;
    QAction* eUDLmnu;
    QAction* eTDLmnu;
    QAction* eMLmnu;
    QAction* eFDmnu;
    QMenu* SOmnu;
    QMenu* addSupportmnu;
    QAction* aRSmnu;
    QAction* aSSmnu;
    QMenu* editSupportMnu;
    QAction* eRSmnu;
    QAction* eSSmnu;
    /// The pop-up of a record row in a kind's table.
    QMenu* RecordMnu;
    QAction* deleteRecordMnu;

public slots:
    /// Shows the table of the node; errors are ignored.
    void tvw_NodeClick(QTreeWidgetItem* node);
    /// Opens the dialog of the selected row's record; a row of a group table opens nothing.
    void lvw_DblClick();
    /// The right button at `at` (lvw's viewport coordinates) pops up the menu of the selected
    /// group, or the record menu over a row of a kind's table; anything else does nothing.
    void lvw_MouseDown(Qt::MouseButton button, const QPoint& at);
    /// Deletes the record of the selected row; later records move down one number.
    void deleteRecordMnu_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createImages();
    void createTree();
    void createList();
    void createStatusBar();
    void createMenus();
    void createRecordMenu();
    void connectCommands();
    void placeBesideMain();
    /// The check marks of both "&Properties Box" items and the start-up setting follow the open
    /// flag.
    void synchroniseMenu();
    void showTable(const ModelTables::RecordTable& table);
    void clearList();
    void fillRows(const ModelTables::RecordTable& table);
    /// Selects the tree node with this text without running its table.
    void selectNode(const QString& text);
    /// Runs the table operation of the node with this text.
    void showNodeTable(const QString& text);
    QString selectedNodeText() const;
    /// The record kind whose table the selected node shows; none for a group.
    std::optional<RecordKind> selectedKind() const;
    /// The selected row's first cell as a record number, or 0 when it is not a number.
    std::int16_t selectedRecordNumber() const;
    const BeamModel& model() const;

    frmMain& main_;
};

} // namespace kradon
