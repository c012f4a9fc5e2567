// Assembly, banded elimination, recovery and the analysis driver. Degrees of freedom: node n
// owns 2n - 1 (vertical, downwards positive) and 2n (rotation, clockwise positive).
#include "analysis/modCalcs.h"

#include "analysis/modGauss.h"
#include "mesh/modMesh.h"
#include "model/KradonError.h"
#include "model/modText.h"

#include <chrono>
#include <cmath>
#include <exception>
#include <utility>

namespace kradon::modCalcs {
namespace {

constexpr const char* errorSource = "modCalcs";

std::size_t at(std::int32_t n) {
    return static_cast<std::size_t>(n);
}

void requireFinite(double v) {
    if (!std::isfinite(v))
        throw KradonError(ErrorNumber::Overflow, errorSource, "Overflow");
}

double quotient(double num, double den) {
    if (den == 0)
        throw KradonError(ErrorNumber::DivisionByZero, errorSource, "Division by zero");
    const double q = num / den;
    requireFinite(q);
    return q;
}

std::int32_t minOf(std::int32_t a, std::int32_t b) {
    return a < b ? a : b;
}

/// The first row k..k + Lower of strictly largest magnitude in column k.
std::int32_t pivotRow(const BandMatrix& A, std::int32_t k) {
    std::int32_t p = k;
    double magnitude = std::fabs(A(k, k));
    for (std::int32_t r = k + 1; r <= minOf(A.size(), k + BandMatrix::Lower); ++r) {
        if (std::fabs(A(r, k)) > magnitude) {
            magnitude = std::fabs(A(r, k));
            p = r;
        }
    }
    return p;
}

void exchangeRows(BandMatrix& A, std::int32_t k, std::int32_t p) {
    for (std::int32_t j = k; j <= A.lastColumn(k); ++j)
        std::swap(A(k, j), A(p, j));
    std::swap(A.Rhs[at(k)], A.Rhs[at(p)]);
}

/// One elimination step below the pivot (k, k); false when the pivot is exactly zero. Rows
/// beyond k + Lower hold zeros in column k and are left as the subtraction of zero would leave
/// them.
bool eliminateColumn(BandMatrix& A, std::int32_t k) {
    for (std::int32_t i = k + 1; i <= minOf(A.size(), k + BandMatrix::Lower); ++i) {
        if (A(k, k) == 0.0)
            return false;
        const double factor = A(i, k) / A(k, k);
        for (std::int32_t j = k + 1; j <= A.lastColumn(k); ++j)
            A(i, j) = A(i, j) - factor * A(k, j);
        A.Rhs[at(i)] = A.Rhs[at(i)] - factor * A.Rhs[at(k)];
    }
    return true;
}

void backSubstitute(BandMatrix& A) {
    const std::int32_t n = A.size();
    A.Rhs[at(n)] = quotient(A.Rhs[at(n)], A(n, n));
    for (std::int32_t i = n - 1; i >= 1; --i) {
        double s = 0;
        for (std::int32_t j = i + 1; j <= A.lastColumn(i); ++j)
            s += A(i, j) * A.Rhs[at(j)];
        A.Rhs[at(i)] = quotient(A.Rhs[at(i)] - s, A(i, i));
    }
}

/// The last point load (or moment load) standing exactly at x, 0 when none does.
double lastValueAt(const std::vector<double>& value, const std::vector<double>& location,
                   std::int16_t count, double x) {
    double v = 0;
    for (std::int32_t r = 1; r <= count; ++r)
        if (location[at(r)] == x)
            v = value[at(r)];
    return v;
}

std::int32_t sumOfTypes(const BeamModel& m) {
    double sum = 0;
    for (std::int32_t s = 1; s <= m.count(RecordKind::RigidSupport); ++s)
        sum += m.RigidSupport.type[at(s)];
    return sum > 0 ? static_cast<std::int32_t>(sum) : 0;
}

void meshAndLoads(ProgramState& s, MessageSink& messages) {
    s.mesh = MeshTables{};
    s.mesh = modMesh::GenerateMesh(s.model, s.options.MeshDensFact, messages);
    DimensionTables(s.mesh, s.nodal, s.equations, s.results);
    modMesh::FormNodalLoads(s.model, s.mesh, s.nodal);
    modMesh::SetRigidSupports(s.model, s.mesh, s.nodal, messages);
}

void assemble(ProgramState& s) {
    for (std::int32_t e = 1; e <= s.mesh.ElementCount; ++e) {
        const auto a = static_cast<std::int32_t>(s.mesh.ElementNode1[at(e)]);
        const auto b = static_cast<std::int32_t>(s.mesh.ElementNode2[at(e)]);
        AssembleElement(s.equations.GlobalStiffness, BuildElementStiffness(s.mesh, e), a, b);
    }
}

void restrain(ProgramState& s) {
    modMesh::AddSpringSupports(s.model, s.mesh, s.nodal, s.equations.GlobalStiffness);
    modMesh::SetPrescribedDisplacements(s.model, s.mesh, s.nodal);
    ApplyRestraints(s.equations.GlobalStiffness, s.nodal);
}

void recover(ProgramState& s) {
    for (std::int32_t e = 1; e <= s.mesh.ElementCount; ++e)
        RecoverElement(s, e);
    ComputeReactions(s);
}

} // namespace

void DimensionTables(const MeshTables& mesh, NodalTables& nodal, EquationTables& equations,
                     ResultTables& results) {
    equations.GlobalStiffness = BandMatrix(mesh.NumEquations);
    equations.Displacements.assign(at(mesh.NumEquations) + 1, 0.0);
    results.NodeDeflection.assign(at(mesh.NodeCount) + 1, 0.0);
    results.NodeShear.assign(2 * at(mesh.NodeCount) + 1, 0.0);
    results.NodeMoment.assign(at(mesh.NodeCount) + 1, 0.0);
    nodal.ElementNodalLoads.assign(5, std::vector<double>(at(mesh.ElementCount) + 1, 0.0));
}

ElementMatrix BuildElementStiffness(const MeshTables& mesh, std::int32_t e) {
    const double E = mesh.ElementE[at(e)];
    const double I = mesh.ElementI[at(e)];
    const double L = mesh.ElementLength[at(e)];
    const double k = quotient(I * E, std::pow(L, 3));
    ElementMatrix m{};
    m[1][1] = 12 * k;
    m[1][2] = 6 * L * k;
    m[1][3] = -m[1][1];
    m[1][4] = m[1][2];
    m[2][1] = m[1][2];
    m[2][2] = 4 * k * L * L;
    m[2][3] = -m[2][1];
    m[2][4] = 2 * k * L * L;
    m[3][1] = m[1][3];
    m[3][2] = m[2][3];
    m[3][3] = m[1][1];
    m[3][4] = -m[1][2];
    for (int j = 1; j <= 3; ++j)
        m[4][j] = m[j][4];
    m[4][4] = m[2][2];
    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j <= 4; ++j)
            requireFinite(m[i][j]);
    return m;
}

