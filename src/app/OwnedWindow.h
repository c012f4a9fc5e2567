// Windows owned by the main window (the element displacement view, the picture composition):
// tool windows that the window manager keeps above their owner, placed over it on the screen.
#pragma once

#include <QRect>
#include <QSize>
#include <Qt>

class QWidget;

namespace kradon {

/// The window flags of a window that stays above its owner (its parent widget).
inline constexpr Qt::WindowType OwnedWindowFlags = Qt::Tool;

/// The frame of a window of frameSize centred over ownerFrame and moved inside available as far
/// as needed; a window larger than available is shrunk to it. All in screen pixels.
QRect PlaceOverOwner(const QRect& ownerFrame, QSize frameSize, const QRect& available);

/// Shows an owned window and brings it forward. The first time, before anyone has placed it, it
/// is placed over its owner inside the available geometry of the owner's screen.
void ShowOwnedWindow(QWidget& window);

} // namespace kradon
