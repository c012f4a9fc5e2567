// The child-window book.
#include "app/modMDI.h"

#include "app/Guarded.h"
#include "app/frmResGraph.h"

#ifdef KRADON_HAS_RESULTS_WINDOW
#include "app/results/frmResultDisplay.h"
#endif

#include <QAction>
#include <QCloseEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QTabBar>
#include <algorithm>
#include <vector>

namespace kradon {
namespace {

/// The caption of a child window of the book, the title of any other.
QString captionOf(const QMdiSubWindow* window) {
    const auto* child = qobject_cast<const ChildWindow*>(window);
    return child != nullptr ? child->caption() : window->windowTitle();
}

std::int16_t kindOfCaption(const QString& caption) {
    for (std::size_t k = 0; k < ChildCaptions.size(); ++k)
        if (caption == ChildCaptions[k])
            return static_cast<std::int16_t>(k);
    return -1;
}

/// New windows cascade from the top-left corner, each a step down and right of the one before,
/// three quarters of the area in size and inside it as far as it allows.
QRect initialChildGeometry(const QMdiArea& area, int openBefore) {
    const QSize room = area.viewport()->size();
    const QSize size(std::max(480, room.width() * 3 / 4), std::max(320, room.height() * 3 / 4));
    const int steps = std::max(
        1, std::min(room.width() - size.width(), room.height() - size.height()) / CascadeStep + 1);
    const int offset = (openBefore % steps) * CascadeStep;
    return {QPoint(offset, offset), size};
}

/// The windows of the area that are shown and not minimised, bottom of the stack first.
QList<QMdiSubWindow*> cascadableWindows(const QMdiArea& area) {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* w : area.subWindowList(QMdiArea::StackingOrder))
        if (w->isVisible() && !w->isMinimized())
            windows << w;
    return windows;
}

} // namespace

ChildWindow::ChildWindow(std::int16_t slot, QWidget* parent) : QMdiSubWindow(parent), slot_(slot) {
    setObjectName(QString("ChildWindow_%1").arg(slot));
    setAttribute(Qt::WA_DeleteOnClose);
    // Each frame's own menu gives its Close item the keys Ctrl+F4 and Ctrl+W. With two frames
    // open those keys belong to every frame at once, and a key with more than one owner does
    // nothing; the main window's Ctrl+F4 closes the active window instead.
    if (QMenu* menu = systemMenu()) {
        for (QAction* item : menu->actions())
            item->setShortcuts(QList<QKeySequence>());
    }
}

void ChildWindow::setCaption(const QString& caption) {
    caption_ = caption;
    setWindowTitle(caption);
}

void ChildWindow::closeEvent(QCloseEvent* event) {
    // The book forgets the window before the frame goes, so the activation of the next window
    // that follows already sees the slot free.
    if (widget() != nullptr && !widget()->close()) {
        event->ignore();
        return;
    }
    emit unloading(slot_);
    QMdiSubWindow::closeEvent(event);
    emit unloaded();
}

modMDI::modMDI(QMdiArea& area, QTabBar& tabs, ProgramState& state, ProgramState& shown,
               ShellSink& messages, FilePicker& files, QWidget* mainWindow)
    : QObject(mainWindow), area_(area), tabs_(tabs), state_(state), shown_(shown),
      messages_(messages), files_(files), mainWindow_(mainWindow) {
    setObjectName("modMDI");
    connect(&area_, &QMdiArea::subWindowActivated, this, &modMDI::childActivated);
    connect(&tabs_, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index < 0)
            return;
        tabs_.setCurrentIndex(index);
        TabClick();
    });
}

void modMDI::ShowGraph(std::int16_t index) {
    if (index < 0 || index > ResultsKind) {
        messages_.show({ProgramTitle, SelectAgainText, Icon::None});
        return;
    }
    const QString caption = ChildCaptions[static_cast<std::size_t>(index)];
    if (GraphOpen[static_cast<std::size_t>(index)]) {
        ActivateByCaption(caption);
        return;
    }
    if (index == ResultsKind) {
#ifndef KRADON_HAS_RESULTS_WINDOW
        return; // the results window comes with its own window class
#endif
        OpenResultsWindow(caption);
    } else {
        OpenGraphWindow(index, caption);
    }
    GraphOpen[static_cast<std::size_t>(index)] = true;
}

