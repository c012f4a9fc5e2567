// The results window: its controls and menus, the report of an analysis, the text and results
// file commands with their messages, and opening the element displacement view.
#include "../../core/FileSafetySupport.h"
#include "ResultsTestSupport.h"
#include "app/OwnedWindow.h"
#include "app/results/frmElementDisp.h"
#include "app/results/frmPrintPrev.h"
#include "app/results/frmResultDisplay.h"
#include "results/modResults.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>
#include <QWindow>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace kradon {
namespace {

using testing::AnalysedExample;
using testing::FileBytes;
using testing::RecordingSink;
using testing::ScriptedFilePicker;
using testing::TempDir;

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList listItems(const QComboBox& list) {
    QStringList items;
    for (int i = 0; i < list.count(); ++i)
        items << list.itemText(i);
    return items;
}

/// A window over an analysed sample with a scripted file picker.
struct AnalysedWindow {
    TempDir dir;
    ProgramState state = AnalysedExample("two-span-continuous-udl.kdn", dir);
    RecordingSink sink;
    ScriptedFilePicker files;
    QWidget mainWindow;
    frmResultDisplay window{state, sink, &mainWindow};
    AnalysedWindow() {
        files.unscriptedDialogFails = true;
        window.setFilePicker(files);
    }
    QString expectedReport(const std::string& path = "") const {
        return QString::fromStdString(
            DoResults(state, path, state.equations.CalcTime, state.AnalysisTime));
    }
};

TEST(frmResultDisplay, WithoutMeshOpensEmpty) {
    ProgramState state;
    RecordingSink sink;
    frmResultDisplay window(state, sink, nullptr);
    EXPECT_EQ(window.objectName(), "frmResultDisplay");
    EXPECT_EQ(window.windowTitle(), "Results");
    EXPECT_TRUE(window.Editor->toPlainText().isEmpty());
    EXPECT_EQ(window.ElementListCmb->count(), 0);
    EXPECT_TRUE(window.Editor->isReadOnly());
    EXPECT_TRUE(window.Editor->font().fixedPitch());
    EXPECT_EQ(window.findChild<QLabel*>("Label1")->text(),
              "View Element Displacements for Element No.:");
    EXPECT_EQ(window.findChild<QPushButton*>("Command1")->text(), "Show Picture");
    EXPECT_TRUE(sink.shown.empty());
}

TEST(frmResultDisplay, MenusCarryTheirCaptions) {
    ProgramState state;
    RecordingSink sink;
    frmResultDisplay window(state, sink, nullptr);
    const std::vector<std::pair<const char*, const char*>> items = {
        {"FileOpen", "Open"},
        {"FileSave", "Save"},
        {"FileSavePdf", "Save as PDF"},
        {"mnuFile_CloseAll", "Close &All"},
        {"FilePrint", "Print"},
        {"FileExit", "Exit"},
        {"mnuOptions", "&Options"},
        {"mnuView_TotD", "&Tip Of The Day"},
        {"mnuView_Properties", "&Properties Box"},
        {"mnuWindow_Cascade", "&Cascade"},
        {"mnuWindow_THorizontal", "Tile &Horizontal"},
        {"mnuWindow_TVertical", "Tile &Vertical"},
        {"mnuWindow_Arrange", "Arrange &Icons"},
        {"mnuHelpContents", "&Contents"},
        {"mnuHelp_ShowTotD", "Show &Tip Of The Day"},
        {"mnuHelpAbout", "&About "},
    };
    for (const auto& [name, caption] : items) {
        const auto* action = window.findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        EXPECT_EQ(action->text(), caption) << name;
    }
    EXPECT_EQ(window.FileMenu->title(), "&File");
    EXPECT_EQ(window.mnuTools->title(), "&Tools");
    EXPECT_EQ(window.mnuView->title(), "&View");
    EXPECT_EQ(window.mnuWindow->title(), "&Window");
    EXPECT_EQ(window.mnuHelp->title(), "&Help");
}

TEST(frmResultDisplay, ShowsTheReportOfTheAnalysis) {
    AnalysedWindow w;
    EXPECT_EQ(w.window.text(), w.expectedReport());
    EXPECT_TRUE(w.window.text().startsWith("------------------------------------------\r\n"));
    QStringList numbers;
    for (int e = 1; e <= w.state.mesh.ElementCount; ++e)
        numbers << QString::number(e);
    EXPECT_EQ(listItems(*w.window.ElementListCmb), numbers);
    EXPECT_EQ(w.window.ElementListCmb->currentIndex(), -1);
    EXPECT_TRUE(w.sink.shown.empty());
}

TEST(frmResultDisplay, ResultTextKeepsColumnsNarrow) {
    EXPECT_EQ(frmResultDisplay::resultTxt(-5.1234), "-05.123");
    EXPECT_EQ(frmResultDisplay::resultTxt(5.1234), "005.123");
    EXPECT_EQ(frmResultDisplay::resultTxt(1234.5), "1234.500");
}

TEST(frmResultDisplay, TextSavedAndReopenedGainsOneEmptyLine) {
    AnalysedWindow w;
    const QString name = w.dir.file("report.txt");
    const QString report = w.window.text();
    w.files.names = {name, name};
    w.window.FileSave_Click();
    EXPECT_EQ(w.files.lastFilters, (QStringList{"Text files (*.txt)", "All files (*)"}));
    EXPECT_EQ(w.files.lastSuffix, "txt");
    EXPECT_EQ(FileBytes(name), (report + "\r\n").toUtf8());
    w.window.FileOpen_Click();
    EXPECT_EQ(w.window.text(), report + "\r\n");
    EXPECT_EQ(w.window.resultsPath(), name);
    EXPECT_TRUE(w.sink.shown.empty());
}

TEST(frmResultDisplay, OpenOffersResultsFilesAndBothDialogsStartAtTheModel) {
    AnalysedWindow w;
    w.state.FileName = w.dir.file("models/beam.kdn").toStdString();
    const QString modelFolder = w.dir.file("models");
    w.files.names = {std::nullopt, std::nullopt, std::nullopt};
    w.window.FileOpen_Click();
    EXPECT_EQ(w.files.lastFilters,
              (QStringList{"Text files (*.txt)", "Results files (*.kxr)", "All files (*)"}));
    EXPECT_EQ(w.files.lastStartAt, modelFolder);
    w.window.FileSave_Click();
    EXPECT_EQ(w.files.lastFilters, (QStringList{"Text files (*.txt)", "All files (*)"}));
    EXPECT_EQ(w.files.lastStartAt, modelFolder);
    w.window.FileSavePdf_Click();
    EXPECT_EQ(w.files.lastStartAt, modelFolder);
    EXPECT_TRUE(w.sink.shown.empty());
}

TEST(frmResultDisplay, DialogsOfAModelWithoutAFileStartWhereTheyLike) {
    AnalysedWindow w;
    w.files.names = {std::nullopt};
    w.window.FileOpen_Click();
    EXPECT_TRUE(w.files.lastStartAt.isEmpty());
}

TEST(frmResultDisplay, OpenedTextLinesStayUnchanged) {
    AnalysedWindow w;
    const QString name = w.dir.file("notes.txt");
    writeBytes(name, "a, b, \"c\"\r\n   leading blanks\nlast line without end");
    w.files.names = {name};
    w.window.FileOpen_Click();
    EXPECT_EQ(w.window.text(), "a, b, \"c\"\r\n   leading blanks\r\nlast line without end\r\n");
}

TEST(frmResultDisplay, LongTextKeepsItsLinesFontAndTabStops) {
    AnalysedWindow w;
    const QFont font = w.window.Editor->document()->defaultFont();
    const qreal tabStop = w.window.Editor->document()->defaultTextOption().tabStopDistance();
    // Long enough to be laid out off the event thread.
    QByteArray bytes;
    for (int line = 0; line < 30000; ++line)
        bytes += QByteArray::number(line) + "\t-01.250\t \r\n";
    const QString name = w.dir.file("long.txt");
    writeBytes(name, bytes);
    w.files.names = {name, name};
    w.window.FileOpen_Click();
    EXPECT_EQ(w.window.text().toUtf8(), bytes);
    const QTextDocument& shown = *w.window.Editor->document();
    EXPECT_EQ(shown.defaultFont(), font);
    EXPECT_EQ(shown.defaultTextOption().tabStopDistance(), tabStop);
    EXPECT_EQ(shown.defaultTextOption().wrapMode(), QTextOption::NoWrap);
    EXPECT_EQ(shown.thread(), w.window.thread());
    // Opened again over itself: the same text, once.
    w.window.FileOpen_Click();
    EXPECT_EQ(w.window.text().toUtf8(), bytes);
}

TEST(frmResultDisplay, NameEndingInKxrWritesAResultsFile) {
    AnalysedWindow w;
    const QString results = w.dir.file("beam.kxr");
    w.files.names = {results};
    w.window.FileSave_Click();
    // 60 bytes of fixed fields and 40 bytes per node.
    EXPECT_EQ(FileBytes(results).size(), 60 + 40 * w.state.mesh.NodeCount);
    EXPECT_EQ(w.window.resultsPath(), results);

    const QString upper = w.dir.file("beam.KXR");
    w.files.names = {upper};
    w.window.FileSave_Click();
    EXPECT_EQ(FileBytes(upper), (w.window.text() + "\r\n").toUtf8());

    const QString bare = w.dir.file("beamkxr");
    w.files.names = {bare};
    w.window.FileSave_Click();
    EXPECT_EQ(FileBytes(bare).size(), 60 + 40 * w.state.mesh.NodeCount);
    EXPECT_TRUE(w.sink.shown.empty());
}

TEST(frmResultDisplay, OpenedResultsFileRebuildsTheReportWithItsPath) {
    AnalysedWindow w;
    const QString results = w.dir.file("beam.kxr");
    w.files.names = {results, results};
    w.window.FileSave_Click();
    w.window.Editor->clear();
    w.window.FileOpen_Click();
    EXPECT_TRUE(w.sink.shown.empty());
    EXPECT_EQ(w.window.text(), w.expectedReport(results.toStdString()));
    EXPECT_TRUE(w.window.text().contains("Results File: " + results + "\r\n"));
}

TEST(frmResultDisplay, DamagedResultsFileGivesTheMessageAndClearsThePath) {
    AnalysedWindow w;
    const QString damaged = w.dir.file("damaged.kxr");
    writeBytes(damaged, QByteArray(5, '\1'));
    const QString before = w.window.text();
    w.files.names = {damaged};
    w.window.FileOpen_Click();
    ASSERT_EQ(w.sink.shown.size(), 1u);
    EXPECT_EQ(w.sink.shown[0].text, "Unkown error while opening file " + damaged.toStdString());
    EXPECT_EQ(w.sink.shown[0].title, "Kradon by Tarel Vestrun");
    EXPECT_TRUE(w.window.resultsPath().isEmpty());
    EXPECT_EQ(w.window.text(), before);
}

TEST(frmResultDisplay, MissingTextFileGivesTheOpeningMessage) {
    AnalysedWindow w;
    const QString missing = w.dir.file("missing.txt");
    w.files.names = {missing};
    w.window.FileOpen_Click();
    ASSERT_EQ(w.sink.shown.size(), 1u);
    EXPECT_EQ(w.sink.shown[0].text, "Unkown error while opening file " + missing.toStdString());
    EXPECT_TRUE(w.window.resultsPath().isEmpty());
}

TEST(frmResultDisplay, UnwritablePathGivesTheSavingMessageAndClearsThePath) {
    AnalysedWindow w;
    for (const char* name : {"no-such-folder/report.txt", "no-such-folder/beam.kxr"}) {
        w.sink.shown.clear();
        const QString path = w.dir.file(name);
        w.files.names = {path};
        w.window.FileSave_Click();
        ASSERT_EQ(w.sink.shown.size(), 1u) << name;
        EXPECT_EQ(w.sink.shown[0].text, "Unkown error while saving file " + path.toStdString());
        EXPECT_TRUE(w.window.resultsPath().isEmpty());
    }
}

TEST(frmResultDisplay, AFailedSaveKeepsWhatTheFileHeld) {
    AnalysedWindow w;
    struct Case {
        const char* name;
        void (frmResultDisplay::*save)();
    };
    for (const Case& c : {Case{"report.txt", &frmResultDisplay::FileSave_Click},
                          Case{"beam.kxr", &frmResultDisplay::FileSave_Click},
                          Case{"report.pdf", &frmResultDisplay::FileSavePdf_Click}}) {
        w.sink.shown.clear();
        const QString path = w.dir.file(c.name);
        writeBytes(path, "what the user had");
        w.files.names = {path};
        {
            const test::InjectedWriteFault fault(SafeFile::WriteStep::Write, ENOSPC);
            (w.window.*c.save)();
        }
        ASSERT_EQ(w.sink.shown.size(), 1u) << c.name;
        EXPECT_EQ(w.sink.shown[0].text, "Unkown error while saving file " + path.toStdString());
        EXPECT_EQ(FileBytes(path), "what the user had") << c.name;
        EXPECT_EQ(QDir(w.dir.file(".")).entryList(QDir::Files).size(), 1) << "no temporary file";
        QFile::remove(path);
    }
}

TEST(frmResultDisplay, CancelledDialogsChangeNothing) {
    AnalysedWindow w;
    const QString name = w.dir.file("report.txt");
    w.files.names = {name};
    w.window.FileSave_Click();
    const QString before = w.window.text();
    w.files.names = {std::nullopt, std::nullopt, std::nullopt};
    w.window.FileOpen_Click();
    w.window.FileSave_Click();
    w.window.FileSavePdf_Click();
    EXPECT_EQ(w.window.text(), before);
    EXPECT_EQ(w.window.resultsPath(), name);
    EXPECT_TRUE(w.sink.shown.empty());
}

TEST(frmResultDisplay, ElementChoiceFillsAndReplacesTheDisplacementView) {
    AnalysedWindow w;
    auto& list = *w.window.ElementListCmb;
    const auto& mesh = w.state.mesh;
    const auto& d = w.state.equations.Displacements;
    const auto expectElement = [&](int e) {
        auto views = w.mainWindow.findChildren<frmElementDisp*>();
        ASSERT_EQ(views.size(), 1);
        const frmElementDisp& view = *views.front();
        const auto a = static_cast<std::size_t>(mesh.ElementNode1[e]);
        const auto b = static_cast<std::size_t>(mesh.ElementNode2[e]);
        EXPECT_EQ(view.Def_i, d[2 * a - 1]);
        EXPECT_EQ(view.Rot_i, d[2 * a]);
        EXPECT_EQ(view.Def_j, d[2 * b - 1]);
        EXPECT_EQ(view.Rot_j, d[2 * b]);
        EXPECT_EQ(view.eleLength, mesh.ElementLength[e]);
        EXPECT_EQ(view.eleNoLbl->text(), "Element No.: " + QString::number(e));
        EXPECT_EQ(view.nodeiLbl->text(), "Node i No.: " + QString::number(a));
        EXPECT_EQ(view.nodejLbl->text(), "Node j No.: " + QString::number(b));
        EXPECT_EQ(view.Def_iTxt->text(), QString::fromStdString(ElementDispText(d[2 * a - 1])));
        EXPECT_EQ(view.Rot_jTxt->text(), QString::fromStdString(ElementDispText(d[2 * b])));
        EXPECT_TRUE(view.maxDispLbl->text().startsWith("Maximum Element Displacement: "));
        EXPECT_TRUE(view.isVisible());
        EXPECT_EQ(view.windowTitle(), "Element Displacement Graph");
    };
    ASSERT_GE(list.count(), 3);
    list.setCurrentIndex(2);
    emit list.activated(2);
    expectElement(3);
    list.setCurrentIndex(0);
    emit list.activated(0);
    expectElement(1);
}

TEST(frmResultDisplay, ShowPictureOpensOneCompositionWindowOwnedByTheMainWindow) {
    AnalysedWindow w;
    QTest::mouseClick(w.window.Command1, Qt::LeftButton);
    QTest::mouseClick(w.window.Command1, Qt::LeftButton);
    const auto windows = w.mainWindow.findChildren<frmPrintPrev*>();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_TRUE(windows.front()->isVisible());
    EXPECT_TRUE(windows.front()->isWindow());
}

/// The windows opened from the results window of a shown main window placed at mainPlace.
struct OwnedWindows {
    explicit OwnedWindows(const QRect& mainPlace) {
        w.mainWindow.setGeometry(mainPlace);
        w.mainWindow.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w.mainWindow));
        w.window.ElementListCmb->setCurrentIndex(0);
        emit w.window.ElementListCmb->activated(0);
        QTest::mouseClick(w.window.Command1, Qt::LeftButton);
        view = w.mainWindow.findChild<frmElementDisp*>();
        picture = w.mainWindow.findChild<frmPrintPrev*>();
    }
    AnalysedWindow w;
    QWidget* view = nullptr;
    QWidget* picture = nullptr;
};

