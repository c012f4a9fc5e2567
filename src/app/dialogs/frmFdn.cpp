// The fixed displacement dialog.
#include "app/dialogs/frmFdn.h"

#include "app/dialogs/DialogFields.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace kradon {
namespace {

constexpr const char* NoteText =
    "Note:\nRotations are clockwise positive and deflections are downwards positive";

} // namespace

frmFdn::frmFdn(frmMain& main)
    : RecordDialog(main, "frmFdn", "Fixed Displacement Details", "Fixed Displacement No. ") {
    FdnNoLab = NamedLabel(this, "FdnNoLab", "Fixed Displacement No. 1");
    Label1 = NamedLabel(this, "Label1", "Fixed Displacement &Location");
    FdnDis = NamedField(this, "FdnDis", "8");
    Label2 = NamedLabel(this, "Label2", "m");
    Frame1 = new QGroupBox("Specify Fixed Displacements", this);
    Frame1->setObjectName("Frame1");
    vfdCheck = new QCheckBox("&Vertical", Frame1);
    vfdCheck->setObjectName("vfdCheck");
    vfdVal = NamedField(Frame1, "vfdVal", "20");
    vfdLab = NamedLabel(Frame1, "vfdLab", "mm");
    rfdCheck = new QCheckBox("&Rotational", Frame1);
    rfdCheck->setObjectName("rfdCheck");
    rfdVal = NamedField(Frame1, "rfdVal", "0.005");
    rfdLab = NamedLabel(Frame1, "rfdLab", "rad");
    NoteLbl = NamedLabel(this, "NoteLbl", NoteText);
    // Both boxes start unticked, so their fields start disabled.
    vfdCheck_Click();
    rfdCheck_Click();
    connect(vfdCheck, &QCheckBox::toggled, this, &frmFdn::vfdCheck_Click);
    connect(rfdCheck, &QCheckBox::toggled, this, &frmFdn::rfdCheck_Click);

    auto* values = new QGridLayout(Frame1);
    values->addWidget(vfdCheck, 0, 0);
    values->addWidget(vfdVal, 0, 1);
    values->addWidget(vfdLab, 0, 2);
    values->addWidget(rfdCheck, 1, 0);
    values->addWidget(rfdVal, 1, 1);
    values->addWidget(rfdLab, 1, 2);
    auto* grid = new QGridLayout;
    addRow(*grid, Label1, FdnDis, Label2);
    auto* body = new QVBoxLayout;
    body->addLayout(grid);
    body->addWidget(Frame1);
    body->addWidget(NoteLbl);
    finishLayout(FdnNoLab, body, FdnDis);
}

void frmFdn::vfdCheck_Click() {
    vfdVal->setEnabled(vfdCheck->isChecked());
    vfdLab->setEnabled(vfdCheck->isChecked());
}

void frmFdn::rfdCheck_Click() {
    rfdVal->setEnabled(rfdCheck->isChecked());
    rfdLab->setEnabled(rfdCheck->isChecked());
}

void frmFdn::frmFdnShow(std::int16_t n) {
    const FixedDisplacementList& displacements = model().FixedDisplacement;
    if (IsShownRecord(n, model().count(RecordKind::FixedDisplacement),
                      displacements.location.size())) {
        const auto i = static_cast<std::size_t>(n);
        FdnDis->setText(DisplayNumber(displacements.location[i]));
        vfdVal->setText(DisplayNumber(displacements.vertical[i]));
        rfdVal->setText(DisplayNumber(displacements.rotational[i]));
        if (displacements.vertical[i] != 0)
            vfdCheck->setChecked(true);
        if (displacements.rotational[i] != 0)
            rfdCheck->setChecked(true);
    }
    showRecord(n);
}

bool frmFdn::storeRecord(std::int16_t n) {
    FixedDisplacementFields fields;
    fields.vfdCheck = vfdCheck->isChecked();
    fields.rfdCheck = rfdCheck->isChecked();
    const auto location = number(FdnDis, "Fixed Displacement Location");
    if (!location)
        return false;
    fields.FdnDis = *location;
    // An unticked box stores 0 whatever its field holds, so only a ticked one is read.
    if (fields.vfdCheck) {
        const auto vertical = number(vfdVal, "Vertical displacement");
        if (!vertical)
            return false;
        fields.vfdVal = *vertical;
    }
    if (fields.rfdCheck) {
        const auto rotational = number(rfdVal, "Rotational displacement");
        if (!rotational)
            return false;
        fields.rfdVal = *rotational;
    }
    return store(RecordKind::FixedDisplacement, n,
                 [&](BeamModel& m) { StoreFixedDisplacement(m, n, fields); });
}

} // namespace kradon
