// Analysis of every load case on one mesh, and combinations and envelopes by superposition.
#include "analysis/LoadCombinations.h"

#include "analysis/SectionPolynomial.h"
#include "analysis/modCalcs.h"
#include "analysis/modCheck.h"
#include "analysis/modUnits.h"
#include "model/KradonError.h"
#include "model/modText.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <set>
#include <utility>

namespace kradon {
namespace {

constexpr const char* errorSource = "LoadCombinations";

std::size_t at(std::int32_t n) {
    return static_cast<std::size_t>(n);
}

// ---- spans and the loads on them ----

/// Positions where something holds the beam vertically, as the mesher sees positions.
std::vector<double> verticalSupportPositions(const BeamModel& b) {
    std::vector<double> positions;
    for (std::int16_t r = 1; r <= b.count(RecordKind::RigidSupport); ++r) {
        const double type = b.RigidSupport.type[at(r)];
        if (type == SupportType::Pinned || type == SupportType::Fixed)
            positions.push_back(b.RigidSupport.location[at(r)]);
    }
    for (std::int16_t r = 1; r <= b.count(RecordKind::SpringSupport); ++r)
        if (b.SpringSupport.vertical[at(r)] != 0)
            positions.push_back(b.SpringSupport.location[at(r)]);
    for (std::int16_t r = 1; r <= b.count(RecordKind::FixedDisplacement); ++r)
        if (b.FixedDisplacement.vertical[at(r)] != 0)
            positions.push_back(b.FixedDisplacement.location[at(r)]);
    for (double& p : positions)
        p = modText::RoundTrip15(p);
    return positions;
}

/// Whether x lies on span: from its start up to its end, the end itself only on the last span.
bool onSpan(double x, const Span& span, bool lastSpan) {
    const double p = modText::RoundTrip15(x);
    return p >= span.from && (p < span.to || (lastSpan && p <= span.to));
}

/// The same lists with no records in them.
CaseLoads noLoads(const CaseLoads& like) {
    CaseLoads none = like;
    for (auto* list :
         {&none.PointLoad.value, &none.PointLoad.location, &none.UDL.value, &none.UDL.start,
          &none.UDL.end, &none.TDL.startValue, &none.TDL.endValue, &none.TDL.start, &none.TDL.end,
          &none.MomentLoad.value, &none.MomentLoad.location})
        std::fill(list->begin(), list->end(), 0.0);
    none.counts.fill(0);
    return none;
}

// ---- the models of the analyses ----

/// Every position where any case places a load: a zero point load at each makes the same key
/// points, and so the same mesh, for every analysis.
std::vector<double> loadPositions(const CaseModel& m) {
    std::set<double> positions;
    for (const LoadCase& c : m.cases) {
        const CaseLoads& l = c.loads;
        for (std::int16_t r = 1; r <= l.count(RecordKind::PointLoad); ++r)
            positions.insert(l.PointLoad.location.at(at(r)));
        for (std::int16_t r = 1; r <= l.count(RecordKind::UDL); ++r) {
            positions.insert(l.UDL.start.at(at(r)));
            positions.insert(l.UDL.end.at(at(r)));
        }
        for (std::int16_t r = 1; r <= l.count(RecordKind::TDL); ++r) {
            positions.insert(l.TDL.start.at(at(r)));
            positions.insert(l.TDL.end.at(at(r)));
        }
        for (std::int16_t r = 1; r <= l.count(RecordKind::MomentLoad); ++r)
            positions.insert(l.MomentLoad.location.at(at(r)));
    }
    return {positions.begin(), positions.end()};
}

/// The beam with loads and a zero point load at each of the positions.
BeamModel analysisModel(const CaseModel& m, const CaseLoads& loads,
                        const std::vector<double>& positions) {
    CaseModel one;
    one.beam = m.beam;
    LoadCase c;
    c.loads = loads;
    one.cases.push_back(std::move(c));
    BeamModel beam = CaseBeam(one, 0);
    const std::int64_t count = std::int64_t{beam.count(RecordKind::PointLoad)} +
                               static_cast<std::int64_t>(positions.size());
    if (count > std::numeric_limits<std::int16_t>::max())
        throw KradonError(ErrorNumber::Overflow, errorSource,
                          "The load cases place loads at more than 32000 positions");
    const auto first = at(beam.count(RecordKind::PointLoad)) + 1;
    GrowModelLists(beam, static_cast<std::int16_t>(count));
    for (std::size_t i = 0; i < positions.size(); ++i) {
        beam.PointLoad.value[first + i] = 0;
        beam.PointLoad.location[first + i] = positions[i];
    }
    beam.count(RecordKind::PointLoad) = static_cast<std::int16_t>(count);
    return beam;
}

bool hasPrescribedDisplacement(const BeamModel& b) {
    for (std::int16_t r = 1; r <= b.count(RecordKind::FixedDisplacement); ++r)
        if (b.FixedDisplacement.vertical[at(r)] != 0 || b.FixedDisplacement.rotational[at(r)] != 0)
            return true;
    return false;
}

bool hasLoads(const CaseLoads& l) {
    for (const std::int16_t count : l.counts)
        if (count > 0)
            return true;
    return false;
}

// ---- one analysis's results as a flat list ----

/// Where each table starts in the values of a LoadState.
struct Layout {
    std::size_t displacements = 0, shear = 0, moment = 0, loadStart = 0, loadEnd = 0, reactions = 0,
                nodalLoads = 0, total = 0;
    std::size_t rigid = 0, springs = 0, fixed = 0; // records of each holding kind
};

using ReactionRows = std::vector<std::vector<double>>;

template <class Visit> void forEachNodalLoadTable(NodalTables& n, Visit visit) {
    visit(n.ConcentratedLoad);
    visit(n.LoadVector);
    for (auto& row : n.ElementNodalLoads)
        visit(row);
}

template <class Visit> void forEachNodalLoadTable(const NodalTables& n, Visit visit) {
    visit(n.ConcentratedLoad);
    visit(n.LoadVector);
    for (const auto& row : n.ElementNodalLoads)
        visit(row);
}

Layout layoutOf(const ProgramState& s) {
    Layout l;
    std::size_t offset = 0;
    const auto place = [&offset](std::size_t& start, std::size_t size) {
        start = offset;
        offset += size;
    };
    place(l.displacements, s.equations.Displacements.size());
    place(l.shear, s.results.NodeShear.size());
    place(l.moment, s.results.NodeMoment.size());
    place(l.loadStart, s.nodal.ElementLoadStart.size());
    place(l.loadEnd, s.nodal.ElementLoadEnd.size());
    l.rigid = at(s.model.count(RecordKind::RigidSupport));
    l.springs = at(s.model.count(RecordKind::SpringSupport));
    l.fixed = at(s.model.count(RecordKind::FixedDisplacement));
    place(l.reactions, 2 * (l.rigid + l.springs + l.fixed));
    l.nodalLoads = offset;
    forEachNodalLoadTable(s.nodal, [&offset](const std::vector<double>& t) { offset += t.size(); });
    l.total = offset;
    return l;
}

void appendReactions(std::vector<double>& to, const ReactionRows& rows, std::size_t count) {
    for (std::size_t r = 1; r <= count; ++r)
        for (std::size_t column : {1, 2})
            to.push_back(r < rows.size() && column < rows[r].size() ? rows[r][column] : 0.0);
}

LoadState pack(const ProgramState& s) {
    const Layout l = layoutOf(s);
    LoadState state;
    auto& v = state.values;
    v.reserve(l.total);
    const auto append = [&v](const std::vector<double>& t) {
        v.insert(v.end(), t.begin(), t.end());
    };
    append(s.equations.Displacements);
    append(s.results.NodeShear);
    append(s.results.NodeMoment);
    append(s.nodal.ElementLoadStart);
    append(s.nodal.ElementLoadEnd);
    appendReactions(v, s.results.SupportReaction, l.rigid);
    appendReactions(v, s.results.SpringReaction, l.springs);
    appendReactions(v, s.results.DisplacementReaction, l.fixed);
    forEachNodalLoadTable(s.nodal, append);
    return state;
}

void unpackReactions(const std::vector<double>& v, std::size_t& i, ReactionRows& rows,
                     std::size_t count) {
    rows.resize(std::max(rows.size(), count + 1), std::vector<double>(3, 0.0));
    for (std::size_t r = 1; r <= count; ++r) {
        rows[r].resize(3, 0.0);
        rows[r][1] = v[i++];
        rows[r][2] = v[i++];
    }
}

/// Puts the values of a state into the tables of s, whose layout they have.
void unpack(const LoadState& state, ProgramState& s) {
    const Layout l = layoutOf(s);
    const auto& v = state.values;
    std::size_t i = 0;
    const auto take = [&v, &i](std::vector<double>& t) {
        std::copy(v.begin() + static_cast<std::ptrdiff_t>(i),
                  v.begin() + static_cast<std::ptrdiff_t>(i + t.size()), t.begin());
        i += t.size();
    };
    take(s.equations.Displacements);
    take(s.results.NodeShear);
    take(s.results.NodeMoment);
    take(s.nodal.ElementLoadStart);
    take(s.nodal.ElementLoadEnd);
    unpackReactions(v, i, s.results.SupportReaction, l.rigid);
    unpackReactions(v, i, s.results.SpringReaction, l.springs);
    unpackReactions(v, i, s.results.DisplacementReaction, l.fixed);
    forEachNodalLoadTable(s.nodal, take);
    for (std::int32_t n = 1; n <= s.mesh.NodeCount; ++n)
        s.results.NodeDeflection[at(n)] = s.equations.Displacements[at(2 * n - 1)];
}

/// to += f x from, over the first count values.
void addScaled(std::vector<double>& to, double f, const LoadState& from, std::size_t count) {
    const double* x = from.values.data();
    double* y = to.data();
    for (std::size_t i = 0; i < count; ++i)
        y[i] += f * x[i];
}

// ---- running the analyses ----

/// Shows each distinct message once, and none that the check of the cases already showed.
class OnceSink : public MessageSink {
public:
    OnceSink(MessageSink& to, std::set<std::pair<std::string, std::string>> seen)
        : to_(to), seen_(std::move(seen)) {}
    void show(const Message& message) override {
        if (seen_.insert({message.title, message.text}).second)
            to_.show(message);
    }

private:
    MessageSink& to_;
    std::set<std::pair<std::string, std::string>> seen_;
};

/// Passes messages on with the case they come from named in front, and keeps what it saw.
class CaseMessageSink : public MessageSink {
public:
    CaseMessageSink(MessageSink& to, std::string prefix) : to_(to), prefix_(std::move(prefix)) {}
    void show(const Message& message) override {
        seen.insert({message.title, message.text});
        Message named = message;
        named.text = prefix_ + message.text;
        to_.show(named);
    }
    std::set<std::pair<std::string, std::string>> seen;

private:
    MessageSink& to_;
    std::string prefix_;
};

/// Checks each case as the Analyse command checks a model; true when all pass. The messages of a
/// model with several cases name their case.
bool checkCases(const CaseModel& m, MessageSink& messages,
                std::set<std::pair<std::string, std::string>>& seen) {
    bool passed = true;
    for (std::size_t c = 0; c < m.cases.size(); ++c) {
        const std::string prefix =
            m.cases.size() > 1 ? "Load case \"" + m.cases[c].name + "\": " : std::string();
        CaseMessageSink named(messages, prefix);
        passed = modCheck::CheckInput(CaseBeam(m, c), named) && passed;
        seen.insert(named.seen.begin(), named.seen.end());
    }
    return passed;
}

/// One analysis to run: the loads, and where its results go.
struct Job {
    std::string label;
    CaseLoads loads;
    std::optional<std::size_t> caseIndex; // none: the prescribed displacements alone
    std::size_t span = 0;
};

std::vector<Job> jobsOf(const CaseModel& m, const std::vector<Span>& spans) {
    std::vector<Job> jobs;
    if (hasPrescribedDisplacement(m.beam)) {
        Job d;
        d.label = "Prescribed displacements";
        d.loads = noLoads(m.cases.front().loads);
        jobs.push_back(std::move(d));
    }
    for (std::size_t c = 0; c < m.cases.size(); ++c) {
        const LoadCase& lc = m.cases[c];
        if (!lc.pattern) {
            jobs.push_back({"Load case " + lc.name, lc.loads, c, 0});
            continue;
        }
        for (std::size_t s = 0; s < spans.size(); ++s) {
            CaseLoads part = LoadsOnSpan(lc.loads, spans[s], s + 1 == spans.size());
            if (hasLoads(part))
                jobs.push_back({"Load case " + lc.name + ", span " + std::to_string(s + 1),
                                std::move(part), c, s});
        }
    }
    return jobs;
}

} // namespace

std::vector<Span> SpansOf(const BeamModel& beam) {
    const double end = modText::RoundTrip15(beam.span);
    std::vector<double> bounds{0.0, end};
    for (const double p : verticalSupportPositions(beam))
        if (p > 0 && p < end)
            bounds.push_back(p);
    std::sort(bounds.begin(), bounds.end());
    bounds.erase(std::unique(bounds.begin(), bounds.end()), bounds.end());
    std::vector<Span> spans;
    for (std::size_t i = 1; i < bounds.size(); ++i)
        spans.push_back({bounds[i - 1], bounds[i]});
    if (spans.empty())
        spans.push_back({0, end});
    return spans;
}

CaseLoads LoadsOnSpan(const CaseLoads& loads, const Span& span, bool lastSpan) {
    CaseLoads part = noLoads(loads);
    const auto next = [&part](RecordKind kind) {
        return at(++part.counts[static_cast<std::size_t>(kind)]);
    };
    const auto& pl = loads.PointLoad;
    for (std::int16_t r = 1; r <= loads.count(RecordKind::PointLoad); ++r)
        if (onSpan(pl.location.at(at(r)), span, lastSpan)) {
            const auto n = next(RecordKind::PointLoad);
            part.PointLoad.value[n] = pl.value[at(r)];
            part.PointLoad.location[n] = pl.location[at(r)];
        }
    const auto& ml = loads.MomentLoad;
    for (std::int16_t r = 1; r <= loads.count(RecordKind::MomentLoad); ++r)
        if (onSpan(ml.location.at(at(r)), span, lastSpan)) {
            const auto n = next(RecordKind::MomentLoad);
            part.MomentLoad.value[n] = ml.value[at(r)];
            part.MomentLoad.location[n] = ml.location[at(r)];
        }
    // A distributed load keeps its own ends where they lie on the span, and takes the span's
    // where it runs beyond.
    struct Cut {
        double start, end;
    };
    const auto cut = [&span](double start, double end) -> std::optional<Cut> {
        const double a = modText::RoundTrip15(start), b = modText::RoundTrip15(end);
        if (!(b > a) || !(std::min(b, span.to) > std::max(a, span.from)))
            return std::nullopt;
        return Cut{a >= span.from ? start : span.from, b <= span.to ? end : span.to};
    };
    const auto& u = loads.UDL;
    for (std::int16_t r = 1; r <= loads.count(RecordKind::UDL); ++r)
        if (const auto c = cut(u.start.at(at(r)), u.end.at(at(r)))) {
            const auto n = next(RecordKind::UDL);
            part.UDL.value[n] = u.value[at(r)];
            part.UDL.start[n] = c->start;
            part.UDL.end[n] = c->end;
        }
    const auto& t = loads.TDL;
    for (std::int16_t r = 1; r <= loads.count(RecordKind::TDL); ++r) {
        const auto i = at(r);
        const auto c = cut(t.start.at(i), t.end.at(i));
        if (!c)
            continue;
        const auto intensity = [&t, i](double x) {
            return t.startValue[i] +
                   (x - t.start[i]) * (t.endValue[i] - t.startValue[i]) / (t.end[i] - t.start[i]);
        };
        const auto n = next(RecordKind::TDL);
        part.TDL.start[n] = c->start;
        part.TDL.end[n] = c->end;
        part.TDL.startValue[n] = c->start == t.start[i] ? t.startValue[i] : intensity(c->start);
        part.TDL.endValue[n] = c->end == t.end[i] ? t.endValue[i] : intensity(c->end);
    }
    return part;
}

Loading CaseLoading(const CaseModel& m, std::size_t c) {
    return {m.cases.at(c).name, {{c, 1.0}}};
}

Loading CombinationLoading(const CaseModel& m, std::size_t k) {
    const Combination& combination = m.combinations.at(k);
    Loading loading{combination.name, {}};
    for (const CombinationFactor& f : combination.factors) {
        const std::optional<std::size_t> c = FindCase(m, f.caseName);
        if (!c)
            throw KradonError(ErrorNumber::InvalidArgument, errorSource,
                              "Combination \"" + combination.name + "\" names no load case \"" +
                                  f.caseName + "\"");
        loading.terms.emplace_back(*c, f.factor);
    }
    return loading;
}

std::vector<Loading> EnvelopeLoadings(const CaseModel& m) {
    std::vector<Loading> loadings;
    if (m.combinations.empty())
        for (std::size_t c = 0; c < m.cases.size(); ++c)
            loadings.push_back(CaseLoading(m, c));
    for (std::size_t k = 0; k < m.combinations.size(); ++k)
        loadings.push_back(CombinationLoading(m, k));
    return loadings;
}

CasesOutcome AnalyseCases(const CaseModel& m, const std::filesystem::path& copyFolder,
                          StatusSink& status, MessageSink& messages) {
    const auto start = std::chrono::steady_clock::now();
    if (const auto problem = ModelProblem(m)) {
        messages.show({LoadCasesTitle, *problem, Icon::Critical});
        return {};
    }
    std::set<std::pair<std::string, std::string>> seen;
    if (!checkCases(m, messages, seen))
        return {};
    CaseAnalysis a;
    a.spans = SpansOf(m.beam);
    for (const LoadCase& c : m.cases)
        a.patterned.push_back(c.pattern);
    const bool anyPattern =
        std::find(a.patterned.begin(), a.patterned.end(), true) != a.patterned.end();
    if (anyPattern && a.spans.size() > MaxPatternSpans) {
        messages.show({modCheck::CheckTitle,
                       "A patterned load case is applied span by span to at most 16 spans; this "
                       "beam has " +
                           std::to_string(a.spans.size()),
                       Icon::Exclamation});
        return {};
    }
    std::vector<Job> jobs = jobsOf(m, a.spans);
    // A model whose loads all load nothing still needs one analysis for its mesh.
    if (jobs.empty())
        jobs.push_back({"Prescribed displacements", noLoads(m.cases.front().loads), {}, 0});
    const std::vector<double> positions = loadPositions(m);
    a.cases.resize(m.cases.size());
    OnceSink once(messages, std::move(seen));
    std::optional<LoadState> displacements;
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        const Job& job = jobs[i];
        status.udPb(100.0 * static_cast<double>(i) / static_cast<double>(jobs.size()));
        status.udTxt(job.label);
        ProgramState s;
        s.model = analysisModel(m, job.loads, positions);
        s.options.MeshDensFact = m.meshDensity;
        s.options.ExactSections = m.exactSections;
        s.options.MaxNoApplieds = s.model.MaxNoApplieds;
        NullStatusSink quiet;
        const AnalyseResult result = AnalyseCore(s, copyFolder, quiet, once);
        if (result.outcome != AnalyseOutcome::Completed)
            return {result.outcome, std::nullopt};
        if (i == 0) {
            a.frame = s;
            a.frame.model = m.beam;
        } else if (s.mesh.NodeX != a.frame.mesh.NodeX) {
            throw KradonError(ErrorNumber::InvalidArgument, errorSource,
                              "The load cases were meshed differently");
        }
        LoadState state = pack(s);
        if (job.caseIndex)
            a.cases[*job.caseIndex].push_back({job.span, std::move(state)});
        else
            displacements = std::move(state);
    }
    const std::size_t total = layoutOf(a.frame).total;
    a.displacementsOnly.values.assign(total, 0.0);
    if (displacements && hasPrescribedDisplacement(m.beam)) {
        a.displacementsOnly = std::move(*displacements);
        for (auto& parts : a.cases)
            for (auto& part : parts)
                addScaled(part.state.values, -1, a.displacementsOnly, total);
    }
    unpack(a.displacementsOnly, a.frame);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    a.AnalysisTime = elapsed.count();
    status.udPb(100);
    return {AnalyseOutcome::Completed, std::move(a)};
}

