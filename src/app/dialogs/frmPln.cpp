// The point load dialog.
#include "app/dialogs/frmPln.h"

#include "app/dialogs/DialogFields.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace kradon {

frmPln::frmPln(frmMain& main)
    : RecordDialog(main, "frmPln", "Point Load Details", "Point Load No. ") {
    LoadNoLab = NamedLabel(this, "LoadNoLab", "Point Load No. 1");
    Label3 = NamedLabel(this, "Label3", "Load &Value");
    LoadVal = NamedField(this, "LoadVal", "10");
    Label1 = NamedLabel(this, "Label1", "kN");
    Label4 = NamedLabel(this, "Label4", "Load &Location");
    LoadLoc = NamedField(this, "LoadLoc", "2.5");
    Label7 = NamedLabel(this, "Label7", "m");
    auto* grid = new QGridLayout;
    addRow(*grid, Label3, LoadVal, Label1);
    addRow(*grid, Label4, LoadLoc, Label7);
    finishLayout(LoadNoLab, grid, LoadVal);
}

void frmPln::frmPlnShow(std::int16_t n) {
    const PointLoadList& loads = model().PointLoad;
    if (IsShownRecord(n, model().count(RecordKind::PointLoad), loads.location.size())) {
        const auto i = static_cast<std::size_t>(n);
        LoadLoc->setText(DisplayNumber(loads.location[i]));
        LoadVal->setText(DisplayNumber(loads.value[i]));
    }
    showRecord(n);
}

bool frmPln::storeRecord(std::int16_t n) {
    const auto value = number(LoadVal, "Load Value");
    if (!value)
        return false;
    const auto location = number(LoadLoc, "Load Location");
    if (!location)
        return false;
    const PointLoadFields fields{*value, *location};
    return store(RecordKind::PointLoad, n, [&](BeamModel& m) { StorePointLoad(m, n, fields); });
}

} // namespace kradon