void AssembleElement(BandMatrix& GlobalStiffness, const ElementMatrix& ElementStiffness,
                     std::int32_t a, std::int32_t b) {
    const std::array<std::int32_t, 5> g{0, 2 * a - 1, 2 * a, 2 * b - 1, 2 * b};
    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j <= 4; ++j)
            GlobalStiffness(g[at(i)], g[at(j)]) += ElementStiffness[at(i)][at(j)];
}

void ApplyRestraints(BandMatrix& GlobalStiffness, NodalTables& nodal) {
    for (std::int32_t d = 1; d <= GlobalStiffness.size(); ++d) {
        const bool constrained =
            nodal.RestraintFlag[at(d)] == 1 || nodal.PrescribedDisp[at(d)] != 0;
        if (!constrained)
            continue;
        nodal.LoadVector[at(d)] = nodal.PrescribedDisp[at(d)];
        for (std::int32_t j = GlobalStiffness.firstColumn(d); j <= GlobalStiffness.lastColumn(d);
             ++j)
            GlobalStiffness(d, j) = j == d ? 1.0 : 0.0;
    }
}

void GaussSolve(EquationTables& equations, const std::vector<double>& LoadVector,
                const std::function<void()>& reportUnstable) {
    const auto start = std::chrono::steady_clock::now();
    BandMatrix& A = equations.GlobalStiffness;
    const std::int32_t n = A.size();
    for (std::int32_t i = 1; i <= n; ++i)
        A.Rhs[at(i)] = LoadVector[at(i)];
    for (std::int32_t k = 1; k <= n - 1; ++k) {
        if (equations.CalcError != 0)
            return;
        if (const auto p = pivotRow(A, k); p != k)
            exchangeRows(A, k, p);
        if (!eliminateColumn(A, k))
            reportUnstable();
    }
    if (equations.CalcError != 0)
        return;
    backSubstitute(A);
    for (std::int32_t i = 1; i <= n; ++i)
        equations.Displacements[at(i)] = A.Rhs[at(i)];
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    equations.CalcTime = elapsed.count();
}

