// The rigid support dialog.
#include "app/dialogs/frmSup.h"

#include "app/dialogs/DialogFields.h"
#include "model/modText.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace kradon {
namespace {

QToolButton* pictureButton(QWidget* parent, int index, const QString& caption,
                           const QString& icon) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString("SupTypeBtn_%1").arg(index));
    button->setText(caption);
    button->setIcon(QIcon(icon));
    button->setIconSize(QSize(48, 48));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    // The last type clicked stays pressed.
    button->setCheckable(true);
    button->setAutoExclusive(true);
    button->setMinimumWidth(80);
    return button;
}

} // namespace

frmSup::frmSup(frmMain& main)
    : RecordDialog(main, "frmSup", "Support Details", "Rigid Support No. ") {
    SupNoLab = NamedLabel(this, "SupNoLab", "Rigid Support No. 1");
    Label1 = NamedLabel(this, "Label1", "Supporrt &Location");
    SupDis = NamedField(this, "SupDis", "0");
    Label2 = NamedLabel(this, "Label2", "m");
    Frame1 = new QGroupBox("Select Support Type", this);
    Frame1->setObjectName("Frame1");
    SupTypeBtn[0] = pictureButton(Frame1, 0, "&Pinned", ":/icons/support-pinned.svg");
    SupTypeBtn[1] = pictureButton(Frame1, 1, "&Fixed", ":/icons/support-fixed.svg");
    SupTypeBtn[0]->setChecked(true); // agrees with the initial code 1
    SupType = NamedLabel(this, "SupType", "1");
    SupType->setVisible(false);
    for (int i = 0; i < 2; ++i)
        connect(SupTypeBtn[static_cast<std::size_t>(i)], &QToolButton::clicked, this,
                [this, i] { SupTypeBtn_Click(i); });

    auto* types = new QHBoxLayout(Frame1);
    types->addWidget(SupTypeBtn[0]);
    types->addWidget(SupTypeBtn[1]);
    types->addStretch();
    auto* grid = new QGridLayout;
    addRow(*grid, Label1, SupDis, Label2);
    auto* body = new QVBoxLayout;
    body->addLayout(grid);
    body->addWidget(Frame1);
    finishLayout(SupNoLab, body, SupDis);
}

void frmSup::SupTypeBtn_Click(int index) {
    SupType->setText(QString::number(index + 1));
}

void frmSup::frmSupShow(std::int16_t n) {
    const RigidSupportList& supports = model().RigidSupport;
    if (IsShownRecord(n, model().count(RecordKind::RigidSupport), supports.type.size())) {
        const auto i = static_cast<std::size_t>(n);
        SupDis->setText(DisplayNumber(supports.location[i]));
        // The code is read back by the store, which takes "." as the point whatever the locale.
        SupType->setText(QString::fromStdString(modText::GeneralNumber(supports.type[i])));
    }
    showRecord(n);
}

bool frmSup::storeRecord(std::int16_t n) {
    const auto location = number(SupDis, "Supporrt Location");
    if (!location)
        return false;
    const RigidSupportFields fields{SupType->text().toStdString(), *location};
    return store(RecordKind::RigidSupport, n,
                 [&](BeamModel& m) { StoreRigidSupport(m, n, fields); });
}

} // namespace kradon
