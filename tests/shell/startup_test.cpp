// The start-up: the user details form when the details are missing, the splash over the
// disabled main window, the tip of the day and, from its OK, the properties explorer; and the
// tip of the day and the about box opened from the Help menu.
#include "ManualTimerSource.h"
#include "ShellTestSupport.h"
#include "app/SettingsStore.h"
#include "app/frmProperties.h"
#include "app/settings/Startup.h"
#include "app/settings/frmAbout.h"
#include "app/settings/frmIntro.h"
#include "app/settings/frmSplash.h"
#include "app/settings/frmTip.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSysInfo>
#include <QTest>
#include <array>
#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace kradon::test {
namespace {

using namespace std::chrono_literals;
using Names = std::vector<std::string>;

/// The start-up windows in the order they appear.
class ShownWindows : public QObject {
public:
    ShownWindows() { qApp->installEventFilter(this); }
    ~ShownWindows() override { qApp->removeEventFilter(this); }
    Names order;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        static const QStringList names = {"frmIntro", "frmSplash", "frmMain", "frmTip",
                                          "frmProperties"};
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show && widget != nullptr && widget->isWindow() &&
            names.contains(widget->objectName()))
            order.push_back(widget->objectName().toStdString());
        return false;
    }
};

/// A start-up over a temporary folder, with the tips file in it and a clock moved by hand.
struct StartupFixture {
    StartupFixture() {
        paths.settingsFile = folder() / "kradon.INI";
        paths.analysisFolder = folder();
        paths.saveFolder = folder();
        paths.settingsStore = folder() / "settings.conf";
        paths.tipsFile = folder() / "TOTD.INI";
        std::ofstream(paths.tipsFile) << "Tip one\nTip two\nTip three\n";
    }
    std::filesystem::path folder() const { return dir.path().toStdString(); }
    void store(const char* section, const char* key, const QString& value) {
        SettingsStore(paths.settingsStore).SaveSetting(section, key, value);
    }
    QString stored(const char* section, const char* key) const {
        return SettingsStore(paths.settingsStore).GetSetting(section, key);
    }
    void withUserDetails() {
        store("Config", "name", "Ada Engineer");
        store("Config", "org", "Beam Works Ltd");
    }
    Startup& start() {
        startup = std::make_unique<Startup>(messages, files, paths, clock);
        startup->Main();
        return *startup;
    }

    QTemporaryDir dir;
    ShellPaths paths;
    RecordingShellSink messages;
    ScriptedFilePicker files;
    ManualTimerSource clock;
    ShownWindows shown;
    std::unique_ptr<Startup> startup;
};

TEST(Startup, WithUserDetailsTheSplashComesFirstAndTheTipsOKOpensTheExplorerIfSwitchedOn) {
    for (const bool explorer : {true, false}) {
        SCOPED_TRACE(explorer ? "explorer switched on" : "explorer switched off");
        StartupFixture f;
        f.withUserDetails();
        f.store("Options", "Properties", explorer ? "True" : "False");
        Startup& s = f.start();
        EXPECT_EQ(f.shown.order, (Names{"frmSplash", "frmMain", "frmTip"}));
        EXPECT_EQ(s.introForm(), nullptr);
        ASSERT_NE(s.mainWindow(), nullptr);
        ASSERT_NE(s.splash(), nullptr);
        frmMain& main = *s.mainWindow();
        EXPECT_EQ(main.windowTitle(), "Kradon (v 1.0.6)");
        EXPECT_FALSE(main.isEnabled()) << "disabled while the splash is up";
        EXPECT_EQ(s.splash()->lblUserName->text(), "Ada Engineer");
        EXPECT_EQ(s.splash()->lblOrganisationName->text(), "Beam Works Ltd");
        EXPECT_TRUE(std::filesystem::exists(f.paths.settingsFile)) << "created at first start";

        f.clock.advanceTo(1999ms);
        EXPECT_TRUE(s.splash()->isVisible());
        EXPECT_FALSE(main.isEnabled());
        f.clock.advanceTo(2000ms);
        Settle();
        EXPECT_EQ(s.splash(), nullptr);
        EXPECT_TRUE(main.isEnabled());
        EXPECT_EQ(main.properties(), nullptr) << "only the tip dialog's OK opens it";

        ASSERT_NE(main.tipDialog(), nullptr);
        EXPECT_TRUE(main.tipDialog()->isEnabled());
        QTest::mouseClick(main.tipDialog()->cmdOK, Qt::LeftButton);
        Settle();
        EXPECT_EQ(main.tipDialog(), nullptr);
        ASSERT_EQ(main.properties() != nullptr, explorer);
        if (explorer) {
            EXPECT_EQ(f.shown.order.back(), "frmProperties");
            EXPECT_TRUE(main.properties()->isVisible());
        }
        EXPECT_EQ(main.mnuView_Properties->isChecked(), explorer);
        EXPECT_EQ(main.propertiesOpen(), explorer);
        EXPECT_TRUE(f.messages.shown.empty());
    }
}

