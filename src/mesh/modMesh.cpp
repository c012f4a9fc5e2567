// Mesh generation and the nodal loads and restraints.
#include "mesh/modMesh.h"

#include "model/Index.h"
#include "model/KradonError.h"
#include "model/UnitFactors.h"
#include "model/modText.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace kradon::modMesh {
namespace {

constexpr const char* errorSource = ErrorSource::Mesh;

/// The sorted, distinct key positions: entry 0 unused, entry 1 the smallest (0 for a model whose
/// positions all lie on the beam).
std::vector<double> distinctKeyPositions(std::vector<double> k) {
    for (std::size_t i = 1; i < k.size(); ++i)
        if (!std::isfinite(k[i]) || k[i] < 0)
            throw KradonError(ErrorNumber::InvalidArgument, errorSource,
                              "A position lies before the left end or is not a number");
    std::sort(k.begin() + 1, k.end());
    k.erase(std::unique(k.begin() + 1, k.end()), k.end());
    return k;
}

/// The non-empty segment lengths between consecutive key positions, entry 0 unused; the first
/// runs from 0.
std::vector<double> segmentLengths(const std::vector<double>& keys) {
    std::vector<double> lengths{0.0};
    double previous = 0;
    for (std::size_t i = 1; i < keys.size(); ++i) {
        const double length = keys[i] - previous;
        previous = keys[i];
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

/// Node j of a segment stands at start + j h, and its last node at the next key position itself,
/// so every key position is a node exactly, whatever the number of elements.
void placeNodes(MeshTables& mesh, const std::vector<double>& keys) {
    mesh.NodeX.assign(at(mesh.NodeCount) + 1, 0.0);
    std::size_t n = 1, segment = 1;
    double start = 0;
    for (std::size_t i = 1; i < keys.size(); ++i) {
        if (keys[i] == start)
            continue; // a key point at the left end makes no segment
        const auto divisions = static_cast<std::size_t>(mesh.SegmentDivisions[segment++]);
        const double h = (keys[i] - start) / static_cast<double>(divisions);
        for (std::size_t j = 1; j < divisions; ++j)
            mesh.NodeX[n + j] = start + static_cast<double>(j) * h;
        n += divisions;
        mesh.NodeX[n] = keys[i];
        start = keys[i];
    }
}

// E and I as IValueAt and EValueAt give them, with each Curve text read once for all elements.
void buildElements(MeshTables& mesh, const BeamModel& model) {
    const std::size_t entries = at(mesh.ElementCount) + 1;
    for (auto* table : {&mesh.ElementNode1, &mesh.ElementNode2, &mesh.ElementLength, &mesh.ElementI,
                        &mesh.ElementE})
        table->assign(entries, 0.0);
    const auto countE = model.count(RecordKind::ESegment);
    const auto countI = model.count(RecordKind::ISegment);
    const std::vector<PropertyLaw> lawsI = PropertyLaws(model.ISegment, countI, "I");
    const std::vector<PropertyLaw> lawsE = PropertyLaws(model.ESegment, countE, "E");
    for (std::size_t e = 1; e < entries; ++e) {
        mesh.ElementNode1[e] = static_cast<double>(e);
        mesh.ElementNode2[e] = static_cast<double>(e + 1);
        mesh.ElementLength[e] = mesh.NodeX[e + 1] - mesh.NodeX[e];
        const double xm = (mesh.NodeX[e + 1] + mesh.NodeX[e]) * 0.5;
        mesh.ElementI[e] = lawsI[CoveringSegment(model.ISegment, countI, xm)].valueAt(xm);
        mesh.ElementE[e] = lawsE[CoveringSegment(model.ESegment, countE, xm)].valueAt(xm);
    }
}

/// Calls visit(n, i) for each record i = 1..count and the first node n at position[i], skipping
/// records whose position is no node.
template <typename Visit>
void forEachRecordNode(const MeshTables& mesh, std::int16_t count,
                       const std::vector<double>& position, Visit visit) {
    for (std::int32_t r = 1; r <= count; ++r)
        if (const auto n = FirstNodeAt(mesh, position[at(r)]); n != 0)
            visit(n, at(r));
}

/// Adds each record's value at equation 2n - vertical of its node n: forces to the vertical
/// equation (vertical 1), couples to the rotation (vertical 0).
void addConcentrated(NodalTables& nodal, const MeshTables& mesh, std::int16_t count,
                     const std::vector<double>& location, const std::vector<double>& value,
                     std::int32_t vertical) {
    forEachRecordNode(mesh, count, location, [&](std::int32_t n, std::size_t i) {
        const double load = units::LoadInAnalysisUnits(value[i]);
        nodal.LoadVector[at(2 * n - vertical)] += load;
        nodal.ConcentratedLoad[at(2 * n - vertical)] += load;
    });
}

/// The nodes at the start and at the end of a distributed load, 0 where none stands.
std::pair<std::int32_t, std::int32_t> loadNodes(const MeshTables& mesh, double start, double end) {
    return {FirstNodeAt(mesh, start), FirstNodeAt(mesh, end)};
}

/// Adds a distributed load of downward intensity wa at the first and wb at the second node of
/// element e, varying linearly in between: its fixed-end forces and its intensities.
void addLinearLoad(NodalTables& nodal, std::int32_t e, double L, double wa, double wb) {
    AddElementLoads(nodal, e, L * (7 * wa + 3 * wb) / 20, L * L * (3 * wa + 2 * wb) / 60,
                    L * (3 * wa + 7 * wb) / 20, L * L * (2 * wa + 3 * wb) / 60);
    nodal.ElementLoadStart[at(e)] += wa;
    nodal.ElementLoadEnd[at(e)] += wb;
}

/// E and I of every element multiplied into analysis units, or divided back.
void scaleElements(MeshTables& mesh, bool intoAnalysisUnits) {
    const auto count = std::min(at(mesh.ElementCount) + 1, mesh.ElementE.size());
    for (std::size_t e = 1; e < count && e < mesh.ElementI.size(); ++e) {
        double& E = mesh.ElementE[e];
        double& I = mesh.ElementI[e];
        E = intoAnalysisUnits ? E * units::EFactor : E / units::EFactor;
        I = intoAnalysisUnits ? I * units::IFactor : I / units::IFactor;
    }
}

} // namespace

void ElementsToInputUnits(MeshTables& mesh) {
    scaleElements(mesh, false);
}

std::vector<double> KeyPoints(const BeamModel& m) {
    std::vector<double> k{0.0, 0.0};
    auto add = [&](RecordKind kind, const std::vector<double>& list) {
        for (std::int32_t n = 1; n <= m.count(kind); ++n)
            k.push_back(modText::RoundTrip15(list.at(at(n))));
    };
    for (const RecordKind kind : LoadAndSupportKinds)
        for (const auto* position : PlacesOf(m, kind).positions)
            add(kind, *position);
    add(RecordKind::ESegment, m.ESegment.disA);
    add(RecordKind::ESegment, m.ESegment.disB);
    add(RecordKind::ISegment, m.ISegment.disA);
    add(RecordKind::ISegment, m.ISegment.disB);
    k.push_back(modText::RoundTrip15(m.span));
    return k;
}

double RoundTo(double x, std::int16_t digits) {
    const double scale = std::pow(10.0, digits);
    return std::floor(x * scale + 0.5) / scale;
}

bool NodeMatches(double x, double p) {
    return x == modText::RoundTrip15(p);
}

std::int32_t FirstNodeAt(const MeshTables& mesh, double p) {
    if (mesh.NodeCount < 1 || mesh.NodeX.size() <= at(mesh.NodeCount))
        return 0;
    const double x = modText::RoundTrip15(p);
    const auto first = mesh.NodeX.begin() + 1;
    const auto last = mesh.NodeX.begin() + mesh.NodeCount + 1;
    const auto found = std::lower_bound(first, last, x);
    if (found == last || *found != x)
        return 0;
    return static_cast<std::int32_t>(found - mesh.NodeX.begin());
}

MeshTables GenerateMesh(const BeamModel& model, double MeshDensFact, MessageSink& messages) {
    MeshTables mesh;
    try {
        const std::vector<double> k = KeyPoints(model);
        if (*std::max_element(k.begin() + 1, k.end()) > k.back())
            messages.show({MeshTitle, OutsideBoundariesText, Icon::Critical});
        const std::vector<double> keys = distinctKeyPositions(k);
        mesh.BreakPoints = segmentLengths(keys);
        buildSegments(mesh, model, MeshDensFact);
        placeNodes(mesh, keys);
        buildElements(mesh, model);
        scaleElements(mesh, true);
        return mesh;
    } catch (const KradonError& error) {
        // The node limit and a definition that gives no value say what is wrong themselves.
        const bool tooManyNodes =
            error.source() == errorSource && error.number() == ErrorNumber::Overflow;
        const bool explained = tooManyNodes || error.source() == DefinitionErrorSource;
        messages.show({MeshTitle, explained ? error.what() : MeshErrorText, Icon::Critical});
        throw;
    } catch (const std::exception& error) {
        messages.show({MeshTitle, MeshErrorText, Icon::Critical});
        throw KradonError(ErrorNumber::Overflow, errorSource, error.what());
    }
}

void FormNodalLoads(const BeamModel& model, const MeshTables& mesh, NodalTables& nodal) {
    const std::size_t equations = at(mesh.NumEquations) + 1;
    nodal.LoadVector.assign(equations, 0.0);
    nodal.ConcentratedLoad.assign(equations, 0.0);
    nodal.ElementNodalLoads.resize(5);
    for (std::vector<double>& row : nodal.ElementNodalLoads)
        row.assign(at(mesh.ElementCount) + 1, 0.0);
    nodal.ElementLoadStart.assign(at(mesh.ElementCount) + 1, 0.0);
    nodal.ElementLoadEnd.assign(at(mesh.ElementCount) + 1, 0.0);
    AddPointLoads(model, mesh, nodal);
    AddUDLs(model, mesh, nodal);
    AddTDLs(model, mesh, nodal);
    AddMomentLoads(model, mesh, nodal);
}

void AddPointLoads(const BeamModel& model, const MeshTables& mesh, NodalTables& nodal) {
    addConcentrated(nodal, mesh, model.count(RecordKind::PointLoad), model.PointLoad.location,
                    model.PointLoad.value, 1);
}

void AddMomentLoads(const BeamModel& model, const MeshTables& mesh, NodalTables& nodal) {
    addConcentrated(nodal, mesh, model.count(RecordKind::MomentLoad), model.MomentLoad.location,
                    model.MomentLoad.value, 0);
}

void AddUDLs(const BeamModel& model, const MeshTables& mesh, NodalTables& nodal) {
    for (std::int32_t r = 1; r <= model.count(RecordKind::UDL); ++r) {
        const auto [s, t] = loadNodes(mesh, model.UDL.start[at(r)], model.UDL.end[at(r)]);
        if (s == 0)
            continue; // a start that matches no node covers nothing
        const double w = units::LoadInAnalysisUnits(model.UDL.value[at(r)]);
        for (std::int32_t e = s; e <= t - 1; ++e)
            addLinearLoad(nodal, e, mesh.ElementLength[at(e)], w, w);
    }
}

void AddTDLs(const BeamModel& model, const MeshTables& mesh, NodalTables& nodal) {
    const auto& tdl = model.TDL;
    for (std::int32_t r = 1; r <= model.count(RecordKind::TDL); ++r) {
        const std::size_t i = at(r);
        const auto [s, t] = loadNodes(mesh, tdl.start[i], tdl.end[i]);
        if (s == 0 || !(s < t))
            continue;
        const double wStart = units::LoadInAnalysisUnits(tdl.startValue[i]);
        const double wEnd = units::LoadInAnalysisUnits(tdl.endValue[i]);
        const double slope = (wEnd - wStart) / (tdl.end[i] - tdl.start[i]);
        for (std::int32_t e = s; e <= t - 1; ++e) {
            const double L = mesh.ElementLength[at(e)];
            const double wa = wStart + (mesh.NodeX[at(e)] - tdl.start[i]) * slope;
            addLinearLoad(nodal, e, L, wa, wa + L * slope);
        }
    }
}

// With deflections downwards and rotations clockwise positive, the element matrix pairs a
// downward load with a clockwise fixed-end moment at the first node and an anticlockwise one at
// the second; the opposite signs make the nodal moments of every distributed load wrong by one
// element's fixed-end moment.
void AddElementLoads(NodalTables& nodal, std::int32_t e, double F1, double M1, double F2,
                     double M2) {
    const std::size_t c = at(e);
    nodal.ElementNodalLoads[1][c] += F1;
    nodal.ElementNodalLoads[2][c] += M1;
    nodal.ElementNodalLoads[3][c] += F2;
    nodal.ElementNodalLoads[4][c] += -M2;
    const std::size_t a = at(2 * e - 1);
    nodal.LoadVector[a] += F1;
    nodal.LoadVector[a + 1] += M1;
    nodal.LoadVector[a + 2] += F2;
    nodal.LoadVector[a + 3] += -M2;
}

void SetRigidSupports(const BeamModel& model, const MeshTables& mesh, NodalTables& nodal,
                      MessageSink& messages) {
    nodal.RestraintFlag.assign(at(mesh.NumEquations) + 1, 0.0);
    for (std::int32_t r = 1; r <= model.count(RecordKind::RigidSupport); ++r) {
        const double type = model.RigidSupport.type[at(r)];
        if (type != SupportType::Pinned && type != SupportType::Fixed) {
            messages.show({MeshTitle, MeshErrorText, Icon::Critical});
            continue;
        }
        const auto n = FirstNodeAt(mesh, model.RigidSupport.location[at(r)]);
        if (n == 0)
            continue;
        nodal.RestraintFlag[at(2 * n - 1)] = 1;
        if (type == SupportType::Fixed)
            nodal.RestraintFlag[at(2 * n)] = 1;
    }
}

void AddSpringSupports(const BeamModel& model, const MeshTables& mesh, NodalTables& nodal) {
    nodal.SpringStiffness.assign(at(mesh.NumEquations) + 1, 0.0);
    nodal.SpringDiagonal.assign(at(mesh.NumEquations) + 1, 0.0);
    const auto& sp = model.SpringSupport;
    forEachRecordNode(mesh, model.count(RecordKind::SpringSupport), sp.location,
                      [&](std::int32_t n, std::size_t i) {
                          if (sp.vertical[i] != 0) {
                              nodal.SpringDiagonal[at(2 * n - 1)] +=
                                  sp.vertical[i] * units::VerticalSpringFactor;
                              nodal.SpringStiffness[at(2 * n - 1)] = sp.vertical[i];
                          }
                          if (sp.rotational[i] != 0) {
                              nodal.SpringDiagonal[at(2 * n)] +=
                                  sp.rotational[i] * units::RotationalSpringFactor;
                              nodal.SpringStiffness[at(2 * n)] = sp.rotational[i];
                          }
                      });
}

void SetPrescribedDisplacements(const BeamModel& model, const MeshTables& mesh,
                                NodalTables& nodal) {
    nodal.PrescribedDisp.assign(at(mesh.NumEquations) + 1, 0.0);
    const auto& fd = model.FixedDisplacement;
    forEachRecordNode(mesh, model.count(RecordKind::FixedDisplacement), fd.location,
                      [&](std::int32_t n, std::size_t i) {
                          if (fd.vertical[i] != 0)
                              nodal.PrescribedDisp[at(2 * n - 1)] =
                                  fd.vertical[i] * units::DisplacementFactor;
                          if (fd.rotational[i] != 0)
                              nodal.PrescribedDisp[at(2 * n)] = fd.rotational[i];
                      });
}

} // namespace kradon::modMesh
