// E x I along each element as the model defines it, rather than at the element's midpoint: the
// records that define it and the integrals of the flexibility 1/(E x I) that a beam element
// needs (made by modSections).
#pragma once

#include "model/BeamModel.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kradon {

/// The relative accuracy every flexibility integral is found to.
inline constexpr double SectionTolerance = 1e-12;

/// The integrals of the flexibility c = 1/(E x I) over the first s metres of an element, with t
/// measured from its start: A[k] = integral of t^k c dt and B[k] = integral of (s - t) t^k c dt
/// over 0..s, k = 0..3, in analysis units (N and m). Under a moment that is a cubic in t, the
/// rotation and deflection gained over the s metres are sums of these.
struct FlexibilityIntegrals {
    std::array<double, 4> A{};
    std::array<double, 4> B{};
};

/// E x I along one element.
struct ElementSection {
    /// The E and I records that cover the element (0: none), as its midpoint finds them.
    std::size_t eRecord = 0, iRecord = 0;
    /// Whether E x I changes along the element; where it does not, the midpoint value is exact.
    bool varies = false;
    /// Over the whole element, where E x I varies.
    FlexibilityIntegrals whole;
};

/// E x I along every element of a mesh.
struct ExactSections {
    /// Whether the solution takes E x I along the elements (true) or at their midpoints.
    bool used = false;
    /// The laws of the E and I records 0..count, in their input units.
    std::vector<PropertyLaw> E, I;
    /// Elements 1..ElementCount; empty before the integration, and where no record varies.
    std::vector<ElementSection> element;

    /// The element's section, or null where E x I does not vary along it or the solution takes
    /// midpoint values.
    const ElementSection* varying(std::int32_t e) const {
        const auto i = static_cast<std::size_t>(e);
        return used && i < element.size() && element[i].varies ? &element[i] : nullptr;
    }
    /// Whether E x I varies along any element.
    bool anyVaries() const {
        return std::any_of(element.begin(), element.end(),
                           [](const ElementSection& s) { return s.varies; });
    }
};

} // namespace kradon
