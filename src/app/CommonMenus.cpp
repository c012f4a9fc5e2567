#include "app/CommonMenus.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace kradon {

void CommonMenus::addCommonMenus(QMenuBar* bar) {
    const auto menu = [bar](const char* name, const char* title) {
        QMenu* m = bar->addMenu(title);
        m->setObjectName(name);
        return m;
    };
    const auto item = [](QMenu* m, const char* name, const char* caption) {
        QAction* action = m->addAction(caption);
        action->setObjectName(name);
        return action;
    };
    mnuTools = menu("mnuTools", "&Tools");
    mnuOptions = item(mnuTools, "mnuOptions", "&Options");

    mnuView = menu("mnuView", "&View");
    mnuView_TotD = item(mnuView, "mnuView_TotD", "&Tip Of The Day");
    mnuView_TotD->setCheckable(true);
    mnuView_Properties = item(mnuView, "mnuView_Properties", "&Properties Box");
    mnuView_Properties->setCheckable(true);

    mnuWindow = menu("mnuWindow", "&Window");
    mnuWindow_Cascade = item(mnuWindow, "mnuWindow_Cascade", "&Cascade");
    mnuWindow_THorizontal = item(mnuWindow, "mnuWindow_THorizontal", "Tile &Horizontal");
    mnuWindow_TVertical = item(mnuWindow, "mnuWindow_TVertical", "Tile &Vertical");
    mnuWindow_Arrange = item(mnuWindow, "mnuWindow_Arrange", "Arrange &Icons");

    mnuHelp = menu("mnuHelp", "&Help");
    mnuHelpContents = item(mnuHelp, "mnuHelpContents", "&Contents");
    mnuHelpContents->setShortcut(QKeySequence::HelpContents);
    mnuHelp_ShowTotD = item(mnuHelp, "mnuHelp_ShowTotD", "Show &Tip Of The Day");
    mnuHelp->addSeparator()->setObjectName("mnuHelpSeparator");
    mnuHelpAbout = item(mnuHelp, "mnuHelpAbout", "&About ");
}

} // namespace kradon
