// The load, support and E/I definition dialogs, driven through the main window's Add commands:
// what they show and store, and the input they refuse.
#include "DialogTestSupport.h"
#include "app/RecordDialogs.h"
#include "app/dialogs/LoadDialog.h"
#include "app/dialogs/frmSsn.h"
#include "app/dialogs/frmSup.h"
#include "app/dialogs/frmVariation.h"

#include <QAction>
#include <QCheckBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QToolButton>
#include <vector>

namespace kradon::test {
namespace {

TEST(Dialogs, EveryAddCommandOpensItsModelessDialogAndOKStoresTheNextRecord) {
    MainWindowFixture f;
    frmMain& main = *f.main;
    QSignalSpy edited(&main, &frmMain::modelEdited);
    struct Item {
        QAction* item;
        const char* name;
        const char* title;
    };
    const std::vector<Item> items = {
        {main.mnuAddPL, "frmPln", "Point Load Details"},
        {main.mnuAddUDL, "frmUln", "UDL Details"},
        {main.mnuAddTDL, "frmTln", "Trapezoidal Load Details"},
        {main.mnuAddML, "frmMln", "Moment Load Details"},
        {main.mnuAddSup, "frmSup", "Support Details"},
        {main.mnuAddSpring, "frmSsn", "Spring Support Details"},
        {main.mnuAddFixedDisp, "frmFdn", "Fixed Displacement Details"},
        {main.mnuEvalue, "frmVariation", "Young's Modulus Definition"},
        {main.mnuIvalue, "frmVariation", "Second Moment of Area Definition"}};
    for (const Item& i : items) {
        QDialog* dialog = OpenDialog(main, i.item, i.name);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), i.title);
        EXPECT_FALSE(dialog->isModal()) << "the main window stays usable";
        auto* ok = dialog->findChild<QPushButton*>("OKButton");
        QTest::mouseClick(ok ? ok : dialog->findChild<QPushButton*>("ApplyBtn"), Qt::LeftButton);
    }
    EXPECT_TRUE(main.recordDialogs().iDialog()->isVisible()) << "Apply leaves it open";
    const BeamModel& m = main.state().model;
    for (std::size_t kind = 0; kind < RecordKindCount; ++kind)
        EXPECT_EQ(m.counts[kind], 1) << kind;
    EXPECT_EQ(edited.count(), 9);
    EXPECT_TRUE(main.isModified());
    EXPECT_TRUE(f.messages.shown.empty());
    // The explorer's double-click on a record opens that record's dialog.
    auto* pointLoad = main.findChild<QDialog*>("frmPln");
    EXPECT_FALSE(pointLoad->isVisible()) << "OK closes it";
    main.EditRecord(RecordKind::PointLoad, 1);
    EXPECT_TRUE(pointLoad->isVisible());
    main.EditRecord(RecordKind::ESegment, 1);
    EXPECT_TRUE(main.recordDialogs().eDialog() != nullptr &&
                main.recordDialogs().eDialog()->isVisible());
}

TEST(Dialogs, TheTextsStayExistingRecordsFillTheFieldsAndUndoNamesEachStep) {
    MainWindowFixture f;
    const BeamModel& m = f.main->state().model;
    QAction& undo = *f.main->mnuUndo;
    QDialog* d = ClickAdd(*f.main, AddPointLoad, "frmPln");
    Type(d, "LoadVal", "7");
    Type(d, "LoadLoc", "3.25");
    QTest::keyClick(Field(d, "LoadLoc"), Qt::Key_Return); // Enter is OK
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(undo.text(), "&Undo Add Point Load 1");
    ASSERT_EQ(ClickAdd(*f.main, AddPointLoad, "frmPln"), d) << "one window per run";
    ExpectShown(*d, {"LoadNoLab=Point Load No. 2", "LoadVal=7", "LoadLoc=3.25"});

    // An existing record: its values, and OK edits it in place.
    f.main->recordDialogs().pointLoadDialog().frmPlnShow(1);
    ExpectShown(*d, {"LoadNoLab=Point Load No. 1", "LoadVal=7", "LoadLoc=3.25"});
    Type(d, "LoadLoc", "4");
    Click(d, "OKButton");
    EXPECT_EQ(m.count(RecordKind::PointLoad), 1) << "editing leaves the count";
    EXPECT_EQ(undo.text(), "&Undo Edit Point Load 1");
    undo.trigger();
    EXPECT_EQ(undo.text(), "&Undo Add Point Load 1");
    EXPECT_EQ(f.main->mnuRedo->text(), "&Redo Edit Point Load 1");
    f.main->mnuRedo->trigger();
    EXPECT_EQ(m.PointLoad.location[1], 4);
    f.main->recordDialogs().pointLoadDialog().frmPlnShow(0);
    ExpectShown(*d, {"LoadNoLab=Point Load No. 0", "LoadVal=0", "LoadLoc=0"});
    Type(d, "LoadVal", "5");
    Click(d, "OKButton");
    EXPECT_EQ(m.PointLoad.value[0], 5);
    EXPECT_EQ(m.count(RecordKind::PointLoad), 1) << "record 0 is not counted";

    // Esc, as Cancel, stores nothing but keeps the texts.
    const BeamModel before = m;
    d = ClickAdd(*f.main, AddUniformLoad, "frmUln");
    Type(d, "LoadLocA", "1");
    QTest::keyClick(Field(d, "LoadLocA"), Qt::Key_Escape);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(m, before);
    EXPECT_EQ(Field(ClickAdd(*f.main, AddUniformLoad, "frmUln"), "LoadLocA")->text(), "1");
    // After a click on Cancel, Enter in the dialog opened again is OK once more.
    QTest::mouseClick(d->findChild<QPushButton*>("CancelButton"), Qt::LeftButton);
    d = ClickAdd(*f.main, AddUniformLoad, "frmUln");
    QTest::keyClick(Field(d, "LoadLocB"), Qt::Key_Return);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(m.count(RecordKind::UDL), 1);
}

