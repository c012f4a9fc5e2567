// A beam model analysed as the Analyse command does it, in a scratch folder of the running test.
#pragma once

#include "TestFolder.h"
#include "analysis/AnalyseCommand.h"
#include "analysis/ModelBuilder.h"

namespace kradon::test {

inline ProgramState analysed(const BeamModel& model, double density = 1) {
    ProgramState s;
    s.model = model;
    s.options.MeshDensFact = density;
    NullStatusSink status;
    RecordingSink sink;
    const TestFolder folder;
    EXPECT_EQ(AnalyseCore(s, folder.path(), status, sink).outcome, AnalyseOutcome::Completed);
    return s;
}

} // namespace kradon::test
