// The book of the main window's child windows: the Window menu's arrangements and its list of
// the open windows, and the menu bar, which follows the active child.
#pragma once

#include <QList>
#include <QObject>

class QAction;
class QMainWindow;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace kradon {

class modMDI;

class WindowBook : public QObject {
    Q_OBJECT
public:
    /// ownMenus are the main window's own menus, in the menu bar while no child with menus is
    /// active.
    WindowBook(QMainWindow& main, QMdiArea& area, modMDI& mdi, QList<QMenu*> ownMenus);

    /// Cascade (0), one above the other (1), side by side (2), or the minimised windows in a
    /// row along the bottom edge (3).
    void arrange(int arrangement);
    /// Rebuilds a Window menu: its items, then one entry per open child window.
    void listWindowsIn(QMenu* menu, const QList<QAction*>& items);
    /// The active child's own menus take the menu bar; without any, the main window's own.
    void menusFollowActiveChild(QMdiSubWindow* activated);
    /// The main window's own menus take the menu bar.
    void showOwnMenus();

private:
    void setMenuBarMenus(const QList<QMenu*>& menus);

    QMainWindow& main_;
    QMdiArea& area_;
    modMDI& mdi_;
    QList<QMenu*> ownMenus_;
};

} // namespace kradon
