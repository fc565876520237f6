#pragma once

#include <QRect>
#include <QWidget>
#include <optional>

namespace glugmo::x11 {

// Whether the program talks to an X server (not so under the offscreen or
// Wayland platforms, where these calls do nothing).
bool available();

// Keeps a floating window out of the taskbar and the pager, and on every
// desktop where the window manager knows how. Call before the first show:
// Qt merges the states it finds when it maps the window.
void markAsAccessory(QWidget& window);

// Only the rectangle (device pixels, window coordinates) takes mouse input;
// clicks elsewhere reach the windows below.
void setInputShape(QWidget& window, const QRect& deviceRect);

// Whether a compositing manager owns the window's screen, so that
// transparent pixels really are transparent; nothing without X11.
std::optional<bool> compositorRunning(QWidget& window);

}  // namespace glugmo::x11
