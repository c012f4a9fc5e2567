// The E and I definition dialog.
#include "app/dialogs/frmVariation.h"

#include "analysis/modUnits.h"
#include "app/dialogs/DialogFields.h"
#include "app/frmMain.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>
#include <vector>

namespace kradon {
namespace {

/// The unit conversions, by a short name.
namespace units = kradon::modUnits;

constexpr const char* ECaption = "Young's Modulus Definition";
constexpr const char* ICaption = "Second Moment of Area Definition";
constexpr const char* ECurveCaption = "E&xpression is E =";
constexpr const char* ICurveCaption = "E&xpression is I =";

QLabel* buddyLabel(QWidget* parent, const char* name, const QString& text, QWidget* buddy) {
    QLabel* label = NamedLabel(parent, name, text);
    label->setBuddy(buddy);
    return label;
}

} // namespace

frmVariation::frmVariation(frmMain& main) : QDialog(&main), main_(main) {
    setObjectName("frmVariation");
    setWindowTitle(ECaption);
    setModal(false);
    spanLbl = NamedLabel(this, "spanLbl", "Overall Beam Length: 10m");
    SegLbl = NamedLabel(this, "SegLbl", "Segment No. 1");
    PercentLbl = NamedLabel(this, "PercentLbl", "Percentage of Beam Defined: 63%");
    createSegmentFrame();
    createValueFrame();
    ApplyBtn = new QPushButton("Apply", this);
    ApplyBtn->setObjectName("ApplyBtn");
    ApplyBtn->setDefault(true); // Enter anywhere in the dialog
    CloseBtn = new QPushButton("Close", this);
    CloseBtn->setObjectName("CloseBtn");
    connect(ApplyBtn, &QPushButton::clicked, this, &frmVariation::ApplyBtn_Click);
    connect(CloseBtn, &QPushButton::clicked, this, &frmVariation::CloseBtn_Click);
    layOut();
    // A fresh dialog starts on None, which agrees with the None flag its showing sets.
    Variation[0]->setChecked(true);
    Variation_Click(0);
}

void frmVariation::createSegmentFrame() {
    Frame1 = new QGroupBox("Beam Segment to which Value Definition Applies", this);
    Frame1->setObjectName("Frame1");
    SegStartTxt = NamedField(Frame1, "SegStartTxt", "0");
    SegEndTxt = NamedField(Frame1, "SegEndTxt", "2");
    Label1 = buddyLabel(Frame1, "Label1", "&From", SegStartTxt);
    Label4 = NamedLabel(Frame1, "Label4", "m");
    Label3 = buddyLabel(Frame1, "Label3", "&To", SegEndTxt);
    Label2 = NamedLabel(Frame1, "Label2", "m");
    FullSpanChk = new QCheckBox("F&ull Span", Frame1);
    FullSpanChk->setObjectName("FullSpanChk");
    connect(FullSpanChk, &QCheckBox::clicked, this, &frmVariation::FullSpanChk_Click);

    auto* grid = new QGridLayout(Frame1);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(SegStartTxt, 0, 1);
    grid->addWidget(Label4, 0, 2);
    grid->addWidget(Label3, 1, 0);
    grid->addWidget(SegEndTxt, 1, 1);
    grid->addWidget(Label2, 1, 2);
    grid->addWidget(FullSpanChk, 2, 1);
}

void frmVariation::createValueFrame() {
    Frame2 = new QGroupBox("Value Definition", this);
    Frame2->setObjectName("Frame2");
    Label5 = NamedLabel(Frame2, "Label5", "Variation Type:");
    const std::array<const char*, 3> captions = {"&None:", "L&inear:", "&Curve:"};
    const auto option = [this, &captions](int i) {
        auto* button = new QRadioButton(captions[static_cast<std::size_t>(i)], Frame2);
        button->setObjectName(QString("Variation_%1").arg(i));
        connect(button, &QRadioButton::toggled, this, [this, i](bool checked) {
            if (checked)
                Variation_Click(i);
        });
        Variation[static_cast<std::size_t>(i)] = button;
    };
    // Created in tab order: each option button comes before the fields of its group.
    option(0);
    NoneTxt = NamedField(Frame2, "NoneTxt", "100");
    option(1);
    LinearStartTxt = NamedField(Frame2, "LinearStartTxt", "100");
    LinearEndTxt = NamedField(Frame2, "LinearEndTxt", "200");
    option(2);
    CurveTxt = NamedField(Frame2, "CurveTxt", "x^2 + 2*x + 200");
    NoneLbl1 = buddyLabel(Frame2, "NoneLbl1", "Constant &Value of", NoneTxt);
    NoneLbl2 = NamedLabel(Frame2, "NoneLbl2", "kN/mm2");
    LinearLbl1 = buddyLabel(Frame2, "LinearLbl1", "&Start Value of", LinearStartTxt);
    LinearLbl2 = NamedLabel(Frame2, "LinearLbl2", "kN/mm2");
    LinearLbl3 = buddyLabel(Frame2, "LinearLbl3", "&End Value", LinearEndTxt);
    LinearLbl4 = NamedLabel(Frame2, "LinearLbl4", "kN/mm2");
    CurveLbl1 = buddyLabel(Frame2, "CurveLbl1", ECurveCaption, CurveTxt);
    CurveLbl2 = NamedLabel(Frame2, "CurveLbl2", "kN/mm2");

    auto* grid = new QGridLayout(Frame2);
    grid->addWidget(Label5, 0, 0, 1, 2);
    const auto row = [grid](int r, QWidget* a, QWidget* b, QWidget* c, QWidget* d) {
        if (a)
            grid->addWidget(a, r, 0);
        grid->addWidget(b, r, 1);
        grid->addWidget(c, r, 2);
        grid->addWidget(d, r, 3);
    };
    row(1, Variation[0], NoneLbl1, NoneTxt, NoneLbl2);
    row(2, Variation[1], LinearLbl1, LinearStartTxt, LinearLbl2);
    row(3, nullptr, LinearLbl3, LinearEndTxt, LinearLbl4);
    row(4, Variation[2], CurveLbl1, CurveTxt, CurveLbl2);
}

void frmVariation::layOut() {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ApplyBtn);
    buttons->addWidget(CloseBtn);
    auto* column = new QVBoxLayout(this);
    column->addWidget(spanLbl);
    column->addWidget(SegLbl);
    column->addWidget(PercentLbl);
    column->addWidget(Frame1);
    column->addWidget(Frame2);
    column->addLayout(buttons);
    column->setSizeConstraint(QLayout::SetFixedSize);
}

