// Reader and writer of the JSON model format. The reader walks the document with the path of
// every value, so that each refusal says where the problem is; the writer puts one record on a
// line so that a change of one load is a change of one line.
#include "json/ModelJson.h"

#include "model/KradonError.h"
#include "model/SafeFile.h"
#include "model/modFileWrite.h"
#include "model/modText.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <vector>

namespace kradon::ModelJson {
namespace {

using Json = nlohmann::ordered_json;

constexpr std::int64_t MaxRecords = std::numeric_limits<std::int16_t>::max();
constexpr double MinMeshDensity = 0.2, MaxMeshDensity = 10;

[[noreturn]] void refuse(const std::string& where, const std::string& problem) {
    throw KradonError(ErrorNumber::BadFileFormat, ReadSource,
                      (where.empty() ? std::string("top level") : where) + ": " + problem);
}

std::string member(const std::string& path, const std::string& key) {
    return path.empty() ? key : path + "." + key;
}

std::string element(const std::string& path, std::size_t i) {
    return path + "[" + std::to_string(i + 1) + "]";
}

/// A value as the message shows it: short, on one line.
std::string shown(const Json& value) {
    std::string text = value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    if (text.size() > 40)
        text = text.substr(0, 37) + "...";
    return text;
}

std::string typeName(const Json& value) {
    if (value.is_number())
        return "a number";
    if (value.is_string())
        return "a text";
    if (value.is_boolean())
        return "true or false";
    if (value.is_null())
        return "null";
    if (value.is_array())
        return "a list";
    return "an object";
}

// ---- parsing ----

/// Refuses a key given twice in one object, which a JSON parser would otherwise keep the last
/// of, naming the object by its path.
class DuplicateKeys {
public:
    bool operator()(int, nlohmann::json::parse_event_t event, Json& parsed) {
        using Event = nlohmann::json::parse_event_t;
        switch (event) {
        case Event::object_start:
        case Event::array_start:
            frames_.push_back({event == Event::array_start, 0, {}, {}});
            break;
        case Event::key: {
            std::string key = parsed.get<std::string>();
            if (!frames_.back().keys.insert(key).second)
                refuse(path(), "the key \"" + key + "\" is given twice");
            frames_.back().key = std::move(key);
            break;
        }
        case Event::object_end:
        case Event::array_end:
            frames_.pop_back();
            [[fallthrough]];
        case Event::value:
            if (!frames_.empty() && frames_.back().array)
                ++frames_.back().index;
            break;
        }
        return true;
    }

private:
    struct Frame {
        bool array = false;
        std::size_t index = 0;
        std::string key;
        std::set<std::string> keys;
    };

    /// The path of the innermost open container.
    std::string path() const {
        std::string text;
        for (std::size_t i = 0; i + 1 < frames_.size(); ++i)
            text =
                frames_[i].array ? element(text, frames_[i].index) : member(text, frames_[i].key);
        return text;
    }

    std::vector<Frame> frames_;
};

Json parse(std::string_view text) {
    try {
        DuplicateKeys duplicates;
        return Json::parse(text.begin(), text.end(), std::ref(duplicates));
    } catch (const nlohmann::json::exception& e) {
        // The parser's text starts with its own code in brackets.
        std::string what = e.what();
        const auto close = what.find("] ");
        if (what.rfind("[json.exception", 0) == 0 && close != std::string::npos)
            what = what.substr(close + 2);
        throw KradonError(ErrorNumber::BadFileFormat, ReadSource, "The file is not JSON: " + what);
    }
}

// ---- reading values ----

/// One JSON object and where it is: its keys are read one by one, and every key it holds must
/// be one of those the caller allows.
class Object {
public:
    Object(const Json& value, std::string path, std::initializer_list<const char*> allowed)
        : value_(value), path_(std::move(path)) {
        if (!value_.is_object())
            refuse(path_, "needs an object, not " + typeName(value_));
        for (auto it = value_.begin(); it != value_.end(); ++it) {
            const std::string& key = it.key();
            if (std::find_if(allowed.begin(), allowed.end(),
                             [&key](const char* k) { return key == k; }) == allowed.end())
                refuse(path_, "unknown key \"" + key + "\"");
        }
    }

    const std::string& path() const { return path_; }
    bool has(const char* key) const { return value_.contains(key); }

