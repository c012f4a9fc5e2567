// The one beam the program edits, saves and analyses: its span, the record lists of every kind
// of load, support and property definition, and the operations that store dialog input into them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kradon {

namespace modEqParse {
class CompiledExpr;
}

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
    bool operator==(const PointLoadList&) const = default;
};
struct UDLList { // kN/m, m, m
    std::vector<double> value, start, end;
    bool operator==(const UDLList&) const = default;
};
struct TDLList { // kN/m, kN/m, m, m
    std::vector<double> startValue, endValue, start, end;
    bool operator==(const TDLList&) const = default;
};
struct MomentLoadList { // kNm, m
    std::vector<double> value, location;
    bool operator==(const MomentLoadList&) const = default;
};
struct RigidSupportList { // type: 1 = Pinned, 2 = Fixed; location in m
    std::vector<double> type, location;
    bool operator==(const RigidSupportList&) const = default;
};
struct SpringSupportList { // m, kN/mm, kN/rad
    std::vector<double> location, vertical, rotational;
    bool operator==(const SpringSupportList&) const = default;
};
struct FixedDisplacementList { // m, mm, rad
    std::vector<double> location, vertical, rotational;
    bool operator==(const FixedDisplacementList&) const = default;
};
/// An E (kN/mm2) or I (cm4) definition over disA..disB. variation: 1 None, 2 Linear, 3 Curve,
/// 0 no definition. expression holds the Curve text in x, "N/A" for None and Linear.
struct PropertySegmentList {
    std::vector<double> variation, disA, disB, constant, linearStart, linearEnd;
    std::vector<std::string> expression;
    bool operator==(const PropertySegmentList&) const = default;
};

namespace Variation {
inline constexpr double None = 1, Linear = 2, Curve = 3;
}
namespace SupportType {
inline constexpr double Pinned = 1, Fixed = 2;
}

inline constexpr std::int16_t DefaultMaxNoApplieds = 10;
inline constexpr double DefaultSpan = 15; // m, the span of an empty model

/// A span the program can analyse: a positive finite number of metres.
bool IsValidSpan(double span);

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

/// The loads and supports: the record kinds that act at places along the beam.
inline constexpr std::array<RecordKind, 7> LoadAndSupportKinds = {
    RecordKind::PointLoad,        RecordKind::UDL,          RecordKind::TDL,
    RecordKind::MomentLoad,       RecordKind::RigidSupport, RecordKind::SpringSupport,
    RecordKind::FixedDisplacement};

/// Where the records of one load or support kind act and what they carry, as lists of the model.
struct RecordPlaces {
    const char* label; // how a message names a record, before its number: "Point Load "
    std::vector<const std::vector<double>*> positions; // m from the left end
    std::vector<const std::vector<double>*> values;    // the load or stiffness (not a support type)
};
/// The places of a kind in LoadAndSupportKinds; the lists stay the model's own.
RecordPlaces PlacesOf(const BeamModel& m, RecordKind kind);

/// Re-dimensions every record list to 0..MaxNoApplieds, every entry 0 or empty text; counts and
/// span are kept. A negative MaxNoApplieds throws KradonError (SubscriptOutOfRange).
void ClearModelLists(BeamModel& m);

/// Empties the model: all counts 0 and span 15 m. The lists are left to ClearModelLists or to
/// reading a model file.
void ResetModel(BeamModel& m);

/// Throws KradonError (SubscriptOutOfRange) unless 0 <= n <= MaxNoApplieds and every list has
/// an entry n. Record 0 is allowed: it is stored into without being counted.
void CheckRecordNumber(const BeamModel& m, std::int16_t n);

/// Raises the count of kind to n when n is above it; a lower n (editing) leaves it. A record
/// number that CheckRecordNumber refuses throws and leaves the count alone.
void NoteRecordNumber(BeamModel& m, RecordKind kind, std::int16_t n);

/// Removes record n (1..count) of kind: records n + 1..count move down one number, the entry
/// that held the last record becomes 0 (or empty text) as after clearing, and the count drops
/// by one. Entries beyond the old count are kept. A number outside 1..count, or a count the
/// lists have no room for, throws KradonError (SubscriptOutOfRange) and leaves the model as it
/// was.
void DeleteRecord(BeamModel& m, RecordKind kind, std::int16_t n);

// The store operations take the texts of the open dialog's fields, named as the dialog's fields
// are. Each one checks the record number and reads every number it needs before it writes
// anything: a text that is not a number throws KradonError (TypeMismatch) with the message
// "<field>: '<text>' is not a number" and leaves the model as it was. They do not count the
// record; the dialogs call NoteRecordNumber first.

struct PointLoadFields {
    std::string LoadVal, LoadLoc; // kN, m
};
struct UDLFields {
    std::string LoadVal, LoadLocA, LoadLocB; // kN/m, m, m
};
struct TDLFields {
    std::string LoadValA, LoadValB, LoadLocA, LoadLocB; // kN/m, kN/m, m, m
};
struct MomentLoadFields {
    std::string LoadVal, LoadLoc; // kNm, m
};
struct RigidSupportFields {
    std::string SupType; // the support type code "1" (Pinned) or "2" (Fixed)
    std::string SupDis;  // m
};
/// An unticked box stores 0 for its stiffness, whatever its text.
struct SpringSupportFields {
    std::string SsnDis, vssVal, rssVal; // m, kN/mm, kN/rad
    bool vssCheck = false, rssCheck = false;
};
/// An unticked box stores 0 for its displacement, whatever its text.
struct FixedDisplacementFields {
    std::string FdnDis, vfdVal, rfdVal; // m, mm, rad
    bool vfdCheck = false, rfdCheck = false;
};
struct PropertySegmentFields {
    std::string SegStartTxt, SegEndTxt;       // m
    std::string NoneTxt;                      // constant value
    std::string LinearStartTxt, LinearEndTxt; // values at the segment's ends
    std::string CurveTxt;                     // expression in x, stored as typed
};

