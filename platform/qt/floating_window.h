#pragma once

#include <QWidget>

namespace glugmo {

// The window flags shared by the pet and the bubble: no frame, above
// ordinary windows, never focused; left out of the window manager's hands
// where it cannot keep them above.
Qt::WindowFlags floatingWindowFlags();
// Whether the window manager leaves the window alone, so that it keeps
// itself above other windows and moves itself when dragged.
bool isUnmanaged(const QWidget& window);
// Transparent background, shown without being activated.
void makeFloating(QWidget& window);

// Shows the window on top without activating it, marked as an accessory
// (no taskbar or pager entry, every desktop) before it is mapped.
void showFloating(QWidget& window);

}  // namespace glugmo
