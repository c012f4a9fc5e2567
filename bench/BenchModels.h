// Models shared by the benchmarks.
#pragma once

#include "analysis/AnalyseCommand.h"
#include "analysis/ProgramState.h"
#include "model/BeamModel.h"
#include "model/Sinks.h"

#include <filesystem>
#include <stdexcept>

namespace kradon::bench {

inline void noneSegment(PropertySegmentList& s, std::size_t n, double a, double b, double v) {
    s.variation[n] = Variation::None;
    s.disA[n] = a;
    s.disB[n] = b;
    s.constant[n] = v;
    s.expression[n] = "N/A";
}

/// The largest model the options allow: 30 records of every kind on a 100 m span, all 390 record
/// positions distinct.
inline BeamModel largestBeam() {
    BeamModel m;
    m.MaxNoApplieds = 30;
    ClearModelLists(m);
    m.span = 100;
    m.counts.fill(30);
    double x = 0;
    auto next = [&x] { return x += 100.0 / 392; };
    for (std::size_t n = 1; n <= 30; ++n) {
        m.PointLoad.value[n] = 1;
        m.PointLoad.location[n] = next();
        m.UDL.value[n] = 1;
        m.UDL.start[n] = next();
        m.UDL.end[n] = next();
        m.TDL.startValue[n] = 1;
        m.TDL.endValue[n] = 2;
        m.TDL.start[n] = next();
        m.TDL.end[n] = next();
        m.MomentLoad.value[n] = 1;
        m.MomentLoad.location[n] = next();
        m.RigidSupport.type[n] = SupportType::Pinned;
        m.RigidSupport.location[n] = next();
        m.SpringSupport.location[n] = next();
        m.SpringSupport.vertical[n] = 5;
        m.FixedDisplacement.location[n] = next();
        m.FixedDisplacement.vertical[n] = 1;
        const double a = next(), b = next();
        noneSegment(m.ESegment, n, a, b, 200);
        const double c = next(), d = next();
        noneSegment(m.ISegment, n, c, d, 10000);
    }
    // The first E and I definitions cover the whole beam so every element has stiffness.
    noneSegment(m.ESegment, 1, 0, 100, 200);
    noneSegment(m.ISegment, 1, 0, 100, 10000);
    return m;
}

inline void curveSegment(PropertySegmentList& s, std::size_t n, double a, double b,
                         const char* expression) {
    s.variation[n] = Variation::Curve;
    s.disA[n] = a;
    s.disB[n] = b;
    s.expression[n] = expression;
}

/// The largest model with E and I given as expressions in x on every record: E varying by
/// 5 % in a wave, I growing by a half along the span.
inline BeamModel largestBeamWithCurves() {
    BeamModel m = largestBeam();
    for (std::size_t n = 1; n <= 30; ++n) {
        curveSegment(m.ESegment, n, m.ESegment.disA[n], m.ESegment.disB[n], "200+10*sin(x/7)");
        curveSegment(m.ISegment, n, m.ISegment.disA[n], m.ISegment.disB[n], "10000*(1+x/200)^2");
    }
    return m;
}

/// The largest model, analysed once at the highest mesh density, 10, in input units as the
/// diagram windows and the sheet see it.
inline const ProgramState& AnalysedLargestModel() {
    static const ProgramState analysed = [] {
        ProgramState s;
        s.model = largestBeam();
        s.options.MaxNoApplieds = s.model.MaxNoApplieds;
        s.options.MeshDensFact = 10;
        NullStatusSink status;
        NullMessageSink messages;
        // The analysis writes its own copy there and removes it again.
        const AnalyseResult r =
            AnalyseCore(s, std::filesystem::temp_directory_path(), status, messages);
        if (r.outcome != AnalyseOutcome::Completed)
            throw std::runtime_error("the largest model did not analyse");
        return s;
    }();
    return analysed;
}

} // namespace kradon::bench
