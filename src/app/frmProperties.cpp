// The properties explorer.
#include "app/frmProperties.h"

#include "app/Guarded.h"
#include "app/LoadCasesEditor.h"
#include "app/NumberText.h"
#include "app/SettingsStore.h"
#include "app/dialogs/DialogFields.h"
#include "app/frmMain.h"
#include "app/modMDI.h"
#include "settings/SettingsKeys.h"
#include "settings/Twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

namespace kradon {
namespace {

using Operation = void (frmProperties::*)();

/// One node of the tree: its text, key (top-level nodes only), parent group (-1 at the top),
/// image, the record kind it lists (none for a group) and the operations that show its table.
struct TreeNode {
    const char* text;
    const char* key;
    int parent;
    int image;
    std::optional<RecordKind> kind;
    Operation table;
    Operation rows; // run after table when set: the E and I rows under their columns
};

constexpr std::size_t NodeCount = 12;
const std::array<TreeNode, NodeCount> TreeNodes = {{
    {"Beam Details", "beamDetails", -1, 10, std::nullopt, &frmProperties::caseBeamDetails, nullptr},
    {"Young's Modulus", "", 0, 8, RecordKind::ESegment, &frmProperties::caseVariation,
     &frmProperties::caseYoungsModulusText},
    {"Second Moment of Area", "", 0, 9, RecordKind::ISegment, &frmProperties::caseVariation,
     &frmProperties::caseSecondMomentOfAreaText},
    {"Load Details", "loadDetails", -1, 1, std::nullopt, &frmProperties::caseLoadDetails, nullptr},
    {"Point Loads", "", 3, 1, RecordKind::PointLoad, &frmProperties::casePointLoads, nullptr},
    {"Uniformly Distributed Loads", "", 3, 2, RecordKind::UDL,
     &frmProperties::caseUniformlyDistributedLoads, nullptr},
    {"Trapezoidally Distributed Loads", "", 3, 3, RecordKind::TDL,
     &frmProperties::caseTrapezoidallyDistributedLoads, nullptr},
    {"Moment Loads", "", 3, 4, RecordKind::MomentLoad, &frmProperties::caseMomentLoads, nullptr},
    {"Fixed Displacements", "", 3, 5, RecordKind::FixedDisplacement,
     &frmProperties::caseFixedDisplacements, nullptr},
    {"Support Details", "supportDetails", -1, 6, std::nullopt, &frmProperties::caseSupportDetails,
     nullptr},
    {"Rigid Supports", "", 9, 6, RecordKind::RigidSupport, &frmProperties::caseRigidSupports,
     nullptr},
    {"Spring Supports", "", 9, 7, RecordKind::SpringSupport, &frmProperties::caseSpringSupports,
     nullptr},
}};

/// The images of ImageList1, 1..10.
constexpr std::array<const char*, 11> TreeImages = {
    nullptr,          "point-loads",         "uniform-loads",  "trapezoidal-loads",
    "moment-loads",   "fixed-displacements", "rigid-supports", "spring-supports",
    "youngs-modulus", "second-moment",       "beam-details"};

const TreeNode* nodeByText(const QString& text) {
    for (const TreeNode& node : TreeNodes)
        if (text == node.text)
            return &node;
    return nullptr;
}

/// A cell as the user reads numbers: the locale's decimal point. Expressions keep their text.
QString localCell(const std::string& cell, const std::string& column) {
    QString text = QString::fromStdString(cell);
    const QString point = QLocale().decimalPoint();
    if (column != "Expression" && point != ".")
        text.replace('.', point);
    return text;
}

/// A text as a record number: a number rounded to a 16-bit integer, otherwise 0.
std::int16_t recordNumberOf(const QString& text) {
    const std::optional<double> number = ParseLocaleNumber(text);
    if (!number)
        return 0;
    const double rounded = std::nearbyint(*number);
    if (rounded < std::numeric_limits<std::int16_t>::min() ||
        rounded > std::numeric_limits<std::int16_t>::max())
        return 0;
    return static_cast<std::int16_t>(rounded);
}

} // namespace

frmProperties::frmProperties(frmMain& main) : QWidget(&main, Qt::Tool), main_(main) {
    setObjectName("frmProperties");
    setWindowTitle(PropertiesCaption);
    setAttribute(Qt::WA_DeleteOnClose);
    resize(660, 300);
    createImages();
    createList();
    createStatusBar();
    createMenus();
    createRecordMenu();
    // Undo and Redo reach the model from here as from the main window.
    addActions({main_.mnuUndo, main_.mnuRedo});

    main_.setPropertiesOpen(true);
    synchroniseMenu();
    updatePanels();
    createTree();
    connectCommands();
    caseBeamDetails();
    placeBesideMain();
}

frmProperties::~frmProperties() = default;

const BeamModel& frmProperties::model() const {
    return main_.state().model;
}

void frmProperties::createImages() {
    for (std::size_t i = 1; i < TreeImages.size(); ++i)
        ImageList1[i] = QIcon(QString(":/tree/%1.svg").arg(TreeImages[i]));
}

void frmProperties::createList() {
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName("splitter");
    tvw = new QTreeWidget(splitter);
    tvw->setObjectName("tvw");
    tvw->setHeaderHidden(true);
    tvw->setColumnCount(1);
    pages = new QStackedWidget(splitter);
    pages->setObjectName("pages");
    lvw = new QTreeWidget(pages);
    lvw->setObjectName("lvw");
    lvw->setRootIsDecorated(false);
    lvw->setItemsExpandable(false);
    lvw->setAllColumnsShowFocus(true);
    lvw->setSelectionMode(QAbstractItemView::SingleSelection);
    lvw->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvw->setUniformRowHeights(true);
    lvw->header()->setStretchLastSection(false);
    lvw->installEventFilter(this);
    lvw->viewport()->installEventFilter(this);
    pages->addWidget(lvw);
    loadCasesPage = new LoadCasesPage(main_, pages);
    pages->addWidget(loadCasesPage);
    combinationsPage = new CombinationsPage(main_, pages);
    pages->addWidget(combinationsPage);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 420});

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(splitter, 1);
}

