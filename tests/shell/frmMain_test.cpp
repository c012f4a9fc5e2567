// The main window's controls, the span field and the settings file.
#include "ShellTestSupport.h"
#include "app/frmHelp.h"
#include "app/modMDI.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <cstdint>
#include <fstream>
#include <gtest/gtest.h>

namespace kradon::test {
namespace {

TEST(frmMain, StartsWithTheVersionCaptionItsMenusToolbarButtonsAndStatusBar) {
    MainWindowFixture f;
    frmMain& main = *f.main;
    EXPECT_EQ(main.windowTitle(), "Kradon (v 1.0.6)");
    EXPECT_EQ(main.objectName(), "frmMain");
    EXPECT_EQ(main.tabMain->count(), 0);
    EXPECT_EQ(main.state().model.span, 15);
    EXPECT_FALSE(main.isModified());
    EXPECT_GE(main.width(), 640);
    EXPECT_GE(main.height(), 480);
    ExpectShown(main, {"spanTxt=15", "spanLblTxt=Beam Length", "Text3=m", "submit=Analyse"});
    ExpectShown(main, {"mnuFile=&File", "mnuEdit=&Edit", "mnuLoads=&Loads", "mnuSupports=&Supports",
                       "mnuBeamData=&Beam Data", "mnuTools=&Tools", "mnuView=&View",
                       "mnuWindow=&Window", "mnuHelp=&Help"});
    // Every item is on but Undo and Redo; some have keys.
    QStringList off, keys;
    const std::vector<QStringList> menus = {
        {"mnuFile_New=New...", "mnuOpen=&Open...", "mnuFile_CloseAll=Close &All", "mnuSave=&Save",
         "mnuSaveAs=Save &As...", "mnuExit=E&xit", "mnuUndo=&Undo", "mnuRedo=&Redo"},
        {"mnuAddPL=Add &Point Load", "mnuAddUDL=Add &Uniformly Distributed Load",
         "mnuAddTDL=Add &Trapezoidal Load", "mnuAddML=Add &Moment Load",
         "mnuAddSup=Add Full &Restraints", "mnuAddSpring=Add &Spring Support",
         "mnuAddFixedDisp=Add &Fixed Displacement", "mnuEvalue=&Young's Modulus",
         "mnuIvalue=&Second Moment of Area"},
        {"mnuOptions=&Options", "mnuView_TotD=&Tip Of The Day",
         "mnuView_Properties=&Properties Box", "mnuWindow_Cascade=&Cascade",
         "mnuWindow_THorizontal=Tile &Horizontal", "mnuWindow_TVertical=Tile &Vertical",
         "mnuWindow_Arrange=Arrange &Icons", "mnuHelpContents=&Contents",
         "mnuHelp_ShowTotD=Show &Tip Of The Day", "mnuHelpAbout=&About "}};
    for (const QStringList& items : menus) {
        ExpectShown(main, items);
        for (const QString& item : items) {
            auto* action = main.findChild<QAction*>(item.section('=', 0, 0));
            if (!action->isEnabled())
                off << action->objectName();
            if (!action->shortcuts().isEmpty())
                keys << action->objectName() + "=" +
                            QKeySequence::listToString(action->shortcuts());
        }
    }
    EXPECT_EQ(off, QStringList({"mnuUndo", "mnuRedo"}));
    EXPECT_EQ(keys, QStringList({"mnuFile_New=Ctrl+N", "mnuOpen=Ctrl+O", "mnuSave=Ctrl+S",
                                 "mnuUndo=Ctrl+Z", "mnuRedo=Ctrl+Shift+Z; Ctrl+Y",
                                 "mnuHelpContents=F1"}));
    EXPECT_EQ(main.KradonTBButton[21]->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_TRUE(main.mnuView_TotD->isChecked());
    EXPECT_TRUE(main.mnuView_Properties->isChecked());
    EXPECT_FALSE(main.mnuBar2->isVisible());

    // The toolbar: 22 positions, each a separator (empty here) or a button with its tooltip
    // and picture.
    QStringList tips;
    for (int index = 1; index <= 22; ++index) {
        auto* button = main.findChild<QAction*>(QString("KradonTB_%1").arg(index));
        ASSERT_NE(button, nullptr) << index;
        EXPECT_EQ(button->icon().isNull(), button->isSeparator()) << index;
        tips << (button->isSeparator() ? QString() : button->toolTip());
    }
    EXPECT_EQ(tips.join('|'), "New Kradon File|Open Kradon File|Save Kradon File||Add Point "
                              "Load|Add Uniform Load|Add Trapezoidal Load|Add Moment Load|Add "
                              "Fixed Displacement||Add Rigid Support|Add Spring Support||E-value "
                              "Definition|I value Definition||Kradon Properties||View "
                              "Results||Analyse Kradon|");
    // Separator positions do nothing.
    for (int index : {4, 10, 13, 16, 18, 20, 22})
        main.KradonTB_ButtonClick(index);
    EXPECT_TRUE(f.messages.shown.empty());
    EXPECT_TRUE(f.windows().empty());

    ExpectShown(main, {"GraphBtn_0=Beam", "GraphBtn_1=Mesh", "GraphBtn_2=BMD", "GraphBtn_3=SFD",
                       "GraphBtn_4=DSD", "GraphBtn_5=E-Value", "GraphBtn_6=I-Value"});
    EXPECT_EQ(main.findChild<QPushButton*>("GraphBtn_0")->parentWidget()->objectName(), "BtnFrame");
    EXPECT_NE(main.findChild<QStatusBar*>("sBar"), nullptr);
    EXPECT_EQ(main.sBarPanel[0]->text(), "Kradon - Advanced Finite Element Beam Analysis");
    EXPECT_EQ(main.sBarPanel[0]->toolTip(), main.sBarPanel[0]->text());
    EXPECT_EQ(main.sBarPanel[1]->text(), "");
}

/// Clicks the span field, replaces its text and, unless confirm is empty, presses it.
void typeSpan(frmMain& main, const QString& text, Qt::Key confirm = Qt::Key_Return) {
    QLineEdit* span = main.spanTxt;
    EXPECT_TRUE(span->isReadOnly());
    QTest::mouseClick(span, Qt::LeftButton);
    EXPECT_FALSE(span->isReadOnly());
    span->selectAll();
    QTest::keyClick(span, Qt::Key_Delete);
    QTest::keyClicks(span, text);
    if (confirm != Qt::Key_unknown) {
        QTest::keyClick(span, confirm);
        EXPECT_TRUE(span->isReadOnly());
    }
}

TEST(frmMain, TheSpanIsTakenWhenTheFieldIsConfirmedAndOnlyIfItIsALength) {
    struct Case {
        const char* text;
        double span; // after Enter
    };
    const std::vector<Case> cases = {{"20", 20}, {"11", 11},    {"abc", 15}, {"-5", 15},
                                     {"0", 15},  {"1e999", 15}, {"", 15}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const bool refused = c.span == 15;
        MainWindowFixture f;
        f.main->GraphBtn_Click(1);
        f.main->GraphBtn_Click(0);
        const std::vector<QString> windows = f.windows();
        int changes = 0;
        QObject::connect(f.main.get(), &frmMain::modelEdited, [&] { ++changes; });
        typeSpan(*f.main, c.text);
        EXPECT_EQ(f.main->state().model.span, c.span);
        EXPECT_EQ(changes, refused ? 0 : 1) << "one change, not one per keystroke";
        EXPECT_EQ(f.main->mnuUndo->text(), refused ? "&Undo" : "&Undo Change Span");
        EXPECT_EQ(f.windows(), windows) << "no window closes";
        EXPECT_EQ(f.main->spanTxt->text(), refused ? "15" : c.text);
        if (refused)
            EXPECT_EQ(f.messages.texts(),
                      std::vector<std::string>{"Beam Length: \"" + std::string(c.text) +
                                               "\" is not a positive number of metres. The "
                                               "span stays 15 m."});
        else
            EXPECT_TRUE(f.messages.shown.empty());
    }
}

TEST(frmMain, TabbingAwayFromTheSpanFieldConfirmsItAsEnterDoesAndAnalyseTakesItToo) {
    MainWindowFixture f;
    typeSpan(*f.main, "12", Qt::Key_unknown);
    EXPECT_EQ(f.main->state().model.span, 15) << "not while typing";
    QTest::keyClick(f.main->spanTxt, Qt::Key_Tab);
    EXPECT_EQ(f.main->state().model.span, 12);
    EXPECT_TRUE(f.main->spanTxt->isReadOnly());

    // Analyse takes a span typed but not yet confirmed; one that is refused leaves the span.
    typeSpan(*f.main, "14", Qt::Key_unknown);
    f.main->AnalyseCommand();
    EXPECT_EQ(f.main->state().model.span, 14);
    typeSpan(*f.main, "x", Qt::Key_unknown);
    f.messages.shown.clear();
    f.main->AnalyseCommand();
    EXPECT_EQ(f.messages.texts().front(),
              "Beam Length: \"x\" is not a positive number of metres. The span stays 14 m.");
    EXPECT_EQ(f.main->state().model.span, 14);
    EXPECT_EQ(f.main->spanTxt->text(), "14");
}

TEST(frmMain, ResetEmptiesTheTablesButLeavesTheSpanField) {
    MainWindowFixture f;
    ASSERT_TRUE(OpenSample(f, "cantilever.kdn"));
    f.main->submit_Click();
    ASSERT_GT(f.main->state().mesh.NodeCount, 0);
    const QString shown = f.main->spanTxt->text();
    f.main->Reset();
    const ProgramState& s = f.main->state();
    EXPECT_EQ(s.model.span, 15);
    for (std::size_t k = 0; k < RecordKindCount; ++k)
        EXPECT_EQ(s.model.counts[k], 0);
    EXPECT_EQ(s.mesh.NodeCount, 0);
    EXPECT_EQ(s.mesh.ElementCount, 0);
    EXPECT_EQ(s.mesh.NodeX, std::vector<double>{0.0});
    EXPECT_EQ(s.results.NodeMoment, std::vector<double>{0.0});
    EXPECT_EQ(s.AnalysisTime, 0);
    EXPECT_EQ(f.main->spanTxt->text(), shown);
    EXPECT_EQ(f.main->windowTitle(), "Kradon - [" + QPath(ExamplePath("cantilever.kdn")) + "]");
}

std::vector<std::int16_t> readRecord(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::int16_t> fields;
    unsigned char b[2];
    while (in.read(reinterpret_cast<char*>(b), 2))
        fields.push_back(static_cast<std::int16_t>(b[0] | (b[1] << 8)));
    return fields;
}

TEST(frmMain, OrderlyExitWritesTheFourteenByteSettingsFileThatTheNextStartReads) {
    MainWindowFixture first;
    int tips = 0;
    QObject::connect(first.main.get(), &frmMain::tipOfTheDayRequested, [&] { ++tips; });
    first.main->LoadIni();
    EXPECT_EQ(tips, 1) << "the first start asks for the tip of the day once";
    first.main->mnuView_TotD->trigger(); // unchecks: no tips next time
    first.main->resize(900, 640);
    first.main->GraphBtn_Click(2);
    first.main->mnuExit->trigger();
    EXPECT_FALSE(first.main->isVisible());
    EXPECT_TRUE(first.windows().empty()) << "child windows close at shut-down";
    const auto ini = first.folder() / "kradon.INI";
    ASSERT_EQ(std::filesystem::file_size(ini), 14u);
    const std::vector<std::int16_t> written = readRecord(ini);
    EXPECT_EQ(written[2], 900 * 15) << "width in twips at 96 dpi";
    EXPECT_EQ(written[3], 640 * 15) << "height";
    EXPECT_EQ(written[4], 0) << "normal window";
    EXPECT_EQ(written[5], 0) << "tips switched off";
    EXPECT_EQ(written[6], -1) << "properties box checked";

    RecordingShellSink messages;
    ScriptedFilePicker files;
    frmMain second(messages, files, first.main->paths());
    QObject::connect(&second, &frmMain::tipOfTheDayRequested, [&] { ++tips; });
    second.show();
    second.LoadIni();
    EXPECT_EQ(tips, 1) << "tips were switched off";
    EXPECT_FALSE(second.mnuView_TotD->isChecked());
    EXPECT_FALSE(second.showTips());
    EXPECT_EQ(second.size(), QSize(900, 640));
    second.close();
    EXPECT_EQ(readRecord(ini), written);
}

TEST(frmMain, HelpWithoutAReadableGuideSaysSo) {
    const std::string none =
        "Unable to display Help Contents. There is no Help associated with this project.";
    struct Case {
        const char* helpFile; // in the fixture's folder
        std::string content;  // of the guide written there, if any
        std::string message;
    };
    const std::vector<Case> cases = {
        {"", "", none},
        {"Kradon.html", "", none}, // gone missing from where it was installed
        {"Kradon.html", std::string(HelpFileMaxBytes + 1, ' '),
         none + "\r\nIt is larger than the 16777216 bytes that a help file can hold"}};
    for (const Case& c : cases) {
        MainWindowFixture f(c.helpFile);
        if (!c.content.empty())
            std::ofstream(f.folder() / c.helpFile) << c.content;
        f.main->mnuHelpContents->trigger();
        ASSERT_EQ(f.messages.shown.size(), 1u) << c.helpFile;
        EXPECT_EQ(f.messages.shown[0].text, c.message);
        EXPECT_EQ(f.messages.shown[0].title, "Kradon (v 1.0.6)");
        EXPECT_EQ(f.messages.shown[0].icon, Icon::Information);
        EXPECT_EQ(f.main->findChild<frmHelp*>("frmHelp"), nullptr);
    }
}

TEST(frmMain, HelpShowsTheGuideInItsOwnWindowWithContentsLinksAndFind) {
    MainWindowFixture f("Kradon.html");
    const auto guide = f.folder() / "Kradon.html";
    std::ofstream(guide) << "<html><body><h1>Kradon user guide</h1><p>Start</p>"
                            "<h2>Describing a beam</h2><p>Spans and loads.</p>"
                            "<h3>Loads</h3><p>See <a href=\"more.html\">more</a>.</p>"
                            "<h2>Analysing</h2><p>Press F5.</p></body></html>";
    std::ofstream(f.folder() / "more.html") << "<html><body><h1>More</h1></body></html>";
    f.main->mnuHelpContents->trigger();
    EXPECT_TRUE(f.desktop.opened.empty()) << "the desktop is not asked";
    EXPECT_TRUE(f.messages.shown.empty());
    auto* help = f.main->findChild<frmHelp*>("frmHelp");
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->isWindow());
    EXPECT_EQ(help->windowTitle(), "Kradon Help");

    // Contents: the headings, nested; an entry leads to its heading.
    QTreeWidgetItem* top = help->helpContents->topLevelItem(0);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->text(0), "Kradon user guide");
    ASSERT_EQ(top->childCount(), 2);
    EXPECT_EQ(top->child(0)->text(0), "Describing a beam");
    EXPECT_EQ(top->child(0)->child(0)->text(0), "Loads");
    help->showHeading(top->child(1));
    EXPECT_EQ(help->helpBrowser->textCursor().block().text(), "Analysing");

