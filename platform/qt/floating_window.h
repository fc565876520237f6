#pragma once

#include <QWidget>

namespace glugmo {

// The window flags shared by the pet and the bubble: no frame, above
// ordinary windows, never focused.
Qt::WindowFlags floatingWindowFlags();
// Whether the window manager leaves the window alone, so that it keeps
// itself above other windows and moves itself when dragged.
bool isUnmanaged(const QWidget& window);
// Transparent background, shown without being activated.
void makeFloating(QWidget& window);

// Shows the window on top without activating it, marked as an accessory
// (no taskbar or pager entry, every desktop) and managed or not before it
// is mapped. A window on screen keeps its management when a compositor
// comes or goes: taking it from the window manager while the window manager
// still holds it races with that window manager; it changes at its next
// show.
void showFloating(QWidget& window);

}  // namespace glugmo
