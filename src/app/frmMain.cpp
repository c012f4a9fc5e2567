// The main window.
#include "app/frmMain.h"

#include "analysis/AnalyseCommand.h"
#include "app/CaseResults.h"
#include "app/FilePicker.h"
#include "app/Guarded.h"
#include "app/RecordDialogs.h"
#include "app/ResultViews.h"
#include "app/WindowBook.h"
#include "app/frmProperties.h"
#include "app/frmStatus.h"
#include "app/modMDI.h"
#include "app/modToolBar.h"
#include "app/settings/RecentFilesMenu.h"
#include "app/settings/frmOptions.h"
#include "model/KradonError.h"
#include "results/ResultQueries.h"

#ifdef KRADON_HAS_RESULTS_WINDOW
#include "app/results/frmResultDisplay.h"
#endif

#include <QAction>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

namespace kradon {
namespace {

/// A toolbar position: its tooltip and image (1..15), or a separator.
struct ToolbarEntry {
    const char* toolTip;
    int image; // 0 for a separator
};

constexpr std::array<ToolbarEntry, ToolbarPositions + 1> ToolbarTable = {{
    {nullptr, 0},
    {"New Kradon File", 1},
    {"Open Kradon File", 2},
    {"Save Kradon File", 3},
    {nullptr, 0},
    {"Add Point Load", 4},
    {"Add Uniform Load", 5},
    {"Add Trapezoidal Load", 6},
    {"Add Moment Load", 7},
    {"Add Fixed Displacement", 8},
    {nullptr, 0},
    {"Add Rigid Support", 9},
    {"Add Spring Support", 10},
    {nullptr, 0},
    {"E-value Definition", 11},
    {"I value Definition", 12},
    {nullptr, 0},
    {"Kradon Properties", 13},
    {nullptr, 0},
    {"View Results", 14},
    {nullptr, 0},
    {"Analyse Kradon", 15},
    {nullptr, 0},
}};

constexpr std::array<const char*, 16> ToolbarImages = {nullptr,
                                                       "new",
                                                       "open",
                                                       "save",
                                                       "point-load",
                                                       "uniform-load",
                                                       "trapezoidal-load",
                                                       "moment-load",
                                                       "fixed-displacement",
                                                       "rigid-support",
                                                       "spring-support",
                                                       "e-value",
                                                       "i-value",
                                                       "properties",
                                                       "results",
                                                       "analyse"};

constexpr std::array<const char*, 7> GraphBtnCaptions = {"Beam", "Mesh",    "BMD",    "SFD",
                                                         "DSD",  "E-Value", "I-Value"};

enum WindowState : std::int16_t { Normal = 0, Minimised = 1, Maximised = 2 };

QIcon toolbarIcon(int image) {
    return QIcon(QString(":/icons/%1.svg").arg(ToolbarImages[static_cast<std::size_t>(image)]));
}

/// "&Undo" or "&Redo", followed by the name of the step when there is one.
QString stepText(const char* command, const QString& step) {
    return step.isEmpty() ? QString(command) : QString("%1 %2").arg(command, step);
}

} // namespace

frmMain::frmMain(ShellSink& messages, FilePicker& files, ShellPaths paths, QWidget* parent)
    : QMainWindow(parent), messages_(messages), files_(files), paths_(std::move(paths)),
      settings_(paths_.settingsStore) {
    setObjectName("frmMain");
    undoStack_ = new QUndoStack(this);
    undoStack_->setObjectName("undoStack");
    recordDialogs_ = std::make_unique<RecordDialogs>(*this);
    setWindowIcon(QIcon(":/icons/kradon.svg"));
    createActions();
    createMenus();
    createToolBar();
    createButtonBar();
    createCentralArea();
    createStatusBar();
    createChildKeys();
    caseResults_ = new CaseResults(this);
    mdi_ = new modMDI(*mdiArea, *tabMain, state_, caseResults_->shown(), messages_, files_, this);
    windowBook_ = new WindowBook(*this, *mdiArea, *mdi_,
                                 {mnuFile, mnuEdit, mnuLoads, mnuSupports, mnuBeamData, mnuTools,
                                  mnuView, mnuWindow, mnuHelp});
    resultViews_ = new ResultViews(
        state_, [this] { return caseModel(); }, messages_, this);
    connect(caseResults_, &CaseResults::chosen, this, [this] {
        resultViews_->replaced();
        redrawDiagrams();
        refreshResultWindows();
    });
    analyseTimer_ = new QTimer(this);
    analyseTimer_->setObjectName("analyseTimer");
    analyseTimer_->setSingleShot(true);
    analyseTimer_->setInterval(AnalyseAfterChangeDelay);
    connect(analyseTimer_, &QTimer::timeout, this, &frmMain::analyseAfterChange);
    frmStatus_ = new frmStatus(this);
    toolbarDock_ = new modToolBar::ToolbarDock(*this);
    // The options come first: the model lists take their capacity from them.
    frmOptions_ = new frmOptions(state_.options, settings_, messages_, files_, this);
    frmOptions_->loadOptions();
    recentFiles_ = new RecentFilesMenu(*mnuFile, *mnuBar2, *mnuBar3, settings_, state_.options,
                                       *frmOptions_->maxFilesTxt, messages_, this);
    connectCommands();
    connect(mdi_, &modMDI::childCreated, this, &frmMain::connectChild);
    connect(mdiArea, &QMdiArea::subWindowActivated, this,
            [this](QMdiSubWindow* activated) { windowBook_->menusFollowActiveChild(activated); });

    // The model of a fresh start: no records, the lists at the option's capacity, span 15 m.
    ResetModel(state_.model);
    state_.model.MaxNoApplieds = state_.options.MaxNoApplieds;
    ClearModelLists(state_.model);
    state_.model.span = DefaultSpan;
    cases_ = FromBeamModel(state_.model);
    cleanModel_ = caseModel();
    recentFiles_->Load();
    setWindowTitle(VersionCaption());

    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    resize(std::min(1100, screen.width() * 9 / 10), std::min(760, screen.height() * 9 / 10));
    move(screen.center() - rect().center());
}

frmMain::~frmMain() {
    // The base classes close the child windows as they take the window down; this part of the
    // window has gone by then and no longer follows their activations.
    mdiArea->disconnect(this);
    // Nor does it watch its toolbar for a tear-off any more, nor show the undo steps that the
    // stack announces as it clears itself.
    KradonTB->removeEventFilter(toolbarDock_);
    undoStack_->disconnect();
#ifdef KRADON_HAS_RESULTS_WINDOW
    for (frmResultDisplay* results : mdiArea->findChildren<frmResultDisplay*>())
        results->disconnect(this);
#endif
}

QString frmMain::VersionCaption() {
    return QString("Kradon (v %1)").arg(KRADON_VERSION);
}

void frmMain::createActions() {
    const auto make = [this](QAction*& action, const char* name, const QString& text) {
        action = new QAction(text, this);
        action->setObjectName(name);
    };
    make(mnuFile_New, "mnuFile_New", "New...");
    mnuFile_New->setShortcut(QKeySequence::New);
    make(mnuOpen, "mnuOpen", "&Open...");
    mnuOpen->setShortcut(QKeySequence::Open);
    make(mnuFile_CloseAll, "mnuFile_CloseAll", "Close &All");
    make(mnuSave, "mnuSave", "&Save");
    mnuSave->setShortcut(QKeySequence::Save);
    make(mnuSaveAs, "mnuSaveAs", "Save &As...");
    make(mnuExportSheet, "mnuExportSheet", "Export Calculation S&heet...");
    make(mnuExit, "mnuExit", "E&xit");
    make(mnuUndo, "mnuUndo", "&Undo");
    mnuUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    mnuUndo->setEnabled(false);
    make(mnuRedo, "mnuRedo", "&Redo");
    mnuRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    mnuRedo->setEnabled(false);
    make(mnuAddPL, "mnuAddPL", "Add &Point Load");
    make(mnuAddUDL, "mnuAddUDL", "Add &Uniformly Distributed Load");
    make(mnuAddTDL, "mnuAddTDL", "Add &Trapezoidal Load");
    make(mnuAddML, "mnuAddML", "Add &Moment Load");
    make(mnuAddSup, "mnuAddSup", "Add Full &Restraints");
    make(mnuAddSpring, "mnuAddSpring", "Add &Spring Support");
    make(mnuAddFixedDisp, "mnuAddFixedDisp", "Add &Fixed Displacement");
    make(mnuEvalue, "mnuEvalue", "&Young's Modulus");
    make(mnuIvalue, "mnuIvalue", "&Second Moment of Area");
}

void frmMain::createChildKeys() {
    const auto key = [this](QAction*& action, const char* name, const QKeySequence& keys) {
        action = new QAction(name, this);
        action->setObjectName(name);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    };
    key(closeChildAction, "closeChildAction", QKeySequence(Qt::CTRL | Qt::Key_F4));
    key(nextChildAction, "nextChildAction", QKeySequence(Qt::CTRL | Qt::Key_Tab));
    key(previousChildAction, "previousChildAction",
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab));
    // Closing the frame runs the book-keeping of the child window, as its close button does.
    connect(closeChildAction, &QAction::triggered, this, [this] {
        if (QMdiSubWindow* active = mdiArea->activeSubWindow())
            active->close();
    });
    connect(nextChildAction, &QAction::triggered, mdiArea, &QMdiArea::activateNextSubWindow);
    connect(previousChildAction, &QAction::triggered, mdiArea,
            &QMdiArea::activatePreviousSubWindow);
}

