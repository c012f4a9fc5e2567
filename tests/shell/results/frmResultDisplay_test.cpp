// The results window: its controls and menus, the report of an analysis, the text and results
// file commands with their messages; and the windows it opens, the element displacement view
// and the picture composition window.
#include "../../core/FileSafetySupport.h"
#include "ResultsTestSupport.h"
#include "app/OwnedWindow.h"
#include "app/results/frmElementDisp.h"
#include "app/results/frmPrintPrev.h"
#include "app/results/frmResultDisplay.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>
#include <QWindow>
#include <gtest/gtest.h>

namespace kradon {
namespace {

using testing::AnalysedExample;
using testing::AnalysedWindow;
using testing::FileBytes;
using testing::RecordingSink;
using testing::ScriptedFilePicker;
using testing::TempDir;

void writeBytes(const QString& path, const QByteArray& bytes) {
    test::writeBytes(path.toStdString(), bytes.toStdString());
}

TEST(frmResultDisplay, WithoutMeshOpensEmptyWithItsCaptionsAndTheOwnersCheckMarks) {
    ProgramState state;
    RecordingSink sink;
    QWidget mainWindow;
    auto* shown = new QAction("&Properties Box", &mainWindow);
    shown->setObjectName("mnuView_Properties");
    shown->setCheckable(true);
    shown->setChecked(true);
    frmResultDisplay window(state, sink, &mainWindow);
    EXPECT_EQ(window.objectName(), "frmResultDisplay");
    EXPECT_EQ(window.windowTitle(), "Results");
    EXPECT_TRUE(window.Editor->toPlainText().isEmpty());
    EXPECT_EQ(window.ElementListCmb->count(), 0);
    EXPECT_TRUE(window.Editor->isReadOnly());
    EXPECT_TRUE(window.Editor->font().fixedPitch());
    EXPECT_EQ(window.findChild<QLabel*>("Label1")->text(),
              "View Element Displacements for Element No.:");
    EXPECT_EQ(window.findChild<QPushButton*>("Command1")->text(), "Show Picture");
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
        {"mnuHelpAbout", "&About "}};
    for (const auto& [name, caption] : items) {
        const auto* action = window.findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        EXPECT_EQ(action->text(), caption) << name;
    }

