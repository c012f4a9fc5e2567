// The tables of one mesh: its nodes and elements, and the loads and supports placed on its nodes.
// Every table is indexed by the documented 1-based number (node, element or equation) and sized
// one past the highest; entry 0 is unused and stays 0.
#pragma once

#include "mesh/ExactSections.h"

#include <cstdint>
#include <vector>

namespace kradon {

struct MeshTables {
    std::int32_t NodeCount = 0;
    std::int32_t ElementCount = 0;
    std::int32_t NumEquations = 0; // 2 x NodeCount; node n owns 2n - 1 (vertical) and 2n (rotation)
    std::vector<double> BreakPoints;      // the segment lengths 1..nseg after meshing, m
    std::vector<double> SegmentDivisions; // elements per segment 1..nseg
    std::vector<double> NodeX;            // m from the left end, strictly increasing
    std::vector<double> ElementNode1, ElementNode2;
    std::vector<double> ElementLength; // m
    std::vector<double> ElementE;      // N/m2 during the analysis, kN/mm2 after it
    std::vector<double> ElementI;      // m4 during the analysis, cm4 after it
    /// E x I along each element, for the exact integration of varying E and I; ElementE and
    /// ElementI keep the midpoint values in any case.
    ExactSections Sections;
};

struct NodalTables {
    std::vector<double> LoadVector; // equations 1..NumEquations; N and N·m
    /// The point loads (N, downwards) and moment loads (N·m, clockwise) alone, per equation.
    std::vector<double> ConcentratedLoad;
    /// Rows 1..4 (force and moment at the first node, force and moment at the second node),
    /// each indexed by element 1..ElementCount.
    std::vector<std::vector<double>> ElementNodalLoads;
    /// The downward intensity of all distributed loads on element e at its first and its second
    /// node, N/m; it varies linearly in between.
    std::vector<double> ElementLoadStart, ElementLoadEnd;
    std::vector<double> RestraintFlag;   // 1 where a rigid support holds the equation
    std::vector<double> SpringStiffness; // kN/mm or kN/rad, as entered (the last spring's)
    std::vector<double> SpringDiagonal;  // N/m or N·m/rad, every spring at the equation summed
    std::vector<double> PrescribedDisp;  // m or rad; 0 means none
};

/// Whether equation d is held: by a rigid support, or by a prescribed value other than 0.
inline bool Constrained(const NodalTables& nodal, std::int32_t d) {
    const auto i = static_cast<std::size_t>(d);
    return nodal.RestraintFlag[i] == 1 || nodal.PrescribedDisp[i] != 0;
}

} // namespace kradon
