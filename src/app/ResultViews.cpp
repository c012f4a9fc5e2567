// The out-of-date marks of the result windows.
#include "app/ResultViews.h"

#include <QEvent>
#include <QWidget>
#include <algorithm>
#include <utility>

namespace kradon {

OutOfDateBand::OutOfDateBand(QWidget* content) : QLabel(OutOfDateBandText, content) {
    setObjectName("OutOfDateBand");
    setWordWrap(true);
    setAutoFillBackground(true);
    // Pale yellow with a dark edge: seen at a glance, and the picture under it stays readable.
    setStyleSheet("QLabel#OutOfDateBand { background: #fff0a8; color: #4a3b00; "
                  "border-bottom: 2px solid #c9a400; padding: 6px; font-weight: bold; }");
    content->installEventFilter(this);
    fitParent();
    hide();
}

bool OutOfDateBand::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        fitParent();
    return QLabel::eventFilter(watched, event);
}

void OutOfDateBand::fitParent() {
    const int width = parentWidget()->width();
    setGeometry(0, 0, width, heightForWidth(width));
    raise();
}

ResultViews::ResultViews(const ProgramState& state, std::function<CaseModel()> cases,
                         ShellSink& messages, QObject* parent)
    : QObject(parent), state_(state), cases_(std::move(cases)), messages_(messages) {
    setObjectName("ResultViews");
}

ResultViews::Input ResultViews::input() const {
    Input in{cases_(), state_.options.MeshDensFact, state_.options.ExactSections};
    in.cases.current = 0;
    return in;
}

void ResultViews::watch(QWidget* frame, QWidget* content, Follows follows) {
    forgetClosed();
    if (find(content) != nullptr)
        return;
    View view{frame, content, frame->windowTitle(), follows, generation_, nullptr};
    view.band = new OutOfDateBand(content);
    views_.push_back(view);
    mark(views_.back());
}

void ResultViews::refreshed(QWidget* content) {
    if (View* view = find(content)) {
        view->generation = generation_;
        mark(*view);
    }
}

void ResultViews::analysed() {
    analysed_ = input();
    ++generation_;
    update();
}

void ResultViews::dropped() {
    analysed_.reset();
    ++generation_;
    update();
}

void ResultViews::replaced() {
    ++generation_;
    update();
}

void ResultViews::update() {
    forgetClosed();
    for (View& view : views_)
        mark(view);
}

bool ResultViews::isOutOfDate(const QWidget* content) const {
    const View* view = find(content);
    return view != nullptr && outOfDate(*view);
}

int ResultViews::outOfDateCount() const {
    return static_cast<int>(std::count_if(views_.begin(), views_.end(), [this](const View& v) {
        return v.content != nullptr && outOfDate(v);
    }));
}

bool ResultViews::confirmUse(QWidget* content, const QString& action) {
    if (!isOutOfDate(content))
        return true;
    const QString text = QString(UseOutOfDateText).arg(action);
    return messages_.ask({find(content)->title.toStdString(), text.toStdString(), Icon::Question},
                         Buttons::YesNo) == Answer::Yes;
}

ResultViews::View* ResultViews::find(const QWidget* content) {
    const auto found = std::find_if(views_.begin(), views_.end(),
                                    [content](const View& v) { return v.content == content; });
    return found == views_.end() ? nullptr : &*found;
}

const ResultViews::View* ResultViews::find(const QWidget* content) const {
    return const_cast<ResultViews*>(this)->find(content);
}

bool ResultViews::outOfDate(const View& view) const {
    // A view drawn from the tables always shows the latest of them.
    const bool olderTables = view.follows == Follows::Copy && view.generation != generation_;
    return olderTables || (analysed_.has_value() && !current());
}

bool ResultViews::current() const {
    return analysed_.has_value() && *analysed_ == input();
}

void ResultViews::mark(View& view) {
    if (view.follows == Follows::Tables)
        view.generation = generation_;
    const bool stale = outOfDate(view);
    if (view.frame != nullptr)
        view.frame->setWindowTitle(stale ? view.title + OutOfDateSuffix : view.title);
    if (view.band != nullptr)
        view.band->setVisible(stale);
}

void ResultViews::forgetClosed() {
    std::erase_if(views_, [](const View& v) { return v.content == nullptr; });
}

bool ConfirmResultsUse(QWidget* content, const QString& action) {
    for (QWidget* w = content; w != nullptr; w = w->parentWidget())
        if (auto* views = w->findChild<ResultViews*>(QString(), Qt::FindDirectChildrenOnly))
            return views->confirmUse(content, action);
    return true;
}

} // namespace kradon
