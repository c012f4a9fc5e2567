// Mesh generation and the nodal loads and restraints.
#include "mesh/modMesh.h"

#include "analysis/modUnits.h"
#include "model/KradonError.h"
#include "model/modText.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace kradon::modMesh {
namespace {

constexpr const char* errorSource = "modMesh";

std::size_t toIndex(std::int32_t n) {
    return static_cast<std::size_t>(n);
}

/// The node positions after the 15-digit round trip, formed once per operation: matching then
/// costs a comparison per node instead of a text conversion.
std::vector<double> roundedPositions(const MeshTables& mesh) {
    std::vector<double> rx(mesh.NodeX.size(), 0.0);
    for (std::size_t n = 1; n < rx.size(); ++n)
        rx[n] = modText::RoundTrip15(mesh.NodeX[n]);
    return rx;
}

/// Calls visit(n) for every node n standing at p, from node 1 upward.
template <typename Visit>
void forEachNodeAt(const std::vector<double>& rx, std::int32_t NodeCount, double p, Visit visit) {
    for (std::int32_t n = 1; n <= NodeCount; ++n)
        if (rx[toIndex(n)] == p)
            visit(n);
}

std::int32_t firstNodeAt(const std::vector<double>& rx, std::int32_t NodeCount, double p) {
    for (std::int32_t n = 1; n <= NodeCount; ++n)
        if (rx[toIndex(n)] == p)
            return n;
    return 0;
}

/// The non-empty segment lengths of the sorted key points, entry 0 unused.
std::vector<double> segmentLengths(std::vector<double> k) {
    std::sort(k.begin() + 1, k.end());
    std::vector<double> lengths{0.0};
    double previous = 0;
    for (std::size_t i = 1; i < k.size(); ++i) {
        const double length = k[i] - previous;
        previous = k[i];
        if (length != 0)
            lengths.push_back(length);
    }
    return lengths;
}

void buildSegments(MeshTables& mesh, const BeamModel& model, double MeshDensFact) {
    if (model.span == 0)
        throw KradonError(ErrorNumber::DivisionByZero, errorSource, "Division by zero");
    const auto nseg = static_cast<double>(mesh.BreakPoints.size() - 1);
    const double factor = MeshDensFact * 8 * nseg / model.span;
    mesh.SegmentDivisions.assign(mesh.BreakPoints.size(), 0.0);
    double elements = 0;
    for (std::size_t i = 1; i < mesh.BreakPoints.size(); ++i) {
        double divisions = RoundTo(factor * mesh.BreakPoints[i], 0);
        if (divisions < 1 && mesh.BreakPoints[i] > 0)
            divisions = 1;
        mesh.SegmentDivisions[i] = divisions;
        elements += divisions;
    }
    if (!std::isfinite(elements) || elements + 1 > MaxNodeCount)
        throw KradonError(ErrorNumber::Overflow, errorSource,
                          "The mesh would need " + modText::GeneralNumber(elements + 1) +
                              " nodes; at most " + std::to_string(MaxNodeCount) +
                              " are possible. Reduce the mesh density.");
    mesh.ElementCount = static_cast<std::int32_t>(elements);
    mesh.NodeCount = mesh.ElementCount + 1;
    mesh.NumEquations = 2 * mesh.NodeCount;
}

void placeNodes(MeshTables& mesh) {
    mesh.NodeX.assign(toIndex(mesh.NodeCount) + 1, 0.0);
    std::size_t n = 1;
    for (std::size_t i = 1; i < mesh.BreakPoints.size(); ++i) {
        const double h = mesh.BreakPoints[i] / mesh.SegmentDivisions[i];
        for (double d = 0; d < mesh.SegmentDivisions[i]; ++d, ++n)
            mesh.NodeX[n + 1] = mesh.NodeX[n] + h;
    }
}

void buildElements(MeshTables& mesh, const BeamModel& model) {
    const std::size_t entries = toIndex(mesh.ElementCount) + 1;
    for (auto* table : {&mesh.ElementNode1, &mesh.ElementNode2, &mesh.ElementLength, &mesh.ElementI,
                        &mesh.ElementE})
        table->assign(entries, 0.0);
    for (std::size_t e = 1; e < entries; ++e) {
        mesh.ElementNode1[e] = static_cast<double>(e);
        mesh.ElementNode2[e] = static_cast<double>(e + 1);
        mesh.ElementLength[e] = mesh.NodeX[e + 1] - mesh.NodeX[e];
        const double xm = (mesh.NodeX[e + 1] + mesh.NodeX[e]) * 0.5;
        mesh.ElementI[e] = IValueAt(model, xm);
        mesh.ElementE[e] = EValueAt(model, xm);
    }
}

/// The node s at start and t at end of a distributed load, 0 where none stands.
std::pair<std::int32_t, std::int32_t>
loadNodes(const MeshTables& mesh, const std::vector<double>& rx, double start, double end) {
    std::int32_t s = 0, t = 0;
    for (std::int32_t n = 1; n <= mesh.NodeCount; ++n) {
        const double x = rx[toIndex(n)];
        if (x == start)
            s = n;
        if (x == end) {
            t = n;
            if (s != 0 && s < n)
                break;
        }
    }
    return {s, t};
}

} // namespace

