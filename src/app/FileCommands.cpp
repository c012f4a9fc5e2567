// The main window's file commands: New, Open, Save, Save As, the recent files, and the
// question about unsaved changes.
#include "app/FilePicker.h"
#include "app/Guarded.h"
#include "app/ModelFiles.h"
#include "app/frmMain.h"
#include "app/frmProperties.h"
#include "app/modMDI.h"
#include "app/settings/RecentFilesMenu.h"
#include "app/settings/frmOptions.h"
#include "model/KradonError.h"
#include "model/modFileWrite.h"
#include "results/ResultQueries.h"

#include "json/ModelJson.h"
#include <QPushButton>
#include <QUndoStack>
#include <utility>

namespace kradon {

void frmMain::setFileCaption() {
    setWindowTitle("Kradon - [" + QString::fromStdString(state_.FileName) + "]");
}

bool frmMain::maybeSave() {
    if (!isModified())
        return true;
    switch (messages_.ask({ProgramTitle, UnsavedChangesText, Icon::Exclamation},
                          Buttons::SaveDiscardCancel)) {
    case Answer::Save:
        return SaveModel(true);
    case Answer::Discard:
        return true;
    default:
        return false;
    }
}

QString frmMain::proposedSaveName() const {
    // The stored save folder, once there is one, is where Save As starts.
    if (!state_.options.SaveIn.empty()) {
        const std::filesystem::path name = state_.FileName.empty()
                                               ? std::filesystem::path(modFileWrite::NewModelName)
                                               : std::filesystem::path(state_.FileName).filename();
        return QString::fromStdString(
            (std::filesystem::path(state_.options.SaveIn) / name).string());
    }
    if (!state_.FileName.empty())
        return QString::fromStdString(state_.FileName);
    return QString::fromStdString((paths_.saveFolder / modFileWrite::NewModelName).string());
}

bool frmMain::SaveModel(bool saveMode) {
    if (neverSaved_ || state_.FileName.empty())
        saveMode = false;
    // The model takes a new name only once it has been written under it.
    std::string target = state_.FileName;
    const CaseModel saved = caseModel();
    while (true) {
        while (!saveMode) {
            const PickedName name =
                files_.saveName(this, "Save As", SaveFilters(saved), SaveSuffix(saved),
                                ProposedModelName(saved, proposedSaveName()));
            if (!name)
                return false;
            if (name->isEmpty()) {
                messages_.show({NameAFileTitle, NameAFileText, Icon::Information});
                continue;
            }
            target = name->toStdString();
            saveMode = true;
        }
        // A model that needs the JSON format is not written as a .kdn file: the name is asked
        // for again, after the reason.
        const auto problem =
            ModelJson::IsJsonModelPath(target) ? std::nullopt : KdnCannotHold(saved);
        if (!problem)
            break;
        messages_.show({ProgramTitle,
                        QString(KdnRefusedText)
                            .arg(QString::fromStdString(target), QString::fromStdString(*problem))
                            .toStdString(),
                        Icon::Exclamation});
        saveMode = false;
    }
    try {
        SaveCaseModelFile(target, saved);
    } catch (const std::exception& e) {
        messages_.show({ProgramTitle,
                        MessageLines(modFileWrite::SaveErrorPrefix + target, e.what()),
                        Icon::None});
        return false;
    }
    state_.FileName = target;
    cleanModel_ = saved;
    neverSaved_ = false;
    // The new name shows at once wherever the model's name is shown.
    setFileCaption();
    if (frmProperties_ != nullptr)
        frmProperties_->updatePanels();
    return true;
}

bool frmMain::OpenModel(const QString& path) {
    return maybeSave() && openAfterAsking(path);
}

bool frmMain::openAfterAsking(const QString& path) {
    QString chosen = path;
    if (chosen.isEmpty()) {
        const PickedName name =
            files_.openName(this, DialogFilters(ModelOpenFilter), modFileWrite::DefaultExtension,
                            QString::fromStdString(state_.options.OpenIn));
        if (!name || name->isEmpty())
            return false;
        chosen = *name;
    }
    // The file is read completely before anything is replaced, so a failed Open leaves the
    // model, its file name and the windows as they were.
    CaseModel read;
    try {
        read = ModelJson::OpenCaseModelFile(chosen.toStdString());
    } catch (const std::exception& e) {
        messages_.show(
            {ProgramTitle,
             MessageLines(modFileWrite::OpenErrorPrefix + chosen.toStdString(), e.what()),
             Icon::None});
        return false;
    }
    if (mdi_->TabCount != 0)
        mdi_->CloseChild("All");
    state_.FileName = chosen.toStdString();
    neverSaved_ = false;
    Reset();
    takeModel(std::move(read));
    state_.options.MaxNoApplieds = state_.model.MaxNoApplieds;
    cleanModel_ = caseModel();
    setSpan();
    GraphBtn_Click(IdealisedBeamKind);
    setFileCaption();
    modelReplaced();
    recentFiles_->AddFile(chosen);
    scheduleAnalysis();
    return true;
}

void frmMain::NewModel() {
    if (!maybeSave())
        return;
    // The name shown until the model is saved under one of the user's choosing.
    state_.FileName = (paths_.saveFolder / modFileWrite::NewModelName).string();
    neverSaved_ = true;
    mdi_->CloseChild("All");
    guarded(messages_, [this] {
        ClearModelLists(state_.model);
        Reset();
        // The options dialog's fields are taken over; the lists then get the new capacity.
        frmOptions_->takeFields();
        state_.model.MaxNoApplieds = state_.options.MaxNoApplieds;
        ClearModelLists(state_.model);
    });
    cases_ = FromBeamModel(state_.model);
    getSpan();
    cleanModel_ = caseModel();
    GraphBtn_Click(IdealisedBeamKind);
    modelReplaced();
}

void frmMain::modelReplaced() {
    undoStack_->clear();
    if (frmProperties_ == nullptr)
        return;
    frmProperties_->updatePanels();
    frmProperties_->refreshProperties();
}

void frmMain::mnuFile_New_Click() {
    NewModel();
}
void frmMain::mnuOpen_Click() {
    OpenModel(QString());
}
void frmMain::mnuFile_CloseAll_Click() {
    mdi_->CloseChild("All");
}
void frmMain::mnuSave_Click() {
    SaveModel(true);
}
void frmMain::mnuSaveAs_Click() {
    SaveModel(false);
}
void frmMain::mnuExit_Click() {
    close();
}

void frmMain::mnuRUF_Click(int index) {
    // The question comes first, so that its Cancel leaves the list as it was.
    if (!maybeSave())
        return;
    const QString path = recentFiles_->tag(index);
    recentFiles_->AddFile(path);
    openAfterAsking(path);
}

} // namespace kradon
