// The command toolbar's two homes: docked at an edge of the main window, or torn off into the
// floating tool window, and the drag of the docked toolbar that tears it off.
#pragma once

#include "settings/ToolbarGeometry.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QMouseEvent;
class QRect;
class QRubberBand;
class QToolBar;
class QWidget;

namespace kradon {

class frmMain;
class frmToolbar;

namespace modToolBar {

/// The span field with its caption "Beam Length" and unit "m", added at the end of bar; the
/// docked and the floating toolbar name them alike.
struct SpanField {
    QLabel* caption;
    QLineEdit* field;
    QLabel* unit;
};
SpanField AddSpanField(QToolBar* bar);

/// A window's place on the screen, pixels to twips.
TwipsRect TwipsRectOf(const QRect& pixels);
/// A screen rectangle for the drag arithmetic, and back.
PixelRect PixelRectOf(const QRect& pixels);
QRect QRectOf(const PixelRect& pixels);

/// Keeps the toolbar either docked on the main window or in the floating window, never both;
/// the main window's toolbarFloating() says which.
class ToolbarDock : public QObject {
    Q_OBJECT
public:
    explicit ToolbarDock(frmMain& main);
    ~ToolbarDock() override;

    /// Shows the floating window with its top centre at (x, y), twips from the main window's
    /// top-left corner, and hides the docked toolbar.
    void loadFrmToolBar(double x, double y);
    /// Shows the docked toolbar at the edge it stood at last and destroys the floating window.
    void DockToolbar();
    /// Docks at the main window's nearest edge when the floating window is within 1500 twips
    /// of it; true when it docked.
    bool DockIfNearEdge();
    /// The edge DockToolbar docks at, 390 twips thick.
    void setDockedAlignment(Alignment alignment);
    Alignment dockedAlignment() const { return alignment_; }

    /// The floating window; null once it has been destroyed.
    frmToolbar* floating() const;
    /// The floating window's span field; null without a floating window.
    QLineEdit* floatingSpanField() const;

    /// The docked toolbar dropped at a screen point: torn off when the point lies on the main
    /// window's client area, its tab strip or a child window. True when it was torn off.
    bool dropDockedToolbar(QPoint globalPos);
    /// The main window's place on the screen, twips.
    TwipsRect mainWindowTwips() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeDocked();
    bool isDropTarget(const QWidget* widget) const;
    bool KradonTB_MouseDown(const QMouseEvent& mouse);
    bool KradonTB_MouseMove(const QMouseEvent& mouse);
    bool KradonTB_MouseUp(const QMouseEvent& mouse);
    void dragDocked(QPoint globalPos);
    void takeSpanTextBack();

    frmMain& main_;
    QPointer<frmToolbar> floating_;
    Alignment alignment_ = Alignment::Top;
    // The drag of the docked toolbar: where the button went down, and its outline once the
    // mouse has travelled far enough to make it a drag.
    std::optional<QPoint> pressedAt_;
    std::unique_ptr<QRubberBand> outline_;
};

} // namespace modToolBar
} // namespace kradon