void StorePointLoad(BeamModel& m, std::int16_t n, const PointLoadFields& f);
/// start and end are stored in the order typed.
void StoreUDL(BeamModel& m, std::int16_t n, const UDLFields& f);
/// start and end are stored in the order typed.
void StoreTDL(BeamModel& m, std::int16_t n, const TDLFields& f);
void StoreMomentLoad(BeamModel& m, std::int16_t n, const MomentLoadFields& f);
/// SupType is read as a 16-bit integer (halves to even) and stored as a real; a value outside
/// the 16-bit range throws KradonError (Overflow).
void StoreRigidSupport(BeamModel& m, std::int16_t n, const RigidSupportFields& f);
void StoreSpringSupport(BeamModel& m, std::int16_t n, const SpringSupportFields& f);
void StoreFixedDisplacement(BeamModel& m, std::int16_t n, const FixedDisplacementFields& f);

/// Stores E segment n by the variation already set in record n: None keeps NoneTxt, Linear keeps
/// the two values rising (exchanged if typed falling), Curve keeps CurveTxt as typed; every
/// variation stores disA <= disB (exchanged if typed the other way round). Only the texts the
/// variation uses are read; any other variation writes disA and disB alone.
void StoreESegment(BeamModel& m, std::int16_t n, const PropertySegmentFields& f);
/// As StoreESegment, on the I segments.
void StoreISegment(BeamModel& m, std::int16_t n, const PropertySegmentFields& f);

/// E (kN/mm2, as entered) at position x (m): the first segment in number order with
/// disA < x <= disB, or entry 0 (normally no definition, giving 0) when none covers x. A Curve
/// whose expression cannot be evaluated at x, or gives a negative value there, throws
/// KradonError (source DefinitionErrorSource) saying which definition, its expression, why and
/// at which x.
double EValueAt(const BeamModel& m, double x);
/// I (cm4, as entered) at position x (m), found as EValueAt finds E.
double IValueAt(const BeamModel& m, double x);
/// The value of one property list with count records at position x, shared by E and I.
double PropertyValueAt(const PropertySegmentList& segments, std::int16_t count, double x);

/// The source of the errors EValueAt and IValueAt raise for a Curve definition that gives no
/// value: their description names the definition, its expression, why, and where.
inline constexpr const char* DefinitionErrorSource = "PropertyDefinition";

/// A stretch of the beam, start < end, in m.
struct Stretch {
    double start = 0;
    double end = 0;
    bool operator==(const Stretch&) const = default;
};

/// The stretches of 0..span where the definitions 1..count (with entry 0 for positions none of
/// them covers) give no value: no definition covers them, or the one that does has no
/// variation. In order along the beam; none for a span that is not positive.
std::vector<Stretch> UndefinedStretches(const PropertySegmentList& segments, std::int16_t count,
                                        double span);

/// The first record 1..count of a property list with disA < x <= disB, or 0 when none covers x.
std::size_t CoveringSegment(const PropertySegmentList& segments, std::int16_t count, double x);

/// One E or I record as a function of position, read once to be evaluated at many positions.
class PropertyLaw {
public:
    /// How a Curve sees the position: rounded to single precision, as every E and I value of
    /// the model is given, or as it is.
    enum class Precision { Single, Full };

    /// No definition: 0 everywhere.
    PropertyLaw() = default;
    /// Record k (0..MaxNoApplieds) of segments; a Curve text is read here but fails, if it
    /// fails, only when it is evaluated. With a name ("E", "I") a Curve that gives no value, or
    /// a negative one, raises KradonError (source DefinitionErrorSource) naming the definition,
    /// its expression, why and where; without one, the evaluator's own error.
    PropertyLaw(const PropertySegmentList& segments, std::size_t k, const char* name = nullptr);

    /// The value at x (m) for a position the record covers: with Precision::Single exactly what
    /// PropertyValueAt gives there, failures included.
    double valueAt(double x, Precision precision = Precision::Single) const;
    /// Whether the value is the same at every position.
    bool isConstant() const;

private:
    double curveValueAt(double x, Precision precision) const;

    double variation_ = 0, disA_ = 0, disB_ = 0, constant_ = 0, linearStart_ = 0, linearEnd_ = 0;
    std::shared_ptr<const modEqParse::CompiledExpr> curve_;
    std::string expression_; // a Curve's text, for the messages
    const char* name_ = nullptr;
    std::size_t record_ = 0;
};

/// The laws of records 0..count of a property list (named as PropertyLaw's are), indexed by
/// record number. Throws KradonError (SubscriptOutOfRange) when a list is shorter than its count.
std::vector<PropertyLaw> PropertyLaws(const PropertySegmentList& segments, std::int16_t count,
                                      const char* name = nullptr);

} // namespace kradon
