// The uniformly distributed load dialog: enters or edits one UDL, its intensity in kN/m and its
// start and end in m from the left end.
#pragma once

#include "app/dialogs/RecordDialog.h"

namespace kradon {

class frmUln : public RecordDialog {
    Q_OBJECT
public:
    explicit frmUln(frmMain& main);

    /// Shows the dialog for UDL n, as frmPln::frmPlnShow does for point loads.
    void frmUlnShow(std::int16_t n);

    QLabel* LoadNoLab;
    QLabel* Label1;
    QLineEdit* LoadVal;
    QLabel* Label2;
    QLabel* Label3;
    QLineEdit* LoadLocA;
    QLabel* Label4;
    QLabel* Label5;
    QLineEdit* LoadLocB;
    QLabel* Label6;

protected:
    bool storeRecord(std::int16_t n) override;
};

} // namespace kradon