    const Json& required(const char* key) const {
        if (!has(key))
            refuse(path_, "the key \"" + std::string(key) + "\" is missing");
        return value_.at(key);
    }

    double number(const char* key) const { return numberValue(required(key), where(key)); }

    double number(const char* key, double fallback) const {
        return has(key) ? number(key) : fallback;
    }

    /// A number, or null (given as 0, which means the same in a .kdn record).
    double numberOrNull(const char* key) const {
        if (!has(key) || value_.at(key).is_null())
            return 0;
        return number(key);
    }

    std::string text(const char* key) const {
        const Json& value = required(key);
        if (!value.is_string())
            refuse(where(key), "needs a text, not " + shown(value));
        return value.get<std::string>();
    }

    std::string text(const char* key, const std::string& fallback) const {
        return has(key) ? text(key) : fallback;
    }

    bool flag(const char* key, bool fallback) const {
        if (!has(key))
            return fallback;
        const Json& value = value_.at(key);
        if (!value.is_boolean())
            refuse(where(key), "needs true or false, not " + shown(value));
        return value.get<bool>();
    }

    /// The list under key, empty when the key is missing and optional.
    const Json& list(const char* key, bool optional = true) const {
        static const Json empty = Json::array();
        if (!has(key)) {
            if (optional)
                return empty;
            required(key);
        }
        const Json& value = value_.at(key);
        if (!value.is_array())
            refuse(where(key), "needs a list, not " + typeName(value));
        if (static_cast<std::int64_t>(value.size()) > MaxRecords)
            refuse(where(key), "holds " + std::to_string(value.size()) + " entries; at most " +
                                   std::to_string(MaxRecords) + " are possible");
        return value;
    }

    std::string where(const char* key) const { return member(path_, key); }

