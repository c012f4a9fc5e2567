// The results window.
#include "app/results/frmResultDisplay.h"

#include "app/Guarded.h"
#include "app/OwnedWindow.h"
#include "app/ResultViews.h"
#include "app/results/BackgroundJob.h"
#include "app/results/frmElementDisp.h"
#include "app/results/frmPrintPrev.h"
#include "model/KradonError.h"
#include "model/SafeFile.h"
#include "model/modFileWrite.h"
#include "results/ResultsCsv.h"
#include "results/ResultsFile.h"
#include "results/modResults.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QResizeEvent>
#include <QStringDecoder>
#include <QStringList>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QThread>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

namespace kradon {
namespace {

constexpr const char* SaveTitle = "Save As";
constexpr const char* PdfTitle = "Save as PDF";

/// Window measures are given in twips, 1440 to the inch.
int twips(const QWidget& widget, int value) {
    return value * widget.logicalDpiX() / 1440;
}

std::filesystem::path toPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

/// The text of a file: UTF-8 when it is valid UTF-8, otherwise one character per byte.
QString decodeText(const QByteArray& bytes) {
    auto utf8 = QStringDecoder(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes);
}

QString withCrLf(const QStringList& lines) {
    QString text;
    for (const QString& line : lines)
        text += line + QLatin1String("\r\n");
    return text;
}

/// The largest text file the window opens: a report of the largest mesh is a few megabytes.
constexpr std::uintmax_t TextFileMaxBytes = 64 * 1024 * 1024;
/// Texts from this many characters on are laid out into their document off the event thread: a
/// report of the largest mesh (2.6 MB) would keep the windows waiting most of a second.
constexpr qsizetype BackgroundTextChars = 256 * 1024;
/// The report's editor: what it copies to the clipboard is the selection with each table row as
/// plain tab-separated values, ready for a spreadsheet.
class ReportEditor : public QPlainTextEdit {
public:
    explicit ReportEditor(QWidget* parent) : QPlainTextEdit(parent) {}

protected:
    QMimeData* createMimeDataFromSelection() const override {
        const QString selected = textCursor().selection().toPlainText();
        auto* data = new QMimeData;
        data->setText(QString::fromStdString(TabSeparatedRows(selected.toStdString())));
        return data;
    }
};

} // namespace

frmResultDisplay::frmResultDisplay(ProgramState& state, MessageSink& messages, QWidget* mainWindow,
                                   QWidget* parent)
    : QWidget(parent), state_(state), messages_(messages), mainWindow_(mainWindow) {
    setObjectName("frmResultDisplay");
    setWindowTitle(ResultsCaption);
    createControls();
    createMenus();
    connectCommands();
    resize(twips(*this, 9600), twips(*this, 7200));
    Form_Load();
}

void frmResultDisplay::createControls() {
    Editor = new ReportEditor(this);
    Editor->setObjectName("Editor");
    Editor->setReadOnly(true);
    // Read only, yet selectable from the keyboard too: Ctrl+A, Shift with the arrows, Ctrl+C.
    Editor->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    Editor->setFont(ReportFont());
    const QFontMetricsF metrics(Editor->font());
    Editor->setTabStopDistance(metrics.horizontalAdvance(QLatin1Char('x')) * ReportTabStopChars);

    Frame1 = new QFrame(this);
    Frame1->setObjectName("Frame1");
    auto* row = new QHBoxLayout(Frame1);
    Label1 = new QLabel(ElementListText, Frame1);
    Label1->setObjectName("Label1");
    ElementListCmb = new QComboBox(Frame1);
    ElementListCmb->setObjectName("ElementListCmb");
    ElementListCmb->setEditable(false);
    // As wide as five digits, the most an element number has: sizing the box to its items would
    // measure every one of tens of thousands.
    ElementListCmb->setMinimumContentsLength(5);
    ElementListCmb->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    row->addWidget(Label1);
    row->addWidget(ElementListCmb);
    Frame1->adjustSize();

    Command1 = new QPushButton("Show Picture", this);
    Command1->setObjectName("Command1");
    Command1->adjustSize();

    lblTabIndex = new QLabel(this);
    lblTabIndex->setObjectName("lblTabIndex");
    lblTabIndex->hide();
}

void frmResultDisplay::createMenus() {
    menuBar = new QMenuBar(this);
    menuBar->setObjectName("menuBar");
    menuBar->setNativeMenuBar(false);
    const auto item = [](QMenu* menu, const char* name, const char* caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        return action;
    };
    const auto menu = [this](const char* name, const char* caption) {
        QMenu* m = menuBar->addMenu(caption);
        m->setObjectName(name);
        return m;
    };
    // The access key of File reaches the report's commands, as Alt+F does in the main window.
    FileMenu = menu("FileMenu", "&File");
    FileOpen = item(FileMenu, "FileOpen", "Open");
    FileOpen->setShortcut(QKeySequence::Open);
    FileSave = item(FileMenu, "FileSave", "Save");
    FileSave->setShortcut(QKeySequence::Save);
    FileSavePdf = item(FileMenu, "FileSavePdf", "Save as PDF");
    FileExportSheet = item(FileMenu, "FileExportSheet", "Export Calculation &Sheet...");
    FileExportCsv = item(FileMenu, "FileExportCsv", "Export Results (&CSV)...");
    mnuFile_CloseAll = item(FileMenu, "mnuFile_CloseAll", "Close &All");
    FileMenu->addSeparator();
    FilePrint = item(FileMenu, "FilePrint", "Print");
    FilePrint->setShortcut(QKeySequence::Print);
    FileMenu->addSeparator();
    FileExit = item(FileMenu, "FileExit", "Exit");

    addCommonMenus(menuBar);
}

void frmResultDisplay::connectCommands() {
    connect(FileOpen, &QAction::triggered, this, &frmResultDisplay::FileOpen_Click);
    connect(FileSave, &QAction::triggered, this, &frmResultDisplay::FileSave_Click);
    connect(FileSavePdf, &QAction::triggered, this, &frmResultDisplay::FileSavePdf_Click);
    connect(FileExportSheet, &QAction::triggered, this, &frmResultDisplay::exportSheetRequested);
    connect(FileExportCsv, &QAction::triggered, this, &frmResultDisplay::exportResultsRequested);
    connect(FilePrint, &QAction::triggered, this, &frmResultDisplay::FilePrint_Click);
    connect(FileExit, &QAction::triggered, this, &frmResultDisplay::FileExit_Click);
    connect(ElementListCmb, &QComboBox::activated, this, &frmResultDisplay::ElementListCmb_Click);
    connect(Command1, &QPushButton::clicked, this, &frmResultDisplay::Command1_Click);
    connect(mnuOptions, &QAction::triggered, this, &frmResultDisplay::mnuOptions_Click);
    connect(mnuView_TotD, &QAction::triggered, this, &frmResultDisplay::mnuView_TotD_Click);
    connect(mnuView_Properties, &QAction::triggered, this,
            &frmResultDisplay::mnuView_Properties_Click);
    connect(mnuWindow_Cascade, &QAction::triggered, this,
            [this] { mnuWindow_Click(Arrangement::Cascade); });
    connect(mnuWindow_THorizontal, &QAction::triggered, this,
            [this] { mnuWindow_Click(Arrangement::TileHorizontal); });
    connect(mnuWindow_TVertical, &QAction::triggered, this,
            [this] { mnuWindow_Click(Arrangement::TileVertical); });
    connect(mnuWindow_Arrange, &QAction::triggered, this,
            [this] { mnuWindow_Click(Arrangement::ArrangeIcons); });
    connect(mnuHelpContents, &QAction::triggered, this, &frmResultDisplay::mnuHelpContents_Click);
    connect(mnuHelp_ShowTotD, &QAction::triggered, this, &frmResultDisplay::mnuHelp_ShowTotD_Click);
    connect(mnuHelpAbout, &QAction::triggered, this, &frmResultDisplay::mnuHelpAbout_Click);
}

void frmResultDisplay::fillElementList() {
    if (ElementListCmb->count() == std::max(state_.mesh.ElementCount, 0))
        return;
    QStringList numbers;
    numbers.reserve(std::max(state_.mesh.ElementCount, 0));
    for (std::int32_t e = 1; e <= state_.mesh.ElementCount; ++e)
        numbers << QString::number(e);
    ElementListCmb->clear();
    ElementListCmb->addItems(numbers);
    ElementListCmb->setCurrentIndex(-1);
}

void frmResultDisplay::Form_Load() {
    // The check marks start as the main window's; later changes there are not followed.
    if (mainWindow_ != nullptr) {
        if (const auto* shown = mainWindow_->findChild<QAction*>("mnuView_Properties"))
            mnuView_Properties->setChecked(shown->isChecked());
        if (const auto* tips = mainWindow_->findChild<QAction*>("mnuView_TotD"))
            mnuView_TotD->setChecked(tips->isChecked());
    }
    ShowReport();
}

void frmResultDisplay::setSelector(QWidget* selector) {
    static_cast<QHBoxLayout*>(Frame1->layout())->insertWidget(0, selector);
    Frame1->adjustSize();
    layoutControls();
}

void frmResultDisplay::ShowReport() {
    const WaitCursor hourglass;
    // A new analysis may have meshed the beam differently.
    fillElementList();
    const std::string instead = reportInstead ? reportInstead() : std::string();
    // An envelope has no elements of its own to show, nor a single set of results to compose.
    Label1->setEnabled(instead.empty());
    ElementListCmb->setEnabled(instead.empty());
    Command1->setEnabled(instead.empty());
    Frame1->adjustSize();
    layoutControls();
    // Events run while a long report is laid out: the window may be gone afterwards.
    const QPointer<frmResultDisplay> alive(this);
    if (!instead.empty()) {
        setEditorText(QString::fromStdString(instead));
    } else if (state_.mesh.NodeCount != 0) {
        guarded(messages_, [&] {
            DoResults(path_.toStdString(), state_.equations.CalcTime, state_.AnalysisTime);
        });
    }
    if (alive)
        show();
}

void frmResultDisplay::DoResults(const std::string& path, double calcTime, double totalTime) {
    QCoreApplication::processEvents();
    setEditorText(QString::fromStdString(kradon::DoResults(state_, path, calcTime, totalTime)));
}

QString frmResultDisplay::text() const {
    QString plain = Editor->toPlainText();
    plain.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return plain;
}

void frmResultDisplay::setEditorText(const QString& text) {
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (plain.size() < BackgroundTextChars) {
        Editor->setPlainText(plain);
        return;
    }
    // A long text: its document is built and laid out on a thread of its own, from the text and
    // the editor's font and tab stops alone, then handed over whole. The window may be gone when
    // the job ends.
    const QPointer<frmResultDisplay> alive(this);
    const QFont font = Editor->document()->defaultFont();
    const QTextOption option = Editor->document()->defaultTextOption();
    QThread* const eventThread = thread();
    std::unique_ptr<QTextDocument> document;
    RunWithProgress(this, tr("Showing the report"), [&](const ProgressCheck&) {
        auto built = std::make_unique<QTextDocument>();
        built->setDocumentLayout(new QPlainTextDocumentLayout(built.get()));
        built->setUndoRedoEnabled(false);
        built->setDefaultFont(font);
        built->setDefaultTextOption(option);
        built->setPlainText(plain);
        built->moveToThread(eventThread);
        document = std::move(built);
    });
    if (!alive)
        return;
    // The editor deletes the document it made itself; a long text shown before is this window's.
    QTextDocument* const previous = Editor->document();
    const bool ownPrevious = previous->parent() == Editor;
    document->setParent(Editor);
    Editor->setDocument(document.release());
    if (ownPrevious)
        previous->deleteLater();
}

QWidget* frmResultDisplay::owner() {
    return mainWindow_ != nullptr ? mainWindow_ : this;
}

QList<QMenu*> frmResultDisplay::menus() const {
    return {FileMenu, mnuTools, mnuView, mnuWindow, mnuHelp};
}

void frmResultDisplay::setOwnMenuBarShown(bool shown) {
    menuBar->setVisible(shown);
    layoutControls();
}

QString frmResultDisplay::modelFolder() const {
    if (state_.FileName.empty())
        return QString();
    return QFileInfo(QString::fromStdString(state_.FileName)).absolutePath();
}

void frmResultDisplay::FileOpen_Click() {
    const PickedName name = files_->openName(this, DialogFilters(ResultsOpenFilter),
                                             ResultsDefaultExtension, modelFolder());
    if (!name)
        return;
    path_ = *name;
    try {
        if (IsResultsFilePath(path_.toStdString())) {
            const ResultsFileTimes times = OpenResultsFile(toPath(path_), state_);
            DoResults(path_.toStdString(), times.CalcTime, times.AnalysisTime);
        } else {
            openText(path_);
        }
    } catch (const std::exception&) {
        messages_.show(
            {ProgramTitle, modFileWrite::OpenErrorPrefix + name->toStdString(), Icon::None});
        path_.clear();
    }
}

void frmResultDisplay::openText(const QString& path) {
    const std::string bytes = SafeFile::ReadRegularFile(toPath(path), TextFileMaxBytes, "a report");
    setEditorText(withCrLf(ReportLines(decodeText(QByteArray::fromStdString(bytes)))));
}

void frmResultDisplay::FileSave_Click() {
    if (!ConfirmResultsUse(this, tr("Save")))
        return;
    const PickedName name = files_->saveName(this, SaveTitle, DialogFilters(ResultsTextFilter),
                                             ResultsDefaultExtension, modelFolder());
    if (!name)
        return;
    path_ = *name;
    try {
        if (IsResultsFilePath(path_.toStdString()) && !ElementListCmb->isEnabled())
            throw std::runtime_error("An envelope has no single set of results");
        if (IsResultsFilePath(path_.toStdString()))
            SaveResultsFile(state_, toPath(path_));
        else
            saveText(path_);
    } catch (const std::exception&) {
        messages_.show({ProgramTitle, SaveResultsErrorPrefix + path_.toStdString(), Icon::None});
        path_.clear();
    }
}

void frmResultDisplay::saveText(const QString& path) const {
    SafeFile::WriteFileAtomically(toPath(path), (text() + QLatin1String("\r\n")).toStdString());
}

void frmResultDisplay::FileSavePdf_Click() {
    if (!ConfirmResultsUse(this, tr("Save")))
        return;
    const PickedName name =
        files_->saveName(this, PdfTitle, DialogFilters(PdfFilter), "pdf", modelFolder());
    if (!name)
        return;
    // Hundreds of pages take seconds: written off the event thread, with Cancel. The window may
    // be gone when the job ends.
    const QPointer<frmResultDisplay> alive(this);
    try {
        const QString report = text();
        RunWithProgress(this, tr("Saving the report as PDF"), [&](const ProgressCheck& progress) {
            SaveReportPdf(*name, report, progress);
        });
    } catch (const std::exception&) {
        if (!alive)
            return;
        messages_.show({ProgramTitle, SaveResultsErrorPrefix + name->toStdString(), Icon::None});
    }
}

void frmResultDisplay::FilePrint_Click() {
    if (!ConfirmResultsUse(this, tr("Print")))
        return;
    QPrinter printer(QPrinter::HighResolution);
    if (!printSetup_->choose(printer, this))
        return;
    // Paper as chosen; margins and orientation as the saved PDF has them.
    UseReportLayout(printer);
    guarded(messages_, [&] { PrintReport(printer, text() + QLatin1String("\r\n")); });
}

void frmResultDisplay::FileExit_Click() {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->close();
    else
        close();
}

void frmResultDisplay::ElementListCmb_Click(int index) {
    if (index < 0)
        return;
    showElement(ElementListCmb->itemText(index).toInt());
}

void frmResultDisplay::showElement(int e) {
    QWidget* const viewOwner = owner();
    auto* view =
        viewOwner->findChild<frmElementDisp*>("frmElementDisp", Qt::FindDirectChildrenOnly);
    if (view == nullptr)
        view = new frmElementDisp(viewOwner);
    OpenElementView(*view, state_, e);
    emit elementViewShown(view);
}

void frmResultDisplay::Command1_Click() {
    QWidget* const pictureOwner = owner();
    auto* picture =
        pictureOwner->findChild<frmPrintPrev*>("frmPrintPrev", Qt::FindDirectChildrenOnly);
    if (picture == nullptr)
        picture = new frmPrintPrev(state_, messages_, pictureOwner);
    ShowOwnedWindow(*picture);
    emit pictureShown(picture);
}

void frmResultDisplay::mnuOptions_Click() {
    emit optionsRequested();
}

void frmResultDisplay::mnuView_TotD_Click() {
    emit tipsSwitched(mnuView_TotD->isChecked());
}

void frmResultDisplay::mnuView_Properties_Click() {
    // The check mark stays the copy taken at load time; the command only reads it.
    const bool wasChecked = !mnuView_Properties->isChecked();
    mnuView_Properties->setChecked(wasChecked);
    emit propertiesBoxRequested(!wasChecked);
}

void frmResultDisplay::mnuWindow_Click(Arrangement arrangement) {
    emit arrangeRequested(arrangement);
}

void frmResultDisplay::mnuHelpContents_Click() {
    emit helpContentsRequested();
}

void frmResultDisplay::mnuHelp_ShowTotD_Click() {
    emit tipOfTheDayRequested();
}

void frmResultDisplay::mnuHelpAbout_Click() {
    emit aboutRequested();
}

void frmResultDisplay::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutControls();
}

void frmResultDisplay::layoutControls() {
    const QWidget* frame = parentWidget();
    if (isMinimized() || (frame != nullptr && frame->isMinimized()))
        return;
    const int menuHeight = menuBar->isHidden() ? 0 : menuBar->sizeHint().height();
    menuBar->setGeometry(0, 0, width(), menuHeight);
    const int height = this->height() - menuHeight;
    const int editorHeight = std::max(0, height - twips(*this, 600) - Frame1->height());
    const int editorWidth = std::max(0, width() - twips(*this, 300));
    Editor->setGeometry(twips(*this, 100), menuHeight + twips(*this, 100), editorWidth,
                        editorHeight);
    const int frameTop = menuHeight + editorHeight + twips(*this, 100);
    Frame1->move((editorWidth - Frame1->width()) / 2, frameTop);
    Command1->move(Frame1->x() + Frame1->width() + twips(*this, 100),
                   frameTop + (Frame1->height() - Command1->height()) / 2);
}

} // namespace kradon
