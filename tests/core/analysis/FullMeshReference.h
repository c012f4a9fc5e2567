// The stiffness method on the whole mesh, kept as the reference for the exact solution: every
// element's Euler-Bernoulli matrix assembled into one banded system, springs on its diagonal,
// held equations replaced by their prescribed values, Gauss elimination, and end forces recovered
// as k u less the fixed-end forces. Its accuracy falls with the mesh's conditioning (about n^4
// times the rounding error for n elements), so it serves on small meshes only, and it eliminates in
// extended precision: in double it already loses the ninth digit on a few dozen elements.
#pragma once

#include "analysis/BandMatrix.h"
#include "analysis/ProgramState.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace kradon::test {

using ElementMatrix = std::array<std::array<double, 4>, 4>;

/// Element e's stiffness (N, m): vertical and rotation of the first node, then of the second.
inline ElementMatrix ElementStiffness(const MeshTables& mesh, std::int32_t e) {
    const auto i = static_cast<std::size_t>(e);
    const double L = mesh.ElementLength[i];
    const double k = mesh.ElementI[i] * mesh.ElementE[i] / std::pow(L, 3);
    const double a = 12 * k, b = 6 * L * k, c = 4 * k * L * L, d = 2 * k * L * L;
    return {{{a, b, -a, b}, {b, c, -b, d}, {-a, -b, a, -b}, {b, d, -b, c}}};
}

/// The assembled, restrained system of the mesh, ready for elimination.
template <typename Real = double>
BandMatrix<Real> FullMeshSystem(const MeshTables& mesh, const NodalTables& nodal) {
    BandMatrix<Real> A(mesh.NumEquations);
    for (std::int32_t e = 1; e <= mesh.ElementCount; ++e) {
        const ElementMatrix k = ElementStiffness(mesh, e);
        for (std::int32_t i = 0; i < 4; ++i)
            for (std::int32_t j = 0; j < 4; ++j)
                A(2 * e - 1 + i, 2 * e - 1 + j) += k[i][j];
    }
    for (std::int32_t d = 1; d <= mesh.NumEquations; ++d) {
        A(d, d) += nodal.SpringDiagonal[static_cast<std::size_t>(d)];
        A.Rhs[static_cast<std::size_t>(d)] = nodal.LoadVector[static_cast<std::size_t>(d)];
        if (!Constrained(nodal, d))
            continue;
        // The held row scaled to the stiffness it replaces: a unit row beside terms of EI/h^3
        // would cost the elimination up to eight digits.
        const Real scale = A(d, d) != 0 ? std::fabs(A(d, d)) : Real(1);
        for (std::int32_t j = A.firstColumn(d); j <= A.lastColumn(d); ++j)
            A(d, j) = j == d ? scale : 0.0;
        A.Rhs[static_cast<std::size_t>(d)] =
            scale * nodal.PrescribedDisp[static_cast<std::size_t>(d)];
    }
    return A;
}

struct ReferenceSolution {
    bool solved = false;
    std::vector<double> Displacements, NodeShear, NodeMoment;
    /// The largest term of any end-force recovery: the forces are no better than this times
    /// the rounding error.
    double forceScale = 0;
};

/// Solves the whole mesh; unsolved where a pivot is zero or a result is not finite.
inline ReferenceSolution SolveFullMesh(const MeshTables& mesh, const NodalTables& nodal) {
    ReferenceSolution r;
    BandMatrix<long double> A = FullMeshSystem<long double>(mesh, nodal);
    try {
        if (!BandGaussSolve(A))
            return r;
    } catch (const KradonError&) {
        return r;
    }
    r.solved = true;
    r.Displacements.assign(A.Rhs.begin(), A.Rhs.end());
    r.NodeShear.assign(2 * static_cast<std::size_t>(mesh.NodeCount) + 1, 0.0);
    r.NodeMoment.assign(static_cast<std::size_t>(mesh.NodeCount) + 1, 0.0);
    const auto& EL = nodal.ElementNodalLoads;
    for (std::int32_t e = 1; e <= mesh.ElementCount; ++e) {
        const auto c = static_cast<std::size_t>(e);
        const ElementMatrix k = ElementStiffness(mesh, e);
        double f[5] = {0, 0, 0, 0, 0}; // k u, indexed as the element's loads from 1
        for (std::size_t i = 1; i <= 4; ++i)
            for (std::size_t j = 1; j <= 4; ++j) {
                const double term = k[i - 1][j - 1] * r.Displacements[2 * c - 2 + j];
                f[i] += term;
                r.forceScale = std::max(r.forceScale, std::fabs(term));
            }
        r.NodeShear[2 * c] = f[1] - EL[1][c];
        r.NodeShear[2 * c + 1] = -f[3] + EL[3][c];
        r.NodeMoment[c] = f[2] - EL[2][c];
        if (e == mesh.ElementCount)
            r.NodeMoment[c + 1] = -f[4] + EL[4][c];
    }
    return r;
}

} // namespace kradon::test
