// The Analyse command's copy of the model: each analysis writes, reads back and removes a copy
// of its own, so analyses at the same time never see each other's model.
#include "../TestFolder.h"
#include "AnalysisTestSupport.h"
#include "model/KradonError.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace kradon {
namespace {

namespace fs = std::filesystem;
using test::RecordingSink;
using test::UnstableModel;

/// A status sink that runs `during` at the first progress step of the run itself.
struct InterruptingStatus : StatusSink {
    std::function<void()> during;
    int steps = 0;
    void udPb(double) override {
        if (++steps == 2 && during)
            during();
    }
    void udTxt(const std::string&) override {}
};

bool isEmptyFolder(const fs::path& folder) {
    return fs::directory_iterator(folder) == fs::directory_iterator();
}

BeamModel simpleBeam(double span, double load) {
    return test::Beam(span).pinned(0).pinned(span).pointLoad(load, span / 3).build();
}

TEST(AnalyseCoreCopy, UnstableRunKeepsItsModelWhileAnotherAnalysisRuns) {
    const test::TestFolder dir;
    ProgramState s;
    s.model = UnstableModel();
    const BeamModel before = s.model;
    InterruptingStatus status;
    bool copyGoneDuringRun = false;
    status.during = [&] {
        copyGoneDuringRun = isEmptyFolder(dir.path());
        ProgramState other;
        other.model = simpleBeam(7, 3);
        EXPECT_EQ(test::AnalyseByCommand(other, dir.path()), AnalyseOutcome::Completed);
    };
    RecordingSink sink;
    EXPECT_EQ(AnalyseCore(s, dir.path(), status, sink).outcome, AnalyseOutcome::Unstable);
    EXPECT_EQ(s.model, before) << "the model of this analysis, not the other one's";
    EXPECT_TRUE(copyGoneDuringRun) << "the copy is read back before the run";
    EXPECT_TRUE(isEmptyFolder(dir.path())) << "no copy is left behind";
}

TEST(AnalyseCoreCopy, MissingFolderThrowsAndLeavesTheModel) {
    const test::TestFolder dir;
    ProgramState s;
    s.model = simpleBeam(10, 5);
    EXPECT_THROW(test::AnalyseByCommand(s, dir / "missing"), KradonError);
    EXPECT_EQ(s.model, simpleBeam(10, 5));
}

/// The state an analysis of m leaves, run alone.
ProgramState analysedAlone(const BeamModel& m, const fs::path& folder) {
    ProgramState s;
    s.model = m;
    test::AnalyseByCommand(s, folder);
    return s;
}

// Eight analyses of different models, two of them unstable, run at the same time in one folder
// again and again; each must end as it ends when run alone.
TEST(AnalyseCoreCopy, ConcurrentAnalysesEachGetTheirOwnModel) {
    const test::TestFolder dir;
    std::vector<BeamModel> models;
    for (int i = 0; i < 6; ++i)
        models.push_back(simpleBeam(4 + i, 2 + 3 * i));
    models.push_back(UnstableModel());
    models.push_back(UnstableModel(12));
    std::vector<ProgramState> alone;
    for (const BeamModel& m : models)
        alone.push_back(analysedAlone(m, dir.path()));

    constexpr int Repeats = 20;
    std::vector<int> wrong(models.size(), 0);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < models.size(); ++i)
        threads.emplace_back([&, i] {
            for (int r = 0; r < Repeats; ++r) {
                const ProgramState s = analysedAlone(models[i], dir.path());
                // The runs are deterministic, so the same model gives the same numbers.
                if (!(s.model == alone[i].model) ||
                    s.results.NodeDeflection != alone[i].results.NodeDeflection ||
                    s.results.NodeMoment != alone[i].results.NodeMoment)
                    ++wrong[i];
            }
        });
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(wrong, std::vector<int>(models.size(), 0));
    EXPECT_TRUE(isEmptyFolder(dir.path()));
}

} // namespace
} // namespace kradon
