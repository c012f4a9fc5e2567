// The dialogs that edit the records of the model.
#include "app/RecordDialogs.h"

#include "app/dialogs/LoadDialog.h"
#include "app/dialogs/frmFdn.h"
#include "app/dialogs/frmSsn.h"
#include "app/dialogs/frmSup.h"
#include "app/dialogs/frmVariation.h"
#include "app/frmMain.h"

#include <initializer_list>

namespace kradon {

namespace {

/// The dialog behind window, made on first use as a child of the main window.
template <typename Dialog> Dialog& dialogOnce(Dialog*& window, frmMain& main) {
    if (!window)
        window = new Dialog(main);
    return *window;
}

} // namespace

frmPln& RecordDialogs::pointLoadDialog() {
    return dialogOnce(frmPln_, main_);
}
frmUln& RecordDialogs::udlDialog() {
    return dialogOnce(frmUln_, main_);
}
frmTln& RecordDialogs::tdlDialog() {
    return dialogOnce(frmTln_, main_);
}
frmMln& RecordDialogs::momentLoadDialog() {
    return dialogOnce(frmMln_, main_);
}
frmSup& RecordDialogs::rigidSupportDialog() {
    return dialogOnce(frmSup_, main_);
}
frmSsn& RecordDialogs::springSupportDialog() {
    return dialogOnce(frmSsn_, main_);
}
frmFdn& RecordDialogs::fixedDisplacementDialog() {
    return dialogOnce(frmFdn_, main_);
}

frmVariation& RecordDialogs::ShowVariation(std::int16_t n, const QString& kind) {
    QPointer<frmVariation>& current = kind == "e" ? eDialog_ : iDialog_;
    if (current)
        current->close();
    current = new frmVariation(main_);
    current->frmVariationShow(n, kind);
    return *current;
}

frmVariation* RecordDialogs::eDialog() const {
    return eDialog_;
}
frmVariation* RecordDialogs::iDialog() const {
    return iDialog_;
}

void RecordDialogs::open(RecordKind kind, std::int16_t n) {
    switch (kind) {
    case RecordKind::PointLoad:
        return pointLoadDialog().frmPlnShow(n);
    case RecordKind::UDL:
        return udlDialog().frmUlnShow(n);
    case RecordKind::TDL:
        return tdlDialog().frmTlnShow(n);
    case RecordKind::MomentLoad:
        return momentLoadDialog().frmMlnShow(n);
    case RecordKind::RigidSupport:
        return rigidSupportDialog().frmSupShow(n);
    case RecordKind::SpringSupport:
        return springSupportDialog().frmSsnShow(n);
    case RecordKind::FixedDisplacement:
        return fixedDisplacementDialog().frmFdnShow(n);
    case RecordKind::ESegment:
        ShowVariation(n, "e");
        return;
    case RecordKind::ISegment:
        ShowVariation(n, "i");
        return;
    }
}

std::vector<QWidget*> RecordDialogs::made() const {
    std::vector<QWidget*> dialogs;
    for (QWidget* d : std::initializer_list<QWidget*>{frmPln_, frmUln_, frmTln_, frmMln_, frmSup_,
                                                      frmSsn_, frmFdn_, eDialog_, iDialog_})
        if (d)
            dialogs.push_back(d);
    return dialogs;
}

} // namespace kradon
