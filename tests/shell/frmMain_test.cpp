// The main window's span field, settings file and help.
#include "ShellTestSupport.h"
#include "app/frmHelp.h"
#include "core/FileSafetySupport.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <fstream>
#include <gtest/gtest.h>

namespace kradon::test {
namespace {

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
    MainWindowFixture f;
    f.main->GraphBtn_Click(0);
    QSignalSpy changes(f.main.get(), &frmMain::modelEdited);
    for (const std::string text : {"abc", "-5", "0", "1e999", ""}) {
        f.messages.shown.clear();
        typeSpan(*f.main, QString::fromStdString(text));
        EXPECT_EQ(f.messages.texts(), std::vector<std::string>{"Beam Length: \"" + text +
                                                               "\" is not a positive number of "
                                                               "metres. The span stays 15 m."});
        EXPECT_EQ(f.main->spanTxt->text(), "15");
    }
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(f.main->mnuUndo->text(), "&Undo");
    typeSpan(*f.main, "20");
    EXPECT_EQ(f.main->state().model.span, 20);
    EXPECT_EQ(changes.count(), 1) << "one change, not one per keystroke";
    EXPECT_EQ(f.main->mnuUndo->text(), "&Undo Change Span");
    EXPECT_EQ(f.windows(), std::vector<QString>{"Idealised Beam"}) << "no window closes";

    // Tab away confirms as Enter does; not while typing.
    typeSpan(*f.main, "12", Qt::Key_unknown);
    EXPECT_EQ(f.main->state().model.span, 20) << "not while typing";
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
    EXPECT_EQ(f.main->spanTxt->text(), "14");
}

TEST(frmMain, OrderlyExitWritesTheSettingsFileThatTheNextStartReads) {
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
    const std::string written = fileBytes(ini);
    ASSERT_EQ(written.size(), 14u) << "the layout is the settings record's own (tests/core)";

    RecordingShellSink messages;
    ScriptedFilePicker files;
    frmMain second(messages, files, first.main->paths());
    QObject::connect(&second, &frmMain::tipOfTheDayRequested, [&] { ++tips; });
    second.show();
    second.LoadIni();
    EXPECT_EQ(tips, 1) << "tips were switched off";
    EXPECT_FALSE(second.mnuView_TotD->isChecked());
    EXPECT_EQ(second.size(), QSize(900, 640));
    second.close();
    EXPECT_EQ(fileBytes(ini), written);
}

TEST(frmMain, HelpShowsTheGuideInItsOwnWindowWithContentsLinksAndFindOrSaysWhyNot) {
    const std::string none =
        "Unable to display Help Contents. There is no Help associated with this project.";
    {
        MainWindowFixture nothing; // no guide installed
        nothing.main->mnuHelpContents->trigger();
        EXPECT_EQ(nothing.messages.texts(), std::vector<std::string>{none});
    }
    // A guide gone missing from where it was installed, or too large: said so, and no window.
    MainWindowFixture f("Kradon.html");
    const auto guide = f.folder() / "Kradon.html";
    f.main->mnuHelpContents->trigger();
    std::ofstream(guide) << std::string(HelpFileMaxBytes + 1, ' ');
    f.main->mnuHelpContents->trigger();
    EXPECT_EQ(
        f.messages.texts(),
        (std::vector<std::string>{
            none, none + "\r\nIt is larger than the 16777216 bytes that a help file can hold"}));
    EXPECT_EQ(f.messages.shown[0].icon, Icon::Information);
    EXPECT_EQ(f.main->findChild<frmHelp*>("frmHelp"), nullptr);
    f.messages.shown.clear();

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

    // Contents: the headings, nested; an entry leads to its heading.
    QTreeWidgetItem* top = help->helpContents->topLevelItem(0);
    ASSERT_TRUE(top != nullptr && top->childCount() == 2);
    EXPECT_EQ(top->text(0), "Kradon user guide");
    EXPECT_EQ(top->child(0)->child(0)->text(0), "Loads");
    help->showHeading(top->child(1));
    EXPECT_EQ(help->helpBrowser->textCursor().block().text(), "Analysing");

    // Find goes round to the start; a text that is not there is said so.
    EXPECT_TRUE(help->findNext("Press"));
    EXPECT_FALSE(help->findNext("Gerber"));
    EXPECT_EQ(help->helpFindLbl->text(), "Not found");

    // A link stays in the window, its contents follow, and Back returns.
    help->helpBrowser->setSource(QUrl::fromLocalFile(QPath(f.folder() / "more.html")));
    EXPECT_EQ(help->helpContents->topLevelItem(0)->text(0), "More");
    help->helpBackBtn->click();
    EXPECT_EQ(help->helpContents->topLevelItem(0)->text(0), "Kradon user guide");

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
