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
#include <QTest>
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
    StartupFixture() { std::ofstream(paths.tipsFile) << "Tip one\nTip two\nTip three\n"; }
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
    ShellPaths paths = ShellPaths::InFolder(dir.path().toStdString());
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
        ASSERT_NE(s.mainWindow(), nullptr);
        ASSERT_NE(s.splash(), nullptr);
        frmMain& main = *s.mainWindow();
        EXPECT_FALSE(main.isEnabled()) << "disabled while the splash is up";
        EXPECT_EQ(s.splash()->lblOrganisationName->text(), "Beam Works Ltd");
        EXPECT_TRUE(std::filesystem::exists(f.paths.settingsFile)) << "created at first start";

        f.clock.advanceTo(1999ms);
        EXPECT_TRUE(s.splash()->isVisible());
        f.clock.advanceTo(2000ms);
        Settle();
        EXPECT_EQ(s.splash(), nullptr);
        EXPECT_TRUE(main.isEnabled());
        EXPECT_EQ(main.properties(), nullptr) << "only the tip dialog's OK opens it";

        ASSERT_NE(main.tipDialog(), nullptr);
        QTest::mouseClick(main.tipDialog()->cmdOK, Qt::LeftButton);
        Settle();
        EXPECT_EQ(main.tipDialog(), nullptr);
        ASSERT_EQ(main.properties() != nullptr, explorer);
        if (explorer) {
            EXPECT_EQ(f.shown.order.back(), "frmProperties");
            EXPECT_TRUE(main.properties()->isVisible());
        }
        EXPECT_EQ(main.mnuView_Properties->isChecked(), explorer);
        EXPECT_TRUE(f.messages.shown.empty());
    }
}

