// The JSON model format: the example in its written form, .kdn -> JSON -> .kdn byte for byte,
// every refusal with where it is, and what each format cannot hold.
#include "../core/TextFiles.h"
#include "model/KradonError.h"
#include "model/modFileWrite.h"

#include "json/ModelJson.h"
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>

namespace kradon {
namespace {

std::string kdnBytes(const BeamModel& m) {
    std::ostringstream bytes;
    modFileWrite::WriteModel(bytes, m);
    return bytes.str();
}

/// The bytes of a .kdn after a trip through the JSON format.
std::string throughJson(const BeamModel& m) {
    const CaseModel read = ModelJson::ReadModelJson(ModelJson::WriteModelJson(FromBeamModel(m)));
    return ModelJson::ModelFileBytes(read, "back.kdn");
}

// The samples come back byte for byte through kradon-cli convert (tests/cli).
TEST(ModelJson, TheExampleIsInTheWrittenForm) {
    const std::string text = test::ReadFile(KRADON_EXAMPLES "/three-span-patterned.kradon.json");
    const CaseModel m = ModelJson::ReadModelJson(text);
    ASSERT_EQ(m.cases.size(), 2u);
    EXPECT_TRUE(m.cases[1].pattern);
    EXPECT_EQ(m.combinations[0].factors, (std::vector<CombinationFactor>{{"G", 1.35}, {"Q", 1.5}}));
    EXPECT_EQ(ModelJson::WriteModelJson(m), text);
}

/// Models as the dialogs and the explorer make them: typed texts, edits, deletions.
BeamModel editedModel(std::int16_t capacity) {
    BeamModel m;
    m.MaxNoApplieds = capacity;
    ClearModelLists(m);
    m.span = 12.5;
    const auto note = [&m](RecordKind kind, std::int16_t n) { NoteRecordNumber(m, kind, n); };
    note(RecordKind::PointLoad, 3);
    StorePointLoad(m, 1, {"-12.75", "3.1"});
    StorePointLoad(m, 2, {"0.1", "6"});
    StorePointLoad(m, 3, {"1e-7", "12.5"});
    note(RecordKind::UDL, 1);
    StoreUDL(m, 1, {"4", "9", "2"}); // kept in the order typed
    note(RecordKind::TDL, 1);
    StoreTDL(m, 1, {"0", "8.25", "1", "7"});
    note(RecordKind::MomentLoad, 1);
    StoreMomentLoad(m, 1, {"-20", "4"});
    note(RecordKind::RigidSupport, 2);
    StoreRigidSupport(m, 1, {"1", "0"});
    StoreRigidSupport(m, 2, {"2", "12.5"});
    note(RecordKind::SpringSupport, 1);
    StoreSpringSupport(m, 1, {"6", "5", "ignored", true, false});
    note(RecordKind::FixedDisplacement, 2);
    StoreFixedDisplacement(m, 1, {"0", "ignored", "0.002", false, true});
    StoreFixedDisplacement(m, 2, {"12.5", "-0", "0", true, true});
    using Segment = std::tuple<std::int16_t, double, PropertySegmentFields>;
    for (const auto& [n, variation, fields] :
         {Segment{1, Variation::None, {"0", "5", "205", "", "", ""}},
          Segment{2, Variation::Linear, {"12.5", "5", "", "210", "190", ""}},
          Segment{3, Variation::Curve, {"5", "6", "", "", "", "200·(1 + x/100)"}}}) {
        note(RecordKind::ESegment, n);
        note(RecordKind::ISegment, n);
        m.ESegment.variation[static_cast<std::size_t>(n)] = variation;
        m.ISegment.variation[static_cast<std::size_t>(n)] = variation;
        StoreESegment(m, n, fields);
        StoreISegment(m, n, fields);
    }
    DeleteRecord(m, RecordKind::PointLoad, 2);
    DeleteRecord(m, RecordKind::ISegment, 1);
    return m;
}

TEST(ModelJson, ModelsTheProgramWritesComeBackByteForByte) {
    for (const std::int16_t capacity : {5, 10, 30, 200}) {
        SCOPED_TRACE(capacity);
        const BeamModel m = editedModel(capacity);
        EXPECT_EQ(throughJson(m), kdnBytes(m));
    }
    BeamModel empty;
    ClearModelLists(empty);
    EXPECT_EQ(throughJson(empty), kdnBytes(empty));
}

TEST(ModelJson, ValuesAndMeaningsAreThoseOfTheKdnRecords) {
    const CaseModel m = ModelJson::ReadModelJson(R"json({"format": "kradon-model", "version": 1,
        "span_m": 10, "E": [{"from_m": 0, "to_m": 10, "linear": [205, 100]}],
        "I": [{"from_m": 0, "to_m": 10, "expression": "8000*(1+x/10)"}],
        "supports": [{"x_m": 0, "kind": "fixed"}],
        "springs": [{"x_m": 10, "rotational_kNm_per_rad": 3}],
        "prescribed_displacements": [{"x_m": 10, "vertical_mm": 10, "rotation_rad": null}],
        "load_cases": [{"name": "Loads", "loads": [{"kind": "moment", "x_m": 3, "kNm": 20}]}]})json");
    const BeamModel b = CaseBeam(m, 0);
    EXPECT_EQ(b.MaxNoApplieds, 10);
    EXPECT_EQ(b.ESegment.variation[1], Variation::Linear);
    EXPECT_EQ(b.ESegment.linearStart[1], 205); // the value at from_m, falling or not
    EXPECT_EQ(b.ESegment.linearEnd[1], 100);
    EXPECT_EQ(b.ESegment.expression[1], "N/A");
    EXPECT_EQ(b.ISegment.variation[1], Variation::Curve);
    EXPECT_EQ(b.RigidSupport.type[1], SupportType::Fixed);
    EXPECT_EQ(b.SpringSupport.vertical[1], 0);
    EXPECT_EQ(b.FixedDisplacement.vertical[1], 10);
    EXPECT_EQ(b.FixedDisplacement.rotational[1], 0); // null prescribes nothing, as 0 in a .kdn
    EXPECT_EQ(b.MomentLoad.value[1], 20);
    EXPECT_EQ(m.meshDensity, 1);
    EXPECT_FALSE(KdnCannotHold(m));
}

std::string model(const std::string& inner) {
    return R"({"format": "kradon-model", "version": 1, "span_m": 10, )" + inner + "}";
}
const std::string oneCase = R"("load_cases": [{"name": "G", "loads": []}])";

/// What the KradonError thrown by what says, of the number BadFileFormat; fails the test when
/// nothing is thrown.
std::string refusal(const std::function<void()>& what) {
    try {
        what();
    } catch (const KradonError& e) {
        EXPECT_EQ(e.number(), ErrorNumber::BadFileFormat);
        return e.what();
    }
    ADD_FAILURE() << "nothing was refused";
    return "";
}

TEST(ModelJson, RefusalsSayWhatIsWrongAndWhere) {
    const std::pair<std::string, std::string> rows[] = {
        {"{", "The file is not JSON: parse error at line 1, column 2: syntax error while parsing "
              "object key - unexpected end of input; expected string literal"},
        {"[]", "top level: needs an object, not a list"},
        {R"({"format": "other", "version": 1})", R"(format: needs "kradon-model", not "other")"},
        {R"({"format": "kradon-model", "version": 2})",
         "version: 2 is not a version this program reads (1)"},
        {R"({"format": "kradon-model", "version": 1})",
         R"(top level: the key "span_m" is missing)"},
        {model(R"("load_cases": [])"), "load_cases: a model needs at least one load case"},
        {R"({"format": "kradon-model", "version": 1, "span_m": "ten", "load_cases": []})",
         R"(span_m: needs a number, not "ten")"},
        {R"({"format": "kradon-model", "version": 1, "span_m": 1e999})",
         "The file is not JSON: number overflow parsing '1e999'"},
        {model(R"("mesh_density": 20, )" + oneCase), "mesh_density: 20 is outside 0.2 to 10"},
        {model(R"("exact_sections": 1, )" + oneCase), "exact_sections: needs true or false, not 1"},
        {model(R"("capacity": 1, "supports": [{"x_m": 0, "kind": "pinned"},
                   {"x_m": 10, "kind": "pinned"}], )" +
               oneCase),
         "capacity: 1 is less than the 2 records of the largest kind"},
        {model(R"("capacity": 2.5, )" + oneCase),
         "capacity: needs a whole number from 0 to 32767, not 2.5"},
        {model(R"("E": [{"from_m": 0, "to_m": 10, "constant": 1, "linear": [1, 2]}], )" + oneCase),
         R"(E[1]: needs exactly one of "constant", "linear" and "expression")"},
        {model(R"("I": [{"from_m": 0, "to_m": 10, "linear": [1, 2, 3]}], )" + oneCase),
         "I[1].linear: needs two numbers, the values at from_m and at to_m"},
        {model(R"("supports": [{"x_m": 0, "kind": "roller"}], )" + oneCase),
         R"(supports[1].kind: needs "pinned" or "fixed", not "roller")"},
        {model(R"("load_cases": [{"name": "G", "loads": [{"kind": "point", "x_m": 1, "kn": 3}]}])"),
         R"(load_cases[1].loads[1]: unknown key "kn")"},
        {model(R"("load_cases": [{"name": "G", "loads": [{"kind": "point", "x_m": 1}]}])"),
         R"(load_cases[1].loads[1]: the key "kN" is missing)"},
        {model(R"("load_cases": [{"name": "G", "loads": [{"kind": "wind"}]}])"),
         R"(load_cases[1].loads[1].kind: needs "point", "udl", "trapezoidal" or "moment", not "wind")"},
        {model(R"("load_cases": [{"name": "G", "pattern": "yes"}])"),
         R"(load_cases[1].pattern: needs true or false, not "yes")"},
        {model(R"("load_cases": [{"name": ""}])"), "load_cases[1].name: a load case needs a name"},
        {model(R"("load_cases": [{"name": "G"}, {"name": "Q"}, {"name": "G"}])"),
         R"(load_cases[3].name: "G" is the name of load case 1 as well)"},
        {model(oneCase + R"(, "combinations": [{"name": "ULS", "factors": {"G": 1, "X": 2}}])"),
         "combinations[1].factors.X: names no load case"},
        {model(oneCase + R"(, "combinations": [{"name": "A", "factors": {"G": 1, "G": 2}}])"),
         R"(combinations[1].factors: the key "G" is given twice)"},
        {model(oneCase + R"(, "combinations": [{"name": "A", "factors": {}}, )"
                         R"({"name": "A", "factors": {"G": true}}])"),
         R"(combinations[2].factors.G: needs a number, not true)"},
        {model(oneCase + R"(, "combinations": [{"name": "A", "factors": {}}, )"
                         R"({"name": "A", "factors": {}}])"),
         R"(combinations[2].name: "A" is the name of combination 1 as well)"},
    };
    for (const auto& [document, message] : rows)
        EXPECT_EQ(refusal([&] { ModelJson::ReadModelJson(document); }), message) << document;
}