TEST(Dialogs, SupportTypesComeFromThePictureButtonsAndValuesFromTheTickedBoxes) {
    MainWindowFixture f;
    QDialog* d = ClickAdd(*f.main, AddRigidSupport, "frmSup");
    Click(d, "SupTypeBtn_1");
    EXPECT_EQ(LabelText(d, "SupType"), "2");
    Click(d, "OKButton");
    d = ClickAdd(*f.main, AddRigidSupport, "frmSup");
    Click(d, "SupTypeBtn_0");
    EXPECT_EQ(LabelText(d, "SupType"), "1");
    Click(d, "OKButton");
    const BeamModel& m = f.main->state().model;
    EXPECT_EQ(m.RigidSupport.type[1], SupportType::Fixed);

    // The Fixed support shows code 2 though Pinned was the button clicked last.
    f.main->recordDialogs().rigidSupportDialog().frmSupShow(1);
    ExpectShown(*d, {"SupType=2", "SupDis=0"});
    EXPECT_FALSE(Find<QLabel>(d, "SupType")->isVisible()) << "the code is not shown";
    EXPECT_TRUE(Find<QToolButton>(d, "SupTypeBtn_0")->isChecked());

    // Springs (and fixed displacements, built alike) store only the ticked values.
    d = ClickAdd(*f.main, AddSpringSupport, "frmSsn");
    auto* vssCheck = Find<QCheckBox>(d, "vssCheck");
    auto* rssCheck = Find<QCheckBox>(d, "rssCheck");
    EXPECT_FALSE(Field(d, "vssVal")->isEnabled());
    Click(d, "vssCheck");
    EXPECT_TRUE(Field(d, "vssVal")->isEnabled());
    EXPECT_FALSE(Field(d, "rssVal")->isEnabled());
    Type(d, "vssVal", "5");
    Field(d, "rssVal")->setText("not read while unticked");
    Click(d, "OKButton");
    EXPECT_EQ(m.SpringSupport.vertical[1], 5);
    EXPECT_EQ(m.SpringSupport.rotational[1], 0);

    // A stored non-zero stiffness ticks its box; a zero one leaves the box as it was.
    f.main->EditModel([](BeamModel& model) {
        NoteRecordNumber(model, RecordKind::SpringSupport, 2);
        StoreSpringSupport(model, 2, {"3", "0", "250", false, true});
    });
    Click(d, "vssCheck");
    f.main->recordDialogs().springSupportDialog().frmSsnShow(2);
    EXPECT_TRUE(rssCheck->isChecked());
    EXPECT_TRUE(Field(d, "rssVal")->isEnabled());
    EXPECT_FALSE(vssCheck->isChecked());
    ExpectShown(*d, {"vssVal=0", "rssVal=250"});
}

// --- E and I definitions --------------------------------------------------------------------

bool checked(QWidget* d, const char* option) {
    return Find<QRadioButton>(d, option)->isChecked();
}

