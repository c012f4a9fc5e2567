// The E and I definition dialog: enters the property segments of one kind ("e" for Young's
// modulus in kN/mm2, anything else for the second moment of area in cm4) one after the other.
// Apply stores the segment and moves on to the next number; Close ends the dialog. Each Add
// command makes a fresh dialog, so its fields start from their initial texts.
#pragma once

#include "model/BeamModel.h"

#include <QDialog>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kradon {

class frmMain;

class frmVariation : public QDialog {
    Q_OBJECT
public:
    /// A dialog that ends (and is destroyed) when it closes.
    explicit frmVariation(frmMain& main);

    /// Shows the dialog for segment n of kind: the span, the segment number and the percentage
    /// of the span the kind's segments cover; an existing segment fills the fields and selects
    /// its own variation, a new one keeps the variation selected now.
    void frmVariationShow(std::int16_t n, const QString& kind);
    /// The four unit labels: "kN/mm2" for kind "e", "cm4" for any other.
    void UnitLabel(const QString& kind);

    const QString& kind() const { return kind_; }
    std::int16_t segmentNumber() const { return segment_; }
    /// The selection flags, indexed as the option buttons: 0 None, 1 Linear, 2 Curve.
    const std::array<bool, 3>& flags() const { return flags_; }

    QLabel* spanLbl;
    QLabel* SegLbl;
    QLabel* PercentLbl;
    QGroupBox* Frame1;
    QLabel* Label1;
    QLineEdit* SegStartTxt;
    QLabel* Label4;
    QLabel* Label3;
    QLineEdit* SegEndTxt;
    QLabel* Label2;
    QCheckBox* FullSpanChk;
    QGroupBox* Frame2;
    QLabel* Label5;
    std::array<QRadioButton*, 3> Variation{}; // 0 None, 1 Linear, 2 Curve
    QLabel* NoneLbl1;
    QLineEdit* NoneTxt;
    QLabel* NoneLbl2;
    QLabel* LinearLbl1;
    QLineEdit* LinearStartTxt;
    QLabel* LinearLbl2;
    QLabel* LinearLbl3;
    QLineEdit* LinearEndTxt;
    QLabel* LinearLbl4;
    QLabel* CurveLbl1;
    QLineEdit* CurveTxt;
    QLabel* CurveLbl2;
    QPushButton* ApplyBtn;
    QPushButton* CloseBtn;

public slots:
    /// Enables the value group of index (0 None, 1 Linear, 2 Curve), disables the others and
    /// sets only its flag.
    void Variation_Click(int index);
    /// Ticked: From 0, To the span. Unticked: From 0, To a tenth of the span rounded to a whole
    /// number (halves to the even one).
    void FullSpanChk_Click();
    /// Stores the segment and shows the next one with the texts and the choice kept. A field
    /// that is not a number, or a segment number beyond the lists' capacity, is reported and
    /// nothing is stored.
    void ApplyBtn_Click();
    void CloseBtn_Click();
    /// Close, Esc and the window's close button end the dialog.
    void reject() override;

private:
    void createSegmentFrame();
    void createValueFrame();
    void layOut();
    bool isE() const { return kind_ == "e"; }
    RecordKind recordKind() const;
    const PropertySegmentList& segments() const;
    void fillFields(std::int16_t n);
    /// The percentage of the span covered by the kind's segments.
    double percentDefined() const;
    /// The stored variation code the flags give; 0 when none is set.
    double chosenVariation() const;
    /// The fields the chosen variation uses, as texts the store reads back exactly; false after
    /// reporting a field that is not a number.
    bool readFields(PropertySegmentFields& fields);
    int chosenIndex() const;
    /// The option button of segment n's stored variation; none for a new segment or one whose
    /// variation was never set.
    std::optional<int> storedVariationIndex(std::int16_t n) const;
    /// Checks option button index and sets the flags to agree.
    void chooseVariation(int index);

    frmMain& main_;
    QString kind_ = "e";
    std::int16_t segment_ = 1;
    std::array<bool, 3> flags_{true, false, false};
};

} // namespace kradon
