// Tools > Options and the recent files at the end of the File menu, driven through the main
// window over a settings file of the test's own.
#include "ShellTestSupport.h"
#include "app/modMDI.h"
#include "app/results/frmResultDisplay.h"
#include "app/settings/RecentFilesMenu.h"
#include "app/settings/frmOptions.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

namespace kradon::test {
namespace {

frmOptions& openOptions(MainWindowFixture& f) {
    f.main->mnuOptions->trigger();
    auto* dialog = f.main->findChild<frmOptions*>("frmOptions");
    EXPECT_NE(dialog, nullptr);
    return *dialog;
}

QLineEdit* field(frmOptions& d, const char* name) {
    auto* f = d.findChild<QLineEdit*>(name);
    EXPECT_NE(f, nullptr) << name;
    return f;
}

void click(frmOptions& d, const char* button) {
    auto* b = d.findChild<QPushButton*>(button);
    ASSERT_NE(b, nullptr) << button;
    QTest::mouseClick(b, Qt::LeftButton);
}

/// The value the settings file holds under section/key, read past the program's own store.
QString storedValue(MainWindowFixture& f, const QString& section, const QString& key) {
    QSettings file(QString::fromStdString((f.folder() / "settings.conf").string()),
                   QSettings::IniFormat);
    return file.value(section + "/" + key, "absent").toString();
}

/// The visible recent file items of the File menu, top to bottom: their full paths.
std::vector<std::string> listed(MainWindowFixture& f) {
    std::vector<std::string> paths;
    for (QAction* item : f.main->mnuFile->actions())
        if (item->objectName().startsWith("mnuRUF_") && item->isVisible())
            paths.push_back(item->data().toString().toStdString());
    return paths;
}

/// Opens each path through File > Open.
void openEach(MainWindowFixture& f, const std::vector<std::string>& paths) {
    for (const std::string& p : paths) {
        f.files.names.push_back(QString::fromStdString(p));
        f.main->mnuOpen->trigger();
    }
}

TEST(frmOptions, ToolsOptionsShowsTheStoredValuesAndOkTakesThem) {
    MainWindowFixture f;
    frmOptions& d = openOptions(f);
    EXPECT_TRUE(d.isVisible());
    EXPECT_FALSE(d.isModal());
    EXPECT_EQ(d.windowTitle(), "Kradon Options");
    // A fixed size: the window frame draws no resize handle under the dialog's bottom edge.
    EXPECT_EQ(d.minimumSize(), d.maximumSize());
    EXPECT_GE(d.width(), 440);
    EXPECT_EQ(field(d, "MaxNoApplieds")->text(), "10");
    EXPECT_EQ(field(d, "MeshDensFact")->text(), "1");
    EXPECT_EQ(field(d, "maxFilesTxt")->text(), "3") << "the first run lists three";
    EXPECT_EQ(field(d, "fileOpenTxt")->text(), "") << "no folder stored yet";
    EXPECT_EQ(field(d, "fileSaveTxt")->text(), "");

    field(d, "MaxNoApplieds")->setText("12");
    field(d, "MeshDensFact")->setText("2.5");
    field(d, "maxFilesTxt")->setText("5");
    f.files.names = {QString::fromStdString(f.folder().string()), std::nullopt};
    click(d, "openBrowseBtn");
    click(d, "saveBrowseBtn");
    EXPECT_EQ(field(d, "fileOpenTxt")->text().toStdString(), f.folder().string());
    EXPECT_EQ(field(d, "fileSaveTxt")->text(), "");
    EXPECT_TRUE(f.messages.shown.empty());
    EXPECT_EQ(storedValue(f, "Options", "OpenIn").toStdString(), f.folder().string());
    // Cancelling a browser keeps the folder stored before.
    f.files.names = {std::nullopt};
    click(d, "openBrowseBtn");
    EXPECT_EQ(field(d, "fileOpenTxt")->text().toStdString(), f.folder().string());
    EXPECT_EQ(storedValue(f, "Options", "OpenIn").toStdString(), f.folder().string());
    EXPECT_TRUE(f.messages.shown.empty());

    click(d, "OKBtn");
    EXPECT_FALSE(d.isVisible());
    const Options& o = f.main->state().options;
    EXPECT_EQ(o.MaxNoApplieds, 12);
    EXPECT_EQ(o.MeshDensFact, 2.5);
    EXPECT_EQ(o.MAX_FILES, 5);
    EXPECT_EQ(storedValue(f, "Config", "MAX_FILES"), "5");
    EXPECT_TRUE(f.messages.shown.empty()) << "values inside their bounds pass silently";

    // New takes the capacity; Open starts in the stored folder.
    f.main->mnuFile_New->trigger();
    EXPECT_EQ(f.main->state().model.MaxNoApplieds, 12);
    f.main->mnuOpen->trigger();
    EXPECT_EQ(f.files.lastStartAt.toStdString(), f.folder().string());

    // Reopened, the dialog is the same one, its texts as they were left.
    EXPECT_EQ(&openOptions(f), &d);
    EXPECT_EQ(field(d, "MaxNoApplieds")->text(), "12");
}

TEST(frmOptions, StoredFoldersAreShownAtStartAndNeverCopiedIntoEachOther) {
    std::string folder;
    {
        MainWindowFixture f;
        folder = f.folder().string();
        // Both folders stored in an earlier run.
        f.main->settings().save("Options", "OpenIn", folder + "/open");
        f.main->settings().save("Options", "SaveIn", folder + "/save");
        f.main = std::make_unique<frmMain>(f.messages, f.files, f.main->paths());
        frmOptions& d = openOptions(f);
        EXPECT_EQ(field(d, "fileOpenTxt")->text().toStdString(), folder + "/open");
        EXPECT_EQ(field(d, "fileSaveTxt")->text().toStdString(), folder + "/save");
        click(d, "OKBtn");
        openOptions(f);
        click(d, "OKBtn");
        EXPECT_EQ(storedValue(f, "Options", "OpenIn").toStdString(), folder + "/open");
        EXPECT_EQ(storedValue(f, "Options", "SaveIn").toStdString(), folder + "/save");
        EXPECT_EQ(f.main->state().options.SaveIn, folder + "/save");

        // Save As starts in the save folder, with the model's name.
        f.main->mnuSaveAs->trigger();
        EXPECT_EQ(f.files.lastStartAt.toStdString(), folder + "/save/Kradon1.kdn");
    }
}

TEST(frmOptions, OkBoundsTheValuesAndTypingWarnsAboveTwenty) {
    MainWindowFixture f;
    frmOptions& d = openOptions(f);
    field(d, "MaxNoApplieds")->setText("20");
    EXPECT_TRUE(f.messages.shown.empty());
    field(d, "MaxNoApplieds")->setText("31");
    ASSERT_EQ(f.messages.shown.size(), 1U);
    EXPECT_EQ(f.messages.shown[0].text, "Your value of maximum applied conditions is quite high."
                                        "\r\nAre you sure you need 31?");
    field(d, "MeshDensFact")->setText("0.1");
    click(d, "OKBtn");
    EXPECT_EQ(
        f.messages.texts(),
        (std::vector<std::string>{
            "Your value of maximum applied conditions is quite high.\r\n"
            "Are you sure you need 31?",
            "Your value of maximum applied conditions is too high.\r\nYou are limited to 30. ",
            "Your value Mesh density factor is too low.\r\nYour minimum is 0.2."}));
    EXPECT_EQ(f.main->state().options.MaxNoApplieds, 30);
    EXPECT_EQ(f.main->state().options.MeshDensFact, static_cast<double>(0.2f));
    EXPECT_EQ(field(d, "MaxNoApplieds")->text(), "31") << "the fields are not corrected";
}

TEST(frmOptions, AFieldWithoutANumberIsNamedAndTheValueKept) {
    MainWindowFixture f;
    frmOptions& d = openOptions(f);
    field(d, "MeshDensFact")->setText("abc");
    field(d, "maxFilesTxt")->setText("many");
    click(d, "OKBtn");
    EXPECT_EQ(f.messages.texts(),
              (std::vector<std::string>{
                  "Mesh density factor: \"abc\" is not a number.\r\nThe previous value 1 is kept.",
                  "Please input a number in future, ok"}));
    EXPECT_EQ(f.main->state().options.MeshDensFact, 1);
    EXPECT_EQ(f.main->state().options.MAX_FILES, 4);
    EXPECT_EQ(field(d, "maxFilesTxt")->text(), "4");
}

/// The text of the results window after analysing a sample model.
QString analysedReport(MainWindowFixture& f, const char* sample) {
    EXPECT_TRUE(f.main->OpenModel(QString::fromStdString(ExamplePath(sample))));
    f.main->AnalyseCommand();
    f.main->GraphBtn_Click(ResultsKind);
    auto* results =
        qobject_cast<frmResultDisplay*>(f.main->mdi().childOfKind(ResultsKind)->widget());
    return results == nullptr ? QString() : results->Editor->toPlainText();
}

TEST(frmOptions, ExactSectionsIsTickedStoredAndAnalysedWith) {
    MainWindowFixture f;
    frmOptions& d = openOptions(f);
    auto* box = d.findChild<QCheckBox*>("exactSectionsCheck");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "&Integrate varying E and I exactly");
    EXPECT_FALSE(box->isChecked());
    EXPECT_FALSE(analysedReport(f, "tapered-beam-curve.kdn").contains("Varying E and I"));

