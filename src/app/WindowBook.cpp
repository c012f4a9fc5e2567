// The book of the main window's child windows.
#include "app/WindowBook.h"

#include "app/modMDI.h"

#ifdef KRADON_HAS_RESULTS_WINDOW
#include "app/results/frmResultDisplay.h"
#endif

#include <QAction>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <utility>

namespace kradon {

WindowBook::WindowBook(QMainWindow& main, QMdiArea& area, modMDI& mdi, QList<QMenu*> ownMenus)
    : QObject(&main), main_(main), area_(area), mdi_(mdi), ownMenus_(std::move(ownMenus)) {}

void WindowBook::arrange(int arrangement) {
    const QList<QMdiSubWindow*> windows = area_.subWindowList();
    QList<QMdiSubWindow*> shown, minimised;
    for (QMdiSubWindow* w : windows)
        (w->isMinimized() ? minimised : shown).append(w);
    const QSize room = area_.viewport()->size();
    switch (arrangement) {
    case 0:
        // The area's own cascade sizes each window to its size hint, which leaves a diagram
        // next to nothing; the windows keep the area's room instead.
        mdi_.Cascade();
        return;
    case 1: // one above the other, each the full width
    case 2: // side by side, each the full height
        for (qsizetype i = 0; i < shown.size(); ++i) {
            const auto n = static_cast<int>(shown.size());
            const int k = static_cast<int>(i);
            shown[i]->showNormal();
            if (arrangement == 1)
                shown[i]->setGeometry(0, k * room.height() / n, room.width(), room.height() / n);
            else
                shown[i]->setGeometry(k * room.width() / n, 0, room.width() / n, room.height());
        }
        return;
    case 3: { // minimised windows in a row along the bottom edge
        int x = 0;
        for (QMdiSubWindow* w : minimised) {
            w->move(x, room.height() - w->height());
            x += w->width();
        }
        return;
    }
    default:
        return;
    }
}

void WindowBook::listWindowsIn(QMenu* menu, const QList<QAction*>& items) {
    // The separator and window entries of the last showing go; the items stay where they are.
    for (QAction* entry : menu->actions()) {
        if (items.contains(entry))
            continue;
        menu->removeAction(entry);
        delete entry;
    }
    const QList<QMdiSubWindow*> windows = area_.subWindowList();
    if (windows.isEmpty())
        return;
    menu->addSeparator();
    int number = 1;
    for (QMdiSubWindow* w : windows) {
        const QString text = number < 10 ? QString("&%1 %2").arg(number).arg(w->windowTitle())
                                         : QString("%1 %2").arg(number).arg(w->windowTitle());
        QAction* item = menu->addAction(text);
        item->setCheckable(true);
        item->setChecked(w == area_.activeSubWindow());
        connect(item, &QAction::triggered, this, [this, w] { area_.setActiveSubWindow(w); });
        ++number;
    }
}

void WindowBook::menusFollowActiveChild(QMdiSubWindow* activated) {
    // The area reports no active child also while another program is active; the child that
    // will be active again keeps the menu bar then.
    const QMdiSubWindow* current = activated != nullptr ? activated : area_.currentSubWindow();
#ifdef KRADON_HAS_RESULTS_WINDOW
    if (current != nullptr) {
        if (const auto* results = qobject_cast<const frmResultDisplay*>(current->widget())) {
            setMenuBarMenus(results->menus());
            return;
        }
    }
#else
    Q_UNUSED(current);
#endif
    setMenuBarMenus(ownMenus_);
}

void WindowBook::setMenuBarMenus(const QList<QMenu*>& menus) {
    QList<QAction*> wanted;
    for (const QMenu* menu : menus)
        wanted << menu->menuAction();
    if (main_.menuBar()->actions() == wanted)
        return;
    // A menu out of the bar is out of reach, its items' shortcuts too, so Ctrl+S saves what the
    // menus in the bar belong to.
    for (QAction* shown : main_.menuBar()->actions())
        main_.menuBar()->removeAction(shown);
    main_.menuBar()->addActions(wanted);
}

void WindowBook::showOwnMenus() {
    setMenuBarMenus(ownMenus_);
}

} // namespace kradon