    static double numberValue(const Json& value, const std::string& where) {
        if (!value.is_number())
            refuse(where, "needs a number, not " + shown(value));
        const double v = value.get<double>();
        if (!std::isfinite(v))
            refuse(where, shown(value) + " is beyond the range of numbers");
        return v;
    }

private:
    const Json& value_;
    std::string path_;
};

/// The next record of a list sized to the capacity: raises the count and returns its entry.
std::size_t nextRecord(std::int16_t& count) {
    return static_cast<std::size_t>(++count);
}

// ---- the beam ----

void readSegment(const Json& value, const std::string& path, PropertySegmentList& s,
                 std::int16_t& count) {
    const Object o(value, path, {"from_m", "to_m", "constant", "linear", "expression"});
    const int given = int{o.has("constant")} + int{o.has("linear")} + int{o.has("expression")};
    if (given != 1)
        refuse(path, "needs exactly one of \"constant\", \"linear\" and \"expression\"");
    const std::size_t n = nextRecord(count);
    s.disA[n] = o.number("from_m");
    s.disB[n] = o.number("to_m");
    s.expression[n] = "N/A";
    if (o.has("constant")) {
        s.variation[n] = Variation::None;
        s.constant[n] = o.number("constant");
    } else if (o.has("linear")) {
        const Json& pair = o.required("linear");
        if (!pair.is_array() || pair.size() != 2)
            refuse(o.where("linear"), "needs two numbers, the values at from_m and at to_m");
        s.variation[n] = Variation::Linear;
        s.linearStart[n] = Object::numberValue(pair[0], element(o.where("linear"), 0));
        s.linearEnd[n] = Object::numberValue(pair[1], element(o.where("linear"), 1));
    } else {
        s.variation[n] = Variation::Curve;
        s.expression[n] = o.text("expression");
        if (s.expression[n].size() > static_cast<std::size_t>(MaxRecords))
            refuse(o.where("expression"), "is longer than the 32767 bytes a model holds");
    }
}

void readSupport(const Json& value, const std::string& path, BeamModel& b) {
    const Object o(value, path, {"x_m", "kind"});
    const std::string kind = o.text("kind");
    if (kind != "pinned" && kind != "fixed")
        refuse(o.where("kind"), "needs \"pinned\" or \"fixed\", not \"" + kind + "\"");
    const std::size_t n = nextRecord(b.count(RecordKind::RigidSupport));
    b.RigidSupport.location[n] = o.number("x_m");
    b.RigidSupport.type[n] = kind == "pinned" ? SupportType::Pinned : SupportType::Fixed;
}

void readSpring(const Json& value, const std::string& path, BeamModel& b) {
    const Object o(value, path, {"x_m", "vertical_kN_per_mm", "rotational_kNm_per_rad"});
    const std::size_t n = nextRecord(b.count(RecordKind::SpringSupport));
    b.SpringSupport.location[n] = o.number("x_m");
    b.SpringSupport.vertical[n] = o.number("vertical_kN_per_mm", 0);
    b.SpringSupport.rotational[n] = o.number("rotational_kNm_per_rad", 0);
}

void readDisplacement(const Json& value, const std::string& path, BeamModel& b) {
    const Object o(value, path, {"x_m", "vertical_mm", "rotation_rad"});
    const std::size_t n = nextRecord(b.count(RecordKind::FixedDisplacement));
    b.FixedDisplacement.location[n] = o.number("x_m");
    b.FixedDisplacement.vertical[n] = o.numberOrNull("vertical_mm");
    b.FixedDisplacement.rotational[n] = o.numberOrNull("rotation_rad");
}

// ---- the cases ----

void readLoad(const Json& value, const std::string& path, CaseLoads& l) {
    const Object kindOnly(value, path,
                          {"kind", "x_m", "kN", "from_m", "to_m", "kN_per_m", "start_kN_per_m",
                           "end_kN_per_m", "kNm"});
    const std::string kind = kindOnly.text("kind");
    auto& counts = l.counts;
    const auto countOf = [&counts](RecordKind k) -> std::int16_t& {
        return counts[static_cast<std::size_t>(k)];
    };
    if (kind == "point") {
        const Object o(value, path, {"kind", "x_m", "kN"});
        const std::size_t n = nextRecord(countOf(RecordKind::PointLoad));
        l.PointLoad.location[n] = o.number("x_m");
        l.PointLoad.value[n] = o.number("kN");
    } else if (kind == "udl") {
        const Object o(value, path, {"kind", "from_m", "to_m", "kN_per_m"});
        const std::size_t n = nextRecord(countOf(RecordKind::UDL));
        l.UDL.start[n] = o.number("from_m");
        l.UDL.end[n] = o.number("to_m");
        l.UDL.value[n] = o.number("kN_per_m");
    } else if (kind == "trapezoidal") {
        const Object o(value, path, {"kind", "from_m", "to_m", "start_kN_per_m", "end_kN_per_m"});
        const std::size_t n = nextRecord(countOf(RecordKind::TDL));
        l.TDL.start[n] = o.number("from_m");
        l.TDL.end[n] = o.number("to_m");
        l.TDL.startValue[n] = o.number("start_kN_per_m");
        l.TDL.endValue[n] = o.number("end_kN_per_m");
    } else if (kind == "moment") {
        const Object o(value, path, {"kind", "x_m", "kNm"});
        const std::size_t n = nextRecord(countOf(RecordKind::MomentLoad));
        l.MomentLoad.location[n] = o.number("x_m");
        l.MomentLoad.value[n] = o.number("kNm");
    } else {
        refuse(kindOnly.where("kind"),
               "needs \"point\", \"udl\", \"trapezoidal\" or \"moment\", not \"" + kind + "\"");
    }
}

/// Lists with room for the records of a case of this many loads: a file's capacity may be
/// large, and every case of it sized by that would take memory the file does not justify.
CaseLoads emptyLoads(std::size_t loads) {
    BeamModel lists;
    lists.MaxNoApplieds = static_cast<std::int16_t>(std::min<std::size_t>(loads, MaxRecords));
    ClearModelLists(lists);
    return FromBeamModel(std::move(lists)).cases.front().loads;
}

LoadCase readCase(const Json& value, const std::string& path) {
    const Object o(value, path, {"name", "title", "loads", "pattern"});
    LoadCase c;
    c.name = o.text("name");
    if (c.name.empty())
        refuse(o.where("name"), "a load case needs a name");
    c.title = o.text("title", "");
    c.pattern = o.flag("pattern", false);
    const Json& loads = o.list("loads");
    c.loads = emptyLoads(loads.size());
    for (std::size_t i = 0; i < loads.size(); ++i)
        readLoad(loads[i], element(o.where("loads"), i), c.loads);
    return c;
}

Combination readCombination(const Json& value, const std::string& path,
                            const std::set<std::string>& cases) {
    const Object o(value, path, {"name", "factors"});
    Combination k;
    k.name = o.text("name");
    if (k.name.empty())
        refuse(o.where("name"), "a combination needs a name");
    const Json& factors = o.required("factors");
    if (!factors.is_object())
        refuse(o.where("factors"),
               "needs an object of load case names and factors, not " + typeName(factors));
    for (const auto& [name, factor] : factors.items()) {
        const std::string where = member(o.where("factors"), name);
        if (!cases.contains(name))
            refuse(where, "names no load case");
        k.factors.push_back({name, Object::numberValue(factor, where)});
    }
    return k;
}

// ---- the whole model ----

/// How many records of each kind the lists must hold: the largest list of the document.
std::int64_t mostRecords(const Object& top) {
    std::int64_t most = 0;
    for (const char* key : {"E", "I", "supports", "springs", "prescribed_displacements"})
        most = std::max<std::int64_t>(most, static_cast<std::int64_t>(top.list(key).size()));
    const Json& cases = top.list("load_cases", false);
    for (std::size_t c = 0; c < cases.size(); ++c) {
        if (!cases[c].is_object() || !cases[c].contains("loads") || !cases[c]["loads"].is_array())
            continue;
        std::array<std::int64_t, 4> perKind{};
        for (const Json& load : cases[c]["loads"]) {
            if (!load.is_object() || !load.contains("kind") || !load["kind"].is_string())
                continue;
            const std::string kind = load["kind"].get<std::string>();
            const char* kinds[] = {"point", "udl", "trapezoidal", "moment"};
            for (std::size_t k = 0; k < 4; ++k)
                perKind[k] += kind == kinds[k];
        }
        for (const std::int64_t n : perKind)
            most = std::max(most, n);
    }
    return most;
}

std::int16_t capacityOf(const Object& top) {
    const std::int64_t most = mostRecords(top);
    if (most > MaxRecords)
        refuse("", "a kind holds " + std::to_string(most) + " records; at most " +
                       std::to_string(MaxRecords) + " are possible");
    if (!top.has("capacity"))
        return static_cast<std::int16_t>(std::max<std::int64_t>(DefaultCapacity, most));
    const double capacity = top.number("capacity");
    if (capacity != std::floor(capacity) || capacity < 0 || capacity > MaxRecords)
        refuse(top.where("capacity"),
               "needs a whole number from 0 to 32767, not " + modText::GeneralNumber(capacity));
    if (capacity < static_cast<double>(most))
        refuse(top.where("capacity"), modText::GeneralNumber(capacity) + " is less than the " +
                                          std::to_string(most) + " records of the largest kind");
    return static_cast<std::int16_t>(capacity);
}

void readHeader(const Object& top) {
    const Json& format = top.required("format");
    if (!format.is_string() || format.get<std::string>() != FormatName)
        refuse(top.where("format"),
               "needs \"" + std::string(FormatName) + "\", not " + shown(format));
    const Json& version = top.required("version");
    if (!version.is_number() || version.get<double>() != FormatVersion)
        refuse(top.where("version"), shown(version) + " is not a version this program reads (" +
                                         std::to_string(FormatVersion) + ")");
}

template <class Read> void readList(const Object& top, const char* key, Read&& read) {
    const Json& list = top.list(key);
    for (std::size_t i = 0; i < list.size(); ++i)
        read(list[i], element(top.where(key), i));
}

/// Refuses a name that an earlier entry of the list already has; returns the names.
template <class Entries>
std::set<std::string> checkUnique(const Entries& entries, const std::string& listPath,
                                  const char* what) {
    std::map<std::string, std::size_t> first;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto [it, added] = first.emplace(entries[i].name, i);
        if (!added)
            refuse(member(element(listPath, i), "name"),
                   "\"" + entries[i].name + "\" is the name of " + what + " " +
                       std::to_string(it->second + 1) + " as well");
    }
    std::set<std::string> names;
    for (const auto& [name, index] : first)
        names.insert(name);
    return names;
}

// ---- writing ----

/// A number as the file shows it: whole numbers without a decimal point, and -0 as itself.
Json numberJson(double v) {
    if (v == std::floor(v) && std::fabs(v) < 9007199254740992.0 && !(v == 0 && std::signbit(v)))
        return static_cast<std::int64_t>(v);
    return v;
}

/// One value on one line, with a blank after every comma and colon.
std::string inlineJson(const Json& value) {
    if (value.is_object()) {
        std::string text = "{";
        bool first = true;
        for (const auto& [key, item] : value.items()) {
            text += (first ? "" : ", ") + Json(key).dump() + ": " + inlineJson(item);
            first = false;
        }
        return text + "}";
    }
    if (value.is_array()) {
        std::string text = "[";
        for (std::size_t i = 0; i < value.size(); ++i)
            text += (i == 0 ? "" : ", ") + inlineJson(value[i]);
        return text + "]";
    }
    return value.dump();
}

/// A list of records, one to a line, at the given indentation.
std::string recordLines(const std::vector<Json>& records, const std::string& indent) {
    if (records.empty())
        return "[]";
    std::string text = "[\n";
    for (std::size_t i = 0; i < records.size(); ++i)
        text += indent + "  " + inlineJson(records[i]) + (i + 1 < records.size() ? ",\n" : "\n");
    return text + indent + "]";
}

std::size_t at(std::int16_t n) {
    return static_cast<std::size_t>(n);
}

std::vector<Json> segmentsJson(const PropertySegmentList& s, std::int16_t count) {
    std::vector<Json> records;
    for (std::int16_t r = 1; r <= count; ++r) {
        const auto i = at(r);
        Json j;
        j["from_m"] = numberJson(s.disA[i]);
        j["to_m"] = numberJson(s.disB[i]);
        if (s.variation[i] == Variation::None)
            j["constant"] = numberJson(s.constant[i]);
        else if (s.variation[i] == Variation::Linear)
            j["linear"] = Json::array({numberJson(s.linearStart[i]), numberJson(s.linearEnd[i])});
        else
            j["expression"] = s.expression[i];
        records.push_back(std::move(j));
    }
    return records;
}

/// A prescribed value: null where the record prescribes nothing.
Json prescribedJson(double v) {
    if (v == 0 && !std::signbit(v))
        return nullptr;
    return numberJson(v);
}

std::vector<Json> loadsJson(const CaseLoads& l) {
    std::vector<Json> records;
    for (std::int16_t r = 1; r <= l.count(RecordKind::PointLoad); ++r)
        records.push_back({{"kind", "point"},
                           {"x_m", numberJson(l.PointLoad.location[at(r)])},
                           {"kN", numberJson(l.PointLoad.value[at(r)])}});
    for (std::int16_t r = 1; r <= l.count(RecordKind::UDL); ++r)
        records.push_back({{"kind", "udl"},
                           {"from_m", numberJson(l.UDL.start[at(r)])},
                           {"to_m", numberJson(l.UDL.end[at(r)])},
                           {"kN_per_m", numberJson(l.UDL.value[at(r)])}});
    for (std::int16_t r = 1; r <= l.count(RecordKind::TDL); ++r)
        records.push_back({{"kind", "trapezoidal"},
                           {"from_m", numberJson(l.TDL.start[at(r)])},
                           {"to_m", numberJson(l.TDL.end[at(r)])},
                           {"start_kN_per_m", numberJson(l.TDL.startValue[at(r)])},
                           {"end_kN_per_m", numberJson(l.TDL.endValue[at(r)])}});
    for (std::int16_t r = 1; r <= l.count(RecordKind::MomentLoad); ++r)
        records.push_back({{"kind", "moment"},
                           {"x_m", numberJson(l.MomentLoad.location[at(r)])},
                           {"kNm", numberJson(l.MomentLoad.value[at(r)])}});
    return records;
}

std::string caseText(const LoadCase& c) {
    std::string text = "    {\n";
    text += "      \"name\": " + Json(c.name).dump() + ",\n";
    text += "      \"title\": " + Json(c.title).dump() + ",\n";
    text += std::string("      \"pattern\": ") + (c.pattern ? "true" : "false") + ",\n";
    text += "      \"loads\": " + recordLines(loadsJson(c.loads), "      ") + "\n";
    return text + "    }";
}

/// The capacity the reader assumes when the file names none.
std::int16_t impliedCapacity(const CaseModel& m) {
    std::int16_t most = DefaultCapacity;
    for (const RecordKind kind :
         {RecordKind::RigidSupport, RecordKind::SpringSupport, RecordKind::FixedDisplacement,
          RecordKind::ESegment, RecordKind::ISegment})
        most = std::max(most, m.beam.count(kind));
    for (const LoadCase& c : m.cases)
        for (const std::int16_t count : c.loads.counts)
            most = std::max(most, count);
    return most;
}

// ---- what the format cannot hold ----

bool isUtf8(const std::string& text) {
    try {
        (void)Json(text).dump();
        return true;
    } catch (const nlohmann::json::type_error&) {
        return false;
    }
}

/// The first entry of list outside 1..count that is not zero (or empty), or -1.
template <class List> std::int64_t strayEntry(const List& list, std::int16_t count) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        const bool record = i >= 1 && static_cast<std::int64_t>(i) <= count;
        if (!record && list[i] != typename List::value_type{})
            return static_cast<std::int64_t>(i);
    }
    return -1;
}

