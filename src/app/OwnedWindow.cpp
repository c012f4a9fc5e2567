// Placing and showing the windows owned by the main window.
#include "app/OwnedWindow.h"

#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace kradon {
namespace {

/// The decoration the window manager puts around a window, judged from one that has it; a
/// window shown for the first time has no frame yet.
QMargins frameMargins(const QWidget& decorated) {
    const QRect inner = decorated.geometry();
    const QRect outer = decorated.frameGeometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

QRect availableScreenArea(const QWidget& widget) {
    const QScreen* screen = widget.screen();
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

/// Start, moved so that a length of size starting there ends by the end of [low, high].
int keptInside(int start, int size, int low, int high) {
    return std::max(low, std::min(start, high - size + 1));
}

void placeOverOwner(QWidget& window, const QWidget& owner) {
    const QRect available = availableScreenArea(owner);
    if (!available.isValid())
        return;
    // Showing gives a window that nobody sized the size of its layout; it is placed at that size.
    if (!window.testAttribute(Qt::WA_Resized))
        window.adjustSize();
    const QMargins frame = frameMargins(owner.window()->isVisible() ? *owner.window() : window);
    const QSize frameSize = window.size().grownBy(frame);
    const QRect place = PlaceOverOwner(owner.window()->frameGeometry(), frameSize, available);
    if (place.size() != frameSize)
        window.resize(place.size().shrunkBy(frame));
    window.move(place.topLeft());
}

} // namespace

QRect PlaceOverOwner(const QRect& ownerFrame, QSize frameSize, const QRect& available) {
    const QSize size = frameSize.boundedTo(available.size());
    const QPoint centred(ownerFrame.x() + (ownerFrame.width() - size.width()) / 2,
                         ownerFrame.y() + (ownerFrame.height() - size.height()) / 2);
    return {keptInside(centred.x(), size.width(), available.left(), available.right()),
            keptInside(centred.y(), size.height(), available.top(), available.bottom()),
            size.width(), size.height()};
}

void ShowOwnedWindow(QWidget& window) {
    const QWidget* owner = window.parentWidget();
    if (owner != nullptr && !window.isVisible() && !window.testAttribute(Qt::WA_Moved))
        placeOverOwner(window, *owner);
    window.show();
    window.raise();
}

} // namespace kradon
