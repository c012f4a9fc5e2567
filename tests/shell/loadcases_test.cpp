// Load cases and combinations in the desktop program: the explorer's pages add, rename and
// choose cases and set factors, each an Undo step; a model that needs the JSON format is not
// written as .kdn; the result windows choose a case, a combination or the envelope and show it.
#include "../core/FileSafetySupport.h"
#include "ShellTestSupport.h"
#include "app/CaseResults.h"
#include "app/LoadCasesEditor.h"
#include "app/ModelFiles.h"
#include "app/ResultViews.h"
#include "app/frmProperties.h"
#include "app/frmResGraph.h"
#include "app/modMDI.h"
#include "app/results/frmResultDisplay.h"

#include "json/ModelJson.h"
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>
#include <QUndoStack>
#include <gtest/gtest.h>

namespace kradon::test {
namespace {

/// The explorer on the node's page.
frmProperties& explorerAt(MainWindowFixture& f, const QString& nodeText) {
    f.main->KradonTB_ButtonClick(17);
    frmProperties* e = f.main->properties();
    auto* tree = e->findChild<QTreeWidget*>("tvw");
    const auto found = tree->findItems(nodeText, Qt::MatchExactly);
    EXPECT_EQ(found.size(), 1);
    tree->setCurrentItem(found.first());
    e->tvw_NodeClick(found.first());
    return *e;
}

// The explorer's case page adds, renames and chooses cases, and the combination page's factor
// table sets and clears factors and refuses what is no number: each an Undo step.
TEST(LoadCases, TheExplorerPagesEditCasesAndFactorsEachAnUndoStep) {
    MainWindowFixture f;
    ASSERT_TRUE(OpenSample(f, "simply-supported-point-load.kdn"));
    const std::int16_t loads = f.main->state().model.count(RecordKind::PointLoad);
    ASSERT_GT(loads, 0);
    frmProperties& e = explorerAt(f, LoadCasesNodeText);
    auto* page = e.findChild<LoadCasesPage*>("LoadCasesPage");
    ASSERT_EQ(e.pages->currentWidget(), page);
    EXPECT_FALSE(page->deleteCaseBtn->isEnabled()); // the last case stays

    QTest::mouseClick(page->addCaseBtn, Qt::LeftButton);
    ASSERT_EQ(f.main->caseModel().cases.size(), 2u);
    EXPECT_EQ(f.main->undoStack().undoText(), "Add Load Case \"Case 1\"");
    EXPECT_TRUE(f.main->isModified());

    page->casesTbl->item(1, 0)->setText("Wind");
    EXPECT_EQ(f.main->caseModel().cases[1].name, "Wind");
    page->casesTbl->item(1, 0)->setText("Loads"); // taken: refused, the name stays
    EXPECT_EQ(f.main->caseModel().cases[1].name, "Wind");
    EXPECT_EQ(page->casesTbl->item(1, 0)->text(), "Wind");
    EXPECT_EQ(f.messages.texts().back(), "There is already a load case named \"Loads\"");

    // The current case is what the idealised beam shows.
    page->currentCaseCmb->setCurrentIndex(1);
    emit page->currentCaseCmb->activated(1);
    EXPECT_EQ(f.main->caseModel().current, 1u);
    EXPECT_EQ(f.main->state().model.count(RecordKind::PointLoad), 0);

    for (int step = 0; step < 3; ++step)
        f.main->undoStack().undo();
    EXPECT_EQ(f.main->caseModel().cases.size(), 1u);
    EXPECT_EQ(f.main->state().model.count(RecordKind::PointLoad), loads);
    EXPECT_FALSE(f.main->isModified());
    EXPECT_EQ(page->casesTbl->rowCount(), 1);

    auto* factors = explorerAt(f, CombinationsNodeText).findChild<CombinationsPage*>();
    ASSERT_NE(factors, nullptr);
    QTest::mouseClick(factors->addCombinationBtn, Qt::LeftButton);
    QTableWidget& table = *factors->combinationsTbl;
    ASSERT_EQ(table.rowCount(), 1);
    EXPECT_EQ(table.horizontalHeaderItem(1)->text(), "Loads");

    table.item(0, 1)->setText("1.5");
    ASSERT_EQ(f.main->caseModel().combinations.at(0).factors.size(), 1u);
    EXPECT_EQ(f.main->caseModel().combinations.at(0).factors[0].factor, 1.5);
    EXPECT_EQ(f.main->undoStack().undoText(), "Factor of \"Loads\" in \"Combination 1\"");

    table.item(0, 1)->setText("abc");
    EXPECT_EQ(f.messages.texts().back(), QString(FactorRefusedText).arg("abc").toStdString());
    EXPECT_EQ(f.main->caseModel().combinations.at(0).factors.at(0).factor, 1.5);
    EXPECT_EQ(table.item(0, 1)->text(), "1.5");

    table.item(0, 1)->setText("");
    EXPECT_TRUE(f.main->caseModel().combinations.at(0).factors.empty());
    f.main->undoStack().undo();
    EXPECT_EQ(table.item(0, 1)->text(), "1.5");
}

TEST(LoadCases, AModelThatNeedsJsonIsNotSavedAsKdnAndSaysWhy) {
    MainWindowFixture f;
    const std::string sample = ExamplePath("simply-supported-point-load.kdn");
    const std::string before = fileBytes(sample);
    ASSERT_TRUE(OpenSample(f, "simply-supported-point-load.kdn"));
    f.main->EditCases([](CaseModel& m) { AddCase(m, "Wind"); }, "Add Load Case \"Wind\"");
    // Save goes to the .kdn file the model came from: refused, and Save As asks for a name.
    const std::filesystem::path json = f.folder() / "beam.kradon.json";
    f.files.names.push_back(QPath(json));
    ASSERT_TRUE(f.main->SaveModel(true));
    ASSERT_FALSE(f.messages.shown.empty());
    // The reason is the JSON model tests' (tests/json).
    EXPECT_NE(f.messages.texts().back().find("cannot be saved as a .kdn file"), std::string::npos);
    EXPECT_EQ(f.files.lastSuffix, "kradon.json");
    EXPECT_EQ(f.files.lastFilters.first(), "Kradon JSON models (*.kradon.json)");
    EXPECT_EQ(ModelJson::WriteModelJson(ModelJson::OpenCaseModelFile(json)),
              ModelJson::WriteModelJson(f.main->caseModel()));
    EXPECT_EQ(fileBytes(sample), before) << "the .kdn file is left as it was";
    EXPECT_FALSE(f.main->isModified());
}

TEST(LoadCases, ResultWindowsChooseACaseACombinationOrTheEnvelope) {
    MainWindowFixture f;
    ASSERT_TRUE(OpenSample(f, "three-span-patterned.kradon.json"));
    f.main->AnalyseCommand();
    ASSERT_TRUE(f.messages.shown.empty()) << f.messages.texts().front();
    f.main->GraphBtn_Click(2);
    f.main->GraphBtn_Click(ResultsKind);
    auto* bmd = ChildContent<frmResGraph>(*f.main, 2);
    auto* results = ChildContent<frmResultDisplay>(*f.main, ResultsKind);
    auto* bmdChoice = bmd->findChild<QComboBox*>("loadingCmb");
    auto* reportChoice = results->findChild<QComboBox*>("loadingCmb");
    ASSERT_NE(bmdChoice, nullptr);
    ASSERT_NE(reportChoice, nullptr);
    const QStringList choices{"Case: G", "Case: Q", "Combination: ULS", "Combination: SLS",
                              "Envelope"};
    EXPECT_EQ(f.main->caseResults().choices(), choices);
    EXPECT_EQ(bmdChoice->currentText(), "Envelope");
    EXPECT_FALSE(results->ElementListCmb->isEnabled());
    bmd->grab();
    EXPECT_TRUE(bmd->drewInstead());

    // Choosing in one window changes every result window.
    emit bmdChoice->activated(0);
    EXPECT_EQ(reportChoice->currentText(), "Case: G");
    EXPECT_TRUE(results->ElementListCmb->isEnabled());
    bmd->grab();
    EXPECT_FALSE(bmd->drewInstead());

    // A picture composed from G is out of date once the envelope is chosen again; the results
    // window, filled again, is not.
    results->Command1_Click();
    auto* picture = f.main->findChild<QWidget*>("frmPrintPrev");
    ASSERT_NE(picture, nullptr);
    emit reportChoice->activated(4);
    EXPECT_EQ(bmdChoice->currentText(), "Envelope");
    EXPECT_TRUE(picture->windowTitle().endsWith(OutOfDateSuffix));
    EXPECT_FALSE(f.main->mdi().childOfKind(ResultsKind)->windowTitle().endsWith(OutOfDateSuffix));
    emit reportChoice->activated(0);

    // A factor changed: the windows are out of date until the model is analysed again.
    f.main->EditCases([](CaseModel& m) { SetFactor(m, 0, 0, 1.2); }, "Factor");
    EXPECT_TRUE(f.main->mdi().childOfKind(2)->windowTitle().endsWith(OutOfDateSuffix));
    f.main->undoStack().undo();
    EXPECT_FALSE(f.main->mdi().childOfKind(2)->windowTitle().endsWith(OutOfDateSuffix));
}

} // namespace
} // namespace kradon::test
