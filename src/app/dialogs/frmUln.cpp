// The uniformly distributed load dialog.
#include "app/dialogs/frmUln.h"

#include "app/dialogs/DialogFields.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace kradon {

frmUln::frmUln(frmMain& main) : RecordDialog(main, "frmUln", "UDL Details", "UDL Load No. ") {
    LoadNoLab = NamedLabel(this, "LoadNoLab", "UDL Load No. 1");
    Label1 = NamedLabel(this, "Label1", "Load &Value");
    LoadVal = NamedField(this, "LoadVal", "10");
    Label2 = NamedLabel(this, "Label2", "kN/m");
    Label3 = NamedLabel(this, "Label3", "Load &Start");
    LoadLocA = NamedField(this, "LoadLocA", "0");
    Label4 = NamedLabel(this, "Label4", "m");
    Label5 = NamedLabel(this, "Label5", "Load &End");
    LoadLocB = NamedField(this, "LoadLocB", "8");
    Label6 = NamedLabel(this, "Label6", "m");
    auto* grid = new QGridLayout;
    addRow(*grid, Label1, LoadVal, Label2);
    addRow(*grid, Label3, LoadLocA, Label4);
    addRow(*grid, Label5, LoadLocB, Label6);
    finishLayout(LoadNoLab, grid, LoadVal);
}

void frmUln::frmUlnShow(std::int16_t n) {
    const UDLList& loads = model().UDL;
    if (IsShownRecord(n, model().count(RecordKind::UDL), loads.end.size())) {
        const auto i = static_cast<std::size_t>(n);
        LoadVal->setText(DisplayNumber(loads.value[i]));
        LoadLocA->setText(DisplayNumber(loads.start[i]));
        LoadLocB->setText(DisplayNumber(loads.end[i]));
    }
    showRecord(n);
}

bool frmUln::storeRecord(std::int16_t n) {
    const auto value = number(LoadVal, "Load Value");
    if (!value)
        return false;
    const auto start = number(LoadLocA, "Load Start");
    if (!start)
        return false;
    const auto end = number(LoadLocB, "Load End");
    if (!end)
        return false;
    const UDLFields fields{*value, *start, *end};
    return store(RecordKind::UDL, n, [&](BeamModel& m) { StoreUDL(m, n, fields); });
}

} // namespace kradon
