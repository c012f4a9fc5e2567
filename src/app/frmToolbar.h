// The floating toolbar: a small tool window above the main window with its own title bar, a copy
// of the command toolbar and of the span field, all forwarding to the main window.
#pragma once

#include "app/frmMain.h"
#include "settings/ToolbarGeometry.h"

#include <QFrame>
#include <QPointer>
#include <array>
#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QRubberBand;
class QSizeGrip;
class QToolBar;

namespace kradon {

namespace modToolBar {
class ToolbarDock;
}

inline constexpr const char* FloatingToolbarTitle = "Kradon Tools";

class frmToolbar : public QFrame {
    Q_OBJECT
public:
    /// A tool window owned by main, so it stays above it.
    frmToolbar(frmMain& main, modToolBar::ToolbarDock& dock);
    ~frmToolbar() override;

    QLabel* Label1;
    QPushButton* Command1;
    QToolBar* KradonTB;
    std::array<QAction*, ToolbarPositions + 1> KradonTBButton{}; // 1..22, entry 0 unused
    QLabel* spanLblTxt;
    QLineEdit* spanTxt;
    QLabel* Text3;

public slots:
    /// Docks the toolbar at the top of the main window.
    void Command1_Click();
    /// Docks the toolbar where it stood last.
    void Label1_DblClick();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createTitleBar();
    void createToolBar();
    void createSpanField();
    void followMainToolbar();
    void layOutTitleBar(const modToolBar::FloatingLayout& layout);
    void giveFocusToMain();
    void Label1_MouseDown(QPoint at);
    void Label1_MouseMove(QPoint at);
    void Label1_MouseUp(QPoint at, Qt::MouseButton button);

    frmMain& main_;
    modToolBar::ToolbarDock& dock_;
    /// The main window's docked toolbar, watched for its enabled state. Held apart from main_:
    /// while the main window is taken down, its events still arrive here after frmMain is gone.
    QPointer<QWidget> docked_;
    QSizeGrip* grip_;
    modToolBar::DragState drag_;
    std::unique_ptr<QRubberBand> outline_;
};

} // namespace kradon
