// The input check. It reads the model and changes nothing.
#include "analysis/modCheck.h"

#include "model/Index.h"
#include "model/modText.h"

#include <cmath>
#include <cstdint>
#include <exception>
#include <initializer_list>
#include <string>
#include <vector>

namespace kradon::modCheck {
namespace {

constexpr const char* crlf = "\r\n";
constexpr const char* NoInputText = "No input for calculation";
constexpr const char* NoPropertiesText = "No beam properties included in input";
constexpr const char* SupportsText = "Number/location of supports is erroneous in input";
constexpr const char* NoLoadsText = "No loads/displacements included in input";
constexpr const char* OutsideHeader = "Elements outside boundaries are:";
constexpr const char* ProblemText =
    "There appears to be a problem with the input data.\r\nPlease edit input through the "
    "properties box";

int totalOf(const BeamModel& m, std::initializer_list<RecordKind> kinds) {
    int total = 0;
    for (const auto kind : kinds)
        total += m.count(kind);
    return total;
}

/// The positions of the vertical restraints, and whether any rotation is restrained.
struct Restraints {
    std::vector<double> verticalAt;
    bool rotational = false;
};

Restraints restraintsOf(const BeamModel& m) {
    Restraints r;
    for (std::int32_t n = 1; n <= m.count(RecordKind::RigidSupport); ++n) {
        const double type = m.RigidSupport.type[at(n)];
        if (type == SupportType::Pinned || type == SupportType::Fixed)
            r.verticalAt.push_back(m.RigidSupport.location[at(n)]);
        r.rotational = r.rotational || type == SupportType::Fixed;
    }
    auto addOther = [&r](RecordKind kind, const BeamModel& m2, const auto& list) {
        for (std::int32_t n = 1; n <= m2.count(kind); ++n) {
            if (list.vertical[at(n)] != 0)
                r.verticalAt.push_back(list.location[at(n)]);
            r.rotational = r.rotational || list.rotational[at(n)] != 0;
        }
    };
    addOther(RecordKind::SpringSupport, m, m.SpringSupport);
    addOther(RecordKind::FixedDisplacement, m, m.FixedDisplacement);
    return r;
}

bool twoDistinctPositions(const std::vector<double>& positions) {
    for (const double p : positions)
        if (modText::RoundTrip15(p) != modText::RoundTrip15(positions.front()))
            return true;
    return false;
}

/// Appends label + n for each record 1..count whose position(s) lie beyond the span.
void listOutside(std::string& text, bool& any, const char* label, std::int16_t count, double span,
                 const std::vector<double>& a, const std::vector<double>* b) {
    for (std::int32_t n = 1; n <= count; ++n) {
        const bool outside = a[at(n)] > span || (b != nullptr && (*b)[at(n)] > span);
        if (!outside)
            continue;
        text += label + std::to_string(n) + crlf;
        any = true;
    }
}

/// Collects one line per record: its first problem.
struct ValueCheck {
    std::string text;
    std::string lastReported;
    void report(const std::string& record, const std::string& problem) {
        if (record == lastReported)
            return;
        text += record + problem + crlf;
        lastReported = record;
    }
    void position(const std::string& record, double x) {
        if (!std::isfinite(x))
            report(record, " has a position that is not a finite number");
        else if (x < 0)
            report(record, " lies before the left end of the beam (x < 0)");
    }
    void value(const std::string& record, double v) {
        if (!std::isfinite(v))
            report(record, " has a value that is not a finite number");
    }
    /// E and I: a beam cannot be less than no stiffness.
    void property(const std::string& record, double v) {
        value(record, v);
        if (v < 0)
            report(record, " has a negative value (" + modText::GeneralNumber(v) + ")");
    }
};

void checkSegments(ValueCheck& c, const char* label, const PropertySegmentList& s,
                   std::int16_t count) {
    for (std::int32_t n = 1; n <= count; ++n) {
        const std::string record = label + std::to_string(n);
        c.position(record, s.disA[at(n)]);
        c.position(record, s.disB[at(n)]);
        if (s.variation[at(n)] == Variation::None)
            c.property(record, s.constant[at(n)]);
        if (s.variation[at(n)] == Variation::Linear) {
            c.property(record, s.linearStart[at(n)]);
            c.property(record, s.linearEnd[at(n)]);
        }
    }
}

/// "E is not defined from 10 m to 11 m: that stretch carries nothing."
std::string notDefinedLine(const char* name, const Stretch& stretch) {
    return std::string(name) + " is not defined from " + modText::GeneralNumber(stretch.start) +
           " m to " + modText::GeneralNumber(stretch.end) + " m: that stretch carries nothing.";
}

} // namespace

bool CheckInput(const BeamModel& model, MessageSink& messages) {
    const bool contents = CheckModelContents(model, messages);
    const bool boundaries = !IsValidSpan(model.span) || CheckBoundaries(model, messages);
    const bool values = CheckValues(model, messages);
    return contents && boundaries && values;
}

bool CheckModelContents(const BeamModel& m, MessageSink& messages) {
    try {
        using K = RecordKind;
        const int properties = totalOf(m, {K::ESegment, K::ISegment});
        const int loads =
            totalOf(m, {K::PointLoad, K::UDL, K::TDL, K::MomentLoad, K::FixedDisplacement});
        const int total = properties + loads + totalOf(m, {K::RigidSupport, K::SpringSupport});
        if (total == 0) {
            messages.show({ProgramTitle, NoInputText, Icon::None});
            return false;
        }
        bool ok = true;
        auto test = [&](bool passes, const char* text) {
            if (passes)
                return;
            messages.show({ProgramTitle, text, Icon::None});
            ok = false;
        };
        test(properties != 0, NoPropertiesText);
        test(CheckSupports(m), SupportsText);
        test(loads != 0, NoLoadsText);
        return ok;
    } catch (const std::exception&) {
        messages.show({CheckTitle, ProblemText, Icon::Critical});
        return false;
    }
}

bool CheckSupports(const BeamModel& model) {
    const Restraints r = restraintsOf(model);
    if (r.verticalAt.empty())
        return false;
    return r.rotational || twoDistinctPositions(r.verticalAt);
}

bool CheckBoundaries(const BeamModel& m, MessageSink& messages) {
    using K = RecordKind;
    std::string text = std::string(OutsideHeader) + crlf;
    bool any = false;
    const double L = m.span;
    for (const RecordKind kind : LoadAndSupportKinds) {
        const RecordPlaces places = PlacesOf(m, kind);
        listOutside(text, any, places.label, m.count(kind), L, *places.positions.front(),
                    places.positions.size() > 1 ? places.positions.back() : nullptr);
    }
    listOutside(text, any, "E-value ", m.count(K::ESegment), L, m.ESegment.disB, nullptr);
    listOutside(text, any, "I-value ", m.count(K::ISegment), L, m.ISegment.disB, nullptr);
    if (!any)
        return true;
    messages.show({CheckTitle, text, Icon::Critical});
    return false;
}

bool CheckValues(const BeamModel& m, MessageSink& messages) {
    using K = RecordKind;
    ValueCheck c;
    if (!IsValidSpan(m.span))
        c.text += "The span must be a positive finite number, not " +
                  modText::GeneralNumber(m.span) + (std::isfinite(m.span) ? " m" : "") + crlf;
    auto each = [&](K kind, const char* label, auto&& check) {
        for (std::int32_t n = 1; n <= m.count(kind); ++n)
            check(label + std::to_string(n), at(n));
    };
    for (const RecordKind kind : LoadAndSupportKinds) {
        const RecordPlaces places = PlacesOf(m, kind);
        each(kind, places.label, [&](const std::string& r, std::size_t i) {
            for (const auto* position : places.positions)
                c.position(r, (*position)[i]);
            for (const auto* value : places.values)
                c.value(r, (*value)[i]);
        });
    }
    checkSegments(c, "E-value ", m.ESegment, m.count(K::ESegment));
    checkSegments(c, "I-value ", m.ISegment, m.count(K::ISegment));
    if (c.text.empty())
        return true;
    messages.show({CheckTitle, c.text, Icon::Critical});
    return false;
}

std::vector<std::string> CoverageWarnings(const BeamModel& m) {
    std::vector<std::string> lines;
    for (const Stretch& stretch :
         UndefinedStretches(m.ESegment, m.count(RecordKind::ESegment), m.span))
        lines.push_back(notDefinedLine("E", stretch));
    for (const Stretch& stretch :
         UndefinedStretches(m.ISegment, m.count(RecordKind::ISegment), m.span))
        lines.push_back(notDefinedLine("I", stretch));
    return lines;
}

} // namespace kradon::modCheck
