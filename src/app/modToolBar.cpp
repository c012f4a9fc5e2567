// Docking and tearing off the command toolbar.
#include "app/modToolBar.h"

#include "app/frmMain.h"
#include "app/frmToolbar.h"
#include "settings/Twips.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMouseEvent>
#include <QRect>
#include <QRubberBand>
#include <QTabBar>
#include <QToolBar>
#include <cmath>

namespace kradon::modToolBar {
namespace {

std::int32_t twips(int pixels) {
    return static_cast<std::int32_t>(std::lround(PixelsToTwips(pixels)));
}

Qt::ToolBarArea areaOf(Alignment alignment) {
    switch (alignment) {
    case Alignment::Bottom:
        return Qt::BottomToolBarArea;
    case Alignment::Left:
        return Qt::LeftToolBarArea;
    case Alignment::Right:
        return Qt::RightToolBarArea;
    case Alignment::Top:
        break;
    }
    return Qt::TopToolBarArea;
}

} // namespace

SpanField AddSpanField(QToolBar* bar) {
    bar->addSeparator();
    SpanField span{new QLabel("Beam Length", bar), new QLineEdit("15", bar), new QLabel("m", bar)};
    span.caption->setObjectName("spanLblTxt");
    span.caption->setContentsMargins(6, 0, 4, 0);
    span.field->setObjectName("spanTxt");
    span.field->setMaximumWidth(90);
    span.unit->setObjectName("Text3");
    span.unit->setContentsMargins(4, 0, 6, 0);
    bar->addWidget(span.caption);
    bar->addWidget(span.field);
    bar->addWidget(span.unit);
    return span;
}

TwipsRect TwipsRectOf(const QRect& pixels) {
    return {twips(pixels.left()), twips(pixels.top()), twips(pixels.width()),
            twips(pixels.height())};
}

PixelRect PixelRectOf(const QRect& pixels) {
    // PixelRect's right and bottom lie just outside the rectangle, as its width and height say.
    return {pixels.left(), pixels.top(), pixels.left() + pixels.width(),
            pixels.top() + pixels.height()};
}

QRect QRectOf(const PixelRect& pixels) {
    return {pixels.left, pixels.top, pixels.right - pixels.left, pixels.bottom - pixels.top};
}

ToolbarDock::ToolbarDock(frmMain& main) : QObject(&main), main_(main) {
    setObjectName("modToolBar");
    main_.KradonTB->installEventFilter(this);
}

ToolbarDock::~ToolbarDock() = default;

TwipsRect ToolbarDock::mainWindowTwips() const {
    return TwipsRectOf(main_.frameGeometry());
}

frmToolbar* ToolbarDock::floating() const {
    return floating_;
}

QLineEdit* ToolbarDock::floatingSpanField() const {
    return floating_ ? floating_->spanTxt : nullptr;
}

void ToolbarDock::loadFrmToolBar(double x, double y) {
    if (!floating_)
        floating_ = new frmToolbar(main_, *this);
    main_.KradonTB->hide();
    floating_->spanTxt->setText(main_.spanTxt->text());
    const TwipsRect home = mainWindowTwips();
    const double width = PixelsToTwips(floating_->width());
    floating_->move(TwipsToPixels(home.left + x - width / 2), TwipsToPixels(home.top + y));
    floating_->show();
    main_.activateWindow();
    main_.setToolbarFloating(true);
}

void ToolbarDock::DockToolbar() {
    takeSpanTextBack();
    placeDocked();
    main_.setToolbarFloating(false);
    // The floating window may be the one asking, from one of its own event handlers.
    if (floating_) {
        floating_->hide();
        floating_->deleteLater();
        floating_ = nullptr;
    }
}

bool ToolbarDock::DockIfNearEdge() {
    if (!floating_)
        return false;
    const std::optional<Alignment> edge =
        modToolBar::DockIfNearEdge(TwipsRectOf(floating_->frameGeometry()), mainWindowTwips());
    if (!edge)
        return false;
    alignment_ = *edge;
    takeSpanTextBack();
    placeDocked();
    floating_->hide();
    main_.setToolbarFloating(false);
    return true;
}

void ToolbarDock::setDockedAlignment(Alignment alignment) {
    alignment_ = alignment;
}

void ToolbarDock::takeSpanTextBack() {
    // Whatever was typed while afloat stays in the span field.
    if (floating_ && main_.toolbarFloating())
        main_.spanTxt->setText(floating_->spanTxt->text());
}

void ToolbarDock::placeDocked() {
    QToolBar* toolbar = main_.KradonTB;
    if (alignment_ == Alignment::Top) {
        // Back on its own row above the Analyse and diagram buttons.
        main_.insertToolBar(main_.BtnTbr, toolbar);
        if (!main_.toolBarBreak(main_.BtnTbr))
            main_.insertToolBarBreak(main_.BtnTbr);
    } else {
        main_.addToolBar(areaOf(alignment_), toolbar);
    }
    // At least 390 twips thick, and as thick as its buttons and the span field need.
    const int thickness = TwipsToPixels(DockedThickness);
    if (toolbar->orientation() == Qt::Horizontal) {
        toolbar->setMinimumSize(0, thickness);
    } else {
        toolbar->setMinimumSize(thickness, 0);
    }
    toolbar->show();
}

bool ToolbarDock::isDropTarget(const QWidget* widget) const {
    if (widget == nullptr)
        return false;
    const auto within = [widget](const QWidget* area) {
        return widget == area || area->isAncestorOf(widget);
    };
    // The client area holds the diagram and results windows.
    return within(main_.mdiArea) || within(main_.picTabs);
}

bool ToolbarDock::dropDockedToolbar(QPoint globalPos) {
    if (!isDropTarget(QApplication::widgetAt(globalPos)))
        return false;
    const QPoint fromMain = globalPos - main_.frameGeometry().topLeft();
    loadFrmToolBar(PixelsToTwips(fromMain.x()), PixelsToTwips(fromMain.y()));
    return true;
}

void ToolbarDock::dragDocked(QPoint globalPos) {
    if (!outline_)
        outline_ = std::make_unique<QRubberBand>(QRubberBand::Rectangle);
    // The outline stands where the floating window will: its top centre at the pointer.
    // A docked toolbar stretches along its edge; the floating one is as long as its contents.
    const QSize natural = main_.KradonTB->sizeHint();
    const QSize size =
        main_.KradonTB->orientation() == Qt::Horizontal ? natural : natural.transposed();
    outline_->setGeometry(QRect(globalPos - QPoint(size.width() / 2, 0), size));
    outline_->show();
}

bool ToolbarDock::eventFilter(QObject* watched, QEvent* event) {
    // Presses on the buttons and the span field go to them; the toolbar sees those on its own
    // background and on its labels.
    if (watched != main_.KradonTB)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        return KradonTB_MouseDown(static_cast<const QMouseEvent&>(*event));
    case QEvent::MouseMove:
        return KradonTB_MouseMove(static_cast<const QMouseEvent&>(*event));
    case QEvent::MouseButtonRelease:
        return KradonTB_MouseUp(static_cast<const QMouseEvent&>(*event));
    default:
        return QObject::eventFilter(watched, event);
    }
}

bool ToolbarDock::KradonTB_MouseDown(const QMouseEvent& mouse) {
    if (mouse.button() != Qt::LeftButton)
        return false;
    pressedAt_ = mouse.globalPosition().toPoint();
    return true;
}

bool ToolbarDock::KradonTB_MouseMove(const QMouseEvent& mouse) {
    if (!pressedAt_)
        return false;
    // A press becomes a drag once the pointer has travelled the platform's drag distance.
    const QPoint at = mouse.globalPosition().toPoint();
    const bool dragging = outline_ && outline_->isVisible();
    if (dragging || (at - *pressedAt_).manhattanLength() >= QApplication::startDragDistance())
        dragDocked(at);
    return true;
}

bool ToolbarDock::KradonTB_MouseUp(const QMouseEvent& mouse) {
    if (!pressedAt_ || mouse.button() != Qt::LeftButton)
        return false;
    const bool dragged = outline_ && outline_->isVisible();
    pressedAt_.reset();
    if (outline_)
        outline_->hide();
    if (dragged)
        dropDockedToolbar(mouse.globalPosition().toPoint());
    return true;
}

} // namespace kradon::modToolBar
