// The moment load dialog: enters or edits one moment load, its value in kNm and its distance
// from the left end in m.
#pragma once

#include "app/dialogs/RecordDialog.h"

namespace kradon {

class frmMln : public RecordDialog {
    Q_OBJECT
public:
    explicit frmMln(frmMain& main);

    /// Shows the dialog for moment load n, as frmPln::frmPlnShow does for point loads.
    void frmMlnShow(std::int16_t n);

    QLabel* LoadNoLab;
    QLabel* Label1;
    QLineEdit* LoadVal;
    QLabel* Label2;
    QLabel* Label3;
    QLineEdit* LoadLoc;
    QLabel* Label4;

protected:
    bool storeRecord(std::int16_t n) override;
};

} // namespace kradon