TEST(ModelJson, WhatTheJsonFormatCannotHoldIsNamed) {
    const std::tuple<const char*, void (*)(BeamModel&), const char*> rows[] = {
        {"stale entry", [](BeamModel& m) { m.UDL.value[9] = 4; },
         "UDL value holds a value in entry 9, which is not one of its 1 records"},
        {"entry 0", [](BeamModel& m) { m.ESegment.expression[0] = "x"; },
         "E expressions hold a text in entry 0, which is not one of its 3 records"},
        {"type code", [](BeamModel& m) { m.RigidSupport.type[2] = 3; },
         "Rigid support 2 has the type code 3, which is neither pinned (1) nor fixed (2)"},
        {"variation", [](BeamModel& m) { m.ISegment.variation[1] = 0; },
         "I definition 1 has the variation code 0, which is none of constant (1), linear (2) and "
         "expression (3)"},
        {"unused values", [](BeamModel& m) { m.ESegment.constant[2] = 7; },
         "E definition 2 holds values that its variation does not use"},
        {"not a number", [](BeamModel& m) { m.PointLoad.value[1] = std::nan(""); },
         "Point load value of record 1 is NaN, which is no number"},
        {"not UTF-8", [](BeamModel& m) { m.ESegment.expression[3] = "200\xB2"; },
         "E definition 3 has an expression that is not UTF-8 text"},
    };
    for (const auto& [what, spoil, reason] : rows) {
        BeamModel m = editedModel(10);
        spoil(m);
        EXPECT_EQ(ModelJson::JsonCannotHold(FromBeamModel(m)), reason) << what;
        EXPECT_THROW(ModelJson::WriteModelJson(FromBeamModel(m)), KradonError) << what;
    }
}