void frmMain::createMenus() {
    const auto menu = [this](QMenu*& m, const char* name, const QString& title) {
        m = menuBar()->addMenu(title);
        m->setObjectName(name);
    };
    const auto separator = [](QMenu* m, QAction*& action, const char* name) {
        action = m->addSeparator();
        action->setObjectName(name);
    };
    menu(mnuFile, "mnuFile", "&File");
    mnuFile->addAction(mnuFile_New);
    mnuFile->addAction(mnuOpen);
    mnuFile->addAction(mnuFile_CloseAll);
    separator(mnuFile, mnuBar1, "mnuBar1");
    mnuFile->addAction(mnuSave);
    mnuFile->addAction(mnuSaveAs);
    mnuFile->addAction(mnuExportSheet);
    // Shown once the recent files list has an entry; the entries go between it and mnuBar3.
    separator(mnuFile, mnuBar2, "mnuBar2");
    mnuBar2->setVisible(false);
    separator(mnuFile, mnuBar3, "mnuBar3");
    mnuFile->addAction(mnuExit);

    menu(mnuEdit, "mnuEdit", "&Edit");
    mnuEdit->addActions({mnuUndo, mnuRedo});
    menu(mnuLoads, "mnuLoads", "&Loads");
    mnuLoads->addActions({mnuAddPL, mnuAddUDL, mnuAddTDL, mnuAddML});
    menu(mnuSupports, "mnuSupports", "&Supports");
    mnuSupports->addActions({mnuAddSup, mnuAddSpring, mnuAddFixedDisp});
    menu(mnuBeamData, "mnuBeamData", "&Beam Data");
    mnuBeamData->addActions({mnuEvalue, mnuIvalue});
    addCommonMenus(menuBar());
    mnuView_TotD->setChecked(true);
    mnuView_Properties->setChecked(true);
}