void frmProperties::createStatusBar() {
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1Panel = new QLabel(ChooseAFileText, StatusBar1);
    StatusBar1Panel->setObjectName("StatusBar1Panel");
    StatusBar1Panel->setToolTip(ChooseAFileText);
    StatusBar1Panel->setFrameShape(QFrame::StyledPanel);
    StatusBar1Panel->setFrameShadow(QFrame::Sunken);
    StatusBar1Panel->setContentsMargins(4, 0, 4, 0);
    // The one panel spans the window's width whatever its size.
    StatusBar1->addWidget(StatusBar1Panel, 1);
    layout()->addWidget(StatusBar1);
}

void frmProperties::createTree() {
    std::array<QTreeWidgetItem*, NodeCount> items{};
    for (std::size_t i = 0; i < TreeNodes.size(); ++i) {
        const TreeNode& node = TreeNodes[i];
        QTreeWidgetItem* item =
            node.parent < 0 ? new QTreeWidgetItem(tvw)
                            : new QTreeWidgetItem(items[static_cast<std::size_t>(node.parent)]);
        item->setText(0, node.text);
        item->setData(0, Qt::UserRole, QString(node.key));
        item->setIcon(0, ImageList1[static_cast<std::size_t>(node.image)]);
        items[i] = item;
    }
    // The load cases and their combinations, each with a page of its own.
    for (const auto& [text, key] : {std::pair{LoadCasesNodeText, "loadCases"},
                                    std::pair{CombinationsNodeText, "combinations"}}) {
        auto* item = new QTreeWidgetItem(tvw);
        item->setText(0, text);
        item->setData(0, Qt::UserRole, QString(key));
        item->setIcon(0, ImageList1[1]);
    }
    // Each group is expanded once its children are in.
    for (int i = 0; i < tvw->topLevelItemCount(); ++i)
        tvw->topLevelItem(i)->setExpanded(true);
}

