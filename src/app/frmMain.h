// The main window of the desktop program: menus, the command toolbar with the span field, the
// tab strip of the child windows, the Analyse and diagram buttons, the status bar, and the
// program's commands (files, analysis, settings file, help).
#pragma once

#include "analysis/AnalyseCommand.h"
#include "analysis/ProgramState.h"
#include "app/CommonMenus.h"
#include "app/DesktopLauncher.h"
#include "app/SettingsStore.h"
#include "app/ShellSinks.h"
#include "model/LoadCases.h"
#include "settings/FormSettings.h"

#include <QList>
#include <QMainWindow>
#include <QPointF>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QFrame;
class QImage;
class QLabel;
class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPrinter;
class QPushButton;
class QTabBar;
class QTimer;
class QToolBar;
class QUndoStack;

namespace kradon {

class CaseResults;
class FilePicker;
class frmOptions;
class frmResultDisplay;
class frmProperties;
class frmStatus;
class frmTip;
class modMDI;
namespace modToolBar {
class ToolbarDock;
}
class RecentFilesMenu;
class RecordDialogs;
class ResultViews;
class WindowBook;

/// Where the main window keeps its files; main() fills it in, tests point it at a folder of
/// their own.
struct ShellPaths {
    std::filesystem::path settingsFile;   // the 14-byte window record
    std::filesystem::path analysisFolder; // where each analysis writes its own copy
    std::filesystem::path saveFolder;     // a model never saved is proposed to go here
    QString helpFile;                     // the user guide; empty when there is none
    std::filesystem::path settingsStore;  // the per-user settings; empty: the platform's place
    std::filesystem::path tipsFile;       // the tips of the day, one a line

    /// Every file of a scratch user in one folder, under its usual name; no help file.
    static ShellPaths InFolder(const std::filesystem::path& folder) {
        ShellPaths paths;
        paths.settingsFile = folder / "kradon.INI";
        paths.analysisFolder = folder;
        paths.saveFolder = folder;
        paths.settingsStore = folder / "settings.conf";
        paths.tipsFile = folder / "TOTD.INI";
        return paths;
    }
};

inline constexpr const char* StatusPanelText = "Kradon - Advanced Finite Element Beam Analysis";
inline constexpr const char* NameAFileText = "Please Name a File";
inline constexpr const char* NameAFileTitle = "Kradon";
inline constexpr const char* NoHelpText =
    "Unable to display Help Contents. There is no Help associated with this project.";
/// A span field's text that is no span: %1 the text, %2 the span that stays.
inline constexpr const char* SpanRefusedText =
    "Beam Length: \"%1\" is not a positive number of metres. The span stays %2 m.";
/// The help window's Open in Browser on a desktop that cannot open the guide; %1 the guide.
inline constexpr const char* NoBrowserText = "The desktop has no program to open %1.";
inline constexpr const char* UnsavedChangesText =
    "The model has changes that have not been saved. Save them before going on?";
/// An export asked for while the result windows show an envelope.
inline constexpr const char* NoSingleResultsText =
    "An envelope has no single set of results to export. Choose a load case or a combination in "
    "a result window's \"Results of\" list first.";
inline constexpr const char* AnalyseBeforeExportText =
    "The results do not belong to the model as it is now. Analyse the model first?";

inline constexpr const char* ModelInUseText =
    "The model is being analysed; change it again once the analysis has finished.";
/// The status bar's lead when an analysis after a change did not complete.
inline constexpr const char* NotAnalysedText = "Not analysed: ";
/// How long the analysis after a change waits for more changes, so a burst of them runs once.
inline constexpr std::chrono::milliseconds AnalyseAfterChangeDelay{300};
/// How long an analysis after a change runs before its progress window shows.
inline constexpr std::chrono::milliseconds QuietProgressDelay{500};

/// The number of positions on KradonTB, numbered from 1.
inline constexpr int ToolbarPositions = 22;
/// The positions of KradonTB's buttons; the others are separators.
enum class ToolbarButton : int {
    New = 1,
    Open = 2,
    Save = 3,
    PointLoad = 5,
    UDL = 6,
    TDL = 7,
    MomentLoad = 8,
    FixedDisplacement = 9,
    RigidSupport = 11,
    SpringSupport = 12,
    EDefinition = 14,
    IDefinition = 15,
    Explorer = 17,
    Results = 19,
    Analyse = 21,
};

class frmMain : public QMainWindow, public CommonMenus {
    Q_OBJECT
signals:
    /// The model has changed through EditModel: whoever shows it draws it again.
    void modelEdited();
    /// Record n of kind is to be edited in its dialog (the explorer's double-click).
    void recordEditRequested(kradon::RecordKind kind, std::int16_t n);
    /// An analysis has ended, asked for or after a change.
    void analysisFinished(kradon::AnalyseOutcome outcome);

public:
    frmMain(ShellSink& messages, FilePicker& files, ShellPaths paths, QWidget* parent = nullptr);
    ~frmMain() override;

