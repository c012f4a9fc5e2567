// The tables of one analysis and the model they come from, owned by the main window and passed
// by reference to every step. Every table is indexed by the documented 1-based number (node,
// element or equation) and sized one past the highest; entry 0 is unused and stays 0.
#pragma once

#include "model/BeamModel.h"

#include <cassert>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kradon {

struct MeshTables {
    std::int32_t NodeCount = 0;
    std::int32_t ElementCount = 0;
    std::int32_t NumEquations = 0; // 2 x NodeCount; node n owns 2n - 1 (vertical) and 2n (rotation)
    std::vector<double> BreakPoints;      // the segment lengths 1..nseg after meshing, m
    std::vector<double> SegmentDivisions; // elements per segment 1..nseg
    std::vector<double> NodeX;            // m from the left end
    std::vector<double> ElementNode1, ElementNode2;
    std::vector<double> ElementLength; // m
    std::vector<double> ElementE;      // N/m2 during the analysis, kN/mm2 after it
    std::vector<double> ElementI;      // m4 during the analysis, cm4 after it
};

/// The global stiffness matrix of the beam, rows and columns 1..N, stored as a band. Element e
/// couples equations 2e - 1..2e + 2, so no entry lies more than Lower below or Upper above the
/// diagonal; row exchanges during elimination can move entries up to Lower further right, which
/// the stored width allows for. Entries outside the band are zero and never stored. The
/// right-hand side (the augmented column N + 1) is kept beside it in Rhs.
class BandMatrix {
public:
    static constexpr std::int32_t Lower = 3;
    static constexpr std::int32_t Upper = 3;
    static constexpr std::int32_t Width = 2 * Lower + Upper + 1;

    BandMatrix() = default;
    explicit BandMatrix(std::int32_t n)
        : n_(n), data_(static_cast<std::size_t>(n + 1) * Width, 0.0),
          Rhs(static_cast<std::size_t>(n) + 1, 0.0) {}

    std::int32_t size() const { return n_; }
    /// The first and last stored column of row i.
    std::int32_t firstColumn(std::int32_t i) const { return i - Lower < 1 ? 1 : i - Lower; }
    std::int32_t lastColumn(std::int32_t i) const {
        return i + Upper + Lower > n_ ? n_ : i + Upper + Lower;
    }
    bool stored(std::int32_t i, std::int32_t j) const {
        return i >= 1 && i <= n_ && j >= firstColumn(i) && j <= lastColumn(i);
    }
    double& operator()(std::int32_t i, std::int32_t j) {
        assert(stored(i, j) && "entry outside the band");
        return data_[index(i, j)];
    }
    /// Any entry of the full matrix: zero outside the band.
    double operator()(std::int32_t i, std::int32_t j) const {
        return stored(i, j) ? data_[index(i, j)] : 0.0;
    }

private:
    std::size_t index(std::int32_t i, std::int32_t j) const {
        return static_cast<std::size_t>(i) * Width + static_cast<std::size_t>(j - i + Lower);
    }
    std::int32_t n_ = 0;
    std::vector<double> data_;

public:
    std::vector<double> Rhs; // 1..N
};

struct NodalTables {
    std::vector<double> LoadVector; // equations 1..NumEquations; N and N·m
    /// Rows 1..4 (force and moment at the first node, force and moment at the second node),
    /// each indexed by element 1..ElementCount.
    std::vector<std::vector<double>> ElementNodalLoads;
    std::vector<double> RestraintFlag;   // 1 where a rigid support holds the equation
    std::vector<double> SpringStiffness; // kN/mm or kN/rad, as entered
    std::vector<double> PrescribedDisp;  // m or rad; 0 means none
};

struct EquationTables {
    BandMatrix GlobalStiffness;
    std::vector<double> Displacements; // m and rad, 1..NumEquations
    double CalcTime = 0;               // s
    std::int16_t CalcError = 0;        // -1 once the structure was found unstable
};

struct ResultTables {
    std::vector<double> NodeDeflection; // m, downwards positive, 1..NodeCount
    std::vector<double> NodeShear;      // N, 2e start and 2e + 1 end of element e
    std::vector<double> NodeMoment;     // N·m, sagging positive, 1..NodeCount
    /// Rows per rigid support 1..count (more rows may exist), columns 1 vertical (N, upwards
    /// positive) and 2 moment (N·m, clockwise positive).
    std::vector<std::vector<double>> SupportReaction;
};

struct Options {
    std::int16_t MaxNoApplieds = DefaultMaxNoApplieds;
    double MeshDensFact = 1;
};

struct ProgramState {
    BeamModel model;
    MeshTables mesh;
    NodalTables nodal;
    EquationTables equations;
    ResultTables results;
    Options options;
    std::string FileName;
    double AnalysisTime = 0; // s
    /// Where the Analyse command wrote the model just before the run; an unstable structure
    /// restores the model from it.
    std::filesystem::path AnalysisCopyPath;
};

} // namespace kradon
