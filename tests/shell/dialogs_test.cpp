// The load, support and E/I definition dialogs, driven through the main window's Add commands:
// their controls and texts, what they store, and the input they refuse.
#include "DialogTestSupport.h"
#include "app/dialogs/LoadDialog.h"
#include "app/dialogs/frmSsn.h"
#include "app/dialogs/frmSup.h"
#include "app/dialogs/frmVariation.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QToolButton>
#include <functional>
#include <utility>
#include <vector>

namespace kradon::test {
namespace {

using Texts = std::vector<std::pair<const char*, const char*>>;

/// Every named control of dialog shows its text (labels, fields, buttons, frames).
void expectTexts(QWidget* dialog, const Texts& texts) {
    for (const auto& [name, text] : texts) {
        QObject* control = dialog->findChild<QObject*>(name);
        ASSERT_NE(control, nullptr) << name;
        QString shown;
        if (auto* label = qobject_cast<QLabel*>(control))
            shown = label->text();
        else if (auto* field = qobject_cast<QLineEdit*>(control))
            shown = field->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(control))
            shown = button->text();
        else if (auto* frame = qobject_cast<QGroupBox*>(control))
            shown = frame->title();
        EXPECT_EQ(Shown(shown), text) << name;
    }
}

TEST(Dialogs, LoadAndSupportDialogsShowTheirDesign) {
    MainWindowFixture f;
    struct Design {
        int button;
        const char* name;
        const char* caption;
        Texts texts;
    };
    const std::vector<Design> designs = {
        {AddPointLoad,
         "frmPln",
         "Point Load Details",
         {{"LoadNoLab", "Point Load No. 1"},
          {"Label3", "Load Value"},
          {"LoadVal", "10"},
          {"Label1", "kN"},
          {"Label4", "Load Location"},
          {"LoadLoc", "2.5"},
          {"Label7", "m"},
          {"OKButton", "OK"},
          {"CancelButton", "Cancel"}}},
        {AddUniformLoad,
         "frmUln",
         "UDL Details",
         {{"LoadNoLab", "UDL Load No. 1"},
          {"LoadVal", "10"},
          {"LoadLocA", "0"},
          {"LoadLocB", "8"},
          {"Label1", "Load Value"},
          {"Label2", "kN/m"},
          {"Label3", "Load Start"},
          {"Label4", "m"},
          {"Label5", "Load End"},
          {"Label6", "m"}}},
        {AddTrapezoidalLoad,
         "frmTln",
         "Trapezoidal Load Details",
         {{"LoadNoLab", "TDL Load No. 1"},
          {"LoadValA", "10"},
          {"LoadValB", "50"},
          {"LoadLocA", "0"},
          {"LoadLocB", "5"},
          {"Label1", "Load Start Value"},
          {"Label3", "Load End Value"},
          {"Label5", "Load Start"},
          {"Label7", "Load End"}}},
        {AddMomentLoad,
         "frmMln",
         "Moment Load Details",
         {{"LoadNoLab", "Moment Load No. 1"},
          {"LoadVal", "10"},
          {"Label2", "kNm"},
          {"LoadLoc", "12.5"},
          {"Label1", "Load Value"},
          {"Label3", "Load Location"}}},
        {AddRigidSupport,
         "frmSup",
         "Support Details",
         {{"SupNoLab", "Rigid Support No. 1"},
          {"Label1", "Supporrt Location"},
          {"SupDis", "0"},
          {"Label2", "m"},
          {"Frame1", "Select Support Type"},
          {"SupTypeBtn_0", "Pinned"},
          {"SupTypeBtn_1", "Fixed"},
          {"SupType", "1"}}},
        {AddSpringSupport,
         "frmSsn",
         "Spring Support Details",
         {{"SsnNoLab", "Spring Support No. 1"},
          {"Label1", "Spring Supporrt Location"},
          {"SsnDis", "15"},
          {"Frame1", "Specify Spring Stiffnesses"},
          {"vssCheck", "Vertical"},
          {"vssVal", "1000"},
          {"vssLab", "kN/mm"},
          {"rssCheck", "Rotational"},
          {"rssVal", "1000"},
          {"rssLab", "kN/rad"}}},
        {AddFixedDisplacement,
         "frmFdn",
         "Fixed Displacement Details",
         {{"FdnNoLab", "Fixed Displacement No. 1"},
          {"Label1", "Fixed Displacement Location"},
          {"FdnDis", "8"},
          {"Frame1", "Specify Fixed Displacements"},
          {"vfdCheck", "Vertical"},
          {"vfdVal", "20"},
          {"vfdLab", "mm"},
          {"rfdCheck", "Rotational"},
          {"rfdVal", "0.005"},
          {"rfdLab", "rad"},
          {"NoteLbl",
           "Note:\nRotations are clockwise positive and deflections are downwards positive"}}},
    };
    for (const Design& d : designs) {
        QDialog* dialog = ClickAdd(*f.main, d.button, d.name);
        ASSERT_NE(dialog, nullptr) << d.name;
        EXPECT_EQ(dialog->windowTitle(), d.caption);
        EXPECT_FALSE(dialog->isModal()) << d.name;
        expectTexts(dialog, d.texts);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_TRUE(f.main->isEnabled()) << "the main window stays usable";
        Click(dialog, "CancelButton");
        EXPECT_FALSE(dialog->isVisible());
    }
    EXPECT_FALSE(f.main->findChild<QLabel*>("SupType")->isVisible());
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(Dialogs, PointLoadFirstUseStoresRecordOne) {
    MainWindowFixture f;
    QSignalSpy edited(f.main.get(), &frmMain::modelEdited);
    QDialog* d = ClickAdd(*f.main, AddPointLoad, "frmPln");
    EXPECT_EQ(LabelText(d, "LoadNoLab"), "Point Load No. 1");
    EXPECT_EQ(Field(d, "LoadVal")->text(), "10");
    EXPECT_EQ(Field(d, "LoadLoc")->text(), "2.5");
    Click(d, "OKButton");
    EXPECT_FALSE(d->isVisible());
    const BeamModel& m = f.main->state().model;
    EXPECT_EQ(m.count(RecordKind::PointLoad), 1);
    EXPECT_EQ(m.PointLoad.value[1], 10);
    EXPECT_EQ(m.PointLoad.location[1], 2.5);
    EXPECT_EQ(edited.count(), 1);
    EXPECT_TRUE(f.main->isModified());
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(Dialogs, SecondRecordStartsFromTheTextsOfTheFirst) {
    MainWindowFixture f;
    QDialog* d = ClickAdd(*f.main, AddPointLoad, "frmPln");
    Type(d, "LoadVal", "7");
    Type(d, "LoadLoc", "3.25");
    QTest::keyClick(Field(d, "LoadLoc"), Qt::Key_Return); // Enter is OK
    EXPECT_FALSE(d->isVisible());
    ASSERT_EQ(ClickAdd(*f.main, AddPointLoad, "frmPln"), d) << "one window per run";
    EXPECT_EQ(LabelText(d, "LoadNoLab"), "Point Load No. 2");
    EXPECT_EQ(Field(d, "LoadVal")->text(), "7");
    EXPECT_EQ(Field(d, "LoadLoc")->text(), "3.25");
    Click(d, "OKButton");
    const BeamModel& m = f.main->state().model;
    EXPECT_EQ(m.count(RecordKind::PointLoad), 2);
    EXPECT_EQ(m.PointLoad.value[2], 7);
    EXPECT_EQ(m.PointLoad.location[2], 3.25);
}

TEST(Dialogs, CancelAndEscStoreNothingButKeepTheTexts) {
    MainWindowFixture f;
    const BeamModel before = f.main->state().model;
    QDialog* d = ClickAdd(*f.main, AddUniformLoad, "frmUln");
    Type(d, "LoadVal", "12");
    Type(d, "LoadLocB", "9");
    Click(d, "CancelButton");
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(f.main->state().model, before);
    d = ClickAdd(*f.main, AddUniformLoad, "frmUln");
    EXPECT_EQ(LabelText(d, "LoadNoLab"), "UDL Load No. 1");
    EXPECT_EQ(Field(d, "LoadVal")->text(), "12");
    EXPECT_EQ(Field(d, "LoadLocB")->text(), "9");
    Type(d, "LoadLocA", "1");
    QTest::keyClick(Field(d, "LoadLocA"), Qt::Key_Escape);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(f.main->state().model, before);
    EXPECT_EQ(Field(d, "LoadLocA")->text(), "1");
}

TEST(Dialogs, ExistingRecordsAndRecordZeroFillTheFields) {
    MainWindowFixture f;
    QDialog* d = ClickAdd(*f.main, AddPointLoad, "frmPln");
    Type(d, "LoadVal", "0.1");
    Click(d, "OKButton");
    ClickAdd(*f.main, AddPointLoad, "frmPln");
    Type(d, "LoadVal", "99");
    Click(d, "CancelButton");
    f.main->pointLoadDialog().frmPlnShow(1);
    EXPECT_EQ(LabelText(d, "LoadNoLab"), "Point Load No. 1");
    EXPECT_EQ(Field(d, "LoadVal")->text(), "0.1");
    Type(d, "LoadLoc", "4");
    Click(d, "OKButton");
    const BeamModel& m = f.main->state().model;
    EXPECT_EQ(m.count(RecordKind::PointLoad), 1) << "editing leaves the count";
    EXPECT_EQ(m.PointLoad.location[1], 4);

    f.main->pointLoadDialog().frmPlnShow(0);
    EXPECT_EQ(LabelText(d, "LoadNoLab"), "Point Load No. 0");
    EXPECT_EQ(Field(d, "LoadVal")->text(), "0");
    EXPECT_EQ(Field(d, "LoadLoc")->text(), "0");
    Type(d, "LoadVal", "5");
    Click(d, "OKButton");
    EXPECT_EQ(m.PointLoad.value[0], 5);
    EXPECT_EQ(m.count(RecordKind::PointLoad), 1) << "record 0 is not counted";
}

TEST(Dialogs, EveryAddCommandOpensItsDialogOnTheNextRecord) {
    MainWindowFixture f;
    frmMain& main = *f.main;
    const auto visible = [&main](const char* name) -> QDialog* {
        for (QDialog* d : main.findChildren<QDialog*>(name))
            if (d->isVisible())
                return d;
        return nullptr;
    };
    const std::vector<std::pair<QAction*, std::function<QDialog*()>>> items = {
        {main.mnuAddPL, [&] { return visible("frmPln"); }},
        {main.mnuAddUDL, [&] { return visible("frmUln"); }},
        {main.mnuAddTDL, [&] { return visible("frmTln"); }},
        {main.mnuAddML, [&] { return visible("frmMln"); }},
        {main.mnuAddSup, [&] { return visible("frmSup"); }},
        {main.mnuAddSpring, [&] { return visible("frmSsn"); }},
        {main.mnuAddFixedDisp, [&] { return visible("frmFdn"); }},
        {main.mnuEvalue, [&] { return main.eDialog(); }},
        {main.mnuIvalue, [&] { return main.iDialog(); }}};
    for (const auto& [item, dialogOf] : items) {
        item->trigger();
        QDialog* dialog = dialogOf();
        ASSERT_NE(dialog, nullptr) << item->objectName().toStdString();
        EXPECT_TRUE(dialog->isVisible());
        auto* ok = dialog->findChild<QPushButton*>("OKButton");
        if (!ok)
            ok = dialog->findChild<QPushButton*>("ApplyBtn");
        ASSERT_NE(ok, nullptr);
        QTest::mouseClick(ok, Qt::LeftButton);
    }
    const BeamModel& m = main.state().model;
    for (std::size_t kind = 0; kind < RecordKindCount; ++kind)
        EXPECT_EQ(m.counts[kind], 1) << kind;
    EXPECT_TRUE(f.messages.shown.empty());
    // The explorer's double-click on a record opens that record's dialog.
    EXPECT_EQ(visible("frmPln"), nullptr);
    main.EditRecord(RecordKind::PointLoad, 1);
    EXPECT_NE(visible("frmPln"), nullptr);
    main.EditRecord(RecordKind::ESegment, 1);
    ASSERT_NE(main.eDialog(), nullptr);
    EXPECT_TRUE(main.eDialog()->isVisible());
}

TEST(Dialogs, EveryUndoStepNamesWhatItUndoes) {
    MainWindowFixture f;
    frmMain& main = *f.main;
    const auto ok = [&](int button, const char* name) {
        Click(ClickAdd(main, button, name), "OKButton");
        return main.mnuUndo->text();
    };
    EXPECT_EQ(ok(AddPointLoad, "frmPln"), "&Undo Add Point Load 1");
    EXPECT_EQ(ok(AddPointLoad, "frmPln"), "&Undo Add Point Load 2");
    EXPECT_EQ(ok(AddUniformLoad, "frmUln"), "&Undo Add UDL 1");
    main.EditRecord(RecordKind::UDL, 1);
    Type(&main.udlDialog(), "LoadVal", "12");
    Click(&main.udlDialog(), "OKButton");
    EXPECT_EQ(main.mnuUndo->text(), "&Undo Edit UDL 1");
    EXPECT_EQ(ok(AddFixedDisplacement, "frmFdn"), "&Undo Add Fixed Displacement 1");
    main.mnuUndo->trigger();
    EXPECT_EQ(main.mnuUndo->text(), "&Undo Edit UDL 1");
    EXPECT_EQ(main.mnuRedo->text(), "&Redo Add Fixed Displacement 1");
}

TEST(Dialogs, RigidSupportTypeComesFromThePictureButtonsAndTheRecord) {
    MainWindowFixture f;
    QDialog* d = ClickAdd(*f.main, AddRigidSupport, "frmSup");
    Click(d, "SupTypeBtn_1");
    EXPECT_EQ(LabelText(d, "SupType"), "2");
    Click(d, "OKButton");
    d = ClickAdd(*f.main, AddRigidSupport, "frmSup");
    Click(d, "SupTypeBtn_0");
    EXPECT_EQ(LabelText(d, "SupType"), "1");
    Type(d, "SupDis", "10");
    Click(d, "OKButton");
    const BeamModel& m = f.main->state().model;
    EXPECT_EQ(m.RigidSupport.type[1], SupportType::Fixed);
    EXPECT_EQ(m.RigidSupport.type[2], SupportType::Pinned);
    EXPECT_EQ(m.RigidSupport.location[2], 10);

    // The Fixed support shows code 2 though Pinned was the button clicked last.
    f.main->rigidSupportDialog().frmSupShow(1);
    EXPECT_EQ(LabelText(d, "SupType"), "2");
    EXPECT_EQ(Field(d, "SupDis")->text(), "0");
    EXPECT_TRUE(Find<QToolButton>(d, "SupTypeBtn_0")->isChecked());
}

TEST(Dialogs, SpringFlagsFollowTheTickedBoxes) {
    MainWindowFixture f;
    QDialog* d = ClickAdd(*f.main, AddSpringSupport, "frmSsn");
    auto* vssCheck = Find<QCheckBox>(d, "vssCheck");
    auto* rssCheck = Find<QCheckBox>(d, "rssCheck");
    EXPECT_FALSE(vssCheck->isChecked());
    EXPECT_FALSE(Field(d, "vssVal")->isEnabled());
    EXPECT_FALSE(Find<QLabel>(d, "vssLab")->isEnabled());
    Click(d, "vssCheck");
    EXPECT_TRUE(Field(d, "vssVal")->isEnabled());
    EXPECT_TRUE(Find<QLabel>(d, "vssLab")->isEnabled());
    EXPECT_FALSE(Field(d, "rssVal")->isEnabled());
    Type(d, "vssVal", "5");
    Field(d, "rssVal")->setText("not read while unticked");
    Click(d, "OKButton");
    EXPECT_TRUE(f.messages.shown.empty());
    const BeamModel& m = f.main->state().model;
    EXPECT_EQ(m.SpringSupport.location[1], 15);
    EXPECT_EQ(m.SpringSupport.vertical[1], 5);
    EXPECT_EQ(m.SpringSupport.rotational[1], 0);

    // A stored non-zero stiffness ticks its box; a zero one leaves the box as it was.
    f.main->EditModel([](BeamModel& model) {
        NoteRecordNumber(model, RecordKind::SpringSupport, 2);
        StoreSpringSupport(model, 2, {"3", "0", "250", false, true});
    });
    Click(d, "vssCheck");
    EXPECT_FALSE(vssCheck->isChecked());
    f.main->springSupportDialog().frmSsnShow(2);
    EXPECT_TRUE(rssCheck->isChecked());
    EXPECT_TRUE(Field(d, "rssVal")->isEnabled());
    EXPECT_FALSE(vssCheck->isChecked());
    EXPECT_EQ(Field(d, "rssVal")->text(), "250");
    EXPECT_EQ(Field(d, "vssVal")->text(), "0");
}

TEST(Dialogs, FixedDisplacementStoresOnlyTickedValues) {
    MainWindowFixture f;
    QDialog* d = ClickAdd(*f.main, AddFixedDisplacement, "frmFdn");
    EXPECT_FALSE(Field(d, "rfdVal")->isEnabled());
    Click(d, "rfdCheck");
    Click(d, "OKButton");
    const BeamModel& m = f.main->state().model;
    EXPECT_EQ(m.FixedDisplacement.location[1], 8);
    EXPECT_EQ(m.FixedDisplacement.vertical[1], 0);
    EXPECT_EQ(m.FixedDisplacement.rotational[1], 0.005);
}

// --- E and I definitions --------------------------------------------------------------------

frmVariation* variationDialog(QDialog* d) {
    return qobject_cast<frmVariation*>(d);
}

TEST(Variation, EDialogAppliesAndMovesOnToTheNextSegment) {
    MainWindowFixture f;
    TypeSpan(*f.main, "10");
    QDialog* d = ClickAdd(*f.main, AddEValue, "frmVariation");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(f.main->eDialog(), d);
    EXPECT_EQ(d->windowTitle(), "Young's Modulus Definition");
    expectTexts(d, {{"spanLbl", "Overall Beam Length: 10m"},
                    {"SegLbl", "Segment No. 1"},
                    {"PercentLbl", "Percentage of Beam Defined: 0%"},
                    {"Frame1", "Beam Segment to which Value Definition Applies"},
                    {"Label1", "From"},
                    {"SegStartTxt", "0"},
                    {"Label4", "m"},
                    {"Label3", "To"},
                    {"SegEndTxt", "2"},
                    {"Label2", "m"},
                    {"FullSpanChk", "Full Span"},
                    {"Frame2", "Value Definition"},
                    {"Label5", "Variation Type:"},
                    {"Variation_0", "None:"},
                    {"Variation_1", "Linear:"},
                    {"Variation_2", "Curve:"},
                    {"NoneLbl1", "Constant Value of"},
                    {"NoneTxt", "100"},
                    {"NoneLbl2", "kN/mm2"},
                    {"LinearLbl1", "Start Value of"},
                    {"LinearStartTxt", "100"},
                    {"LinearLbl2", "kN/mm2"},
                    {"LinearLbl3", "End Value"},
                    {"LinearEndTxt", "200"},
                    {"LinearLbl4", "kN/mm2"},
                    {"CurveLbl1", "Expression is E ="},
                    {"CurveTxt", "x^2 + 2*x + 200"},
                    {"CurveLbl2", "kN/mm2"},
                    {"ApplyBtn", "Apply"},
                    {"CloseBtn", "Close"}});
    EXPECT_TRUE(Find<QRadioButton>(d, "Variation_0")->isChecked());
    EXPECT_FALSE(Field(d, "LinearStartTxt")->isEnabled());
    EXPECT_FALSE(Field(d, "CurveTxt")->isEnabled());

    Click(d, "ApplyBtn");
    const BeamModel& m = f.main->state().model;
    EXPECT_EQ(m.count(RecordKind::ESegment), 1);
    EXPECT_EQ(m.ESegment.variation[1], Variation::None);
    EXPECT_EQ(m.ESegment.disA[1], 0);
    EXPECT_EQ(m.ESegment.disB[1], 2);
    EXPECT_EQ(m.ESegment.constant[1], 100);
    EXPECT_EQ(m.ESegment.expression[1], "N/A");
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(LabelText(d, "SegLbl"), "Segment No. 2");
    EXPECT_EQ(LabelText(d, "PercentLbl"), "Percentage of Beam Defined: 20%");
    EXPECT_EQ(Field(d, "SegEndTxt")->text(), "2") << "the typed texts stay";
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(Variation, LinearTypedFallingIsStoredRisingAndTheChoiceStays) {
    MainWindowFixture f;
    QDialog* d = ClickAdd(*f.main, AddEValue, "frmVariation");
    Click(d, "Variation_1");
    EXPECT_FALSE(Field(d, "NoneTxt")->isEnabled());
    EXPECT_TRUE(Field(d, "LinearEndTxt")->isEnabled());
    Type(d, "SegStartTxt", "6");
    Type(d, "SegEndTxt", "2");
    Type(d, "LinearStartTxt", "30");
    Type(d, "LinearEndTxt", "20");
    QTest::keyClick(Field(d, "LinearEndTxt"), Qt::Key_Return); // Enter is Apply
    const BeamModel& m = f.main->state().model;
    EXPECT_EQ(m.ESegment.variation[1], Variation::Linear);
    EXPECT_EQ(m.ESegment.disA[1], 2);
    EXPECT_EQ(m.ESegment.disB[1], 6);
    EXPECT_EQ(m.ESegment.linearStart[1], 20);
    EXPECT_EQ(m.ESegment.linearEnd[1], 30);
    EXPECT_EQ(m.ESegment.constant[1], 0);

    // The option button and the flags agree on the next segment: Linear again.
    frmVariation* v = variationDialog(d);
    EXPECT_TRUE(Find<QRadioButton>(d, "Variation_1")->isChecked());
    EXPECT_EQ(v->flags(), (std::array<bool, 3>{false, true, false}));
    Click(d, "ApplyBtn");
    EXPECT_EQ(m.ESegment.variation[2], Variation::Linear);

    // Curve after Linear clears the Linear flag.
    Click(d, "Variation_2");
    EXPECT_EQ(v->flags(), (std::array<bool, 3>{false, false, true}));
    Type(d, "CurveTxt", "200 + 10*sin(x/3)");
    Click(d, "ApplyBtn");
    EXPECT_EQ(m.ESegment.variation[3], Variation::Curve);
    EXPECT_EQ(m.ESegment.expression[3], "200 + 10*sin(x/3)");
    EXPECT_EQ(m.count(RecordKind::ESegment), 3);
}

TEST(Variation, FullSpanFillsFromAndTo) {
    MainWindowFixture f;
    QDialog* d = ClickAdd(*f.main, AddEValue, "frmVariation");
    Type(d, "SegStartTxt", "3");
    Click(d, "FullSpanChk");
    EXPECT_EQ(Field(d, "SegStartTxt")->text(), "0");
    EXPECT_EQ(Field(d, "SegEndTxt")->text(), "15");
    Click(d, "FullSpanChk");
    EXPECT_EQ(Field(d, "SegEndTxt")->text(), "2") << "1.5 rounds to 2";
    TypeSpan(*f.main, "25");
    Click(d, "FullSpanChk");
    EXPECT_EQ(Field(d, "SegEndTxt")->text(), "25");
    Click(d, "FullSpanChk");
    EXPECT_EQ(Field(d, "SegEndTxt")->text(), "2") << "2.5 rounds to the even 2";
    TypeSpan(*f.main, "35");
    Click(d, "FullSpanChk");
    Click(d, "FullSpanChk");
    EXPECT_EQ(Field(d, "SegEndTxt")->text(), "4") << "3.5 rounds to the even 4";
}

TEST(Variation, IDialogShowsSecondMomentUnits) {
    MainWindowFixture f;
    QDialog* d = ClickAdd(*f.main, AddIValue, "frmVariation");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(f.main->iDialog(), d);
    EXPECT_EQ(f.main->eDialog(), nullptr);
    EXPECT_EQ(d->windowTitle(), "Second Moment of Area Definition");
    for (const char* unit : {"NoneLbl2", "LinearLbl2", "LinearLbl4", "CurveLbl2"})
        EXPECT_EQ(LabelText(d, unit), "cm4") << unit;
    EXPECT_EQ(LabelText(d, "CurveLbl1"), "Expression is I =");
    Type(d, "NoneTxt", "8000");
    Click(d, "ApplyBtn");
    const BeamModel& m = f.main->state().model;
    EXPECT_EQ(m.count(RecordKind::ISegment), 1);
    EXPECT_EQ(m.count(RecordKind::ESegment), 0);
    EXPECT_EQ(m.ISegment.constant[1], 8000);
}

TEST(Variation, EveryAddMakesAFreshDialogAndCloseEndsIt) {
    MainWindowFixture f;
    QDialog* first = ClickAdd(*f.main, AddEValue, "frmVariation");
    Type(first, "NoneTxt", "205");
    QPointer<QDialog> old = first;
    QDialog* second = ClickAdd(*f.main, AddEValue, "frmVariation");
    EXPECT_TRUE(old.isNull()) << "the earlier E dialog has ended";
    EXPECT_EQ(Field(second, "NoneTxt")->text(), "100");
    // Esc closes, as Close does, and the reference clears.
    QTest::keyClick(Field(second, "NoneTxt"), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(f.main->eDialog(), nullptr);
    QDialog* third = ClickAdd(*f.main, AddEValue, "frmVariation");
    Click(third, "CloseBtn");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(f.main->eDialog(), nullptr);
    EXPECT_EQ(f.main->state().model.count(RecordKind::ESegment), 0);
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

    struct Case {
        std::int16_t n;
        const char* checked;
        std::array<bool, 3> flags;
    };
    for (const Case& c : {Case{1, "Variation_2", {false, false, true}},
                          Case{2, "Variation_1", {false, true, false}}}) {
        frmVariation& again = f.main->ShowVariation(c.n, "i");
        EXPECT_TRUE(Find<QRadioButton>(&again, c.checked)->isChecked()) << c.n;
        EXPECT_EQ(again.flags(), c.flags) << c.n;
        Click(&again, "ApplyBtn");
        EXPECT_EQ(f.main->state().model, stored) << "Apply stores what is shown: " << c.n;
    }
    frmVariation& first = f.main->ShowVariation(1, "i");
    EXPECT_EQ(Field(&first, "CurveTxt")->text(), "20000 - 2000 * x");
    EXPECT_EQ(LabelText(&first, "PercentLbl"), "Percentage of Beam Defined: 100%");
    // Apply moves on to the next segment, which shows its own kind.
    Click(&first, "ApplyBtn");
    EXPECT_TRUE(Find<QRadioButton>(&first, "Variation_1")->isChecked());
    Type(&first, "LinearEndTxt", "9000");
    Click(&first, "ApplyBtn");
    EXPECT_EQ(f.main->mnuUndo->text(), "&Undo Edit I Definition 2");
}

// --- Refused input --------------------------------------------------------------------------

TEST(RefusedInput, FieldsThatHoldNoNumberAreNamedAndNothingIsStored) {
    struct Case {
        const char* text;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"abc", "Load Value: \"abc\" is not a number."},
        {"", "Please enter a number for Load Value."},
        {"1e999", "Load Value: \"1e999\" is not a number."},
        {"12kN", "Load Value: \"12kN\" is not a number."},
    };
    for (const Case& c : cases) {
        MainWindowFixture f;
        const BeamModel before = f.main->state().model;
        QSignalSpy edited(f.main.get(), &frmMain::modelEdited);
        QDialog* d = ClickAdd(*f.main, AddPointLoad, "frmPln");
        Type(d, "LoadVal", c.text);
        QTest::keyClick(Field(d, "LoadVal"), Qt::Key_Return);
        ASSERT_EQ(f.messages.shown.size(), 1u) << c.text;
        EXPECT_EQ(f.messages.shown[0].text, c.message);
        EXPECT_EQ(f.messages.shown[0].title, "Point Load Details");
        EXPECT_TRUE(d->isVisible()) << c.text;
        EXPECT_EQ(f.main->state().model, before) << c.text;
        EXPECT_EQ(edited.count(), 0);
        EXPECT_FALSE(f.main->isModified());
    }
}

TEST(RefusedInput, EveryDialogNamesItsField) {
    MainWindowFixture f;
    const BeamModel before = f.main->state().model;
    struct Case {
        int button;
        const char* dialog;
        const char* field;
        const char* message;
    };
    const std::vector<Case> cases = {
        {AddUniformLoad, "frmUln", "LoadLocB", "Load End: \"x\" is not a number."},
        {AddTrapezoidalLoad, "frmTln", "LoadValB", "Load End Value: \"x\" is not a number."},
        {AddMomentLoad, "frmMln", "LoadLoc", "Load Location: \"x\" is not a number."},
        {AddRigidSupport, "frmSup", "SupDis", "Supporrt Location: \"x\" is not a number."},
        {AddSpringSupport, "frmSsn", "SsnDis", "Spring Supporrt Location: \"x\" is not a number."},
        {AddFixedDisplacement, "frmFdn", "FdnDis",
         "Fixed Displacement Location: \"x\" is not a number."},
        {AddEValue, "frmVariation", "SegEndTxt", "To: \"x\" is not a number."},
        {AddIValue, "frmVariation", "NoneTxt", "Constant Value: \"x\" is not a number."},
    };
    for (const Case& c : cases) {
        f.messages.shown.clear();
        QDialog* d = ClickAdd(*f.main, c.button, c.dialog);
        ASSERT_NE(d, nullptr) << c.dialog;
        Type(d, c.field, "x");
        QTest::keyClick(Field(d, c.field), Qt::Key_Return);
        ASSERT_EQ(f.messages.shown.size(), 1u) << c.dialog;
        EXPECT_EQ(f.messages.shown[0].text, c.message);
        EXPECT_EQ(f.messages.shown[0].title, d->windowTitle().toStdString());
        EXPECT_TRUE(d->isVisible()) << c.dialog;
        EXPECT_EQ(f.main->state().model, before) << c.dialog;
    }
}

TEST(RefusedInput, TickedSpringStiffnessMustBeANumber) {
    MainWindowFixture f;
    const BeamModel before = f.main->state().model;
    QDialog* d = ClickAdd(*f.main, AddSpringSupport, "frmSsn");
    Click(d, "rssCheck");
    Type(d, "rssVal", "stiff");
    Click(d, "OKButton");
    EXPECT_EQ(f.messages.texts(),
              (std::vector<std::string>{"Rotational stiffness: \"stiff\" is not a number."}));
    EXPECT_EQ(f.main->state().model, before);
    EXPECT_TRUE(d->isVisible());
}

TEST(RefusedInput, RecordNumberBeyondTheCapacity) {
    MainWindowFixture f;
    ASSERT_EQ(f.main->state().model.MaxNoApplieds, 10);
    QDialog* d = nullptr;
    for (int n = 1; n <= 10; ++n) {
        d = ClickAdd(*f.main, AddPointLoad, "frmPln");
        Type(d, "LoadLoc", QString::number(n));
        QTest::keyClick(Field(d, "LoadLoc"), Qt::Key_Return);
    }
    const BeamModel full = f.main->state().model;
    EXPECT_EQ(full.count(RecordKind::PointLoad), 10);
    EXPECT_TRUE(f.messages.shown.empty());
    d = ClickAdd(*f.main, AddPointLoad, "frmPln");
    EXPECT_EQ(LabelText(d, "LoadNoLab"), "Point Load No. 11");
    Click(d, "OKButton");
    EXPECT_EQ(f.messages.texts(),
              (std::vector<std::string>{"Point Load No. 11 cannot be stored: each list of the "
                                        "model holds at most 10 records."}));
    EXPECT_EQ(f.messages.shown[0].title, "Point Load Details");
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(f.main->state().model, full);

    // The E dialog moves on past the last segment and refuses it there.
    f.messages.shown.clear();
    frmVariation& e = f.main->ShowVariation(10, "e");
    Click(&e, "ApplyBtn");
    EXPECT_EQ(LabelText(&e, "SegLbl"), "Segment No. 11");
    const BeamModel tenth = f.main->state().model;
    Click(&e, "ApplyBtn");
    EXPECT_EQ(f.messages.texts(),
              (std::vector<std::string>{"Segment No. 11 cannot be stored: each list of the "
                                        "model holds at most 10 records."}));
    EXPECT_EQ(f.main->state().model, tenth);
    EXPECT_TRUE(e.isVisible());
}

TEST(DialogKeys, AccessKeysAndTabOrder) {
    MainWindowFixture f;
    QDialog* d = ClickAdd(*f.main, AddPointLoad, "frmPln");
    EXPECT_EQ(Find<QLabel>(d, "Label3")->buddy(), Field(d, "LoadVal"));
    EXPECT_EQ(Find<QLabel>(d, "Label4")->buddy(), Field(d, "LoadLoc"));
    EXPECT_TRUE(Find<QPushButton>(d, "OKButton")->isDefault());
    // The fields first, top to bottom, then OK and Cancel.
    EXPECT_EQ(NextTabStop(Field(d, "LoadVal")), Field(d, "LoadLoc"));
    EXPECT_EQ(NextTabStop(Field(d, "LoadLoc")), Find<QPushButton>(d, "OKButton"));
    EXPECT_EQ(NextTabStop(Find<QPushButton>(d, "OKButton")), Find<QPushButton>(d, "CancelButton"));
    QDialog* v = ClickAdd(*f.main, AddEValue, "frmVariation");
    EXPECT_TRUE(Find<QPushButton>(v, "ApplyBtn")->isDefault());
    EXPECT_EQ(Find<QLabel>(v, "Label1")->buddy(), Field(v, "SegStartTxt"));
    EXPECT_EQ(Find<QRadioButton>(v, "Variation_1")->text(), "L&inear:");
    EXPECT_EQ(NextTabStop(Field(v, "SegStartTxt")), Field(v, "SegEndTxt"));
    EXPECT_EQ(NextTabStop(Field(v, "SegEndTxt")), Find<QCheckBox>(v, "FullSpanChk"));
    EXPECT_EQ(NextTabStop(Field(v, "NoneTxt")), Find<QRadioButton>(v, "Variation_1"));
}

} // namespace
} // namespace kradon::test
