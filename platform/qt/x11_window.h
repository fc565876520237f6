#pragma once

#include <QRect>
#include <QWidget>
#include <optional>

namespace glugmo::x11 {

// Whether the program talks to an X server (not so under the offscreen or
// Wayland platforms, where these calls do nothing).
bool available();

// Keeps a floating window out of the taskbar and the pager, and on every
// desktop where the window manager knows how. Call before each show: Qt
// merges the states it finds when it maps the window, and the window manager
// drops them when the window is hidden.
void markAsAccessory(QWidget& window);

// Only the rectangle (device pixels, window coordinates) takes mouse input;
// clicks elsewhere reach the windows below. An empty rectangle: none does.
void setInputShape(QWidget& window, const QRect& deviceRect);

// Whether a compositing manager owns the window's screen, so that
// transparent pixels really are transparent; nothing without X11.
std::optional<bool> compositorRunning(QWidget& window);

// Whether the left mouse button is held, as the X server sees it; nothing
// without X11.
std::optional<bool> leftButtonHeld();

}  // namespace glugmo::x11
