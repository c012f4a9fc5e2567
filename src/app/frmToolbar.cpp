// The floating toolbar window.
#include "app/frmToolbar.h"

#include "app/Guarded.h"
#include "app/OwnedWindow.h"
#include "app/modToolBar.h"
#include "settings/Twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRubberBand>
#include <QSizeGrip>
#include <QToolBar>
#include <QVBoxLayout>

namespace kradon {
namespace {

// The title bar, pixels; the "X" button is 210 twips square.
constexpr int TitleHeight = 18;

double twipsOf(int pixels) {
    return PixelsToTwips(pixels);
}

/// A mouse event's position in pixels, in the floating window's own coordinates.
QPoint pixelPosIn(const QWidget& window, const QWidget& source, const QMouseEvent& mouse) {
    return source.mapTo(&window, mouse.position().toPoint());
}

} // namespace

frmToolbar::frmToolbar(frmMain& main, modToolBar::ToolbarDock& dock)
    : QFrame(&main, OwnedWindowFlags | Qt::FramelessWindowHint), main_(main), dock_(dock) {
    setObjectName("frmToolbar");
    setWindowTitle(FloatingToolbarTitle);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    createTitleBar();
    createToolBar();
    createSpanField();
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(3, TitleHeight + 3, 3, 3);
    column->setSpacing(0);
    column->addWidget(KradonTB);
    grip_ = new QSizeGrip(this);
    grip_->setObjectName("sizeGrip");
    followMainToolbar();
    adjustSize();
}

frmToolbar::~frmToolbar() = default;

void frmToolbar::createTitleBar() {
    Label1 = new QLabel(FloatingToolbarTitle, this);
    Label1->setObjectName("Label1");
    Label1->setAutoFillBackground(true);
    Label1->setForegroundRole(QPalette::HighlightedText);
    Label1->setBackgroundRole(QPalette::Highlight);
    Label1->setContentsMargins(4, 0, 0, 0);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label1->setToolTip(tr("Drag to move, double-click to dock"));
    Label1->installEventFilter(this);
    Command1 = new QPushButton("X", Label1);
    Command1->setObjectName("Command1");
    const int side = TwipsToPixels(210);
    Command1->setFixedSize(side, side);
    QFont small = Command1->font();
    small.setPixelSize(side - 4);
    Command1->setFont(small);
    Command1->setToolTip(tr("Dock at the top"));
    Command1->setFocusPolicy(Qt::NoFocus);
    connect(Command1, &QPushButton::clicked, this, &frmToolbar::Command1_Click);
}

void frmToolbar::createToolBar() {
    KradonTB = new QToolBar(this);
    KradonTB->setObjectName("KradonTB");
    KradonTB->setMovable(false);
    KradonTB->setFloatable(false);
    KradonTB->setIconSize(main_.KradonTB->iconSize());
    // The same positions, images and tooltips as the docked toolbar, each click handed to it.
    for (int index = 1; index <= ToolbarPositions; ++index) {
        const QAction* docked = main_.KradonTBButton[static_cast<std::size_t>(index)];
        QAction* button = docked->isSeparator()
                              ? KradonTB->addSeparator()
                              : KradonTB->addAction(docked->icon(), docked->text());
        button->setObjectName(QString("KradonTB_%1").arg(index));
        button->setToolTip(docked->toolTip());
        KradonTBButton[static_cast<std::size_t>(index)] = button;
        connect(button, &QAction::triggered, this,
                [this, index] { main_.KradonTB_ButtonClick(index); });
    }
}

void frmToolbar::createSpanField() {
    const modToolBar::SpanField span = modToolBar::AddSpanField(KradonTB);
    spanLblTxt = span.caption;
    spanTxt = span.field;
    Text3 = span.unit;
    // The span is taken when the field is confirmed: Enter, or the focus leaving it.
    connect(spanTxt, &QLineEdit::returnPressed, this, [this] {
        guarded(main_.messages(), [this] { main_.spanTxtChanged(); });
        giveFocusToMain();
    });
    spanTxt->installEventFilter(this);
}

void frmToolbar::followMainToolbar() {
    // The buttons are usable exactly when the docked ones would be.
    for (int index = 1; index <= ToolbarPositions; ++index) {
        QAction* docked = main_.KradonTBButton[static_cast<std::size_t>(index)];
        QAction* button = KradonTBButton[static_cast<std::size_t>(index)];
        button->setEnabled(docked->isEnabled());
        connect(docked, &QAction::changed, button,
                [docked, button] { button->setEnabled(docked->isEnabled()); });
    }
    docked_ = main_.KradonTB;
    KradonTB->setEnabled(docked_->isEnabled());
    docked_->installEventFilter(this);
}

void frmToolbar::Command1_Click() {
    dock_.setDockedAlignment(modToolBar::Alignment::Top);
    dock_.DockToolbar();
}

void frmToolbar::Label1_DblClick() {
    giveFocusToMain();
    dock_.DockToolbar();
}

void frmToolbar::closeEvent(QCloseEvent* event) {
    event->accept();
    dock_.DockToolbar();
}

void frmToolbar::giveFocusToMain() {
    main_.activateWindow();
}

void frmToolbar::mouseReleaseEvent(QMouseEvent* event) {
    QFrame::mouseReleaseEvent(event);
    giveFocusToMain();
}

// --- Title-bar drag --------------------------------------------------------------------------

void frmToolbar::Label1_MouseDown(QPoint at) {
    drag_ = modToolBar::BeginDrag(twipsOf(at.x()), twipsOf(at.y()),
                                  modToolBar::PixelRectOf(frameGeometry()), TwipsPerPixel(),
                                  TwipsPerPixel());
    // The outline is a rubber band over the screen: the compositor allows no drawing on it.
    if (!outline_)
        outline_ = std::make_unique<QRubberBand>(QRubberBand::Rectangle);
    outline_->setGeometry(modToolBar::QRectOf(drag_.last));
    outline_->show();
}

void frmToolbar::Label1_MouseMove(QPoint at) {
    const std::optional<modToolBar::PixelRect> next =
        modToolBar::DragTo(drag_, twipsOf(at.x()), twipsOf(at.y()));
    if (next && outline_)
        outline_->setGeometry(modToolBar::QRectOf(*next));
}

void frmToolbar::Label1_MouseUp(QPoint at, Qt::MouseButton button) {
    if (button == Qt::LeftButton) {
        if (outline_)
            outline_->hide();
        const std::optional<modToolBar::TwipsPoint> corner =
            modToolBar::EndDrag(drag_, twipsOf(at.x()), twipsOf(at.y()));
        if (corner)
            move(TwipsToPixels(corner->left), TwipsToPixels(corner->top));
    }
    Command1->update();
    Label1->update();
    dock_.DockIfNearEdge();
}

bool frmToolbar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == docked_) {
        if (event->type() == QEvent::EnabledChange)
            KradonTB->setEnabled(docked_->isEnabled());
        return QFrame::eventFilter(watched, event);
    }
    if (watched == spanTxt && event->type() == QEvent::FocusOut)
        guarded(main_.messages(), [this] { main_.spanTxtChanged(); });
    if (watched != Label1)
        return QFrame::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        giveFocusToMain();
        if (mouse->button() == Qt::LeftButton)
            Label1_MouseDown(pixelPosIn(*this, *Label1, *mouse));
        return true;
    }
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->buttons() != Qt::NoButton)
            Label1_MouseMove(pixelPosIn(*this, *Label1, *mouse));
        return true;
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        giveFocusToMain();
        Label1_MouseUp(pixelPosIn(*this, *Label1, *mouse), mouse->button());
        return true;
    }
    case QEvent::MouseButtonDblClick:
        Label1_DblClick();
        return true;
    default:
        return QFrame::eventFilter(watched, event);
    }
}

// --- Layout ------------------------------------------------------------------------------------

void frmToolbar::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    const modToolBar::FloatingLayout layout =
        modToolBar::ResizeLayout(modToolBar::TwipsRectOf(frameGeometry()), dock_.mainWindowTwips());
    layOutTitleBar(layout);
    const QSize gripSize = grip_->sizeHint();
    grip_->move(width() - gripSize.width(), height() - gripSize.height());
    // Only a window the user can see is kept within its bounds; a new one is placed first.
    if (isVisible() && layout.corrected) {
        const modToolBar::TwipsRect& w = layout.window;
        setGeometry(TwipsToPixels(w.left), TwipsToPixels(w.top), TwipsToPixels(w.width),
                    TwipsToPixels(w.height));
        giveFocusToMain();
    }
}

void frmToolbar::layOutTitleBar(const modToolBar::FloatingLayout& layout) {
    Label1->setGeometry(0, 0, TwipsToPixels(layout.labelWidth), TitleHeight);
    Command1->move(TwipsToPixels(layout.commandLeft), (TitleHeight - Command1->height()) / 2);
}

} // namespace kradon