    ProgramState& state() { return state_; }
    modMDI& mdi() { return *mdi_; }
    frmStatus& status() { return *frmStatus_; }
    /// The docked and the floating toolbar.
    modToolBar::ToolbarDock& toolbarDock() { return *toolbarDock_; }
    const ShellPaths& paths() const { return paths_; }
    SettingsStore& settings() { return settings_; }
    ShellSink& messages() { return messages_; }
    /// The properties explorer while it exists, otherwise nullptr.
    frmProperties* properties() const;
    QUndoStack& undoStack() { return *undoStack_; }
    /// The options dialog, made with the window and kept until it closes.
    frmOptions& optionsDialog() { return *frmOptions_; }
    /// The recent files at the end of the File menu.
    RecentFilesMenu& recentFiles() { return *recentFiles_; }
    /// The windows that show results, and their out-of-date marks.
    ResultViews& resultViews() { return *resultViews_; }
    /// The model with its load cases and combinations as it stands: state().model is its
    /// current case's beam, the beam that the dialogs edit, and the other cases and the
    /// combinations are kept beside it.
    CaseModel caseModel() const;
    /// What the result windows show: the chosen case, combination or envelope.
    CaseResults& caseResults() { return *caseResults_; }

    /// The load, support and E and I definition dialogs, one window each per run.
    RecordDialogs& recordDialogs() { return *recordDialogs_; }

    /// The caption of the first start: "Kradon (v 1.0.6)".
    static QString VersionCaption();

    // Operations the other windows call.
    void GraphBtn_Click(std::int16_t index);
    void mnuHelpContents_Click();
    /// Asks the desktop to open the file with its default program; false if it could not.
    bool vLaunch(const QString& vFile);
    /// The desktop stand-in for tests; the window keeps a reference, so it must outlive it.
    void setDesktop(DesktopLauncher& desktop) { desktop_ = &desktop; }
    /// span <- the span field's number, as one Undo step. A text that is not a positive finite
    /// number is refused with a message naming the field and the text, the field shows the span
    /// again, and false is returned with nothing changed.
    bool getSpan();
    /// The span field <- span, as the shortest text that reads back to it.
    void setSpan();
    /// The span field was confirmed (Enter, or the focus left it): its span is taken.
    void spanTxtChanged();
    /// Applies one change of the model made by a dialog, the explorer or the span field. Every
    /// change goes through here: the model is then modified (it differs from the clean one), the
    /// windows that show it follow (modelEdited), and the change becomes one Undo step named
    /// description. edit works on a copy: when it throws, the model is left as it was and the
    /// error goes on to the caller. An edit that changes nothing leaves no step. While an
    /// analysis holds the model, every edit is refused with a KradonError.
    void EditModel(const std::function<void(BeamModel&)>& edit, const QString& description = {});
    /// The same for a change of the load cases or combinations: one Undo step, refused while an
    /// analysis holds the model.
    void EditCases(const std::function<void(CaseModel&)>& edit, const QString& description);
    /// Opens the dialog of record n of kind (0 when the chosen row held no number).
    void EditRecord(RecordKind kind, std::int16_t n);
    /// Creates the properties explorer if it is not open, and brings it forward.
    void ShowProperties();
    void AddEvn();
    void AddIvn();
    void AddPL_Click();
    void AddUDL_Click();
    void AddTDL_Click();
    void AddML_Click();
    void AddSup_Click();
    void AddSpringSup_Click();
    void AddFdisp_Click();
    /// Runs the command of toolbar position 1..22; separators do nothing.
    void KradonTB_ButtonClick(int index);
    /// Empties the model counts, the mesh and the results, and the analysis time in the status
    /// bar; span 15 m. The span field keeps its text.
    void Reset();
    /// Prints image at (x, y) in device pixels (the page's top-left corner when missing), scaled
    /// by factor.
    void PrintImage(QPrinter& printer, const QImage& image, std::optional<QPointF> at = {},
                    double factor = 1);

