// The results the result windows show. A model with one load case and no combination is
// analysed as one beam, and its tables are shown as they are. A model with several cases or a
// combination has every case analysed once; the user then chooses, in any result window, one
// case, one combination or the envelope, and every result window shows that choice.
#pragma once

#include "analysis/AnalyseCommand.h"
#include "analysis/ProgramState.h"
#include "graphics/DrawingSurface.h"
#include "graphics/modGraphics.h"
#include "model/LoadCases.h"
#include "model/Sinks.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <memory>
#include <string>

class QComboBox;
class QWidget;

namespace kradon {

inline constexpr const char* EnvelopeChoiceText = "Envelope";
inline constexpr const char* CaseChoicePrefix = "Case: ";
inline constexpr const char* CombinationChoicePrefix = "Combination: ";
inline constexpr const char* ResultsOfText = "Results of:";

class CaseResults : public QObject {
    Q_OBJECT
signals:
    /// The choice shown has changed (the selectors follow it).
    void selectionChanged();
    /// The user chose other results to show: the result windows draw or fill themselves again.
    void chosen();
    /// The list of choices has changed (a new analysis, or none).
    void choicesChanged();

public:
    explicit CaseResults(QObject* parent);
    ~CaseResults() override;

    /// The tables the result windows show: those of the chosen case or combination, or for an
    /// envelope the common mesh with the prescribed displacements' results alone.
    ProgramState& shown() { return shown_; }
    const ProgramState& shown() const { return shown_; }

    /// Analyses m, whose current case's beam is state.model, with copies in copyFolder. A model
    /// of one case that is not patterned, without combinations, is analysed as the Analyse
    /// command analyses a beam, in state itself (its model as entered afterwards), and its
    /// tables are shown: nothing to choose. Otherwise every case is analysed, with the options'
    /// mesh density; the choices are each case, each combination and the envelope, and the
    /// choice of the same name as before stays chosen (otherwise the envelope). A check that
    /// fails or a cancel changes nothing; a failed run leaves no results. Throws KradonError
    /// (FileIo) when a copy cannot be written.
    AnalyseResult analyse(const CaseModel& m, ProgramState& state,
                          const std::filesystem::path& copyFolder, StatusSink& status,
                          MessageSink& messages, const WarningsGate& gate);
    /// No results (Open, New): empty tables, nothing to choose.
    void clear();
    /// The tables of one beam's analysis (or none) are shown as they are: nothing to choose.
    void takeSingle(const ProgramState& analysed);

    QStringList choices() const;
    /// The index of the choice shown, or -1 when there is none.
    int selected() const { return selected_; }
    /// Shows choice index; one out of range is ignored.
    void select(int index);

    /// Whether an envelope is shown (the envelope, or a loading with a patterned case).
    bool showsEnvelope() const;
    /// Draws the envelope picture of kind when an envelope is shown; false when there is none
    /// or kind has no envelope (the beam, the mesh, E and I are drawn as usual).
    bool drawEnvelope(modGraphics::PictureKind kind, DrawingSurface& surface) const;
    /// The envelope report when an envelope is shown, otherwise empty.
    std::string envelopeReport() const;

    /// A drop-down list of the choices that follows this object and chooses through it; hidden
    /// while there is nothing to choose. Its object name is "loadingCmb".
    QComboBox* makeSelector(QWidget* parent);

private:
    struct Analysed; // the analysis, its model, the choices and the envelope shown
    void showChoice();

    ProgramState shown_;
    std::unique_ptr<Analysed> analysed_;
    int selected_ = -1;
};

} // namespace kradon
