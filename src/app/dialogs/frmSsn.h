// The spring support dialog: enters or edits one spring support, its location in m and its
// vertical (kN/mm) and rotational (kN/rad) stiffnesses; a stiffness counts only while its box is
// ticked.
#pragma once

#include "app/dialogs/RecordDialog.h"

class QCheckBox;
class QGroupBox;

namespace kradon {

class frmSsn : public RecordDialog {
    Q_OBJECT
public:
    explicit frmSsn(frmMain& main);

    /// Shows the dialog for spring support n. An existing record sets all three fields and
    /// ticks the box of each non-zero stiffness; a zero one leaves its box as it was.
    void frmSsnShow(std::int16_t n);

    QLabel* SsnNoLab;
    QLabel* Label1;
    QLineEdit* SsnDis;
    QLabel* Label2;
    QGroupBox* Frame1;
    QCheckBox* vssCheck;
    QLineEdit* vssVal;
    QLabel* vssLab;
    QCheckBox* rssCheck;
    QLineEdit* rssVal;
    QLabel* rssLab;

public slots:
    /// A ticked box enables its field and unit label, an unticked one disables both.
    void vssCheck_Click();
    void rssCheck_Click();

protected:
    bool storeRecord(std::int16_t n) override;
};

} // namespace kradon