void frmProperties::createMenus() {
    const auto menu = [this](QMenu*& m, const char* name, const QString& title, QMenu* parent) {
        m = parent != nullptr ? parent->addMenu(title) : new QMenu(title, this);
        m->setObjectName(name);
    };
    const auto item = [](QAction*& a, QMenu* m, const char* name, const QString& text) {
        a = m->addAction(text);
        a->setObjectName(name);
    };
    menu(BOmnu, "BOmnu", "Beam", nullptr);
    item(BeamMnu, BOmnu, "BeamMnu", "Beam Details");
    menu(EMnu, "EMnu", "Young's Modulus", BOmnu);
    item(aEDetails, EMnu, "aEDetails", "Add E Details");
    item(eEDetails, EMnu, "eEDetails", "Edit E Details");
    menu(IMnu, "IMnu", "Second Moment of Area", BOmnu);
    item(aIDetails, IMnu, "aIDetails", "Add I Details");
    item(eIDetails, IMnu, "eIDetails", "Edit I Details");

    menu(LOmnu, "LOmnu", "Loads", nullptr);
    menu(AddLoadMnu, "AddLoadMnu", "Add Load", LOmnu);
    item(aPLmnu, AddLoadMnu, "aPLmnu", "Add Point Load");
    item(aUDLmnu, AddLoadMnu, "aUDLmnu", "Add UDL");
    item(aTDLmnu, AddLoadMnu, "aTDLmnu", "Add TDL");
    item(aMLmnu, AddLoadMnu, "aMLmnu", "Add Moment Load");
    item(aFDmnu, AddLoadMnu, "aFDmnu", "Add Fixed Displacement");
    menu(editLoadmnu, "editLoadmnu", "Edit load", LOmnu);
    item(ePLmnu, editLoadmnu, "ePLmnu", "Edit Point Load");
    item(eUDLmnu, editLoadmnu, "eUDLmnu", "Edit UDL");
    item(eTDLmnu, editLoadmnu, "eTDLmnu", "Edit TDL");
    item(eMLmnu, editLoadmnu, "eMLmnu", "Edit Moment Load");
    item(eFDmnu, editLoadmnu, "eFDmnu", "Edit Fixed Dispalcement");

    menu(SOmnu, "SOmnu", "Supports", nullptr);
    menu(addSupportmnu, "addSupportmnu", "Add Support", SOmnu);
    item(aRSmnu, addSupportmnu, "aRSmnu", "Add Rigid Support");
    item(aSSmnu, addSupportmnu, "aSSmnu", "Add Spring Support");
    menu(editSupportMnu, "editSupportMnu", "Edit support", SOmnu);
    item(eRSmnu, editSupportMnu, "eRSmnu", "Edit Rigid Support");
    item(eSSmnu, editSupportMnu, "eSSmnu", "Edit Spring Support");
}

void frmProperties::createRecordMenu() {
    RecordMnu = new QMenu("Record", this);
    RecordMnu->setObjectName("RecordMnu");
    deleteRecordMnu = RecordMnu->addAction("Delete");
    deleteRecordMnu->setObjectName("deleteRecordMnu");
    deleteRecordMnu->setShortcut(QKeySequence::Delete);
    // The Delete key itself is taken by lvw; the shortcut only labels the item.
    deleteRecordMnu->setShortcutContext(Qt::WidgetShortcut);
}

void frmProperties::connectCommands() {
    connect(tvw, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { tvw_NodeClick(current); });
    connect(lvw, &QTreeWidget::itemDoubleClicked, this, &frmProperties::lvw_DblClick);
    connect(deleteRecordMnu, &QAction::triggered, this, &frmProperties::deleteRecordMnu_Click);
    connect(&main_, &frmMain::modelEdited, this, &frmProperties::refreshProperties);

    connect(aEDetails, &QAction::triggered, &main_, &frmMain::AddEvn);
    connect(eEDetails, &QAction::triggered, this, [this] { showNodeTable("Young's Modulus"); });
    connect(aIDetails, &QAction::triggered, &main_, &frmMain::AddIvn);
    connect(eIDetails, &QAction::triggered, this,
            [this] { showNodeTable("Second Moment of Area"); });
    connect(aPLmnu, &QAction::triggered, &main_, &frmMain::AddPL_Click);
    connect(aUDLmnu, &QAction::triggered, &main_, &frmMain::AddUDL_Click);
    connect(aTDLmnu, &QAction::triggered, &main_, &frmMain::AddTDL_Click);
    connect(aMLmnu, &QAction::triggered, &main_, &frmMain::AddML_Click);
    connect(aFDmnu, &QAction::triggered, &main_, &frmMain::AddFdisp_Click);
    connect(ePLmnu, &QAction::triggered, this, &frmProperties::casePointLoads);
    connect(eUDLmnu, &QAction::triggered, this, &frmProperties::caseUniformlyDistributedLoads);
    connect(eTDLmnu, &QAction::triggered, this, &frmProperties::caseTrapezoidallyDistributedLoads);
    connect(eMLmnu, &QAction::triggered, this, &frmProperties::caseMomentLoads);
    connect(eFDmnu, &QAction::triggered, this, &frmProperties::caseFixedDisplacements);
    connect(aRSmnu, &QAction::triggered, &main_, &frmMain::AddSup_Click);
    connect(aSSmnu, &QAction::triggered, &main_, &frmMain::AddSpringSup_Click);
    connect(eRSmnu, &QAction::triggered, this, &frmProperties::caseRigidSupports);
    connect(eSSmnu, &QAction::triggered, this, &frmProperties::caseSpringSupports);
}

