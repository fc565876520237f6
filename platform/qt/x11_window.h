#pragma once

#include <QRect>
#include <QWidget>
#include <cstdint>
#include <optional>

namespace glugmo::x11 {

// Whether the program talks to an X server (not so under the offscreen or
// Wayland platforms, where these calls do nothing).
bool available();

// Whether the window manager keeps windows above others when asked
// (_NET_WM_STATE_ABOVE). i3 and sway's XWayland do not; there a floating
// window is better left unmanaged and keeps itself above.
bool windowManagerKeepsAbove();

// Keeps a floating window out of the taskbar and the pager, on every desktop
// where the window manager knows how, and out of focus: a utility window that
// never asks for focus and belongs to no other window. Call before each show:
// Qt merges the states it finds when it maps the window, and the window
// manager drops them when the window is hidden.
void markAsAccessory(QWidget& window);

// Qt names every flag change in the window type it writes; this puts the
// utility type back, so a live flag change (ghost mode) keeps the window as
// it was.
void restoreWindowType(QWidget& window);

// When `changedProperty` is the window's _NET_WM_STATE and the window
// manager flagged it as demanding attention, asks it to drop the flag. Some
// flag a window shown without activation (KWin at every map, mutter when it
// is shown again); the pet never asks for the user's attention, and a
// flagged window blinks in pagers and task switchers.
void dropAttention(QWidget& window, uint32_t changedProperty);

// Restacks a window that the window manager does not manage just above the
// highest window that covers part of it and that it must stay above:
// ordinary windows and their frames, and with `aboveUnmanagedPeers` also
// other unmanaged utility windows (a bubble over the pet), never menus,
// tooltips or notifications. When that highest window fills the screen at
// its own request (a film, a game, slides), the window goes just below it
// instead, as window managers that keep windows above have it.
void keepAboveCoveringWindows(QWidget& window, bool aboveUnmanagedPeers);

// Asks the X server for the events of every top-level window's moves,
// restacks and maps (cheap: they come only when something changes).
void watchTopLevelWindows();

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
