// The result tables, the solution, reactions, the equilibrium check and the analysis driver.
// Degrees of freedom: node n owns 2n - 1 (vertical, downwards positive) and 2n (rotation,
// clockwise positive).
#include "analysis/modCalcs.h"

#include "analysis/modGauss.h"
#include "analysis/modSegments.h"
#include "mesh/modMesh.h"
#include "mesh/modSections.h"
#include "model/Index.h"
#include "model/KradonError.h"
#include "model/UnitFactors.h"
#include "model/modText.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <exception>

namespace kradon::modCalcs {
namespace {

std::int32_t sumOfTypes(const BeamModel& m) {
    double sum = 0;
    for (std::int32_t s = 1; s <= m.count(RecordKind::RigidSupport); ++s)
        sum += m.RigidSupport.type[at(s)];
    return sum > 0 ? static_cast<std::int32_t>(sum) : 0;
}

/// What a step of the run leaves: Completed lets the next step go on.
using Step = Outcome (*)(ProgramState& s, MessageSink& messages);

Outcome meshAndLoads(ProgramState& s, MessageSink& messages) {
    s.mesh = MeshTables{};
    s.mesh = modMesh::GenerateMesh(s.model, s.options.MeshDensFact, messages);
    DimensionTables(s.mesh, s.equations, s.results);
    modMesh::FormNodalLoads(s.model, s.mesh, s.nodal);
    modMesh::SetRigidSupports(s.model, s.mesh, s.nodal, messages);
    return Outcome::Completed;
}

/// E x I along the elements: taken by the solution with the exact-sections option, otherwise
/// only compared with the midpoint values. With the option, a beam it cannot be made for fails
/// with a message naming the place; without it, the comparison says why it is missing.
Outcome integrateSections(ProgramState& s, MessageSink& messages) {
    s.results.ExactSections = false;
    s.results.Discretisation = {};
    try {
        s.mesh.Sections = modSections::IntegrateSections(s.model, s.mesh);
    } catch (const KradonError& error) {
        if (s.options.ExactSections) {
            messages.show({FeaTitle, error.what(), Icon::Critical});
            throw;
        }
        s.results.Discretisation.varies = true;
        s.results.Discretisation.unavailable = error.what();
        return Outcome::Completed;
    }
    s.mesh.Sections.used = s.options.ExactSections;
    s.results.Discretisation.varies = s.mesh.Sections.anyVaries();
    s.results.ExactSections = s.mesh.Sections.used && s.results.Discretisation.varies;
    return Outcome::Completed;
}

/// The largest difference of one node result between two solutions, and the largest magnitude
/// of the exact one.
struct NodeDifference {
    Extreme largest;
    double scale = 0;
    void compare(double rule, double exact, double x) {
        if (std::fabs(rule - exact) > std::fabs(largest.value))
            largest = {rule - exact, x};
        scale = std::max(scale, std::fabs(exact));
    }
    double relative() const { return scale == 0 ? 0 : std::fabs(largest.value) / scale; }
};

void compareSolutions(DiscretisationEstimate& d, const MeshTables& mesh, const ResultTables& rule,
                      const ResultTables& exact) {
    NodeDifference deflection, moment;
    for (std::int32_t n = 1; n <= mesh.NodeCount; ++n) {
        const double x = mesh.NodeX[at(n)];
        deflection.compare(rule.NodeDeflection[at(n)], exact.NodeDeflection[at(n)], x);
        moment.compare(rule.NodeMoment[at(n)], exact.NodeMoment[at(n)], x);
    }
    d.deflection = deflection.largest;
    d.deflectionRelative = deflection.relative();
    d.moment = moment.largest;
    d.momentRelative = moment.relative();
}

/// Where E x I varies along the elements, the solution by the rule the run did not take, set
/// against the one it took.
void estimateDiscretisation(ProgramState& s) {
    DiscretisationEstimate& d = s.results.Discretisation;
    if (!d.varies || !d.unavailable.empty())
        return;
    EquationTables otherEquations;
    ResultTables other;
    DimensionTables(s.mesh, otherEquations, other);
    ExactSections& sections = s.mesh.Sections;
    sections.used = !sections.used;
    modSegments::Solution solution = modSegments::Solution::Mechanism;
    try {
        solution = modSegments::SolveBeam(s.mesh, s.nodal, otherEquations, other);
    } catch (const KradonError& error) {
        d.unavailable = error.what();
    }
    sections.used = !sections.used;
    if (solution != modSegments::Solution::Solved) {
        if (d.unavailable.empty())
            d.unavailable = "The other rule finds the structure unstable";
        return;
    }
    if (sections.used)
        compareSolutions(d, s.mesh, other, s.results);
    else
        compareSolutions(d, s.mesh, s.results, other);
}

Outcome restrain(ProgramState& s, MessageSink&) {
    modMesh::AddSpringSupports(s.model, s.mesh, s.nodal);
    modMesh::SetPrescribedDisplacements(s.model, s.mesh, s.nodal);
    ApplyRestraints(s.nodal);
    return Outcome::Completed;
}

Outcome solve(ProgramState& s, MessageSink& messages) {
    if (!SolveEquations(s, messages))
        return Outcome::Unstable;
    estimateDiscretisation(s);
    return Outcome::Completed;
}

Outcome recover(ProgramState& s, MessageSink& messages) {
    ComputeReactions(s);
    s.results.Residuals = CheckEquilibrium(s.model, s.mesh, s.results);
    s.results.Extremes = modSegments::FindExtremes(s.mesh, s.nodal, s.equations, s.results);
    if (const std::optional<std::string> where = NonFiniteResult(s)) {
        messages.show(
            {FeaTitle, MessageLines(CalcErrorText, NotFiniteText(*where)), Icon::Critical});
        return Outcome::Failed;
    }
    return Outcome::Completed;
}

/// The readers of the results take E and I in the units they were defined in.
Outcome toInputUnits(ProgramState& s, MessageSink&) {
    modMesh::ElementsToInputUnits(s.mesh);
    return Outcome::Completed;
}

/// The run, step by step: the progress line shown as a step starts, what it does, and the
/// percentage shown once it is done.
struct RunStep {
    const char* text;
    Step run;
    double percent;
};

constexpr RunStep RunSteps[] = {
    {"Meshing....", meshAndLoads, 10},
    {"Element Stiffnesses......", integrateSections, 30},
    {"Restricting Global Matrix...", restrain, 40},
    {"Solving.......", solve, 70},
    {"Backsubstituting.......", recover, 80},
    {"Preparing Graphics.....", toInputUnits, 100},
};

/// The force (upwards) and moment (clockwise) that whatever holds node n must exert on the
/// beam: the jumps of shear and moment across the node less the loads standing there.
struct Holding {
    double vertical = 0;
    double moment = 0;
};

Holding holdingAt(const ProgramState& s, std::int32_t n) {
    const auto& r = s.results;
    const double P = s.nodal.ConcentratedLoad[at(2 * n - 1)];
    const double C = s.nodal.ConcentratedLoad[at(2 * n)];
    // NodeShear 1 and 2 x NodeCount stay 0: nothing acts beyond the ends.
    const double vertical = r.NodeShear[at(2 * n - 1)] - r.NodeShear[at(2 * n)] + P;
    const double right = n < s.mesh.NodeCount ? r.NodeMoment[at(n)] : 0.0;
    double left = 0;
    if (n > 1) {
        const auto before = modSegments::StartOfElement(s.equations, r, n - 1);
        left = static_cast<double>(
            modSegments::Across(before, modSegments::ElementAt(s.mesh, s.nodal, n - 1)).M);
    }
    return {vertical, right - left - C};
}

/// The springs at node n together: force upwards, moment clockwise.
Holding springsAt(const ProgramState& s, std::int32_t n) {
    const auto& d = s.equations.Displacements;
    return {s.nodal.SpringDiagonal[at(2 * n - 1)] * d[at(2 * n - 1)],
            -s.nodal.SpringDiagonal[at(2 * n)] * d[at(2 * n)]};
}

using ReactionRows = std::vector<std::vector<double>>;

ReactionRows reactionRows(std::size_t rows) {
    return ReactionRows(rows, std::vector<double>(3, 0.0));
}

/// Who takes the reaction of each held node: the first rigid support there (the first Fixed one
/// for the moment), else the first fixed displacement that prescribes that component.
struct Claims {
    std::vector<std::int32_t> vertical, moment; // per node: 0 none, r rigid r, -f fixed disp. f
};

Claims claimsOf(const ProgramState& s) {
    const BeamModel& m = s.model;
    Claims c;
    c.vertical.assign(at(s.mesh.NodeCount) + 1, 0);
    c.moment.assign(at(s.mesh.NodeCount) + 1, 0);
    for (std::int32_t r = 1; r <= m.count(RecordKind::RigidSupport); ++r) {
        const double type = m.RigidSupport.type[at(r)];
        const auto n = modMesh::FirstNodeAt(s.mesh, m.RigidSupport.location[at(r)]);
        if (n == 0 || (type != SupportType::Pinned && type != SupportType::Fixed))
            continue;
        if (c.vertical[at(n)] == 0)
            c.vertical[at(n)] = r;
        if (type == SupportType::Fixed && c.moment[at(n)] == 0)
            c.moment[at(n)] = r;
    }
    const auto& fd = m.FixedDisplacement;
    for (std::int32_t f = 1; f <= m.count(RecordKind::FixedDisplacement); ++f) {
        const auto n = modMesh::FirstNodeAt(s.mesh, fd.location[at(f)]);
        if (n == 0)
            continue;
        if (fd.vertical[at(f)] != 0 && c.vertical[at(n)] == 0)
            c.vertical[at(n)] = -f;
        if (fd.rotational[at(f)] != 0 && c.moment[at(n)] == 0)
            c.moment[at(n)] = -f;
    }
    return c;
}

void springReactions(ProgramState& s) {
    const auto& sp = s.model.SpringSupport;
    const auto& d = s.equations.Displacements;
    auto& rows = s.results.SpringReaction;
    rows = reactionRows(at(s.model.count(RecordKind::SpringSupport)) + 1);
    for (std::int32_t r = 1; r <= s.model.count(RecordKind::SpringSupport); ++r) {
        const auto n = modMesh::FirstNodeAt(s.mesh, sp.location[at(r)]);
        if (n == 0)
            continue;
        rows[at(r)][1] = sp.vertical[at(r)] * units::VerticalSpringFactor * d[at(2 * n - 1)];
        rows[at(r)][2] = -sp.rotational[at(r)] * units::RotationalSpringFactor * d[at(2 * n)];
    }
}

/// Adds the reaction force and moment of every record to the running sums of vertical force
/// (downwards) and clockwise moment about the left end.
void subtractReactions(EquilibriumResiduals& e, const ReactionRows& rows,
                       const std::vector<double>& location, std::int16_t count,
                       const MeshTables& mesh) {
    for (std::int32_t r = 1; r <= count && at(r) < rows.size(); ++r) {
        const auto n = modMesh::FirstNodeAt(mesh, location[at(r)]);
        const double x = n == 0 ? location[at(r)] : mesh.NodeX[at(n)];
        e.vertical -= rows[at(r)][1];
        e.moment += -rows[at(r)][1] * x + rows[at(r)][2];
    }
}

void addLoads(EquilibriumResiduals& e, const BeamModel& m) {
    using K = RecordKind;
    const auto N = units::LoadInAnalysisUnits;
    for (std::int32_t r = 1; r <= m.count(K::PointLoad); ++r) {
        const double P = N(m.PointLoad.value[at(r)]);
        e.vertical += P;
        e.moment += P * m.PointLoad.location[at(r)];
        e.totalLoad += std::fabs(P);
    }
    for (std::int32_t r = 1; r <= m.count(K::MomentLoad); ++r)
        e.moment += N(m.MomentLoad.value[at(r)]);
    auto linear = [&e](double a, double b, double w1, double w2) {
        if (!(b > a))
            return; // a load that ends before it starts covers nothing
        const double L = b - a;
        e.vertical += (w1 + w2) * L / 2;
        e.moment += L * (w1 * (2 * a + b) + w2 * (a + 2 * b)) / 6;
        e.totalLoad += (std::fabs(w1) + std::fabs(w2)) * L / 2;
    };
    for (std::int32_t r = 1; r <= m.count(K::UDL); ++r)
        linear(m.UDL.start[at(r)], m.UDL.end[at(r)], N(m.UDL.value[at(r)]), N(m.UDL.value[at(r)]));
    for (std::int32_t r = 1; r <= m.count(K::TDL); ++r)
        linear(m.TDL.start[at(r)], m.TDL.end[at(r)], N(m.TDL.startValue[at(r)]),
               N(m.TDL.endValue[at(r)]));
}

/// "infinite" or "not a number".
std::string notFiniteWord(double v) {
    return std::isnan(v) ? "not a number" : "infinite";
}

std::string atNode(const MeshTables& mesh, std::size_t node) {
    const double x = node < mesh.NodeX.size() ? mesh.NodeX[node] : 0.0;
    return " at x = " + modText::GeneralNumber(x) + " m";
}

/// The first entry of table 1.. that is not finite and its index; nullopt when all are.
std::optional<std::size_t> firstNonFinite(const std::vector<double>& table) {
    for (std::size_t i = 1; i < table.size(); ++i)
        if (!std::isfinite(table[i]))
            return i;
    return std::nullopt;
}

std::optional<std::string> nonFiniteReaction(const std::vector<std::vector<double>>& rows,
                                             const char* record) {
    for (std::size_t r = 1; r < rows.size(); ++r)
        if (const auto column = firstNonFinite(rows[r]))
            return std::string("the reaction of ") + record + " " + std::to_string(r) + " is " +
                   notFiniteWord(rows[r][*column]);
    return std::nullopt;
}

} // namespace

std::optional<std::string> NonFiniteResult(const ProgramState& s) {
    const ResultTables& r = s.results;
    const auto nodal = [&s](const std::vector<double>& table, const char* what,
                            auto nodeOf) -> std::optional<std::string> {
        const auto i = firstNonFinite(table);
        if (!i)
            return std::nullopt;
        return std::string("the ") + what + atNode(s.mesh, nodeOf(*i)) + " is " +
               notFiniteWord(table[*i]);
    };
    const auto same = [](std::size_t i) { return i; };
    // Equation 2n - 1 is the deflection and 2n the rotation of node n; shears 2e and 2e + 1
    // belong to the start and end of element e.
    const auto nodeOfEquation = [](std::size_t i) { return (i + 1) / 2; };
    const auto nodeOfShear = [](std::size_t i) { return i / 2 + i % 2; };
    for (auto found : {nodal(r.NodeDeflection, "deflection", same),
                       nodal(s.equations.Displacements, "rotation", nodeOfEquation),
                       nodal(r.NodeMoment, "bending moment", same),
                       nodal(r.NodeShear, "shear force", nodeOfShear),
                       nonFiniteReaction(r.SupportReaction, "rigid support"),
                       nonFiniteReaction(r.SpringReaction, "spring support"),
                       nonFiniteReaction(r.DisplacementReaction, "fixed displacement")})
        if (found)
            return found;
    return std::nullopt;
}

void DimensionTables(const MeshTables& mesh, EquationTables& equations, ResultTables& results) {
    equations.Displacements.assign(at(mesh.NumEquations) + 1, 0.0);
    results.NodeDeflection.assign(at(mesh.NodeCount) + 1, 0.0);
    results.NodeShear.assign(2 * at(mesh.NodeCount) + 1, 0.0);
    results.NodeMoment.assign(at(mesh.NodeCount) + 1, 0.0);
    results.ElementFlexibility.clear();
}

void ApplyRestraints(NodalTables& nodal) {
    for (std::int32_t d = 1; at(d) < nodal.LoadVector.size(); ++d)
        if (Constrained(nodal, d))
            nodal.LoadVector[at(d)] = nodal.PrescribedDisp[at(d)];
}

bool SolveEquations(ProgramState& s, MessageSink& messages) {
    const auto start = std::chrono::steady_clock::now();
    if (modSegments::SolveBeam(s.mesh, s.nodal, s.equations, s.results) ==
        modSegments::Solution::Mechanism) {
        modGauss::ReportUnstable(s, messages);
        return false;
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    s.equations.CalcTime = elapsed.count();
    return true;
}

void ComputeReactions(ProgramState& s) {
    const BeamModel& m = s.model;
    const auto count = at(m.count(RecordKind::RigidSupport));
    s.results.SupportReaction = reactionRows(std::max(at(sumOfTypes(m)), count) + 1);
    s.results.DisplacementReaction = reactionRows(at(m.count(RecordKind::FixedDisplacement)) + 1);
    springReactions(s);
    const Claims claims = claimsOf(s);
    for (std::int32_t n = 1; n <= s.mesh.NodeCount; ++n) {
        const std::int32_t cv = claims.vertical[at(n)], cm = claims.moment[at(n)];
        if (cv == 0 && cm == 0)
            continue;
        const Holding held = holdingAt(s, n);
        const Holding springs = springsAt(s, n);
        auto rowOf = [&s](std::int32_t claim) -> std::vector<double>& {
            return claim > 0 ? s.results.SupportReaction[at(claim)]
                             : s.results.DisplacementReaction[at(-claim)];
        };
        if (cv != 0)
            rowOf(cv)[1] = held.vertical - springs.vertical;
        if (cm != 0)
            rowOf(cm)[2] = held.moment - springs.moment;
    }
}

EquilibriumResiduals CheckEquilibrium(const BeamModel& m, const MeshTables& mesh,
                                      const ResultTables& r) {
    EquilibriumResiduals e;
    addLoads(e, m);
    subtractReactions(e, r.SupportReaction, m.RigidSupport.location,
                      m.count(RecordKind::RigidSupport), mesh);
    subtractReactions(e, r.SpringReaction, m.SpringSupport.location,
                      m.count(RecordKind::SpringSupport), mesh);
    subtractReactions(e, r.DisplacementReaction, m.FixedDisplacement.location,
                      m.count(RecordKind::FixedDisplacement), mesh);
    return e;
}

Outcome RunAnalysis(ProgramState& s, StatusSink& status, MessageSink& messages) {
    s.equations.CalcError = 0;
    try {
        for (const RunStep& step : RunSteps) {
            status.udTxt(step.text);
            if (const Outcome outcome = step.run(s, messages); outcome != Outcome::Completed) {
                // The non-finite results name themselves; the others end as every failure does.
                if (outcome == Outcome::Unstable)
                    messages.show({FeaTitle, CalcErrorText, Icon::Critical});
                return outcome;
            }
            status.udPb(step.percent);
        }
    } catch (const std::exception&) {
        messages.show({FeaTitle, CalcErrorText, Icon::Critical});
        return Outcome::Failed;
    }
    return Outcome::Completed;
}

} // namespace kradon::modCalcs
