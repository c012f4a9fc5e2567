// The point load dialog: enters or edits one point load, its value in kN and its distance from
// the left end in m.
#pragma once

#include "app/dialogs/RecordDialog.h"

namespace kradon {

class frmPln : public RecordDialog {
    Q_OBJECT
public:
    explicit frmPln(frmMain& main);

    /// Shows the dialog for point load n (count + 1 for a new one): an existing record fills the
    /// fields, a new one starts from the texts of the last use.
    void frmPlnShow(std::int16_t n);

    QLabel* LoadNoLab;
    QLabel* Label3;
    QLineEdit* LoadVal;
    QLabel* Label1;
    QLabel* Label4;
    QLineEdit* LoadLoc;
    QLabel* Label7;

protected:
    bool storeRecord(std::int16_t n) override;
};

} // namespace kradon