TEST(frmResultDisplay, ElementViewAndPictureStayAboveTheMainWindow) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    OwnedWindows owned(screen.adjusted(20, 20, -20, -20));
    for (QWidget* window : {owned.view, owned.picture}) {
        ASSERT_NE(window, nullptr);
        SCOPED_TRACE(window->objectName().toStdString());
        EXPECT_EQ(window->parentWidget(), &owned.w.mainWindow);
        // A plain top-level window is not kept above its parent by the window manager; a tool
        // window is, through the transient parent it names.
        EXPECT_EQ(window->windowType(), Qt::Tool);
        ASSERT_NE(window->windowHandle(), nullptr);
        EXPECT_EQ(window->windowHandle()->transientParent(), owned.w.mainWindow.windowHandle());
    }
}

TEST(frmResultDisplay, ElementViewAndPictureOpenOverTheMainWindowInsideTheScreen) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize mainSize(screen.width() * 3 / 4, screen.height() * 3 / 4);
    struct Row {
        const char* name;
        QPoint mainAt;
    };
    const std::vector<Row> rows = {
        {"centred", screen.center() - QPoint(mainSize.width() / 2, mainSize.height() / 2)},
        {"towards the bottom right", screen.bottomRight() - QPoint(60, 60)},
        {"towards the top left", screen.topLeft() - QPoint(mainSize.width() - 60, 0)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        OwnedWindows owned(QRect(row.mainAt, mainSize));
        const QRect mainFrame = owned.w.mainWindow.frameGeometry();
        for (QWidget* window : {owned.view, owned.picture}) {
            ASSERT_NE(window, nullptr);
            SCOPED_TRACE(window->objectName().toStdString());
            const QRect frame = window->frameGeometry();
            EXPECT_TRUE(screen.contains(frame))
                << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
            // Over the middle of the main window as far as the screen lets it.
            if (screen.contains(mainFrame)) {
                EXPECT_LE(std::abs(frame.center().x() - mainFrame.center().x()), 1);
                EXPECT_LE(std::abs(frame.center().y() - mainFrame.center().y()), 1);
            }
        }
    }
}