void frmMain::createToolBar() {
    KradonTB = addToolBar("Kradon");
    KradonTB->setObjectName("KradonTB");
    KradonTB->setMovable(false);
    KradonTB->setIconSize(QSize(24, 24));
    for (int index = 1; index <= ToolbarPositions; ++index) {
        const ToolbarEntry& entry = ToolbarTable[static_cast<std::size_t>(index)];
        QAction* button = entry.image == 0 ? KradonTB->addSeparator()
                                           : KradonTB->addAction(toolbarIcon(entry.image), "");
        button->setObjectName(QString("KradonTB_%1").arg(index));
        if (entry.image != 0) {
            button->setText(entry.toolTip);
            button->setToolTip(entry.toolTip);
        }
        KradonTBButton[static_cast<std::size_t>(index)] = button;
    }
    // Analyse Kradon (F5) and View Results (F6) run wherever the focus is in the main window or
    // its children.
    KradonTBButton[21]->setShortcut(Qt::Key_F5);
    KradonTBButton[21]->setShortcutContext(Qt::WindowShortcut);
    KradonTBButton[19]->setShortcut(Qt::Key_F6);
    KradonTBButton[19]->setShortcutContext(Qt::WindowShortcut);
#ifndef KRADON_HAS_RESULTS_WINDOW
    KradonTBButton[19]->setEnabled(false);
#endif

    const modToolBar::SpanField span = modToolBar::AddSpanField(KradonTB);
    spanLblTxt = span.caption;
    spanTxt = span.field;
    Text3 = span.unit;
    spanTxt->setReadOnly(true);
    spanTxt->setToolTip(tr("Click to edit the span, Enter to apply it"));
    spanTxt->installEventFilter(this);
}