TEST(Startup, WithoutUserDetailsOnlyTheFormAppearsAndAsksForWhatIsMissing) {
    for (const bool nameStored : {false, true}) {
        SCOPED_TRACE(nameStored ? "name stored, organisation missing" : "nothing stored");
        StartupFixture f;
        if (nameStored)
            f.store("Config", "name", "Ada Engineer");
        Startup& s = f.start();
        EXPECT_EQ(f.shown.order, Names{"frmIntro"});
        EXPECT_EQ(s.mainWindow(), nullptr);
        EXPECT_EQ(s.splash(), nullptr);
        frmIntro* intro = s.introForm();
        ASSERT_NE(intro, nullptr);
        EXPECT_EQ(intro->windowTitle(), "Welcome to Kradon by Tarel Vestrun !!");
        // A fixed size: the window frame draws no resize handle under the form's bottom edge.
        EXPECT_EQ(intro->minimumSize(), intro->maximumSize());
        EXPECT_GE(intro->width(), 400);
        const auto enter = [intro](const char* name, const char* organisation) {
            intro->nameTxt->clear();
            intro->organTxt->clear();
            QTest::keyClicks(intro->nameTxt, name);
            QTest::keyClicks(intro->organTxt, organisation);
            QTest::mouseClick(intro->OKButton, Qt::LeftButton);
        };

        const std::vector<std::array<const char*, 3>> refused = {
            {"", "", "Please input your information"},
            {"Ada Engineer", "", "Please input your organisation"},
            {"", "Beam Works Ltd", "Please input your name"}};
        for (const auto& [name, organisation, text] : refused) {
            enter(name, organisation);
            ASSERT_FALSE(f.messages.shown.empty());
            EXPECT_EQ(f.messages.shown.back().title, "Kradon by Tarel Vestrun");
            EXPECT_EQ(f.messages.shown.back().text, text);
            EXPECT_EQ(f.messages.shown.back().icon, Icon::Exclamation);
            EXPECT_TRUE(intro->isVisible()) << "the form stays for the correction";
            EXPECT_EQ(s.mainWindow(), nullptr);
            EXPECT_EQ(f.stored("Config", "org"), "");
        }
        EXPECT_EQ(f.messages.shown.size(), refused.size());

        f.messages.shown.clear();
        enter("Grace Designer", "Span & Co");
        EXPECT_EQ(f.shown.order, (Names{"frmIntro", "frmSplash", "frmMain", "frmTip"}));
        EXPECT_EQ(f.stored("Config", "name"), "Grace Designer");
        EXPECT_EQ(f.stored("Config", "org"), "Span & Co");
        EXPECT_FALSE(intro->isVisible());
        ASSERT_NE(s.mainWindow(), nullptr);
        EXPECT_FALSE(s.mainWindow()->isEnabled());
        EXPECT_EQ(s.splash()->lblUserName->text(), "Grace Designer");
        Settle();
        EXPECT_EQ(s.introForm(), nullptr);
        f.clock.advanceTo(2000ms);
        EXPECT_TRUE(s.mainWindow()->isEnabled());
        EXPECT_TRUE(f.messages.shown.empty());
    }
}

TEST(Startup, CancelInTheUserDetailsFormQuitsOnlyOnYes) {
    StartupFixture f;
    Startup& s = f.start();
    int quits = 0;
    QObject::connect(&s, &Startup::quitRequested, [&] { ++quits; });
    f.messages.answers = {Answer::No, Answer::Yes};
    QTest::mouseClick(s.introForm()->CancelButton, Qt::LeftButton);
    EXPECT_EQ(quits, 0);
    EXPECT_TRUE(s.introForm()->isVisible());
    QTest::mouseClick(s.introForm()->CancelButton, Qt::LeftButton);
    EXPECT_EQ(quits, 1);
    ASSERT_EQ(f.messages.asked.size(), 2u);
    EXPECT_EQ(f.messages.asked[0].title, "Kradon by Tarel Vestrun");
    EXPECT_EQ(f.messages.asked[0].text, "Do you want to quit?");
    EXPECT_EQ(s.mainWindow(), nullptr);
}