bool IsPatterned(const CaseAnalysis& a, const Loading& loading) {
    for (const auto& [c, factor] : loading.terms)
        if (a.patterned.at(c))
            return true;
    return false;
}

std::string GoverningText(const EnvelopeResult& r, const Governing& g, const CaseModel& m) {
    std::string text = r.loadings.at(g.loading);
    const Arrangement& arrangement = r.arrangements.at(g.arrangement);
    // A patterned case alone is named once: "Q on spans 1, 3".
    const bool caseAlone = arrangement.size() == 1 && m.cases.at(arrangement[0].first).name == text;
    for (std::size_t i = 0; i < arrangement.size(); ++i) {
        const auto [c, mask] = arrangement[i];
        std::vector<int> spans;
        for (int s = 0; s < 32; ++s)
            if (mask & (std::uint32_t{1} << s))
                spans.push_back(s + 1);
        if (caseAlone)
            text += " on ";
        else
            text += (i == 0 ? " with " : " and ") + m.cases.at(c).name + " on ";
        if (spans.empty())
            text += "no span";
        else
            text += spans.size() == 1 ? "span " : "spans ";
        for (std::size_t k = 0; k < spans.size(); ++k)
            text += (k == 0 ? "" : ", ") + std::to_string(spans[k]);
    }
    return text;
}