void frmMain::createButtonBar() {
    addToolBarBreak();
    BtnTbr = new QToolBar("Commands", this);
    BtnTbr->setObjectName("BtnTbr");
    BtnTbr->setMovable(false);
    addToolBar(Qt::TopToolBarArea, BtnTbr);
    BtnFrame = new QFrame(BtnTbr);
    BtnFrame->setObjectName("BtnFrame");
    auto* row = new QHBoxLayout(BtnFrame);
    row->setContentsMargins(2, 2, 2, 2);
    submit = new QPushButton("Analyse", BtnFrame);
    submit->setObjectName("submit");
    submit->setToolTip(tr("Analyse the beam (F5)"));
    row->addWidget(submit);
    row->addSpacing(12);
    for (std::size_t i = 0; i < GraphBtn.size(); ++i) {
        GraphBtn[i] = new QPushButton(GraphBtnCaptions[i], BtnFrame);
        GraphBtn[i]->setObjectName(QString("GraphBtn_%1").arg(i));
        GraphBtn[i]->setToolTip(ChildCaptions[i]);
        row->addWidget(GraphBtn[i]);
    }
    BtnTbr->addWidget(BtnFrame);
}

void frmMain::createCentralArea() {
    auto* central = new QWidget(this);
    central->setObjectName("centralWidget");
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    picTabs = new QWidget(central);
    picTabs->setObjectName("picTabs");
    auto* tabRow = new QHBoxLayout(picTabs);
    tabRow->setContentsMargins(2, 2, 2, 0);
    tabMain = new QTabBar(picTabs);
    tabMain->setObjectName("tabMain");
    tabMain->setExpanding(false);
    tabMain->setDocumentMode(true);
    tabRow->addWidget(tabMain);
    tabRow->addStretch();
    mdiArea = new QMdiArea(central);
    mdiArea->setObjectName("mdiArea");
    mdiArea->setBackground(QColor(0x80, 0x80, 0x80));
    column->addWidget(picTabs);
    column->addWidget(mdiArea, 1);
    setCentralWidget(central);
}

