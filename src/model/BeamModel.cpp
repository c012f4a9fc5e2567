// Dimensioning and emptying of the model's record lists, the store operations behind the load,
// support and property dialogs, and the E and I values along the beam.
#include "model/BeamModel.h"

#include "model/KradonError.h"
#include "model/modEqParse.h"
#include "model/modText.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

namespace kradon {

namespace {

constexpr const char* errorSource = "BeamModel";

/// Calls visit on every field list of one record kind.
template <class Model, class Visit> void forEachListOf(Model& m, RecordKind kind, Visit&& visit) {
    const auto all = [&visit](auto&... lists) { (visit(lists), ...); };
    const auto segment = [&all](auto& s) {
        all(s.variation, s.disA, s.disB, s.constant, s.linearStart, s.linearEnd, s.expression);
    };
    switch (kind) {
    case RecordKind::PointLoad:
        return all(m.PointLoad.value, m.PointLoad.location);
    case RecordKind::UDL:
        return all(m.UDL.value, m.UDL.start, m.UDL.end);
    case RecordKind::TDL:
        return all(m.TDL.startValue, m.TDL.endValue, m.TDL.start, m.TDL.end);
    case RecordKind::MomentLoad:
        return all(m.MomentLoad.value, m.MomentLoad.location);
    case RecordKind::RigidSupport:
        return all(m.RigidSupport.type, m.RigidSupport.location);
    case RecordKind::SpringSupport:
        return all(m.SpringSupport.location, m.SpringSupport.vertical, m.SpringSupport.rotational);
    case RecordKind::FixedDisplacement:
        return all(m.FixedDisplacement.location, m.FixedDisplacement.vertical,
                   m.FixedDisplacement.rotational);
    case RecordKind::ESegment:
        return segment(m.ESegment);
    case RecordKind::ISegment:
        return segment(m.ISegment);
    }
}

/// Calls visit on every record list of the model, numeric and text alike.
template <class Model, class Visit> void forEachList(Model& m, Visit&& visit) {
    for (int kind = 0; kind < RecordKindCount; ++kind)
        forEachListOf(m, static_cast<RecordKind>(kind), visit);
}

/// Moves entries n + 1..last of one list down one place and empties entry last.
template <class List> void closeGap(List& list, std::size_t n, std::size_t last) {
    std::move(list.begin() + static_cast<std::ptrdiff_t>(n) + 1,
              list.begin() + static_cast<std::ptrdiff_t>(last) + 1,
              list.begin() + static_cast<std::ptrdiff_t>(n));
    list[last] = typename List::value_type{};
}

/// Entries in the shortest list of a property segment list.
std::size_t shortestList(const PropertySegmentList& s) {
    return std::min({s.variation.size(), s.disA.size(), s.disB.size(), s.constant.size(),
                     s.linearStart.size(), s.linearEnd.size(), s.expression.size()});
}

[[noreturn]] void throwBeyondCapacity(std::int64_t n, std::int64_t capacity) {
    throw KradonError(ErrorNumber::SubscriptOutOfRange, errorSource,
                      "Record number " + std::to_string(n) + " is beyond the capacity of " +
                          std::to_string(std::max<std::int64_t>(capacity, 0)) + " records");
}

[[noreturn]] void throwNegativeRecord(std::int64_t n, std::int64_t capacity) {
    throw KradonError(ErrorNumber::SubscriptOutOfRange, errorSource,
                      "Record number " + std::to_string(n) +
                          " is negative; the record lists hold records 0 to " +
                          std::to_string(std::max<std::int64_t>(capacity, 0)));
}

/// The highest record number every list has room for: MaxNoApplieds once the lists are
/// dimensioned, less while a list is shorter (-1 when one is empty).
std::int64_t recordCapacity(const BeamModel& m) {
    std::int64_t capacity = m.MaxNoApplieds;
    forEachList(m, [&capacity](const auto& list) {
        capacity = std::min(capacity, static_cast<std::int64_t>(list.size()) - 1);
    });
    return capacity;
}

/// The number a dialog field holds; a text that is not a number is refused by its field name.
double fieldNumber(std::string_view field, const std::string& text) {
    if (const std::optional<double> value = modText::ParseNumber(text))
        return *value;
    throw KradonError(ErrorNumber::TypeMismatch, errorSource,
                      std::string(field) + ": '" + text + "' is not a number");
}

/// A real narrowed to a 16-bit integer the way the support type code is read: rounded to the
/// nearest integer, halves to the even one, and refused outside -32768..32767.
std::int16_t toInt16(std::string_view field, double v) {
    double rounded = std::floor(v);
    const double excess = v - rounded;
    if (excess > 0.5 || (excess == 0.5 && std::fmod(rounded, 2.0) != 0))
        rounded += 1;
    if (rounded < std::numeric_limits<std::int16_t>::min() ||
        rounded > std::numeric_limits<std::int16_t>::max())
        throw KradonError(ErrorNumber::Overflow, errorSource,
                          std::string(field) + ": " + modText::GeneralNumber(v) +
                              " is outside the range of a 16-bit integer");
    return static_cast<std::int16_t>(rounded);
}

/// The value part of a property segment as the dialog defines it.
struct SegmentDefinition {
    double constant = 0, linearStart = 0, linearEnd = 0;
    std::string expression;
};

/// The definition the fields give for a variation; none for a variation the dialog never sets.
std::optional<SegmentDefinition> readDefinition(double variation, const PropertySegmentFields& f) {
    if (variation == Variation::None)
        return SegmentDefinition{fieldNumber("NoneTxt", f.NoneTxt), 0, 0, "N/A"};
    if (variation == Variation::Linear) {
        double start = fieldNumber("LinearStartTxt", f.LinearStartTxt);
        double end = fieldNumber("LinearEndTxt", f.LinearEndTxt);
        // A Linear definition is always kept rising along its segment.
        if (start > end)
            std::swap(start, end);
        return SegmentDefinition{0, start, end, "N/A"};
    }
    if (variation == Variation::Curve)
        return SegmentDefinition{0, 0, 0, f.CurveTxt};
    return std::nullopt;
}

void storeSegment(const BeamModel& m, PropertySegmentList& s, std::int16_t n,
                  const PropertySegmentFields& f) {
    CheckRecordNumber(m, n);
    const auto i = static_cast<std::size_t>(n);
    const std::optional<SegmentDefinition> definition = readDefinition(s.variation[i], f);
    double disA = fieldNumber("SegStartTxt", f.SegStartTxt);
    double disB = fieldNumber("SegEndTxt", f.SegEndTxt);
    if (disA > disB)
        std::swap(disA, disB);

    if (definition) {
        s.constant[i] = definition->constant;
        s.linearStart[i] = definition->linearStart;
        s.linearEnd[i] = definition->linearEnd;
        s.expression[i] = definition->expression;
    }
    s.disA[i] = disA;
    s.disB[i] = disB;
}

/// A position belongs to a segment strictly after its start and up to its end.
bool coversPosition(const PropertySegmentList& s, std::size_t k, double x) {
    return s.disA[k] < x && x <= s.disB[k];
}

/// num / den, refusing a zero divisor (0/0 as an overflow) and a result that is not finite.
double checkedQuotient(double num, double den) {
    if (den == 0 && num == 0)
        throw KradonError(ErrorNumber::Overflow, errorSource, "Overflow");
    if (den == 0)
        throw KradonError(ErrorNumber::DivisionByZero, errorSource, "Division by zero");
    const double quotient = num / den;
    if (!std::isfinite(quotient))
        throw KradonError(ErrorNumber::Overflow, errorSource, "Overflow");
    return quotient;
}

/// The highest record number of a property list that has an entry in every one of its lists,
/// or throws as a record beyond the capacity.
std::size_t checkedSegmentCount(const PropertySegmentList& segments, std::int16_t count) {
    const std::int64_t highest = std::max<std::int64_t>(count, 0);
    const auto entries = static_cast<std::int64_t>(shortestList(segments));
    if (highest >= entries)
        throwBeyondCapacity(highest, entries - 1);
    return static_cast<std::size_t>(highest);
}

bool isDefinition(double variation) {
    return variation == Variation::None || variation == Variation::Linear ||
           variation == Variation::Curve;
}

/// Why an expression gave no value, from the evaluator's error number.
std::string whyNoValue(const KradonError& error, double x) {
    const std::string at = " at x = " + modText::GeneralNumber(x) + " m";
    switch (error.number()) {
    case ErrorNumber::DivisionByZero:
        return "divides by zero" + at;
    case ErrorNumber::InvalidArgument:
        return "takes the root of a negative number" + at;
    case ErrorNumber::Overflow:
        return "is not finite" + at;
    default:
        return std::string("cannot be read (") + error.what() + ")";
    }
}

[[noreturn]] void throwDefinitionError(std::int32_t number, const char* name, std::size_t k,
                                       const std::string& expression, const std::string& why) {
    throw KradonError(number, DefinitionErrorSource,
                      std::string(name) + " definition " + std::to_string(k) +
                          ": the expression \"" + expression + "\" " + why + ".");
}

/// The value of the named property (E or I) at x, with a Curve's failure explained.
double explainedValueAt(const char* name, const PropertySegmentList& segments, std::int16_t count,
                        double x) {
    checkedSegmentCount(segments, count);
    return PropertyLaw(segments, CoveringSegment(segments, count, x), name).valueAt(x);
}

} // namespace

RecordPlaces PlacesOf(const BeamModel& m, RecordKind kind) {
    switch (kind) {
    case RecordKind::PointLoad:
        return {"Point Load ", {&m.PointLoad.location}, {&m.PointLoad.value}};
    case RecordKind::UDL:
        return {"UDL ", {&m.UDL.start, &m.UDL.end}, {&m.UDL.value}};
    case RecordKind::TDL:
        return {"TDL ", {&m.TDL.start, &m.TDL.end}, {&m.TDL.startValue, &m.TDL.endValue}};
    case RecordKind::MomentLoad:
        return {"Moment Load ", {&m.MomentLoad.location}, {&m.MomentLoad.value}};
    case RecordKind::RigidSupport:
        return {"Rigid Support ", {&m.RigidSupport.location}, {}};
    case RecordKind::SpringSupport:
        return {"Spring Support ",
                {&m.SpringSupport.location},
                {&m.SpringSupport.vertical, &m.SpringSupport.rotational}};
    case RecordKind::FixedDisplacement:
        return {"Fixed Displacement ",
                {&m.FixedDisplacement.location},
                {&m.FixedDisplacement.vertical, &m.FixedDisplacement.rotational}};
    default:
        throw KradonError(ErrorNumber::InvalidArgument, errorSource,
                          "E and I definitions have no load or support places");
    }
}

void ClearModelLists(BeamModel& m) {
    if (m.MaxNoApplieds < 0)
        throw KradonError(ErrorNumber::SubscriptOutOfRange, errorSource,
                          "MaxNoApplieds is " + std::to_string(m.MaxNoApplieds) +
                              "; the record lists need a capacity of 0 or more");
    const auto entries = static_cast<std::size_t>(m.MaxNoApplieds) + 1;
    forEachList(m, [entries](auto& list) {
        list.assign(entries, typename std::decay_t<decltype(list)>::value_type{});
    });
}

void ResetModel(BeamModel& m) {
    m.counts.fill(0);
    m.span = DefaultSpan;
}

void CheckRecordNumber(const BeamModel& m, std::int16_t n) {
    const std::int64_t capacity = recordCapacity(m);
    if (n < 0)
        throwNegativeRecord(n, capacity);
    if (n > capacity)
        throwBeyondCapacity(n, capacity);
}

void NoteRecordNumber(BeamModel& m, RecordKind kind, std::int16_t n) {
    CheckRecordNumber(m, n);
    if (n > m.count(kind))
        m.count(kind) = n;
}

void DeleteRecord(BeamModel& m, RecordKind kind, std::int16_t n) {
    const std::int16_t count = m.count(kind);
    if (n < 1 || n > count)
        throw KradonError(ErrorNumber::SubscriptOutOfRange, errorSource,
                          "Record number " + std::to_string(n) + " is not one of the " +
                              std::to_string(count) + " records of its kind");
    CheckRecordNumber(m, count);
    forEachListOf(m, kind, [n, count](auto& list) {
        closeGap(list, static_cast<std::size_t>(n), static_cast<std::size_t>(count));
    });
    m.count(kind) = static_cast<std::int16_t>(count - 1);
}

namespace {

/// One number of a record: the field's name in messages, its text (none stores 0), its list.
struct NumberField {
    const char* name;
    const std::string* text;
    std::vector<double>& list;
};

/// Reads every field in order (the first that is no number throws, and nothing is stored), then
/// writes the numbers to entry n of their lists.
void storeNumbers(BeamModel& m, std::int16_t n, std::initializer_list<NumberField> fields) {
    CheckRecordNumber(m, n);
    std::vector<double> values;
    for (const NumberField& f : fields)
        values.push_back(f.text != nullptr ? fieldNumber(f.name, *f.text) : 0);
    auto value = values.begin();
    for (const NumberField& f : fields)
        f.list[static_cast<std::size_t>(n)] = *value++;
}

} // namespace

void StorePointLoad(BeamModel& m, std::int16_t n, const PointLoadFields& f) {
    storeNumbers(m, n,
                 {{"LoadVal", &f.LoadVal, m.PointLoad.value},
                  {"LoadLoc", &f.LoadLoc, m.PointLoad.location}});
}

void StoreUDL(BeamModel& m, std::int16_t n, const UDLFields& f) {
    storeNumbers(m, n,
                 {{"LoadVal", &f.LoadVal, m.UDL.value},
                  {"LoadLocA", &f.LoadLocA, m.UDL.start},
                  {"LoadLocB", &f.LoadLocB, m.UDL.end}});
}

void StoreTDL(BeamModel& m, std::int16_t n, const TDLFields& f) {
    storeNumbers(m, n,
                 {{"LoadValA", &f.LoadValA, m.TDL.startValue},
                  {"LoadValB", &f.LoadValB, m.TDL.endValue},
                  {"LoadLocA", &f.LoadLocA, m.TDL.start},
                  {"LoadLocB", &f.LoadLocB, m.TDL.end}});
}

void StoreMomentLoad(BeamModel& m, std::int16_t n, const MomentLoadFields& f) {
    storeNumbers(m, n,
                 {{"LoadVal", &f.LoadVal, m.MomentLoad.value},
                  {"LoadLoc", &f.LoadLoc, m.MomentLoad.location}});
}

void StoreRigidSupport(BeamModel& m, std::int16_t n, const RigidSupportFields& f) {
    CheckRecordNumber(m, n);
    const std::int16_t type = toInt16("SupType", fieldNumber("SupType", f.SupType));
    const double location = fieldNumber("SupDis", f.SupDis);
    const auto i = static_cast<std::size_t>(n);
    m.RigidSupport.type[i] = type;
    m.RigidSupport.location[i] = location;
}

void StoreSpringSupport(BeamModel& m, std::int16_t n, const SpringSupportFields& f) {
    storeNumbers(m, n,
                 {{"vssVal", f.vssCheck ? &f.vssVal : nullptr, m.SpringSupport.vertical},
                  {"rssVal", f.rssCheck ? &f.rssVal : nullptr, m.SpringSupport.rotational},
                  {"SsnDis", &f.SsnDis, m.SpringSupport.location}});
}

void StoreFixedDisplacement(BeamModel& m, std::int16_t n, const FixedDisplacementFields& f) {
    storeNumbers(m, n,
                 {{"vfdVal", f.vfdCheck ? &f.vfdVal : nullptr, m.FixedDisplacement.vertical},
                  {"rfdVal", f.rfdCheck ? &f.rfdVal : nullptr, m.FixedDisplacement.rotational},
                  {"FdnDis", &f.FdnDis, m.FixedDisplacement.location}});
}

void StoreESegment(BeamModel& m, std::int16_t n, const PropertySegmentFields& f) {
    storeSegment(m, m.ESegment, n, f);
}

void StoreISegment(BeamModel& m, std::int16_t n, const PropertySegmentFields& f) {
    storeSegment(m, m.ISegment, n, f);
}

bool IsValidSpan(double span) {
    return std::isfinite(span) && span > 0;
}

std::size_t CoveringSegment(const PropertySegmentList& segments, std::int16_t count, double x) {
    for (std::size_t k = 1; static_cast<std::int64_t>(k) <= count; ++k)
        if (coversPosition(segments, k, x))
            return k;
    return 0;
}

PropertyLaw::PropertyLaw(const PropertySegmentList& segments, std::size_t k, const char* name)
    : variation_(segments.variation.at(k)), disA_(segments.disA.at(k)), disB_(segments.disB.at(k)),
      constant_(segments.constant.at(k)), linearStart_(segments.linearStart.at(k)),
      linearEnd_(segments.linearEnd.at(k)), name_(name), record_(k) {
    if (variation_ == Variation::Curve) {
        expression_ = segments.expression.at(k);
        curve_ = std::make_shared<const modEqParse::CompiledExpr>(expression_, "x");
    }
}

double PropertyLaw::valueAt(double x, Precision precision) const {
    if (variation_ == Variation::None)
        return constant_;
    if (variation_ == Variation::Linear) {
        const double rise = (x - disA_) * (linearEnd_ - linearStart_);
        return checkedQuotient(rise, disB_ - disA_) + linearStart_;
    }
    if (variation_ == Variation::Curve)
        return curveValueAt(x, precision);
    return 0;
}

double PropertyLaw::curveValueAt(double x, Precision precision) const {
    const auto evaluate = [&] {
        return precision == Precision::Single ? curve_->at(x) : curve_->atFullPrecision(x);
    };
    if (name_ == nullptr)
        return evaluate();
    double value = 0;
    try {
        value = evaluate();
    } catch (const KradonError& error) {
        throwDefinitionError(error.number(), name_, record_, expression_, whyNoValue(error, x));
    }
    if (value < 0)
        throwDefinitionError(ErrorNumber::InvalidArgument, name_, record_, expression_,
                             "gives a negative value (" + modText::GeneralNumber(value) +
                                 ") at x = " + modText::GeneralNumber(x) + " m");
    return value;
}

bool PropertyLaw::isConstant() const {
    if (variation_ == Variation::Linear)
        return linearStart_ == linearEnd_;
    if (variation_ == Variation::Curve)
        return !curve_->usesVariable();
    return true;
}

std::vector<PropertyLaw> PropertyLaws(const PropertySegmentList& segments, std::int16_t count,
                                      const char* name) {
    checkedSegmentCount(segments, count);
    std::vector<PropertyLaw> laws;
    for (std::size_t k = 0; static_cast<std::int64_t>(k) <= count; ++k)
        laws.emplace_back(segments, k, name);
    return laws;
}

double PropertyValueAt(const PropertySegmentList& segments, std::int16_t count, double x) {
    checkedSegmentCount(segments, count);
    return PropertyLaw(segments, CoveringSegment(segments, count, x)).valueAt(x);
}

double EValueAt(const BeamModel& m, double x) {
    return explainedValueAt("E", m.ESegment, m.count(RecordKind::ESegment), x);
}

double IValueAt(const BeamModel& m, double x) {
    return explainedValueAt("I", m.ISegment, m.count(RecordKind::ISegment), x);
}

std::vector<Stretch> UndefinedStretches(const PropertySegmentList& segments, std::int16_t count,
                                        double span) {
    if (!IsValidSpan(span))
        return {};
    const std::size_t last = checkedSegmentCount(segments, count);
    // Between two neighbouring ends no definition starts or stops, so one position in between
    // stands for the whole stretch.
    std::vector<double> ends{0, span};
    for (std::size_t k = 1; k <= last; ++k)
        for (const double end : {segments.disA[k], segments.disB[k]})
            if (end > 0 && end < span)
                ends.push_back(end);
    std::sort(ends.begin(), ends.end());
    ends.erase(std::unique(ends.begin(), ends.end()), ends.end());
    std::vector<Stretch> undefined;
    for (std::size_t i = 0; i + 1 < ends.size(); ++i) {
        const double middle = ends[i] + (ends[i + 1] - ends[i]) / 2;
        if (isDefinition(segments.variation[CoveringSegment(segments, count, middle)]))
            continue;
        if (!undefined.empty() && undefined.back().end == ends[i])
            undefined.back().end = ends[i + 1];
        else
            undefined.push_back({ends[i], ends[i + 1]});
    }
    return undefined;
}

} // namespace kradon
