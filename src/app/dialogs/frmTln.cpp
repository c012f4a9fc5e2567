// The trapezoidally distributed load dialog.
#include "app/dialogs/frmTln.h"

#include "app/dialogs/DialogFields.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace kradon {

frmTln::frmTln(frmMain& main)
    : RecordDialog(main, "frmTln", "Trapezoidal Load Details", "TDL Load No. ") {
    // The first number label names the load in full; every later one says "TDL".
    LoadNoLab = NamedLabel(this, "LoadNoLab", "Trapezoidal Load No. 1");
    Label1 = NamedLabel(this, "Label1", "Load &Start Value");
    LoadValA = NamedField(this, "LoadValA", "10");
    Label2 = NamedLabel(this, "Label2", "kN/m");
    Label3 = NamedLabel(this, "Label3", "Load &End Value");
    LoadValB = NamedField(this, "LoadValB", "50");
    Label4 = NamedLabel(this, "Label4", "kN/m");
    Label5 = NamedLabel(this, "Label5", "&Load Start");
    LoadLocA = NamedField(this, "LoadLocA", "0");
    Label6 = NamedLabel(this, "Label6", "m");
    Label7 = NamedLabel(this, "Label7", "Load E&nd");
    LoadLocB = NamedField(this, "LoadLocB", "5");
    Label8 = NamedLabel(this, "Label8", "m");
    auto* grid = new QGridLayout;
    addRow(*grid, Label1, LoadValA, Label2);
    addRow(*grid, Label3, LoadValB, Label4);
    addRow(*grid, Label5, LoadLocA, Label6);
    addRow(*grid, Label7, LoadLocB, Label8);
    finishLayout(LoadNoLab, grid, LoadValA);
}

void frmTln::frmTlnShow(std::int16_t n) {
    const TDLList& loads = model().TDL;
    if (IsShownRecord(n, model().count(RecordKind::TDL), loads.end.size())) {
        const auto i = static_cast<std::size_t>(n);
        LoadValA->setText(DisplayNumber(loads.startValue[i]));
        LoadValB->setText(DisplayNumber(loads.endValue[i]));
        LoadLocA->setText(DisplayNumber(loads.start[i]));
        LoadLocB->setText(DisplayNumber(loads.end[i]));
    }
    showRecord(n);
}

bool frmTln::storeRecord(std::int16_t n) {
    const auto startValue = number(LoadValA, "Load Start Value");
    if (!startValue)
        return false;
    const auto endValue = number(LoadValB, "Load End Value");
    if (!endValue)
        return false;
    const auto start = number(LoadLocA, "Load Start");
    if (!start)
        return false;
    const auto end = number(LoadLocB, "Load End");
    if (!end)
        return false;
    const TDLFields fields{*startValue, *endValue, *start, *end};
    return store(RecordKind::TDL, n, [&](BeamModel& m) { StoreTDL(m, n, fields); });
}

} // namespace kradon
