// The start-up: the user details form when the details are missing, the splash over the
// disabled main window, the tip of the day and, from its OK, the properties explorer.
#include "ManualTimerSource.h"
#include "ShellTestSupport.h"
#include "app/SettingsStore.h"
#include "app/frmProperties.h"
#include "app/settings/Startup.h"
#include "app/settings/frmIntro.h"
#include "app/settings/frmSplash.h"
#include "app/settings/frmTip.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSysInfo>
#include <QTest>
#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kradon::test {
namespace {

using namespace std::chrono_literals;

/// The start-up windows in the order they appear, and whether the main window could take
/// input as each one did.
class ShownWindows : public QObject {
public:
    ShownWindows() { qApp->installEventFilter(this); }
    ~ShownWindows() override { qApp->removeEventFilter(this); }
    std::vector<std::string> order;

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
    /// Lets the windows that closed themselves go.
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    QTemporaryDir dir;
    ShellPaths paths;
    RecordingShellSink messages;
    ScriptedFilePicker files;
    ManualTimerSource clock;
    ShownWindows shown;
    std::unique_ptr<Startup> startup;
};

TEST(Startup, WithUserDetailsTheSplashComesFirstAndTheMainWindowWaitsForIt) {
    StartupFixture f;
    f.withUserDetails();
    f.store("Options", "Properties", "True");
    Startup& s = f.start();
    EXPECT_EQ(f.shown.order, (std::vector<std::string>{"frmSplash", "frmMain", "frmTip"}));
    EXPECT_EQ(s.introForm(), nullptr);
    ASSERT_NE(s.mainWindow(), nullptr);
    ASSERT_NE(s.splash(), nullptr);
    EXPECT_EQ(s.mainWindow()->windowTitle(), "Kradon (v 1.0.6)");
    EXPECT_FALSE(s.mainWindow()->isEnabled()) << "disabled while the splash is up";
    EXPECT_EQ(s.splash()->lblUserName->text(), "Ada Engineer");
    EXPECT_EQ(s.splash()->lblOrganisationName->text(), "Beam Works Ltd");
    EXPECT_TRUE(std::filesystem::exists(f.paths.settingsFile)) << "created empty at first start";

    f.clock.advanceTo(1999ms);
    EXPECT_TRUE(s.splash()->isVisible());
    EXPECT_FALSE(s.mainWindow()->isEnabled());
    f.clock.advanceTo(2000ms);
    f.settle();
    EXPECT_EQ(s.splash(), nullptr);
    EXPECT_TRUE(s.mainWindow()->isEnabled());
    EXPECT_EQ(s.mainWindow()->properties(), nullptr) << "only the tip dialog's OK opens it";

    frmTip* tip = s.mainWindow()->tipDialog();
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(tip->isEnabled());
    QTest::mouseClick(tip->cmdOK, Qt::LeftButton);
    f.settle();
    EXPECT_EQ(s.mainWindow()->tipDialog(), nullptr);
    EXPECT_EQ(f.shown.order.back(), "frmProperties");
    ASSERT_NE(s.mainWindow()->properties(), nullptr);
    EXPECT_TRUE(s.mainWindow()->properties()->isVisible());
    EXPECT_EQ(s.mainWindow()->propertiesOpen(), true);
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(Startup, WithoutUserDetailsOnlyTheFormAppearsUntilItsOK) {
    for (const bool nameStored : {false, true}) {
        SCOPED_TRACE(nameStored ? "name stored, organisation missing" : "nothing stored");
        StartupFixture f;
        if (nameStored)
            f.store("Config", "name", "Ada Engineer");
        Startup& s = f.start();
        EXPECT_EQ(f.shown.order, std::vector<std::string>{"frmIntro"});
        EXPECT_EQ(s.mainWindow(), nullptr);
        EXPECT_EQ(s.splash(), nullptr);
        frmIntro* intro = s.introForm();
        ASSERT_NE(intro, nullptr);
        EXPECT_EQ(intro->windowTitle(), "Welcome to Kradon by Tarel Vestrun !!");
        // A fixed size: the window frame draws no resize handle under the form's bottom edge.
        EXPECT_EQ(intro->minimumSize(), intro->maximumSize());
        EXPECT_GE(intro->width(), 400);

        QTest::keyClicks(intro->nameTxt, "Grace Designer");
        QTest::keyClicks(intro->organTxt, "Span & Co");
        QTest::mouseClick(intro->OKButton, Qt::LeftButton);
        EXPECT_EQ(f.shown.order,
                  (std::vector<std::string>{"frmIntro", "frmSplash", "frmMain", "frmTip"}));
        EXPECT_EQ(f.stored("Config", "name"), "Grace Designer");
        EXPECT_EQ(f.stored("Config", "org"), "Span & Co");
        EXPECT_FALSE(intro->isVisible());
        ASSERT_NE(s.mainWindow(), nullptr);
        EXPECT_FALSE(s.mainWindow()->isEnabled());
        EXPECT_EQ(s.splash()->lblUserName->text(), "Grace Designer");
        f.settle();
        EXPECT_EQ(s.introForm(), nullptr);
        f.clock.advanceTo(2000ms);
        EXPECT_TRUE(s.mainWindow()->isEnabled());
        EXPECT_TRUE(f.messages.shown.empty());
    }
}

TEST(Startup, UserDetailsFormAsksForWhatIsMissing) {
    struct Row {
        const char* name;
        const char* organisation;
        const char* message;
    };
    const std::vector<Row> rows = {{"", "", "Please input your information"},
                                   {"Ada Engineer", "", "Please input your organisation"},
                                   {"", "Beam Works Ltd", "Please input your name"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.message);
        StartupFixture f;
        Startup& s = f.start();
        QTest::keyClicks(s.introForm()->nameTxt, row.name);
        QTest::keyClicks(s.introForm()->organTxt, row.organisation);
        QTest::mouseClick(s.introForm()->OKButton, Qt::LeftButton);
        ASSERT_EQ(f.messages.shown.size(), 1u);
        EXPECT_EQ(f.messages.shown[0].title, "Kradon by Tarel Vestrun");
        EXPECT_EQ(f.messages.shown[0].text, row.message);
        EXPECT_EQ(f.messages.shown[0].icon, Icon::Exclamation);
        EXPECT_TRUE(s.introForm()->isVisible()) << "the form stays for the correction";
        EXPECT_EQ(s.mainWindow(), nullptr);
        EXPECT_EQ(f.stored("Config", "name"), "");
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
    EXPECT_EQ(f.shown.order, (std::vector<std::string>{"frmSplash", "frmMain"}));
    EXPECT_EQ(s.mainWindow()->tipDialog(), nullptr);
    f.clock.advanceTo(5000ms);
    EXPECT_EQ(s.mainWindow()->properties(), nullptr);
}

TEST(Startup, TipOKWithThePropertiesSwitchedOffUnchecksTheItem) {
    StartupFixture f;
    f.withUserDetails();
    f.store("Options", "Properties", "False");
    Startup& s = f.start();
    f.clock.advanceTo(2000ms);
    QTest::mouseClick(s.mainWindow()->tipDialog()->cmdOK, Qt::LeftButton);
    EXPECT_EQ(s.mainWindow()->properties(), nullptr);
    EXPECT_FALSE(s.mainWindow()->mnuView_Properties->isChecked());
    EXPECT_EQ(s.mainWindow()->propertiesOpen(), false);
}

// The splash stays two seconds at least, and until the program is ready.
TEST(frmSplash, ClosesAtTwoSecondsOrWhenReadyWhicheverIsLater) {
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
        StartupFixture::settle();
        EXPECT_EQ(splash, nullptr) << "destroyed once closed";
    }
}

TEST(frmSplash, ShowsProductVersionPlatformWarningAndUser) {
    ManualTimerSource clock;
    frmSplash splash({"Ada Engineer", "Beam Works Ltd"}, clock);
    EXPECT_EQ(splash.lblProductName->text(), "Kradon");
    EXPECT_EQ(splash.lblVersion->text(), "Version 1.0.6");
    EXPECT_EQ(splash.lblPlatform->text(), QString("%1 %2bit").arg("Linux").arg(QSysInfo::WordSize));
    EXPECT_EQ(splash.lblWarning->text(), " Warning:    The user of this program accepts all "
                                         "liablility that may result from its use.");
    EXPECT_EQ(splash.lblUser->text(), "User:");
    EXPECT_EQ(splash.lblUserName->text(), "Ada Engineer");
    EXPECT_EQ(splash.lblOrganisation->text(), "Organisation:");
    EXPECT_EQ(splash.lblOrganisationName->text(), "Beam Works Ltd");
}

} // namespace
} // namespace kradon::test