TEST(Variation, EDialogAppliesMovesOnFillsTheFullSpanAndEveryAddMakesAFreshOne) {
    MainWindowFixture f;
    TypeSpan(*f.main, "10");
    QDialog* d = ClickAdd(*f.main, AddEValue, "frmVariation");
    ASSERT_EQ(f.main->recordDialogs().eDialog(), d);
    ExpectShown(*d, {"spanLbl=Overall Beam Length: 10m", "SegLbl=Segment No. 1",
                     "PercentLbl=Percentage of Beam Defined: 0%", "SegEndTxt=2"});
    EXPECT_TRUE(checked(d, "Variation_0"));
    Click(d, "ApplyBtn");
    const BeamModel& m = f.main->state().model;
    EXPECT_EQ(m.count(RecordKind::ESegment), 1);
    EXPECT_EQ(m.ESegment.disB[1], 2);
    EXPECT_EQ(m.ESegment.expression[1], "N/A");
    EXPECT_TRUE(d->isVisible());
    // The typed texts stay.
    ExpectShown(
        *d, {"SegLbl=Segment No. 2", "PercentLbl=Percentage of Beam Defined: 20%", "SegEndTxt=2"});
    EXPECT_TRUE(f.messages.shown.empty());

    // A linear variation typed falling is stored rising, and the choice stays.
    Click(d, "Variation_1");
    EXPECT_FALSE(Field(d, "NoneTxt")->isEnabled());
    EXPECT_TRUE(Field(d, "LinearEndTxt")->isEnabled());
    Type(d, "SegStartTxt", "6");
    Type(d, "SegEndTxt", "2");
    Type(d, "LinearStartTxt", "30");
    Type(d, "LinearEndTxt", "20");
    QTest::keyClick(Field(d, "LinearEndTxt"), Qt::Key_Return); // Enter is Apply
    EXPECT_EQ(m.ESegment.variation[2], Variation::Linear);
    EXPECT_EQ(std::pair(m.ESegment.disA[2], m.ESegment.disB[2]), std::pair(2.0, 6.0));
    EXPECT_EQ(std::pair(m.ESegment.linearStart[2], m.ESegment.linearEnd[2]), std::pair(20.0, 30.0));

    // Full Span fills From and To; unticked, To goes back to a tenth of the span, rounded half
    // to even.
    Type(d, "SegStartTxt", "3");
    Click(d, "FullSpanChk");
    ExpectShown(*d, {"SegStartTxt=0", "SegEndTxt=10"});
    for (const auto& [span, tenth] :
         {std::pair{"", "1"}, std::pair{"25", "2"}, std::pair{"35", "4"}}) {
        if (*span != '\0') {
            TypeSpan(*f.main, span);
            Click(d, "FullSpanChk");
            EXPECT_EQ(Field(d, "SegEndTxt")->text(), span);
        }
        Click(d, "FullSpanChk");
        EXPECT_EQ(Field(d, "SegEndTxt")->text(), tenth) << span;
    }

    // Every Add makes a fresh dialog; Esc ends it, and the reference clears.
    QPointer<QDialog> old = d;
    QDialog* second = ClickAdd(*f.main, AddEValue, "frmVariation");
    EXPECT_TRUE(old.isNull()) << "the earlier E dialog has ended";
    EXPECT_EQ(Field(second, "LinearEndTxt")->text(), "200") << "not the texts typed before";
    QTest::keyClick(Field(second, "NoneTxt"), Qt::Key_Escape);
    Settle();
    EXPECT_EQ(f.main->recordDialogs().eDialog(), nullptr);

    QDialog* i = ClickAdd(*f.main, AddIValue, "frmVariation");
    ASSERT_EQ(f.main->recordDialogs().iDialog(), i);
    // Once the I dialog's curve caption said E.
    ExpectShown(*i, {"NoneLbl2=cm4", "CurveLbl1=Expression is I ="});
    Type(i, "NoneTxt", "8000");
    Click(i, "ApplyBtn");
    EXPECT_EQ(m.count(RecordKind::ESegment), 2);
    EXPECT_EQ(m.ISegment.constant[1], 8000);
}