void frmProperties::placeBesideMain() {
    // Measured from the screen's corner: the main window's own left and top are not added.
    const int margin = TwipsToPixels(100);
    const int left = main_.width() - width() - margin;
    const int top = main_.height() - main_.sBar->height() - height() - margin;
    move(left, top);
}

// --- Public operations ---------------------------------------------------------------------

void frmProperties::updatePanels() {
    if (!main_.state().FileName.empty())
        StatusBar1Panel->setText(QString::fromStdString(main_.state().FileName));
}

void frmProperties::refreshProperties() {
    if (!isVisible())
        return;
    const int row = lvw->indexOfTopLevelItem(lvw->currentItem());
    tvw->viewport()->update();
    showNodeTable(selectedNodeText());
    if (row < 0 || lvw->topLevelItemCount() == 0)
        return;
    lvw->setCurrentItem(lvw->topLevelItem(std::min(row, lvw->topLevelItemCount() - 1)));
}

void frmProperties::endForm() {
    disconnect(&main_, nullptr, this, nullptr);
    hide();
}

QString frmProperties::variationType(std::int16_t index, const QString& kind) const {
    return QString::fromStdString(ModelTables::variationType(model(), index, kind.toStdString()));
}

void frmProperties::caseBeamDetails() {
    showTable(ModelTables::caseBeamDetails(model()));
}
void frmProperties::caseLoadDetails() {
    showTable(ModelTables::caseLoadDetails(model()));
}
void frmProperties::casePointLoads() {
    showTable(ModelTables::casePointLoads(model()));
}
void frmProperties::caseUniformlyDistributedLoads() {
    showTable(ModelTables::caseUniformlyDistributedLoads(model()));
}
void frmProperties::caseTrapezoidallyDistributedLoads() {
    showTable(ModelTables::caseTrapezoidallyDistributedLoads(model()));
}
void frmProperties::caseMomentLoads() {
    showTable(ModelTables::caseMomentLoads(model()));
}
void frmProperties::caseFixedDisplacements() {
    showTable(ModelTables::caseFixedDisplacements(model()));
}
void frmProperties::caseSupportDetails() {
    showTable(ModelTables::caseSupportDetails(model()));
}
void frmProperties::caseRigidSupports() {
    showTable(ModelTables::caseRigidSupports(model()));
}
void frmProperties::caseSpringSupports() {
    showTable(ModelTables::caseSpringSupports(model()));
}

void frmProperties::caseVariation() {
    // The E and I tables share their eight columns.
    ModelTables::RecordTable columns = ModelTables::caseYoungsModulus(model());
    columns.rows.clear();
    clearList();
    lvw->setColumnCount(static_cast<int>(columns.columns.size()));
    QStringList labels;
    for (const std::string& c : columns.columns)
        labels << QString::fromStdString(c);
    lvw->setHeaderLabels(labels);
}

void frmProperties::caseYoungsModulusText() {
    lvw->clear();
    selectNode("Young's Modulus");
    fillRows(ModelTables::caseYoungsModulus(model()));
}

void frmProperties::caseSecondMomentOfAreaText() {
    lvw->clear();
    selectNode("Second Moment of Area");
    fillRows(ModelTables::caseSecondMomentOfArea(model()));
}

// --- Tables --------------------------------------------------------------------------------

void frmProperties::showTable(const ModelTables::RecordTable& table) {
    clearList();
    QStringList labels;
    for (const std::string& c : table.columns)
        labels << QString::fromStdString(c);
    lvw->setColumnCount(static_cast<int>(labels.size()));
    lvw->setHeaderLabels(labels);
    fillRows(table);
    selectNode(QString::fromStdString(table.title));
}

void frmProperties::clearList() {
    pages->setCurrentWidget(lvw);
    // Every row first, then every column from the last to the first.
    lvw->clear();
    for (int c = lvw->columnCount(); c > 0; --c)
        lvw->setColumnCount(c - 1);
}

