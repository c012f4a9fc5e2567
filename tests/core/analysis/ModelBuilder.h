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
    ModelBuilder& span(double L) {
        m_.span = L;
        return *this;
    }
    /// E (kN/mm2) and I (cm4) constant over the whole span, as None definitions.
    ModelBuilder& uniformEI(double E, double I) {
        noneSegment(m_.ESegment, RecordKind::ESegment, 0, m_.span, E);
        return noneSegment(m_.ISegment, RecordKind::ISegment, 0, m_.span, I);
    }
    ModelBuilder& noneSegment(PropertySegmentList& s, RecordKind kind, double a, double b,
                              double v) {
        const auto n = next(kind);
        s.variation[n] = Variation::None;
        s.disA[n] = a;
        s.disB[n] = b;
        s.constant[n] = v;
        s.expression[n] = "N/A";
        return *this;
    }
    ModelBuilder& eSegment(double a, double b, double v) {
        return noneSegment(m_.ESegment, RecordKind::ESegment, a, b, v);
    }
    ModelBuilder& iSegment(double a, double b, double v) {
        return noneSegment(m_.ISegment, RecordKind::ISegment, a, b, v);
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
        const auto n = next(RecordKind::PointLoad);
        m_.PointLoad.value[n] = kN;
        m_.PointLoad.location[n] = x;
        return *this;
    }
    ModelBuilder& udl(double kNm, double a, double b) {
        const auto n = next(RecordKind::UDL);
        m_.UDL.value[n] = kNm;
        m_.UDL.start[n] = a;
        m_.UDL.end[n] = b;
        return *this;
    }
    ModelBuilder& tdl(double w1, double w2, double a, double b) {
        const auto n = next(RecordKind::TDL);
        m_.TDL.startValue[n] = w1;
        m_.TDL.endValue[n] = w2;
        m_.TDL.start[n] = a;
        m_.TDL.end[n] = b;
        return *this;
    }
    ModelBuilder& moment(double kNm, double x) {
        const auto n = next(RecordKind::MomentLoad);
        m_.MomentLoad.value[n] = kNm;
        m_.MomentLoad.location[n] = x;
        return *this;
    }
    ModelBuilder& support(double type, double x) {
        const auto n = next(RecordKind::RigidSupport);
        m_.RigidSupport.type[n] = type;
        m_.RigidSupport.location[n] = x;
        return *this;
    }
    ModelBuilder& pinned(double x) { return support(SupportType::Pinned, x); }
    ModelBuilder& fixed(double x) { return support(SupportType::Fixed, x); }
    /// kN/mm and kN/rad.
    ModelBuilder& spring(double x, double vertical, double rotational = 0) {
        const auto n = next(RecordKind::SpringSupport);
        m_.SpringSupport.location[n] = x;
        m_.SpringSupport.vertical[n] = vertical;
        m_.SpringSupport.rotational[n] = rotational;
        return *this;
    }
    /// mm and rad.
    ModelBuilder& fixedDisplacement(double x, double vertical, double rotational = 0) {
        const auto n = next(RecordKind::FixedDisplacement);
        m_.FixedDisplacement.location[n] = x;
        m_.FixedDisplacement.vertical[n] = vertical;
        m_.FixedDisplacement.rotational[n] = rotational;
        return *this;
    }
    BeamModel build() const { return m_; }

private:
    std::size_t next(RecordKind kind) { return static_cast<std::size_t>(++m_.count(kind)); }
    /// A Linear (from v1 to v2) or Curve E or I record.
    ModelBuilder& segment(RecordKind kind, double variation, double a, double b, double v1,
                          double v2, const std::string& expression) {
        const auto n = next(kind);
        auto& s = kind == RecordKind::ESegment ? m_.ESegment : m_.ISegment;
        s.variation[n] = variation;
        s.disA[n] = a;
        s.disB[n] = b;
        s.linearStart[n] = v1;
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
