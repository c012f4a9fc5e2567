// The main window's controls, the span field and the settings file.
#include "ShellTestSupport.h"
#include "app/frmHelp.h"
#include "app/modMDI.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <cstdint>
#include <fstream>
#include <gtest/gtest.h>

namespace kradon::test {
namespace {

TEST(frmMain, StartsWithTheVersionCaptionAndAnEmptyTabStrip) {
    MainWindowFixture f;
    EXPECT_EQ(f.main->windowTitle(), "Kradon (v 1.0.6)");
    EXPECT_EQ(f.main->objectName(), "frmMain");
    EXPECT_EQ(f.main->tabMain->count(), 0);
    EXPECT_EQ(f.main->findChild<QLineEdit*>("spanTxt")->text(), "15");
    EXPECT_EQ(f.main->findChild<QLabel*>("spanLblTxt")->text(), "Beam Length");
    EXPECT_EQ(f.main->findChild<QLabel*>("Text3")->text(), "m");
    EXPECT_EQ(f.main->state().model.span, 15);
    EXPECT_FALSE(f.main->isModified());
    const QSize size = f.main->size();
    EXPECT_GE(size.width(), 640);
    EXPECT_GE(size.height(), 480);
}

TEST(frmMain, MenusCarryTheirCaptionsAndAccessKeys) {
    MainWindowFixture f;
    const std::vector<std::pair<const char*, const char*>> menus = {
        {"mnuFile", "&File"},         {"mnuEdit", "&Edit"},          {"mnuLoads", "&Loads"},
        {"mnuSupports", "&Supports"}, {"mnuBeamData", "&Beam Data"}, {"mnuTools", "&Tools"},
        {"mnuView", "&View"},         {"mnuWindow", "&Window"},      {"mnuHelp", "&Help"}};
    for (const auto& [name, title] : menus) {
        auto* menu = f.main->findChild<QMenu*>(name);
        ASSERT_NE(menu, nullptr) << name;
        EXPECT_EQ(menu->title(), title) << name;
    }
    struct Item {
        const char* name;
        const char* text;
        bool enabled;
    };
    const std::vector<Item> items = {
        {"mnuFile_New", "New...", true},
        {"mnuOpen", "&Open...", true},
        {"mnuFile_CloseAll", "Close &All", true},
        {"mnuSave", "&Save", true},
        {"mnuSaveAs", "Save &As...", true},
        {"mnuExit", "E&xit", true},
        {"mnuUndo", "&Undo", false},
        {"mnuRedo", "&Redo", false},
        {"mnuAddPL", "Add &Point Load", true},
        {"mnuAddUDL", "Add &Uniformly Distributed Load", true},
        {"mnuAddTDL", "Add &Trapezoidal Load", true},
        {"mnuAddML", "Add &Moment Load", true},
        {"mnuAddSup", "Add Full &Restraints", true},
        {"mnuAddSpring", "Add &Spring Support", true},
        {"mnuAddFixedDisp", "Add &Fixed Displacement", true},
        {"mnuEvalue", "&Young's Modulus", true},
        {"mnuIvalue", "&Second Moment of Area", true},
        {"mnuOptions", "&Options", true},
        {"mnuView_TotD", "&Tip Of The Day", true},
        {"mnuView_Properties", "&Properties Box", true},
        {"mnuWindow_Cascade", "&Cascade", true},
        {"mnuWindow_THorizontal", "Tile &Horizontal", true},
        {"mnuWindow_TVertical", "Tile &Vertical", true},
        {"mnuWindow_Arrange", "Arrange &Icons", true},
        {"mnuHelpContents", "&Contents", true},
        {"mnuHelp_ShowTotD", "Show &Tip Of The Day", true},
        {"mnuHelpAbout", "&About ", true},
    };
    for (const Item& item : items) {
        auto* action = f.main->findChild<QAction*>(item.name);
        ASSERT_NE(action, nullptr) << item.name;
        EXPECT_EQ(action->text(), item.text) << item.name;
        EXPECT_EQ(action->isEnabled(), item.enabled) << item.name;
    }
    EXPECT_TRUE(f.main->mnuView_TotD->isChecked());
    EXPECT_TRUE(f.main->mnuView_Properties->isChecked());
    EXPECT_EQ(f.main->mnuFile_New->shortcut(), QKeySequence("Ctrl+N"));
    EXPECT_EQ(f.main->mnuOpen->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(f.main->mnuSave->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_FALSE(f.main->mnuBar2->isVisible());
}

TEST(frmMain, ToolbarHasTwentyTwoPositionsWithTooltipsAndImages) {
    MainWindowFixture f;
    const std::vector<const char*> tips = {"New Kradon File",
                                           "Open Kradon File",
                                           "Save Kradon File",
                                           nullptr,
                                           "Add Point Load",
                                           "Add Uniform Load",
                                           "Add Trapezoidal Load",
                                           "Add Moment Load",
                                           "Add Fixed Displacement",
                                           nullptr,
                                           "Add Rigid Support",
                                           "Add Spring Support",
                                           nullptr,
                                           "E-value Definition",
                                           "I value Definition",
                                           nullptr,
                                           "Kradon Properties",
                                           nullptr,
                                           "View Results",
                                           nullptr,
                                           "Analyse Kradon",
                                           nullptr};
    ASSERT_EQ(tips.size(), 22u);
    int images = 0;
    for (int index = 1; index <= 22; ++index) {
        auto* button = f.main->findChild<QAction*>(QString("KradonTB_%1").arg(index));
        ASSERT_NE(button, nullptr) << index;
        const char* tip = tips[static_cast<std::size_t>(index - 1)];
        EXPECT_EQ(button->isSeparator(), tip == nullptr) << index;
        if (tip == nullptr)
            continue;
        EXPECT_EQ(button->toolTip(), tip) << index;
        EXPECT_FALSE(button->icon().isNull()) << index;
        ++images;
    }
    EXPECT_EQ(images, 15);
    EXPECT_EQ(f.main->KradonTBButton[21]->shortcut(), QKeySequence(Qt::Key_F5));
    // Separator positions do nothing.
    for (int index : {4, 10, 13, 16, 18, 20, 22})
        f.main->KradonTB_ButtonClick(index);
    EXPECT_TRUE(f.messages.shown.empty());
    EXPECT_TRUE(f.windows().empty());
}

TEST(frmMain, ButtonsAndStatusBar) {
    MainWindowFixture f;
    EXPECT_EQ(f.main->findChild<QPushButton*>("submit")->text(), "Analyse");
    const QStringList captions = {"Beam", "Mesh", "BMD", "SFD", "DSD", "E-Value", "I-Value"};
    for (int i = 0; i < 7; ++i) {
        auto* button = f.main->findChild<QPushButton*>(QString("GraphBtn_%1").arg(i));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), captions[i]);
        EXPECT_EQ(button->parentWidget()->objectName(), "BtnFrame");
    }
    EXPECT_NE(f.main->findChild<QStatusBar*>("sBar"), nullptr);
    EXPECT_EQ(f.main->sBarPanel[0]->text(), "Kradon - Advanced Finite Element Beam Analysis");
    EXPECT_EQ(f.main->sBarPanel[0]->toolTip(), "Kradon - Advanced Finite Element Beam Analysis");
    EXPECT_EQ(f.main->sBarPanel[1]->text(), "");
}

/// Clicks the span field, replaces its text and presses Enter, as a user does.
void typeSpan(frmMain& main, const QString& text) {
    QLineEdit* span = main.findChild<QLineEdit*>("spanTxt");
    EXPECT_TRUE(span->isReadOnly());
    QTest::mouseClick(span, Qt::LeftButton);
    EXPECT_FALSE(span->isReadOnly());
    span->selectAll();
    QTest::keyClick(span, Qt::Key_Delete);
    QTest::keyClicks(span, text);
    QTest::keyClick(span, Qt::Key_Return);
    EXPECT_TRUE(span->isReadOnly());
}

TEST(frmMain, TheSpanIsTakenWhenTheFieldIsConfirmedAndOnlyIfItIsALength) {
    struct Case {
        const char* text;
        double span; // after Enter
        bool refused;
    };
    const std::vector<Case> cases = {
        {"20", 20, false}, {"11", 11, false},   {"abc", 15, true}, {"-5", 15, true},
        {"0", 15, true},   {"1e999", 15, true}, {"", 15, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        MainWindowFixture f;
        f.main->GraphBtn_Click(1);
        f.main->GraphBtn_Click(0);
        const std::vector<QString> windows = f.windows();
        QPointer<QMdiSubWindow> mesh = f.main->mdi().childOfKind(1);
        int changes = 0;
        QObject::connect(f.main.get(), &frmMain::modelEdited, [&] { ++changes; });
        typeSpan(*f.main, c.text);
        EXPECT_EQ(f.main->state().model.span, c.span);
        EXPECT_EQ(changes, c.refused ? 0 : 1) << "one change, not one per keystroke";
        EXPECT_EQ(f.main->mnuUndo->text(), c.refused ? "&Undo" : "&Undo Change Span");
        EXPECT_EQ(f.windows(), windows) << "no window closes";
        EXPECT_FALSE(mesh.isNull());
        if (c.refused) {
            EXPECT_EQ(f.main->spanTxt->text(), "15") << "the field shows the span again";
            EXPECT_EQ(f.messages.texts(),
                      std::vector<std::string>{"Beam Length: \"" + std::string(c.text) +
                                               "\" is not a positive number of metres. The "
                                               "span stays 15 m."});
        } else {
            EXPECT_TRUE(f.messages.shown.empty());
        }
    }
}

TEST(frmMain, TabbingAwayFromTheSpanFieldConfirmsItAsEnterDoes) {
    MainWindowFixture f;
    QTest::mouseClick(f.main->spanTxt, Qt::LeftButton);
    f.main->spanTxt->selectAll();
    QTest::keyClicks(f.main->spanTxt, "12");
    EXPECT_EQ(f.main->state().model.span, 15) << "not while typing";
    QTest::keyClick(f.main->spanTxt, Qt::Key_Tab);
    EXPECT_EQ(f.main->state().model.span, 12);
    EXPECT_TRUE(f.main->spanTxt->isReadOnly());

    // Analyse takes a span typed but not yet confirmed; one that is refused leaves the span.
    QTest::mouseClick(f.main->spanTxt, Qt::LeftButton);
    f.main->spanTxt->selectAll();
    QTest::keyClicks(f.main->spanTxt, "14");
    f.main->AnalyseCommand();
    EXPECT_EQ(f.main->state().model.span, 14);
    QTest::mouseClick(f.main->spanTxt, Qt::LeftButton);
    f.main->spanTxt->selectAll();
    QTest::keyClicks(f.main->spanTxt, "x");
    f.messages.shown.clear();
    f.main->AnalyseCommand();
    EXPECT_EQ(f.messages.texts().front(),
              "Beam Length: \"x\" is not a positive number of metres. The span stays 14 m.");
    EXPECT_EQ(f.main->state().model.span, 14);
    EXPECT_EQ(f.main->spanTxt->text(), "14");
}

TEST(frmMain, ResetEmptiesTheTablesButLeavesTheSpanField) {
    MainWindowFixture f;
    ASSERT_TRUE(f.main->OpenModel(QString::fromStdString(ExamplePath("cantilever.kdn"))));
    f.main->submit_Click();
    ASSERT_GT(f.main->state().mesh.NodeCount, 0);
    const QString shown = f.main->spanTxt->text();
    f.main->Reset();
    const ProgramState& s = f.main->state();
    EXPECT_EQ(s.model.span, 15);
    for (int k = 0; k < RecordKindCount; ++k)
        EXPECT_EQ(s.model.counts[static_cast<std::size_t>(k)], 0);
    EXPECT_EQ(s.mesh.NodeCount, 0);
    EXPECT_EQ(s.mesh.ElementCount, 0);
    EXPECT_EQ(s.mesh.NodeX, std::vector<double>{0.0});
    EXPECT_EQ(s.results.NodeMoment, std::vector<double>{0.0});
    EXPECT_EQ(s.AnalysisTime, 0);
    EXPECT_EQ(f.main->spanTxt->text(), shown);
    EXPECT_EQ(f.main->windowTitle(),
              "Kradon - [" + QString::fromStdString(ExamplePath("cantilever.kdn")) + "]");
}

std::vector<std::int16_t> readRecord(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::int16_t> fields;
    unsigned char b[2];
    while (in.read(reinterpret_cast<char*>(b), 2))
        fields.push_back(static_cast<std::int16_t>(b[0] | (b[1] << 8)));
    return fields;
}

TEST(frmMain, OrderlyExitWritesTheFourteenByteSettingsFile) {
    MainWindowFixture f;
    const auto ini = f.folder() / "kradon.INI";
    f.main->LoadIni();
    ASSERT_TRUE(std::filesystem::exists(ini)) << "created empty by the first start-up";
    EXPECT_EQ(std::filesystem::file_size(ini), 0u);
    f.main->mnuView_TotD->trigger(); // unchecks: no tips next time
    f.main->GraphBtn_Click(2);
    f.main->mnuExit->trigger();
    EXPECT_FALSE(f.main->isVisible());
    EXPECT_TRUE(f.windows().empty()) << "child windows close at shut-down";
    ASSERT_EQ(std::filesystem::file_size(ini), 14u);
    const std::vector<std::int16_t> record = readRecord(ini);
    ASSERT_EQ(record.size(), 7u);
    EXPECT_GT(record[2], 0) << "width in twips";
    EXPECT_GT(record[3], 0) << "height in twips";
    EXPECT_EQ(record[4], 0) << "normal window";
    EXPECT_EQ(record[5], 0) << "tips switched off";
    EXPECT_EQ(record[6], -1) << "properties box checked";
}

TEST(frmMain, SettingsFileIsReadAtTheNextStart) {
    MainWindowFixture first;
    first.main->LoadIni();
    first.main->mnuView_TotD->trigger();
    first.main->resize(900, 640);
    first.main->close();
    const auto ini = first.folder() / "kradon.INI";
    ASSERT_EQ(std::filesystem::file_size(ini), 14u);
    const std::vector<std::int16_t> written = readRecord(ini);
    EXPECT_EQ(written[2], 900 * 15) << "twips at 96 dpi";
    EXPECT_EQ(written[3], 640 * 15);

    RecordingShellSink messages;
    ScriptedFilePicker files;
    frmMain second(messages, files, first.main->paths());
    int tips = 0;
    QObject::connect(&second, &frmMain::tipOfTheDayRequested, [&] { ++tips; });
    second.show();
    second.LoadIni();
    EXPECT_EQ(tips, 0) << "tips were switched off";
    EXPECT_FALSE(second.mnuView_TotD->isChecked());
    EXPECT_EQ(second.showTips(), false);
    EXPECT_EQ(second.size(), QSize(900, 640));
    second.close();
    EXPECT_EQ(readRecord(ini), written);
}

TEST(frmMain, ShortSettingsFileAppliesWhatItHolds) {
    MainWindowFixture f;
    const auto ini = f.folder() / "kradon.INI";
    f.main->resize(800, 600);
    // top and left only: 150 and 300 twips.
    const unsigned char bytes[] = {150, 0, 44, 1};
    std::ofstream(ini, std::ios::binary).write(reinterpret_cast<const char*>(bytes), 4);
    f.main->LoadIni();
    EXPECT_EQ(f.main->size(), QSize(800, 600));
    EXPECT_TRUE(f.main->mnuView_TotD->isChecked());
    EXPECT_EQ(f.main->formSettings().top, 150);
    EXPECT_EQ(f.main->formSettings().left, 300);
}

TEST(frmMain, FirstStartAsksForTheTipOfTheDayOnce) {
    MainWindowFixture f;
    int tips = 0;
    QObject::connect(f.main.get(), &frmMain::tipOfTheDayRequested, [&] { ++tips; });
    f.main->LoadIni();
    EXPECT_EQ(tips, 1);
}

TEST(frmMain, HelpWithoutAGuideSaysSo) {
    // No guide at all, and a guide that has gone missing from where it was installed.
    for (const bool installed : {false, true}) {
        MainWindowFixture f(installed ? "Kradon.html" : "");
        f.main->mnuHelpContents->trigger();
        ASSERT_EQ(f.messages.shown.size(), 1u) << installed;
        EXPECT_EQ(f.messages.shown[0].text, "Unable to display Help Contents. There is no Help "
                                            "associated with this project.");
        EXPECT_EQ(f.messages.shown[0].title, "Kradon (v 1.0.6)");
        EXPECT_EQ(f.messages.shown[0].icon, Icon::Information);
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
    help->helpBrowser->setSource(
        QUrl::fromLocalFile(QString::fromStdString((f.folder() / "more.html").string())));
    EXPECT_EQ(help->helpContents->topLevelItem(0)->text(0), "More");
    EXPECT_TRUE(help->helpBackBtn->isEnabled());
    help->helpBackBtn->click();
    EXPECT_EQ(help->helpContents->topLevelItem(0)->text(0), "Kradon user guide");
    EXPECT_TRUE(help->helpForwardBtn->isEnabled());

    // Open in Browser hands the page to the desktop, and says so when it cannot.
    help->helpBrowserBtn->click();
    ASSERT_EQ(f.desktop.opened.size(), 1u);
    EXPECT_EQ(f.desktop.opened[0], QString::fromStdString(guide.string()));
    EXPECT_EQ(f.messages.texts(), std::vector<std::string>{"The desktop has no program to open " +
                                                           guide.string() + "."});

    // One window, brought forward again.
    help->close();
    f.main->mnuHelpContents->trigger();
    EXPECT_EQ(f.main->findChildren<frmHelp*>("frmHelp").size(), 1u);
    EXPECT_TRUE(help->isVisible());
}

TEST(frmMain, AnOversizedGuideIsNotReadIntoTheHelpWindow) {
    MainWindowFixture f("Kradon.html");
    std::ofstream(f.folder() / "Kradon.html") << std::string(HelpFileMaxBytes + 1, ' ');
    f.main->mnuHelpContents->trigger();
    ASSERT_EQ(f.messages.shown.size(), 1u);
    EXPECT_EQ(f.messages.shown[0].text,
              "Unable to display Help Contents. There is no Help associated with this "
              "project.\r\nIt is larger than the 16777216 bytes that a help file can hold");
    EXPECT_EQ(f.main->findChild<frmHelp*>("frmHelp"), nullptr);
}

} // namespace
} // namespace kradon::test