namespace {

using SectionPolynomial::ElementState;
using SectionPolynomial::Level;

/// A loading ready to be evaluated: the sum of its cases that are not patterned (with the
/// prescribed displacements), and the span solutions of its patterned cases, each of which is
/// added where it makes the value larger (or smaller).
struct PreparedLoading {
    std::vector<double> fixed; // the results part of a LoadState
    struct Part {
        const LoadState* state = nullptr;
        double factor = 0;
        std::size_t slot = 0; // which patterned case of the loading
        std::uint32_t bit = 0;
    };
    std::vector<Part> parts;
    std::vector<std::size_t> patternedCases;
};

PreparedLoading prepare(const CaseAnalysis& a, const Loading& loading, std::size_t count) {
    PreparedLoading p;
    p.fixed.assign(a.displacementsOnly.values.begin(),
                   a.displacementsOnly.values.begin() + static_cast<std::ptrdiff_t>(count));
    for (const auto& [c, factor] : loading.terms) {
        if (!a.patterned.at(c)) {
            for (const auto& part : a.cases.at(c))
                addScaled(p.fixed, factor, part.state, count);
            continue;
        }
        const std::size_t slot = p.patternedCases.size();
        p.patternedCases.push_back(c);
        for (const auto& part : a.cases.at(c))
            p.parts.push_back({&part.state, factor, slot, std::uint32_t{1} << part.span});
    }
    return p;
}

/// Builds an envelope, one loading after another, naming arrangements once each.
class EnvelopeBuilder {
public:
    EnvelopeBuilder(const CaseAnalysis& a, EnvelopeResult& r)
        : a_(a), r_(r), l_(layoutOf(a.frame)) {
        r_.arrangements.assign(1, Arrangement{});
        ids_[Arrangement{}] = 0;
    }

