// Load cases and combinations: moving loads between a case and a beam model, the model's own
// rules (names, factors) and the editing operations.
#include "model/LoadCases.h"

#include "model/KradonError.h"
#include "model/modText.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace kradon {
namespace {

constexpr const char* errorSource = "LoadCases";

[[noreturn]] void refuse(const std::string& text) {
    throw KradonError(ErrorNumber::InvalidArgument, errorSource, text);
}

std::string quoted(const std::string& name) {
    return "\"" + name + "\"";
}

/// Calls visit(caseList, beamList) for the field lists of the four load kinds.
template <class Loads, class Beam, class Visit>
void forEachLoadList(Loads& loads, Beam& beam, Visit&& visit) {
    visit(loads.PointLoad.value, beam.PointLoad.value);
    visit(loads.PointLoad.location, beam.PointLoad.location);
    visit(loads.UDL.value, beam.UDL.value);
    visit(loads.UDL.start, beam.UDL.start);
    visit(loads.UDL.end, beam.UDL.end);
    visit(loads.TDL.startValue, beam.TDL.startValue);
    visit(loads.TDL.endValue, beam.TDL.endValue);
    visit(loads.TDL.start, beam.TDL.start);
    visit(loads.TDL.end, beam.TDL.end);
    visit(loads.MomentLoad.value, beam.MomentLoad.value);
    visit(loads.MomentLoad.location, beam.MomentLoad.location);
}

/// Moves the load lists and counts of a beam into a case, leaving the beam's lists zero and its
/// load counts 0.
CaseLoads takeLoads(BeamModel& beam) {
    CaseLoads loads;
    const std::size_t entries = static_cast<std::size_t>(std::max<int>(beam.MaxNoApplieds, 0)) + 1;
    forEachLoadList(loads, beam, [entries](std::vector<double>& to, std::vector<double>& from) {
        to = std::move(from);
        from.assign(entries, 0.0);
    });
    for (const RecordKind kind : LoadKinds) {
        loads.counts[static_cast<std::size_t>(kind)] = beam.count(kind);
        beam.count(kind) = 0;
    }
    return loads;
}

void putLoads(BeamModel& beam, const CaseLoads& loads) {
    forEachLoadList(loads, beam,
                    [](const std::vector<double>& from, std::vector<double>& to) { to = from; });
    for (const RecordKind kind : LoadKinds)
        beam.count(kind) = loads.count(kind);
}

CaseLoads emptyLoads(std::int16_t capacity) {
    BeamModel beam;
    beam.MaxNoApplieds = capacity;
    ClearModelLists(beam);
    return takeLoads(beam);
}

void checkCase(const CaseModel& m, std::size_t c) {
    if (c >= m.cases.size())
        throw KradonError(ErrorNumber::SubscriptOutOfRange, errorSource,
                          "There is no load case " + std::to_string(c + 1) + "; the model has " +
                              std::to_string(m.cases.size()));
}

void checkCombination(const CaseModel& m, std::size_t k) {
    if (k >= m.combinations.size())
        throw KradonError(ErrorNumber::SubscriptOutOfRange, errorSource,
                          "There is no combination " + std::to_string(k + 1) + "; the model has " +
                              std::to_string(m.combinations.size()));
}

/// Refuses an empty name, or one that another entry (other than skip) already has.
template <class Entries>
void checkNewName(const Entries& entries, const std::string& name, std::size_t skip,
                  const char* what) {
    if (name.empty())
        refuse(std::string("A ") + what + " needs a name");
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (i != skip && entries[i].name == name)
            refuse(std::string("There is already a ") + what + " named " + quoted(name));
}

/// Appends one list of a case after those of a beam with count records, from entry 1 on.
void appendRecords(std::vector<double>& to, std::int16_t toCount, const std::vector<double>& from,
                   std::int16_t fromCount) {
    to.resize(static_cast<std::size_t>(toCount) + 1);
    for (std::int16_t r = 1; r <= fromCount; ++r)
        to.push_back(from.at(static_cast<std::size_t>(r)));
}

std::int16_t total(std::int64_t sum) {
    if (sum > std::numeric_limits<std::int16_t>::max())
        throw KradonError(ErrorNumber::Overflow, errorSource,
                          "The cases together hold more than 32767 loads of one kind");
    return static_cast<std::int16_t>(sum);
}

} // namespace

