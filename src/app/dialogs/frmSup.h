// The rigid support dialog: enters or edits one rigid support, its location in m and its type,
// chosen with two picture buttons and kept as a code in a hidden label (1 Pinned, 2 Fixed).
#pragma once

#include "app/dialogs/RecordDialog.h"

#include <array>

class QGroupBox;
class QToolButton;

namespace kradon {

class frmSup : public RecordDialog {
    Q_OBJECT
public:
    explicit frmSup(frmMain& main);

    /// Shows the dialog for rigid support n. An existing support sets the location and the
    /// type code; the picture buttons stay as they were last clicked.
    void frmSupShow(std::int16_t n);

    QLabel* SupNoLab;
    QLabel* Label1;
    QLineEdit* SupDis;
    QLabel* Label2;
    QGroupBox* Frame1;
    std::array<QToolButton*, 2> SupTypeBtn{}; // 0 Pinned, 1 Fixed
    QLabel* SupType;                          // hidden: the type code "1" or "2"

public slots:
    /// Picture button index: the type code becomes index + 1.
    void SupTypeBtn_Click(int index);

protected:
    bool storeRecord(std::int16_t n) override;
};

} // namespace kradon