    // Commands.
    void AnalyseCommand();
    /// Save (true) or Save As (false); returns true when the model was written. Save of a model
    /// that has never been saved asks for a name as Save As does.
    bool SaveModel(bool saveMode);
    /// Opens path, or asks for a file when path is empty; returns true when a model was read.
    bool OpenModel(const QString& path);
    void NewModel();
    bool analysing() const { return analysing_; }
    /// With "Analyse after every change" on, an analysis waits for a pause in the changes.
    bool analysisPending() const;
    /// Runs the waiting analysis now instead of at the end of the pause.
    void runPendingAnalysis();
    /// How long the analysis after a change waits; AnalyseAfterChangeDelay unless set.
    void setAnalysisDelay(std::chrono::milliseconds delay);
    /// The model differs from the one last opened, saved, started or analysed.
    bool isModified() const;

    // Start-up and shut-down.
    void LoadIni();
    void ReadIni();
    void SaveIni();
    void ShowPropertiesAtStart();
    /// Opens the tip of the day over this window, or brings forward the one already open.
    void ShowTipOfTheDay();
    /// The tip of the day while it is open, otherwise nullptr.
    frmTip* tipDialog() const;
    /// Shows the about box, modal, over this window.
    void ShowAbout();
    void ShutDown();
    const FormSettings& formSettings() const { return FormSettings_; }

    /// Whether the tip of the day shows at start-up (View > Tip of the Day).
    bool showTips() const { return showTips_; }
    /// Whether the properties explorer is open.
    bool propertiesOpen() const { return propertiesOpen_; }
    void setPropertiesOpen(bool open);
    /// Whether the toolbar floats in a window of its own rather than docked.
    bool toolbarFloating() const { return toolbarFloating_; }
    void setToolbarFloating(bool floating);

    // Controls, named as the window's documented controls.
    QToolBar* KradonTB;
    std::array<QAction*, ToolbarPositions + 1> KradonTBButton{}; // 1..22, entry 0 unused
    QLabel* spanLblTxt;
    QLineEdit* spanTxt;
    QLabel* Text3;
    QWidget* picTabs;
    QTabBar* tabMain;
    QMdiArea* mdiArea;
    QToolBar* BtnTbr;
    QFrame* BtnFrame;
    QPushButton* submit;
    std::array<QPushButton*, 7> GraphBtn{};
    QStatusBar* sBar;
    std::array<QLabel*, 2> sBarPanel{};

