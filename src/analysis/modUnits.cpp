// Unit conversions. Every factor is a power of ten, multiplied in and divided out again.
#include "analysis/modUnits.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace kradon::modUnits {
namespace {

const double EFactor = std::pow(10.0, 9);
const double IFactor = std::pow(10.0, -8);

void scaleRecords(std::vector<double>& list, std::int16_t count, double factor, bool multiply) {
    for (std::int32_t n = 1; n <= count; ++n) {
        auto& v = list.at(static_cast<std::size_t>(n));
        v = multiply ? v * factor : v / factor;
    }
}

void scaleLoads(BeamModel& m, bool multiply) {
    const double f = std::pow(10.0, 3);
    scaleRecords(m.PointLoad.value, m.count(RecordKind::PointLoad), f, multiply);
    scaleRecords(m.UDL.value, m.count(RecordKind::UDL), f, multiply);
    scaleRecords(m.TDL.startValue, m.count(RecordKind::TDL), f, multiply);
    scaleRecords(m.TDL.endValue, m.count(RecordKind::TDL), f, multiply);
    scaleRecords(m.MomentLoad.value, m.count(RecordKind::MomentLoad), f, multiply);
}

void scaleElements(std::vector<double>& table, std::int32_t count, double factor, bool multiply) {
    for (std::int32_t e = 1; e <= count && static_cast<std::size_t>(e) < table.size(); ++e) {
        auto& v = table[static_cast<std::size_t>(e)];
        v = multiply ? v * factor : v / factor;
    }
}

} // namespace

void ToAnalysisUnits(BeamModel& model) {
    scaleLoads(model, true);
}

void FromAnalysisUnits(BeamModel& model, MeshTables& mesh) {
    scaleElements(mesh.ElementE, mesh.ElementCount, EFactor, false);
    scaleElements(mesh.ElementI, mesh.ElementCount, IFactor, false);
    scaleLoads(model, false);
}

void ScaleElementE(MeshTables& mesh) {
    scaleElements(mesh.ElementE, mesh.ElementCount, EFactor, true);
}

void ScaleElementI(MeshTables& mesh) {
    scaleElements(mesh.ElementI, mesh.ElementCount, IFactor, true);
}

double EInAnalysisUnits(double E) {
    return E * EFactor;
}

double IInAnalysisUnits(double I) {
    return I * IFactor;
}

const char* UnitLabel(std::string_view kind) {
    return kind == "e" ? "kN/mm2" : "cm4";
}

} // namespace kradon::modUnits
