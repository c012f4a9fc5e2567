// The exports of the desktop program: the calculation sheet and the results CSV, analysed first
// when the results are out of date; the report's rows copied as tab-separated values; and the
// exact value under the pointer of a diagram window.
#include "ShellTestSupport.h"
#include "app/frmResGraph.h"
#include "app/modMDI.h"
#include "app/results/frmResultDisplay.h"
#include "graphics/PictureHover.h"
#include "results/ResultsCsv.h"
#include "settings/SettingsKeys.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStatusBar>
#include <QTest>
#include <QToolTip>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace kradon::test {
namespace {

QString qs(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// The main window with a copy of the simply supported sample (50 kN at 4 m on 10 m) analysed.
struct Analysed : MainWindowFixture {
    Analysed() {
        std::filesystem::copy_file(ExamplePath("simply-supported-point-load.kdn"), model);
        EXPECT_TRUE(main->OpenModel(qs(model)));
        main->AnalyseCommand();
        main->settings().SaveSetting(SettingsKeys::Config, SettingsKeys::UserName, "Ada Engineer");
        main->settings().SaveSetting(SettingsKeys::Config, SettingsKeys::UserOrganisation,
                                     "Beam Works");
    }
    const std::filesystem::path model = folder() / "model.kdn";
};

TEST(Exports, SheetOfTheAnalysedModelAndOfAChangedOneOnlyAfterAnalysingIt) {
    Analysed f;
    const auto pdf = f.folder() / "sheet.pdf";
    f.files.names.push_back(qs(pdf));
    f.main->mnuExportSheet->trigger();
    EXPECT_TRUE(f.messages.asked.empty());
    EXPECT_EQ(f.files.saveTitles.back(), "Export Calculation Sheet");
    EXPECT_EQ(f.files.lastStartAt, qs(f.folder()));
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", qs(pdf), "-"});
    ASSERT_TRUE(pdftotext.waitForFinished(30000));
    const QString text = pdftotext.readAllStandardOutput();
    EXPECT_TRUE(text.contains("Model: model.kdn")) << text.toStdString();
    EXPECT_TRUE(text.contains("By: Ada Engineer, Beam Works"));
    EXPECT_TRUE(text.contains("Page 1 of "));

    // A heavier point load: the results no longer belong to the model.
    f.main->EditModel([](BeamModel& m) { m.PointLoad.value[1] = 60; });
    const auto html = f.folder() / "sheet.html";
    f.messages.answers.push_back(Answer::No);
    f.files.names.push_back(qs(html));
    f.main->mnuExportSheet->trigger();
    ASSERT_EQ(f.messages.asked.size(), 1u);
    EXPECT_EQ(f.messages.asked[0].text,
              "The results do not belong to the model as it is now. Analyse the model first?");
    EXPECT_FALSE(std::filesystem::exists(html));
    f.messages.answers.push_back(Answer::Yes);
    f.main->mnuExportSheet->trigger();
    ASSERT_TRUE(std::filesystem::exists(html)) << ::testing::PrintToString(f.messages.texts());
    // 60 kN at 4 m of 10: 36 kN at the left support.
    EXPECT_NE(readFile(html).find("<td>R1</td><td>Pinned</td><td class=\"num\">0.000</td><td "
                                  "class=\"num\">36.000</td>"),
              std::string::npos);
}

TEST(Exports, ResultsWindowExportsTheCsvAndCopiesRowsAsTabSeparatedValues) {
    Analysed f;
    f.main->GraphBtn_Click(ResultsKind);
    auto* results =
        qobject_cast<frmResultDisplay*>(f.main->mdi().childOfKind(ResultsKind)->widget());
    ASSERT_NE(results, nullptr);
    const auto csv = f.folder() / "results.csv";
    f.files.names.push_back(qs(csv));
    results->FileExportCsv->trigger();
    QCoreApplication::processEvents(); // the request reaches the main window queued
    EXPECT_EQ(f.files.saveTitles.back(), "Export Results (CSV)");
    EXPECT_EQ(readFile(csv), ResultsCsv(f.main->state()));

    results->Editor->setFocus();
    QTest::keyClick(results->Editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(results->Editor, Qt::Key_C, Qt::ControlModifier);
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_EQ(copied.toStdString(), TabSeparatedRows(results->Editor->toPlainText().toStdString()));
    EXPECT_TRUE(copied.contains("\n1\t000.000\tPinned\t030.000\t000.000\n"))
        << copied.toStdString();
}

TEST(Exports, PointerOverTheShearDiagramShowsBothSidesOfTheJumpExactly) {
    Analysed f;
    f.main->GraphBtn_Click(3); // the shear force diagram
    auto* window = f.main->mdi().childOfKind(3);
    ASSERT_NE(window, nullptr);
    QWidget* disp = window->widget()->findChild<QWidget*>("Disp");
    ASSERT_NE(disp, nullptr);
    QTest::qWait(50); // painted once, so the window knows its scale
    // The frame runs from -0.1 L to 1.1 L across the drawing: x = 4 m is 5 / 12 of the way.
    const QPoint at4(static_cast<int>(disp->width() * 5.0 / 12 + 0.5), disp->height() / 2);
    QTest::mouseMove(disp, at4);
    const std::string expected = "x = 4.000 m: V = -30.000 kN left, 20.000 kN right";
    EXPECT_EQ(f.main->statusBar()->currentMessage().toStdString(), expected);
    EXPECT_EQ(QToolTip::text().toStdString(), expected);
    QTest::mouseMove(disp, QPoint(disp->width() * 9 / 12, disp->height() / 2));
    EXPECT_TRUE(f.main->statusBar()->currentMessage().endsWith(": V = 20.000 kN"))
        << f.main->statusBar()->currentMessage().toStdString();
}

} // namespace
} // namespace kradon::test
