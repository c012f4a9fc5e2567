// The results window: the report of an analysis, the text and results file commands with their
// messages; and the windows it opens, the element displacement view and the picture composition
// window.
#include "../../core/FileSafetySupport.h"
#include "ResultsTestSupport.h"
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
#include <optional>

namespace kradon {
namespace {

using namespace testing;

void writeBytes(const QString& path, const QByteArray& bytes) {
    test::writeBytes(path.toStdString(), bytes.toStdString());
}

TEST(frmResultDisplay, TextAndResultsFilesAreSavedAndOpenedFromDialogsAtTheModel) {
    AnalysedWindow w;
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

    // A name ending in kxr takes a results file (its layout is the core's), which opens as the
    // report again.
    const QString results = w.dir.file("beam.kxr");
    w.files.names = {results, results};
    w.window.FileSave_Click();
    w.window.FileOpen_Click();
    EXPECT_EQ(w.window.text(), w.expectedReport(results.toStdString()));
    EXPECT_EQ(w.window.resultsPath(), results);
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

// A failed command says so with the file's name and clears the results path; a write that fails
// keeps what the file held and leaves no temporary file.
TEST(frmResultDisplay, FailuresGiveTheirMessageClearThePathAndKeepWhatTheFileHeld) {
    AnalysedWindow w;
    struct Row {
        const char* name;
        const char* bytes; // written first unless null
        void (frmResultDisplay::*command)();
        bool fullDisk;
    };
    const auto open = &frmResultDisplay::FileOpen_Click, save = &frmResultDisplay::FileSave_Click,
               pdf = &frmResultDisplay::FileSavePdf_Click;
    const char* const held = "what the user had";
    const std::vector<Row> rows = {{"damaged.kxr", "\1\1\1\1\1", open, false},
                                   {"missing.txt", nullptr, open, false},
                                   {"no-such-folder/report.txt", nullptr, save, false},
                                   {"no-such-folder/report.pdf", nullptr, pdf, false},
                                   {"full.txt", held, save, true},
                                   {"full.kxr", held, save, true},
                                   {"full.pdf", held, pdf, true}};
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
        {
            std::optional<test::InjectedWriteFault> fault;
            if (row.fullDisk)
                fault.emplace(SafeFile::WriteStep::Write, ENOSPC);
            (w.window.*row.command)();
        }
        ASSERT_EQ(w.sink.shown.size(), 1u);
        EXPECT_EQ(w.sink.shown[0].text, (row.command == open ? "Unkown error while opening file "
                                                             : "Unkown error while saving file ") +
                                            path.toStdString());
        EXPECT_EQ(w.window.text(), before);
        // A PDF is no results file: its command leaves the path alone.
        EXPECT_EQ(w.window.resultsPath(), row.command == pdf ? good : QString());
        if (row.fullDisk) {
            EXPECT_EQ(FileBytes(path), held);
        }
    }
    EXPECT_EQ(QDir(w.dir.file(".")).entryList(QDir::Files),
              (QStringList{"damaged.kxr", "full.kxr", "full.pdf", "full.txt", "good.txt"}))
        << "no temporary file";
}

// The report is the core's; the window shows it and lists the elements to choose from. A choice
// fills the displacement view, a second one replaces it.
TEST(frmResultDisplay, ShowsTheReportAndAnElementChoiceFillsTheDisplacementView) {
    AnalysedWindow w;
    EXPECT_EQ(w.window.text(), w.expectedReport());
    auto& list = *w.window.ElementListCmb;
    ASSERT_EQ(list.count(), w.state.mesh.ElementCount);
    EXPECT_EQ(list.itemText(list.count() - 1), QString::number(list.count()));
    EXPECT_EQ(list.currentIndex(), -1);
    const auto& mesh = w.state.mesh;
    const auto& d = w.state.equations.Displacements;
    const auto expectElement = [&](int e) {
        auto views = w.mainWindow.findChildren<frmElementDisp*>();
        ASSERT_EQ(views.size(), 1);
        const frmElementDisp& view = *views.front();
        const auto a = static_cast<std::size_t>(mesh.ElementNode1[e]);
        const auto b = static_cast<std::size_t>(mesh.ElementNode2[e]);
        EXPECT_EQ(view.Rot_j, d[2 * b]);
        EXPECT_EQ(view.eleNoLbl->text(), "Element No.: " + QString::number(e));
        EXPECT_EQ(view.nodejLbl->text(), "Node j No.: " + QString::number(b));
        EXPECT_EQ(view.Def_iTxt->text(), QString::fromStdString(ElementDispText(d[2 * a - 1])));
        EXPECT_TRUE(view.isVisible());
    };
    list.setCurrentIndex(2);
    emit list.activated(2);
    expectElement(3);
    list.setCurrentIndex(0);
    emit list.activated(0);
    expectElement(1);

    // Tip Of The Day asks the main window to switch the tips.
    QSignalSpy tips(&w.window, &frmResultDisplay::tipsSwitched);
    w.window.mnuView_TotD->trigger();
    ASSERT_EQ(tips.size(), 1);
    EXPECT_EQ(tips[0][0].toBool(), w.window.mnuView_TotD->isChecked());
}

// The element view and the composed picture are tool windows of the main window: the window
// manager keeps them above it. They open inside the screen wherever the main window stands, and
// Show Picture twice opens one picture window.
TEST(frmResultDisplay, ElementViewAndPictureOpenAboveTheMainWindowInsideTheScreenAndResizing) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // The main window off the bottom right: centred over it, they would hang off the screen.
    AnalysedWindow w;
    w.mainWindow.setGeometry(QRect(screen.bottomRight() - QPoint(60, 60), screen.size() * 3 / 4));
    w.mainWindow.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.mainWindow));
    w.window.ElementListCmb->setCurrentIndex(0);
    emit w.window.ElementListCmb->activated(0);
    QTest::mouseClick(w.window.Command1, Qt::LeftButton);
    QTest::mouseClick(w.window.Command1, Qt::LeftButton);
    EXPECT_EQ(w.mainWindow.findChildren<frmPrintPrev*>().size(), 1);
    for (QWidget* window : {static_cast<QWidget*>(w.mainWindow.findChild<frmElementDisp*>()),
                            static_cast<QWidget*>(w.mainWindow.findChild<frmPrintPrev*>())}) {
        ASSERT_NE(window, nullptr);
        SCOPED_TRACE(window->objectName().toStdString());
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->parentWidget(), &w.mainWindow);
        EXPECT_EQ(window->windowType(), Qt::Tool);
        EXPECT_EQ(window->windowHandle()->transientParent(), w.mainWindow.windowHandle());
        EXPECT_TRUE(screen.contains(window->frameGeometry()));
    }

    // Resized, the results window keeps its editor and buttons inside.
    w.window.show();
    for (const QSize size : {QSize(800, 600), QSize(500, 350)}) {
        w.window.resize(size);
        QCoreApplication::processEvents();
        const QRect inside = w.window.rect();
        const QRect editor = w.window.Editor->geometry(), buttons = w.window.Frame1->geometry();
        EXPECT_TRUE(inside.contains(editor) && inside.contains(buttons)) << size.width();
        EXPECT_FALSE(editor.intersects(buttons)) << size.width();
        EXPECT_GT(editor.height(), size.height() / 2) << "the editor takes what is free";
    }
}

