// Tools > Options and the recent files at the end of the File menu, driven through the main
// window over a settings file of the test's own. The bounds, messages and list rules themselves
// are tested on their own in tests/core/settings.
#include "DialogTestSupport.h"
#include "app/modMDI.h"
#include "app/results/frmResultDisplay.h"
#include "app/settings/RecentFilesMenu.h"
#include "app/settings/frmOptions.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>
#include <tuple>

namespace kradon::test {
namespace {

frmOptions& openOptions(MainWindowFixture& f) {
    f.main->mnuOptions->trigger();
    auto* dialog = f.main->findChild<frmOptions*>("frmOptions");
    EXPECT_NE(dialog, nullptr);
    return *dialog;
}

/// The main window of the next run, over the same settings.
void restart(MainWindowFixture& f) {
    f.main = std::make_unique<frmMain>(f.messages, f.files, f.main->paths());
}

/// The visible recent file items of the File menu, top to bottom: their full paths.
std::vector<std::string> listed(MainWindowFixture& f) {
    std::vector<std::string> paths;
    for (QAction* item : f.main->mnuFile->actions())
        if (item->objectName().startsWith("mnuRUF_") && item->isVisible())
            paths.push_back(item->data().toString().toStdString());
    return paths;
}

TEST(frmOptions, ToolsOptionsShowsTheStoredValuesAndOkTakesThem) {
    MainWindowFixture f;
    frmOptions& d = openOptions(f);
    EXPECT_TRUE(d.isVisible());
    // A fixed size: the window frame draws no resize handle under the dialog's bottom edge.
    EXPECT_EQ(d.minimumSize(), d.maximumSize());
    const QString folder = QPath(f.folder());
    // The first run lists three files and has no folders stored.
    ExpectShown(
        d, {"MaxNoApplieds=10", "MeshDensFact=1", "maxFilesTxt=3", "fileOpenTxt=", "fileSaveTxt="});

    Field(&d, "MaxNoApplieds")->setText("12");
    Field(&d, "MeshDensFact")->setText("2.5");
    Field(&d, "maxFilesTxt")->setText("5");
    // On its box: a check box stretched across the dialog takes clicks on its box and text only.
    Click(&d, "exactSectionsCheck");
    EXPECT_TRUE(d.findChild<QCheckBox*>("exactSectionsCheck")->isChecked());
    // A browser stores its folder at once; a cancelled one keeps the folder stored before.
    f.files.names = {folder, std::nullopt, std::nullopt};
    for (const char* browse : {"openBrowseBtn", "saveBrowseBtn", "openBrowseBtn"})
        Click(&d, browse);
    ExpectShown(d, {"fileOpenTxt=" + folder, "fileSaveTxt="});
    EXPECT_EQ(StoredSetting(f, "Options/OpenIn"), folder);
    EXPECT_FALSE(f.main->state().options.ExactSections) << "only OK takes the values";
    Click(&d, "OKBtn");
    EXPECT_FALSE(d.isVisible());
    const Options& o = f.main->state().options;
    EXPECT_EQ(std::tuple(o.MaxNoApplieds, o.MeshDensFact, o.MAX_FILES, o.ExactSections),
              std::tuple(12, 2.5, 5, true));
    EXPECT_EQ(StoredSetting(f, "Config/MAX_FILES"), "5");
    EXPECT_EQ(StoredSetting(f, "Options/Exact Sections"), "True");
    EXPECT_TRUE(f.messages.shown.empty()) << "values inside their bounds pass silently";

    // New takes the capacity; Open starts in the stored folder.
    f.main->mnuFile_New->trigger();
    EXPECT_EQ(f.main->state().model.MaxNoApplieds, 12);
    f.main->mnuOpen->trigger();
    EXPECT_EQ(f.files.lastStartAt, folder);
    // Reopened, the dialog is the same one, its texts as they were left.
    EXPECT_EQ(&openOptions(f), &d);
    ExpectShown(d, {"MaxNoApplieds=12"});
    // The analysis takes exact sections; what they change is the analysis's own (tests/core).
    frmResultDisplay* results = ShowResults(f, ExamplePath("tapered-beam-curve.kdn"));
    ASSERT_NE(results, nullptr);
    EXPECT_TRUE(results->Editor->toPlainText().contains("Varying E and I integrated exactly"));

    // At the next start both stored folders are shown, and OK never copies one into the other.
    f.main->settings().save("Options", "SaveIn", folder.toStdString() + "/save");
    restart(f);
    frmOptions& next = openOptions(f);
    ExpectShown(next, {"fileOpenTxt=" + folder, "fileSaveTxt=" + folder + "/save"});
    EXPECT_TRUE(f.main->state().options.ExactSections);
    EXPECT_TRUE(next.findChild<QCheckBox*>("exactSectionsCheck")->isChecked());
    Click(&next, "OKBtn");
    EXPECT_EQ(StoredSetting(f, "Options/OpenIn"), folder);
    EXPECT_EQ(StoredSetting(f, "Options/SaveIn"), folder + "/save");
    // Save As starts in the save folder, with the model's name.
    f.main->mnuSaveAs->trigger();
    EXPECT_EQ(f.files.lastStartAt, folder + "/save/Kradon1.kdn");
}

TEST(frmOptions, OkBoundsTheValuesAndKeepsThemWhenNoNumber) {
    MainWindowFixture f;
    frmOptions& d = openOptions(f);
    Field(&d, "MaxNoApplieds")->setText("31");
    Field(&d, "MeshDensFact")->setText("abc");
    Field(&d, "maxFilesTxt")->setText("many");
    Click(&d, "OKBtn");
    // The texts and their order are the option rules' own (tests/core/settings).
    ASSERT_EQ(f.messages.shown.size(), 4u);
    EXPECT_EQ(f.messages.shown[1].text,
              "Mesh density factor: \"abc\" is not a number.\r\nThe previous value 1 is kept.");
    EXPECT_EQ(f.main->state().options.MaxNoApplieds, 30);
    EXPECT_EQ(f.main->state().options.MAX_FILES, 4);
    EXPECT_EQ(Field(&d, "MaxNoApplieds")->text(), "31") << "the fields are not corrected";
    EXPECT_EQ(Field(&d, "maxFilesTxt")->text(), "4") << "but the list length is";
}

TEST(RecentFiles, OpenedFilesAreListedMostRecentFirstAnEntryOpensItsFileAndOptionsShortenTheList) {
    MainWindowFixture f;
    EXPECT_FALSE(f.main->mnuBar2->isVisible());
    const std::string gone = (f.folder() / "gone.kdn").string();
    std::filesystem::copy_file(ExamplePath("cantilever.kdn"), gone);
    const std::vector<std::string> p = {gone, ExamplePath("two-span-continuous-udl.kdn"),
                                        ExamplePath("tapered-beam-curve.kdn")};
    for (const std::string& path : p) { // through File > Open
        f.files.names.push_back(QPath(path));
        f.main->mnuOpen->trigger();
    }
    EXPECT_TRUE(f.main->mnuBar2->isVisible());
    EXPECT_EQ(listed(f), (std::vector<std::string>{p[2], p[1], p[0]}));
    EXPECT_EQ(StoredSetting(f, "Config/noRUF"), "3");
    // A file that has gone fails to open and stays listed.
    std::filesystem::remove(gone);
    f.main->findChild<QAction*>("mnuRUF_3")->trigger();
    ASSERT_EQ(f.messages.shown.size(), 1U);
    EXPECT_TRUE(f.messages.shown[0].text.starts_with("Unkown error while opening file " + gone));
    EXPECT_EQ(f.main->state().FileName, p[2]);
    // Cancel on the question about unsaved changes leaves the list and the model as they were.
    f.main->state().model.span = 7.5;
    f.messages.answers = {Answer::Cancel};
    f.main->findChild<QAction*>("mnuRUF_2")->trigger();
    EXPECT_EQ(f.messages.asked.size(), 1U);
    EXPECT_EQ(listed(f), (std::vector<std::string>{p[0], p[2], p[1]}));
    EXPECT_EQ(f.main->state().model.span, 7.5);
    // The next run lists them again.
    restart(f);
    EXPECT_EQ(listed(f), (std::vector<std::string>{p[2], p[1], p[0]}));
    f.main->findChild<QAction*>("mnuRUF_2")->trigger();
    EXPECT_EQ(f.main->windowTitle().toStdString(), "Kradon - [" + p[1] + "]");
    EXPECT_EQ(listed(f), (std::vector<std::string>{p[1], p[2], p[0]}));
    // Shortening the list in Tools > Options removes its items.
    Field(&openOptions(f), "maxFilesTxt")->setText("2");
    Click(&openOptions(f), "OKBtn");
    EXPECT_EQ(listed(f), (std::vector<std::string>{p[1], p[2]}));
    EXPECT_FALSE(f.main->mnuFile->actions().contains(f.main->findChild<QAction*>("mnuRUF_3")));
    EXPECT_EQ(StoredSetting(f, "Recent Files/3"), "absent");
}

} // namespace
} // namespace kradon::test
