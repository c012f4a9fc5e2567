// Values and sign changes of the polynomials along an element.
#include "analysis/SectionPolynomial.h"

namespace kradon::SectionPolynomial {
namespace {

Level below(Level level) {
    return static_cast<Level>(static_cast<int>(level) - 1);
}

/// The boundary between where the value is positive and where it is not, between s0 and s1
/// whose values lie on either side of it.
double bisect(Level level, const ElementState& e, double c, double s0, double s1) {
    const bool positiveAtStart = ValueAt(level, e, c, s0) > 0;
    for (int i = 0; i < 80; ++i) {
        const double mid = s0 + (s1 - s0) / 2;
        if (mid <= s0 || mid >= s1)
            break;
        ((ValueAt(level, e, c, mid) > 0) == positiveAtStart ? s0 : s1) = mid;
    }
    return s0 + (s1 - s0) / 2;
}

} // namespace

double ValueAt(Level level, const ElementState& e, double c, double s) {
    switch (level) {
    case Level::Load:
        return e.wa + e.k * s;
    case Level::Shear:
        return e.V + s * (e.wa + s * e.k / 2);
    case Level::Moment:
        return e.M - s * (e.V + s * (e.wa / 2 + s * e.k / 6));
    case Level::Rotation:
        return e.theta - c * s * (e.M - s * (e.V / 2 + s * (e.wa / 6 + s * e.k / 24)));
    case Level::Deflection:
        break;
    }
    return e.v + e.theta * s -
           c * s * s * (e.M / 2 - s * (e.V / 6 + s * (e.wa / 24 + s * e.k / 120)));
}

Roots RootsBetweenCuts(Level level, const ElementState& e, double c, double a, double b,
                       const Roots& cuts) {
    Roots roots;
    if (level == Level::Load) {
        if (e.k != 0) {
            const double s = -e.wa / e.k;
            if (s > a && s < b)
                roots.add(s);
        }
        return roots;
    }
    // Without stiffness the rotation is constant along the element.
    if (level == Level::Rotation && c == 0)
        return roots;
    double from = a;
    double valueFrom = ValueAt(level, e, c, a);
    for (std::size_t i = 0; i <= cuts.count; ++i) {
        const double to = i < cuts.count ? cuts.at[i] : b;
        const double valueTo = ValueAt(level, e, c, to);
        if ((valueFrom > 0) != (valueTo > 0)) {
            const double s = bisect(level, e, c, from, to);
            if (s > a && s < b)
                roots.add(s);
        }
        from = to;
        valueFrom = valueTo;
    }
    return roots;
}

Roots RootsInside(Level level, const ElementState& e, double c, double a, double b) {
    if (level == Level::Load)
        return RootsBetweenCuts(level, e, c, a, b, {});
    return RootsBetweenCuts(level, e, c, a, b, RootsInside(below(level), e, c, a, b));
}

std::array<Roots, 4> RootChain(const ElementState& e, double c, double a, double b) {
    std::array<Roots, 4> chain;
    chain[0] = RootsBetweenCuts(Level::Load, e, c, a, b, {});
    for (std::size_t level = 1; level < chain.size(); ++level)
        chain[level] = RootsBetweenCuts(static_cast<Level>(level), e, c, a, b, chain[level - 1]);
    return chain;
}

Roots CriticalPoints(Level level, const ElementState& e, double c, double a, double b) {
    if (level == Level::Load)
        return {};
    return RootsInside(below(level), e, c, a, b);
}

} // namespace kradon::SectionPolynomial
