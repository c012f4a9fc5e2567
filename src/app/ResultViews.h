// The windows that show results of an analysis, and the mark each carries while what it shows
// no longer belongs to the model: " (out of date)" after its title and a band over its content
// that says what to do. Printing or saving such a window asks first.
#pragma once

#include "analysis/ProgramState.h"
#include "app/ShellSinks.h"
#include "model/LoadCases.h"

#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace kradon {

inline constexpr const char* OutOfDateSuffix = " (out of date)";
inline constexpr const char* OutOfDateBandText =
    "Out of date: the model has changed since these results were calculated. Press F5 to "
    "analyse it again.";
/// The question before an out-of-date window is printed or saved; %1 is the command ("Print").
inline constexpr const char* UseOutOfDateText =
    "These results are out of date: the model has changed since they were calculated.\r\n%1 "
    "them anyway?";

/// The band over the top of its parent, shown while the parent's results are out of date. It
/// keeps the parent's width as the parent is resized.
class OutOfDateBand : public QLabel {
    Q_OBJECT
public:
    explicit OutOfDateBand(QWidget* content);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fitParent();
};

class ResultViews : public QObject {
    Q_OBJECT
public:
    /// How a view gets its results: drawn from the current tables whenever it paints, or copied
    /// from them when it was filled.
    enum class Follows { Tables, Copy };

    /// state holds the options, and must outlive this object; cases gives the model the program
    /// edits, with its load cases and combinations, as it stands.
    ResultViews(const ProgramState& state, std::function<CaseModel()> cases, ShellSink& messages,
                QObject* parent);

    /// frame carries the title, content the band (the same widget for a window of its own).
    /// A copying view shows the tables as they are now. A view already watched is left as it is.
    void watch(QWidget* frame, QWidget* content, Follows follows);
    /// A copying view has been filled again from the current tables.
    void refreshed(QWidget* content);
    /// The tables now hold the results of the model and options as they stand, just analysed.
    void analysed();
    /// The tables hold the results of no model (a failed analysis, New, Open).
    void dropped();
    /// The tables hold other results of the same analysis (another case or combination): the
    /// copying views are out of date until they are filled again.
    void replaced();
    /// Marks or clears every view as the model and options now stand; called after every change
    /// of them.
    void update();

    bool isOutOfDate(const QWidget* content) const;
    /// The number of open views that are out of date.
    int outOfDateCount() const;
    /// Whether the tables hold the results of the model and options as they stand.
    bool current() const;
    /// Before an out-of-date view is printed or saved: asks whether to go on with action
    /// ("Print", "Save"); true to go on. A view that is up to date goes on without asking.
    bool confirmUse(QWidget* content, const QString& action);

private:
    struct View {
        QPointer<QWidget> frame;
        QPointer<QWidget> content;
        QString title;
        Follows follows = Follows::Tables;
        int generation = 0; // of the tables it shows
        QPointer<OutOfDateBand> band;
    };
    View* find(const QWidget* content);
    const View* find(const QWidget* content) const;
    bool outOfDate(const View& view) const;
    void mark(View& view);
    void forgetClosed();

    /// What results depend on: the cases and combinations (whichever case is current) and the
    /// options that shape the mesh and its integration.
    struct Input {
        CaseModel cases;
        double MeshDensFact = 1;
        bool ExactSections = false;
        bool operator==(const Input&) const = default;
    };
    Input input() const;

    const ProgramState& state_;
    std::function<CaseModel()> cases_;
    ShellSink& messages_;
    std::optional<Input> analysed_;
    /// Counts every change of the result tables; a copying view shows the generation it was
    /// filled from.
    int generation_ = 0;
    std::vector<View> views_;
};

/// Whether the print or save command action of the result window content may go on: asks when
/// the window is out of date. A window no result views watch goes on.
bool ConfirmResultsUse(QWidget* content, const QString& action);

} // namespace kradon
