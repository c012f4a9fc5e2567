// The moment load dialog.
#include "app/dialogs/frmMln.h"

#include "app/dialogs/DialogFields.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace kradon {

frmMln::frmMln(frmMain& main)
    : RecordDialog(main, "frmMln", "Moment Load Details", "Moment Load No. ") {
    LoadNoLab = NamedLabel(this, "LoadNoLab", "Moment Load No. 1");
    Label1 = NamedLabel(this, "Label1", "Load &Value");
    LoadVal = NamedField(this, "LoadVal", "10");
    Label2 = NamedLabel(this, "Label2", "kNm");
    Label3 = NamedLabel(this, "Label3", "Load &Location");
    LoadLoc = NamedField(this, "LoadLoc", "12.5");
    Label4 = NamedLabel(this, "Label4", "m");
    auto* grid = new QGridLayout;
    addRow(*grid, Label1, LoadVal, Label2);
    addRow(*grid, Label3, LoadLoc, Label4);
    finishLayout(LoadNoLab, grid, LoadVal);
}

void frmMln::frmMlnShow(std::int16_t n) {
    const MomentLoadList& loads = model().MomentLoad;
    if (IsShownRecord(n, model().count(RecordKind::MomentLoad), loads.location.size())) {
        const auto i = static_cast<std::size_t>(n);
        LoadLoc->setText(DisplayNumber(loads.location[i]));
        LoadVal->setText(DisplayNumber(loads.value[i]));
    }
    showRecord(n);
}

bool frmMln::storeRecord(std::int16_t n) {
    const auto value = number(LoadVal, "Load Value");
    if (!value)
        return false;
    const auto location = number(LoadLoc, "Load Location");
    if (!location)
        return false;
    const MomentLoadFields fields{*value, *location};
    return store(RecordKind::MomentLoad, n, [&](BeamModel& m) { StoreMomentLoad(m, n, fields); });
}

} // namespace kradon
