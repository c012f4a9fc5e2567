// Record tables of the model, as the properties explorer lays them out.
#include "model/ModelTables.h"

#include "model/modText.h"

#include <cmath>
#include <functional>

namespace kradon::ModelTables {
namespace {

using modText::GeneralNumber;

// A cell of a list that may be shorter than the count claims (a model never cleared).
double at(const std::vector<double>& list, int i) {
    return i < static_cast<int>(list.size()) ? list[i] : 0.0;
}

std::string textAt(const std::vector<std::string>& list, int i) {
    return i < static_cast<int>(list.size()) ? list[i] : std::string();
}

// One row per record 1..count, the first cell the record number.
RecordTable kindTable(std::string title, std::vector<std::string> columns, int count,
                      const std::function<std::vector<std::string>(int)>& cells) {
    RecordTable table{std::move(title), std::move(columns), {}};
    for (int i = 1; i <= count; ++i) {
        std::vector<std::string> row{std::to_string(i)};
        for (auto& cell : cells(i))
            row.push_back(std::move(cell));
        table.rows.push_back(std::move(row));
    }
    return table;
}

std::vector<std::string> numbers(std::initializer_list<double> values) {
    std::vector<std::string> cells;
    for (const double v : values)
        cells.push_back(GeneralNumber(v));
    return cells;
}

RecordTable segmentTable(const BeamModel& m, std::string title, RecordKind kind,
                         const PropertySegmentList& s, const std::string& unit,
                         const std::string& variationKind) {
    return kindTable(std::move(title),
                     {"Beam Segment", "Dis A", "Dis B", "Variation", "Value", "Value A", "Value B",
                      "Expression"},
                     m.count(kind), [&](int i) {
                         return std::vector<std::string>{
                             GeneralNumber(at(s.disA, i)) + "m",
                             GeneralNumber(at(s.disB, i)) + "m",
                             variationType(m, static_cast<std::int16_t>(i), variationKind),
                             GeneralNumber(at(s.constant, i)) + unit,
                             GeneralNumber(at(s.linearStart, i)) + unit,
                             GeneralNumber(at(s.linearEnd, i)) + unit,
                             textAt(s.expression, i)};
                     });
}

std::string countText(const BeamModel& m, RecordKind kind) {
    return std::to_string(m.count(kind));
}

} // namespace

std::string variationType(const BeamModel& m, std::int16_t index, const std::string& kind) {
    const PropertySegmentList* list = nullptr;
    if (kind == "evn")
        list = &m.ESegment;
    else if (kind == "ivn")
        list = &m.ISegment;
    if (list == nullptr || index < 0)
        return {};
    const double code = std::nearbyint(at(list->variation, index));
    if (code == 1)
        return "None";
    if (code == 2)
        return "Linear";
    if (code == 3)
        return "Expression";
    return {};
}

RecordTable caseBeamDetails(const BeamModel& m) {
    return {"Beam Details",
            {"Overall span", "E Values", "I Values"},
            {{GeneralNumber(m.span) + "m", countText(m, RecordKind::ESegment),
              countText(m, RecordKind::ISegment)}}};
}

RecordTable caseYoungsModulus(const BeamModel& m) {
    return segmentTable(m, "Young's Modulus", RecordKind::ESegment, m.ESegment, "kN/mm2", "evn");
}

RecordTable caseSecondMomentOfArea(const BeamModel& m) {
    return segmentTable(m, "Second Moment of Area", RecordKind::ISegment, m.ISegment, "cm4", "ivn");
}

RecordTable caseLoadDetails(const BeamModel& m) {
    return {"Load Details",
            {"Point Loads", "UDLs", "TDLs", "Moment Loads", "Fixed Displacements"},
            {{countText(m, RecordKind::PointLoad), countText(m, RecordKind::UDL),
              countText(m, RecordKind::TDL), countText(m, RecordKind::MomentLoad),
              countText(m, RecordKind::FixedDisplacement)}}};
}

RecordTable casePointLoads(const BeamModel& m) {
    const auto& p = m.PointLoad;
    return kindTable("Point Loads", {"Point Load No.", "Load Value (kN)", "Load Distance (m)"},
                     m.count(RecordKind::PointLoad), [&](int i) {
                         return numbers({at(p.value, i), at(p.location, i)});
                     });
}

RecordTable caseUniformlyDistributedLoads(const BeamModel& m) {
    const auto& u = m.UDL;
    return kindTable("Uniformly Distributed Loads",
                     {"UDL No.", "Load Value (kN/m)", "Start Point (m)", "End Point (m)"},
                     m.count(RecordKind::UDL), [&](int i) {
                         return numbers({at(u.value, i), at(u.start, i), at(u.end, i)});
                     });
}

RecordTable caseTrapezoidallyDistributedLoads(const BeamModel& m) {
    const auto& t = m.TDL;
    return kindTable(
        "Trapezoidally Distributed Loads",
        {"TDL No.", "Start Load Value (kN/m)", "End Load Value (kN/m)", "Start Point (m)",
         "End Point (m)"},
        m.count(RecordKind::TDL), [&](int i) {
            return numbers({at(t.startValue, i), at(t.endValue, i), at(t.start, i), at(t.end, i)});
        });
}

RecordTable caseMomentLoads(const BeamModel& m) {
    const auto& l = m.MomentLoad;
    return kindTable("Moment Loads", {"Moment Load No.", "Load Value (kNm)", "Load Distance (m)"},
                     m.count(RecordKind::MomentLoad), [&](int i) {
                         return numbers({at(l.value, i), at(l.location, i)});
                     });
}

RecordTable caseFixedDisplacements(const BeamModel& m) {
    const auto& f = m.FixedDisplacement;
    return kindTable(
        "Fixed Displacements",
        {"Fixed Displacement No.", "Vertical (mm)", "Rotational (rads)", "Location (m)"},
        m.count(RecordKind::FixedDisplacement), [&](int i) {
            return numbers({at(f.vertical, i), at(f.rotational, i), at(f.location, i)});
        });
}

RecordTable caseSupportDetails(const BeamModel& m) {
    return {"Support Details",
            {"Rigid Supports", "Spring Supports"},
            {{countText(m, RecordKind::RigidSupport), countText(m, RecordKind::SpringSupport)}}};
}

RecordTable caseRigidSupports(const BeamModel& m) {
    const auto& r = m.RigidSupport;
    return kindTable("Rigid Supports", {"Support No.", "Support Type", "Location (m)"},
                     m.count(RecordKind::RigidSupport), [&](int i) {
                         return std::vector<std::string>{
                             at(r.type, i) == SupportType::Pinned ? "Pinned" : "Fixed",
                             GeneralNumber(at(r.location, i))};
                     });
}

RecordTable caseSpringSupports(const BeamModel& m) {
    const auto& s = m.SpringSupport;
    return kindTable(
        "Spring Supports",
        {"Spring Support No.", "Vertical (kN/mm)", "Rotational (kN/rad)", "Distance (m)"},
        m.count(RecordKind::SpringSupport), [&](int i) {
            return numbers({at(s.vertical, i), at(s.rotational, i), at(s.location, i)});
        });
}

std::vector<RecordTable> AllTables(const BeamModel& m) {
    return {caseBeamDetails(m),
            caseYoungsModulus(m),
            caseSecondMomentOfArea(m),
            caseLoadDetails(m),
            casePointLoads(m),
            caseUniformlyDistributedLoads(m),
            caseTrapezoidallyDistributedLoads(m),
            caseMomentLoads(m),
            caseFixedDisplacements(m),
            caseSupportDetails(m),
            caseRigidSupports(m),
            caseSpringSupports(m)};
}

} // namespace kradon::ModelTables
