// A small hand-made set of analysis tables for the report and results file tests: three nodes at
// 0, 2 and 4 m, two elements and two rigid supports, each value distinct so that a value taken
// from the wrong entry shows.
#pragma once

#include "analysis/ProgramState.h"

namespace kradon::test {

inline ProgramState ThreeNodeState() {
    ProgramState s;
    s.model.span = 4;
    ClearModelLists(s.model);
    s.model.count(RecordKind::RigidSupport) = 2;
    s.model.RigidSupport.type[1] = SupportType::Pinned;
    s.model.RigidSupport.type[2] = SupportType::Fixed;
    s.model.RigidSupport.location[2] = 4;
    s.results.SupportReaction = {{0, 0, 0}, {0, 50000, 0}, {0, -12345.6, 1500}};

    s.mesh.NodeCount = 3;
    s.mesh.ElementCount = 2;
    s.mesh.NumEquations = 6;
    s.mesh.NodeX = {0, 0, 2, 4};
    s.mesh.ElementE = {0, 205, 210.5};
    s.mesh.ElementI = {0, 8356, 12};
    // Entries 2e and 2e + 1 are the start and end of element e; 1 and 6 belong to no element.
    s.results.NodeShear = {0, 11, 5000, 4500, -4600, -4000, 777};
    s.results.NodeMoment = {0, 0, 10000, -250};
    s.results.NodeDeflection = {0, 0, 0.0042, -0.0001};
    s.equations.CalcTime = 0.25;
    s.AnalysisTime = 1.5;
    return s;
}

} // namespace kradon::test
