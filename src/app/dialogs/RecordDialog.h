// The design the seven load and support dialogs share: a number label on top, rows of caption,
// field and unit, OK and Cancel. Each is one window per run, shown without blocking the main
// window and hidden (never destroyed) by OK and Cancel, so its fields keep their last texts.
#pragma once

#include "model/BeamModel.h"

#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QGridLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;

namespace kradon {

class frmMain;

class RecordDialog : public QDialog {
    Q_OBJECT
public:
    /// The record number the dialog was last shown for.
    std::int16_t recordNumber() const { return recordNumber_; }

    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

public slots:
    /// Stores the record and hides the dialog; a field that is not a number, or a record number
    /// beyond the lists' capacity, is reported and the dialog stays open with nothing stored.
    void OKButton_Click();
    /// Hides the dialog; the fields keep what was typed.
    void CancelButton_Click();

protected:
    /// recordPrefix is the number label's text before the number ("Point Load No. ").
    RecordDialog(frmMain& main, const char* name, const QString& caption,
                 const QString& recordPrefix);

    /// One row of grid: caption (its access key leads to field), field, unit.
    static void addRow(QGridLayout& grid, QLabel* caption, QLineEdit* field, QLabel* unit);
    /// Lays the window out: the number label, the body, then OK and Cancel, which come last in
    /// the tab order. firstField takes the focus whenever the dialog is shown.
    void finishLayout(QLabel* numberLabel, QLayout* body, QWidget* firstField);
    /// Remembers n, numbers the label and shows the dialog without blocking the main window.
    void showRecord(std::int16_t n);

    /// Reads the fields and stores record n; false when nothing was stored.
    virtual bool storeRecord(std::int16_t n) = 0;
    /// The number in field as text the store reads back exactly; nullopt after reporting it.
    std::optional<std::string> number(const QLineEdit* field, const QString& fieldName);
    /// Counts record n of kind and writes it, as one change through the main window.
    bool store(RecordKind kind, std::int16_t n, const std::function<void(BeamModel&)>& write);
    const BeamModel& model() const;

private:
    frmMain& main_;
    QString recordPrefix_;
    QLabel* numberLabel_ = nullptr;
    QWidget* firstField_ = nullptr;
    std::int16_t recordNumber_ = 1;
};

} // namespace kradon