struct NamedList {
    std::string name;
    const std::vector<double>* list;
    std::int16_t count;
};

std::optional<std::string> listProblem(const NamedList& l) {
    for (std::int16_t r = 1; r <= l.count && at(r) < l.list->size(); ++r)
        if (!std::isfinite((*l.list)[at(r)]))
            return l.name + " of record " + std::to_string(r) + " is " +
                   modText::GeneralNumber((*l.list)[at(r)]) + ", which is no number";
    if (const auto stray = strayEntry(*l.list, l.count); stray >= 0)
        return l.name + " holds a value in entry " + std::to_string(stray) +
               ", which is not one of its " + std::to_string(l.count) + " records";
    return std::nullopt;
}

std::optional<std::string> segmentProblem(const PropertySegmentList& s, std::int16_t count,
                                          const char* what) {
    if (const auto stray = strayEntry(s.expression, count); stray >= 0)
        return std::string(what) + " expressions hold a text in entry " + std::to_string(stray) +
               ", which is not one of its " + std::to_string(count) + " records";
    for (std::int16_t r = 1; r <= count; ++r) {
        const auto i = at(r);
        const std::string record = std::string(what) + " definition " + std::to_string(r);
        const double v = s.variation[i];
        const bool canonical =
            (v == Variation::None && s.linearStart[i] == 0 && s.linearEnd[i] == 0 &&
             s.expression[i] == "N/A") ||
            (v == Variation::Linear && s.constant[i] == 0 && s.expression[i] == "N/A") ||
            (v == Variation::Curve && s.constant[i] == 0 && s.linearStart[i] == 0 &&
             s.linearEnd[i] == 0);
        if (v != Variation::None && v != Variation::Linear && v != Variation::Curve)
            return record + " has the variation code " + modText::GeneralNumber(v) +
                   ", which is none of constant (1), linear (2) and expression (3)";
        if (!canonical)
            return record + " holds values that its variation does not use";
        if (!isUtf8(s.expression[i]))
            return record + " has an expression that is not UTF-8 text";
    }
    return std::nullopt;
}

} // namespace

