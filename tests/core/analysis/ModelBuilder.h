// Short setups for analysis tests: a builder of beam models in input units, and sinks that keep
// what the core showed.
#pragma once

#include "model/BeamModel.h"
#include "model/Sinks.h"

#include <string>
#include <vector>

namespace kradon::test {

class ModelBuilder {
public:
    explicit ModelBuilder(std::int16_t maxNoApplieds = 30) {
        m_.MaxNoApplieds = maxNoApplieds;
        ClearModelLists(m_);
    }
    ModelBuilder& span(double L) { return set(m_.span, L); }
    /// E (kN/mm2) and I (cm4) constant over the whole span, as None definitions.
    ModelBuilder& uniformEI(double E, double I) {
        return eSegment(0, m_.span, E).iSegment(0, m_.span, I);
    }
    ModelBuilder& eSegment(double a, double b, double v) {
        return segment(RecordKind::ESegment, Variation::None, a, b, v, 0, "N/A");
    }
    ModelBuilder& iSegment(double a, double b, double v) {
        return segment(RecordKind::ISegment, Variation::None, a, b, v, 0, "N/A");
    }
    ModelBuilder& linearE(double a, double b, double v1, double v2) {
        return segment(RecordKind::ESegment, Variation::Linear, a, b, v1, v2, "N/A");
    }
    ModelBuilder& linearI(double a, double b, double v1, double v2) {
        return segment(RecordKind::ISegment, Variation::Linear, a, b, v1, v2, "N/A");
    }
    ModelBuilder& curveE(double a, double b, const std::string& expression) {
        return segment(RecordKind::ESegment, Variation::Curve, a, b, 0, 0, expression);
    }
    ModelBuilder& curveI(double a, double b, const std::string& expression) {
        return segment(RecordKind::ISegment, Variation::Curve, a, b, 0, 0, expression);
    }
    ModelBuilder& pointLoad(double kN, double x) {
        return add(RecordKind::PointLoad, m_.PointLoad.value, kN, m_.PointLoad.location, x);
    }
    ModelBuilder& udl(double kNm, double a, double b) {
        return add(RecordKind::UDL, m_.UDL.value, kNm, m_.UDL.start, a, m_.UDL.end, b);
    }
    ModelBuilder& tdl(double w1, double w2, double a, double b) {
        auto& t = m_.TDL;
        return add(RecordKind::TDL, t.startValue, w1, t.endValue, w2, t.start, a, t.end, b);
    }
    ModelBuilder& moment(double kNm, double x) {
        return add(RecordKind::MomentLoad, m_.MomentLoad.value, kNm, m_.MomentLoad.location, x);
    }
    ModelBuilder& support(double type, double x) {
        auto& s = m_.RigidSupport;
        return add(RecordKind::RigidSupport, s.type, type, s.location, x);
    }
    ModelBuilder& pinned(double x) { return support(SupportType::Pinned, x); }
    ModelBuilder& fixed(double x) { return support(SupportType::Fixed, x); }
    /// kN/mm and kN/rad.
    ModelBuilder& spring(double x, double vertical, double rotational = 0) {
        auto& s = m_.SpringSupport;
        return add(RecordKind::SpringSupport, s.location, x, s.vertical, vertical, s.rotational,
                   rotational);
    }
    /// mm and rad.
    ModelBuilder& fixedDisplacement(double x, double vertical, double rotational = 0) {
        auto& d = m_.FixedDisplacement;
        return add(RecordKind::FixedDisplacement, d.location, x, d.vertical, vertical, d.rotational,
                   rotational);
    }
    BeamModel build() const { return m_; }

private:
    ModelBuilder& set(double& field, double value) {
        field = value;
        return *this;
    }
    /// The next record of a kind: each list given is followed by the value of its entry.
    template <typename... ListsAndValues>
    ModelBuilder& add(RecordKind kind, ListsAndValues&... listsAndValues) {
        const auto n = static_cast<std::size_t>(++m_.count(kind));
        fill(n, listsAndValues...);
        return *this;
    }
    void fill(std::size_t) {}
    template <typename List, typename... Rest>
    void fill(std::size_t n, List& list, const double& value, Rest&... rest) {
        list[n] = value;
        fill(n, rest...);
    }
    /// An E or I record: v1 is the constant of a None one and the start of a Linear one.
    ModelBuilder& segment(RecordKind kind, double variation, double a, double b, double v1,
                          double v2, const std::string& expression) {
        const auto n = static_cast<std::size_t>(++m_.count(kind));
        auto& s = kind == RecordKind::ESegment ? m_.ESegment : m_.ISegment;
        s.variation[n] = variation;
        s.disA[n] = a;
        s.disB[n] = b;
        (variation == Variation::None ? s.constant[n] : s.linearStart[n]) = v1;
        s.linearEnd[n] = v2;
        s.expression[n] = expression;
        return *this;
    }
    BeamModel m_;
};

/// A span of L m with E = 200 kN/mm2 and I = 10000 cm4 throughout: EI = 2e7 N m2.
inline ModelBuilder Beam(double L) {
    return ModelBuilder().span(L).uniformEI(200, 10000);
}

/// A model that passes the input check but cannot be solved: a pin and a rotational spring at
/// one node pass the check, but E defined over half the span leaves the other half without
/// stiffness, a zero pivot.
inline BeamModel UnstableModel(std::int16_t maxNoApplieds = 30) {
    return ModelBuilder(maxNoApplieds)
        .span(10)
        .pinned(0)
        .spring(0, 0, 5)
        .pointLoad(10, 5)
        .iSegment(0, 10, 10000)
        .eSegment(0, 5, 200)
        .build();
}

struct RecordingSink : MessageSink {
    std::vector<Message> shown;
    void show(const Message& message) override { shown.push_back(message); }
    std::vector<std::string> texts() const {
        std::vector<std::string> t;
        for (const auto& m : shown)
            t.push_back(m.text);
        return t;
    }
};

struct RecordingStatus : StatusSink {
    std::vector<std::string> log; // "pb N" for progress, the text for log lines
    void udPb(double percent) override { log.push_back("pb " + std::to_string(int(percent))); }
    void udTxt(const std::string& text) override { log.push_back(text); }
};

} // namespace kradon::test