    void add(const Loading& loading) {
        const auto index = static_cast<std::uint32_t>(r_.loadings.size());
        r_.loadings.push_back(loading.name);
        const PreparedLoading p = prepare(a_, loading, l_.nodalLoads);
        foldNodes(p, index);
        for (std::int32_t e = 1; e <= a_.frame.mesh.ElementCount; ++e)
            searchElement(p, index, e);
        first_ = false;
    }

private:
    /// Both bounds at one value of the results, each with its arrangement.
    ValueRange rangeAt(const PreparedLoading& p, std::size_t i, std::uint32_t loading) {
        double largest = p.fixed[i], smallest = largest;
        if (p.parts.empty())
            return {{largest, {loading, 0}}, {smallest, {loading, 0}}};
        Arrangement up = blank(p), down = up;
        for (const auto& part : p.parts) {
            const double v = part.factor * part.state->values[i];
            if (v > 0) {
                largest += v;
                up[part.slot].second |= part.bit;
            } else if (v < 0) {
                smallest += v;
                down[part.slot].second |= part.bit;
            }
        }
        return {{largest, {loading, intern(up)}}, {smallest, {loading, intern(down)}}};
    }

    Arrangement blank(const PreparedLoading& p) const {
        Arrangement arrangement;
        for (const std::size_t c : p.patternedCases)
            arrangement.emplace_back(c, 0);
        return arrangement;
    }