CaseModel ReadModelJson(std::string_view text) {
    const Json document = parse(text);
    const Object top(document, "",
                     {"format", "version", "span_m", "mesh_density", "exact_sections", "capacity",
                      "E", "I", "supports", "springs", "prescribed_displacements", "load_cases",
                      "combinations"});
    readHeader(top);
    CaseModel m;
    m.beam.span = top.number("span_m");
    m.meshDensity = top.number("mesh_density", DefaultMeshDensity);
    if (m.meshDensity < MinMeshDensity || m.meshDensity > MaxMeshDensity)
        refuse(top.where("mesh_density"),
               modText::GeneralNumber(m.meshDensity) + " is outside 0.2 to 10");
    m.exactSections = top.flag("exact_sections", false);
    m.beam.MaxNoApplieds = capacityOf(top);
    ClearModelLists(m.beam);
    BeamModel& b = m.beam;
    readList(top, "E", [&b](const Json& v, const std::string& p) {
        readSegment(v, p, b.ESegment, b.count(RecordKind::ESegment));
    });
    readList(top, "I", [&b](const Json& v, const std::string& p) {
        readSegment(v, p, b.ISegment, b.count(RecordKind::ISegment));
    });
    readList(top, "supports", [&b](const Json& v, const std::string& p) { readSupport(v, p, b); });
    readList(top, "springs", [&b](const Json& v, const std::string& p) { readSpring(v, p, b); });
    readList(top, "prescribed_displacements",
             [&b](const Json& v, const std::string& p) { readDisplacement(v, p, b); });
    const Json& cases = top.list("load_cases", false);
    if (cases.empty())
        refuse(top.where("load_cases"), "a model needs at least one load case");
    for (std::size_t c = 0; c < cases.size(); ++c)
        m.cases.push_back(readCase(cases[c], element(top.where("load_cases"), c)));
    const std::set<std::string> names = checkUnique(m.cases, top.where("load_cases"), "load case");
    readList(top, "combinations", [&m, &names](const Json& v, const std::string& p) {
        m.combinations.push_back(readCombination(v, p, names));
    });
    checkUnique(m.combinations, top.where("combinations"), "combination");
    return m;
}

