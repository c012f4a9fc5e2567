// A model of several load cases: a .kdn model goes in and comes out unchanged, the current case
// takes the edits, and the editing operations keep names unique and factors pointing at cases.
#include "../ThrownBy.h"
#include "../analysis/ModelBuilder.h"
#include "model/KradonError.h"
#include "model/LoadCases.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kradon {
namespace {

using test::ModelBuilder;

BeamModel withStaleEntries() {
    BeamModel m = ModelBuilder(12)
                      .span(8)
                      .pinned(0)
                      .pinned(8)
                      .uniformEI(205, 9000)
                      .udl(3, 0, 8)
                      .pointLoad(4, 2)
                      .build();
    m.PointLoad.value[9] = 7; // beyond the count, as an older file may hold
    m.TDL.start[0] = 1;       // entry 0
    return m;
}

TEST(LoadCases, AKdnModelIsOneCaseNamedLoadsAndComesBackUnchanged) {
    const BeamModel beam = withStaleEntries();
    const CaseModel m = FromBeamModel(beam);
    ASSERT_EQ(m.cases.size(), 1u);
    EXPECT_EQ(m.cases[0].name, "Loads");
    EXPECT_TRUE(m.combinations.empty());
    EXPECT_EQ(m.beam.count(RecordKind::PointLoad), 0);
    EXPECT_EQ(m.beam.count(RecordKind::RigidSupport), 2);
    EXPECT_EQ(CaseBeam(m, 0), beam);
    EXPECT_EQ(CurrentBeam(m), beam);
    EXPECT_FALSE(KdnCannotHold(m));
    EXPECT_FALSE(ModelProblem(m));
}

TEST(LoadCases, EditsOfTheCurrentBeamGoToTheCurrentCaseAndTheBeam) {
    CaseModel m = FromBeamModel(withStaleEntries());
    const std::size_t q = AddCase(m, "Q", "Imposed");
    SetCurrentCase(m, q);
    BeamModel edited = CurrentBeam(m);
    EXPECT_EQ(edited.count(RecordKind::UDL), 0); // Q starts empty
    NoteRecordNumber(edited, RecordKind::PointLoad, 1);
    StorePointLoad(edited, 1, {"5", "4"});
    NoteRecordNumber(edited, RecordKind::RigidSupport, 3);
    StoreRigidSupport(edited, 3, {"1", "4"});
    StoreEditedBeam(m, edited);
    EXPECT_EQ(m.cases[q].loads.count(RecordKind::PointLoad), 1);
    EXPECT_EQ(m.cases[0].loads.count(RecordKind::PointLoad), 1);  // "Loads" keeps its own
    EXPECT_EQ(CaseBeam(m, 0).count(RecordKind::RigidSupport), 3); // supports belong to the beam
    const BeamModel all = AllLoadsBeam(m);
    EXPECT_EQ(all.count(RecordKind::PointLoad), 2);
    EXPECT_EQ(all.PointLoad.value[1], 4);
    EXPECT_EQ(all.PointLoad.value[2], 5);
    EXPECT_EQ(all.count(RecordKind::UDL), 1);
}

TEST(LoadCases, RenamingAndDeletingKeepTheCombinationsRight) {
    CaseModel m = FromBeamModel(withStaleEntries());
    AddCase(m, "Q");
    AddCase(m, "W");
    const std::size_t uls = AddCombination(m, "ULS");
    SetFactor(m, uls, 0, 1.35);
    SetFactor(m, uls, 1, 1.5);
    SetFactor(m, uls, 2, 0.9);
    SetFactor(m, uls, 2, std::nullopt);
    RenameCase(m, 1, "Imposed");
    EXPECT_EQ(FindCase(m, "Imposed"), 1u);
    EXPECT_EQ(FindCase(m, "Q"), std::nullopt);
    EXPECT_EQ(FindCombination(m, "ULS"), uls);
    EXPECT_EQ(FindCombination(m, "SLS"), std::nullopt);
    EXPECT_EQ(m.combinations[0].factors,
              (std::vector<CombinationFactor>{{"Loads", 1.35}, {"Imposed", 1.5}}));
    SetCurrentCase(m, 2);
    DeleteCase(m, 0);
    EXPECT_EQ(m.combinations[0].factors, (std::vector<CombinationFactor>{{"Imposed", 1.5}}));
    EXPECT_EQ(m.cases[m.current].name, "W"); // the current case stays the same case
    DeleteCase(m, 1);
    EXPECT_EQ(m.current, 0u);
    EXPECT_FALSE(ModelProblem(m));
}

TEST(LoadCases, EditsThatWouldBreakTheModelAreRefusedAndChangeNothing) {
    CaseModel m = FromBeamModel(withStaleEntries());
    AddCase(m, "Q");
    AddCombination(m, "ULS");
    const CaseModel before = m;
    const std::pair<void (*)(CaseModel&), const char*> rows[] = {
        {[](CaseModel& c) { AddCase(c, "Q"); }, "There is already a load case named \"Q\""},
        {[](CaseModel& c) { AddCase(c, ""); }, "A load case needs a name"},
        {[](CaseModel& c) { RenameCase(c, 1, "Loads"); },
         "There is already a load case named \"Loads\""},
        {[](CaseModel& c) { AddCombination(c, "ULS"); },
         "There is already a combination named \"ULS\""},
        {[](CaseModel& c) { SetFactor(c, 0, 1, std::nan("")); }, "A factor must be a number"},
        {[](CaseModel& c) { SetCurrentCase(c, 2); }, "There is no load case 3; the model has 2"},
        {[](CaseModel& c) { DeleteCombination(c, 1); },
         "There is no combination 2; the model has 1"},
    };
    for (const auto& [edit, message] : rows) {
        EXPECT_STREQ(test::thrownBy([&] { edit(m); }).what(), message);
        EXPECT_EQ(m, before);
    }
    DeleteCase(m, 1);
    EXPECT_STREQ(test::thrownBy([&] { DeleteCase(m, 0); }).what(),
                 "A model needs at least one load case: \"Loads\" is the last");
}

TEST(LoadCases, ModelProblemsAreNamed) {
    CaseModel m = FromBeamModel(withStaleEntries());
    m.combinations.push_back({"A", {{"Loads", 1}, {"X", 2}}});
    EXPECT_EQ(ModelProblem(m), "Combination \"A\" names no load case \"X\"");
    m.combinations[0].factors = {{"Loads", 1}, {"Loads", 2}};
    EXPECT_EQ(ModelProblem(m), "Combination \"A\" names \"Loads\" twice");
    m.combinations[0].factors.clear();
    m.cases.push_back(m.cases[0]);
    EXPECT_EQ(ModelProblem(m), "There is already a load case named \"Loads\"");
    m.cases.clear();
    EXPECT_EQ(ModelProblem(m), "A model needs at least one load case");
}

} // namespace
} // namespace kradon
