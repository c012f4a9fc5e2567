// The main window.
#include "app/frmMain.h"

#include "analysis/AnalyseCommand.h"
#include "app/CaseResults.h"
#include "app/FilePicker.h"
#include "app/Guarded.h"
#include "app/ModelFiles.h"
#include "app/NumberText.h"
#include "app/ResultViews.h"
#include "app/SheetExport.h"
#include "app/dialogs/frmFdn.h"
#include "app/dialogs/frmMln.h"
#include "app/dialogs/frmPln.h"
#include "app/dialogs/frmSsn.h"
#include "app/dialogs/frmSup.h"
#include "app/dialogs/frmTln.h"
#include "app/dialogs/frmUln.h"
#include "app/dialogs/frmVariation.h"
#include "app/frmHelp.h"
#include "app/frmProperties.h"
#include "app/frmResGraph.h"
#include "app/frmStatus.h"
#include "app/modMDI.h"
#include "app/modToolBar.h"
#include "app/settings/RecentFilesMenu.h"
#include "app/settings/frmAbout.h"
#include "app/settings/frmOptions.h"
#include "app/settings/frmTip.h"
#include "model/KradonError.h"
#include "model/SafeFile.h"
#include "model/modFileWrite.h"
#include "results/ResultQueries.h"
#include "settings/SettingsKeys.h"
#include "settings/Twips.h"

#include "json/ModelJson.h"

#ifdef KRADON_HAS_RESULTS_WINDOW
#include "app/results/frmElementDisp.h"
#include "app/results/frmPrintPrev.h"
#include "app/results/frmResultDisplay.h"
#endif

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMetaObject>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QUndoCommand>
#include <QUndoStack>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>
#include <vector>

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

