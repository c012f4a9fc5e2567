// A model with several load cases and their combinations: one beam (span, supports, springs,
// prescribed displacements, E and I) and, per case, its own point, uniform, trapezoidal and
// moment loads. A .kdn file holds exactly one case; the JSON model format holds any number.
#pragma once

#include "model/BeamModel.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kradon {

/// The four load kinds, which belong to a case; every other record kind belongs to the beam.
inline constexpr std::array<RecordKind, 4> LoadKinds = {RecordKind::PointLoad, RecordKind::UDL,
                                                        RecordKind::TDL, RecordKind::MomentLoad};
inline bool IsLoadKind(RecordKind kind) {
    return static_cast<int>(kind) <= static_cast<int>(RecordKind::MomentLoad);
}

/// The loads of one case in the record lists and counts of a beam model (records numbered from
/// 1, entry 0 unused), so that a case can be put into a BeamModel and taken back unchanged,
/// entries beyond the counts included. The lists hold at least the records; put into a beam
/// they are lengthened to its capacity.
struct CaseLoads {
    PointLoadList PointLoad;
    UDLList UDL;
    TDLList TDL;
    MomentLoadList MomentLoad;
    /// Counts of the four load kinds, indexed by RecordKind (PointLoad .. MomentLoad).
    std::array<std::int16_t, 4> counts{};
    std::int16_t count(RecordKind kind) const { return counts[static_cast<std::size_t>(kind)]; }
    bool operator==(const CaseLoads&) const = default;
};

/// The name of the one case of a model read from a .kdn file.
inline constexpr const char* KdnCaseName = "Loads";

struct LoadCase {
    std::string name; // unique within the model, not empty
    std::string title;
    /// A patterned case acts span by span, in every arrangement of loaded and unloaded spans.
    bool pattern = false;
    CaseLoads loads;
    bool operator==(const LoadCase&) const = default;
};

struct CombinationFactor {
    std::string caseName;
    double factor = 1;
    bool operator==(const CombinationFactor&) const = default;
};

/// A factored sum of cases. The prescribed displacements act once, unfactored, in every
/// combination, as in every case.
struct Combination {
    std::string name;                       // unique among the combinations, not empty
    std::vector<CombinationFactor> factors; // each names a case, none twice
    bool operator==(const Combination&) const = default;
};

inline constexpr double DefaultMeshDensity = 1;

struct CaseModel {
    /// Span, capacity (MaxNoApplieds), supports, springs, prescribed displacements, E and I. Its
    /// load lists are dimensioned and hold no records: the loads live in the cases.
    BeamModel beam;
    double meshDensity = DefaultMeshDensity;
    /// Integrate varying E and I exactly along each element, as the exact-sections option does.
    bool exactSections = false;
    std::vector<LoadCase> cases; // at least one
    std::vector<Combination> combinations;
    std::size_t current = 0; // the case that editing adds loads to
    bool operator==(const CaseModel&) const = default;
};

/// The model of a .kdn file: its beam and one case named "Loads" holding its loads, entries
/// beyond the counts included; no combination.
CaseModel FromBeamModel(BeamModel m);

/// The beam with the loads of case c (0-based) in its load lists: what a .kdn file of that case
/// holds, and what the single-case analysis, the load dialogs and the drawings work on.
/// Throws KradonError (SubscriptOutOfRange) for a case that does not exist.
BeamModel CaseBeam(const CaseModel& m, std::size_t c);
/// The beam with the loads of the current case.
BeamModel CurrentBeam(const CaseModel& m);
/// Takes an edited beam back: its load lists become the current case's loads, the rest the beam.
void StoreEditedBeam(CaseModel& m, BeamModel edited);

/// The beam with the loads of every case together (unfactored), for the input check and for
/// drawing everything the model places on the beam. The load lists grow as needed.
BeamModel AllLoadsBeam(const CaseModel& m);

/// Raises MaxNoApplieds to capacity (when lower) and lengthens every list to match with zero or
/// empty entries; entries that exist are kept.
void GrowModelLists(BeamModel& m, std::int16_t capacity);

/// Index of the case or combination of that name, or nullopt.
std::optional<std::size_t> FindCase(const CaseModel& m, const std::string& name);
std::optional<std::size_t> FindCombination(const CaseModel& m, const std::string& name);

/// The first thing that makes m not a valid model, or nullopt: no case, an empty or repeated
/// case or combination name, a factor that names no case or names one twice, a factor or mesh
/// density that is not finite, a current case that does not exist.
std::optional<std::string> ModelProblem(const CaseModel& m);

/// Why a .kdn file cannot hold m (more than one case, a combination, a patterned case, a case
/// name other than "Loads" or a title, a mesh density other than 1, exact sections), or nullopt.
std::optional<std::string> KdnCannotHold(const CaseModel& m);

// Editing operations. Each checks first and changes nothing when it throws KradonError
// (InvalidArgument) with a message that names the problem.

/// Appends an empty case with the lists of the model's capacity and returns its index.
std::size_t AddCase(CaseModel& m, const std::string& name, const std::string& title = {});
/// Renames a case and the factors that name it.
void RenameCase(CaseModel& m, std::size_t c, const std::string& name);
/// Deletes a case and every factor that names it; the last case cannot be deleted. The current
/// case stays the same case, or becomes the first when it is the one deleted.
void DeleteCase(CaseModel& m, std::size_t c);
void SetCurrentCase(CaseModel& m, std::size_t c);
void SetPattern(CaseModel& m, std::size_t c, bool pattern);
/// Appends a combination without factors and returns its index.
std::size_t AddCombination(CaseModel& m, const std::string& name);
void RenameCombination(CaseModel& m, std::size_t k, const std::string& name);
void DeleteCombination(CaseModel& m, std::size_t k);
/// Sets the factor of case c in combination k; nullopt removes the case from the combination.
void SetFactor(CaseModel& m, std::size_t k, std::size_t c, std::optional<double> factor);

} // namespace kradon
