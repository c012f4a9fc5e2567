// The Tools, View, Window and Help menus that the main window and the results window both carry.
#pragma once

class QAction;
class QMenu;
class QMenuBar;

namespace kradon {

struct CommonMenus {
    QMenu* mnuTools = nullptr;
    QAction* mnuOptions = nullptr;
    QMenu* mnuView = nullptr;
    QAction* mnuView_TotD = nullptr;
    QAction* mnuView_Properties = nullptr;
    QMenu* mnuWindow = nullptr;
    QAction* mnuWindow_Cascade = nullptr;
    QAction* mnuWindow_THorizontal = nullptr;
    QAction* mnuWindow_TVertical = nullptr;
    QAction* mnuWindow_Arrange = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpContents = nullptr;
    QAction* mnuHelp_ShowTotD = nullptr;
    QAction* mnuHelpAbout = nullptr;

    /// Adds the four menus at the end of bar, each menu and item named after its member; the
    /// tip and explorer switches are checkable.
    void addCommonMenus(QMenuBar* bar);
};

} // namespace kradon