void frmProperties::fillRows(const ModelTables::RecordTable& table) {
    QList<QTreeWidgetItem*> rows;
    for (const auto& cells : table.rows) {
        auto* row = new QTreeWidgetItem();
        for (std::size_t c = 0; c < cells.size() && c < table.columns.size(); ++c)
            row->setText(static_cast<int>(c), localCell(cells[c], table.columns[c]));
        rows << row;
    }
    lvw->addTopLevelItems(rows);
}

void frmProperties::selectNode(const QString& text) {
    const QList<QTreeWidgetItem*> found =
        tvw->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    if (found.isEmpty() || tvw->currentItem() == found.first())
        return;
    const QSignalBlocker quiet(tvw);
    tvw->setCurrentItem(found.first());
}

void frmProperties::showNodeTable(const QString& text) {
    if (text == LoadCasesNodeText || text == CombinationsNodeText) {
        const bool cases = text == LoadCasesNodeText;
        if (cases)
            loadCasesPage->refresh();
        else
            combinationsPage->refresh();
        pages->setCurrentWidget(cases ? static_cast<QWidget*>(loadCasesPage) : combinationsPage);
        return;
    }
    const TreeNode* node = nodeByText(text);
    if (node == nullptr)
        return;
    (this->*node->table)();
    if (node->rows != nullptr)
        (this->*node->rows)();
}

QString frmProperties::selectedNodeText() const {
    const QTreeWidgetItem* node = tvw->currentItem();
    return node != nullptr ? node->text(0) : QString();
}

std::optional<RecordKind> frmProperties::selectedKind() const {
    const TreeNode* node = nodeByText(selectedNodeText());
    return node != nullptr ? node->kind : std::nullopt;
}

std::int16_t frmProperties::selectedRecordNumber() const {
    const QTreeWidgetItem* row = lvw->currentItem();
    return row != nullptr ? recordNumberOf(row->text(0)) : 0;
}

// --- Events --------------------------------------------------------------------------------

void frmProperties::tvw_NodeClick(QTreeWidgetItem* node) {
    if (node == nullptr)
        return;
    // A node whose table cannot be made leaves the list as it was.
    try {
        showNodeTable(node->text(0));
    } catch (const std::exception&) {
    }
}

void frmProperties::lvw_DblClick() {
    const std::int16_t n = selectedRecordNumber();
    if (const std::optional<RecordKind> kind = selectedKind())
        main_.EditRecord(*kind, n);
}

void frmProperties::lvw_MouseDown(Qt::MouseButton button, const QPoint& at) {
    if (button != Qt::RightButton)
        return;
    const QString group = selectedNodeText();
    QMenu* menu = group == "Beam Details"      ? BOmnu
                  : group == "Load Details"    ? LOmnu
                  : group == "Support Details" ? SOmnu
                                               : nullptr;
    // In a kind's table the record menu acts on the row under the pointer.
    QTreeWidgetItem* row = lvw->itemAt(at);
    if (menu == nullptr && selectedKind() && row != nullptr) {
        lvw->setCurrentItem(row);
        menu = RecordMnu;
    }
    if (menu != nullptr)
        menu->popup(lvw->viewport()->mapToGlobal(at));
}

void frmProperties::deleteRecordMnu_Click() {
    const std::optional<RecordKind> kind = selectedKind();
    const std::int16_t n = selectedRecordNumber();
    if (!kind || n < 1 || n > model().count(*kind))
        return;
    const QString name = QString("Delete %1 %2").arg(RecordName(*kind)).arg(n);
    guarded(main_.messages(),
            [&] { main_.EditModel([&](BeamModel& m) { DeleteRecord(m, *kind, n); }, name); });
}

bool frmProperties::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lvw->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::RightButton) {
            lvw_MouseDown(press->button(), press->position().toPoint());
            return true;
        }
    }
    if (watched == lvw && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        deleteRecordMnu_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmProperties::closeEvent(QCloseEvent* event) {
    main_.setPropertiesOpen(false);
    synchroniseMenu();
    endForm();
    event->accept();
}

void frmProperties::synchroniseMenu() {
    const bool open = main_.propertiesOpen();
    main_.mnuView_Properties->setChecked(open);
    if (main_.mdi().GraphOpen[ResultsKind]) {
        if (ChildWindow* results = main_.mdi().childOfKind(ResultsKind))
            if (auto* item = results->widget()->findChild<QAction*>("mnuView_Properties"))
                item->setChecked(open);
    }
    main_.settings().SaveBoolean(SettingsKeys::Options, SettingsKeys::Properties, open);
}

} // namespace kradon
