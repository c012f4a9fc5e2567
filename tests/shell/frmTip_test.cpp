// The tip of the day and the about box, opened from the Help menu of a main window.
#include "ShellTestSupport.h"
#include "app/SettingsStore.h"
#include "app/settings/frmAbout.h"
#include "app/settings/frmTip.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <fstream>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace kradon::test {
namespace {

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
        frmTip* tip = main->tipDialog();
        if (tip == nullptr)
            throw std::runtime_error("no tip dialog");
        return *tip;
    }
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

TEST(frmTip, ShowsItsCaptionAndControls) {
    TipFixture f;
    f.writeTips("Only tip\n");
    frmTip& tip = f.openTip();
    EXPECT_TRUE(tip.isVisible());
    EXPECT_EQ(tip.parentWidget(), f.main.get()) << "owned by the main window";
    EXPECT_FALSE(tip.isModal());
    EXPECT_EQ(tip.windowTitle(), "Kradon (v 1.0.6) Tip Of The Day");
    EXPECT_EQ(tip.findChild<QLabel*>("lblDidYouKnow")->text(), "Did you know...");
    EXPECT_EQ(tip.findChild<QGroupBox*>("fraTipOrder")->title(), "Tip Order");
    EXPECT_EQ(tip.findChild<QRadioButton*>("tipOrderOpt_0")->text(), "Random");
    EXPECT_EQ(tip.findChild<QRadioButton*>("tipOrderOpt_1")->text(), "Rotated");
    EXPECT_EQ(tip.findChild<QCheckBox*>("chkLoadTipsAtStartup")->text(), "&Show Tips at Startup");
    EXPECT_EQ(tip.findChild<QPushButton*>("cmdNextTip")->text(), "&Next Tip");
    EXPECT_EQ(tip.findChild<QPushButton*>("cmdOK")->text(), "OK");
    EXPECT_TRUE(tip.tipOrderOpt[0]->isChecked()) << "random order unless stored otherwise";
    EXPECT_TRUE(tip.chkLoadTipsAtStartup->isChecked());
    EXPECT_EQ(tip.lblTipText->text(), "Only tip");
    f.main->mnuHelp_ShowTotD->trigger();
    EXPECT_EQ(f.main->findChildren<frmTip*>().size(), 1) << "one tip dialog at a time";
}

TEST(frmTip, RotatedOrderGoesOnFromTheStoredTipAndStoresIt) {
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
}

TEST(frmTip, RandomOrderShowsTipsWithoutStoringAny) {
    TipFixture f;
    f.writeTips("Tip one\nTip two\nTip three\n");
    frmTip& tip = f.openTip();
    for (int i = 0; i < 20; ++i) {
        EXPECT_TRUE(tip.lblTipText->text().startsWith("Tip "))
            << tip.lblTipText->text().toStdString();
        QTest::mouseClick(tip.cmdNextTip, Qt::LeftButton);
    }
    EXPECT_EQ(f.stored("Current Tip"), "");
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

TEST(frmTip, OrderAndStartupSwitchesAreStoredAsClicked) {
    TipFixture f;
    frmTip& tip = f.openTip();
    QTest::mouseClick(tip.tipOrderOpt[1], Qt::LeftButton);
    EXPECT_EQ(f.stored("Tip Order"), "False");
    QTest::mouseClick(tip.tipOrderOpt[0], Qt::LeftButton);
    EXPECT_EQ(f.stored("Tip Order"), "True");
    QTest::mouseClick(tip.chkLoadTipsAtStartup, Qt::LeftButton);
    EXPECT_EQ(f.stored("Show Tips at Startup"), "0");
    QTest::mouseClick(tip.chkLoadTipsAtStartup, Qt::LeftButton);
    EXPECT_EQ(f.stored("Show Tips at Startup"), "1");
}

TEST(frmTip, OKWithTheBoxClearedSwitchesTheTipsOffAndCloses) {
    TipFixture f;
    frmTip& tip = f.openTip();
    QTest::mouseClick(tip.chkLoadTipsAtStartup, Qt::LeftButton);
    QTest::mouseClick(tip.cmdOK, Qt::LeftButton);
    f.settle();
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
    EXPECT_EQ(about->findChild<QLabel*>("lblVersion")->text(), "Version 1.0.6");
    EXPECT_EQ(about->findChild<QLabel*>("lblDescription")->text(),
              "Kradon is a program to analyse beams using the finite element method.");
    const QString disclaimer = about->findChild<QLabel*>("lblDisclaimer")->text();
    EXPECT_TRUE(disclaimer.startsWith("Warning: ...  "));
    EXPECT_TRUE(disclaimer.endsWith(
        "  Use of this program infers acceptance that any liablility that results from its use "
        "is the full responsibility of the user. No warranty, direct or implied, is given."));
    QTest::mouseClick(about->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    TipFixture::settle();
    EXPECT_EQ(f.main->findChild<frmAbout*>("frmAbout"), nullptr);
}

} // namespace
} // namespace kradon::test
