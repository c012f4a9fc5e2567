// The beam model's lists, counts and store operations, and the E and I values along the beam.
#include "../ThrownBy.h"
#include "model/BeamModel.h"
#include "model/KradonError.h"

#include <array>
#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kradon {
namespace {

using test::thrownBy;

BeamModel dimensionedModel(std::int16_t maxNoApplieds = DefaultMaxNoApplieds) {
    BeamModel m;
    m.MaxNoApplieds = maxNoApplieds;
    ClearModelLists(m);
    return m;
}

/// Sets record n of a property list to a None definition of value over disA..disB.
void setNoneSegment(PropertySegmentList& s, std::size_t n, double disA, double disB, double value) {
    s.variation[n] = Variation::None;
    s.disA[n] = disA;
    s.disB[n] = disB;
    s.constant[n] = value;
}

/// A store operation with the fields of its dialog, to be applied to a record number.
using Store = std::function<void(BeamModel&, std::int16_t)>;
template <class F> Store storing(void (*store)(BeamModel&, std::int16_t, const F&), const F& f) {
    return [store, f](BeamModel& m, std::int16_t n) { store(m, n, f); };
}

/// Notes record n of kind and stores it, as the dialogs do.
template <class F>
void add(BeamModel& m, RecordKind kind, std::int16_t n,
         void (*store)(BeamModel&, std::int16_t, const F&), const F& f) {
    NoteRecordNumber(m, kind, n);
    store(m, n, f);
}

void expectError(const KradonError& e, std::int32_t number, const std::string& what) {
    EXPECT_EQ(e.number(), number) << what;
    EXPECT_EQ(e.source(), "BeamModel") << what;
    EXPECT_EQ(e.what(), what);
}

TEST(BeamModelLists, ClearDimensionsEveryListResetEmptiesTheCounts) {
    BeamModel m;
    m.MaxNoApplieds = 7;
    m.span = 12.5;
    m.count(RecordKind::TDL) = 3;
    m.PointLoad.value = {1, 2, 3};
    m.ESegment.expression = {"x", "x*2"};
    ClearModelLists(m);
    const std::vector<double> z(8, 0.0);
    const PropertySegmentList segments{z, z, z, z, z, z, std::vector<std::string>(8)};
    EXPECT_EQ(m.PointLoad, (PointLoadList{z, z}));
    EXPECT_EQ(m.UDL, (UDLList{z, z, z}));
    EXPECT_EQ(m.TDL, (TDLList{z, z, z, z}));
    EXPECT_EQ(m.MomentLoad, (MomentLoadList{z, z}));
    EXPECT_EQ(m.RigidSupport, (RigidSupportList{z, z}));
    EXPECT_EQ(m.SpringSupport, (SpringSupportList{z, z, z}));
    EXPECT_EQ(m.FixedDisplacement, (FixedDisplacementList{z, z, z}));
    EXPECT_EQ(m.ESegment, segments);
    EXPECT_EQ(m.ISegment, segments);
    EXPECT_EQ(m.span, 12.5);
    EXPECT_EQ(m.count(RecordKind::TDL), 3);

    m.UDL.value[1] = 3;
    ResetModel(m);
    EXPECT_EQ(m.span, 15);
    EXPECT_EQ(m.counts, decltype(m.counts){});
    EXPECT_EQ(m.UDL.value[1], 3); // the lists are left to ClearModelLists or a file read

    m.MaxNoApplieds = -1;
    const BeamModel before = m;
    expectError(thrownBy([&] { ClearModelLists(m); }), ErrorNumber::SubscriptOutOfRange,
                "MaxNoApplieds is -1; the record lists need a capacity of 0 or more");
    EXPECT_EQ(m, before);
}

// A new record raises the count, editing one keeps it, record 0 is stored without being
// counted, and a record beyond the count leaves the ones between zero.
TEST(BeamModelRecords, NotingARecordRaisesTheCountOnly) {
    BeamModel m = dimensionedModel(5);
    add(m, RecordKind::PointLoad, 1, StorePointLoad, {"10", "2.5"});
    EXPECT_EQ(m.PointLoad, (PointLoadList{{0, 10, 0, 0, 0, 0}, {0, 2.5, 0, 0, 0, 0}}));
    add(m, RecordKind::PointLoad, 1, StorePointLoad, {"-4", "3"});
    add(m, RecordKind::MomentLoad, 1, StoreMomentLoad, {"5", "1"});
    add(m, RecordKind::MomentLoad, 3, StoreMomentLoad, {"7", "4"});
    add(m, RecordKind::UDL, 0, StoreUDL, {"2", "1", "3"});
    add(m, RecordKind::RigidSupport, 5, StoreRigidSupport, {"2", "15"}); // the last of 5
    EXPECT_EQ(m.counts, (decltype(m.counts){1, 0, 0, 3, 5, 0, 0, 0, 0}));
    EXPECT_EQ(m.PointLoad, (PointLoadList{{0, -4, 0, 0, 0, 0}, {0, 3, 0, 0, 0, 0}}));
    EXPECT_EQ(m.MomentLoad, (MomentLoadList{{0, 5, 0, 7, 0, 0}, {0, 1, 0, 4, 0, 0}}));
    EXPECT_EQ(m.UDL, (UDLList{{2, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0}, {3, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(m.RigidSupport, (RigidSupportList{{0, 0, 0, 0, 0, 2}, {0, 0, 0, 0, 0, 15}}));
}

TEST(BeamModelRecords, RecordsOutsideTheListsAreRefusedAndNothingIsWritten) {
    const std::pair<std::int16_t, const char*> cases[] = {
        {11, "Record number 11 is beyond the capacity of 10 records"},
        {32767, "Record number 32767 is beyond the capacity of 10 records"},
        {-1, "Record number -1 is negative; the record lists hold records 0 to 10"},
    };
    const std::pair<RecordKind, Store> records[] = {
        {RecordKind::PointLoad, storing(StorePointLoad, {"1", "1"})},
        {RecordKind::TDL, storing(StoreTDL, {"1", "2", "3", "4"})},
        {RecordKind::SpringSupport, storing(StoreSpringSupport, {"1", "2", "3", true, true})},
        {RecordKind::ISegment, storing(StoreISegment, {"0", "1", "2", "", "", ""})},
    };
    BeamModel m = dimensionedModel(10);
    m.count(RecordKind::PointLoad) = 10;
    const BeamModel before = m;
    for (const auto& [n, message] : cases) {
        expectError(thrownBy([&] { CheckRecordNumber(m, n); }), ErrorNumber::SubscriptOutOfRange,
                    message);
        for (const auto& [kind, store] : records) {
            expectError(thrownBy([&] { NoteRecordNumber(m, kind, n); }),
                        ErrorNumber::SubscriptOutOfRange, message);
            expectError(thrownBy([&] { store(m, n); }), ErrorNumber::SubscriptOutOfRange, message);
        }
    }
    EXPECT_EQ(m, before);

    BeamModel undimensioned; // MaxNoApplieds 10 but lists never dimensioned
    const PointLoadFields load{"1", "1"};
    EXPECT_STREQ(thrownBy([&] { StorePointLoad(undimensioned, 1, load); }).what(),
                 "Record number 1 is beyond the capacity of 0 records");
    EXPECT_TRUE(undimensioned.PointLoad.value.empty());
}

TEST(BeamModelStore, ATextThatIsNotANumberIsRefusedAndNothingIsStored) {
    const std::pair<Store, const char*> cases[] = {
        {storing(StorePointLoad, {"10", "abc"}), "LoadLoc: 'abc' is not a number"},
        {storing(StorePointLoad, {"", "2"}), "LoadVal: '' is not a number"},
        {storing(StoreUDL, {"5", "0", "1,5"}), "LoadLocB: '1,5' is not a number"},
        {storing(StoreTDL, {"1", "x", "0", "2"}), "LoadValB: 'x' is not a number"},
        {storing(StoreMomentLoad, {"inf", "2"}), "LoadVal: 'inf' is not a number"},
        {storing(StoreRigidSupport, {"1", "3 m"}), "SupDis: '3 m' is not a number"},
        {storing(StoreRigidSupport, {"Pinned", "3"}), "SupType: 'Pinned' is not a number"},
        {storing(StoreSpringSupport, {"4", "100", "?", true, true}), "rssVal: '?' is not a number"},
        {storing(StoreSpringSupport, {"", "100", "", true, false}), "SsnDis: '' is not a number"},
        {storing(StoreFixedDisplacement, {"4", "two", "0", true, false}),
         "vfdVal: 'two' is not a number"},
        {storing(StoreESegment, {" ", "10", "205", "", "", ""}),
         "SegStartTxt: ' ' is not a number"},
        {storing(StoreESegment, {"0", "10", "205 kN", "", "", ""}),
         "NoneTxt: '205 kN' is not a number"},
        {storing(StoreISegment, {"0", "10", "", "1", "n/a", ""}),
         "LinearEndTxt: 'n/a' is not a number"},
    };
    for (const auto& [store, message] : cases) {
        BeamModel m = dimensionedModel();
        m.ESegment.variation[1] = Variation::None;
        m.ISegment.variation[1] = Variation::Linear;
        const BeamModel before = m;
        expectError(thrownBy([&] { store(m, 1); }), ErrorNumber::TypeMismatch, message);
        EXPECT_EQ(m, before) << message;
    }
}

TEST(BeamModelStore, LoadsAndSupportsAreStoredAsTyped) {
    BeamModel m = dimensionedModel(3);
    StoreUDL(m, 1, {"5", "8", "2"});
    StoreTDL(m, 2, {"3", "1", "9", "4"});
    EXPECT_EQ(m.UDL, (UDLList{{0, 5, 0, 0}, {0, 8, 0, 0}, {0, 2, 0, 0}}));
    EXPECT_EQ(m.TDL, (TDLList{{0, 0, 3, 0}, {0, 0, 1, 0}, {0, 0, 9, 0}, {0, 0, 4, 0}}));

    // The support type (1 Pinned, 2 Fixed) is read as a 16-bit whole number, halves to the even
    // one.
    const std::pair<const char*, double> types[] = {
        {"1", 1},    {" 2 ", 2},         {"2.5", 2},          {"3.5", 4},
        {"1.25", 1}, {"32767.4", 32767}, {"-32768.5", -32768}};
    for (const auto& [text, type] : types) {
        StoreRigidSupport(m, 2, {text, "7.5"});
        EXPECT_EQ(m.RigidSupport.type[2], type) << text;
        EXPECT_EQ(m.RigidSupport.location[2], 7.5);
    }
    const BeamModel before = m;
    const KradonError e = thrownBy([&] { StoreRigidSupport(m, 2, {"32767.5", "1"}); });
    EXPECT_EQ(e.number(), ErrorNumber::Overflow);
    EXPECT_STREQ(e.what(), "SupType: 32767.5 is outside the range of a 16-bit integer");
    EXPECT_EQ(m, before);

    // An unticked spring or displacement stores zero without reading its text.
    StoreSpringSupport(m, 1, {"3", "120", "not read", true, false});
    StoreSpringSupport(m, 2, {"4", "", "5000", false, true});
    StoreFixedDisplacement(m, 1, {"6", "x", "0.002", false, true});
    EXPECT_EQ(m.SpringSupport, (SpringSupportList{{0, 3, 4, 0}, {0, 120, 0, 0}, {0, 0, 5000, 0}}));
    EXPECT_EQ(m.FixedDisplacement,
              (FixedDisplacementList{{0, 6, 0, 0}, {0, 0, 0, 0}, {0, 0.002, 0, 0}}));
}

// Every variation stores its ends rising; None keeps its value, Linear its two values rising
// (independently of the ends), Curve its text as typed; no variation writes the ends alone.
TEST(BeamModelSegments, EachVariationStoresWhatItUses) {
    BeamModel m = dimensionedModel();
    const struct {
        double variation;
        PropertySegmentFields fields;
        std::array<double, 5> stored; // disA, disB, constant, linearStart, linearEnd
        const char* expression;
    } cases[] = {
        {Variation::None, {"6", "2", "205", "", "", ""}, {2, 6, 205, 0, 0}, "N/A"},
        {Variation::Linear, {"0", "10", "", "30", "20", ""}, {0, 10, 0, 20, 30}, "N/A"},
        {Variation::Linear, {"8", "4", "", "30", "20", ""}, {4, 8, 0, 20, 30}, "N/A"},
        {Variation::Curve, {"1", "3", "no", "no", "no", " 200+X*2 "}, {1, 3, 0, 0, 0}, " 200+X*2 "},
        {0, {"5", "1", "x", "x", "x", "x"}, {1, 5, 7, 8, 9}, "kept"},
    };
    for (const auto& c : cases) {
        for (PropertySegmentList* list : {&m.ESegment, &m.ISegment}) {
            list->variation[1] = c.variation;
            list->constant[1] = 7;
            list->linearStart[1] = 8;
            list->linearEnd[1] = 9;
            list->expression[1] = "kept";
        }
        StoreISegment(m, 1, c.fields);
        const PropertySegmentList& s = m.ISegment;
        EXPECT_EQ(
            (std::array{s.disA[1], s.disB[1], s.constant[1], s.linearStart[1], s.linearEnd[1]}),
            c.stored)
            << c.expression;
        EXPECT_EQ(s.expression[1], c.expression);
        EXPECT_EQ(m.ESegment.expression[1], "kept"); // the I store leaves the E lists alone
        StoreESegment(m, 1, c.fields);
        EXPECT_EQ(m.ESegment, m.ISegment) << c.expression;
    }
}

// None definitions (entries disA, disB, value, from entry 0 on) and the count of records: the
// first record k = 1..count with disA < x <= disB gives the value; where none does, entry 0.
TEST(BeamModelValueAt, TheFirstRecordCoveringAPositionAfterItsStartGivesTheValue) {
    const struct {
        const char* name;
        std::vector<std::array<double, 3>> entries;
        std::int16_t count;
        std::vector<std::pair<double, double>> values; // x, value
    } cases[] = {
        {"one", {{0, 0, 0}, {0, 10, 205}}, 1, {{0, 0}, {0.001, 205}, {10, 205}, {10.5, 0}}},
        {"overlap", {{0, 0, 0}, {0, 6, 100}, {4, 10, 200}}, 2, {{4, 100}, {6, 100}, {10, 200}}},
        {"empty first", {{0, 0, 0}, {4, 4, 300}, {0, 10, 205}}, 2, {{4, 205}}},
        {"empty alone", {{0, 0, 0}, {4, 4, 300}}, 1, {{3.999, 0}, {4, 0}, {4.001, 0}}},
        {"beyond the count", {{0, 0, 0}, {0, 10, 205}}, 0, {{5, 0}}},
        {"entry zero", {{0, 0, 50}, {2, 4, 205}}, 1, {{3, 205}, {8, 50}}},
    };
    for (const auto& c : cases) {
        BeamModel m = dimensionedModel();
        for (std::size_t k = 0; k < c.entries.size(); ++k) {
            const auto& [a, b, value] = c.entries[k];
            setNoneSegment(m.ESegment, k, a, b, value);
            setNoneSegment(m.ISegment, k, a, b, value);
        }
        m.count(RecordKind::ESegment) = m.count(RecordKind::ISegment) = c.count;
        for (const auto& [x, value] : c.values) {
            EXPECT_EQ(EValueAt(m, x), value) << c.name << " x = " << x;
            EXPECT_EQ(IValueAt(m, x), value) << c.name << " x = " << x;
        }
    }
}

// A law read once gives EValueAt's value wherever its record covers the position.
TEST(BeamModelValueAt, LinearAndCurveDefinitionsAndTheirLaws) {
    BeamModel m = dimensionedModel(5);
    setNoneSegment(m.ESegment, 1, 0, 2, 205);
    m.ESegment.variation[2] = Variation::Linear;
    StoreESegment(m, 2, {"2", "6", "", "200", "210", ""});
    m.ESegment.variation[3] = Variation::Curve;
    StoreESegment(m, 3, {"6", "10", "", "", "", "100+x*0.1"});
    m.ESegment.variation[4] = Variation::Curve;
    StoreESegment(m, 4, {"10", "12", "", "", "", "7*2"});
    m.count(RecordKind::ESegment) = 4;
    const std::pair<double, double> values[] = {{2, 205},   {3, 202.5}, {4, 205}, {6, 210},
                                                {7, 100.7}, {10, 101},  {11, 14}, {13, 0}};
    for (const auto& [x, value] : values)
        EXPECT_NEAR(EValueAt(m, x), value, 1e-5) << "x = " << x;
    EXPECT_EQ(EValueAt(m, 3), 202.5);

    const std::vector<PropertyLaw> laws = PropertyLaws(m.ESegment, 4);
    ASSERT_EQ(laws.size(), 5u);
    for (const double x : {-1.0, 1.0, 2.0, 3.3, 6.0, 7.1, 10.0, 11.0, 13.0})
        EXPECT_EQ(laws[CoveringSegment(m.ESegment, 4, x)].valueAt(x), EValueAt(m, x)) << x;
    const bool constant[] = {true, true, false, false, true};
    for (std::size_t k = 0; k < laws.size(); ++k)
        EXPECT_EQ(laws[k].isConstant(), constant[k]) << k;
    // A Curve sees the position as it is only when asked to.
    EXPECT_EQ(laws[3].valueAt(7.1, PropertyLaw::Precision::Full), 100 + 7.1 * double(0.1f));
    EXPECT_NE(laws[3].valueAt(7.1), laws[3].valueAt(7.1, PropertyLaw::Precision::Full));

    m.ISegment.variation[1] = Variation::Curve;
    StoreISegment(m, 1, {"0", "10", "", "", "", "100+x*2"});
    m.count(RecordKind::ISegment) = 1;
    EXPECT_EQ(IValueAt(m, 2.5), 105);
    EXPECT_EQ(IValueAt(m, 10), 120);
    EXPECT_EQ(IValueAt(m, 11), 0);

    m.count(RecordKind::ESegment) = 6;
    expectError(thrownBy([&] { EValueAt(m, 1); }), ErrorNumber::SubscriptOutOfRange,
                "Record number 6 is beyond the capacity of 5 records");
}

TEST(UndefinedStretches, WhereNoDefinitionGivesAValue) {
    const struct {
        const char* name;
        std::vector<std::array<double, 3>> segments; // disA, disB, variation
        std::vector<Stretch> undefined;              // on a 10 m span
    } cases[] = {
        {"none", {}, {{0, 10}}},
        {"full", {{0, 10, Variation::None}}, {}},
        {"beyond the span", {{0, 12, Variation::Linear}}, {}},
        {"short", {{0, 8, Variation::Curve}}, {{8, 10}}},
        {"a cut", {{0, 4, 1}, {6, 10, 1}}, {{4, 6}}},
        {"overlaps", {{0, 5, 1}, {3, 7, 1}, {9, 11, 1}}, {{7, 9}}},
        {"no variation", {{0, 10, 0}}, {{0, 10}}},
        {"no variation inside", {{2, 4, 0}}, {{0, 10}}},
        {"covered first by one without", {{2, 4, 0}, {0, 10, 1}}, {{2, 4}}},
        {"all before the beam", {{-5, 0, 1}}, {{0, 10}}},
        {"gaps in a row", {{1, 2, 1}, {3, 4, 1}}, {{0, 1}, {2, 3}, {4, 10}}},
    };
    for (const auto& c : cases) {
        BeamModel m = dimensionedModel();
        std::int16_t n = 0;
        for (const auto& [a, b, variation] : c.segments) {
            setNoneSegment(m.ESegment, ++n, a, b, 200);
            m.ESegment.variation[static_cast<std::size_t>(n)] = variation;
        }
        EXPECT_EQ(UndefinedStretches(m.ESegment, n, 10), c.undefined) << c.name;
    }
    // Entry 0, when it is a definition, stands for every position the others leave.
    BeamModel m = dimensionedModel();
    setNoneSegment(m.ESegment, 0, 0, 0, 50);
    setNoneSegment(m.ESegment, 1, 0, 4, 200);
    EXPECT_TRUE(UndefinedStretches(m.ESegment, 1, 10).empty());
    EXPECT_TRUE(UndefinedStretches(m.ESegment, 1, -5).empty());
}

/// A model with the given point loads, numbered 1.. in order, each stored as a dialog does.
BeamModel withPointLoads(const std::vector<PointLoadFields>& loads) {
    BeamModel m = dimensionedModel();
    std::int16_t n = 0;
    for (const PointLoadFields& load : loads)
        add(m, RecordKind::PointLoad, ++n, StorePointLoad, load);
    return m;
}

// Later records move down: the model equals one built without the record.
TEST(BeamModelDelete, TheModelEqualsOneBuiltWithoutTheRecord) {
    const std::vector<PointLoadFields> loads = {{"10", "2"}, {"20", "5"}, {"30", "8"}};
    for (std::int16_t n = 1; n <= 3; ++n) {
        BeamModel m = withPointLoads(loads);
        DeleteRecord(m, RecordKind::PointLoad, n);
        std::vector<PointLoadFields> left = loads;
        left.erase(left.begin() + n - 1);
        EXPECT_EQ(m, withPointLoads(left)) << n;
    }
}

TEST(BeamModelDelete, EntriesBeyondTheCountAndOtherKindsAreKept) {
    BeamModel m = withPointLoads({{"10", "2"}, {"20", "5"}});
    m.PointLoad.value[7] = 99; // left from an earlier, larger model
    add(m, RecordKind::UDL, 1, StoreUDL, {"4", "0", "6"});
    DeleteRecord(m, RecordKind::PointLoad, 1);
    EXPECT_EQ(m.count(RecordKind::PointLoad), 1);
    EXPECT_EQ(m.PointLoad.value, (std::vector<double>{0, 20, 0, 0, 0, 0, 0, 99, 0, 0, 0}));
    EXPECT_EQ(m.PointLoad.location, (std::vector<double>{0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(m.count(RecordKind::UDL), 1);
    EXPECT_EQ(m.UDL.end[1], 6);

    // A segment takes its expression along.
    for (std::int16_t n = 1; n <= 2; ++n) {
        m.ISegment.variation[static_cast<std::size_t>(n)] = Variation::Curve;
        add(m, RecordKind::ISegment, n, StoreISegment, {"0", "5", "", "", "", "x*2"});
    }
    StoreISegment(m, 2, {"5", "10", "", "", "", "x^2+1"});
    DeleteRecord(m, RecordKind::ISegment, 1);
    EXPECT_EQ(m.count(RecordKind::ISegment), 1);
    EXPECT_EQ(m.ISegment.expression[1], "x^2+1");
    EXPECT_EQ(m.ISegment.expression[2], "");
    EXPECT_EQ(m.ISegment.variation[2], 0);
    EXPECT_EQ(m.ISegment.disA[1], 5);
    EXPECT_EQ(m.count(RecordKind::ESegment), 0);
}

TEST(BeamModelDelete, ANumberOutsideTheRecordsOrListsIsRefusedAndNothingChanges) {
    const BeamModel before = withPointLoads({{"10", "2"}, {"20", "5"}});
    for (const std::int16_t n : {0, 3, -1}) {
        BeamModel m = before;
        const KradonError e = thrownBy([&] { DeleteRecord(m, RecordKind::PointLoad, n); });
        EXPECT_EQ(e.number(), ErrorNumber::SubscriptOutOfRange) << n;
        EXPECT_EQ(m, before) << n;
        if (n == 3) {
            EXPECT_STREQ(e.what(), "Record number 3 is not one of the 2 records of its kind");
        }
    }
    BeamModel m = dimensionedModel(5);
    m.count(RecordKind::MomentLoad) = 7; // as a damaged model might claim
    const BeamModel damaged = m;
    const KradonError e = thrownBy([&] { DeleteRecord(m, RecordKind::MomentLoad, 2); });
    EXPECT_EQ(e.number(), ErrorNumber::SubscriptOutOfRange);
    EXPECT_EQ(m, damaged);
}

} // namespace
} // namespace kradon