void modMDI::OpenGraphWindow(std::int16_t index, const QString& caption) {
    ++TabCount;
    ++WindowsOpened;
    GraphIndex = index;
    const std::int16_t slot = lowestFreeSlot();
    auto* window = static_cast<ChildWindow*>(area_.addSubWindow(new ChildWindow(slot)));
    // The idealised beam is the model as edited; every other picture shows results.
    auto* diagram = new frmResGraph(GraphIndex, GraphIndex == IdealisedBeamKind ? state_ : shown_,
                                    messages_, files_, window);
    window->systemMenu()->addSeparator();
    window->systemMenu()->addAction(diagram->mnuPrint);
    window->systemMenu()->addAction(diagram->mnuSavePicture);
    window->setWidget(diagram);
    takeSlot(slot, diagram, caption);
}

void modMDI::OpenResultsWindow(const QString& caption) {
#ifdef KRADON_HAS_RESULTS_WINDOW
    ++TabCount;
    ++WindowsOpened;
    const std::int16_t slot = lowestFreeSlot();
    auto* window = static_cast<ChildWindow*>(area_.addSubWindow(new ChildWindow(slot)));
    auto* results = new frmResultDisplay(shown_, messages_, mainWindow_, window);
    window->setWidget(results);
    takeSlot(slot, results, caption);
    results->ShowReport();
#else
    Q_UNUSED(caption);
#endif
}

void modMDI::takeSlot(std::int16_t slot, QWidget* content, const QString& caption) {
    auto* window = qobject_cast<ChildWindow*>(content->parentWidget());
    SlotUsed[static_cast<std::size_t>(slot)] = true;
    ChildForms[static_cast<std::size_t>(slot)] = window;
    const QString tag = QString::number(slot);
    window->setProperty("Tag", tag);
    content->setProperty("Tag", tag);
    if (auto* label = content->findChild<QLabel*>("lblTabIndex"))
        label->setText(tag);
    window->setCaption(caption);
    content->setWindowTitle(caption);
    window->setWindowIcon(mainWindow_->windowIcon());
    connect(window, &ChildWindow::unloading, this, &modMDI::childUnloading);
    connect(window, &ChildWindow::unloaded, this, &modMDI::childUnloaded);
    const QRect place = initialChildGeometry(area_, TabCount - 1);
    window->resize(place.size());
    emit childCreated(content);
    AddTab(slot);
    window->show();
    window->move(place.topLeft());
}

std::vector<QRect> CascadePlaces(QSize room, int count) {
    const QSize least = MinCascadeSize.boundedTo(room);
    // Levels of the cascade that still leave each window the least usable size; more windows
    // start again from the top-left corner.
    const int levels = std::clamp(std::min((room.width() - least.width()) / CascadeStep,
                                           (room.height() - least.height()) / CascadeStep) +
                                      1,
                                  1, std::max(count, 1));
    const int offsets = (levels - 1) * CascadeStep;
    const QSize size(room.width() - offsets, room.height() - offsets);
    std::vector<QRect> places;
    for (int i = 0; i < count; ++i) {
        const int offset = (i % levels) * CascadeStep;
        places.emplace_back(QPoint(offset, offset), size);
    }
    return places;
}

void modMDI::Cascade() {
    const QList<QMdiSubWindow*> windows = cascadableWindows(area_);
    const std::vector<QRect> places =
        CascadePlaces(area_.viewport()->size(), static_cast<int>(windows.size()));
    for (qsizetype i = 0; i < windows.size(); ++i) {
        if (windows[i]->isMaximized())
            windows[i]->showNormal();
        windows[i]->setGeometry(places[static_cast<std::size_t>(i)]);
        windows[i]->raise();
    }
}

std::int16_t modMDI::lowestFreeSlot() const {
    for (std::int16_t s = 1; s <= MaxSlots; ++s)
        if (!SlotUsed[static_cast<std::size_t>(s)])
            return s;
    // Eight kinds at most are open at once, so ten slots never run out.
    Q_ASSERT_X(false, "modMDI", "no free child-window slot");
    return MaxSlots;
}

void modMDI::AddTab(std::int16_t slot) {
    ChildWindow* window = child(slot);
    if (window == nullptr) {
        messages_.show({MdiTitle, TabErrorText, Icon::Critical});
        return;
    }
    const int index = tabs_.addTab(window->caption());
    tabs_.setCurrentIndex(tabs_.count() - 1);
    tabs_.setTabData(index, slot);
}

