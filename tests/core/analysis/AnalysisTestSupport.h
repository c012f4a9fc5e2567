// Whole analyses for the tests: a run with what it showed, and random models.
#pragma once

#include "ModelBuilder.h"
#include "analysis/AnalyseCommand.h"
#include "analysis/modCalcs.h"
#include "mesh/modMesh.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace kradon::test {

struct Run {
    ProgramState s;
    modCalcs::Outcome outcome = modCalcs::Outcome::Failed;
    std::vector<std::string> messages;
};

/// The analysis of m (input units) at a mesh density, E and I integrated exactly along the
/// elements or taken at their midpoints.
inline Run Analyse(const BeamModel& m, double MeshDensFact, bool exactSections = false) {
    Run r;
    r.s.model = m;
    r.s.options.MeshDensFact = MeshDensFact;
    r.s.options.ExactSections = exactSections;
    RecordingSink sink;
    RecordingStatus status;
    r.outcome = modCalcs::RunAnalysis(r.s, status, sink);
    r.messages = sink.texts();
    return r;
}

/// A completed analysis that showed nothing.
inline ProgramState Analysed(const BeamModel& m, double MeshDensFact = 1,
                             bool exactSections = false) {
    Run r = Analyse(m, MeshDensFact, exactSections);
    EXPECT_EQ(r.outcome, modCalcs::Outcome::Completed);
    EXPECT_TRUE(r.messages.empty());
    return std::move(r.s);
}

/// The Analyse command's run of s.model with its copy in folder, what it showed unseen.
inline AnalyseOutcome AnalyseByCommand(ProgramState& s, const std::filesystem::path& folder) {
    RecordingSink sink;
    NullStatusSink status;
    return AnalyseCore(s, folder, status, sink).outcome;
}

/// The first node at x; fails the test where there is none.
inline std::size_t NodeAt(const ProgramState& s, double x) {
    const auto n = modMesh::FirstNodeAt(s.mesh, x);
    EXPECT_NE(n, 0) << "no node at " << x;
    return static_cast<std::size_t>(n);
}

inline double LargestMagnitude(const std::vector<double>& values) {
    double largest = 0;
    for (const double v : values)
        largest = std::max(largest, std::fabs(v));
    return largest;
}

/// E over the span of each variation by choice 0..2: None, Linear, and two None halves.
inline void AddE(ModelBuilder& b, int choice, double L) {
    switch (choice) {
    case 0:
        b.eSegment(0, L, 200);
        break;
    case 1:
        b.linearE(0, L, 100, 300);
        break;
    default:
        b.eSegment(0, L / 2, 200).eSegment(L / 2, L, 70);
        break;
    }
}

/// A small random model on a span of 2..20 m with positions on a quarter-metre grid: supports,
/// springs, fixed displacements, every kind of load and E and I of every variation. Some cannot
/// stand.
inline BeamModel RandomModel(std::mt19937& rng) {
    auto pos = [&](double L) {
        return std::round(std::uniform_real_distribution<>(0, L)(rng) * 4) / 4;
    };
    auto val = [&] { return std::uniform_real_distribution<>(-20, 20)(rng); };
    auto pick = [&](int n) { return std::uniform_int_distribution<>(0, n)(rng); };
    const double L = 2 + pick(18);
    ModelBuilder b(30);
    b.span(L);
    for (int i = pick(3); i > 0; --i)
        b.support(1 + pick(1), pos(L));
    for (int i = pick(2); i > 0; --i)
        b.spring(pos(L), pick(1) * 5.0, pick(1) * 3.0);
    for (int i = pick(2); i > 0; --i)
        b.fixedDisplacement(pos(L), pick(1) * val(), pick(1) * 0.001);
    for (int i = pick(2); i > 0; --i)
        b.pointLoad(val(), pos(L));
    for (int i = pick(2); i > 0; --i)
        b.udl(val(), pos(L), pos(L));
    for (int i = pick(2); i > 0; --i)
        b.tdl(val(), val(), pos(L), pos(L));
    for (int i = pick(1); i > 0; --i)
        b.moment(val(), pos(L));
    AddE(b, pick(2), L);
    if (pick(1) == 0)
        b.iSegment(0, L, 5000 + pick(10) * 1000);
    else
        b.curveI(0, L, "5000 + 100 * x");
    return b.build();
}

} // namespace kradon::test