std::vector<double> KeyPoints(const BeamModel& m) {
    std::vector<double> k{0.0, 0.0};
    auto add = [&](RecordKind kind, const std::vector<double>& list) {
        for (std::int32_t n = 1; n <= m.count(kind); ++n)
            k.push_back(list.at(toIndex(n)));
    };
    add(RecordKind::PointLoad, m.PointLoad.location);
    add(RecordKind::UDL, m.UDL.start);
    add(RecordKind::UDL, m.UDL.end);
    add(RecordKind::TDL, m.TDL.start);
    add(RecordKind::TDL, m.TDL.end);
    add(RecordKind::MomentLoad, m.MomentLoad.location);
    add(RecordKind::RigidSupport, m.RigidSupport.location);
    add(RecordKind::SpringSupport, m.SpringSupport.location);
    add(RecordKind::FixedDisplacement, m.FixedDisplacement.location);
    add(RecordKind::ESegment, m.ESegment.disA);
    add(RecordKind::ESegment, m.ESegment.disB);
    add(RecordKind::ISegment, m.ISegment.disA);
    add(RecordKind::ISegment, m.ISegment.disB);
    k.push_back(m.span);
    return k;
}

double RoundTo(double x, std::int16_t digits) {
    const double scale = std::pow(10.0, digits);
    return std::floor(x * scale + 0.5) / scale;
}

bool NodeMatches(double x, double p) {
    return modText::RoundTrip15(x) == p;
}

std::int32_t FirstNodeAt(const MeshTables& mesh, double p) {
    for (std::int32_t n = 1; n <= mesh.NodeCount; ++n)
        if (NodeMatches(mesh.NodeX[toIndex(n)], p))
            return n;
    return 0;
}

std::int32_t FirstNodeAt(const std::vector<double>& rounded, std::int32_t NodeCount, double p) {
    return firstNodeAt(rounded, NodeCount, p);
}

std::vector<double> RoundedNodeX(const MeshTables& mesh) {
    return roundedPositions(mesh);
}

MeshTables GenerateMesh(const BeamModel& model, double MeshDensFact, MessageSink& messages) {
    MeshTables mesh;
    try {
        const std::vector<double> k = KeyPoints(model);
        if (*std::max_element(k.begin() + 1, k.end()) > model.span)
            messages.show({MeshTitle, OutsideBoundariesText, Icon::Critical});
        mesh.BreakPoints = segmentLengths(k);
        buildSegments(mesh, model, MeshDensFact);
        placeNodes(mesh);
        buildElements(mesh, model);
        modUnits::ScaleElementI(mesh);
        modUnits::ScaleElementE(mesh);
        return mesh;
    } catch (const KradonError& error) {
        const bool tooManyNodes =
            error.source() == errorSource && error.number() == ErrorNumber::Overflow;
        messages.show({MeshTitle, tooManyNodes ? error.what() : MeshErrorText, Icon::Critical});
        throw;
    } catch (const std::exception& error) {
        messages.show({MeshTitle, MeshErrorText, Icon::Critical});
        throw KradonError(ErrorNumber::Overflow, errorSource, error.what());
    }
}