TEST(Startup, TipsSwitchedOffMeansNoTipAndNoPropertiesExplorer) {
    StartupFixture f;
    f.withUserDetails();
    f.store("Options", "Properties", "True");
    // A settings file from an earlier run: tips off, properties box checked.
    const unsigned char record[14] = {0, 0, 0, 0, 0x70, 0x17, 0x60, 0x0f, 0, 0, 0, 0, 0xff, 0xff};
    std::ofstream(f.paths.settingsFile, std::ios::binary)
        .write(reinterpret_cast<const char*>(record), sizeof record);
    Startup& s = f.start();
    EXPECT_EQ(f.shown.order, (Names{"frmSplash", "frmMain"}));
    EXPECT_EQ(s.mainWindow()->tipDialog(), nullptr);
    f.clock.advanceTo(5000ms);
    EXPECT_EQ(s.mainWindow()->properties(), nullptr);
}

// The splash stays two seconds at least, and until the program is ready.
TEST(frmSplash, ShowsTheUserAndClosesAtTwoSecondsOrWhenReadyWhicheverIsLater) {
    struct Row {
        ManualTimerSource::ms readyAt;
        ManualTimerSource::ms closesAt;
    };
    for (const Row row : {Row{500ms, 2000ms}, Row{3000ms, 3000ms}}) {
        SCOPED_TRACE(row.readyAt.count());
        ManualTimerSource clock;
        QWidget main;
        main.setEnabled(false);
        QPointer<frmSplash> splash = new frmSplash({"Ada Engineer", "Beam Works Ltd"}, clock);
        const Captions captions = {{"lblProductName", "Kradon"},
                                   {"lblVersion", "Version 1.0.6"},
                                   {"lblPlatform", QString("Linux %1bit").arg(QSysInfo::WordSize)},
                                   {"lblWarning",
                                    " Warning:    The user of this program accepts all "
                                    "liablility that may result from its use."},
                                   {"lblUser", "User:"},
                                   {"lblUserName", "Ada Engineer"},
                                   {"lblOrganisation", "Organisation:"},
                                   {"lblOrganisationName", "Beam Works Ltd"}};
        ExpectCaptions(*splash, captions);
        splash->setMainWindow(&main);
        splash->ShowSplash();
        // The clock runs on in steps of 100 ms; the program is ready at readyAt.
        ManualTimerSource::ms closedAt{-1};
        for (ManualTimerSource::ms t{0}; t <= 5000ms && closedAt < 0ms; t += 100ms) {
            clock.advanceTo(t);
            if (t == row.readyAt)
                splash->ReadyToWork();
            if (!splash->isVisible())
                closedAt = t;
            EXPECT_EQ(main.isEnabled(), closedAt >= 0ms) << "at " << t.count() << " ms";
        }
        EXPECT_EQ(closedAt, row.closesAt);
        Settle();
        EXPECT_EQ(splash, nullptr) << "destroyed once closed";
    }
}

struct TipFixture : MainWindowFixture {
    void writeTips(const std::string& text) {
        std::ofstream(folder() / "TOTD.INI", std::ios::binary) << text;
    }
    void store(const char* key, const QString& value) {
        main->settings().SaveSetting("Options", key, value);
    }
    QString stored(const char* key) const { return main->settings().GetSetting("Options", key); }
    frmTip& openTip() {
        main->mnuHelp_ShowTotD->trigger();
        if (main->tipDialog() == nullptr)
            throw std::runtime_error("no tip dialog");
        return *main->tipDialog();
    }
};

TEST(frmTip, ShowsItsCaptionAndControls) {
    TipFixture f;
    f.writeTips("Only tip\n");
    frmTip& tip = f.openTip();
    EXPECT_TRUE(tip.isVisible());
    EXPECT_EQ(tip.parentWidget(), f.main.get()) << "owned by the main window";
    EXPECT_FALSE(tip.isModal());
    EXPECT_EQ(tip.windowTitle(), "Kradon (v 1.0.6) Tip Of The Day");
    const Captions captions = {{"lblDidYouKnow", "Did you know..."},
                               {"fraTipOrder", "Tip Order"},
                               {"tipOrderOpt_0", "Random"},
                               {"tipOrderOpt_1", "Rotated"},
                               {"chkLoadTipsAtStartup", "&Show Tips at Startup"},
                               {"cmdNextTip", "&Next Tip"},
                               {"cmdOK", "OK"},
                               {"lblTipText", "Only tip"}};
    ExpectCaptions(tip, captions);
    EXPECT_TRUE(tip.tipOrderOpt[0]->isChecked()) << "random order unless stored otherwise";
    EXPECT_TRUE(tip.chkLoadTipsAtStartup->isChecked());
    f.main->mnuHelp_ShowTotD->trigger();
    EXPECT_EQ(f.main->findChildren<frmTip*>().size(), 1) << "one tip dialog at a time";
}

