// Beams whose deflection, rotation, moment and shear are known in closed form everywhere, each
// with its model in input units. Loads of w = 12 kN/m and P = 30 kN on spans of L = 7.3 m, EI
// = 2e7 N·m2; the closed forms give SI units.
#pragma once

#include "../analysis/ModelBuilder.h"
#include "results/ResultQueries.h"

#include <functional>
#include <vector>

namespace kradon::test::closed {

// E = 200 kN/mm2 and I = 10000 cm4 give EI = 2e7 N·m2.
constexpr double EI = 2e7;

using ClosedForm = std::function<SectionValues(double x)>;

struct ClosedFormBeam {
    const char* name;
    BeamModel model;
    ClosedForm exact; // SI units, x in m
};

constexpr double w = 12e3, P = 30e3, L = 7.3;

inline SectionValues simplySupportedUdl(double x) {
    return {w * x * (L * L * L - 2 * L * x * x + x * x * x) / (24 * EI),
            w * (L * L * L - 6 * L * x * x + 4 * x * x * x) / (24 * EI), w * x * (L - x) / 2,
            w * x - w * L / 2};
}

/// P at a on a simply supported span, by the side of the load: x' = L - x mirrors it.
inline SectionValues simplySupportedPoint(double x, double a) {
    const double b = L - a;
    if (x <= a)
        return {P * b * x * (L * L - b * b - x * x) / (6 * L * EI),
                P * b * (L * L - b * b - 3 * x * x) / (6 * L * EI), P * b * x / L, -P * b / L};
    const double xr = L - x;
    return {P * a * xr * (L * L - a * a - xr * xr) / (6 * L * EI),
            -P * a * (L * L - a * a - 3 * xr * xr) / (6 * L * EI), P * a * xr / L, P * a / L};
}

inline SectionValues cantileverTipLoad(double x) {
    return {P * x * x * (3 * L - x) / (6 * EI), P * x * (2 * L - x) / (2 * EI), -P * (L - x), -P};
}

inline SectionValues cantileverUdl(double x) {
    return {w * x * x * (6 * L * L - 4 * L * x + x * x) / (24 * EI),
            w * x * (3 * L * L - 3 * L * x + x * x) / (6 * EI), -w * (L - x) * (L - x) / 2,
            -w * (L - x)};
}

inline SectionValues proppedCantileverUdl(double x) {
    const double RB = 3 * w * L / 8;
    return {w * x * x * (3 * L * L - 5 * L * x + 2 * x * x) / (48 * EI),
            w * x * (6 * L * L - 15 * L * x + 8 * x * x) / (48 * EI),
            RB * (L - x) - w * (L - x) * (L - x) / 2, w * x - 5 * w * L / 8};
}

inline SectionValues fixedFixedUdl(double x) {
    return {w * x * x * (L - x) * (L - x) / (24 * EI), w * x * (L - x) * (L - 2 * x) / (12 * EI),
            w * (6 * L * x - 6 * x * x - L * L) / 12, w * x - w * L / 2};
}

/// P at a on a span fixed at both ends, by the side of the load.
inline SectionValues fixedFixedPoint(double x, double a) {
    auto side = [](double s, double near, double far, double sign) {
        const double v =
            P * far * far * s * s * (3 * near * L - (3 * near + far) * s) / (6 * L * L * L * EI);
        const double slope =
            P * far * far * s * (6 * near * L - 3 * (3 * near + far) * s) / (6 * L * L * L * EI);
        const double MA = -P * near * far * far / (L * L);
        const double RA = P * far * far * (3 * near + far) / (L * L * L);
        return SectionValues{v, sign * slope, MA + RA * s, -sign * RA};
    };
    return x <= a ? side(x, a, L - a, 1) : side(L - x, L - a, a, -1);
}

inline std::vector<ClosedFormBeam> ClosedFormBeams() {
    const double a = 2.9; // the point loads stand here, off midspan
    auto span = [] { return test::ModelBuilder().span(L).uniformEI(200, 10000); };
    return {
        {"simply supported UDL", span().pinned(0).pinned(L).udl(12, 0, L).build(),
         simplySupportedUdl},
        {"simply supported point load", span().pinned(0).pinned(L).pointLoad(30, a).build(),
         [a](double x) { return simplySupportedPoint(x, a); }},
        {"cantilever tip load", span().fixed(0).pointLoad(30, L).build(), cantileverTipLoad},
        {"cantilever UDL", span().fixed(0).udl(12, 0, L).build(), cantileverUdl},
        {"propped cantilever UDL", span().fixed(0).pinned(L).udl(12, 0, L).build(),
         proppedCantileverUdl},
        {"fixed-fixed UDL", span().fixed(0).fixed(L).udl(12, 0, L).build(), fixedFixedUdl},
        {"fixed-fixed point load", span().fixed(0).fixed(L).pointLoad(30, a).build(),
         [a](double x) { return fixedFixedPoint(x, a); }},
    };
}

} // namespace kradon::test::closed