void modMDI::TabClick() {
    const int selected = tabs_.currentIndex();
    if (selected < 0)
        return;
    const QString caption = tabs_.tabText(selected);
    const std::int16_t last = std::min<std::int16_t>(WindowsOpened, MaxSlots);
    for (std::int16_t s = 1; s <= last; ++s) {
        ChildWindow* window = SlotUsed[static_cast<std::size_t>(s)] ? child(s) : nullptr;
        if (window == nullptr || window->caption() != caption)
            continue;
        area_.setActiveSubWindow(window);
        if (window->widget() != nullptr)
            window->widget()->setFocus();
        return;
    }
}

void modMDI::ActivateByCaption(const QString& caption) {
    for (QMdiSubWindow* window : area_.subWindowList()) {
        if (captionOf(window) != caption)
            continue;
        if (window->isMinimized())
            window->showNormal();
        area_.setActiveSubWindow(window);
        if (window->widget() != nullptr)
            window->widget()->setFocus();
        return;
    }
}

void modMDI::CloseChild(const QString& which, std::int16_t slot) {
    const WaitCursor wait;
    if (which != "All") {
        ChildWindow* window = child(slot);
        if (window == nullptr) {
            messages_.show({MdiTitle, CloseErrorText, Icon::Information});
            return;
        }
        SlotUsed[static_cast<std::size_t>(slot)] = false;
        const QString caption = window->caption();
        ClearOpenFlag(caption);
        const int tab = tabIndexOfKey(caption);
        if (tab >= 0)
            tabs_.removeTab(tab);
        --TabCount;
        return;
    }
    // Each window's own close runs the single case above for itself.
    while (!area_.subWindowList().isEmpty()) {
        QMdiSubWindow* window = area_.activeSubWindow() != nullptr
                                    ? area_.activeSubWindow()
                                    : area_.subWindowList().constFirst();
        const auto before = area_.subWindowList().size();
        window->close();
        if (area_.subWindowList().size() >= before) {
            messages_.show({MdiTitle, CloseErrorText, Icon::Information});
            return;
        }
    }
    TabCount = 0;
}

void modMDI::ClearOpenFlag(const QString& caption) {
    const std::int16_t kind = kindOfCaption(caption);
    if (kind < 0) {
        messages_.show({ProgramTitle, OopsText, Icon::None});
        return;
    }
    GraphOpen[static_cast<std::size_t>(kind)] = false;
}

ChildWindow* modMDI::child(std::int16_t slot) const {
    if (slot < 1 || slot > MaxSlots)
        return nullptr;
    return ChildForms[static_cast<std::size_t>(slot)].data();
}

ChildWindow* modMDI::childOfKind(std::int16_t kind) const {
    if (kind < 0 || kind > ResultsKind)
        return nullptr;
    for (std::int16_t s = 1; s <= MaxSlots; ++s) {
        ChildWindow* window = child(s);
        if (window != nullptr && window->caption() == ChildCaptions[kind])
            return window;
    }
    return nullptr;
}

void modMDI::childUnloading(std::int16_t slot) {
    CloseChild("Single", slot);
    ChildUnloaded = true;
    ChildForms[static_cast<std::size_t>(slot)] = nullptr;
}

void modMDI::childUnloaded() {
    // Here the closing of a window is followed by one activation of the next window, not by
    // the two the skip allows for; the skip ends with the close, and the strip shows the tab of
    // the window that is active now.
    ChildUnloaded = false;
    SkipTabSync = false;
    const QMdiSubWindow* active = area_.currentSubWindow();
    if (active == nullptr)
        return;
    const int tab = tabIndexOfKey(captionOf(active));
    if (tab >= 0)
        tabs_.setCurrentIndex(tab);
}

void modMDI::childActivated(QMdiSubWindow* window) {
    // The activations right after a window closed leave the tab selection alone.
    if (ChildUnloaded) {
        SkipTabSync = true;
        ChildUnloaded = false;
        return;
    }
    if (SkipTabSync) {
        SkipTabSync = false;
        return;
    }
    if (window == nullptr)
        return;
    const int tab = tabIndexOfKey(captionOf(window));
    if (tab >= 0)
        tabs_.setCurrentIndex(tab);
}

int modMDI::tabIndexOfKey(const QString& key) const {
    for (int i = 0; i < tabs_.count(); ++i)
        if (tabs_.tabText(i) == key)
            return i;
    return -1;
}

} // namespace kradon
