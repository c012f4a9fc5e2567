// The exact integration of varying E and I: the flexibility 1/(E x I) of each element integrated
// along it by adaptive Gauss-Kronrod quadrature to a relative 1e-12, with the real E and I of the
// model instead of their midpoint values.
#pragma once

#include "mesh/ExactSections.h"
#include "mesh/MeshTables.h"
#include "model/BeamModel.h"

#include <cstdint>

namespace kradon::modSections {

inline constexpr const char* ErrorSource = "modSections";

/// The laws of the model's E and I records and, for every element of mesh (E and I in analysis
/// units) along which E x I varies, its integrals over the whole element. Curves see the
/// position in full precision. Throws KradonError (source "modSections") naming the position
/// where E x I is 0, changes sign, is not a finite number or cannot be evaluated, and where the
/// tolerance cannot be reached. used is left false.
ExactSections IntegrateSections(const BeamModel& model, const MeshTables& mesh);

/// E x I (N·m2) of element e at position x (m), by its records' laws in full precision.
double SectionEI(const ExactSections& sections, std::int32_t e, double x);

/// The integrals over the first s (0..h) metres of element e, which starts at x0; fails as
/// IntegrateSections does.
FlexibilityIntegrals IntegrateFlexibility(const ExactSections& sections, std::int32_t e, double x0,
                                          double s);

} // namespace kradon::modSections