    std::uint32_t intern(const Arrangement& arrangement) {
        const auto [it, added] =
            ids_.try_emplace(arrangement, static_cast<std::uint32_t>(r_.arrangements.size()));
        if (added)
            r_.arrangements.push_back(arrangement);
        return it->second;
    }

    void fold(ValueRange& into, const ValueRange& range) const {
        if (first_ || range.largest.value > into.largest.value)
            into.largest = range.largest;
        if (first_ || range.smallest.value < into.smallest.value)
            into.smallest = range.smallest;
    }

    void foldNodes(const PreparedLoading& p, std::uint32_t loading) {
        const auto nodes = at(a_.frame.mesh.NodeCount) + 1;
        for (auto* table :
             {&r_.deflection, &r_.rotation, &r_.moment, &r_.shearLeft, &r_.shearRight})
            table->resize(nodes);
        for (std::size_t n = 1; n < nodes; ++n) {
            fold(r_.deflection[n], rangeAt(p, l_.displacements + 2 * n - 1, loading));
            fold(r_.rotation[n], rangeAt(p, l_.displacements + 2 * n, loading));
            fold(r_.moment[n], rangeAt(p, l_.moment + n, loading));
            fold(r_.shearLeft[n], rangeAt(p, l_.shear + 2 * n - 1, loading));
            fold(r_.shearRight[n], rangeAt(p, l_.shear + 2 * n, loading));
        }
        r_.reactions.resize(l_.nodalLoads - l_.reactions);
        for (std::size_t i = 0; i < r_.reactions.size(); ++i)
            fold(r_.reactions[i], rangeAt(p, l_.reactions + i, loading));
    }

