// The result windows' choice of case, combination or envelope.
#include "app/CaseResults.h"

#include "analysis/LoadCombinations.h"
#include "app/ShellSinks.h"
#include "graphics/EnvelopeDiagram.h"
#include "results/EnvelopeReport.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <optional>
#include <utility>
#include <vector>

namespace kradon {

struct CaseResults::Analysed {
    struct Choice {
        QString name;
        std::optional<Loading> loading; // none: the envelope of the model
    };
    CaseAnalysis analysis;
    CaseModel model;
    std::vector<Choice> choices;
    std::optional<EnvelopeResult> envelope;
};

CaseResults::CaseResults(QObject* parent) : QObject(parent) {
    setObjectName("CaseResults");
}

CaseResults::~CaseResults() = default;

void CaseResults::takeSingle(const ProgramState& analysed) {
    analysed_.reset();
    selected_ = -1;
    shown_ = analysed;
    emit choicesChanged();
    emit selectionChanged();
}

namespace {

/// A model of one plain case is analysed as one beam, as a .kdn model always was.
bool oneBeam(const CaseModel& m) {
    return m.cases.size() == 1 && m.combinations.empty() && !m.cases.front().pattern;
}

} // namespace

AnalyseResult CaseResults::analyse(const CaseModel& m, ProgramState& state,
                                   const std::filesystem::path& copyFolder, StatusSink& status,
                                   MessageSink& messages, const WarningsGate& gate) {
    if (oneBeam(m)) {
        // The analysis converts the model's loads and back; what the user entered stays, to
        // the last digit.
        const BeamModel entered = state.model;
        // A model that asks for exact sections has them, whatever the option.
        const bool option = state.options.ExactSections;
        state.options.ExactSections = option || m.exactSections;
        const AnalyseResult result = AnalyseCore(state, copyFolder, status, messages, gate);
        state.options.ExactSections = option;
        if (result.outcome == AnalyseOutcome::CheckFailed ||
            result.outcome == AnalyseOutcome::Cancelled)
            return result;
        state.model = entered;
        takeSingle(state);
        return result;
    }
    const ProgramState& base = state;
    CaseModel analysed = m;
    analysed.meshDensity = base.options.MeshDensFact;
    analysed.exactSections = m.exactSections || base.options.ExactSections;
    CasesOutcome outcome = AnalyseCases(analysed, copyFolder, status, messages);
    if (outcome.outcome == AnalyseOutcome::CheckFailed ||
        outcome.outcome == AnalyseOutcome::Cancelled)
        return {outcome.outcome, 0};
    if (outcome.outcome != AnalyseOutcome::Completed) {
        clear();
        return {outcome.outcome, 0};
    }
    const QString before = selected_ >= 0 ? choices().at(selected_) : QString(EnvelopeChoiceText);
    auto a = std::make_unique<Analysed>();
    a->analysis = std::move(*outcome.analysis);
    a->model = m;
    for (std::size_t c = 0; c < m.cases.size(); ++c)
        a->choices.push_back(
            {CaseChoicePrefix + QString::fromStdString(m.cases[c].name), CaseLoading(m, c)});
    for (std::size_t k = 0; k < m.combinations.size(); ++k)
        a->choices.push_back(
            {CombinationChoicePrefix + QString::fromStdString(m.combinations[k].name),
             CombinationLoading(m, k)});
    a->choices.push_back({EnvelopeChoiceText, std::nullopt});
    const double time = a->analysis.AnalysisTime;
    analysed_ = std::move(a);
    selected_ = static_cast<int>(choices().indexOf(before));
    if (selected_ < 0)
        selected_ = static_cast<int>(analysed_->choices.size()) - 1;
    shown_.FileName = base.FileName;
    shown_.options = base.options;
    state.AnalysisTime = time;
    emit choicesChanged();
    showChoice();
    return {AnalyseOutcome::Completed, time};
}

void CaseResults::clear() {
    takeSingle(ProgramState{});
}

QStringList CaseResults::choices() const {
    QStringList names;
    if (analysed_)
        for (const Analysed::Choice& c : analysed_->choices)
            names << c.name;
    return names;
}

void CaseResults::select(int index) {
    if (!analysed_ || index < 0 || index >= static_cast<int>(analysed_->choices.size()) ||
        index == selected_)
        return;
    selected_ = index;
    showChoice();
    emit chosen();
}

bool CaseResults::showsEnvelope() const {
    return analysed_ && analysed_->envelope;
}

void CaseResults::showChoice() {
    Analysed& a = *analysed_;
    const Analysed::Choice& choice = a.choices.at(static_cast<std::size_t>(selected_));
    const std::string fileName = shown_.FileName;
    Options options = shown_.options;
    if (choice.loading && !IsPatterned(a.analysis, *choice.loading)) {
        a.envelope.reset();
        shown_ = CombinedState(a.analysis, a.model, *choice.loading);
    } else {
        a.envelope = Envelope(a.analysis, choice.loading ? std::vector<Loading>{*choice.loading}
                                                         : EnvelopeLoadings(a.model));
        // The common mesh and the supports; the curves come from the envelope.
        shown_ = a.analysis.frame;
        shown_.AnalysisTime = a.analysis.AnalysisTime;
    }
    shown_.FileName = fileName;
    options.MaxNoApplieds = shown_.model.MaxNoApplieds;
    shown_.options = options;
    emit selectionChanged();
}

bool CaseResults::drawEnvelope(modGraphics::PictureKind kind, DrawingSurface& surface) const {
    if (!showsEnvelope())
        return false;
    NullMessageSink skipped;
    return modGraphics::DrawEnvelopeDiagram(surface, kind, analysed_->analysis,
                                            *analysed_->envelope, analysed_->model, skipped);
}

std::string CaseResults::envelopeReport() const {
    if (!showsEnvelope())
        return {};
    return EnvelopeReport(analysed_->analysis, *analysed_->envelope, analysed_->model,
                          analysed_->analysis.AnalysisTime);
}

QComboBox* CaseResults::makeSelector(QWidget* parent) {
    auto* selector = new QComboBox(parent);
    selector->setObjectName("loadingCmb");
    selector->setToolTip(ResultsOfText);
    selector->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    const auto fill = [this, selector] {
        const QSignalBlocker quiet(selector);
        selector->clear();
        selector->addItems(choices());
        selector->setCurrentIndex(selected_);
        selector->setVisible(choices().size() > 1);
    };
    fill();
    connect(this, &CaseResults::choicesChanged, selector, fill);
    connect(this, &CaseResults::selectionChanged, selector, [this, selector] {
        const QSignalBlocker quiet(selector);
        selector->setCurrentIndex(selected_);
    });
    connect(selector, &QComboBox::activated, this, &CaseResults::select);
    return selector;
}

} // namespace kradon