void frmMain::createStatusBar() {
    sBar = new QStatusBar(this);
    sBar->setObjectName("sBar");
    setStatusBar(sBar);
    for (std::size_t i = 0; i < sBarPanel.size(); ++i) {
        sBarPanel[i] = new QLabel(sBar);
        sBarPanel[i]->setObjectName(QString("sBarPanel_%1").arg(i + 1));
        sBarPanel[i]->setFrameShape(QFrame::StyledPanel);
        sBarPanel[i]->setFrameShadow(QFrame::Sunken);
        sBarPanel[i]->setContentsMargins(4, 0, 4, 0);
    }
    sBarPanel[0]->setText(StatusPanelText);
    sBarPanel[0]->setToolTip(StatusPanelText);
    // The second panel takes what the first leaves of the window's width.
    sBar->addWidget(sBarPanel[0]);
    sBar->addWidget(sBarPanel[1], 1);
}

void frmMain::connectCommands() {
    connect(mnuFile_New, &QAction::triggered, this, &frmMain::mnuFile_New_Click);
    connect(mnuOpen, &QAction::triggered, this, &frmMain::mnuOpen_Click);
    connect(mnuFile_CloseAll, &QAction::triggered, this, &frmMain::mnuFile_CloseAll_Click);
    connect(mnuSave, &QAction::triggered, this, &frmMain::mnuSave_Click);
    connect(mnuSaveAs, &QAction::triggered, this, &frmMain::mnuSaveAs_Click);
    connect(mnuExportSheet, &QAction::triggered, this, &frmMain::mnuExportSheet_Click);
    connect(mnuExit, &QAction::triggered, this, &frmMain::mnuExit_Click);
    connect(mnuAddPL, &QAction::triggered, this, &frmMain::AddPL_Click);
    connect(mnuAddUDL, &QAction::triggered, this, &frmMain::AddUDL_Click);
    connect(mnuAddTDL, &QAction::triggered, this, &frmMain::AddTDL_Click);
    connect(mnuAddML, &QAction::triggered, this, &frmMain::AddML_Click);
    connect(mnuAddSup, &QAction::triggered, this, &frmMain::AddSup_Click);
    connect(mnuAddSpring, &QAction::triggered, this, &frmMain::AddSpringSup_Click);
    connect(mnuAddFixedDisp, &QAction::triggered, this, &frmMain::AddFdisp_Click);
    connect(mnuEvalue, &QAction::triggered, this, &frmMain::AddEvn);
    connect(mnuIvalue, &QAction::triggered, this, &frmMain::AddIvn);
    connect(mnuView_TotD, &QAction::triggered, this, &frmMain::mnuView_TotD_Click);
    connect(this, &frmMain::tipOfTheDayRequested, this, &frmMain::ShowTipOfTheDay);
    connect(mnuHelp_ShowTotD, &QAction::triggered, this, &frmMain::ShowTipOfTheDay);
    connect(mnuHelpAbout, &QAction::triggered, this, &frmMain::ShowAbout);
    connect(mnuOptions, &QAction::triggered, this, &frmMain::mnuOptions_Click);
    connect(frmOptions_, &frmOptions::trimRequested, recentFiles_, &RecentFilesMenu::TrimToLength);
    connect(frmOptions_, &frmOptions::optionsTaken, this, [this] {
        // A new mesh density or integration makes the results out of date; with "Analyse after
        // every change" on, results that are not those of the model as it is are brought up to
        // date at once.
        resultViews_->update();
        if (!resultViews_->current())
            scheduleAnalysis();
    });
    connect(recentFiles_, &RecentFilesMenu::entryChosen, this, &frmMain::mnuRUF_Click);
    // The commands that change the model are off while an analysis runs; so are these.
    connect(mnuUndo, &QAction::triggered, this, [this] {
        if (!analysing_)
            undoStack_->undo();
    });
    connect(mnuRedo, &QAction::triggered, this, [this] {
        if (!analysing_)
            undoStack_->redo();
    });
    connect(undoStack_, &QUndoStack::canUndoChanged, mnuUndo, &QAction::setEnabled);
    connect(undoStack_, &QUndoStack::canRedoChanged, mnuRedo, &QAction::setEnabled);
    connect(undoStack_, &QUndoStack::undoTextChanged, mnuUndo,
            [this](const QString& step) { mnuUndo->setText(stepText("&Undo", step)); });
    connect(undoStack_, &QUndoStack::redoTextChanged, mnuRedo,
            [this](const QString& step) { mnuRedo->setText(stepText("&Redo", step)); });
    connect(mnuView_Properties, &QAction::triggered, this, &frmMain::mnuView_Properties_Click);
    connect(mnuWindow_Cascade, &QAction::triggered, this, [this] { mnuWindow_Click(0); });
    connect(mnuWindow_THorizontal, &QAction::triggered, this, [this] { mnuWindow_Click(1); });
    connect(mnuWindow_TVertical, &QAction::triggered, this, [this] { mnuWindow_Click(2); });
    connect(mnuWindow_Arrange, &QAction::triggered, this, [this] { mnuWindow_Click(3); });
    connect(mnuWindow, &QMenu::aboutToShow, this, [this] {
        windowBook_->listWindowsIn(mnuWindow, {mnuWindow_Cascade, mnuWindow_THorizontal,
                                               mnuWindow_TVertical, mnuWindow_Arrange});
    });
    connect(mnuHelpContents, &QAction::triggered, this, &frmMain::mnuHelpContents_Click);
    for (int index = 1; index <= ToolbarPositions; ++index)
        connect(KradonTBButton[static_cast<std::size_t>(index)], &QAction::triggered, this,
                [this, index] { KradonTB_ButtonClick(index); });
    connect(submit, &QPushButton::clicked, this, &frmMain::submit_Click);
    for (std::size_t i = 0; i < GraphBtn.size(); ++i)
        connect(GraphBtn[i], &QPushButton::clicked, this,
                [this, i] { GraphBtn_Click(static_cast<std::int16_t>(i)); });
}