    ElementState stateAt(const std::vector<double>& v, std::int32_t e, double f) const {
        const double h = a_.frame.mesh.ElementLength[at(e)];
        const double wa = v[l_.loadStart + at(e)], wb = v[l_.loadEnd + at(e)];
        return {f * v[l_.displacements + at(2 * e - 1)],
                f * v[l_.displacements + at(2 * e)],
                f * v[l_.shear + at(2 * e)],
                f * v[l_.moment + at(e)],
                f * wa,
                h == 0 ? 0.0 : f * (wb - wa) / h};
    }

    /// 1/EI of element e in 1/(N·m2); 0 for an element without stiffness.
    double flexibility(std::int32_t e) const {
        // E and I of the mesh are in kN/mm2 and cm4 once the analysis has ended.
        const double EI =
            a_.frame.mesh.ElementE[at(e)] * 1e9 * (a_.frame.mesh.ElementI[at(e)] * 1e-8);
        return EI == 0 ? 0.0 : 1 / EI;
    }

    void offer(Quantity q, bool largest, double value, double x, Governing by) {
        ExtremeRange& range = r_.extremes[static_cast<std::size_t>(q)];
        auto& seen = seen_[static_cast<std::size_t>(q)][largest ? 0 : 1];
        ExtremeBound& bound = largest ? range.largest : range.smallest;
        if (!seen || (largest ? value > bound.value : value < bound.value))
            bound = {value, x, by};
        seen = true;
    }