TEST(Startup, WithoutUserDetailsOnlyTheFormAppearsAndAsksForWhatIsMissing) {
    StartupFixture f;
    f.store("Config", "name", "Ada Engineer");
    Startup& s = f.start();
    EXPECT_EQ(f.shown.order, Names{"frmIntro"});
    frmIntro* intro = s.introForm();
    ASSERT_NE(intro, nullptr);
    // A fixed size: the window frame draws no resize handle under the form's bottom edge.
    EXPECT_EQ(intro->minimumSize(), intro->maximumSize());
    const auto enter = [intro](const char* name, const char* organisation) {
        intro->nameTxt->clear();
        intro->organTxt->clear();
        QTest::keyClicks(intro->nameTxt, name);
        QTest::keyClicks(intro->organTxt, organisation);
        QTest::mouseClick(intro->OKButton, Qt::LeftButton);
    };

    // Which field is missing picks the message; the form stays for the correction.
    enter("Ada Engineer", "");
    ASSERT_EQ(f.messages.shown.size(), 1u);
    EXPECT_EQ(f.messages.shown.back().text, "Please input your organisation");
    EXPECT_EQ(f.messages.shown.back().icon, Icon::Exclamation);
    EXPECT_TRUE(intro->isVisible());
    EXPECT_EQ(s.mainWindow(), nullptr);
    EXPECT_EQ(f.stored("Config", "org"), "");

    f.messages.shown.clear();
    enter("Grace Designer", "Span & Co");
    EXPECT_EQ(f.shown.order, (Names{"frmIntro", "frmSplash", "frmMain", "frmTip"}));
    EXPECT_EQ(f.stored("Config", "name"), "Grace Designer");
    EXPECT_EQ(f.stored("Config", "org"), "Span & Co");
    EXPECT_FALSE(intro->isVisible());
    ASSERT_NE(s.splash(), nullptr);
    EXPECT_EQ(s.splash()->lblUserName->text(), "Grace Designer");
    Settle();
    EXPECT_EQ(s.introForm(), nullptr);
    EXPECT_TRUE(f.messages.shown.empty());
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
    EXPECT_EQ(f.messages.asked[0].text, "Do you want to quit?");
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

// The splash stays two seconds at least (the start-up above), and until the program is ready.
TEST(frmSplash, StaysUntilTheProgramIsReadyWhenThatTakesLonger) {
    ManualTimerSource clock;
    QWidget main;
    main.setEnabled(false);
    QPointer<frmSplash> splash = new frmSplash({"Ada Engineer", "Beam Works Ltd"}, clock);
    splash->setMainWindow(&main);
    splash->ShowSplash();
    clock.advanceTo(3000ms);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_FALSE(main.isEnabled());
    splash->ReadyToWork();
    EXPECT_FALSE(splash->isVisible());
    EXPECT_TRUE(main.isEnabled());
    Settle();
    EXPECT_EQ(splash, nullptr) << "destroyed once closed";
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

// The tip dialog is owned, modeless and one at a time, and explains a missing tips file. Rotated
// order goes on from the stored tip and stores the one shown; random order stores none. OK with
// the box cleared switches the tips off; the box is checked again when it next opens. The about
// box is modal and goes on OK.
TEST(frmTip, OpensOnceAtATimeAndStoresTheOrderAndTheSwitchAsClicked) {
    TipFixture f;
    frmTip& missing = f.openTip();
    EXPECT_TRUE(missing.isVisible());
    EXPECT_EQ(missing.parentWidget(), f.main.get()) << "owned by the main window";
    EXPECT_FALSE(missing.isModal());
    EXPECT_EQ(missing.windowTitle(), "Kradon (v 1.0.6) Tip Of The Day");
    EXPECT_TRUE(missing.lblTipText->text().startsWith("That the TOTD.INI file was not found?"));
    EXPECT_TRUE(missing.tipOrderOpt[0]->isChecked()) << "random order unless stored otherwise";
    f.main->mnuHelp_ShowTotD->trigger();
    EXPECT_EQ(f.main->findChildren<frmTip*>().size(), 1) << "one tip dialog at a time";
    QTest::mouseClick(missing.cmdOK, Qt::LeftButton);
    Settle();

    f.writeTips("Tip one\r\nTip two\r\nTip three\r\n");
    f.store("Tip Order", "False");
    f.store("Current Tip", "3");
    frmTip& tip = f.openTip();
    EXPECT_TRUE(tip.tipOrderOpt[1]->isChecked());
    EXPECT_EQ(tip.lblTipText->text(), "Tip one");
    QTest::mouseClick(tip.cmdNextTip, Qt::LeftButton);
    EXPECT_EQ(tip.lblTipText->text(), "Tip two");
    EXPECT_EQ(f.stored("Current Tip"), "2");
    QTest::mouseClick(tip.tipOrderOpt[0], Qt::LeftButton);
    EXPECT_EQ(f.stored("Tip Order"), "True");
    QTest::mouseClick(tip.cmdNextTip, Qt::LeftButton);
    EXPECT_EQ(f.stored("Current Tip"), "2") << "random order stores none";

    QTest::mouseClick(tip.chkLoadTipsAtStartup, Qt::LeftButton);
    EXPECT_EQ(f.stored("Show Tips at Startup"), "0");
    QTest::mouseClick(tip.cmdOK, Qt::LeftButton);
    Settle();
    EXPECT_EQ(f.main->tipDialog(), nullptr);
    EXPECT_FALSE(f.main->showTips());
    EXPECT_FALSE(f.main->mnuView_TotD->isChecked());
    frmTip& again = f.openTip();
    EXPECT_TRUE(again.chkLoadTipsAtStartup->isChecked()) << "always checked when it opens";
    QTest::mouseClick(again.cmdOK, Qt::LeftButton);
    EXPECT_TRUE(f.main->showTips());
    EXPECT_TRUE(f.main->mnuView_TotD->isChecked());

    f.main->mnuHelpAbout->trigger();
    auto* about = f.main->findChild<frmAbout*>("frmAbout");
    ASSERT_TRUE(about != nullptr && about->isVisible() && about->isModal());
    QTest::mouseClick(about->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    Settle();
    EXPECT_EQ(f.main->findChild<frmAbout*>("frmAbout"), nullptr);
}

} // namespace
} // namespace kradon::test
