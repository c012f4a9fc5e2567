// The trapezoidally distributed load dialog: enters or edits one TDL, its intensities at the
// start and the end in kN/m and its start and end in m from the left end.
#pragma once

#include "app/dialogs/RecordDialog.h"

namespace kradon {

class frmTln : public RecordDialog {
    Q_OBJECT
public:
    explicit frmTln(frmMain& main);

    /// Shows the dialog for TDL n, as frmPln::frmPlnShow does for point loads.
    void frmTlnShow(std::int16_t n);

    QLabel* LoadNoLab;
    QLabel* Label1;
    QLineEdit* LoadValA;
    QLabel* Label2;
    QLabel* Label3;
    QLineEdit* LoadValB;
    QLabel* Label4;
    QLabel* Label5;
    QLineEdit* LoadLocA;
    QLabel* Label6;
    QLabel* Label7;
    QLineEdit* LoadLocB;
    QLabel* Label8;

protected:
    bool storeRecord(std::int16_t n) override;
};

} // namespace kradon
