// The load dialogs from their field tables.
#include "app/dialogs/LoadDialog.h"

#include "app/dialogs/DialogFields.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace kradon {

LoadDialog::LoadDialog(frmMain& main, LoadDialogLayout layout)
    : RecordDialog(main, layout.name, layout.caption, layout.recordPrefix),
      layout_(std::move(layout)) {
    QLabel* numberLabel = NamedLabel(this, "LoadNoLab", layout_.firstNumberText);
    auto* grid = new QGridLayout;
    for (const LoadField& f : layout_.fields) {
        QLabel* caption = NamedLabel(this, f.captionName, f.caption);
        fields_.push_back(NamedField(this, f.fieldName, f.initial));
        addRow(*grid, caption, fields_.back(), NamedLabel(this, f.unitName, f.unit));
    }
    finishLayout(numberLabel, grid, fields_.front());
}

void LoadDialog::showLoad(std::int16_t n) {
    const BeamModel& m = model();
    if (IsShownRecord(n, m.count(layout_.kind), layout_.fields.front().list(m).size())) {
        const auto i = static_cast<std::size_t>(n);
        for (std::size_t f = 0; f < fields_.size(); ++f)
            fields_[f]->setText(DisplayNumber(layout_.fields[f].list(m)[i]));
    }
    showRecord(n);
}

bool LoadDialog::storeRecord(std::int16_t n) {
    std::vector<std::string> texts;
    for (std::size_t f = 0; f < fields_.size(); ++f) {
        const auto text = number(fields_[f], layout_.fields[f].title);
        if (!text)
            return false;
        texts.push_back(*text);
    }
    return store(layout_.kind, n, [&](BeamModel& m) { layout_.store(m, n, texts); });
}

frmPln::frmPln(frmMain& main)
    : LoadDialog(main, {"frmPln", "Point Load Details", "Point Load No. ", "Point Load No. 1",
                        RecordKind::PointLoad,
                        {{"Label3", "Load &Value", "LoadVal", "10", "Label1", "kN", "Load Value",
                          [](const BeamModel& m) -> auto& { return m.PointLoad.value;
} // namespace kradon
}
, {
    "Label4", "Load &Location", "LoadLoc", "2.5", "Label7", "m", "Load Location",
        [](const BeamModel& m) -> auto& {
        return m.PointLoad.location;
    }
}
}
, [](BeamModel& m, std::int16_t n, const std::vector<std::string>& t) {
    StorePointLoad(m, n, {t[0], t[1]});
}
}) {}

frmUln::frmUln(frmMain& main)
    : LoadDialog(main, {"frmUln", "UDL Details", "UDL Load No. ", "UDL Load No. 1",
                        RecordKind::UDL,
                        {{"Label1", "Load &Value", "LoadVal", "10", "Label2", "kN/m", "Load Value",
                          [](const BeamModel& m) -> auto& { return m.UDL.value;
}
}
, {"Label3", "Load &Start", "LoadLocA", "0", "Label4", "m", "Load Start",
   [](const BeamModel& m) -> auto& {return m.UDL.start;
}
}
, {
    "Label5", "Load &End", "LoadLocB", "8", "Label6", "m", "Load End",
        [](const BeamModel& m) -> auto& {
        return m.UDL.end;
    }
}
}
, [](BeamModel& m, std::int16_t n, const std::vector<std::string>& t) {
    StoreUDL(m, n, {t[0], t[1], t[2]});
}
}) {}

// The first number label names the load in full; every later one says "TDL".
frmTln::frmTln(frmMain& main)
    : LoadDialog(main, {"frmTln", "Trapezoidal Load Details", "TDL Load No. ",
                        "Trapezoidal Load No. 1", RecordKind::TDL,
                        {{"Label1", "Load &Start Value", "LoadValA", "10", "Label2", "kN/m",
                          "Load Start Value",
                          [](const BeamModel& m) -> auto& { return m.TDL.startValue;
}
}
, {"Label3", "Load &End Value", "LoadValB", "50", "Label4", "kN/m", "Load End Value",
   [](const BeamModel& m) -> auto& {return m.TDL.endValue;
}
}
, {"Label5", "&Load Start", "LoadLocA", "0", "Label6", "m", "Load Start",
   [](const BeamModel& m) -> auto& {return m.TDL.start;
}
}
, {
    "Label7", "Load E&nd", "LoadLocB", "5", "Label8", "m", "Load End",
        [](const BeamModel& m) -> auto& {
        return m.TDL.end;
    }
}
}
, [](BeamModel& m, std::int16_t n, const std::vector<std::string>& t) {
    StoreTDL(m, n, {t[0], t[1], t[2], t[3]});
}
}) {}

frmMln::frmMln(frmMain& main)
    : LoadDialog(main, {"frmMln", "Moment Load Details", "Moment Load No. ",
                        "Moment Load No. 1", RecordKind::MomentLoad,
                        {{"Label1", "Load &Value", "LoadVal", "10", "Label2", "kNm", "Load Value",
                          [](const BeamModel& m) -> auto& { return m.MomentLoad.value;
}
}
, {
    "Label3", "Load &Location", "LoadLoc", "12.5", "Label4", "m", "Load Location",
        [](const BeamModel& m) -> auto& {
        return m.MomentLoad.location;
    }
}
}
, [](BeamModel& m, std::int16_t n, const std::vector<std::string>& t) {
    StoreMomentLoad(m, n, {t[0], t[1]});
}
}) {}

} // namespace kradon
