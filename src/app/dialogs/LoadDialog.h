// The four load dialogs (point, UDL, trapezoidal, moment) differ only in their fields: one class
// lays out and fills rows of caption, field and unit from a table, and stores what was typed.
#pragma once

#include "app/dialogs/RecordDialog.h"

#include <vector>

namespace kradon {

/// One row of a load dialog. The names are the widgets' object names.
struct LoadField {
    const char* captionName;
    const char* caption; // with the access key's '&'
    const char* fieldName;
    const char* initial; // the text before the first use
    const char* unitName;
    const char* unit;
    const char* title; // the field's name in messages
    /// The model's list this field shows and stores.
    const std::vector<double>& (*list)(const BeamModel& m);
};

struct LoadDialogLayout {
    const char* name;
    const char* caption;
    const char* recordPrefix;    // the number label's text before the number
    const char* firstNumberText; // the number label before the first use
    RecordKind kind;
    std::vector<LoadField> fields;
    /// Stores record n from the fields' texts, in the table's order.
    void (*store)(BeamModel& m, std::int16_t n, const std::vector<std::string>& texts);
};

class LoadDialog : public RecordDialog {
    Q_OBJECT
protected:
    LoadDialog(frmMain& main, LoadDialogLayout layout);

    /// Shows the dialog for record n (count + 1 for a new one): an existing record fills the
    /// fields, a new one starts from the texts of the last use.
    void showLoad(std::int16_t n);
    bool storeRecord(std::int16_t n) override;

private:
    LoadDialogLayout layout_;
    std::vector<QLineEdit*> fields_;
};

/// The point load dialog: its value in kN and its distance from the left end in m.
class frmPln : public LoadDialog {
    Q_OBJECT
public:
    explicit frmPln(frmMain& main);
    void frmPlnShow(std::int16_t n) { showLoad(n); }
};

/// The UDL dialog: its intensity in kN/m, its start and end in m from the left end.
class frmUln : public LoadDialog {
    Q_OBJECT
public:
    explicit frmUln(frmMain& main);
    void frmUlnShow(std::int16_t n) { showLoad(n); }
};

/// The trapezoidal load dialog: its intensities at start and end in kN/m, its start and end in m.
class frmTln : public LoadDialog {
    Q_OBJECT
public:
    explicit frmTln(frmMain& main);
    void frmTlnShow(std::int16_t n) { showLoad(n); }
};

/// The moment load dialog: its value in kNm and its distance from the left end in m.
class frmMln : public LoadDialog {
    Q_OBJECT
public:
    explicit frmMln(frmMain& main);
    void frmMlnShow(std::int16_t n) { showLoad(n); }
};

} // namespace kradon