    static Level levelOf(Quantity q) {
        switch (q) {
        case Quantity::Deflection:
            return Level::Deflection;
        case Quantity::Rotation:
            return Level::Rotation;
        case Quantity::Moment:
            return Level::Moment;
        case Quantity::Shear:
            break;
        }
        return Level::Shear;
    }

    void searchElement(const PreparedLoading& p, std::uint32_t loading, std::int32_t e) {
        const double h = a_.frame.mesh.ElementLength[at(e)];
        const double x0 = a_.frame.mesh.NodeX[at(e)];
        const double c = flexibility(e);
        const ElementState fixed = stateAt(p.fixed, e, 1);
        if (p.parts.empty()) {
            searchFixed(fixed, c, h, x0, {loading, 0});
            return;
        }
        std::vector<ElementState> parts;
        for (const auto& part : p.parts)
            parts.push_back(stateAt(part.state->values, e, part.factor));
        for (std::size_t q = 0; q < QuantityCount; ++q)
            searchPatterned(p, loading, static_cast<Quantity>(q), fixed, parts, c, h, x0);
    }

    /// One state along the element: both bounds are the same value.
    void searchFixed(const ElementState& st, double c, double h, double x0, Governing by) {
        const auto chain = SectionPolynomial::RootChain(st, c, 0, h);
        for (std::size_t q = 0; q < QuantityCount; ++q) {
            const Level level = levelOf(static_cast<Quantity>(q));
            const auto& critical = chain[static_cast<std::size_t>(level) - 1];
            const auto look = [&](double s) {
                const double v = SectionPolynomial::ValueAt(level, st, c, s);
                offer(static_cast<Quantity>(q), true, v, x0 + s, by);
                offer(static_cast<Quantity>(q), false, v, x0 + s, by);
            };
            look(0);
            look(h);
            for (std::size_t i = 0; i < critical.count; ++i)
                look(critical.at[i]);
        }
    }