void frmVariation::frmVariationShow(std::int16_t n, const QString& kind) {
    kind_ = kind;
    spanLbl->setText("Overall Beam Length: " + DisplayNumber(main_.state().model.span) + "m");
    SegLbl->setText("Segment No. " + QString::number(n));
    PercentLbl->setText("Percentage of Beam Defined: " + DisplayNumber(percentDefined()) + "%");
    segment_ = n;
    setWindowTitle(isE() ? ECaption : ICaption);
    fillFields(n);
    // An existing definition shows its own kind; a new one keeps the choice on screen. The
    // option buttons and the flags always agree, so Apply stores what is shown.
    chooseVariation(storedVariationIndex(n).value_or(chosenIndex()));
    UnitLabel(kind);
    CurveLbl1->setText(isE() ? ECurveCaption : ICurveCaption);
    show();
    raise();
    activateWindow();
    SegStartTxt->setFocus(Qt::OtherFocusReason);
    ApplyBtn->setDefault(true); // as in RecordDialog::showRecord
}

void frmVariation::UnitLabel(const QString& kind) {
    const QString unit = units::UnitLabel(kind.toStdString());
    for (QLabel* label : {NoneLbl2, LinearLbl2, LinearLbl4, CurveLbl2})
        label->setText(unit);
}

void frmVariation::Variation_Click(int index) {
    const std::array<std::vector<QWidget*>, 3> groups = {{
        {NoneLbl1, NoneTxt, NoneLbl2},
        {LinearLbl1, LinearStartTxt, LinearLbl2, LinearLbl3, LinearEndTxt, LinearLbl4},
        {CurveLbl1, CurveTxt, CurveLbl2},
    }};
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const bool chosen = static_cast<int>(g) == index;
        for (QWidget* w : groups[g])
            w->setEnabled(chosen);
        flags_[g] = chosen;
    }
}

void frmVariation::FullSpanChk_Click() {
    const double span = main_.state().model.span;
    SegStartTxt->setText("0");
    // A tenth of the span, rounded halves to even under the default rounding mode.
    SegEndTxt->setText(DisplayNumber(FullSpanChk->isChecked() ? span : std::nearbyint(span / 10)));
}