    QMenu* mnuFile;
    QAction* mnuFile_New;
    QAction* mnuOpen;
    QAction* mnuFile_CloseAll;
    QAction* mnuBar1;
    QAction* mnuSave;
    QAction* mnuSaveAs;
    QAction* mnuExportSheet; // "Export Calculation Sheet..."
    QAction* mnuBar2;
    QAction* mnuBar3;
    QAction* mnuExit;
    QMenu* mnuEdit;
    QAction* mnuUndo;
    QAction* mnuRedo;
    QMenu* mnuLoads;
    QAction* mnuAddPL;
    QAction* mnuAddUDL;
    QAction* mnuAddTDL;
    QAction* mnuAddML;
    QMenu* mnuSupports;
    QAction* mnuAddSup;
    QAction* mnuAddSpring;
    QAction* mnuAddFixedDisp;
    QMenu* mnuBeamData;
    QAction* mnuEvalue;
    QAction* mnuIvalue;
    // Keyboard commands on the child windows; in no menu.
    QAction* closeChildAction;
    QAction* nextChildAction;
    QAction* previousChildAction;

signals:
    /// The tip of the day is due (first start-up, or the tip switch on).
    void tipOfTheDayRequested();
    void propertiesOpenChanged(bool open);
    void toolbarFloatingChanged(bool floating);

public slots:
    /// A model handed over by a later copy of the program: the window comes forward and opens it,
    /// once a running analysis has ended.
    void openHandedOver(const QString& path);
    void submit_Click();
    void mnuFile_New_Click();
    void mnuOpen_Click();
    void mnuFile_CloseAll_Click();
    void mnuSave_Click();
    void mnuSaveAs_Click();
    /// Writes the calculation sheet of the model, analysing it first (when the user agrees)
    /// if its results are out of date or missing.
    void mnuExportSheet_Click();
    /// Writes the results as CSV, on the same terms.
    void ExportResults();
    void mnuExit_Click();
    void mnuView_TotD_Click();
    void mnuView_Properties_Click();
    /// Shows the options dialog, modeless.
    void mnuOptions_Click();
    /// Recent file index (from 1) goes to the top of the list and is opened as Open opens a
    /// file, unsaved changes asked about first.
    void mnuRUF_Click(int index);
    /// The properties explorer shown (true) or closed (false); showProperties follows. Asked for
    /// by View > Properties Box here and in the results window.
    void ShowPropertiesBox(bool show);
    void mnuWindow_Click(int arrangement);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createActions();
    void createChildKeys();
    /// Shows the user guide in the program's own help window, which can hand it to the browser.
    void showHelpWindow();
    void createMenus();
    void createToolBar();
    void createButtonBar();
    void createCentralArea();
    void createStatusBar();
    void connectCommands();
    void setCommandsEnabled(bool enabled);
    void setFileCaption();
    /// Every open diagram window draws its picture again: the beam from the model as it is now.
    void redrawDiagrams();
    /// The result windows that copy the tables when filled take the latest ones.
    void refreshResultWindows();
    /// Where Save As starts: the model's file, or the new model name in the save folder.
    QString proposedSaveName() const;
    /// Save / Discard / Cancel before unsaved changes are lost; true to go on.
    bool maybeSave();
    /// Open's steps after the question about unsaved changes.
    bool openAfterAsking(const QString& path);
    AnalyseOutcome runAnalysis();
    /// The steps every analysis shares: the core run on the model as entered, then the result
    /// marks and the windows that follow the outcome.
    AnalyseResult analyseModel(StatusSink& status, MessageSink& messages, const WarningsGate& gate);
    /// An analysis after a change is due when the option asks for it.
    void scheduleAnalysis();
    /// The analysis after a change: no question, no box, no window opened; the progress window
    /// only when it takes a while; what it has to say goes to the status bar.
    void analyseAfterChange();
    void showAnalysisNotes(const AnalyseResult& result, const std::vector<Message>& notes);
    /// Opens the models handed over during an analysis once it has ended.
    void openHandedOverSoon();
    /// The warnings of a model about to be analysed, with Continue and Cancel; true to go on.
    bool askToGoOn(const std::vector<std::string>& warnings);
    /// Opens the models handed over while an analysis ran, in the order they came.
    void openHandedOverLater();
    /// The settings record of the window as it is now.
    FormSettings collectFormSettings() const;
    /// Connects the results window's requests to the commands of this window.
    void connectChild(QWidget* content);
    /// The results window's items that run the main window's commands.
    void connectResultsItems(frmResultDisplay& results);
    /// The model becomes m (an Undo or Redo step), and the windows that show it follow.
    void applyModel(const CaseModel& m);
    /// The model becomes m: state().model its current case's beam.
    void takeModel(CaseModel m);
    /// False, after saying why, while the result windows show an envelope, which has no single
    /// set of results to export.
    bool oneSetOfResults();
    /// After New or Open: no step to undo, the explorer on the new model.
    void modelReplaced();
    /// Closes the explorer as its own close button does; false when it was not open.
    bool closeProperties();
    /// The span field getSpan and setSpan use: the floating one while the toolbar floats.
    QLineEdit* activeSpanField() const;
    /// The results are those of the model as it is now, at the mesh density it was analysed at.
    bool analysisCurrent() const;
    /// True when the results belong to the model, after analysing it if the user agrees.
    bool analysedForExport();
    /// The folder the export dialogs start in: the model's own.
    QString exportFolder() const;

    ShellSink& messages_;
    FilePicker& files_;
    SystemDesktopLauncher systemDesktop_;
    DesktopLauncher* desktop_ = &systemDesktop_;
    ShellPaths paths_;
    ProgramState state_;
    /// The cases and combinations; its current case's loads are those of state_.model.
    CaseModel cases_;
    CaseModel cleanModel_;
    FormSettings FormSettings_;
    SettingsStore settings_;
    QUndoStack* undoStack_;
    QPointer<frmProperties> frmProperties_;
    QPointer<frmTip> frmTip_;
    modMDI* mdi_;
    /// The child windows: the Window menu, and the menu bar following the active one.
    WindowBook* windowBook_;
    frmStatus* frmStatus_;
    modToolBar::ToolbarDock* toolbarDock_;
    frmOptions* frmOptions_;
    RecentFilesMenu* recentFiles_;
    ResultViews* resultViews_;
    CaseResults* caseResults_;
    QTimer* analyseTimer_;
    bool analysing_ = false;
    /// An analysis has the model in its own units.
    bool modelInUse_ = false;
    /// The model has no file of its own yet (a fresh start or New), whatever name it shows.
    bool neverSaved_ = true;
    QStringList handedOverDuringAnalysis_;
    bool shutDown_ = false;
    bool confirmingSpan_ = false;
    bool showTips_ = true;
    bool propertiesOpen_ = false;
    bool toolbarFloating_ = false;
    std::unique_ptr<RecordDialogs> recordDialogs_;
};

} // namespace kradon