TEST(PlaceOverOwner, CentresOverTheOwnerInsideTheAvailableArea) {
    const QRect available(0, 30, 1600, 970);
    struct Row {
        const char* name;
        QRect owner;
        QSize frame;
        QRect place;
    };
    const std::vector<Row> rows = {
        {"over the owner", {100, 100, 1000, 700}, {400, 300}, {400, 300, 400, 300}},
        {"owner off the right edge", {1400, 100, 1000, 700}, {400, 300}, {1200, 300, 400, 300}},
        {"owner above the top", {-500, -600, 1000, 700}, {400, 300}, {0, 30, 400, 300}},
        {"larger than the screen", {100, 100, 1000, 700}, {2000, 1200}, {0, 30, 1600, 970}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(PlaceOverOwner(row.owner, row.frame, available), row.place) << row.name;
}

TEST(frmResultDisplay, PropertiesItemKeepsItsLoadTimeCheckMark) {
    ProgramState state;
    RecordingSink sink;
    QWidget mainWindow;
    auto* shown = new QAction("&Properties Box", &mainWindow);
    shown->setObjectName("mnuView_Properties");
    shown->setCheckable(true);
    shown->setChecked(true);
    frmResultDisplay window(state, sink, &mainWindow);
    ASSERT_TRUE(window.mnuView_Properties->isChecked());
    QSignalSpy requests(&window, &frmResultDisplay::propertiesBoxRequested);
    window.mnuView_Properties->trigger();
    window.mnuView_Properties->trigger();
    EXPECT_TRUE(window.mnuView_Properties->isChecked());
    ASSERT_EQ(requests.size(), 2);
    EXPECT_FALSE(requests[0][0].toBool());
    EXPECT_FALSE(requests[1][0].toBool());

    QSignalSpy tips(&window, &frmResultDisplay::tipsSwitched);
    const bool tipsBefore = window.mnuView_TotD->isChecked();
    window.mnuView_TotD->trigger();
    ASSERT_EQ(tips.size(), 1);
    EXPECT_EQ(tips[0][0].toBool(), !tipsBefore);
}

TEST(frmResultDisplay, ResizeKeepsTheEditorAndCentresTheFrame) {
    AnalysedWindow w;
    w.window.resize(800, 600);
    w.window.show();
    QCoreApplication::processEvents();
    const QRect editor = w.window.Editor->geometry();
    const int dpi = w.window.logicalDpiX();
    const int menu = w.window.menuBar->height();
    EXPECT_EQ(editor.left(), 100 * dpi / 1440);
    EXPECT_EQ(editor.top(), menu + 100 * dpi / 1440);
    EXPECT_EQ(editor.width(), 800 - 300 * dpi / 1440);
    EXPECT_EQ(editor.height(), 600 - menu - 600 * dpi / 1440 - w.window.Frame1->height());
    EXPECT_EQ(w.window.Frame1->x(), (editor.width() - w.window.Frame1->width()) / 2);
    EXPECT_EQ(w.window.Frame1->y(), menu + editor.height() + 100 * dpi / 1440);
}

} // namespace
} // namespace kradon