void frmVariation::ApplyBtn_Click() {
    const std::int16_t n = segment_;
    if (!RecordFits(main_.state().model, n, "Segment No. " + QString::number(n), main_.messages(),
                    windowTitle()))
        return;
    PropertySegmentFields fields;
    if (!readFields(fields))
        return;
    const double variation = chosenVariation();
    const RecordKind kind = recordKind();
    const QString step = StoreStepName(main_.state().model, kind, n);
    const bool stored = StoreEdit(
        main_,
        [&](BeamModel& m) {
            NoteRecordNumber(m, kind, n);
            const bool e = kind == RecordKind::ESegment;
            PropertySegmentList& list = e ? m.ESegment : m.ISegment;
            if (variation != 0)
                list.variation.at(static_cast<std::size_t>(n)) = variation;
            if (e)
                StoreESegment(m, n, fields);
            else
                StoreISegment(m, n, fields);
        },
        step);
    if (!stored)
        return;
    // The next segment keeps the typed texts and the chosen variation, unless it exists.
    frmVariationShow(static_cast<std::int16_t>(n + 1), kind_);
}

void frmVariation::CloseBtn_Click() {
    reject();
}

void frmVariation::reject() {
    QDialog::reject();
    // Each Add command makes a fresh dialog, so a closed one has ended.
    deleteLater();
}

RecordKind frmVariation::recordKind() const {
    return isE() ? RecordKind::ESegment : RecordKind::ISegment;
}

const PropertySegmentList& frmVariation::segments() const {
    return isE() ? main_.state().model.ESegment : main_.state().model.ISegment;
}

void frmVariation::fillFields(std::int16_t n) {
    const PropertySegmentList& s = segments();
    if (!IsShownRecord(n, main_.state().model.count(recordKind()), s.expression.size()))
        return;
    const auto i = static_cast<std::size_t>(n);
    SegStartTxt->setText(DisplayNumber(s.disA[i]));
    SegEndTxt->setText(DisplayNumber(s.disB[i]));
    if (s.variation[i] == Variation::None) {
        NoneTxt->setText(DisplayNumber(s.constant[i]));
    } else if (s.variation[i] == Variation::Linear) {
        LinearStartTxt->setText(DisplayNumber(s.linearStart[i]));
        LinearEndTxt->setText(DisplayNumber(s.linearEnd[i]));
    } else if (s.variation[i] == Variation::Curve) {
        CurveTxt->setText(QString::fromStdString(s.expression[i]));
    }
}

double frmVariation::percentDefined() const {
    const PropertySegmentList& s = segments();
    const std::int16_t count = main_.state().model.count(recordKind());
    double covered = 0;
    for (std::size_t k = 1; static_cast<std::int64_t>(k) <= count && k < s.disB.size(); ++k)
        covered += s.disB[k] - s.disA[k];
    const double percent = 100 * covered / main_.state().model.span;
    // A span of 0 has no share to show.
    return std::isfinite(percent) ? percent : 0;
}

std::optional<int> frmVariation::storedVariationIndex(std::int16_t n) const {
    const PropertySegmentList& s = segments();
    if (!IsShownRecord(n, main_.state().model.count(recordKind()), s.variation.size()))
        return std::nullopt;
    const double stored = s.variation[static_cast<std::size_t>(n)];
    for (const double v : {Variation::None, Variation::Linear, Variation::Curve})
        if (stored == v)
            return static_cast<int>(v) - 1;
    return std::nullopt;
}

void frmVariation::chooseVariation(int index) {
    Variation[static_cast<std::size_t>(index)]->setChecked(true);
    Variation_Click(index);
}

double frmVariation::chosenVariation() const {
    if (flags_[0])
        return Variation::None;
    if (flags_[1])
        return Variation::Linear;
    if (flags_[2])
        return Variation::Curve;
    return 0;
}

int frmVariation::chosenIndex() const {
    for (std::size_t i = 0; i < Variation.size(); ++i)
        if (Variation[i]->isChecked())
            return static_cast<int>(i);
    return 0;
}

bool frmVariation::readFields(PropertySegmentFields& fields) {
    const auto read = [this](const QLineEdit* field, const char* name, std::string& text) {
        const auto number = FieldNumberText(*field, name, main_.messages(), windowTitle());
        if (number)
            text = *number;
        return number.has_value();
    };
    if (!read(SegStartTxt, "From", fields.SegStartTxt) || !read(SegEndTxt, "To", fields.SegEndTxt))
        return false;
    const double variation = chosenVariation();
    if (variation == Variation::None)
        return read(NoneTxt, "Constant Value", fields.NoneTxt);
    if (variation == Variation::Linear)
        return read(LinearStartTxt, "Start Value", fields.LinearStartTxt) &&
               read(LinearEndTxt, "End Value", fields.LinearEndTxt);
    // A curve is kept exactly as typed; it is evaluated when the beam is meshed.
    fields.CurveTxt = CurveTxt->text().toStdString();
    return true;
}

} // namespace kradon