void GrowModelLists(BeamModel& m, std::int16_t capacity) {
    const auto entries = static_cast<std::size_t>(std::max<int>(capacity, 0)) + 1;
    const auto grow = [entries](auto& list) {
        if (list.size() < entries)
            list.resize(entries);
    };
    for (auto* list :
         {&m.PointLoad.value, &m.PointLoad.location, &m.UDL.value, &m.UDL.start, &m.UDL.end,
          &m.TDL.startValue, &m.TDL.endValue, &m.TDL.start, &m.TDL.end, &m.MomentLoad.value,
          &m.MomentLoad.location, &m.RigidSupport.type, &m.RigidSupport.location,
          &m.SpringSupport.location, &m.SpringSupport.vertical, &m.SpringSupport.rotational,
          &m.FixedDisplacement.location, &m.FixedDisplacement.vertical,
          &m.FixedDisplacement.rotational})
        grow(*list);
    for (auto* s : {&m.ESegment, &m.ISegment}) {
        for (auto* list :
             {&s->variation, &s->disA, &s->disB, &s->constant, &s->linearStart, &s->linearEnd})
            grow(*list);
        grow(s->expression);
    }
    m.MaxNoApplieds = std::max(m.MaxNoApplieds, capacity);
}

CaseModel FromBeamModel(BeamModel m) {
    CaseModel model;
    LoadCase loads;
    loads.name = KdnCaseName;
    loads.loads = takeLoads(m);
    model.beam = std::move(m);
    model.cases.push_back(std::move(loads));
    return model;
}

BeamModel CaseBeam(const CaseModel& m, std::size_t c) {
    checkCase(m, c);
    BeamModel beam = m.beam;
    putLoads(beam, m.cases[c].loads);
    // A case's lists may hold just its records; the beam's lists all have the capacity.
    GrowModelLists(beam, beam.MaxNoApplieds);
    return beam;
}

BeamModel CurrentBeam(const CaseModel& m) {
    return CaseBeam(m, m.current);
}

void StoreEditedBeam(CaseModel& m, BeamModel edited) {
    checkCase(m, m.current);
    m.cases[m.current].loads = takeLoads(edited);
    m.beam = std::move(edited);
}

BeamModel AllLoadsBeam(const CaseModel& m) {
    BeamModel beam = m.beam;
    for (const LoadCase& c : m.cases) {
        std::array<std::int16_t, 4> before{};
        for (const RecordKind kind : LoadKinds)
            before[static_cast<std::size_t>(kind)] = beam.count(kind);
        const auto append = [&](RecordKind kind, auto&& lists) {
            const auto k = static_cast<std::size_t>(kind);
            for (auto [to, from] : lists)
                appendRecords(*to, before[k], *from, c.loads.counts[k]);
            beam.count(kind) = total(std::int64_t{before[k]} + c.loads.counts[k]);
        };
        using L = std::vector<std::pair<std::vector<double>*, const std::vector<double>*>>;
        append(RecordKind::PointLoad, L{{&beam.PointLoad.value, &c.loads.PointLoad.value},
                                        {&beam.PointLoad.location, &c.loads.PointLoad.location}});
        append(RecordKind::UDL, L{{&beam.UDL.value, &c.loads.UDL.value},
                                  {&beam.UDL.start, &c.loads.UDL.start},
                                  {&beam.UDL.end, &c.loads.UDL.end}});
        append(RecordKind::TDL, L{{&beam.TDL.startValue, &c.loads.TDL.startValue},
                                  {&beam.TDL.endValue, &c.loads.TDL.endValue},
                                  {&beam.TDL.start, &c.loads.TDL.start},
                                  {&beam.TDL.end, &c.loads.TDL.end}});
        append(RecordKind::MomentLoad,
               L{{&beam.MomentLoad.value, &c.loads.MomentLoad.value},
                 {&beam.MomentLoad.location, &c.loads.MomentLoad.location}});
    }
    std::int16_t largest = beam.MaxNoApplieds;
    for (const std::int16_t count : beam.counts)
        largest = std::max(largest, count);
    beam.MaxNoApplieds = largest;
    GrowModelLists(beam, largest);
    return beam;
}

std::optional<std::size_t> FindCase(const CaseModel& m, const std::string& name) {
    for (std::size_t c = 0; c < m.cases.size(); ++c)
        if (m.cases[c].name == name)
            return c;
    return std::nullopt;
}

std::optional<std::size_t> FindCombination(const CaseModel& m, const std::string& name) {
    for (std::size_t k = 0; k < m.combinations.size(); ++k)
        if (m.combinations[k].name == name)
            return k;
    return std::nullopt;
}

