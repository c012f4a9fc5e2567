#include "results/ResultsCsv.h"

#include "model/KradonError.h"
#include "results/ResultQueries.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>

namespace kradon {
namespace {

// Forces and moments are held in N and N·m and given in kN and kNm; deflections in m, given in mm.
constexpr double ForceDivisor = 1000;
constexpr double DeflectionFactor = 1000;

std::size_t at(std::int32_t n) {
    return static_cast<std::size_t>(n);
}

/// A field of an optional side: empty where the side is off the beam.
template <typename Get>
std::string sideField(const std::optional<SectionValues>& side, Get get, double divisor) {
    return side ? ShortestNumber(get(*side) / divisor) : std::string();
}

void nodeRows(const ProgramState& s, std::string& out) {
    out += NodeCsvHeader;
    out += '\n';
    for (std::int32_t n = 1; n <= s.mesh.NodeCount; ++n) {
        const NodeSides sides = SidesOfNode(s, n);
        const SectionValues& any = sides.right ? *sides.right : *sides.left;
        const auto moment = [](const SectionValues& v) { return v.moment; };
        const auto shear = [](const SectionValues& v) { return v.shear; };
        out += std::to_string(n) + ',' + ShortestNumber(s.mesh.NodeX[at(n)]) + ',' +
               ShortestNumber(s.results.NodeDeflection[at(n)] * DeflectionFactor) + ',' +
               ShortestNumber(any.rotation) + ',' + sideField(sides.left, moment, ForceDivisor) +
               ',' + sideField(sides.right, moment, ForceDivisor) + ',' +
               sideField(sides.left, shear, ForceDivisor) + ',' +
               sideField(sides.right, shear, ForceDivisor) + '\n';
    }
}

void supportRows(const std::vector<std::vector<double>>& reactions,
                 const std::vector<double>& location, std::int16_t count,
                 const std::function<std::string(std::int32_t)>& kind, std::string& out) {
    for (std::int32_t r = 1; r <= count; ++r) {
        const std::vector<double>& row = reactions.at(at(r));
        out += std::to_string(r) + ',' + ShortestNumber(location.at(at(r))) + ',' + kind(r) + ',' +
               ShortestNumber(row.at(1) / ForceDivisor) + ',' +
               ShortestNumber(row.at(2) / ForceDivisor) + '\n';
    }
}

} // namespace

std::string TabSeparatedRows(std::string_view text) {
    std::string out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const bool lastLine = end == std::string_view::npos;
        if (lastLine)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.find('\t') == std::string_view::npos) {
            out += line;
        } else {
            std::string row;
            std::size_t cellStart = 0;
            while (cellStart <= line.size()) {
                const std::size_t tab = std::min(line.find('\t', cellStart), line.size());
                std::string_view cell = line.substr(cellStart, tab - cellStart);
                const auto first = cell.find_first_not_of(' ');
                if (first != std::string_view::npos) {
                    cell = cell.substr(first, cell.find_last_not_of(' ') - first + 1);
                    row += (row.empty() ? "" : "\t") + std::string(cell);
                }
                cellStart = tab + 1;
            }
            out += row;
        }
        if (!lastLine)
            out += '\n';
        start = end + 1;
    }
    return out;
}

std::string ShortestNumber(double v) {
    if (std::isnan(v))
        return "nan";
    if (std::isinf(v))
        return v > 0 ? "inf" : "-inf";
    char buffer[32];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
    return {buffer, r.ptr};
}

std::string ResultsCsv(const ProgramState& s) {
    if (!HasExactResults(s))
        throw KradonError(ErrorNumber::InvalidArgument, "ResultsCsv",
                          "There are no analysis results to export");
    const BeamModel& m = s.model;
    std::string out;
    nodeRows(s, out);
    out += '\n';
    out += SupportCsvHeader;
    out += '\n';
    supportRows(
        s.results.SupportReaction, m.RigidSupport.location, m.count(RecordKind::RigidSupport),
        [&m](std::int32_t r) -> std::string {
            return m.RigidSupport.type.at(at(r)) == SupportType::Pinned ? "Pinned" : "Fixed";
        },
        out);
    supportRows(
        s.results.SpringReaction, m.SpringSupport.location, m.count(RecordKind::SpringSupport),
        [](std::int32_t) { return "Spring"; }, out);
    supportRows(
        s.results.DisplacementReaction, m.FixedDisplacement.location,
        m.count(RecordKind::FixedDisplacement), [](std::int32_t) { return "Fixed displacement"; },
        out);
    return out;
}

} // namespace kradon
