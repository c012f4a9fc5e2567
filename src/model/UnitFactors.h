// The factors from the input units the user sees into the analysis units (N, m, rad), in one
// place. Each is a power of ten, multiplied in and divided out again.
#pragma once

namespace kradon::units {

/// kN to N, kN/m to N/m, kNm to N·m: every load value.
inline constexpr double LoadFactor = 1e3;
/// kN/mm2 to N/m2.
inline constexpr double EFactor = 1e9;
/// cm4 to m4.
inline constexpr double IFactor = 1e-8;
/// kN/mm to N/m: a vertical spring.
inline constexpr double VerticalSpringFactor = 1e6;
/// kNm/rad to N·m/rad: a rotational spring.
inline constexpr double RotationalSpringFactor = 1e3;
/// mm to m: a prescribed displacement.
inline constexpr double DisplacementFactor = 1e-3;

/// A load value in N, N/m or N·m.
inline double LoadInAnalysisUnits(double kN) {
    return kN * LoadFactor;
}
/// One E from kN/mm2 to N/m2.
inline double EInAnalysisUnits(double E) {
    return E * EFactor;
}
/// One I from cm4 to m4.
inline double IInAnalysisUnits(double I) {
    return I * IFactor;
}

} // namespace kradon::units