std::optional<std::string> ModelProblem(const CaseModel& m) {
    if (m.cases.empty())
        return "A model needs at least one load case";
    if (!std::isfinite(m.meshDensity) || m.meshDensity <= 0)
        return "The mesh density " + modText::GeneralNumber(m.meshDensity) +
               " is not a positive number";
    try {
        for (std::size_t c = 0; c < m.cases.size(); ++c)
            checkNewName(m.cases, m.cases[c].name, c, "load case");
        for (std::size_t k = 0; k < m.combinations.size(); ++k) {
            const Combination& combination = m.combinations[k];
            checkNewName(m.combinations, combination.name, k, "combination");
            for (std::size_t f = 0; f < combination.factors.size(); ++f) {
                const CombinationFactor& factor = combination.factors[f];
                if (!FindCase(m, factor.caseName))
                    refuse("Combination " + quoted(combination.name) + " names no load case " +
                           quoted(factor.caseName));
                if (!std::isfinite(factor.factor))
                    refuse("Combination " + quoted(combination.name) +
                           " has a factor that is not a number");
                for (std::size_t g = 0; g < f; ++g)
                    if (combination.factors[g].caseName == factor.caseName)
                        refuse("Combination " + quoted(combination.name) + " names " +
                               quoted(factor.caseName) + " twice");
            }
        }
    } catch (const KradonError& e) {
        return e.what();
    }
    if (m.current >= m.cases.size())
        return "The current load case " + std::to_string(m.current + 1) + " does not exist";
    return std::nullopt;
}

std::optional<std::string> KdnCannotHold(const CaseModel& m) {
    const std::string prefix = "A .kdn file holds one load case named \"Loads\" and nothing more: ";
    if (m.cases.size() != 1)
        return prefix + "this model has " + std::to_string(m.cases.size()) + " load cases";
    if (!m.combinations.empty())
        return prefix + "this model has " + std::to_string(m.combinations.size()) + " combination" +
               (m.combinations.size() == 1 ? "" : "s");
    const LoadCase& only = m.cases.front();
    if (only.name != KdnCaseName)
        return prefix + "this model's case is named " + quoted(only.name);
    if (!only.title.empty())
        return prefix + "this model's case has the title " + quoted(only.title);
    if (only.pattern)
        return prefix + "this model's case is patterned";
    if (m.meshDensity != DefaultMeshDensity)
        return "A .kdn file holds no mesh density, and this model's is " +
               modText::GeneralNumber(m.meshDensity) + " (the program's default is 1)";
    if (m.exactSections)
        return "A .kdn file holds no exact-sections switch, and this model asks for exact sections";
    return std::nullopt;
}

std::size_t AddCase(CaseModel& m, const std::string& name, const std::string& title) {
    checkNewName(m.cases, name, m.cases.size(), "load case");
    LoadCase added;
    added.name = name;
    added.title = title;
    added.loads = emptyLoads(m.beam.MaxNoApplieds);
    m.cases.push_back(std::move(added));
    return m.cases.size() - 1;
}

void RenameCase(CaseModel& m, std::size_t c, const std::string& name) {
    checkCase(m, c);
    checkNewName(m.cases, name, c, "load case");
    for (Combination& combination : m.combinations)
        for (CombinationFactor& factor : combination.factors)
            if (factor.caseName == m.cases[c].name)
                factor.caseName = name;
    m.cases[c].name = name;
}

void DeleteCase(CaseModel& m, std::size_t c) {
    checkCase(m, c);
    if (m.cases.size() == 1)
        refuse("A model needs at least one load case: " + quoted(m.cases[c].name) + " is the last");
    const std::string name = m.cases[c].name;
    for (Combination& combination : m.combinations)
        std::erase_if(combination.factors,
                      [&name](const CombinationFactor& f) { return f.caseName == name; });
    m.cases.erase(m.cases.begin() + static_cast<std::ptrdiff_t>(c));
    if (m.current == c)
        m.current = 0;
    else if (m.current > c)
        --m.current;
}

void SetCurrentCase(CaseModel& m, std::size_t c) {
    checkCase(m, c);
    m.current = c;
}

void SetPattern(CaseModel& m, std::size_t c, bool pattern) {
    checkCase(m, c);
    m.cases[c].pattern = pattern;
}

std::size_t AddCombination(CaseModel& m, const std::string& name) {
    checkNewName(m.combinations, name, m.combinations.size(), "combination");
    m.combinations.push_back(Combination{name, {}});
    return m.combinations.size() - 1;
}

void RenameCombination(CaseModel& m, std::size_t k, const std::string& name) {
    checkCombination(m, k);
    checkNewName(m.combinations, name, k, "combination");
    m.combinations[k].name = name;
}

void DeleteCombination(CaseModel& m, std::size_t k) {
    checkCombination(m, k);
    m.combinations.erase(m.combinations.begin() + static_cast<std::ptrdiff_t>(k));
}

void SetFactor(CaseModel& m, std::size_t k, std::size_t c, std::optional<double> factor) {
    checkCombination(m, k);
    checkCase(m, c);
    if (factor && !std::isfinite(*factor))
        refuse("A factor must be a number");
    auto& factors = m.combinations[k].factors;
    const std::string& name = m.cases[c].name;
    const auto found =
        std::find_if(factors.begin(), factors.end(),
                     [&name](const CombinationFactor& f) { return f.caseName == name; });
    if (!factor) {
        if (found != factors.end())
            factors.erase(found);
        return;
    }
    if (found != factors.end())
        found->factor = *factor;
    else
        factors.push_back({name, *factor});
}

} // namespace kradon