void SolveEquations(ProgramState& s, MessageSink& messages) {
    GaussSolve(s.equations, s.nodal.LoadVector,
               [&s, &messages] { modGauss::ReportUnstable(s, messages); });
    if (s.equations.CalcError != 0)
        return;
    for (std::int32_t n = 1; n <= s.mesh.NodeCount; ++n)
        s.results.NodeDeflection[at(n)] = s.equations.Displacements[at(2 * n - 1)];
}

ElementVector MultiplyElement(const ElementMatrix& matrix, const ElementVector& x) {
    ElementVector y{};
    for (std::size_t i = 1; i <= 4; ++i) {
        double sum = 0;
        for (std::size_t j = 1; j <= 4; ++j)
            sum += matrix[i][j] * x[j];
        y[i] = sum;
    }
    return y;
}

void RecoverElement(ProgramState& s, std::int32_t e) {
    const auto a = static_cast<std::int32_t>(s.mesh.ElementNode1[at(e)]);
    const auto b = static_cast<std::int32_t>(s.mesh.ElementNode2[at(e)]);
    const auto& d = s.equations.Displacements;
    const ElementVector disp{0, d[at(2 * a - 1)], d[at(2 * a)], d[at(2 * b - 1)], d[at(2 * b)]};
    const ElementVector force = MultiplyElement(BuildElementStiffness(s.mesh, e), disp);
    const auto& EL = s.nodal.ElementNodalLoads;
    const std::size_t c = at(e);
    // Shear is positive when the forces left of the section act downwards; sagging moments are
    // positive.
    s.results.NodeShear[2 * c] = force[1] - EL[1][c];
    s.results.NodeShear[2 * c + 1] = -force[3] + EL[3][c];
    s.results.NodeMoment[c] = force[2] - EL[2][c];
    if (e == s.mesh.ElementCount)
        s.results.NodeMoment[c + 1] = -force[4] + EL[4][c];
}

void ComputeReactions(ProgramState& s) {
    const BeamModel& m = s.model;
    const auto rows = static_cast<std::size_t>(sumOfTypes(m)) + 1;
    s.results.SupportReaction.assign(rows > at(m.count(RecordKind::RigidSupport))
                                         ? rows
                                         : at(m.count(RecordKind::RigidSupport)) + 1,
                                     std::vector<double>(3, 0.0));
    const auto rx = modMesh::RoundedNodeX(s.mesh);
    for (std::int32_t r = 1; r <= m.count(RecordKind::RigidSupport); ++r) {
        const auto n = modMesh::FirstNodeAt(rx, s.mesh.NodeCount, m.RigidSupport.location[at(r)]);
        if (n == 0)
            continue;
        const double x = s.mesh.NodeX[at(n)];
        const double P =
            lastValueAt(m.PointLoad.value, m.PointLoad.location, m.count(RecordKind::PointLoad), x);
        const double M = lastValueAt(m.MomentLoad.value, m.MomentLoad.location,
                                     m.count(RecordKind::MomentLoad), x);
        auto& row = s.results.SupportReaction[at(r)];
        row[1] = s.results.NodeShear[at(2 * n - 1)] - s.results.NodeShear[at(2 * n)] + P;
        if (m.RigidSupport.type[at(r)] != SupportType::Fixed)
            continue;
        // The moment the support exerts on the beam, clockwise positive, balancing the node
        // together with a moment load standing there.
        const double f = modText::RoundTrip15(x) == m.span ? -1 : 1;
        row[2] = f * s.results.NodeMoment[at(n)] - M;
    }
}

Outcome RunAnalysis(ProgramState& s, StatusSink& status, MessageSink& messages) {
    try {
        s.equations.CalcError = 0;
        status.udTxt("modMeshing....");
        meshAndLoads(s, messages);
        status.udPb(10);
        status.udTxt("Element Stiffnesses......");
        assemble(s);
        status.udPb(30);
        status.udTxt("Restricting Global Matrix...");
        restrain(s);
        status.udPb(40);
        status.udTxt("Solving.......");
        SolveEquations(s, messages);
        if (s.equations.CalcError != 0)
            throw KradonError(ErrorNumber::ObjectErrorBase, errorSource, "Structure is unstable");
        status.udPb(70);
        status.udTxt("Backsubstituting.......");
        recover(s);
        status.udPb(80);
        status.udTxt("Preparing modGraphics.....");
        return Outcome::Completed;
    } catch (const std::exception&) {
        messages.show({FeaTitle, CalcErrorText, Icon::Critical});
        return s.equations.CalcError == -1 ? Outcome::Unstable : Outcome::Failed;
    }
}

} // namespace kradon::modCalcs