    // Properties Box keeps the check mark it copied at load time and asks for the box closed.
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
    EXPECT_TRUE(sink.shown.empty());
}

TEST(frmResultDisplay, ShowsTheReportOfTheAnalysis) {
    AnalysedWindow w;
    EXPECT_EQ(w.window.text(), w.expectedReport());
    EXPECT_TRUE(w.window.text().startsWith("------------------------------------------\r\n"));
    QStringList items, numbers;
    for (int e = 1; e <= w.state.mesh.ElementCount; ++e)
        numbers << QString::number(e);
    for (int i = 0; i < w.window.ElementListCmb->count(); ++i)
        items << w.window.ElementListCmb->itemText(i);
    EXPECT_EQ(items, numbers);
    EXPECT_EQ(w.window.ElementListCmb->currentIndex(), -1);
    EXPECT_TRUE(w.sink.shown.empty());
}

TEST(frmResultDisplay, TextIsSavedAndOpenedFromDialogsAtTheModelAndCancelChangesNothing) {
    AnalysedWindow w;
    w.files.names = {std::nullopt};
    w.window.FileOpen_Click();
    EXPECT_TRUE(w.files.lastStartAt.isEmpty()) << "a model without a file: where they like";

    w.state.FileName = w.dir.file("models/beam.kdn").toStdString();
    const QString models = w.dir.file("models");
    const QString report = w.window.text();
    const QString name = w.dir.file("report.txt");
    w.files.names = {name, name};
    w.window.FileSave_Click();
    EXPECT_EQ(w.files.lastFilters, (QStringList{"Text files (*.txt)", "All files (*)"}));
    EXPECT_EQ(w.files.lastSuffix, "txt");
    EXPECT_EQ(w.files.lastStartAt, models);
    EXPECT_EQ(FileBytes(name), (report + "\r\n").toUtf8());
    w.window.FileOpen_Click();
    EXPECT_EQ(w.files.lastFilters,
              (QStringList{"Text files (*.txt)", "Results files (*.kxr)", "All files (*)"}));
    EXPECT_EQ(w.files.lastStartAt, models);
    EXPECT_EQ(w.window.text(), report + "\r\n") << "saved and opened, it gains one empty line";
    EXPECT_EQ(w.window.resultsPath(), name);

    w.files.names = {std::nullopt, std::nullopt, std::nullopt};
    w.window.FileOpen_Click();
    w.window.FileSave_Click();
    w.window.FileSavePdf_Click();
    EXPECT_EQ(w.files.lastStartAt, models);
    EXPECT_EQ(w.window.text(), report + "\r\n");
    EXPECT_EQ(w.window.resultsPath(), name);

    // Opened lines stay as they are, with CR LF ends.
    const QString notes = w.dir.file("notes.txt");
    writeBytes(notes, "a, b, \"c\"\r\n   leading blanks\nlast line without end");
    w.files.names = {notes};
    w.window.FileOpen_Click();
    EXPECT_EQ(w.window.text(), "a, b, \"c\"\r\n   leading blanks\r\nlast line without end\r\n");
    EXPECT_TRUE(w.sink.shown.empty());
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

TEST(frmResultDisplay, NameEndingInKxrWritesAResultsFileThatOpensAsTheReport) {
    AnalysedWindow w;
    // 60 bytes of fixed fields and 40 bytes per node; an upper-case KXR is text.
    const auto resultsFileSize = 60 + 40 * w.state.mesh.NodeCount;
    const QString results = w.dir.file("beam.kxr"), bare = w.dir.file("beamkxr"),
                  upper = w.dir.file("beam.KXR");
    w.files.names = {upper, bare, results, results};
    w.window.FileSave_Click();
    EXPECT_EQ(FileBytes(upper), (w.window.text() + "\r\n").toUtf8());
    w.window.FileSave_Click();
    EXPECT_EQ(FileBytes(bare).size(), resultsFileSize);
    w.window.FileSave_Click();
    EXPECT_EQ(FileBytes(results).size(), resultsFileSize);
    EXPECT_EQ(w.window.resultsPath(), results);

    w.window.Editor->clear();
    w.window.FileOpen_Click();
    EXPECT_EQ(w.window.text(), w.expectedReport(results.toStdString()));
    EXPECT_TRUE(w.window.text().contains("Results File: " + results + "\r\n"));
    EXPECT_TRUE(w.sink.shown.empty());
}

TEST(frmResultDisplay, FailuresGiveTheirMessageAndClearThePath) {
    AnalysedWindow w;
    struct Row {
        const char* name;
        const char* bytes; // written first unless null
        void (frmResultDisplay::*command)();
        const char* message;
    };
    const auto open = &frmResultDisplay::FileOpen_Click, save = &frmResultDisplay::FileSave_Click;
    const char* const opening = "Unkown error while opening file ";
    const char* const saving = "Unkown error while saving file ";
    const std::vector<Row> rows = {
        {"damaged.kxr", "\1\1\1\1\1", open, opening},
        {"missing.txt", nullptr, open, opening},
        {"no-such-folder/report.txt", nullptr, save, saving},
        {"no-such-folder/beam.kxr", nullptr, save, saving},
        {"no-such-folder/report.pdf", nullptr, &frmResultDisplay::FileSavePdf_Click, saving}};
    const QString good = w.dir.file("good.txt");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = w.dir.file(row.name);
        if (row.bytes != nullptr)
            writeBytes(path, row.bytes);
        w.files.names = {good, path};
        w.window.FileSave_Click();
        const QString before = w.window.text();
        w.sink.shown.clear();
        (w.window.*row.command)();
        ASSERT_EQ(w.sink.shown.size(), 1u);
        EXPECT_EQ(w.sink.shown[0].text, row.message + path.toStdString());
        EXPECT_EQ(w.sink.shown[0].title, "Kradon by Tarel Vestrun");
        EXPECT_EQ(w.window.text(), before);
        // A PDF is no results file: its command leaves the path alone.
        const bool pdf = row.command == &frmResultDisplay::FileSavePdf_Click;
        EXPECT_EQ(w.window.resultsPath(), pdf ? good : QString());
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

// The element view and the composed picture are tool windows of the main window: the window
// manager keeps them above it. They open over its middle as far as the screen lets them, and
// Show Picture twice opens one picture window.
TEST(frmResultDisplay, ElementViewAndPictureOpenAboveTheMainWindowInsideTheScreen) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize mainSize(screen.width() * 3 / 4, screen.height() * 3 / 4);
    const std::vector<std::pair<const char*, QPoint>> places = {
        {"centred", screen.center() - QPoint(mainSize.width() / 2, mainSize.height() / 2)},
        {"towards the bottom right", screen.bottomRight() - QPoint(60, 60)},
        {"towards the top left", screen.topLeft() - QPoint(mainSize.width() - 60, 0)}};
    for (const auto& [name, mainAt] : places) {
        SCOPED_TRACE(name);
        AnalysedWindow w;
        w.mainWindow.setGeometry(QRect(mainAt, mainSize));
        w.mainWindow.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.mainWindow));
        w.window.ElementListCmb->setCurrentIndex(0);
        emit w.window.ElementListCmb->activated(0);
        QTest::mouseClick(w.window.Command1, Qt::LeftButton);
        QTest::mouseClick(w.window.Command1, Qt::LeftButton);
        EXPECT_EQ(w.mainWindow.findChildren<frmPrintPrev*>().size(), 1);
        const QRect mainFrame = w.mainWindow.frameGeometry();
        for (QWidget* window : {static_cast<QWidget*>(w.mainWindow.findChild<frmElementDisp*>()),
                                static_cast<QWidget*>(w.mainWindow.findChild<frmPrintPrev*>())}) {
            ASSERT_NE(window, nullptr);
            SCOPED_TRACE(window->objectName().toStdString());
            EXPECT_TRUE(window->isVisible());
            EXPECT_EQ(window->parentWidget(), &w.mainWindow);
            EXPECT_EQ(window->windowType(), Qt::Tool);
            ASSERT_NE(window->windowHandle(), nullptr);
            EXPECT_EQ(window->windowHandle()->transientParent(), w.mainWindow.windowHandle());
            const QRect frame = window->frameGeometry();
            EXPECT_TRUE(screen.contains(frame))
                << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
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

/// Counts the pixels of the picture close to a colour.
int pixelsOf(const QImage& image, QColor colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += std::abs(c.red() - colour.red()) < 60 &&
                     std::abs(c.green() - colour.green()) < 60 &&
                     std::abs(c.blue() - colour.blue()) < 60;
        }
    return count;
}

void setValues(frmElementDisp& view, const ElementEndValues& v) {
    view.Def_i = v.Def_i;
    view.Rot_i = v.Rot_i;
    view.Def_j = v.Def_j;
    view.Rot_j = v.Rot_j;
    view.eleLength = v.eleLength;
}

TEST(frmElementDisp, ExtremeAndLabelOfTheDocumentedCases) {
    struct Case {
        const char* name;
        ElementEndValues values;
        const char* label;
    };
    const std::vector<Case> cases = {
        // Level at 0.01 m: every sample is the extreme; the label keeps the last, at L.
        {"level", {0.01, 0, 0.01, 0, 2}, "Maximum Element Displacement: 1e-02m at 2e+00m"},
        // The cubic reaches its end value 0.002 m at the right end, its largest.
        {"rising", {0, 0, 0.002, 0.001, 2}, "Maximum Element Displacement: 2e-03m at 2e+00m"},
        // Upwards everywhere: the lowest value is the extreme.
        {"upwards", {-0.005, 0, -0.005, 0, 4}, "Maximum Element Displacement: -5e-03m at 4e+00m"},
        {"flat", {0, 0, 0, 0, 1}, "Maximum Element Displacement: 0e+00m at 1e+00m"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frmElementDisp view(nullptr);
        view.resize(500, 450);
        setValues(view, c.values);
        view.drawGraph();
        EXPECT_EQ(view.maxDispLbl->text().toStdString(), c.label);
        EXPECT_EQ(view.FunctionEval1(0), c.values.Def_i);
        EXPECT_NEAR(view.FunctionEval1(c.values.eleLength), c.values.Def_j, 1e-15);
        const QImage& picture = view.Picture1->picture();
        EXPECT_EQ(picture.size(), view.Picture1->size());
        EXPECT_GT(pixelsOf(picture, Qt::blue) + pixelsOf(picture, Qt::red), 0);
        EXPECT_GT(pixelsOf(picture, Qt::black), 0);
    }
}

TEST(frmElementDisp, CaptionsAndRedrawingToANewSize) {
    frmElementDisp view(nullptr);
    EXPECT_EQ(view.objectName(), "frmElementDisp");
    EXPECT_EQ(view.windowTitle(), "Element Displacement Graph");
    EXPECT_EQ(view.eleNoLbl->text(), "Element No.: ");
    EXPECT_EQ(view.eleLengthLbl->text(), "Element Length: ");
    setValues(view, {0, 0.001, 0.002, -0.001, 3});
    view.resize(500, 450);
    view.show();
    QApplication::processEvents();
    view.resize(700, 600);
    QApplication::processEvents();
    const QRect picture = view.Picture1->geometry();
    EXPECT_EQ(view.Picture1->picture().size(), picture.size());
    const int dpi = view.logicalDpiX();
    EXPECT_EQ(picture.width(), 700 - 800 * dpi / 1440);
    EXPECT_EQ(picture.height(), 600 - view.ctrlFrame->height() - 800 * dpi / 1440);
    EXPECT_EQ(picture.x(), (700 - picture.width()) / 2);
    EXPECT_EQ(view.ctrlFrame->y(), picture.height() + 200 * dpi / 1440);
    EXPECT_EQ(view.ctrlFrame->x(), (700 - view.ctrlFrame->width()) / 2);
}

// "Beam" leaves the bending moment diagram in the visible box and on the clipboard; "Copy Over"
// puts the hidden picture on the clipboard and moves down.
TEST(frmPrintPrev, BeamLeavesTheBendingMomentDiagramAndCopyOverTriplesTheHeight) {
    const TempDir dir;
    ProgramState state = AnalysedExample("simply-supported-point-load.kdn", dir);
    RecordingSink sink;
    QWidget owner;
    frmPrintPrev window(state, sink, &owner);
    EXPECT_EQ(window.BeamBtn->text(), "Beam");
    EXPECT_EQ(window.CopyOverBtn->text(), "Copy Over");
    EXPECT_FALSE(window.HiddenPic->isVisibleTo(&window));

    QTest::mouseClick(window.BeamBtn, Qt::LeftButton);
    const QImage first = window.VisPic->picture();
    EXPECT_EQ(first, window.HiddenPic->picture());
    const QImage clipboard = QGuiApplication::clipboard()->image();
    if (!clipboard.isNull()) {
        EXPECT_EQ(clipboard.convertToFormat(first.format()), first);
    }
    EXPECT_GT(window.VisPic->CurrentY, 0);
    EXPECT_GT(window.HiddenPic->ScaleHeight, 0);
    // The last picture is the bending moment diagram, not the beam: it has other pixels.
    EXPECT_NE(first, window.HiddenPic->blankImage());
    QTest::mouseClick(window.BeamBtn, Qt::LeftButton);
    EXPECT_EQ(window.VisPic->picture(), first);

    const double h = window.HiddenPic->ScaleHeight;
    const double y = window.VisPic->CurrentY;
    QTest::mouseClick(window.CopyOverBtn, Qt::LeftButton);
    EXPECT_EQ(window.VisPic->ScaleHeight, 3 * h);
    EXPECT_EQ(window.VisPic->ScaleWidth, window.HiddenPic->ScaleWidth);
    EXPECT_EQ(window.VisPic->CurrentY, y + h);
    EXPECT_TRUE(sink.shown.empty());
}

} // namespace
} // namespace kradon
