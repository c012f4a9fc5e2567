// The main window's editing path: every change of the model as one Undo step, the record
// dialogs and the Add commands that open them, the span field, and Reset.
#include "app/CaseResults.h"
#include "app/Guarded.h"
#include "app/ModelFiles.h"
#include "app/NumberText.h"
#include "app/RecordDialogs.h"
#include "app/ResultViews.h"
#include "app/ScopeExit.h"
#include "app/dialogs/LoadDialog.h"
#include "app/dialogs/frmFdn.h"
#include "app/dialogs/frmSsn.h"
#include "app/dialogs/frmSup.h"
#include "app/dialogs/frmVariation.h"
#include "app/frmMain.h"
#include "app/frmResGraph.h"
#include "app/modMDI.h"
#include "app/modToolBar.h"
#include "model/KradonError.h"
#include "results/ResultQueries.h"

#ifdef KRADON_HAS_RESULTS_WINDOW
#include "app/results/frmElementDisp.h"
#include "app/results/frmResultDisplay.h"
#endif

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QStatusBar>
#include <QUndoCommand>
#include <QUndoStack>
#include <utility>
#include <vector>

namespace kradon {

namespace {

/// One step of the undo stack: the whole model before and after a change. A model is a few
/// kilobytes, so keeping both is cheaper than working out the inverse of every edit.
class ModelChange : public QUndoCommand {
public:
    using Apply = std::function<void(const CaseModel&)>;
    ModelChange(CaseModel before, CaseModel after, const QString& text, Apply apply)
        : QUndoCommand(text), before_(std::move(before)), after_(std::move(after)),
          apply_(std::move(apply)) {}
    void undo() override { apply_(before_); }
    void redo() override { apply_(after_); }

private:
    CaseModel before_;
    CaseModel after_;
    Apply apply_;
};

} // namespace

void frmMain::EditModel(const std::function<void(BeamModel&)>& edit, const QString& description) {
    // While an analysis works on the model (in its own units) it is not to be changed.
    if (modelInUse_)
        throw KradonError(ErrorNumber::InvalidArgument, "frmMain", ModelInUseText);
    BeamModel edited = state_.model;
    edit(edited);
    if (edited == state_.model)
        return;
    EditCases([&edited](CaseModel& m) { StoreEditedBeam(m, std::move(edited)); }, description);
}

void frmMain::EditCases(const std::function<void(CaseModel&)>& edit, const QString& description) {
    if (modelInUse_)
        throw KradonError(ErrorNumber::InvalidArgument, "frmMain", ModelInUseText);
    CaseModel before = caseModel();
    CaseModel edited = before;
    edit(edited);
    if (edited == before)
        return;
    // Pushing the step applies it.
    undoStack_->push(new ModelChange(std::move(before), std::move(edited), description,
                                     [this](const CaseModel& m) { applyModel(m); }));
}

CaseModel frmMain::caseModel() const {
    CaseModel m = cases_;
    StoreEditedBeam(m, state_.model);
    return m;
}

void frmMain::takeModel(CaseModel m) {
    cases_ = std::move(m);
    state_.model = CurrentBeam(cases_);
}

bool frmMain::isModified() const {
    return !SameModelData(caseModel(), cleanModel_);
}

void frmMain::applyModel(const CaseModel& m) {
    takeModel(m);
    setSpan();
    redrawDiagrams();
    resultViews_->update();
    emit modelEdited();
    scheduleAnalysis();
}

// The Add commands open a dialog on the record after the last of its kind, EditRecord on the
// chosen one.
void frmMain::EditRecord(RecordKind kind, std::int16_t n) {
    emit recordEditRequested(kind, n);
    if (n < 1)
        return;
    recordDialogs_->open(kind, n);
}

void frmMain::redrawDiagrams() {
    for (std::int16_t kind = 0; kind < ResultsKind; ++kind)
        if (ChildWindow* child = mdi_->childOfKind(kind))
            if (auto* diagram = qobject_cast<frmResGraph*>(child->widget()))
                diagram->redraw();
}

void frmMain::refreshResultWindows() {
#ifdef KRADON_HAS_RESULTS_WINDOW
    if (ChildWindow* child = mdi_->childOfKind(ResultsKind))
        if (auto* results = qobject_cast<frmResultDisplay*>(child->widget())) {
            results->ShowReport();
            resultViews_->refreshed(results);
        }
    // The element shown before, if the new mesh still has it.
    auto* view = findChild<frmElementDisp*>("frmElementDisp", Qt::FindDirectChildrenOnly);
    if (view != nullptr && view->isVisible() && view->elementNumber >= 1 &&
        view->elementNumber <= caseResults_->shown().mesh.ElementCount) {
        FillElementView(*view, caseResults_->shown(), view->elementNumber);
        resultViews_->refreshed(view);
    }
#endif
}

// --- Add commands: each dialog opens on the record after the last of its kind -------------

namespace {

/// The number of the record after the last of kind.
std::int16_t nextRecord(const BeamModel& m, RecordKind kind) {
    return static_cast<std::int16_t>(m.count(kind) + 1);
}

} // namespace

void frmMain::AddEvn() {
    recordDialogs_->ShowVariation(nextRecord(state_.model, RecordKind::ESegment), "e");
}
void frmMain::AddIvn() {
    recordDialogs_->ShowVariation(nextRecord(state_.model, RecordKind::ISegment), "i");
}
void frmMain::AddPL_Click() {
    recordDialogs_->pointLoadDialog().frmPlnShow(nextRecord(state_.model, RecordKind::PointLoad));
}
void frmMain::AddUDL_Click() {
    recordDialogs_->udlDialog().frmUlnShow(nextRecord(state_.model, RecordKind::UDL));
}
void frmMain::AddTDL_Click() {
    recordDialogs_->tdlDialog().frmTlnShow(nextRecord(state_.model, RecordKind::TDL));
}
void frmMain::AddML_Click() {
    recordDialogs_->momentLoadDialog().frmMlnShow(nextRecord(state_.model, RecordKind::MomentLoad));
}
void frmMain::AddSup_Click() {
    recordDialogs_->rigidSupportDialog().frmSupShow(
        nextRecord(state_.model, RecordKind::RigidSupport));
}
void frmMain::AddSpringSup_Click() {
    recordDialogs_->springSupportDialog().frmSsnShow(
        nextRecord(state_.model, RecordKind::SpringSupport));
}
void frmMain::AddFdisp_Click() {
    recordDialogs_->fixedDisplacementDialog().frmFdnShow(
        nextRecord(state_.model, RecordKind::FixedDisplacement));
}

QLineEdit* frmMain::activeSpanField() const {
    QLineEdit* floating = toolbarDock_->floatingSpanField();
    return toolbarFloating_ && floating != nullptr ? floating : spanTxt;
}

bool frmMain::getSpan() {
    QLineEdit* field = activeSpanField();
    const std::optional<double> span = ParseLocaleNumber(field->text());
    if (!span || !IsValidSpan(*span)) {
        const QString refused = field->text();
        setSpan();
        messages_.show({ProgramTitle,
                        QString(SpanRefusedText)
                            .arg(refused, LocaleNumberText(state_.model.span))
                            .toStdString(),
                        Icon::Exclamation});
        return false;
    }
    EditModel([&](BeamModel& m) { m.span = *span; }, "Change Span");
    return true;
}

void frmMain::setSpan() {
    activeSpanField()->setText(LocaleNumberText(state_.model.span));
}

void frmMain::spanTxtChanged() {
    // A refusal's box takes the focus from the field, which would confirm it once more.
    if (confirmingSpan_ || modelInUse_ || shutDown_)
        return;
    confirmingSpan_ = true;
    const ScopeExit done([this] { confirmingSpan_ = false; });
    getSpan();
}

void frmMain::Reset() {
    ResetModel(state_.model);
    DropResults(state_);
    resultViews_->dropped();
    state_.AnalysisTime = 0;
    // The time shown belongs to the results just dropped.
    sBarPanel[1]->clear();
    setFileCaption();
    state_.model.span = DefaultSpan;
    cases_ = FromBeamModel(state_.model);
    caseResults_->clear();
}

// --- Span field ----------------------------------------------------------------------------

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched != spanTxt)
        return QMainWindow::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress) {
        spanTxt->setReadOnly(false);
    } else if (event->type() == QEvent::FocusIn) {
        // Reaching the field from the keyboard unlocks it as a click does.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
            reason == Qt::ShortcutFocusReason)
            spanTxt->setReadOnly(false);
    } else if (event->type() == QEvent::FocusOut && !spanTxt->isReadOnly()) {
        // Tab, a click elsewhere or a button confirm the span as Enter does.
        spanTxt->setReadOnly(true);
        guarded(messages_, [this] { spanTxtChanged(); });
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            spanTxt->setReadOnly(true);
            guarded(messages_, [this] { spanTxtChanged(); });
            mdiArea->setFocus();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace kradon