std::optional<std::string> JsonCannotHold(const CaseModel& m) {
    const BeamModel& b = m.beam;
    using K = RecordKind;
    if (!std::isfinite(b.span))
        return "The span is " + modText::GeneralNumber(b.span) + ", which is no number";
    for (std::int16_t r = 1; r <= b.count(K::RigidSupport); ++r) {
        const double type = b.RigidSupport.type.at(at(r));
        if (type != SupportType::Pinned && type != SupportType::Fixed)
            return "Rigid support " + std::to_string(r) + " has the type code " +
                   modText::GeneralNumber(type) + ", which is neither pinned (1) nor fixed (2)";
    }
    std::vector<NamedList> lists = {
        {"Rigid support type", &b.RigidSupport.type, b.count(K::RigidSupport)},
        {"Rigid support location", &b.RigidSupport.location, b.count(K::RigidSupport)},
        {"Spring support location", &b.SpringSupport.location, b.count(K::SpringSupport)},
        {"Spring support vertical stiffness", &b.SpringSupport.vertical, b.count(K::SpringSupport)},
        {"Spring support rotational stiffness", &b.SpringSupport.rotational,
         b.count(K::SpringSupport)},
        {"Fixed displacement location", &b.FixedDisplacement.location,
         b.count(K::FixedDisplacement)},
        {"Fixed displacement vertical value", &b.FixedDisplacement.vertical,
         b.count(K::FixedDisplacement)},
        {"Fixed displacement rotation", &b.FixedDisplacement.rotational,
         b.count(K::FixedDisplacement)},
    };
    for (const auto* segments : {&b.ESegment, &b.ISegment}) {
        const bool e = segments == &b.ESegment;
        const std::int16_t count = b.count(e ? K::ESegment : K::ISegment);
        const std::string what = e ? "E definition " : "I definition ";
        for (const auto& [name, list] :
             {std::pair{"variation", &segments->variation}, std::pair{"start", &segments->disA},
              std::pair{"end", &segments->disB}, std::pair{"constant", &segments->constant},
              std::pair{"linear start value", &segments->linearStart},
              std::pair{"linear end value", &segments->linearEnd}})
            lists.push_back({what + name, list, count});
    }
    for (const LoadCase& c : m.cases) {
        const CaseLoads& l = c.loads;
        for (const NamedList& list : std::initializer_list<NamedList>{
                 {"Point load value", &l.PointLoad.value, l.count(K::PointLoad)},
                 {"Point load location", &l.PointLoad.location, l.count(K::PointLoad)},
                 {"UDL value", &l.UDL.value, l.count(K::UDL)},
                 {"UDL start", &l.UDL.start, l.count(K::UDL)},
                 {"UDL end", &l.UDL.end, l.count(K::UDL)},
                 {"TDL start value", &l.TDL.startValue, l.count(K::TDL)},
                 {"TDL end value", &l.TDL.endValue, l.count(K::TDL)},
                 {"TDL start", &l.TDL.start, l.count(K::TDL)},
                 {"TDL end", &l.TDL.end, l.count(K::TDL)},
                 {"Moment load value", &l.MomentLoad.value, l.count(K::MomentLoad)},
                 {"Moment load location", &l.MomentLoad.location, l.count(K::MomentLoad)}})
            lists.push_back(list);
    }
    for (const NamedList& list : lists)
        if (auto problem = listProblem(list))
            return problem;
    if (auto problem = segmentProblem(b.ESegment, b.count(K::ESegment), "E"))
        return problem;
    if (auto problem = segmentProblem(b.ISegment, b.count(K::ISegment), "I"))
        return problem;
    for (const LoadCase& c : m.cases)
        if (!isUtf8(c.name) || !isUtf8(c.title))
            return "A load case name or title is not UTF-8 text";
    return std::nullopt;
}