void setValues(frmElementDisp& view, const ElementEndValues& v) {
    view.Def_i = v.Def_i;
    view.Rot_i = v.Rot_i;
    view.Def_j = v.Def_j;
    view.Rot_j = v.Rot_j;
    view.eleLength = v.eleLength;
}

// Each case drawn at another size: the picture is drawn again to fill its new place. The extremes
// and labels of the other cases are the element graph's (tests/graphics).
TEST(frmElementDisp, ExtremeAndLabelOfTheDocumentedCases) {
    struct Case {
        const char* name;
        ElementEndValues values;
        const char* label;
    };
    frmElementDisp view(nullptr);
    view.show();
    int width = 400;
    const std::vector<Case> cases = {
        // Level at 0.01 m: every sample is the extreme; the label keeps the last, at L.
        {"level", {0.01, 0, 0.01, 0, 2}, "Maximum Element Displacement: 1e-02m at 2e+00m"},
        // The cubic reaches its end value 0.002 m at the right end, its largest.
        {"rising", {0, 0, 0.002, 0.001, 2}, "Maximum Element Displacement: 2e-03m at 2e+00m"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setValues(view, c.values);
        view.resize(width += 100, 450);
        QApplication::processEvents();
        const QRect place = view.Picture1->geometry();
        EXPECT_EQ(view.Picture1->picture().size(), place.size());
        EXPECT_TRUE(view.rect().contains(place) && !place.intersects(view.ctrlFrame->geometry()));
        view.drawGraph();
        EXPECT_EQ(view.maxDispLbl->text().toStdString(), c.label);
        EXPECT_EQ(view.FunctionEval1(0), c.values.Def_i);
        EXPECT_NEAR(view.FunctionEval1(c.values.eleLength), c.values.Def_j, 1e-15);
        const QImage& picture = view.Picture1->picture();
        QImage blank(picture.size(), picture.format());
        blank.fill(picture.pixel(0, 0));
        EXPECT_NE(picture, blank) << "the axes and the curve are drawn";
    }
}

// "Beam" leaves the bending moment diagram in the visible box and on the clipboard; "Copy Over"
// puts the hidden picture on the clipboard and moves down.
TEST(frmPrintPrev, BeamLeavesTheBendingMomentDiagramAndCopyOverTriplesTheHeight) {
    const TempDir dir;
    ProgramState state = AnalysedExample("simply-supported-point-load.kdn", dir);
    RecordingSink sink;
    QWidget owner;
    frmPrintPrev window(state, sink, &owner);
    EXPECT_FALSE(window.HiddenPic->isVisibleTo(&window));

    QTest::mouseClick(window.BeamBtn, Qt::LeftButton);
    const QImage first = window.VisPic->picture();
    EXPECT_EQ(first, window.HiddenPic->picture());
    const QImage clipboard = QGuiApplication::clipboard()->image();
    if (!clipboard.isNull()) {
        EXPECT_EQ(clipboard.convertToFormat(first.format()), first);
    }
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
