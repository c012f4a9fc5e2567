// Load cases analysed once each, and their combinations and envelopes by superposition. Every
// case is analysed on one common mesh (each case's model also carries a zero point load at every
// position where any case places a load, so that all meshes agree); the prescribed
// displacements are analysed on their own once and counted once in every result. A patterned
// case is analysed span by span, and a combination that names it holds, at every point, the
// worst arrangement of loaded and unloaded spans.
#pragma once

#include "analysis/AnalyseCommand.h"
#include "analysis/ProgramState.h"
#include "model/LoadCases.h"
#include "model/Sinks.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kradon {

inline constexpr const char* LoadCasesTitle = "Load Cases";
/// A patterned case is split into at most this many spans.
inline constexpr std::size_t MaxPatternSpans = 16;

/// A stretch of the beam between two consecutive positions where something holds it vertically
/// (a rigid support, a vertical spring, a prescribed vertical displacement), or beyond the first
/// or last of them (a cantilever). Positions in m.
struct Span {
    double from = 0;
    double to = 0;
    bool operator==(const Span&) const = default;
};

/// The spans of the beam, left to right; the whole beam when nothing holds it vertically.
std::vector<Span> SpansOf(const BeamModel& beam);

/// The part of loads that lies on span (m): point and moment loads from its start up to, not
/// including, its end (including it for the last span), and distributed loads cut at the span's
/// ends, a trapezoidal load with its intensity where it is cut. Loads that end before they
/// start, which load nothing, are left out.
CaseLoads LoadsOnSpan(const CaseLoads& loads, const Span& span, bool lastSpan);

/// The results of one load state on the common mesh in analysis units, as one flat list of
/// numbers so that states add and scale as wholes: Displacements, NodeShear, NodeMoment, the
/// element load intensities at both ends, the reactions (vertical and moment of every rigid
/// support, spring support and fixed displacement, in that order), then the nodal load tables.
struct LoadState {
    std::vector<double> values;
};

/// What to combine: factors of cases (0-based). A case alone is the loading of that case with
/// factor 1.
struct Loading {
    std::string name;
    std::vector<std::pair<std::size_t, double>> terms;
};

Loading CaseLoading(const CaseModel& m, std::size_t c);
Loading CombinationLoading(const CaseModel& m, std::size_t k);
/// The combinations of the model, or, when it has none, each case on its own.
std::vector<Loading> EnvelopeLoadings(const CaseModel& m);

/// Every case analysed on the common mesh.
struct CaseAnalysis {
    /// The beam (input units) with no loads, the common mesh (E and I in input units) and the
    /// nodal tables of the supports: the frame that combined states are put into.
    ProgramState frame;
    std::vector<Span> spans;
    LoadState displacementsOnly; // the prescribed displacements alone
    struct Part {
        std::size_t span = 0; // 0-based; 0 for a case that is not patterned
        LoadState state;      // without the prescribed displacements
    };
    /// Per case: one part, or one per loaded span of a patterned case.
    std::vector<std::vector<Part>> cases;
    std::vector<bool> patterned;
    double AnalysisTime = 0; // s, every analysis together
};

struct CasesOutcome {
    AnalyseOutcome outcome = AnalyseOutcome::CheckFailed;
    std::optional<CaseAnalysis> analysis; // when completed
};

/// Checks every case (each message of a model with several cases names the case), then
/// analyses each case once (a patterned case once per loaded span) and the prescribed
/// displacements once, each as the Analyse command analyses a model, with analysis copies in
/// copyFolder. A message that several analyses give is shown once. Throws KradonError (FileIo)
/// when a copy cannot be written.
CasesOutcome AnalyseCases(const CaseModel& m, const std::filesystem::path& copyFolder,
                          StatusSink& status, MessageSink& messages);

/// Which spans of each patterned case are loaded: pairs of case (0-based) and a mask whose bit s
/// stands for span s + 1.
using Arrangement = std::vector<std::pair<std::size_t, std::uint32_t>>;

/// Which loading (index into EnvelopeResult::loadings) and which arrangement of its patterned
/// cases (index into EnvelopeResult::arrangements, 0 for none) gives a value.
struct Governing {
    std::uint32_t loading = 0;
    std::uint32_t arrangement = 0;
    bool operator==(const Governing&) const = default;
};

struct Bound {
    double value = 0;
    Governing by;
};

/// The largest and smallest value at one place.
struct ValueRange {
    Bound largest, smallest;
};

struct ExtremeBound {
    double value = 0;
    double x = 0; // m
    Governing by;
};

struct ExtremeRange {
    ExtremeBound largest, smallest;
};

enum class Quantity { Deflection, Rotation, Moment, Shear };
inline constexpr std::size_t QuantityCount = 4;

/// The largest and smallest values over loadings and arrangements, in analysis units (m, rad,
/// N·m, N): at every node, at every support, and anywhere on the beam, between nodes too. For one
/// loading without patterned cases, largest and smallest agree.
struct EnvelopeResult {
    std::vector<std::string> loadings;
    std::vector<Arrangement> arrangements; // entry 0: no patterned case
    /// Per node 1..NodeCount (entry 0 unused). shearLeft is the end of the element before the
    /// node (0 at node 1), shearRight the start of the element after it (0 at the last node).
    std::vector<ValueRange> deflection, rotation, moment, shearLeft, shearRight;
    /// Vertical (N, upwards) and moment (N·m, clockwise) of rigid support r at 2(r - 1) and
    /// 2(r - 1) + 1, then the spring supports, then the fixed displacements.
    std::vector<ValueRange> reactions;
    std::array<ExtremeRange, QuantityCount> extremes; // indexed by Quantity
};

/// The envelope of loadings (one or more, each naming cases of the analysis).
EnvelopeResult Envelope(const CaseAnalysis& a, const std::vector<Loading>& loadings);

/// Whether a loading names a patterned case.
bool IsPatterned(const CaseAnalysis& a, const Loading& loading);

/// The governing loading and arrangement in words: "ULS", or "ULS with Q on spans 1, 3" (and
/// "on no span" when none is loaded); a patterned case alone: "Q on spans 1, 3".
std::string GoverningText(const EnvelopeResult& r, const Governing& g, const CaseModel& m);

/// A loading without patterned cases as the results of one analysis: the beam with the
/// factored loads of its cases, the common mesh, and the superposed result tables, extremes
/// and equilibrium residuals (analysis units, as a completed analysis leaves them). Throws
/// KradonError (InvalidArgument) for a patterned loading.
ProgramState CombinedState(const CaseAnalysis& a, const CaseModel& m, const Loading& loading);

} // namespace kradon
