// The beam model's lists, counts and store operations, and the E and I values along the beam.
#include "model/BeamModel.h"
#include "model/KradonError.h"

#include <array>
#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace kradon {
namespace {

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

/// The error a call throws; fails the test when it throws none.
template <class Call> KradonError thrownBy(Call&& call) {
    try {
        call();
    } catch (const KradonError& e) {
        return e;
    }
    ADD_FAILURE() << "no KradonError thrown";
    return KradonError(0, "", "");
}

TEST(BeamModelLists, ClearModelListsDimensionsEveryListAndKeepsCountsAndSpan) {
    BeamModel m;
    m.MaxNoApplieds = 7;
    m.span = 12.5;
    m.count(RecordKind::TDL) = 3;
    m.PointLoad.value = {1, 2, 3};
    m.ESegment.expression = {"x", "x*2"};
    ClearModelLists(m);

    for (const auto* list : {&m.PointLoad.value,
                             &m.PointLoad.location,
                             &m.UDL.value,
                             &m.UDL.start,
                             &m.UDL.end,
                             &m.TDL.startValue,
                             &m.TDL.endValue,
                             &m.TDL.start,
                             &m.TDL.end,
                             &m.MomentLoad.value,
                             &m.MomentLoad.location,
                             &m.RigidSupport.type,
                             &m.RigidSupport.location,
                             &m.SpringSupport.location,
                             &m.SpringSupport.vertical,
                             &m.SpringSupport.rotational,
                             &m.FixedDisplacement.location,
                             &m.FixedDisplacement.vertical,
                             &m.FixedDisplacement.rotational,
                             &m.ESegment.variation,
                             &m.ESegment.disA,
                             &m.ESegment.disB,
                             &m.ESegment.constant,
                             &m.ESegment.linearStart,
                             &m.ESegment.linearEnd,
                             &m.ISegment.variation,
                             &m.ISegment.disA,
                             &m.ISegment.disB,
                             &m.ISegment.constant,
                             &m.ISegment.linearStart,
                             &m.ISegment.linearEnd})
        EXPECT_EQ(*list, std::vector<double>(8, 0.0));
    EXPECT_EQ(m.ESegment.expression, std::vector<std::string>(8));
    EXPECT_EQ(m.ISegment.expression, std::vector<std::string>(8));
    EXPECT_EQ(m.span, 12.5);
    EXPECT_EQ(m.count(RecordKind::TDL), 3);
}

TEST(BeamModelLists, ClearModelListsRefusesANegativeCapacity) {
    BeamModel m = dimensionedModel(5);
    m.PointLoad.value[2] = 4;
    m.MaxNoApplieds = -1;
    const BeamModel before = m;
    const KradonError e = thrownBy([&] { ClearModelLists(m); });
    EXPECT_EQ(e.number(), ErrorNumber::SubscriptOutOfRange);
    EXPECT_EQ(e.source(), "BeamModel");
    EXPECT_STREQ(e.what(), "MaxNoApplieds is -1; the record lists need a capacity of 0 or more");
    EXPECT_EQ(m, before);
}

TEST(BeamModelLists, ResetModelEmptiesCountsAndRestoresTheDefaultSpan) {
    BeamModel m = dimensionedModel();
    m.span = 4;
    m.counts.fill(2);
    m.UDL.value[1] = 3;
    ResetModel(m);
    EXPECT_EQ(m.span, 15);
    for (const std::int16_t count : m.counts)
        EXPECT_EQ(count, 0);
    EXPECT_EQ(m.UDL.value[1], 3); // the lists are left to ClearModelLists or a file read
}

TEST(BeamModelRecords, NewPointLoadIsNumberOneAndEditingKeepsTheCount) {
    BeamModel m = dimensionedModel();
    const auto n = static_cast<std::int16_t>(m.count(RecordKind::PointLoad) + 1);
    ASSERT_EQ(n, 1);
    NoteRecordNumber(m, RecordKind::PointLoad, n);
    StorePointLoad(m, n, {"10", "2.5"});
    EXPECT_EQ(m.count(RecordKind::PointLoad), 1);
    EXPECT_EQ(m.PointLoad.value[1], 10);
    EXPECT_EQ(m.PointLoad.location[1], 2.5);

    NoteRecordNumber(m, RecordKind::PointLoad, 1);
    StorePointLoad(m, 1, {"-4", "3"});
    EXPECT_EQ(m.count(RecordKind::PointLoad), 1);
    EXPECT_EQ(m.PointLoad.value[1], -4);
    EXPECT_EQ(m.PointLoad.location[1], 3);
}

TEST(BeamModelRecords, StoringRecordThreeOverCountOneLeavesRecordTwoZero) {
    BeamModel m = dimensionedModel();
    NoteRecordNumber(m, RecordKind::MomentLoad, 1);
    StoreMomentLoad(m, 1, {"5", "1"});
    NoteRecordNumber(m, RecordKind::MomentLoad, 3);
    StoreMomentLoad(m, 3, {"7", "4"});
    EXPECT_EQ(m.count(RecordKind::MomentLoad), 3);
    EXPECT_EQ(m.MomentLoad.value[2], 0);
    EXPECT_EQ(m.MomentLoad.location[2], 0);
    EXPECT_EQ(m.MomentLoad.value[3], 7);
}

TEST(BeamModelRecords, RecordZeroIsStoredWithoutBeingCounted) {
    BeamModel m = dimensionedModel();
    NoteRecordNumber(m, RecordKind::UDL, 0);
    StoreUDL(m, 0, {"2", "1", "3"});
    EXPECT_EQ(m.count(RecordKind::UDL), 0);
    EXPECT_EQ(m.UDL.value[0], 2);
}

TEST(BeamModelRecords, TheLastRecordOfTheCapacityIsAccepted) {
    BeamModel m = dimensionedModel(5);
    NoteRecordNumber(m, RecordKind::RigidSupport, 5);
    StoreRigidSupport(m, 5, {"2", "15"});
    EXPECT_EQ(m.count(RecordKind::RigidSupport), 5);
    EXPECT_EQ(m.RigidSupport.type[5], SupportType::Fixed);
    EXPECT_EQ(m.RigidSupport.location[5], 15);
}

struct RefusedRecord {
    std::int16_t n;
    const char* message;
};

TEST(BeamModelRecords, RecordsOutsideTheListsAreRefusedAndNothingIsWritten) {
    const RefusedRecord cases[] = {
        {11, "Record number 11 is beyond the capacity of 10 records"},
        {32767, "Record number 32767 is beyond the capacity of 10 records"},
        {-1, "Record number -1 is negative; the record lists hold records 0 to 10"},
    };
    BeamModel m = dimensionedModel(10);
    m.count(RecordKind::PointLoad) = 10;
    const BeamModel before = m;
    for (const auto& c : cases) {
        const std::vector<std::function<void()>> operations = {
            [&] { CheckRecordNumber(m, c.n); },
            [&] { NoteRecordNumber(m, RecordKind::PointLoad, c.n); },
            [&] {
                StorePointLoad(m, c.n, {"1", "1"});
            },
            [&] {
                StoreTDL(m, c.n, {"1", "2", "3", "4"});
            },
            [&] {
                StoreSpringSupport(m, c.n, {"1", "2", "3", true, true});
            },
            [&] {
                StoreISegment(m, c.n, {"0", "1", "2", "", "", ""});
            },
        };
        for (const auto& operation : operations) {
            const KradonError e = thrownBy(operation);
            EXPECT_EQ(e.number(), ErrorNumber::SubscriptOutOfRange);
            EXPECT_EQ(e.source(), "BeamModel");
            EXPECT_STREQ(e.what(), c.message);
        }
    }
    EXPECT_EQ(m, before);
}

TEST(BeamModelRecords, UndimensionedListsRefuseEveryRecord) {
    BeamModel m; // MaxNoApplieds 10 but lists never dimensioned
    const KradonError e = thrownBy([&] { StorePointLoad(m, 1, {"1", "1"}); });
    EXPECT_STREQ(e.what(), "Record number 1 is beyond the capacity of 0 records");
    EXPECT_TRUE(m.PointLoad.value.empty());
}

struct RefusedField {
    const char* name;
    std::function<void(BeamModel&)> store;
    const char* message;
};

TEST(BeamModelStore, ATextThatIsNotANumberIsRefusedAndNothingIsStored) {
    const RefusedField cases[] = {
        {"point load",
         [](BeamModel& m) {
             StorePointLoad(m, 1, {"10", "abc"});
         },
         "LoadLoc: 'abc' is not a number"},
        {"point load value",
         [](BeamModel& m) {
             StorePointLoad(m, 1, {"", "2"});
         },
         "LoadVal: '' is not a number"},
        {"UDL",
         [](BeamModel& m) {
             StoreUDL(m, 1, {"5", "0", "1,5"});
         },
         "LoadLocB: '1,5' is not a number"},
        {"TDL",
         [](BeamModel& m) {
             StoreTDL(m, 1, {"1", "x", "0", "2"});
         },
         "LoadValB: 'x' is not a number"},
        {"moment",
         [](BeamModel& m) {
             StoreMomentLoad(m, 1, {"inf", "2"});
         },
         "LoadVal: 'inf' is not a number"},
        {"rigid support",
         [](BeamModel& m) {
             StoreRigidSupport(m, 1, {"1", "3 m"});
         },
         "SupDis: '3 m' is not a number"},
        {"support type",
         [](BeamModel& m) {
             StoreRigidSupport(m, 1, {"Pinned", "3"});
         },
         "SupType: 'Pinned' is not a number"},
        {"spring",
         [](BeamModel& m) {
             StoreSpringSupport(m, 1, {"4", "100", "?", true, true});
         },
         "rssVal: '?' is not a number"},
        {"spring location",
         [](BeamModel& m) {
             StoreSpringSupport(m, 1, {"", "100", "", true, false});
         },
         "SsnDis: '' is not a number"},
        {"fixed displacement",
         [](BeamModel& m) {
             StoreFixedDisplacement(m, 1, {"4", "two", "0", true, false});
         },
         "vfdVal: 'two' is not a number"},
        {"E segment start",
         [](BeamModel& m) {
             StoreESegment(m, 1, {" ", "10", "205", "", "", ""});
         },
         "SegStartTxt: ' ' is not a number"},
        {"E segment value",
         [](BeamModel& m) {
             StoreESegment(m, 1, {"0", "10", "205 kN", "", "", ""});
         },
         "NoneTxt: '205 kN' is not a number"},
        {"I segment linear",
         [](BeamModel& m) {
             StoreISegment(m, 2, {"0", "10", "", "1", "n/a", ""});
         },
         "LinearEndTxt: 'n/a' is not a number"},
    };
    for (const auto& c : cases) {
        BeamModel m = dimensionedModel();
        m.ESegment.variation[1] = Variation::None;
        m.ISegment.variation[2] = Variation::Linear;
        const BeamModel before = m;
        const KradonError e = thrownBy([&] { c.store(m); });
        EXPECT_EQ(e.number(), ErrorNumber::TypeMismatch) << c.name;
        EXPECT_EQ(e.source(), "BeamModel") << c.name;
        EXPECT_STREQ(e.what(), c.message) << c.name;
        EXPECT_EQ(m, before) << c.name;
    }
}

TEST(BeamModelStore, LoadsAreStoredInTheOrderTyped) {
    BeamModel m = dimensionedModel();
    StoreUDL(m, 1, {"5", "8", "2"});
    StoreTDL(m, 2, {"3", "1", "9", "4"});
    EXPECT_EQ(m.UDL.value[1], 5);
    EXPECT_EQ(m.UDL.start[1], 8);
    EXPECT_EQ(m.UDL.end[1], 2);
    EXPECT_EQ(m.TDL.startValue[2], 3);
    EXPECT_EQ(m.TDL.endValue[2], 1);
    EXPECT_EQ(m.TDL.start[2], 9);
    EXPECT_EQ(m.TDL.end[2], 4);
}

TEST(BeamModelStore, SupportTypeTextIsReadAsAWholeNumber) {
    BeamModel m = dimensionedModel();
    StoreRigidSupport(m, 1, {"1", "0"});
    StoreRigidSupport(m, 2, {" 2 ", "7.5"});
    StoreRigidSupport(m, 3, {"2.5", "1"}); // halves go to the even number
    StoreRigidSupport(m, 4, {"3.5", "1"});
    StoreRigidSupport(m, 5, {"1.25", "1"});
    EXPECT_EQ(m.RigidSupport.type[1], SupportType::Pinned);
    EXPECT_EQ(m.RigidSupport.type[2], SupportType::Fixed);
    EXPECT_EQ(m.RigidSupport.location[2], 7.5);
    EXPECT_EQ(m.RigidSupport.type[3], 2);
    EXPECT_EQ(m.RigidSupport.type[4], 4);
    EXPECT_EQ(m.RigidSupport.type[5], 1);

    const BeamModel before = m;
    const KradonError e = thrownBy([&] { StoreRigidSupport(m, 6, {"40000", "1"}); });
    EXPECT_EQ(e.number(), ErrorNumber::Overflow);
    EXPECT_STREQ(e.what(), "SupType: 40000 is outside the range of a 16-bit integer");
    EXPECT_EQ(m, before);
}

TEST(BeamModelStore, AnUntickedSpringOrDisplacementStoresZeroWithoutReadingItsText) {
    BeamModel m = dimensionedModel();
    StoreSpringSupport(m, 1, {"3", "120", "not read", true, false});
    EXPECT_EQ(m.SpringSupport.location[1], 3);
    EXPECT_EQ(m.SpringSupport.vertical[1], 120);
    EXPECT_EQ(m.SpringSupport.rotational[1], 0);

    StoreSpringSupport(m, 2, {"4", "", "5000", false, true});
    EXPECT_EQ(m.SpringSupport.vertical[2], 0);
    EXPECT_EQ(m.SpringSupport.rotational[2], 5000);

    StoreFixedDisplacement(m, 1, {"6", "x", "0.002", false, true});
    EXPECT_EQ(m.FixedDisplacement.location[1], 6);
    EXPECT_EQ(m.FixedDisplacement.vertical[1], 0);
    EXPECT_EQ(m.FixedDisplacement.rotational[1], 0.002);
}

TEST(BeamModelSegments, ASegmentTypedBackwardsIsStoredFromItsSmallerEnd) {
    BeamModel m = dimensionedModel();
    m.ESegment.variation[1] = Variation::None;
    StoreESegment(m, 1, {"6", "2", "205", "", "", ""});
    EXPECT_EQ(m.ESegment.disA[1], 2);
    EXPECT_EQ(m.ESegment.disB[1], 6);
    EXPECT_EQ(m.ESegment.constant[1], 205);
    EXPECT_EQ(m.ESegment.linearStart[1], 0);
    EXPECT_EQ(m.ESegment.linearEnd[1], 0);
    EXPECT_EQ(m.ESegment.expression[1], "N/A");
}

TEST(BeamModelSegments, ALinearDefinitionIsStoredRisingWhateverTheSegmentOrder) {
    BeamModel m = dimensionedModel();
    m.ESegment.variation[1] = Variation::Linear;
    m.ESegment.constant[1] = 99;
    StoreESegment(m, 1, {"0", "10", "", "30", "20", ""});
    EXPECT_EQ(m.ESegment.linearStart[1], 20);
    EXPECT_EQ(m.ESegment.linearEnd[1], 30);
    EXPECT_EQ(m.ESegment.constant[1], 0);
    EXPECT_EQ(m.ESegment.expression[1], "N/A");

    // The two exchanges are independent: a backward segment keeps its values rising too.
    m.ESegment.variation[2] = Variation::Linear;
    StoreESegment(m, 2, {"8", "4", "", "30", "20", ""});
    EXPECT_EQ(m.ESegment.disA[2], 4);
    EXPECT_EQ(m.ESegment.disB[2], 8);
    EXPECT_EQ(m.ESegment.linearStart[2], 20);
    EXPECT_EQ(m.ESegment.linearEnd[2], 30);
}

TEST(BeamModelSegments, ACurveKeepsItsTextAsTypedAndZeroValues) {
    BeamModel m = dimensionedModel();
    m.ISegment.variation[1] = Variation::Curve;
    m.ISegment.linearStart[1] = 5;
    StoreISegment(m, 1, {"1", "3", "not read", "no", "no", " 200+X*2 "});
    EXPECT_EQ(m.ISegment.expression[1], " 200+X*2 ");
    EXPECT_EQ(m.ISegment.constant[1], 0);
    EXPECT_EQ(m.ISegment.linearStart[1], 0);
    EXPECT_EQ(m.ISegment.linearEnd[1], 0);
    EXPECT_EQ(m.ISegment.disB[1], 3);
    EXPECT_TRUE(m.ESegment.expression[1].empty()); // the I store leaves the E lists alone
}

TEST(BeamModelSegments, AnUnsetVariationWritesOnlyTheSegmentEnds) {
    BeamModel m = dimensionedModel();
    m.ESegment.constant[1] = 7;
    m.ESegment.expression[1] = "kept";
    StoreESegment(m, 1, {"5", "1", "x", "x", "x", "x"});
    EXPECT_EQ(m.ESegment.disA[1], 1);
    EXPECT_EQ(m.ESegment.disB[1], 5);
    EXPECT_EQ(m.ESegment.constant[1], 7);
    EXPECT_EQ(m.ESegment.expression[1], "kept");
}

struct ValueCase {
    double x;
    double value;
};

// None definitions (entries disA, disB, value, from entry 0 on) and the count of records: the
// first record k = 1..count with disA < x <= disB gives the value; where none does, entry 0.
TEST(BeamModelValueAt, TheFirstRecordCoveringAPositionAfterItsStartGivesTheValue) {
    const struct {
        const char* name;
        std::vector<std::array<double, 3>> entries;
        std::int16_t count;
        std::vector<ValueCase> values;
    } cases[] = {
        {"one segment",
         {{0, 0, 0}, {0, 10, 205}},
         1,
         {{0, 0}, {-1, 0}, {0.001, 205}, {5, 205}, {10, 205}, {10.5, 0}}},
        {"overlapping",
         {{0, 0, 0}, {0, 6, 100}, {4, 10, 200}},
         2,
         {{3, 100}, {4, 100}, {6, 100}, {6.01, 200}, {10, 200}}},
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
        for (const auto& v : c.values) {
            EXPECT_EQ(EValueAt(m, v.x), v.value) << c.name << " x = " << v.x;
            EXPECT_EQ(IValueAt(m, v.x), v.value) << c.name << " x = " << v.x;
        }
    }
}

TEST(BeamModelValueAt, ALinearSegmentInterpolatesBetweenItsEnds) {
    BeamModel m = dimensionedModel();
    m.ESegment.variation[1] = Variation::Linear;
    StoreESegment(m, 1, {"2", "6", "", "200", "210", ""});
    m.count(RecordKind::ESegment) = 1;
    const ValueCase cases[] = {{2, 0}, {3, 202.5}, {4, 205}, {6, 210}, {7, 0}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(EValueAt(m, c.x), c.value) << "x = " << c.x;
}

TEST(BeamModelValueAt, ACurveIsEvaluatedAtThePosition) {
    BeamModel m = dimensionedModel();
    m.ISegment.variation[1] = Variation::Curve;
    StoreISegment(m, 1, {"0", "10", "", "", "", "100+x*2"});
    m.count(RecordKind::ISegment) = 1;
    EXPECT_EQ(IValueAt(m, 2.5), 105);
    EXPECT_EQ(IValueAt(m, 10), 120);
    EXPECT_EQ(IValueAt(m, 11), 0);
}

// A law read once gives PropertyValueAt's value wherever its record covers the position.
TEST(BeamModelValueAt, ALawGivesTheValueOfItsRecord) {
    BeamModel m = dimensionedModel();
    setNoneSegment(m.ESegment, 1, 0, 2, 205);
    m.ESegment.variation[2] = Variation::Linear;
    StoreESegment(m, 2, {"2", "6", "", "200", "210", ""});
    m.ESegment.variation[3] = Variation::Curve;
    StoreESegment(m, 3, {"6", "10", "", "", "", "100+x*0.1"});
    m.ESegment.variation[4] = Variation::Curve;
    StoreESegment(m, 4, {"10", "12", "", "", "", "7*2"});
    m.count(RecordKind::ESegment) = 4;
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
}

TEST(UndefinedStretches, WhereNoDefinitionGivesAValue) {
    struct Case {
        const char* name;
        std::vector<std::array<double, 3>> segments; // disA, disB, variation
        std::vector<Stretch> undefined;              // on a 10 m span
    };
    const Case cases[] = {
        {"none", {}, {{0, 10}}},
        {"full", {{0, 10, Variation::None}}, {}},
        {"beyond the span", {{0, 12, Variation::Linear}}, {}},
        {"short", {{0, 8, Variation::Curve}}, {{8, 10}}},
        {"a cut", {{0, 4, 1}, {6, 10, 1}}, {{4, 6}}},
        {"overlaps", {{0, 5, 1}, {3, 7, 1}, {9, 11, 1}}, {{7, 9}}},
        {"no variation", {{0, 10, 0}}, {{0, 10}}},
        {"covered first by one without", {{2, 4, 0}, {0, 10, 1}}, {{2, 4}}},
        {"all before the beam", {{-5, 0, 1}}, {{0, 10}}},
        {"gaps in a row", {{1, 2, 1}, {3, 4, 1}}, {{0, 1}, {2, 3}, {4, 10}}},
    };
    for (const Case& c : cases) {
        BeamModel m = dimensionedModel();
        std::int16_t n = 0;
        for (const auto& [a, b, variation] : c.segments) {
            setNoneSegment(m.ESegment, ++n, a, b, 200);
            m.ESegment.variation[static_cast<std::size_t>(n)] = variation;
        }
        m.count(RecordKind::ESegment) = n;
        EXPECT_EQ(UndefinedStretches(m.ESegment, n, 10), c.undefined) << c.name;
    }
    // Entry 0, when it is a definition, stands for every position the others leave.
    BeamModel m = dimensionedModel();
    setNoneSegment(m.ESegment, 0, 0, 0, 50);
    setNoneSegment(m.ESegment, 1, 0, 4, 200);
    m.count(RecordKind::ESegment) = 1;
    EXPECT_TRUE(UndefinedStretches(m.ESegment, 1, 10).empty());
    EXPECT_TRUE(UndefinedStretches(m.ESegment, 1, -5).empty());
}

TEST(BeamModelValueAt, ACountBeyondTheListsIsRefused) {
    BeamModel m = dimensionedModel(5);
    m.count(RecordKind::ESegment) = 6;
    const KradonError e = thrownBy([&] { EValueAt(m, 1); });
    EXPECT_EQ(e.number(), ErrorNumber::SubscriptOutOfRange);
    EXPECT_STREQ(e.what(), "Record number 6 is beyond the capacity of 5 records");
}

/// A model with the given point loads, numbered 1.. in order, each stored as a dialog does.
BeamModel withPointLoads(const std::vector<std::pair<const char*, const char*>>& loads) {
    BeamModel m = dimensionedModel();
    std::int16_t n = 0;
    for (const auto& [value, location] : loads) {
        ++n;
        NoteRecordNumber(m, RecordKind::PointLoad, n);
        StorePointLoad(m, n, {value, location});
    }
    return m;
}

TEST(BeamModelDelete, LaterRecordsMoveDownAndTheModelEqualsOneBuiltWithoutTheRecord) {
    struct Case {
        const char* name;
        std::int16_t deleted;
        std::vector<std::pair<const char*, const char*>> left;
    };
    const std::vector<Case> cases = {
        {"first", 1, {{"20", "5"}, {"30", "8"}}},
        {"middle", 2, {{"10", "2"}, {"30", "8"}}},
        {"last", 3, {{"10", "2"}, {"20", "5"}}},
    };
    for (const Case& c : cases) {
        BeamModel m = withPointLoads({{"10", "2"}, {"20", "5"}, {"30", "8"}});
        DeleteRecord(m, RecordKind::PointLoad, c.deleted);
        EXPECT_EQ(m, withPointLoads(c.left)) << c.name;
    }
}

TEST(BeamModelDelete, EntriesBeyondTheCountAndOtherKindsAreKept) {
    BeamModel m = withPointLoads({{"10", "2"}, {"20", "5"}});
    m.PointLoad.value[7] = 99; // left from an earlier, larger model
    NoteRecordNumber(m, RecordKind::UDL, 1);
    StoreUDL(m, 1, {"4", "0", "6"});
    DeleteRecord(m, RecordKind::PointLoad, 1);
    EXPECT_EQ(m.count(RecordKind::PointLoad), 1);
    EXPECT_EQ(m.PointLoad.value, (std::vector<double>{0, 20, 0, 0, 0, 0, 0, 99, 0, 0, 0}));
    EXPECT_EQ(m.PointLoad.location, (std::vector<double>{0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(m.count(RecordKind::UDL), 1);
    EXPECT_EQ(m.UDL.end[1], 6);
}

TEST(BeamModelDelete, ASegmentTakesItsExpressionAlong) {
    BeamModel m = dimensionedModel();
    for (std::int16_t n = 1; n <= 2; ++n) {
        NoteRecordNumber(m, RecordKind::ISegment, n);
        m.ISegment.variation[static_cast<std::size_t>(n)] = Variation::Curve;
    }
    StoreISegment(m, 1, {"0", "5", "", "", "", "x*2"});
    StoreISegment(m, 2, {"5", "10", "", "", "", "x^2+1"});
    DeleteRecord(m, RecordKind::ISegment, 1);
    EXPECT_EQ(m.count(RecordKind::ISegment), 1);
    EXPECT_EQ(m.ISegment.expression[1], "x^2+1");
    EXPECT_EQ(m.ISegment.expression[2], "");
    EXPECT_EQ(m.ISegment.variation[2], 0);
    EXPECT_EQ(m.ISegment.disA[1], 5);
    EXPECT_EQ(m.count(RecordKind::ESegment), 0);
}

TEST(BeamModelDelete, ANumberOutsideTheRecordsIsRefusedAndNothingChanges) {
    const BeamModel before = withPointLoads({{"10", "2"}, {"20", "5"}});
    for (const std::int16_t n : {std::int16_t{0}, std::int16_t{3}, std::int16_t{-1}}) {
        BeamModel m = before;
        const KradonError e = thrownBy([&] { DeleteRecord(m, RecordKind::PointLoad, n); });
        EXPECT_EQ(e.number(), ErrorNumber::SubscriptOutOfRange) << n;
        EXPECT_EQ(m, before) << n;
    }
    BeamModel m = before;
    EXPECT_STREQ(thrownBy([&] { DeleteRecord(m, RecordKind::PointLoad, 3); }).what(),
                 "Record number 3 is not one of the 2 records of its kind");
}

TEST(BeamModelDelete, ACountBeyondTheListsIsRefused) {
    BeamModel m = dimensionedModel(5);
    m.count(RecordKind::MomentLoad) = 7; // as a damaged model might claim
    const BeamModel before = m;
    const KradonError e = thrownBy([&] { DeleteRecord(m, RecordKind::MomentLoad, 2); });
    EXPECT_EQ(e.number(), ErrorNumber::SubscriptOutOfRange);
    EXPECT_EQ(m, before);
}

} // namespace
} // namespace kradon
