// The dialogs that edit the records of the model, one window each per run, made on first use as
// children of the main window; the E and I definition dialogs are made afresh each time.
#pragma once

#include "model/BeamModel.h"

#include <QPointer>
#include <QString>
#include <cstdint>
#include <vector>

class QWidget;

namespace kradon {

class frmFdn;
class frmMain;
class frmMln;
class frmPln;
class frmSsn;
class frmSup;
class frmTln;
class frmUln;
class frmVariation;

class RecordDialogs {
public:
    explicit RecordDialogs(frmMain& main) : main_(main) {}

    frmPln& pointLoadDialog();
    frmUln& udlDialog();
    frmTln& tdlDialog();
    frmMln& momentLoadDialog();
    frmSup& rigidSupportDialog();
    frmSsn& springSupportDialog();
    frmFdn& fixedDisplacementDialog();
    /// A fresh E (kind "e") or I (any other kind) definition dialog shown on segment n; it
    /// replaces, and closes, the one of its kind before it.
    frmVariation& ShowVariation(std::int16_t n, const QString& kind);
    /// The E and I definition dialogs open now; null when there is none.
    frmVariation* eDialog() const;
    frmVariation* iDialog() const;
    /// Opens the dialog of record n (from 1) of kind.
    void open(RecordKind kind, std::int16_t n);
    /// The dialogs that can change the model, those made so far.
    std::vector<QWidget*> made() const;

private:
    frmMain& main_;
    frmPln* frmPln_ = nullptr;
    frmUln* frmUln_ = nullptr;
    frmTln* frmTln_ = nullptr;
    frmMln* frmMln_ = nullptr;
    frmSup* frmSup_ = nullptr;
    frmSsn* frmSsn_ = nullptr;
    frmFdn* frmFdn_ = nullptr;
    QPointer<frmVariation> eDialog_;
    QPointer<frmVariation> iDialog_;
};

} // namespace kradon