void FormNodalLoads(const BeamModel& model, const MeshTables& mesh, NodalTables& nodal) {
    nodal.LoadVector.assign(toIndex(mesh.NumEquations) + 1, 0.0);
    AddPointLoads(model, mesh, nodal);
    AddUDLs(model, mesh, nodal);
    AddTDLs(model, mesh, nodal);
    AddMomentLoads(model, mesh, nodal);
}

void AddPointLoads(const BeamModel& model, const MeshTables& mesh, NodalTables& nodal) {
    const auto rx = roundedPositions(mesh);
    for (std::int32_t r = 1; r <= model.count(RecordKind::PointLoad); ++r)
        if (const auto n = firstNodeAt(rx, mesh.NodeCount, model.PointLoad.location[toIndex(r)]);
            n != 0)
            nodal.LoadVector[toIndex(2 * n - 1)] += model.PointLoad.value[toIndex(r)];
}

void AddMomentLoads(const BeamModel& model, const MeshTables& mesh, NodalTables& nodal) {
    const auto rx = roundedPositions(mesh);
    for (std::int32_t r = 1; r <= model.count(RecordKind::MomentLoad); ++r)
        if (const auto n = firstNodeAt(rx, mesh.NodeCount, model.MomentLoad.location[toIndex(r)]);
            n != 0)
            nodal.LoadVector[toIndex(2 * n)] += model.MomentLoad.value[toIndex(r)];
}

void AddUDLs(const BeamModel& model, const MeshTables& mesh, NodalTables& nodal) {
    const auto rx = roundedPositions(mesh);
    for (std::int32_t r = 1; r <= model.count(RecordKind::UDL); ++r) {
        const auto [s, t] =
            loadNodes(mesh, rx, model.UDL.start[toIndex(r)], model.UDL.end[toIndex(r)]);
        if (s == 0)
            continue; // a start that matches no node covers nothing
        const double w = model.UDL.value[toIndex(r)];
        for (std::int32_t e = s; e <= t - 1; ++e) {
            const double L = mesh.ElementLength[toIndex(e)];
            const double F = w * L / 2;
            const double M = w * L * L / 12;
            AddElementLoads(nodal, e, F, M, F, M);
        }
    }
}

void AddTDLs(const BeamModel& model, const MeshTables& mesh, NodalTables& nodal) {
    const auto& tdl = model.TDL;
    const auto rx = roundedPositions(mesh);
    for (std::int32_t r = 1; r <= model.count(RecordKind::TDL); ++r) {
        const std::size_t i = toIndex(r);
        const auto [s, t] = loadNodes(mesh, rx, tdl.start[i], tdl.end[i]);
        if (s == 0 || !(s < t))
            continue;
        const double slope = (tdl.endValue[i] - tdl.startValue[i]) / (tdl.end[i] - tdl.start[i]);
        for (std::int32_t e = s; e <= t - 1; ++e) {
            const double L = mesh.ElementLength[toIndex(e)];
            const double wa = tdl.startValue[i] + (mesh.NodeX[toIndex(e)] - tdl.start[i]) * slope;
            const double wb = wa + L * slope;
            AddElementLoads(nodal, e, L * (7 * wa + 3 * wb) / 20, L * L * (3 * wa + 2 * wb) / 60,
                            L * (3 * wa + 7 * wb) / 20, L * L * (2 * wa + 3 * wb) / 60);
        }
    }
}