    EXPECT_EQ(box->shortcut(), QKeySequence("Alt+I"));
    // On its box: a check box stretched across the dialog takes clicks on its box and text only.
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    EXPECT_TRUE(box->isChecked());
    EXPECT_FALSE(f.main->state().options.ExactSections) << "only OK takes it";
    click(d, "OKBtn");
    EXPECT_TRUE(f.main->state().options.ExactSections);
    EXPECT_EQ(storedValue(f, "Options", "Exact Sections"), "True");
    EXPECT_TRUE(analysedReport(f, "tapered-beam-curve.kdn")
                    .contains("------------------------------------------\n"
                              "Varying E and I integrated exactly along each element\n\n"));

    // The next start begins with the box ticked and the option on.
    f.main = std::make_unique<frmMain>(f.messages, f.files, f.main->paths());
    EXPECT_TRUE(f.main->state().options.ExactSections);
    frmOptions& again = openOptions(f);
    auto* stored = again.findChild<QCheckBox*>("exactSectionsCheck");
    EXPECT_TRUE(stored->isChecked());
    stored->setChecked(false);
    click(again, "OKBtn");
    EXPECT_EQ(storedValue(f, "Options", "Exact Sections"), "False");
    EXPECT_FALSE(f.main->state().options.ExactSections);
}

TEST(RecentFiles, ThreeOpenedSamplesAreListedMostRecentFirst) {
    const std::vector<std::string> samples = {ExamplePath("cantilever.kdn"),
                                              ExamplePath("two-span-continuous-udl.kdn"),
                                              ExamplePath("tapered-beam-curve.kdn")};
    MainWindowFixture f;
    EXPECT_FALSE(f.main->mnuBar2->isVisible());
    openEach(f, samples);
    EXPECT_TRUE(f.main->mnuBar2->isVisible());
    EXPECT_EQ(listed(f), (std::vector<std::string>{samples[2], samples[1], samples[0]}));
    const QAction* first = f.main->findChild<QAction*>("mnuRUF_1");
    ASSERT_NE(first, nullptr);
    // The sample paths are longer than 32 characters: a tail from a "/" is shown.
    EXPECT_TRUE(first->text().startsWith("&1   .../")) << first->text().toStdString();
    EXPECT_TRUE(first->text().endsWith("/tapered-beam-curve.kdn"));
    EXPECT_LE(first->text().size(), 5 + 3 + 33);
    EXPECT_EQ(storedValue(f, "Recent Files", "1").toStdString(), samples[2]);
    EXPECT_EQ(storedValue(f, "Config", "noRUF"), "3");

    // The next run lists them again.
    f.main = std::make_unique<frmMain>(f.messages, f.files, f.main->paths());
    EXPECT_EQ(listed(f), (std::vector<std::string>{samples[2], samples[1], samples[0]}));
    EXPECT_TRUE(f.main->mnuBar2->isVisible());
}

TEST(RecentFiles, AnEntryOpensItsFileAndMovesToTheTop) {
    const std::vector<std::string> samples = {ExamplePath("cantilever.kdn"),
                                              ExamplePath("two-span-continuous-udl.kdn"),
                                              ExamplePath("tapered-beam-curve.kdn")};
    MainWindowFixture f;
    openEach(f, samples);
    f.main->findChild<QAction*>("mnuRUF_3")->trigger();
    EXPECT_EQ(f.main->state().FileName, samples[0]);
    EXPECT_EQ(f.main->windowTitle().toStdString(), "Kradon - [" + samples[0] + "]");
    EXPECT_EQ(listed(f), (std::vector<std::string>{samples[0], samples[2], samples[1]}));

    // Unsaved changes are asked about first; Cancel keeps the model.
    f.main->EditModel([](BeamModel& m) { m.span = 7; });
    f.main->findChild<QAction*>("mnuRUF_2")->trigger();
    ASSERT_EQ(f.messages.asked.size(), 1U);
    EXPECT_EQ(f.messages.asked[0].text, UnsavedChangesText);
    EXPECT_EQ(f.main->state().FileName, samples[0]);
    EXPECT_EQ(f.main->state().model.span, 7);
}

TEST(RecentFiles, AMissingFileFailsToOpenAndStaysListed) {
    MainWindowFixture f;
    const std::string gone = (f.folder() / "gone.kdn").string();
    std::filesystem::copy_file(ExamplePath("cantilever.kdn"), gone);
    openEach(f, {gone, ExamplePath("tapered-beam-curve.kdn")});
    std::filesystem::remove(gone);
    f.main->findChild<QAction*>("mnuRUF_2")->trigger();
    ASSERT_EQ(f.messages.shown.size(), 1U);
    EXPECT_EQ(f.messages.shown[0].text.rfind("Unkown error while opening file " + gone, 0), 0U)
        << f.messages.shown[0].text;
    EXPECT_EQ(f.main->state().FileName, ExamplePath("tapered-beam-curve.kdn"));
    EXPECT_EQ(listed(f), (std::vector<std::string>{gone, ExamplePath("tapered-beam-curve.kdn")}));
}

TEST(RecentFiles, ShorteningTheListInTheOptionsRemovesItems) {
    MainWindowFixture f;
    frmOptions& d = openOptions(f);
    field(d, "maxFilesTxt")->setText("4");
    click(d, "OKBtn");
    openEach(f, {ExamplePath("cantilever.kdn"), ExamplePath("two-span-continuous-udl.kdn"),
                 ExamplePath("tapered-beam-curve.kdn"),
                 ExamplePath("simply-supported-point-load.kdn")});
    ASSERT_EQ(listed(f).size(), 4U);
    openOptions(f);
    field(d, "maxFilesTxt")->setText("2");
    click(d, "OKBtn");
    EXPECT_EQ(listed(f), (std::vector<std::string>{ExamplePath("simply-supported-point-load.kdn"),
                                                   ExamplePath("tapered-beam-curve.kdn")}));
    for (QAction* item : f.main->mnuFile->actions())
        EXPECT_FALSE(item->objectName() == "mnuRUF_3" || item->objectName() == "mnuRUF_4");
    EXPECT_EQ(storedValue(f, "Recent Files", "3"), "absent");
    EXPECT_EQ(storedValue(f, "Recent Files", "4"), "absent");
}

} // namespace
} // namespace kradon::test