// Rotated order goes on from the stored tip and stores the one shown; random order stores none.
TEST(frmTip, TipOrdersAndTheSwitchesAreStoredAsClicked) {
    TipFixture f;
    f.writeTips("Tip one\r\nTip two\r\nTip three\r\n");
    f.store("Tip Order", "False");
    f.store("Current Tip", "3");
    frmTip& tip = f.openTip();
    EXPECT_TRUE(tip.tipOrderOpt[1]->isChecked());
    EXPECT_EQ(tip.lblTipText->text(), "Tip one");
    EXPECT_EQ(f.stored("Current Tip"), "1");
    QTest::mouseClick(tip.cmdNextTip, Qt::LeftButton);
    EXPECT_EQ(tip.lblTipText->text(), "Tip two");
    EXPECT_EQ(f.stored("Current Tip"), "2");

    QTest::mouseClick(tip.tipOrderOpt[0], Qt::LeftButton);
    EXPECT_EQ(f.stored("Tip Order"), "True");
    for (int i = 0; i < 20; ++i) {
        QTest::mouseClick(tip.cmdNextTip, Qt::LeftButton);
        EXPECT_TRUE(tip.lblTipText->text().startsWith("Tip "))
            << tip.lblTipText->text().toStdString();
    }
    EXPECT_EQ(f.stored("Current Tip"), "2");
    QTest::mouseClick(tip.tipOrderOpt[1], Qt::LeftButton);
    EXPECT_EQ(f.stored("Tip Order"), "False");
    for (const char* stored : {"0", "1"}) {
        QTest::mouseClick(tip.chkLoadTipsAtStartup, Qt::LeftButton);
        EXPECT_EQ(f.stored("Show Tips at Startup"), stored);
    }
}

TEST(frmTip, MissingFileIsExplainedInTheDialogAndAnEmptyOneShowsNothing) {
    TipFixture missing;
    frmTip& tip = missing.openTip();
    EXPECT_EQ(tip.lblTipText->text(),
              "That the TOTD.INI file was not found? \n\nCreate a text file named TOTD.INI using a "
              "text editor with 1 tip per line. Then place it in the same directory as the "
              "application. ");
    QTest::mouseClick(tip.cmdNextTip, Qt::LeftButton);
    EXPECT_TRUE(tip.lblTipText->text().startsWith("That the TOTD.INI")) << "nothing new";

    TipFixture empty;
    empty.writeTips("");
    frmTip& none = empty.openTip();
    EXPECT_TRUE(none.Tips().empty());
    EXPECT_EQ(none.lblTipText->text(), "") << "the label keeps its design text";
}

TEST(frmTip, OKWithTheBoxClearedSwitchesTheTipsOffAndCloses) {
    TipFixture f;
    frmTip& tip = f.openTip();
    QTest::mouseClick(tip.chkLoadTipsAtStartup, Qt::LeftButton);
    QTest::mouseClick(tip.cmdOK, Qt::LeftButton);
    Settle();
    EXPECT_EQ(f.main->tipDialog(), nullptr);
    EXPECT_EQ(f.main->showTips(), false);
    EXPECT_FALSE(f.main->mnuView_TotD->isChecked());

    frmTip& again = f.openTip();
    EXPECT_TRUE(again.chkLoadTipsAtStartup->isChecked()) << "always checked when it opens";
    QTest::mouseClick(again.cmdOK, Qt::LeftButton);
    EXPECT_TRUE(f.main->showTips());
    EXPECT_TRUE(f.main->mnuView_TotD->isChecked());
}

TEST(frmAbout, ShowsTitleVersionDescriptionAndDisclaimerModally) {
    MainWindowFixture f;
    f.main->mnuHelpAbout->trigger();
    auto* about = f.main->findChild<frmAbout*>("frmAbout");
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_TRUE(about->isModal());
    EXPECT_EQ(about->windowTitle(), "About Kradon by Tarel Vestrun");
    ExpectCaptions(*about, {{"lblVersion", "Version 1.0.6"},
                            {"lblDescription", "Kradon is a program to analyse beams using the "
                                               "finite element method."}});
    const QString disclaimer = CaptionOf(*about, "lblDisclaimer");
    EXPECT_TRUE(disclaimer.startsWith("Warning: ...  "));
    EXPECT_TRUE(disclaimer.endsWith(
        "  Use of this program infers acceptance that any liablility that results from its use "
        "is the full responsibility of the user. No warranty, direct or implied, is given."));
    QTest::mouseClick(about->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    Settle();
    EXPECT_EQ(f.main->findChild<frmAbout*>("frmAbout"), nullptr);
}

} // namespace
} // namespace kradon::test