// With deflections downwards and rotations clockwise positive, the element matrix pairs a
// downward load with a clockwise fixed-end moment at the first node and an anticlockwise one at
// the second; the opposite signs make the nodal moments of every distributed load wrong by one
// element's fixed-end moment.
void AddElementLoads(NodalTables& nodal, std::int32_t e, double F1, double M1, double F2,
                     double M2) {
    const std::size_t c = toIndex(e);
    nodal.ElementNodalLoads[1][c] += F1;
    nodal.ElementNodalLoads[2][c] += M1;
    nodal.ElementNodalLoads[3][c] += F2;
    nodal.ElementNodalLoads[4][c] += -M2;
    const std::size_t a = toIndex(2 * e - 1);
    nodal.LoadVector[a] += F1;
    nodal.LoadVector[a + 1] += M1;
    nodal.LoadVector[a + 2] += F2;
    nodal.LoadVector[a + 3] += -M2;
}

void SetRigidSupports(const BeamModel& model, const MeshTables& mesh, NodalTables& nodal,
                      MessageSink& messages) {
    nodal.RestraintFlag.assign(toIndex(mesh.NumEquations) + 1, 0.0);
    const auto rx = roundedPositions(mesh);
    for (std::int32_t r = 1; r <= model.count(RecordKind::RigidSupport); ++r) {
        const double type = model.RigidSupport.type[toIndex(r)];
        if (type != SupportType::Pinned && type != SupportType::Fixed) {
            messages.show({MeshTitle, MeshErrorText, Icon::Critical});
            continue;
        }
        const auto n = firstNodeAt(rx, mesh.NodeCount, model.RigidSupport.location[toIndex(r)]);
        if (n == 0)
            continue;
        nodal.RestraintFlag[toIndex(2 * n - 1)] = 1;
        if (type == SupportType::Fixed)
            nodal.RestraintFlag[toIndex(2 * n)] = 1;
    }
}

void AddSpringSupports(const BeamModel& model, const MeshTables& mesh, NodalTables& nodal,
                       BandMatrix& GlobalStiffness) {
    nodal.SpringStiffness.assign(toIndex(mesh.NumEquations) + 1, 0.0);
    const auto& sp = model.SpringSupport;
    const auto rx = roundedPositions(mesh);
    for (std::int32_t r = 1; r <= model.count(RecordKind::SpringSupport); ++r) {
        const std::size_t i = toIndex(r);
        forEachNodeAt(rx, mesh.NodeCount, sp.location[i], [&](std::int32_t n) {
            if (sp.vertical[i] != 0) {
                GlobalStiffness(2 * n - 1, 2 * n - 1) += sp.vertical[i] * std::pow(10.0, 6);
                nodal.SpringStiffness[toIndex(2 * n - 1)] = sp.vertical[i];
            }
            if (sp.rotational[i] != 0) {
                GlobalStiffness(2 * n, 2 * n) += sp.rotational[i] * std::pow(10.0, 3);
                nodal.SpringStiffness[toIndex(2 * n)] = sp.rotational[i];
            }
        });
    }
}

void SetPrescribedDisplacements(const BeamModel& model, const MeshTables& mesh,
                                NodalTables& nodal) {
    nodal.PrescribedDisp.assign(toIndex(mesh.NumEquations) + 1, 0.0);
    const auto& fd = model.FixedDisplacement;
    const auto rx = roundedPositions(mesh);
    for (std::int32_t r = 1; r <= model.count(RecordKind::FixedDisplacement); ++r) {
        const std::size_t i = toIndex(r);
        forEachNodeAt(rx, mesh.NodeCount, fd.location[i], [&](std::int32_t n) {
            if (fd.vertical[i] != 0)
                nodal.PrescribedDisp[toIndex(2 * n - 1)] = fd.vertical[i] * std::pow(10.0, -3);
            if (fd.rotational[i] != 0)
                nodal.PrescribedDisp[toIndex(2 * n)] = fd.rotational[i];
        });
    }
}

} // namespace kradon::modMesh