std::string WriteModelJson(const CaseModel& m) {
    if (const auto problem = JsonCannotHold(m))
        throw KradonError(ErrorNumber::BadFileFormat, WriteSource,
                          "The JSON model format cannot hold this model exactly: " + *problem);
    const BeamModel& b = m.beam;
    using K = RecordKind;
    std::vector<Json> supports, springs, displacements;
    for (std::int16_t r = 1; r <= b.count(K::RigidSupport); ++r)
        supports.push_back(
            {{"x_m", numberJson(b.RigidSupport.location[at(r)])},
             {"kind", b.RigidSupport.type[at(r)] == SupportType::Pinned ? "pinned" : "fixed"}});
    for (std::int16_t r = 1; r <= b.count(K::SpringSupport); ++r)
        springs.push_back(
            {{"x_m", numberJson(b.SpringSupport.location[at(r)])},
             {"vertical_kN_per_mm", numberJson(b.SpringSupport.vertical[at(r)])},
             {"rotational_kNm_per_rad", numberJson(b.SpringSupport.rotational[at(r)])}});
    for (std::int16_t r = 1; r <= b.count(K::FixedDisplacement); ++r)
        displacements.push_back(
            {{"x_m", numberJson(b.FixedDisplacement.location[at(r)])},
             {"vertical_mm", prescribedJson(b.FixedDisplacement.vertical[at(r)])},
             {"rotation_rad", prescribedJson(b.FixedDisplacement.rotational[at(r)])}});
    std::vector<Json> combinations;
    for (const Combination& k : m.combinations) {
        Json factors = Json::object();
        for (const CombinationFactor& f : k.factors)
            factors[f.caseName] = numberJson(f.factor);
        combinations.push_back({{"name", k.name}, {"factors", factors}});
    }
    std::string text = "{\n";
    text += "  \"format\": \"" + std::string(FormatName) + "\",\n";
    text += "  \"version\": " + std::to_string(FormatVersion) + ",\n";
    text += "  \"span_m\": " + numberJson(b.span).dump() + ",\n";
    text += "  \"mesh_density\": " + numberJson(m.meshDensity).dump() + ",\n";
    if (m.exactSections)
        text += "  \"exact_sections\": true,\n";
    if (b.MaxNoApplieds != impliedCapacity(m))
        text += "  \"capacity\": " + std::to_string(b.MaxNoApplieds) + ",\n";
    text += "  \"E\": " + recordLines(segmentsJson(b.ESegment, b.count(K::ESegment)), "  ") + ",\n";
    text += "  \"I\": " + recordLines(segmentsJson(b.ISegment, b.count(K::ISegment)), "  ") + ",\n";
    text += "  \"supports\": " + recordLines(supports, "  ") + ",\n";
    text += "  \"springs\": " + recordLines(springs, "  ") + ",\n";
    text += "  \"prescribed_displacements\": " + recordLines(displacements, "  ") + ",\n";
    text += "  \"load_cases\": [\n";
    for (std::size_t c = 0; c < m.cases.size(); ++c)
        text += caseText(m.cases[c]) + (c + 1 < m.cases.size() ? ",\n" : "\n");
    text += "  ],\n";
    text += "  \"combinations\": " + recordLines(combinations, "  ") + "\n";
    return text + "}\n";
}

bool IsJsonModelPath(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    return extension == ".json";
}

CaseModel OpenCaseModelFile(const std::filesystem::path& path) {
    if (!IsJsonModelPath(path))
        return FromBeamModel(modFileWrite::OpenModelFile(path));
    return ReadModelJson(
        SafeFile::ReadRegularFile(path, JsonModelMaxBytes, "a JSON model file", ReadSource));
}

std::string ModelFileBytes(const CaseModel& m, const std::filesystem::path& path) {
    if (IsJsonModelPath(path))
        return WriteModelJson(m);
    if (const auto problem = KdnCannotHold(m))
        throw KradonError(ErrorNumber::BadFileFormat, WriteSource, *problem);
    std::ostringstream bytes;
    modFileWrite::WriteModel(bytes, CaseBeam(m, 0));
    return bytes.str();
}

} // namespace kradon::ModelJson
