// The fixed displacement dialog: enters or edits one prescribed displacement, its location in m
// and its vertical (mm, downwards positive) and rotational (rad, clockwise positive) values; a
// value counts only while its box is ticked.
#pragma once

#include "app/dialogs/RecordDialog.h"

class QCheckBox;
class QGroupBox;

namespace kradon {

class frmFdn : public RecordDialog {
    Q_OBJECT
public:
    explicit frmFdn(frmMain& main);

    /// Shows the dialog for fixed displacement n. An existing record sets all three fields and
    /// ticks the box of each non-zero value; a zero one leaves its box as it was.
    void frmFdnShow(std::int16_t n);

    QLabel* FdnNoLab;
    QLabel* Label1;
    QLineEdit* FdnDis;
    QLabel* Label2;
    QGroupBox* Frame1;
    QCheckBox* vfdCheck;
    QLineEdit* vfdVal;
    QLabel* vfdLab;
    QCheckBox* rfdCheck;
    QLineEdit* rfdVal;
    QLabel* rfdLab;
    QLabel* NoteLbl;

public slots:
    /// A ticked box enables its field and unit label, an unticked one disables both.
    void vfdCheck_Click();
    void rfdCheck_Click();

protected:
    bool storeRecord(std::int16_t n) override;
};

} // namespace kradon
