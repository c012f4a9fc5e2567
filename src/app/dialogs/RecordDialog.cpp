// The load and support dialogs' shared window.
#include "app/dialogs/RecordDialog.h"

#include "app/dialogs/DialogFields.h"
#include "app/frmMain.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kradon {

RecordDialog::RecordDialog(frmMain& main, const char* name, const QString& caption,
                           const QString& recordPrefix)
    : QDialog(&main), main_(main), recordPrefix_(recordPrefix) {
    setObjectName(name);
    setWindowTitle(caption);
    setModal(false);
}

void RecordDialog::addRow(QGridLayout& grid, QLabel* caption, QLineEdit* field, QLabel* unit) {
    const int row = grid.rowCount();
    caption->setBuddy(field);
    grid.addWidget(caption, row, 0);
    grid.addWidget(field, row, 1);
    grid.addWidget(unit, row, 2);
}

void RecordDialog::finishLayout(QLabel* numberLabel, QLayout* body, QWidget* firstField) {
    numberLabel_ = numberLabel;
    firstField_ = firstField;
    OKButton = new QPushButton("OK", this);
    OKButton->setObjectName("OKButton");
    OKButton->setDefault(true); // Enter anywhere in the dialog
    CancelButton = new QPushButton("Cancel", this);
    CancelButton->setObjectName("CancelButton");
    connect(OKButton, &QPushButton::clicked, this, &RecordDialog::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &RecordDialog::CancelButton_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* column = new QVBoxLayout(this);
    column->addWidget(numberLabel);
    column->addLayout(body);
    column->addStretch();
    column->addLayout(buttons);
    column->setSizeConstraint(QLayout::SetFixedSize);
}

void RecordDialog::showRecord(std::int16_t n) {
    recordNumber_ = n;
    numberLabel_->setText(recordPrefix_ + QString::number(n));
    show();
    raise();
    activateWindow();
    firstField_->setFocus(Qt::OtherFocusReason);
    // A button that had the focus when the dialog closed, Cancel above all, would otherwise
    // still be the one Enter presses.
    OKButton->setDefault(true);
}

void RecordDialog::OKButton_Click() {
    const std::int16_t n = recordNumber_;
    if (!RecordFits(model(), n, recordPrefix_ + QString::number(n), main_.messages(),
                    windowTitle()))
        return;
    if (storeRecord(n))
        hide();
}

void RecordDialog::CancelButton_Click() {
    reject();
}

std::optional<std::string> RecordDialog::number(const QLineEdit* field, const QString& fieldName) {
    return FieldNumberText(*field, fieldName, main_.messages(), windowTitle());
}

bool RecordDialog::store(RecordKind kind, std::int16_t n,
                         const std::function<void(BeamModel&)>& write) {
    return StoreEdit(
        main_,
        [&](BeamModel& m) {
            NoteRecordNumber(m, kind, n);
            write(m);
        },
        StoreStepName(model(), kind, n));
}

const BeamModel& RecordDialog::model() const {
    return main_.state().model;
}

} // namespace kradon