/// Runs restore when the scope ends, on every way out.
template <typename F> class ScopeExit {
public:
    explicit ScopeExit(F f) : f_(std::move(f)) {}
    ~ScopeExit() { f_(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    F f_;
};

/// One step of the undo stack: the whole model before and after a change. A model is a few
/// kilobytes, so keeping both is cheaper than working out the inverse of every edit.
class ModelChange : public QUndoCommand {
public:
    using Apply = std::function<void(const CaseModel&)>;
    ModelChange(CaseModel before, CaseModel after, const QString& text, Apply apply)
        : QUndoCommand(text), before_(std::move(before)), after_(std::move(after)),
          apply_(std::move(apply)) {}
    void undo() override { apply_(before_); }
    void redo() override { apply_(after_); }

private:
    CaseModel before_;
    CaseModel after_;
    Apply apply_;
};

/// Keeps the messages of an analysis that runs by itself, for the status bar.
struct NoteSink : MessageSink {
    std::vector<Message> shown;
    void show(const Message& message) override { shown.push_back(message); }
};

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
    connect(mdiArea, &QMdiArea::subWindowActivated, this, &frmMain::menusFollowActiveChild);

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
    make(mnuOptions, "mnuOptions", "&Options");
    make(mnuView_TotD, "mnuView_TotD", "&Tip Of The Day");
    make(mnuView_Properties, "mnuView_Properties", "&Properties Box");
    make(mnuWindow_Cascade, "mnuWindow_Cascade", "&Cascade");
    make(mnuWindow_THorizontal, "mnuWindow_THorizontal", "Tile &Horizontal");
    make(mnuWindow_TVertical, "mnuWindow_TVertical", "Tile &Vertical");
    make(mnuWindow_Arrange, "mnuWindow_Arrange", "Arrange &Icons");
    make(mnuHelpContents, "mnuHelpContents", "&Contents");
    mnuHelpContents->setShortcut(QKeySequence::HelpContents);
    make(mnuHelp_ShowTotD, "mnuHelp_ShowTotD", "Show &Tip Of The Day");
    make(mnuHelpAbout, "mnuHelpAbout", "&About ");

    mnuView_TotD->setCheckable(true);
    mnuView_TotD->setChecked(true);
    mnuView_Properties->setCheckable(true);
    mnuView_Properties->setChecked(true);
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
    menu(mnuTools, "mnuTools", "&Tools");
    mnuTools->addAction(mnuOptions);
    menu(mnuView, "mnuView", "&View");
    mnuView->addActions({mnuView_TotD, mnuView_Properties});
    menu(mnuWindow, "mnuWindow", "&Window");
    mnuWindow->addActions(
        {mnuWindow_Cascade, mnuWindow_THorizontal, mnuWindow_TVertical, mnuWindow_Arrange});
    menu(mnuHelp, "mnuHelp", "&Help");
    mnuHelp->addAction(mnuHelpContents);
    mnuHelp->addAction(mnuHelp_ShowTotD);
    separator(mnuHelp, mnuHelpSeparator, "mnuHelpSeparator");
    mnuHelp->addAction(mnuHelpAbout);
    ownMenus_ = {mnuFile,  mnuEdit, mnuLoads,  mnuSupports, mnuBeamData,
                 mnuTools, mnuView, mnuWindow, mnuHelp};
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

    KradonTB->addSeparator();
    spanLblTxt = new QLabel("Beam Length", KradonTB);
    spanLblTxt->setObjectName("spanLblTxt");
    spanLblTxt->setContentsMargins(6, 0, 4, 0);
    spanTxt = new QLineEdit("15", KradonTB);
    spanTxt->setObjectName("spanTxt");
    spanTxt->setReadOnly(true);
    spanTxt->setMaximumWidth(90);
    spanTxt->setToolTip(tr("Click to edit the span, Enter to apply it"));
    spanTxt->installEventFilter(this);
    Text3 = new QLabel("m", KradonTB);
    Text3->setObjectName("Text3");
    Text3->setContentsMargins(4, 0, 6, 0);
    KradonTB->addWidget(spanLblTxt);
    KradonTB->addWidget(spanTxt);
    KradonTB->addWidget(Text3);
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
        listWindowsIn(mnuWindow, {mnuWindow_Cascade, mnuWindow_THorizontal, mnuWindow_TVertical,
                                  mnuWindow_Arrange});
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

void frmMain::GraphBtn_Click(std::int16_t index) {
    guarded(messages_, [&] { mdi_->ShowGraph(index); });
}

void frmMain::KradonTB_ButtonClick(int index) {
    switch (index) {
    case 1:
        return NewModel();
    case 2:
        OpenModel(QString());
        return;
    case 3:
        SaveModel(true);
        return;
    case 5:
        return AddPL_Click();
    case 6:
        return AddUDL_Click();
    case 7:
        return AddTDL_Click();
    case 8:
        return AddML_Click();
    case 9:
        return AddFdisp_Click();
    case 11:
        return AddSup_Click();
    case 12:
        return AddSpringSup_Click();
    case 14:
        return AddEvn();
    case 15:
        return AddIvn();
    case 17:
        ShowProperties();
        return frmProperties_->caseBeamDetails();
    case 19:
        return GraphBtn_Click(ResultsKind);
    case 21:
        return AnalyseCommand();
    default:
        return; // separators
    }
}

void frmMain::EditModel(const std::function<void(BeamModel&)>& edit, const QString& description) {
    // While an analysis works on the model (in its own units) it is not to be changed.
    if (modelInUse_)
        throw KradonError(ErrorNumber::InvalidArgument, "frmMain", ModelInUseText);
    BeamModel edited = state_.model;
    edit(edited);
    if (edited == state_.model)
        return;
    EditCases([&edited](CaseModel& m) { StoreEditedBeam(m, std::move(edited)); }, description);
}

void frmMain::EditCases(const std::function<void(CaseModel&)>& edit, const QString& description) {
    if (modelInUse_)
        throw KradonError(ErrorNumber::InvalidArgument, "frmMain", ModelInUseText);
    CaseModel before = caseModel();
    CaseModel edited = before;
    edit(edited);
    if (edited == before)
        return;
    // Pushing the step applies it.
    undoStack_->push(new ModelChange(std::move(before), std::move(edited), description,
                                     [this](const CaseModel& m) { applyModel(m); }));
}

CaseModel frmMain::caseModel() const {
    CaseModel m = cases_;
    StoreEditedBeam(m, state_.model);
    return m;
}

void frmMain::takeModel(CaseModel m) {
    cases_ = std::move(m);
    state_.model = CurrentBeam(cases_);
}

bool frmMain::isModified() const {
    return !SameModelData(caseModel(), cleanModel_);
}

void frmMain::applyModel(const CaseModel& m) {
    takeModel(m);
    setSpan();
    redrawDiagrams();
    resultViews_->update();
    emit modelEdited();
    scheduleAnalysis();
}

// The Add commands open a dialog on the record after the last of its kind, EditRecord on the
// chosen one.
void frmMain::EditRecord(RecordKind kind, std::int16_t n) {
    emit recordEditRequested(kind, n);
    if (n < 1)
        return;
    switch (kind) {
    case RecordKind::PointLoad:
        return pointLoadDialog().frmPlnShow(n);
    case RecordKind::UDL:
        return udlDialog().frmUlnShow(n);
    case RecordKind::TDL:
        return tdlDialog().frmTlnShow(n);
    case RecordKind::MomentLoad:
        return momentLoadDialog().frmMlnShow(n);
    case RecordKind::RigidSupport:
        return rigidSupportDialog().frmSupShow(n);
    case RecordKind::SpringSupport:
        return springSupportDialog().frmSsnShow(n);
    case RecordKind::FixedDisplacement:
        return fixedDisplacementDialog().frmFdnShow(n);
    case RecordKind::ESegment:
        ShowVariation(n, "e");
        return;
    case RecordKind::ISegment:
        ShowVariation(n, "i");
        return;
    }
}

void frmMain::redrawDiagrams() {
    for (std::int16_t kind = 0; kind < ResultsKind; ++kind)
        if (ChildWindow* child = mdi_->childOfKind(kind))
            if (auto* diagram = qobject_cast<frmResGraph*>(child->widget()))
                diagram->redraw();
}

void frmMain::refreshResultWindows() {
#ifdef KRADON_HAS_RESULTS_WINDOW
    if (ChildWindow* child = mdi_->childOfKind(ResultsKind))
        if (auto* results = qobject_cast<frmResultDisplay*>(child->widget())) {
            results->ShowReport();
            resultViews_->refreshed(results);
        }
    // The element shown before, if the new mesh still has it.
    auto* view = findChild<frmElementDisp*>("frmElementDisp", Qt::FindDirectChildrenOnly);
    if (view != nullptr && view->isVisible() && view->elementNumber >= 1 &&
        view->elementNumber <= caseResults_->shown().mesh.ElementCount) {
        FillElementView(*view, caseResults_->shown(), view->elementNumber);
        resultViews_->refreshed(view);
    }
#endif
}

// --- Add commands: each dialog opens on the record after the last of its kind -------------

namespace {

/// The number of the record after the last of kind.
std::int16_t nextRecord(const BeamModel& m, RecordKind kind) {
    return static_cast<std::int16_t>(m.count(kind) + 1);
}

/// The dialog behind window, made on first use as a child of the main window.
template <typename Dialog> Dialog& dialogOnce(Dialog*& window, frmMain& main) {
    if (!window)
        window = new Dialog(main);
    return *window;
}

} // namespace

frmPln& frmMain::pointLoadDialog() {
    return dialogOnce(frmPln_, *this);
}
frmUln& frmMain::udlDialog() {
    return dialogOnce(frmUln_, *this);
}
frmTln& frmMain::tdlDialog() {
    return dialogOnce(frmTln_, *this);
}
frmMln& frmMain::momentLoadDialog() {
    return dialogOnce(frmMln_, *this);
}
frmSup& frmMain::rigidSupportDialog() {
    return dialogOnce(frmSup_, *this);
}
frmSsn& frmMain::springSupportDialog() {
    return dialogOnce(frmSsn_, *this);
}
frmFdn& frmMain::fixedDisplacementDialog() {
    return dialogOnce(frmFdn_, *this);
}

frmVariation& frmMain::ShowVariation(std::int16_t n, const QString& kind) {
    QPointer<frmVariation>& current = kind == "e" ? eDialog_ : iDialog_;
    if (current)
        current->close();
    current = new frmVariation(*this);
    current->frmVariationShow(n, kind);
    return *current;
}

frmVariation* frmMain::eDialog() const {
    return eDialog_;
}
frmVariation* frmMain::iDialog() const {
    return iDialog_;
}

void frmMain::AddEvn() {
    ShowVariation(nextRecord(state_.model, RecordKind::ESegment), "e");
}
void frmMain::AddIvn() {
    ShowVariation(nextRecord(state_.model, RecordKind::ISegment), "i");
}
void frmMain::AddPL_Click() {
    pointLoadDialog().frmPlnShow(nextRecord(state_.model, RecordKind::PointLoad));
}
void frmMain::AddUDL_Click() {
    udlDialog().frmUlnShow(nextRecord(state_.model, RecordKind::UDL));
}
void frmMain::AddTDL_Click() {
    tdlDialog().frmTlnShow(nextRecord(state_.model, RecordKind::TDL));
}
void frmMain::AddML_Click() {
    momentLoadDialog().frmMlnShow(nextRecord(state_.model, RecordKind::MomentLoad));
}
void frmMain::AddSup_Click() {
    rigidSupportDialog().frmSupShow(nextRecord(state_.model, RecordKind::RigidSupport));
}
void frmMain::AddSpringSup_Click() {
    springSupportDialog().frmSsnShow(nextRecord(state_.model, RecordKind::SpringSupport));
}
void frmMain::AddFdisp_Click() {
    fixedDisplacementDialog().frmFdnShow(nextRecord(state_.model, RecordKind::FixedDisplacement));
}

std::vector<QWidget*> frmMain::modelDialogs() const {
    std::vector<QWidget*> dialogs;
    for (QWidget* d : std::initializer_list<QWidget*>{frmPln_, frmUln_, frmTln_, frmMln_, frmSup_,
                                                      frmSsn_, frmFdn_, eDialog_, iDialog_})
        if (d)
            dialogs.push_back(d);
    return dialogs;
}

QLineEdit* frmMain::activeSpanField() const {
    QLineEdit* floating = toolbarDock_->floatingSpanField();
    return ToolbarFloating != 0 && floating != nullptr ? floating : spanTxt;
}

bool frmMain::getSpan() {
    QLineEdit* field = activeSpanField();
    const std::optional<double> span = ParseLocaleNumber(field->text());
    if (!span || !IsValidSpan(*span)) {
        const QString refused = field->text();
        setSpan();
        messages_.show({ProgramTitle,
                        QString(SpanRefusedText)
                            .arg(refused, LocaleNumberText(state_.model.span))
                            .toStdString(),
                        Icon::Exclamation});
        return false;
    }
    EditModel([&](BeamModel& m) { m.span = *span; }, "Change Span");
    return true;
}

void frmMain::setSpan() {
    activeSpanField()->setText(LocaleNumberText(state_.model.span));
}

void frmMain::spanTxtChanged() {
    // A refusal's box takes the focus from the field, which would confirm it once more.
    if (confirmingSpan_ || modelInUse_ || shutDown_)
        return;
    confirmingSpan_ = true;
    const ScopeExit done([this] { confirmingSpan_ = false; });
    getSpan();
}

void frmMain::Reset() {
    ResetModel(state_.model);
    DropResults(state_);
    resultViews_->dropped();
    state_.AnalysisTime = 0;
    // The time shown belongs to the results just dropped.
    sBarPanel[1]->clear();
    setFileCaption();
    state_.model.span = DefaultSpan;
    cases_ = FromBeamModel(state_.model);
    caseResults_->clear();
}

void frmMain::setFileCaption() {
    setWindowTitle("Kradon - [" + QString::fromStdString(state_.FileName) + "]");
}

void frmMain::PrintImage(QPrinter& printer, const QImage& image, std::optional<QPointF> at,
                         double factor) {
    QPainter painter(&printer);
    const QPointF origin = at.value_or(QPointF(0, 0));
    painter.drawImage(QRectF(origin, QSizeF(image.size()) * factor), image);
}

void frmMain::mnuHelpContents_Click() {
    // A guide that has gone missing from beside the program is no help.
    if (!QFileInfo(paths_.helpFile).isFile()) {
        messages_.show({windowTitle().toStdString(), NoHelpText, Icon::Information});
        return;
    }
    // The program shows the guide itself, whatever the desktop would open the file with; its
    // help window offers the browser.
    showHelpWindow();
}

void frmMain::showHelpWindow() {
    // A guide that is no regular file, or far too large, is not handed to the help window.
    try {
        SafeFile::ReadRegularFile(std::filesystem::path(paths_.helpFile.toStdU16String()),
                                  HelpFileMaxBytes, "a help file");
    } catch (const KradonError& e) {
        messages_.show(
            {windowTitle().toStdString(), MessageLines(NoHelpText, e.what()), Icon::Information});
        return;
    }
    auto* help = findChild<frmHelp*>("frmHelp", Qt::FindDirectChildrenOnly);
    if (help == nullptr) {
        help = new frmHelp(this);
        connect(help, &frmHelp::openInBrowserRequested, this, [this](const QString& path) {
            if (!vLaunch(path))
                messages_.show({HelpCaption, QString(NoBrowserText).arg(path).toStdString(),
                                Icon::Information});
        });
    }
    help->showGuide(paths_.helpFile);
}

bool frmMain::vLaunch(const QString& vFile) {
    return desktop_->open(vFile);
}

// --- Commands ------------------------------------------------------------------------------

void frmMain::submit_Click() {
    AnalyseCommand();
}

void frmMain::openHandedOver(const QString& path) {
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    // The progress window and the analysis's boxes let events through; the model is opened
    // once the analysis is over, not under it.
    if (analysing_) {
        handedOverDuringAnalysis_ << path;
        return;
    }
    OpenModel(path);
}

void frmMain::openHandedOverLater() {
    while (!analysing_ && !handedOverDuringAnalysis_.isEmpty())
        OpenModel(handedOverDuringAnalysis_.takeFirst());
}

void frmMain::AnalyseCommand() {
    // The progress window lets window events run, so the command could be asked for again
    // while it runs; it refuses then, and the commands that change the model are switched off.
    if (analysing_)
        return;
    analysing_ = true;
    setCommandsEnabled(false);
    const ScopeExit done([this] {
        setCommandsEnabled(true);
        analysing_ = false;
        openHandedOverSoon();
    });
    AnalyseOutcome outcome = AnalyseOutcome::Failed;
    guarded(messages_, [&] { outcome = runAnalysis(); });
    emit analysisFinished(outcome);
}

AnalyseOutcome frmMain::runAnalysis() {
    const WaitCursor wait;
    // The span typed last is taken first. One that is refused leaves the model's span, which is
    // then analysed: clicking Analyse confirms the field on its own before the click arrives.
    getSpan();
    // This analysis is the one a change would have asked for.
    analyseTimer_->stop();
    mdi_->CloseChild("All");
    GraphBtn_Click(0);
    frmStatus_->clearLog();
    const AnalyseResult result =
        analyseModel(*frmStatus_, messages_, [this](const std::vector<std::string>& warnings) {
            return askToGoOn(warnings);
        });
    if (result.outcome == AnalyseOutcome::Completed) {
        GraphBtn_Click(1);
        sBarPanel[1]->setText(QString::fromStdString(AnalysisTimeText(result.AnalysisTime)));
        sBarPanel[1]->setToolTip(QString());
    }
    frmStatus_->hide();
    return result.outcome;
}

AnalyseResult frmMain::analyseModel(StatusSink& status, MessageSink& messages,
                                    const WarningsGate& gate) {
    AnalyseResult result;
    {
        modelInUse_ = true;
        const ScopeExit released([this] { modelInUse_ = false; });
        result = caseResults_->analyse(caseModel(), state_, paths_.analysisFolder, status, messages,
                                       gate);
    }
    if (result.outcome == AnalyseOutcome::CheckFailed ||
        result.outcome == AnalyseOutcome::Cancelled)
        return result;
    setFileCaption();
    if (result.outcome == AnalyseOutcome::Completed) {
        resultViews_->analysed();
        refreshResultWindows();
    } else {
        resultViews_->dropped();
    }
    redrawDiagrams();
    return result;
}

bool frmMain::oneSetOfResults() {
    if (!caseResults_->showsEnvelope())
        return true;
    messages_.show({ProgramTitle, NoSingleResultsText, Icon::Information});
    return false;
}

void frmMain::scheduleAnalysis() {
    if (state_.options.AnalyseAfterEveryChange)
        analyseTimer_->start();
}

bool frmMain::analysisPending() const {
    return analyseTimer_->isActive();
}

void frmMain::runPendingAnalysis() {
    if (!analyseTimer_->isActive())
        return;
    analyseTimer_->stop();
    analyseAfterChange();
}

void frmMain::setAnalysisDelay(std::chrono::milliseconds delay) {
    analyseTimer_->setInterval(delay);
}

void frmMain::analyseAfterChange() {
    if (analysing_) {
        scheduleAnalysis();
        return;
    }
    analysing_ = true;
    bool shown = false;
    const ScopeExit done([this, &shown] {
        if (shown) {
            setCommandsEnabled(true);
            frmStatus_->hide();
        }
        analysing_ = false;
        openHandedOverSoon();
    });
    // Nothing asks or opens: what the check or the analysis has to say goes to the status bar.
    NoteSink notes;
    DelayedProgress progress(*frmStatus_, QuietProgressDelay, [this, &shown] {
        shown = true;
        setCommandsEnabled(false);
    });
    AnalyseResult result{AnalyseOutcome::Failed, 0};
    guarded(notes, [&] { result = analyseModel(progress, notes, ShowWarningsAndGoOn(notes)); });
    showAnalysisNotes(result, notes.shown);
    emit analysisFinished(result.outcome);
}

void frmMain::showAnalysisNotes(const AnalyseResult& result, const std::vector<Message>& notes) {
    QStringList lines;
    for (const Message& note : notes)
        lines << QString::fromStdString(note.text).split("\r\n", Qt::SkipEmptyParts);
    QString text = lines.join("  ");
    if (result.outcome == AnalyseOutcome::Completed) {
        const QString time = QString::fromStdString(AnalysisTimeText(result.AnalysisTime));
        text = text.isEmpty() ? time : text + "  " + time;
    } else {
        text = NotAnalysedText + text;
    }
    sBarPanel[1]->setText(text);
    sBarPanel[1]->setToolTip(lines.join("\n"));
}

void frmMain::openHandedOverSoon() {
    if (!handedOverDuringAnalysis_.isEmpty())
        QMetaObject::invokeMethod(this, &frmMain::openHandedOverLater, Qt::QueuedConnection);
}

bool frmMain::askToGoOn(const std::vector<std::string>& warnings) {
    std::string text;
    for (const std::string& line : warnings)
        text = text.empty() ? line : MessageLines(text, line);
    return messages_.ask({WarningsTitle, text, Icon::Exclamation}, Buttons::ContinueCancel) ==
           Answer::Continue;
}

bool frmMain::analysisCurrent() const {
    return HasExactResults(caseResults_->shown()) && resultViews_->current();
}

bool frmMain::analysedForExport() {
    if (analysisCurrent())
        return true;
    if (messages_.ask({ProgramTitle, AnalyseBeforeExportText, Icon::Question}, Buttons::YesNo) !=
        Answer::Yes)
        return false;
    AnalyseCommand();
    return analysisCurrent();
}

QString frmMain::exportFolder() const {
    if (state_.FileName.empty())
        return QString::fromStdString(paths_.saveFolder.string());
    return QFileInfo(QString::fromStdString(state_.FileName)).absolutePath();
}

void frmMain::mnuExportSheet_Click() {
    if (analysing_ || !analysedForExport() || !oneSetOfResults())
        return;
    const UserDetails user{
        settings_.GetSetting(SettingsKeys::Config, SettingsKeys::UserName).toStdString(),
        settings_.GetSetting(SettingsKeys::Config, SettingsKeys::UserOrganisation).toStdString()};
    ExportCalculationSheet(this, caseResults_->shown(), user, files_, messages_, exportFolder());
}

void frmMain::ExportResults() {
    if (analysing_ || !analysedForExport() || !oneSetOfResults())
        return;
    ExportResultsCsv(this, caseResults_->shown(), files_, messages_, exportFolder());
}

void frmMain::setCommandsEnabled(bool enabled) {
    menuBar()->setEnabled(enabled);
    KradonTB->setEnabled(enabled);
    KradonTBButton[21]->setEnabled(enabled);
    BtnTbr->setEnabled(enabled);
    // The model is in analysis units while an analysis runs; no dialog may store into it then.
    for (QWidget* dialog : modelDialogs())
        dialog->setEnabled(enabled);
}

bool frmMain::maybeSave() {
    if (!isModified())
        return true;
    switch (messages_.ask({ProgramTitle, UnsavedChangesText, Icon::Exclamation},
                          Buttons::SaveDiscardCancel)) {
    case Answer::Save:
        return SaveModel(true);
    case Answer::Discard:
        return true;
    default:
        return false;
    }
}

QString frmMain::proposedSaveName() const {
    // The stored save folder, once there is one, is where Save As starts.
    if (!state_.options.SaveIn.empty()) {
        const std::filesystem::path name = state_.FileName.empty()
                                               ? std::filesystem::path(modFileWrite::NewModelName)
                                               : std::filesystem::path(state_.FileName).filename();
        return QString::fromStdString(
            (std::filesystem::path(state_.options.SaveIn) / name).string());
    }
    if (!state_.FileName.empty())
        return QString::fromStdString(state_.FileName);
    return QString::fromStdString((paths_.saveFolder / modFileWrite::NewModelName).string());
}

bool frmMain::SaveModel(bool saveMode) {
    if (neverSaved_ || state_.FileName.empty())
        saveMode = false;
    // The model takes a new name only once it has been written under it.
    std::string target = state_.FileName;
    const CaseModel saved = caseModel();
    while (true) {
        while (!saveMode) {
            const PickedName name =
                files_.saveName(this, "Save As", SaveFilters(saved), SaveSuffix(saved),
                                ProposedModelName(saved, proposedSaveName()));
            if (!name)
                return false;
            if (name->isEmpty()) {
                messages_.show({NameAFileTitle, NameAFileText, Icon::Information});
                continue;
            }
            target = name->toStdString();
            saveMode = true;
        }
        // A model that needs the JSON format is not written as a .kdn file: the name is asked
        // for again, after the reason.
        const auto problem =
            ModelJson::IsJsonModelPath(target) ? std::nullopt : KdnCannotHold(saved);
        if (!problem)
            break;
        messages_.show({ProgramTitle,
                        QString(KdnRefusedText)
                            .arg(QString::fromStdString(target), QString::fromStdString(*problem))
                            .toStdString(),
                        Icon::Exclamation});
        saveMode = false;
    }
    try {
        SaveCaseModelFile(target, saved);
    } catch (const std::exception& e) {
        messages_.show({ProgramTitle,
                        MessageLines(modFileWrite::SaveErrorPrefix + target, e.what()),
                        Icon::None});
        return false;
    }
    state_.FileName = target;
    cleanModel_ = saved;
    neverSaved_ = false;
    // The new name shows at once wherever the model's name is shown.
    setFileCaption();
    if (frmProperties_ != nullptr)
        frmProperties_->updatePanels();
    return true;
}

bool frmMain::OpenModel(const QString& path) {
    if (!maybeSave())
        return false;
    QString chosen = path;
    if (chosen.isEmpty()) {
        const PickedName name =
            files_.openName(this, DialogFilters(ModelOpenFilter), modFileWrite::DefaultExtension,
                            QString::fromStdString(state_.options.OpenIn));
        if (!name || name->isEmpty())
            return false;
        chosen = *name;
    }
    // The file is read completely before anything is replaced, so a failed Open leaves the
    // model, its file name and the windows as they were.
    CaseModel read;
    try {
        read = ModelJson::OpenCaseModelFile(chosen.toStdString());
    } catch (const std::exception& e) {
        messages_.show(
            {ProgramTitle,
             MessageLines(modFileWrite::OpenErrorPrefix + chosen.toStdString(), e.what()),
             Icon::None});
        return false;
    }
    if (mdi_->TabCount != 0)
        mdi_->CloseChild("All");
    state_.FileName = chosen.toStdString();
    neverSaved_ = false;
    Reset();
    takeModel(std::move(read));
    state_.options.MaxNoApplieds = state_.model.MaxNoApplieds;
    cleanModel_ = caseModel();
    setSpan();
    GraphBtn_Click(0);
    setFileCaption();
    modelReplaced();
    recentFiles_->AddFile(chosen);
    scheduleAnalysis();
    return true;
}

void frmMain::NewModel() {
    if (!maybeSave())
        return;
    // The name shown until the model is saved under one of the user's choosing.
    state_.FileName = (paths_.saveFolder / modFileWrite::NewModelName).string();
    neverSaved_ = true;
    mdi_->CloseChild("All");
    guarded(messages_, [this] {
        ClearModelLists(state_.model);
        Reset();
        // The options dialog's fields are taken over; the lists then get the new capacity.
        frmOptions_->takeFields();
        state_.model.MaxNoApplieds = state_.options.MaxNoApplieds;
        ClearModelLists(state_.model);
    });
    cases_ = FromBeamModel(state_.model);
    getSpan();
    cleanModel_ = caseModel();
    GraphBtn_Click(0);
    modelReplaced();
}

void frmMain::modelReplaced() {
    undoStack_->clear();
    if (frmProperties_ == nullptr)
        return;
    frmProperties_->updatePanels();
    frmProperties_->refreshProperties();
}

void frmMain::mnuFile_New_Click() {
    NewModel();
}
void frmMain::mnuOpen_Click() {
    OpenModel(QString());
}
void frmMain::mnuFile_CloseAll_Click() {
    mdi_->CloseChild("All");
}
void frmMain::mnuSave_Click() {
    SaveModel(true);
}
void frmMain::mnuSaveAs_Click() {
    SaveModel(false);
}
void frmMain::mnuExit_Click() {
    close();
}

void frmMain::mnuOptions_Click() {
    frmOptions_->show();
    frmOptions_->raise();
    frmOptions_->activateWindow();
}

void frmMain::mnuRUF_Click(int index) {
    const QString path = recentFiles_->tag(index);
    recentFiles_->AddFile(path);
    OpenModel(path);
}

void frmMain::mnuView_TotD_Click() {
    ShowTips = mnuView_TotD->isChecked() ? -1 : 0;
}

void frmMain::mnuView_Properties_Click() {
    // The explorer sets the check mark itself as it opens and closes; the click has already
    // turned it, so whether the explorer is open decides.
    const bool open = frmProperties_ != nullptr && frmProperties_->isVisible();
    ShowPropertiesBox(!open);
    settings_.SaveBoolean(SettingsKeys::Options, SettingsKeys::Properties, !open);
}

void frmMain::ShowPropertiesBox(bool show) {
    FormSettings_.showProperties = show ? -1 : 0;
    if (show)
        ShowProperties();
    else
        closeProperties();
}

frmProperties* frmMain::properties() const {
    return frmProperties_;
}

void frmMain::ShowProperties() {
    if (frmProperties_ == nullptr)
        frmProperties_ = new frmProperties(*this);
    frmProperties_->show();
    frmProperties_->raise();
}

bool frmMain::closeProperties() {
    if (frmProperties_ == nullptr || !frmProperties_->isVisible())
        return false;
    frmProperties_->close();
    return true;
}

void frmMain::mnuWindow_Click(int arrangement) {
    const QList<QMdiSubWindow*> windows = mdiArea->subWindowList();
    QList<QMdiSubWindow*> shown, minimised;
    for (QMdiSubWindow* w : windows)
        (w->isMinimized() ? minimised : shown).append(w);
    const QSize room = mdiArea->viewport()->size();
    switch (arrangement) {
    case 0:
        // The area's own cascade sizes each window to its size hint, which leaves a diagram
        // next to nothing; the windows keep the area's room instead.
        mdi_->Cascade();
        return;
    case 1: // one above the other, each the full width
    case 2: // side by side, each the full height
        for (qsizetype i = 0; i < shown.size(); ++i) {
            const auto n = static_cast<int>(shown.size());
            const int k = static_cast<int>(i);
            shown[i]->showNormal();
            if (arrangement == 1)
                shown[i]->setGeometry(0, k * room.height() / n, room.width(), room.height() / n);
            else
                shown[i]->setGeometry(k * room.width() / n, 0, room.width() / n, room.height());
        }
        return;
    case 3: { // minimised windows in a row along the bottom edge
        int x = 0;
        for (QMdiSubWindow* w : minimised) {
            w->move(x, room.height() - w->height());
            x += w->width();
        }
        return;
    }
    default:
        return;
    }
}

void frmMain::listWindowsIn(QMenu* menu, const QList<QAction*>& items) {
    // The separator and window entries of the last showing go; the items stay where they are.
    for (QAction* entry : menu->actions()) {
        if (items.contains(entry))
            continue;
        menu->removeAction(entry);
        delete entry;
    }
    const QList<QMdiSubWindow*> windows = mdiArea->subWindowList();
    if (windows.isEmpty())
        return;
    menu->addSeparator();
    int number = 1;
    for (QMdiSubWindow* w : windows) {
        const QString text = number < 10 ? QString("&%1 %2").arg(number).arg(w->windowTitle())
                                         : QString("%1 %2").arg(number).arg(w->windowTitle());
        QAction* item = menu->addAction(text);
        item->setCheckable(true);
        item->setChecked(w == mdiArea->activeSubWindow());
        connect(item, &QAction::triggered, this, [this, w] { mdiArea->setActiveSubWindow(w); });
        ++number;
    }
}

// --- Span field ----------------------------------------------------------------------------

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched != spanTxt)
        return QMainWindow::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress) {
        spanTxt->setReadOnly(false);
    } else if (event->type() == QEvent::FocusIn) {
        // Reaching the field from the keyboard unlocks it as a click does.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
            reason == Qt::ShortcutFocusReason)
            spanTxt->setReadOnly(false);
    } else if (event->type() == QEvent::FocusOut && !spanTxt->isReadOnly()) {
        // Tab, a click elsewhere or a button confirm the span as Enter does.
        spanTxt->setReadOnly(true);
        guarded(messages_, [this] { spanTxtChanged(); });
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            spanTxt->setReadOnly(true);
            guarded(messages_, [this] { spanTxtChanged(); });
            mdiArea->setFocus();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- Start-up and shut-down ----------------------------------------------------------------

void frmMain::closeEvent(QCloseEvent* event) {
    if (shutDown_) {
        event->accept();
        return;
    }
    if (analysing_) {
        event->ignore();
        return;
    }
    // A span typed and not yet confirmed is taken before the question about unsaved changes.
    if (activeSpanField()->isModified())
        guarded(messages_, [this] { spanTxtChanged(); });
    if (!maybeSave()) {
        event->ignore();
        return;
    }
    // The element displacement window ends here once it exists.
    if (PropertiesOpen != 0 && frmProperties_ != nullptr)
        frmProperties_->endForm();
    ShutDown();
    event->accept();
}

void frmMain::ShutDown() {
    SaveIni();
    mdi_->CloseChild("All");
    shutDown_ = true;
}

void frmMain::menusFollowActiveChild(QMdiSubWindow* activated) {
    // The area reports no active child also while another program is active; the child that
    // will be active again keeps the menu bar then.
    const QMdiSubWindow* current = activated != nullptr ? activated : mdiArea->currentSubWindow();
#ifdef KRADON_HAS_RESULTS_WINDOW
    if (current != nullptr) {
        if (const auto* results = qobject_cast<const frmResultDisplay*>(current->widget())) {
            setMenuBarMenus(results->menus());
            return;
        }
    }
#else
    Q_UNUSED(current);
#endif
    setMenuBarMenus(ownMenus_);
}

void frmMain::setMenuBarMenus(const QList<QMenu*>& menus) {
    QList<QAction*> wanted;
    for (const QMenu* menu : menus)
        wanted << menu->menuAction();
    if (menuBar()->actions() == wanted)
        return;
    // A menu out of the bar is out of reach, its items' shortcuts too, so Ctrl+S saves what the
    // menus in the bar belong to.
    for (QAction* shown : menuBar()->actions())
        menuBar()->removeAction(shown);
    menuBar()->addActions(wanted);
}

void frmMain::connectChild(QWidget* content) {
    QWidget* frame = content->parentWidget();
    if (auto* diagram = qobject_cast<frmResGraph*>(content)) {
        // Every picture but the idealised beam shows results, of the case, combination or
        // envelope chosen.
        if (diagram->pictureKind() != modGraphics::PictureKind::Beam) {
            resultViews_->watch(frame, content, ResultViews::Follows::Tables);
            diagram->setSelector(caseResults_->makeSelector(diagram));
            diagram->drawInstead = [this](modGraphics::PictureKind kind, DrawingSurface& surface) {
                return caseResults_->drawEnvelope(kind, surface);
            };
        }
        return;
    }
#ifdef KRADON_HAS_RESULTS_WINDOW
    auto* results = qobject_cast<frmResultDisplay*>(content);
    if (results == nullptr)
        return;
    resultViews_->watch(frame, content, ResultViews::Follows::Copy);
    results->reportInstead = [this] { return caseResults_->envelopeReport(); };
    results->setSelector(caseResults_->makeSelector(results));
    connect(results, &frmResultDisplay::elementViewShown, this, [this](frmElementDisp* view) {
        resultViews_->watch(view, view, ResultViews::Follows::Copy);
        resultViews_->refreshed(view);
    });
    connect(results, &frmResultDisplay::pictureShown, this, [this](frmPrintPrev* picture) {
        // A composition shows the tables of the moment its Beam button was pressed.
        if (picture->property("watched").toBool())
            return;
        picture->setProperty("watched", true);
        resultViews_->watch(picture, picture, ResultViews::Follows::Copy);
        connect(picture->BeamBtn, &QPushButton::clicked, this,
                [this, picture] { resultViews_->refreshed(picture); });
    });
    results->setFilePicker(files_);
    results->setOwnMenuBarShown(false);
    connectResultsItems(*results);
    // Its menus go with it; the main window's come back at once, before the next activation.
    connect(results, &QObject::destroyed, this, [this] { setMenuBarMenus(ownMenus_); });
    connect(results->mnuWindow, &QMenu::aboutToShow, results, [this, results] {
        listWindowsIn(results->mnuWindow,
                      {results->mnuWindow_Cascade, results->mnuWindow_THorizontal,
                       results->mnuWindow_TVertical, results->mnuWindow_Arrange});
    });
    connect(results, &frmResultDisplay::arrangeRequested, this,
            [this](Arrangement a) { mnuWindow_Click(static_cast<int>(a)); });
    connect(results, &frmResultDisplay::helpContentsRequested, this,
            &frmMain::mnuHelpContents_Click);
    connect(results, &frmResultDisplay::tipsSwitched, this, [this](bool on) {
        mnuView_TotD->setChecked(on);
        mnuView_TotD_Click();
    });
#else
    Q_UNUSED(content);
#endif
}

#ifdef KRADON_HAS_RESULTS_WINDOW
void frmMain::connectResultsItems(frmResultDisplay& results) {
    // Each item is at hand exactly when the main window's is, and runs the same command.
    const auto follow = [](QAction* copy, QAction* original) {
        copy->setEnabled(original->isEnabled());
        connect(original, &QAction::enabledChanged, copy, &QAction::setEnabled);
    };
    follow(results.mnuOptions, mnuOptions);
    follow(results.mnuView_TotD, mnuView_TotD);
    follow(results.mnuView_Properties, mnuView_Properties);
    follow(results.mnuHelpContents, mnuHelpContents);
    follow(results.mnuHelp_ShowTotD, mnuHelp_ShowTotD);
    follow(results.mnuHelpAbout, mnuHelpAbout);
    connect(&results, &frmResultDisplay::optionsRequested, mnuOptions, &QAction::trigger);
    connect(&results, &frmResultDisplay::propertiesBoxRequested, this, &frmMain::ShowPropertiesBox);
    connect(&results, &frmResultDisplay::tipOfTheDayRequested, mnuHelp_ShowTotD, &QAction::trigger);
    connect(&results, &frmResultDisplay::aboutRequested, mnuHelpAbout, &QAction::trigger);
    // Queued: an analysis on the way closes the results window that asked.
    connect(&results, &frmResultDisplay::exportSheetRequested, this, &frmMain::mnuExportSheet_Click,
            Qt::QueuedConnection);
    connect(&results, &frmResultDisplay::exportResultsRequested, this, &frmMain::ExportResults,
            Qt::QueuedConnection);
}
#endif

void frmMain::ShowPropertiesAtStart() {
    const bool wanted =
        settings_.GetBoolean(SettingsKeys::Options, SettingsKeys::Properties, PropertiesOpen != 0);
    PropertiesOpen = wanted ? -1 : 0;
    if (wanted)
        ShowProperties();
    else
        mnuView_Properties->setChecked(false);
}

void frmMain::ShowTipOfTheDay() {
    if (frmTip_ == nullptr) {
        frmTip_ =
            new frmTip(settings_, QString::fromStdU16String(paths_.tipsFile.u16string()), this);
        connect(frmTip_, &frmTip::cmdOKClicked, this, [this](bool showTips) {
            mnuView_TotD->setChecked(showTips);
            mnuView_TotD_Click();
            ShowPropertiesAtStart();
        });
    }
    frmTip_->show();
    frmTip_->raise();
    frmTip_->activateWindow();
}

frmTip* frmMain::tipDialog() const {
    return frmTip_;
}

void frmMain::ShowAbout() {
    (new frmAbout(this))->show();
}

// --- Settings file ------------------------------------------------------------------------

void frmMain::LoadIni() {
    // A missing file is created empty, as the first start-up leaves it.
    const std::vector<std::uint8_t> bytes = OpenIniFile(paths_.settingsFile);
    bool tipShown = false;
    if (bytes.empty()) {
        emit tipOfTheDayRequested();
        tipShown = true;
    } else {
        ReadIni();
    }
    if (ShowTips == -1 && !tipShown)
        emit tipOfTheDayRequested();
}

void frmMain::ReadIni() {
    // Fields the file does not hold keep what the window shows now.
    FormSettings_ = collectFormSettings();
    FormSettings_ = DecodeFormSettings(ReadIniFile(paths_.settingsFile), FormSettings_);
    const FormSettings& r = FormSettings_;
    move(TwipsToPixels(r.left), TwipsToPixels(r.top));
    const int width = TwipsToPixels(r.width);
    const int height = TwipsToPixels(r.height);
    if (width > 0 && height > 0)
        resize(width, height);
    if (r.windowState == WindowStateMaximised)
        setWindowState(Qt::WindowMaximized);
    else if (r.windowState == WindowStateMinimised)
        setWindowState(Qt::WindowMinimized);
    mnuView_TotD->setChecked(r.showTips != 0);
    mnuView_Properties->setChecked(r.showProperties != 0);
    ShowTips = r.showTips;
}

FormSettings frmMain::collectFormSettings() const {
    // The place of the normal window, also while it is maximised or minimised.
    const bool normal = !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized));
    const QPoint frameOffset = geometry().topLeft() - pos();
    const QPoint place = normal ? pos() : normalGeometry().topLeft() - frameOffset;
    const QSize size = normal ? this->size() : normalGeometry().size();
    FormSettings r =
        WithWindowPlace(FormSettings_, PixelsToTwips(place.y()), PixelsToTwips(place.x()),
                        PixelsToTwips(size.width()), PixelsToTwips(size.height()));
    r.windowState = windowState() & Qt::WindowMinimized   ? WindowStateMinimised
                    : windowState() & Qt::WindowMaximized ? WindowStateMaximised
                                                          : WindowStateNormal;
    r.showTips = mnuView_TotD->isChecked() ? -1 : 0;
    r.showProperties = mnuView_Properties->isChecked() ? -1 : 0;
    return r;
}

void frmMain::SaveIni() {
    FormSettings_ = collectFormSettings();
    WriteIniFile(paths_.settingsFile, FormSettings_);
}

} // namespace kradon
