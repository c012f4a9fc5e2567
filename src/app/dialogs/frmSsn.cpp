// The spring support dialog.
#include "app/dialogs/frmSsn.h"

#include "app/dialogs/DialogFields.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace kradon {

frmSsn::frmSsn(frmMain& main)
    : RecordDialog(main, "frmSsn", "Spring Support Details", "Spring Support No. ") {
    SsnNoLab = NamedLabel(this, "SsnNoLab", "Spring Support No. 1");
    Label1 = NamedLabel(this, "Label1", "Spring Supporrt &Location");
    SsnDis = NamedField(this, "SsnDis", "15");
    Label2 = NamedLabel(this, "Label2", "m");
    Frame1 = new QGroupBox("Specify Spring Stiffnesses", this);
    Frame1->setObjectName("Frame1");
    vssCheck = new QCheckBox("&Vertical", Frame1);
    vssCheck->setObjectName("vssCheck");
    vssVal = NamedField(Frame1, "vssVal", "1000");
    vssLab = NamedLabel(Frame1, "vssLab", "kN/mm");
    rssCheck = new QCheckBox("&Rotational", Frame1);
    rssCheck->setObjectName("rssCheck");
    rssVal = NamedField(Frame1, "rssVal", "1000");
    rssLab = NamedLabel(Frame1, "rssLab", "kN/rad");
    // Both boxes start unticked, so their fields start disabled.
    vssCheck_Click();
    rssCheck_Click();
    connect(vssCheck, &QCheckBox::toggled, this, &frmSsn::vssCheck_Click);
    connect(rssCheck, &QCheckBox::toggled, this, &frmSsn::rssCheck_Click);

    auto* stiffnesses = new QGridLayout(Frame1);
    stiffnesses->addWidget(vssCheck, 0, 0);
    stiffnesses->addWidget(vssVal, 0, 1);
    stiffnesses->addWidget(vssLab, 0, 2);
    stiffnesses->addWidget(rssCheck, 1, 0);
    stiffnesses->addWidget(rssVal, 1, 1);
    stiffnesses->addWidget(rssLab, 1, 2);
    auto* grid = new QGridLayout;
    addRow(*grid, Label1, SsnDis, Label2);
    auto* body = new QVBoxLayout;
    body->addLayout(grid);
    body->addWidget(Frame1);
    finishLayout(SsnNoLab, body, SsnDis);
}

void frmSsn::vssCheck_Click() {
    vssVal->setEnabled(vssCheck->isChecked());
    vssLab->setEnabled(vssCheck->isChecked());
}

void frmSsn::rssCheck_Click() {
    rssVal->setEnabled(rssCheck->isChecked());
    rssLab->setEnabled(rssCheck->isChecked());
}

void frmSsn::frmSsnShow(std::int16_t n) {
    const SpringSupportList& springs = model().SpringSupport;
    if (IsShownRecord(n, model().count(RecordKind::SpringSupport), springs.location.size())) {
        const auto i = static_cast<std::size_t>(n);
        SsnDis->setText(DisplayNumber(springs.location[i]));
        vssVal->setText(DisplayNumber(springs.vertical[i]));
        rssVal->setText(DisplayNumber(springs.rotational[i]));
        if (springs.vertical[i] != 0)
            vssCheck->setChecked(true);
        if (springs.rotational[i] != 0)
            rssCheck->setChecked(true);
    }
    showRecord(n);
}

bool frmSsn::storeRecord(std::int16_t n) {
    SpringSupportFields fields;
    fields.vssCheck = vssCheck->isChecked();
    fields.rssCheck = rssCheck->isChecked();
    const auto location = number(SsnDis, "Spring Supporrt Location");
    if (!location)
        return false;
    fields.SsnDis = *location;
    // An unticked box stores 0 whatever its field holds, so only a ticked one is read.
    if (fields.vssCheck) {
        const auto vertical = number(vssVal, "Vertical stiffness");
        if (!vertical)
            return false;
        fields.vssVal = *vertical;
    }
    if (fields.rssCheck) {
        const auto rotational = number(rssVal, "Rotational stiffness");
        if (!rotational)
            return false;
        fields.rssVal = *rotational;
    }
    return store(RecordKind::SpringSupport, n,
                 [&](BeamModel& m) { StoreSpringSupport(m, n, fields); });
}

} // namespace kradon