// --- Operations ----------------------------------------------------------------------------

void frmMain::setPropertiesOpen(bool open) {
    if (open == propertiesOpen_)
        return;
    propertiesOpen_ = open;
    emit propertiesOpenChanged(open);
}

void frmMain::setToolbarFloating(bool floating) {
    if (floating == toolbarFloating_)
        return;
    toolbarFloating_ = floating;
    emit toolbarFloatingChanged(floating);
}

void frmMain::GraphBtn_Click(std::int16_t index) {
    guarded(messages_, [&] { mdi_->ShowGraph(index); });
}

void frmMain::KradonTB_ButtonClick(int index) {
    using B = ToolbarButton;
    switch (static_cast<B>(index)) {
    case B::New:
        return NewModel();
    case B::Open:
        OpenModel(QString());
        return;
    case B::Save:
        SaveModel(true);
        return;
    case B::PointLoad:
        return AddPL_Click();
    case B::UDL:
        return AddUDL_Click();
    case B::TDL:
        return AddTDL_Click();
    case B::MomentLoad:
        return AddML_Click();
    case B::FixedDisplacement:
        return AddFdisp_Click();
    case B::RigidSupport:
        return AddSup_Click();
    case B::SpringSupport:
        return AddSpringSup_Click();
    case B::EDefinition:
        return AddEvn();
    case B::IDefinition:
        return AddIvn();
    case B::Explorer:
        ShowProperties();
        return frmProperties_->caseBeamDetails();
    case B::Results:
        return GraphBtn_Click(ResultsKind);
    case B::Analyse:
        return AnalyseCommand();
    }
    // the separators
}

void frmMain::PrintImage(QPrinter& printer, const QImage& image, std::optional<QPointF> at,
                         double factor) {
    QPainter painter(&printer);
    const QPointF origin = at.value_or(QPointF(0, 0));
    painter.drawImage(QRectF(origin, QSizeF(image.size()) * factor), image);
}

void frmMain::mnuWindow_Click(int arrangement) {
    windowBook_->arrange(arrangement);
}

} // namespace kradon
