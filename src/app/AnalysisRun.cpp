// The main window's analysis: the Analyse command, the analysis after a change, the models
// handed over meanwhile, the exports that need current results, and the result windows.
#include "analysis/AnalyseCommand.h"
#include "app/CaseResults.h"
#include "app/FilePicker.h"
#include "app/Guarded.h"
#include "app/RecordDialogs.h"
#include "app/ResultViews.h"
#include "app/ScopeExit.h"
#include "app/SheetExport.h"
#include "app/WindowBook.h"
#include "app/frmMain.h"
#include "app/frmResGraph.h"
#include "app/frmStatus.h"
#include "app/modMDI.h"
#include "model/KradonError.h"
#include "results/ResultQueries.h"
#include "settings/SettingsKeys.h"

#ifdef KRADON_HAS_RESULTS_WINDOW
#include "app/results/frmElementDisp.h"
#include "app/results/frmPrintPrev.h"
#include "app/results/frmResultDisplay.h"
#endif

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMetaObject>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <vector>

namespace kradon {

namespace {

/// Keeps the messages of an analysis that runs by itself, for the status bar.
struct NoteSink : MessageSink {
    std::vector<Message> shown;
    void show(const Message& message) override { shown.push_back(message); }
};

} // namespace

// --- Commands ------------------------------------------------------------------------------

void frmMain::submit_Click() {
    AnalyseCommand();
}

void frmMain::openHandedOver(const QString& path) {
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    // The progress window and the analysis's boxes let events through; the model is opened
    // once the analysis is over, not under it.
    if (analysing_) {
        handedOverDuringAnalysis_ << path;
        return;
    }
    OpenModel(path);
}

void frmMain::openHandedOverLater() {
    while (!analysing_ && !handedOverDuringAnalysis_.isEmpty())
        OpenModel(handedOverDuringAnalysis_.takeFirst());
}

void frmMain::AnalyseCommand() {
    // The progress window lets window events run, so the command could be asked for again
    // while it runs; it refuses then, and the commands that change the model are switched off.
    if (analysing_)
        return;
    analysing_ = true;
    setCommandsEnabled(false);
    const ScopeExit done([this] {
        setCommandsEnabled(true);
        analysing_ = false;
        openHandedOverSoon();
    });
    AnalyseOutcome outcome = AnalyseOutcome::Failed;
    guarded(messages_, [&] { outcome = runAnalysis(); });
    emit analysisFinished(outcome);
}

AnalyseOutcome frmMain::runAnalysis() {
    const WaitCursor wait;
    // The span typed last is taken first. One that is refused leaves the model's span, which is
    // then analysed: clicking Analyse confirms the field on its own before the click arrives.
    getSpan();
    // This analysis is the one a change would have asked for.
    analyseTimer_->stop();
    mdi_->CloseChild("All");
    GraphBtn_Click(IdealisedBeamKind);
    frmStatus_->clearLog();
    const AnalyseResult result =
        analyseModel(*frmStatus_, messages_, [this](const std::vector<std::string>& warnings) {
            return askToGoOn(warnings);
        });
    if (result.outcome == AnalyseOutcome::Completed) {
        GraphBtn_Click(MeshKind);
        sBarPanel[1]->setText(QString::fromStdString(AnalysisTimeText(result.AnalysisTime)));
        sBarPanel[1]->setToolTip(QString());
    }
    frmStatus_->hide();
    return result.outcome;
}

AnalyseResult frmMain::analyseModel(StatusSink& status, MessageSink& messages,
                                    const WarningsGate& gate) {
    AnalyseResult result;
    {
        modelInUse_ = true;
        const ScopeExit released([this] { modelInUse_ = false; });
        result = caseResults_->analyse(caseModel(), state_, paths_.analysisFolder, status, messages,
                                       gate);
    }
    if (result.outcome == AnalyseOutcome::CheckFailed ||
        result.outcome == AnalyseOutcome::Cancelled)
        return result;
    setFileCaption();
    if (result.outcome == AnalyseOutcome::Completed) {
        resultViews_->analysed();
        refreshResultWindows();
    } else {
        resultViews_->dropped();
    }
    redrawDiagrams();
    return result;
}

bool frmMain::oneSetOfResults() {
    if (!caseResults_->showsEnvelope())
        return true;
    messages_.show({ProgramTitle, NoSingleResultsText, Icon::Information});
    return false;
}

void frmMain::scheduleAnalysis() {
    if (state_.options.AnalyseAfterEveryChange)
        analyseTimer_->start();
}

bool frmMain::analysisPending() const {
    return analyseTimer_->isActive();
}

void frmMain::runPendingAnalysis() {
    if (!analyseTimer_->isActive())
        return;
    analyseTimer_->stop();
    analyseAfterChange();
}

void frmMain::setAnalysisDelay(std::chrono::milliseconds delay) {
    analyseTimer_->setInterval(delay);
}

void frmMain::analyseAfterChange() {
    if (analysing_) {
        scheduleAnalysis();
        return;
    }
    analysing_ = true;
    bool shown = false;
    const ScopeExit done([this, &shown] {
        if (shown) {
            setCommandsEnabled(true);
            frmStatus_->hide();
        }
        analysing_ = false;
        openHandedOverSoon();
    });
    // Nothing asks or opens: what the check or the analysis has to say goes to the status bar.
    NoteSink notes;
    DelayedProgress progress(*frmStatus_, QuietProgressDelay, [this, &shown] {
        shown = true;
        setCommandsEnabled(false);
    });
    AnalyseResult result{AnalyseOutcome::Failed, 0};
    guarded(notes, [&] { result = analyseModel(progress, notes, ShowWarningsAndGoOn(notes)); });
    showAnalysisNotes(result, notes.shown);
    emit analysisFinished(result.outcome);
}

void frmMain::showAnalysisNotes(const AnalyseResult& result, const std::vector<Message>& notes) {
    QStringList lines;
    for (const Message& note : notes)
        lines << QString::fromStdString(note.text).split("\r\n", Qt::SkipEmptyParts);
    QString text = lines.join("  ");
    if (result.outcome == AnalyseOutcome::Completed) {
        const QString time = QString::fromStdString(AnalysisTimeText(result.AnalysisTime));
        text = text.isEmpty() ? time : text + "  " + time;
    } else {
        text = NotAnalysedText + text;
    }
    sBarPanel[1]->setText(text);
    sBarPanel[1]->setToolTip(lines.join("\n"));
}

void frmMain::openHandedOverSoon() {
    if (!handedOverDuringAnalysis_.isEmpty())
        QMetaObject::invokeMethod(this, &frmMain::openHandedOverLater, Qt::QueuedConnection);
}

bool frmMain::askToGoOn(const std::vector<std::string>& warnings) {
    std::string text;
    for (const std::string& line : warnings)
        text = text.empty() ? line : MessageLines(text, line);
    return messages_.ask({WarningsTitle, text, Icon::Exclamation}, Buttons::ContinueCancel) ==
           Answer::Continue;
}

bool frmMain::analysisCurrent() const {
    return HasExactResults(caseResults_->shown()) && resultViews_->current();
}

bool frmMain::analysedForExport() {
    if (analysisCurrent())
        return true;
    if (messages_.ask({ProgramTitle, AnalyseBeforeExportText, Icon::Question}, Buttons::YesNo) !=
        Answer::Yes)
        return false;
    AnalyseCommand();
    return analysisCurrent();
}

QString frmMain::exportFolder() const {
    if (state_.FileName.empty())
        return QString::fromStdString(paths_.saveFolder.string());
    return QFileInfo(QString::fromStdString(state_.FileName)).absolutePath();
}

void frmMain::mnuExportSheet_Click() {
    if (analysing_ || !analysedForExport() || !oneSetOfResults())
        return;
    const UserDetails user{
        settings_.GetSetting(SettingsKeys::Config, SettingsKeys::UserName).toStdString(),
        settings_.GetSetting(SettingsKeys::Config, SettingsKeys::UserOrganisation).toStdString()};
    ExportCalculationSheet(this, caseResults_->shown(), user, files_, messages_, exportFolder());
}

void frmMain::ExportResults() {
    if (analysing_ || !analysedForExport() || !oneSetOfResults())
        return;
    ExportResultsCsv(this, caseResults_->shown(), files_, messages_, exportFolder());
}

void frmMain::setCommandsEnabled(bool enabled) {
    menuBar()->setEnabled(enabled);
    KradonTB->setEnabled(enabled);
    KradonTBButton[21]->setEnabled(enabled);
    BtnTbr->setEnabled(enabled);
    // The model is in analysis units while an analysis runs; no dialog may store into it then.
    for (QWidget* dialog : recordDialogs_->made())
        dialog->setEnabled(enabled);
}

// --- Result windows: each one that opens is connected to the commands ---------------------

void frmMain::connectChild(QWidget* content) {
    QWidget* frame = content->parentWidget();
    if (auto* diagram = qobject_cast<frmResGraph*>(content)) {
        // Every picture but the idealised beam shows results, of the case, combination or
        // envelope chosen.
        if (diagram->pictureKind() != modGraphics::PictureKind::Beam) {
            resultViews_->watch(frame, content, ResultViews::Follows::Tables);
            diagram->setSelector(caseResults_->makeSelector(diagram));
            diagram->drawInstead = [this](modGraphics::PictureKind kind, DrawingSurface& surface) {
                return caseResults_->drawEnvelope(kind, surface);
            };
        }
        return;
    }
#ifdef KRADON_HAS_RESULTS_WINDOW
    auto* results = qobject_cast<frmResultDisplay*>(content);
    if (results == nullptr)
        return;
    resultViews_->watch(frame, content, ResultViews::Follows::Copy);
    results->reportInstead = [this] { return caseResults_->envelopeReport(); };
    results->setSelector(caseResults_->makeSelector(results));
    connect(results, &frmResultDisplay::elementViewShown, this, [this](frmElementDisp* view) {
        resultViews_->watch(view, view, ResultViews::Follows::Copy);
        resultViews_->refreshed(view);
    });
    connect(results, &frmResultDisplay::pictureShown, this, [this](frmPrintPrev* picture) {
        // A composition shows the tables of the moment its Beam button was pressed.
        if (picture->property("watched").toBool())
            return;
        picture->setProperty("watched", true);
        resultViews_->watch(picture, picture, ResultViews::Follows::Copy);
        connect(picture->BeamBtn, &QPushButton::clicked, this,
                [this, picture] { resultViews_->refreshed(picture); });
    });
    results->setFilePicker(files_);
    results->setOwnMenuBarShown(false);
    connectResultsItems(*results);
    // Its menus go with it; the main window's come back at once, before the next activation.
    connect(results, &QObject::destroyed, this, [this] { windowBook_->showOwnMenus(); });
    connect(results->mnuWindow, &QMenu::aboutToShow, results, [this, results] {
        windowBook_->listWindowsIn(results->mnuWindow,
                                   {results->mnuWindow_Cascade, results->mnuWindow_THorizontal,
                                    results->mnuWindow_TVertical, results->mnuWindow_Arrange});
    });
    connect(results, &frmResultDisplay::arrangeRequested, this,
            [this](Arrangement a) { mnuWindow_Click(static_cast<int>(a)); });
    connect(results, &frmResultDisplay::helpContentsRequested, this,
            &frmMain::mnuHelpContents_Click);
    connect(results, &frmResultDisplay::tipsSwitched, this, [this](bool on) {
        mnuView_TotD->setChecked(on);
        mnuView_TotD_Click();
    });
#else
    Q_UNUSED(content);
#endif
}

#ifdef KRADON_HAS_RESULTS_WINDOW
void frmMain::connectResultsItems(frmResultDisplay& results) {
    // Each item is at hand exactly when the main window's is, and runs the same command.
    const auto follow = [](QAction* copy, QAction* original) {
        copy->setEnabled(original->isEnabled());
        connect(original, &QAction::enabledChanged, copy, &QAction::setEnabled);
    };
    follow(results.mnuOptions, mnuOptions);
    follow(results.mnuView_TotD, mnuView_TotD);
    follow(results.mnuView_Properties, mnuView_Properties);
    follow(results.mnuHelpContents, mnuHelpContents);
    follow(results.mnuHelp_ShowTotD, mnuHelp_ShowTotD);
    follow(results.mnuHelpAbout, mnuHelpAbout);
    connect(&results, &frmResultDisplay::optionsRequested, mnuOptions, &QAction::trigger);
    connect(&results, &frmResultDisplay::propertiesBoxRequested, this, &frmMain::ShowPropertiesBox);
    connect(&results, &frmResultDisplay::tipOfTheDayRequested, mnuHelp_ShowTotD, &QAction::trigger);
    connect(&results, &frmResultDisplay::aboutRequested, mnuHelpAbout, &QAction::trigger);
    // Queued: an analysis on the way closes the results window that asked.
    connect(&results, &frmResultDisplay::exportSheetRequested, this, &frmMain::mnuExportSheet_Click,
            Qt::QueuedConnection);
    connect(&results, &frmResultDisplay::exportResultsRequested, this, &frmMain::ExportResults,
            Qt::QueuedConnection);
}
#endif

} // namespace kradon
