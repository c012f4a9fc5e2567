// The one beam the program edits, saves and analyses: its span, the record lists of every kind
// of load, support and property definition, and the operations that store dialog input into them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kradon {

/// The nine record kinds, in the order of their counts in the model and in the model file.
enum class RecordKind : int {
    PointLoad = 0,
    UDL,
    TDL,
    MomentLoad,
    RigidSupport,
    SpringSupport,
    FixedDisplacement,
    ESegment,
    ISegment,
};
inline constexpr int RecordKindCount = 9;

// Every list below is indexed 0..MaxNoApplieds: records are numbered from 1 and entry 0 is not a
// record (it stays 0 or empty unless a dialog stores into record number 0 without counting it).

struct PointLoadList { // kN, m
    std::vector<double> value, location;
};
struct UDLList { // kN/m, m, m
    std::vector<double> value, start, end;
};
struct TDLList { // kN/m, kN/m, m, m
    std::vector<double> startValue, endValue, start, end;
};
struct MomentLoadList { // kNm, m
    std::vector<double> value, location;
};
struct RigidSupportList { // type: 1 = Pinned, 2 = Fixed; location in m
    std::vector<double> type, location;
};
struct SpringSupportList { // m, kN/mm, kN/rad
    std::vector<double> location, vertical, rotational;
};
struct FixedDisplacementList { // m, mm, rad
    std::vector<double> location, vertical, rotational;
};
/// An E (kN/mm2) or I (cm4) definition over disA..disB. variation: 1 None, 2 Linear, 3 Curve,
/// 0 no definition. expression holds the Curve text in x, "N/A" for None and Linear.
struct PropertySegmentList {
    std::vector<double> variation, disA, disB, constant, linearStart, linearEnd;
    std::vector<std::string> expression;
};

namespace Variation {
inline constexpr double None = 1, Linear = 2, Curve = 3;
}
namespace SupportType {
inline constexpr double Pinned = 1, Fixed = 2;
}

inline constexpr std::int16_t DefaultMaxNoApplieds = 10;
inline constexpr double DefaultSpan = 15; // m, the span of an empty model

struct BeamModel {
    double span = DefaultSpan; // m
    std::int16_t MaxNoApplieds = DefaultMaxNoApplieds;
    /// Record counts, indexed by RecordKind.
    std::array<std::int16_t, RecordKindCount> counts{};

    PointLoadList PointLoad;
    UDLList UDL;
    TDLList TDL;
    MomentLoadList MomentLoad;
    RigidSupportList RigidSupport;
    SpringSupportList SpringSupport;
    FixedDisplacementList FixedDisplacement;
    PropertySegmentList ESegment;
    PropertySegmentList ISegment;

    std::int16_t count(RecordKind kind) const { return counts[static_cast<int>(kind)]; }
    std::int16_t& count(RecordKind kind) { return counts[static_cast<int>(kind)]; }

    bool operator==(const BeamModel&) const = default;
};

} // namespace kradon