    // Find goes round to the start; a text that is not there is said so.
    EXPECT_TRUE(help->findNext("Press"));
    EXPECT_EQ(help->helpBrowser->textCursor().selectedText(), "Press");
    EXPECT_FALSE(help->findNext("Gerber"));
    EXPECT_EQ(help->helpFindLbl->text(), "Not found");

    // A link stays in the window; Back and Forward return.
    EXPECT_FALSE(help->helpBackBtn->isEnabled());
    help->helpBrowser->setSource(QUrl::fromLocalFile(QPath(f.folder() / "more.html")));
    EXPECT_EQ(help->helpContents->topLevelItem(0)->text(0), "More");
    EXPECT_TRUE(help->helpBackBtn->isEnabled());
    help->helpBackBtn->click();
    EXPECT_EQ(help->helpContents->topLevelItem(0)->text(0), "Kradon user guide");
    EXPECT_TRUE(help->helpForwardBtn->isEnabled());

    // Open in Browser hands the page to the desktop, and says so when it cannot.
    help->helpBrowserBtn->click();
    EXPECT_EQ(f.desktop.opened, std::vector<QString>{QPath(guide)});
    EXPECT_EQ(f.messages.texts(), std::vector<std::string>{"The desktop has no program to open " +
                                                           guide.string() + "."});

    // One window, brought forward again.
    help->close();
    f.main->mnuHelpContents->trigger();
    EXPECT_EQ(f.main->findChildren<frmHelp*>("frmHelp").size(), 1u);
    EXPECT_TRUE(help->isVisible());
}

} // namespace
} // namespace kradon::test