    /// Between the places where a span solution changes sign, the worst arrangement is fixed:
    /// each piece is searched as one state.
    void searchPatterned(const PreparedLoading& p, std::uint32_t loading, Quantity q,
                         const ElementState& fixed, const std::vector<ElementState>& parts,
                         double c, double h, double x0) {
        const Level level = levelOf(q);
        std::vector<double> cuts{0, h};
        for (const ElementState& part : parts) {
            const auto roots = SectionPolynomial::RootsInside(level, part, c, 0, h);
            cuts.insert(cuts.end(), roots.at.begin(),
                        roots.at.begin() + static_cast<std::ptrdiff_t>(roots.count));
        }
        std::sort(cuts.begin(), cuts.end());
        for (std::size_t i = 1; i < cuts.size(); ++i) {
            const double s0 = cuts[i - 1], s1 = cuts[i];
            if (!(s1 > s0))
                continue;
            const double mid = s0 + (s1 - s0) / 2;
            for (const bool largest : {true, false}) {
                ElementState st = fixed;
                Arrangement arrangement = blank(p);
                for (std::size_t j = 0; j < parts.size(); ++j) {
                    const double v = SectionPolynomial::ValueAt(level, parts[j], c, mid);
                    if (largest ? v > 0 : v < 0) {
                        SectionPolynomial::AddScaled(st, 1, parts[j]);
                        arrangement[p.parts[j].slot].second |= p.parts[j].bit;
                    }
                }
                const Governing by{loading, intern(arrangement)};
                const auto look = [&](double s) {
                    offer(q, largest, SectionPolynomial::ValueAt(level, st, c, s), x0 + s, by);
                };
                look(s0);
                look(s1);
                const auto critical = SectionPolynomial::CriticalPoints(level, st, c, s0, s1);
                for (std::size_t k = 0; k < critical.count; ++k)
                    look(critical.at[k]);
            }
        }
    }

    const CaseAnalysis& a_;
    EnvelopeResult& r_;
    const Layout l_;
    std::map<Arrangement, std::uint32_t> ids_;
    std::array<std::array<bool, 2>, QuantityCount> seen_{};
    bool first_ = true;
};

/// The loads of a case with every value multiplied by f.
CaseLoads scaled(CaseLoads loads, double f) {
    const auto scale = [f](std::vector<double>& list, std::int16_t count) {
        for (std::int16_t r = 1; r <= count && at(r) < list.size(); ++r)
            list[at(r)] *= f;
    };
    scale(loads.PointLoad.value, loads.count(RecordKind::PointLoad));
    scale(loads.UDL.value, loads.count(RecordKind::UDL));
    scale(loads.TDL.startValue, loads.count(RecordKind::TDL));
    scale(loads.TDL.endValue, loads.count(RecordKind::TDL));
    scale(loads.MomentLoad.value, loads.count(RecordKind::MomentLoad));
    return loads;
}

ResultExtremes resultExtremes(const EnvelopeResult& r) {
    const auto& x = r.extremes;
    const auto plain = [](const ExtremeBound& b) { return Extreme{b.value, b.x}; };
    const auto& moment = x[static_cast<std::size_t>(Quantity::Moment)];
    const auto& shear = x[static_cast<std::size_t>(Quantity::Shear)];
    const auto& deflection = x[static_cast<std::size_t>(Quantity::Deflection)];
    const auto& rotation = x[static_cast<std::size_t>(Quantity::Rotation)];
    return {plain(moment.largest),   plain(moment.smallest),    plain(shear.largest),
            plain(shear.smallest),   plain(deflection.largest), plain(deflection.smallest),
            plain(rotation.largest), plain(rotation.smallest)};
}

} // namespace

EnvelopeResult Envelope(const CaseAnalysis& a, const std::vector<Loading>& loadings) {
    EnvelopeResult r;
    EnvelopeBuilder builder(a, r);
    for (const Loading& loading : loadings)
        builder.add(loading);
    return r;
}

ProgramState CombinedState(const CaseAnalysis& a, const CaseModel& m, const Loading& loading) {
    if (IsPatterned(a, loading))
        throw KradonError(ErrorNumber::InvalidArgument, errorSource,
                          "\"" + loading.name +
                              "\" has a patterned load case: its results are an envelope");
    ProgramState s = a.frame;
    LoadState combined = a.displacementsOnly;
    CaseModel factored;
    factored.beam = m.beam;
    for (const auto& [c, factor] : loading.terms) {
        for (const auto& part : a.cases.at(c))
            addScaled(combined.values, factor, part.state, combined.values.size());
        LoadCase lc = m.cases.at(c);
        lc.loads = scaled(std::move(lc.loads), factor);
        factored.cases.push_back(std::move(lc));
    }
    unpack(combined, s);
    s.model = factored.cases.empty() ? m.beam : AllLoadsBeam(factored);
    s.results.Extremes = resultExtremes(Envelope(a, {loading}));
    ProgramState inAnalysisUnits = s;
    modUnits::ToAnalysisUnits(inAnalysisUnits.model);
    s.results.Residuals = modCalcs::CheckEquilibrium(inAnalysisUnits);
    s.AnalysisTime = a.AnalysisTime;
    return s;
}

} // namespace kradon
