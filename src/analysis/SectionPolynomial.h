// The exact solution along one element as polynomials in the distance s from its start, and
// the places inside an element where a result may be largest or smallest. Sums of states are
// states, so superposed load cases are searched as exactly as single ones.
#pragma once

#include <array>
#include <cstddef>

namespace kradon::SectionPolynomial {

/// The section at the start of an element and the load along it, in analysis units:
/// deflection v (m, downwards), rotation theta (rad, clockwise), shear V (N), sagging moment M
/// (N·m), the downward load intensity wa (N/m) at the start and its growth k (N/m2).
struct ElementState {
    double v = 0, theta = 0, V = 0, M = 0, wa = 0, k = 0;
};

/// this += f x other.
inline void AddScaled(ElementState& to, double f, const ElementState& other) {
    to.v += f * other.v;
    to.theta += f * other.theta;
    to.V += f * other.V;
    to.M += f * other.M;
    to.wa += f * other.wa;
    to.k += f * other.k;
}

/// The levels of the chain of derivatives: the load w is the slope of V, -V of M, -c M of
/// theta (c = 1/EI) and theta of v.
enum class Level { Load, Shear, Moment, Rotation, Deflection };

/// The value at s of one level, c the flexibility 1/EI (1/(N·m2), 0 without stiffness).
double ValueAt(Level level, const ElementState& e, double c, double s);

/// At most five roots, ascending.
struct Roots {
    std::array<double, 6> at{};
    std::size_t count = 0;
    void add(double s) { at[count++] = s; }
};

/// Where the value of level changes sign strictly inside (a, b): between consecutive roots of
/// its derivative the value is monotone, so each sign change there is one root, found by
/// bisection to the last bit.
Roots RootsInside(Level level, const ElementState& e, double c, double a, double b);

/// RootsInside, given the roots of the level below (the sign changes of its derivative).
Roots RootsBetweenCuts(Level level, const ElementState& e, double c, double a, double b,
                       const Roots& cuts);

/// The roots inside (a, b) of the load, shear, moment and rotation, indexed by Level: the
/// critical points of the shear, moment, rotation and deflection, found in one pass.
std::array<Roots, 4> RootChain(const ElementState& e, double c, double a, double b);

/// The places inside (a, b) where the value of level may be extreme: the roots of its
/// derivative (none for the load).
Roots CriticalPoints(Level level, const ElementState& e, double c, double a, double b);

} // namespace kradon::SectionPolynomial