TEST(ModelJson, WhatAKdnFileCannotHoldIsNamed) {
    const std::string prefix =
        R"(A .kdn file holds one load case named "Loads" and nothing more: )";
    const std::pair<std::string, std::string> rows[] = {
        {R"("load_cases": [{"name": "Loads"}, {"name": "Q"}])",
         prefix + "this model has 2 load cases"},
        {R"("load_cases": [{"name": "Loads"}], "combinations": [{"name": "A", "factors": {}}])",
         prefix + "this model has 1 combination"},
        {R"("load_cases": [{"name": "G"}])", prefix + R"(this model's case is named "G")"},
        {R"("load_cases": [{"name": "Loads", "title": "All"}])",
         prefix + R"(this model's case has the title "All")"},
        {R"("load_cases": [{"name": "Loads", "pattern": true}])",
         prefix + "this model's case is patterned"},
        {R"("mesh_density": 2, "load_cases": [{"name": "Loads"}])",
         "A .kdn file holds no mesh density, and this model's is 2 (the program's default is 1)"},
        {R"("exact_sections": true, "load_cases": [{"name": "Loads"}])",
         "A .kdn file holds no exact-sections switch, and this model asks for exact sections"},
    };
    for (const auto& [inner, reason] : rows) {
        const CaseModel m = ModelJson::ReadModelJson(model(inner));
        EXPECT_EQ(KdnCannotHold(m), reason) << inner;
        EXPECT_EQ(refusal([&] { ModelJson::ModelFileBytes(m, "out.kdn"); }), reason) << inner;
    }
}

TEST(ModelJson, TheFileNameChoosesTheFormat) {
    for (const auto& [name, json] :
         {std::pair{"a/b.kradon.json", true}, {"B.JSON", true}, {"b.kdn", false}, {"json", false}})
        EXPECT_EQ(ModelJson::IsJsonModelPath(name), json) << name;
}

} // namespace
} // namespace kradon
