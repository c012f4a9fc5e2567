// The main window's book of child windows: the Window menu and its arrangements, the
// windows' connections as they open, and the menu bar following the active child.
#include "app/frmMain.h"

#include "app/CaseResults.h"
#include "app/FilePicker.h"
#include "app/ResultViews.h"
#include "app/frmResGraph.h"
#include "app/modMDI.h"
#include "model/KradonError.h"
#include "results/ResultQueries.h"

#ifdef KRADON_HAS_RESULTS_WINDOW
#include "app/results/frmElementDisp.h"
#include "app/results/frmPrintPrev.h"
#include "app/results/frmResultDisplay.h"
#endif

#include <QAction>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace kradon {

void frmMain::mnuWindow_Click(int arrangement) {
    const QList<QMdiSubWindow*> windows = mdiArea->subWindowList();
    QList<QMdiSubWindow*> shown, minimised;
    for (QMdiSubWindow* w : windows)
        (w->isMinimized() ? minimised : shown).append(w);
    const QSize room = mdiArea->viewport()->size();
    switch (arrangement) {
    case 0:
        // The area's own cascade sizes each window to its size hint, which leaves a diagram
        // next to nothing; the windows keep the area's room instead.
        mdi_->Cascade();
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

void frmMain::listWindowsIn(QMenu* menu, const QList<QAction*>& items) {
    // The separator and window entries of the last showing go; the items stay where they are.
    for (QAction* entry : menu->actions()) {
        if (items.contains(entry))
            continue;
        menu->removeAction(entry);
        delete entry;
    }
    const QList<QMdiSubWindow*> windows = mdiArea->subWindowList();
    if (windows.isEmpty())
        return;
    menu->addSeparator();
    int number = 1;
    for (QMdiSubWindow* w : windows) {
        const QString text = number < 10 ? QString("&%1 %2").arg(number).arg(w->windowTitle())
                                         : QString("%1 %2").arg(number).arg(w->windowTitle());
        QAction* item = menu->addAction(text);
        item->setCheckable(true);
        item->setChecked(w == mdiArea->activeSubWindow());
        connect(item, &QAction::triggered, this, [this, w] { mdiArea->setActiveSubWindow(w); });
        ++number;
    }
}

void frmMain::menusFollowActiveChild(QMdiSubWindow* activated) {
    // The area reports no active child also while another program is active; the child that
    // will be active again keeps the menu bar then.
    const QMdiSubWindow* current = activated != nullptr ? activated : mdiArea->currentSubWindow();
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

void frmMain::setMenuBarMenus(const QList<QMenu*>& menus) {
    QList<QAction*> wanted;
    for (const QMenu* menu : menus)
        wanted << menu->menuAction();
    if (menuBar()->actions() == wanted)
        return;
    // A menu out of the bar is out of reach, its items' shortcuts too, so Ctrl+S saves what the
    // menus in the bar belong to.
    for (QAction* shown : menuBar()->actions())
        menuBar()->removeAction(shown);
    menuBar()->addActions(wanted);
}

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
    connect(results, &QObject::destroyed, this, [this] { setMenuBarMenus(ownMenus_); });
    connect(results->mnuWindow, &QMenu::aboutToShow, results, [this, results] {
        listWindowsIn(results->mnuWindow,
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
