// A banded system of equations and its Gauss elimination with partial pivoting. The beam's
// equations couple each unknown with at most three neighbours on either side, so the matrix is
// kept as a band and the elimination costs a fixed number of steps per equation.
#pragma once

#include "model/KradonError.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace kradon {

/// Rows and columns 1..N stored as a band: no entry lies more than Lower below or Upper above the
/// diagonal; row exchanges during elimination can move entries up to Lower further right, which
/// the stored width allows for. Entries outside the band are zero and never stored. The
/// right-hand side (the augmented column N + 1) is kept beside it in Rhs.
template <typename Real> class BandMatrix {
public:
    static constexpr std::int32_t Lower = 3;
    static constexpr std::int32_t Upper = 3;
    static constexpr std::int32_t Width = 2 * Lower + Upper + 1;

    BandMatrix() = default;
    explicit BandMatrix(std::int32_t n)
        : n_(n), data_(static_cast<std::size_t>(n + 1) * Width, Real(0)),
          Rhs(static_cast<std::size_t>(n) + 1, Real(0)) {}

    std::int32_t size() const { return n_; }
    /// The first and last stored column of row i.
    std::int32_t firstColumn(std::int32_t i) const { return i - Lower < 1 ? 1 : i - Lower; }
    std::int32_t lastColumn(std::int32_t i) const {
        return i + Upper + Lower > n_ ? n_ : i + Upper + Lower;
    }
    bool stored(std::int32_t i, std::int32_t j) const {
        return i >= 1 && i <= n_ && j >= firstColumn(i) && j <= lastColumn(i);
    }
    Real& operator()(std::int32_t i, std::int32_t j) {
        assert(stored(i, j) && "entry outside the band");
        return data_[index(i, j)];
    }
    /// Any entry of the full matrix: zero outside the band.
    Real operator()(std::int32_t i, std::int32_t j) const {
        return stored(i, j) ? data_[index(i, j)] : Real(0);
    }

private:
    std::size_t index(std::int32_t i, std::int32_t j) const {
        return static_cast<std::size_t>(i) * Width + static_cast<std::size_t>(j - i + Lower);
    }
    std::int32_t n_ = 0;
    std::vector<Real> data_;

public:
    std::vector<Real> Rhs; // 1..N
};

namespace band {

template <typename Real> Real quotient(Real num, Real den) {
    if (den == 0)
        throw KradonError(ErrorNumber::DivisionByZero, ErrorSource::Calcs, "Division by zero");
    const Real q = num / den;
    if (!std::isfinite(q))
        throw KradonError(ErrorNumber::Overflow, ErrorSource::Calcs, "Overflow");
    return q;
}

/// The first row k..k + Lower of strictly largest magnitude in column k.
template <typename Real> std::int32_t pivotRow(const BandMatrix<Real>& A, std::int32_t k) {
    std::int32_t p = k;
    Real magnitude = std::fabs(A(k, k));
    const std::int32_t last = std::min(A.size(), k + BandMatrix<Real>::Lower);
    for (std::int32_t r = k + 1; r <= last; ++r) {
        if (std::fabs(A(r, k)) > magnitude) {
            magnitude = std::fabs(A(r, k));
            p = r;
        }
    }
    return p;
}

template <typename Real> void exchangeRows(BandMatrix<Real>& A, std::int32_t k, std::int32_t p) {
    for (std::int32_t j = k; j <= A.lastColumn(k); ++j)
        std::swap(A(k, j), A(p, j));
    std::swap(A.Rhs[static_cast<std::size_t>(k)], A.Rhs[static_cast<std::size_t>(p)]);
}

/// One elimination step below the pivot (k, k); false when the pivot is exactly zero. Rows
/// beyond k + Lower hold zeros in column k and are left as the subtraction of zero would leave
/// them.
template <typename Real> bool eliminateColumn(BandMatrix<Real>& A, std::int32_t k) {
    const std::int32_t last = std::min(A.size(), k + BandMatrix<Real>::Lower);
    auto& b = A.Rhs;
    for (std::int32_t i = k + 1; i <= last; ++i) {
        if (A(k, k) == Real(0))
            return false;
        const Real factor = A(i, k) / A(k, k);
        for (std::int32_t j = k + 1; j <= A.lastColumn(k); ++j)
            A(i, j) = A(i, j) - factor * A(k, j);
        b[static_cast<std::size_t>(i)] -= factor * b[static_cast<std::size_t>(k)];
    }
    return true;
}

template <typename Real> void backSubstitute(BandMatrix<Real>& A) {
    const std::int32_t n = A.size();
    auto& b = A.Rhs;
    b[static_cast<std::size_t>(n)] = quotient(b[static_cast<std::size_t>(n)], A(n, n));
    for (std::int32_t i = n - 1; i >= 1; --i) {
        Real s = 0;
        for (std::int32_t j = i + 1; j <= A.lastColumn(i); ++j)
            s += A(i, j) * b[static_cast<std::size_t>(j)];
        b[static_cast<std::size_t>(i)] = quotient(b[static_cast<std::size_t>(i)] - s, A(i, i));
    }
}

} // namespace band

/// Gauss elimination with partial pivoting (of equal magnitudes the lowest row wins), then
/// back-substitution: the solution replaces A.Rhs. False, with A half eliminated, at the first
/// pivot that is exactly zero. A zero last diagonal or a result that is not finite throws
/// KradonError.
template <typename Real> bool BandGaussSolve(BandMatrix<Real>& A) {
    for (std::int32_t k = 1; k <= A.size() - 1; ++k) {
        if (const auto p = band::pivotRow(A, k); p != k)
            band::exchangeRows(A, k, p);
        if (!band::eliminateColumn(A, k))
            return false;
    }
    band::backSubstitute(A);
    return true;
}

} // namespace kradon
