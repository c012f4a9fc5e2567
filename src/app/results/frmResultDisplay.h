// The results window: the report of the last analysis in a read-only editor, its own menus, the
// file commands that save and read the report or a results file, printing and PDF output, and
// the list that opens the displacement view of one element.
#pragma once

#include "analysis/ProgramState.h"
#include "app/CommonMenus.h"
#include "app/FilePicker.h"
#include "app/results/ReportPrinting.h"
#include "model/Sinks.h"
#include "results/modResults.h"

#include <QList>
#include <QString>
#include <QWidget>
#include <functional>
#include <string>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;

namespace kradon {

class frmElementDisp;
class frmPrintPrev;

inline constexpr const char* ResultsCaption = "Results";
inline constexpr const char* ElementListText = "View Element Displacements for Element No.:";
/// The file dialogs' filters, as "name|pattern" pairs. Open also offers the results files it
/// reads.
inline constexpr const char* ResultsTextFilter = "Text files|*.txt|All files|*.*";
inline constexpr const char* ResultsOpenFilter =
    "Text files|*.txt|Results files|*.kxr|All files|*.*";
inline constexpr const char* ResultsDefaultExtension = "txt";
inline constexpr const char* PdfFilter = "PDF files|*.pdf|All files|*.*";

/// The window arrangements the Window menu asks the main window for.
enum class Arrangement { Cascade = 0, TileHorizontal = 1, TileVertical = 2, ArrangeIcons = 3 };

class frmResultDisplay : public QWidget, public CommonMenus {
    Q_OBJECT

public:
    /// mainWindow owns the element displacement view and the picture composition window opened
    /// from here, so both stay above it; without one this window owns them.
    frmResultDisplay(ProgramState& state, MessageSink& messages, QWidget* mainWindow,
                     QWidget* parent = nullptr);

    /// Rebuilds the report when a mesh exists (NodeCount not 0) from the stored path,
    /// CalcTime and AnalysisTime, and shows the window.
    void ShowReport();
    /// Replaces the editor's text with the report of the current tables; times in seconds.
    /// An error of the report builder reaches the caller.
    void DoResults(const std::string& path, double calcTime, double totalTime);
    /// When set and it gives a text (an envelope report), that text is shown in place of the
    /// report of the tables, and the element list, the picture and results files, which need one
    /// set of results, are not offered.
    std::function<std::string()> reportInstead;
    /// Puts a widget (the choice of the results shown) before the element list.
    void setSelector(QWidget* selector);
    /// The text of one result value, as the report writes it.
    static std::string resultTxt(double value) { return kradon::resultTxt(value); }

    /// The editor's text with CR LF line ends, as it is saved.
    QString text() const;
    /// The path last chosen in the Open or Save dialog; empty when none or after a failure.
    const QString& resultsPath() const { return path_; }

    /// Dialog stand-ins for tests; the window keeps references, so they must outlive it.
    void setFilePicker(FilePicker& files) { files_ = &files; }
    void setPrintSetup(PrintSetup& printSetup) { printSetup_ = &printSetup; }

    /// The window that owns the views opened from here.
    QWidget* owner();

    /// File, Tools, View, Window and Help, left to right. Inside a multiple-document main window
    /// they take the main window's menu bar while this window is the active child.
    QList<QMenu*> menus() const;
    /// Shows or hides the window's own menu bar; a main window that lends its menu bar to the
    /// menus hides it.
    void setOwnMenuBarShown(bool shown);

    // Controls, named as the window's documented controls.
    QMenuBar* menuBar;
    QPlainTextEdit* Editor;
    QFrame* Frame1;
    QLabel* Label1;
    QComboBox* ElementListCmb;
    QPushButton* Command1;
    QLabel* lblTabIndex;

    QMenu* FileMenu;
    QAction* FileOpen;
    QAction* FileSave;
    QAction* FileSavePdf;
    QAction* FileExportSheet; // "Export Calculation Sheet..."
    QAction* FileExportCsv;   // "Export Results (CSV)..."
    QAction* mnuFile_CloseAll;
    QAction* FilePrint;
    QAction* FileExit;

signals:
    // Commands carried out by the main window; it connects what it offers.
    void optionsRequested();
    /// The tip switch (showTips) is to become on.
    void tipsSwitched(bool on);
    /// The properties explorer is to be shown (true) or closed (false); no setting is written.
    void propertiesBoxRequested(bool show);
    void arrangeRequested(kradon::Arrangement arrangement);
    void helpContentsRequested();
    void tipOfTheDayRequested();
    void aboutRequested();
    /// The calculation sheet, or the results as CSV, are to be exported; the main window
    /// analyses first when the results no longer belong to the model.
    void exportSheetRequested();
    void exportResultsRequested();
    /// The element displacement view has been filled with an element and shown.
    void elementViewShown(kradon::frmElementDisp* view);
    /// The picture composition window has been shown.
    void pictureShown(kradon::frmPrintPrev* picture);

public slots:
    void FileOpen_Click();
    void FileSave_Click();
    void FileSavePdf_Click();
    void FilePrint_Click();
    void FileExit_Click();
    void ElementListCmb_Click(int index);
    void Command1_Click();
    void mnuOptions_Click();
    void mnuView_TotD_Click();
    void mnuView_Properties_Click();
    void mnuWindow_Click(kradon::Arrangement arrangement);
    void mnuHelpContents_Click();
    void mnuHelp_ShowTotD_Click();
    void mnuHelpAbout_Click();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void createControls();
    void createMenus();
    void connectCommands();
    void Form_Load();
    /// One entry per element of the shown results; refilled when their number changes.
    void fillElementList();
    void layoutControls();
    void setEditorText(const QString& text);
    void openText(const QString& path);
    void saveText(const QString& path) const;
    /// Shows the element displacement view of element e.
    void showElement(int e);
    /// The folder of the current model, where the file dialogs start; empty when it has none.
    QString modelFolder() const;

    ProgramState& state_;
    MessageSink& messages_;
    QWidget* mainWindow_;
    DialogFilePicker dialogFiles_;
    FilePicker* files_ = &dialogFiles_;
    DialogPrintSetup dialogPrintSetup_;
    PrintSetup* printSetup_ = &dialogPrintSetup_;
    QString path_;
};

} // namespace kradon