TEST(Variation, AnExistingDefinitionOpensOnItsOwnKindAndApplyKeepsIt) {
    MainWindowFixture f;
    QDialog* d = ClickAdd(*f.main, AddIValue, "frmVariation");
    Click(d, "Variation_2");
    Type(d, "SegEndTxt", "6");
    Type(d, "CurveTxt", "20000 - 2000 * x");
    Click(d, "ApplyBtn");
    Click(d, "Variation_1");
    Type(d, "SegStartTxt", "6");
    Type(d, "SegEndTxt", "15");
    Click(d, "ApplyBtn");
    EXPECT_EQ(f.main->mnuUndo->text(), "&Undo Add I Definition 2");
    const BeamModel stored = f.main->state().model;

    for (const auto& [n, option] : {std::pair{1, "Variation_2"}, std::pair{2, "Variation_1"}}) {
        frmVariation& again =
            f.main->recordDialogs().ShowVariation(static_cast<std::int16_t>(n), "i");
        EXPECT_TRUE(checked(&again, option)) << n;
        Click(&again, "ApplyBtn");
        EXPECT_EQ(f.main->state().model, stored) << "Apply stores what is shown: " << n;
    }
    frmVariation& first = f.main->recordDialogs().ShowVariation(1, "i");
    ExpectShown(first,
                {"CurveTxt=20000 - 2000 * x", "PercentLbl=Percentage of Beam Defined: 100%"});
    // Apply moves on to the next segment, which shows its own kind.
    Click(&first, "ApplyBtn");
    EXPECT_TRUE(checked(&first, "Variation_1"));
    EXPECT_EQ(first.flags(), (std::array<bool, 3>{false, true, false})) << "flags agree";
    Type(&first, "LinearEndTxt", "9000");
    Click(&first, "ApplyBtn");
    EXPECT_EQ(f.main->mnuUndo->text(), "&Undo Edit I Definition 2");
}

// --- Refused input --------------------------------------------------------------------------

TEST(RefusedInput, TheFieldThatHoldsNoNumberIsNamedAndARecordBeyondTheCapacityRefused) {
    MainWindowFixture f;
    const BeamModel before = f.main->state().model;
    QSignalSpy edited(f.main.get(), &frmMain::modelEdited);
    struct Case {
        int button;
        const char* dialog;
        const char* field;
        const char* text;
        const char* message;
    };
    // The number rules on one field; the other dialogs name their field the same way. The
    // rotational stiffness counts once its box is ticked.
    const std::vector<Case> cases = {
        {AddPointLoad, "frmPln", "LoadVal", "abc", "Load Value: \"abc\" is not a number."},
        {AddPointLoad, "frmPln", "LoadVal", "", "Please enter a number for Load Value."},
        {AddPointLoad, "frmPln", "LoadVal", "1e999", "Load Value: \"1e999\" is not a number."},
        {AddPointLoad, "frmPln", "LoadVal", "12kN", "Load Value: \"12kN\" is not a number."},
        {AddSpringSupport, "frmSsn", "rssVal", "stiff",
         "Rotational stiffness: \"stiff\" is not a number."},
        {AddEValue, "frmVariation", "SegEndTxt", "x", "To: \"x\" is not a number."}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        f.messages.shown.clear();
        QDialog* d = ClickAdd(*f.main, c.button, c.dialog);
        ASSERT_NE(d, nullptr);
        if (c.button == AddSpringSupport)
            Click(d, "rssCheck");
        Type(d, c.field, c.text);
        QTest::keyClick(Field(d, c.field), Qt::Key_Return);
        ASSERT_EQ(f.messages.shown.size(), 1u);
        EXPECT_EQ(f.messages.shown[0].text, c.message);
        EXPECT_EQ(f.messages.shown[0].title, d->windowTitle().toStdString());
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(f.main->state().model, before);
        Type(d, c.field, "1");
    }
    EXPECT_EQ(edited.count(), 0);
    EXPECT_FALSE(f.main->isModified());

    f.messages.shown.clear();
    ASSERT_EQ(f.main->state().model.MaxNoApplieds, 10);
    f.main->EditModel([](BeamModel& m) {
        for (std::int16_t n = 1; n <= 10; ++n)
            NoteRecordNumber(m, RecordKind::PointLoad, n);
    });
    const BeamModel full = f.main->state().model;
    QDialog* d = ClickAdd(*f.main, AddPointLoad, "frmPln");
    EXPECT_EQ(LabelText(d, "LoadNoLab"), "Point Load No. 11");
    Click(d, "OKButton");
    EXPECT_EQ(f.messages.texts(),
              (std::vector<std::string>{"Point Load No. 11 cannot be stored: each list of the "
                                        "model holds at most 10 records."}));
    EXPECT_EQ(f.messages.shown[0].title, "Point Load Details");
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(f.main->state().model, full);

    // The E dialog moves on past the last segment and refuses it there.
    frmVariation& e = f.main->recordDialogs().ShowVariation(10, "e");
    Click(&e, "ApplyBtn");
    EXPECT_EQ(LabelText(&e, "SegLbl"), "Segment No. 11");
    const BeamModel tenth = f.main->state().model;
    Click(&e, "ApplyBtn");
    EXPECT_EQ(f.messages.texts().back(),
              "Segment No. 11 cannot be stored: each list of the model holds at most 10 records.");
    EXPECT_EQ(f.main->state().model, tenth);
    EXPECT_TRUE(e.isVisible());
}

} // namespace
} // namespace kradon::test
