#include "platform/qt/floating_window.h"

#include <QWindow>

#include "platform/qt/x11_window.h"

namespace glugmo {

namespace {

// A window manager that cannot keep the pet above (i3, sway's XWayland)
// also floats it where it likes, offsets it by a frame it does not draw,
// keeps it on one workspace and focuses it; unmanaged, the pet is placed
// exactly, on every workspace, never focused, and raises itself. Without a
// compositor the pet cuts its window to a new shape at every step, and a
// window manager's frame would follow each one, exposing the pet again: a
// second repaint and twice the X server's work for every step.
bool betterUnmanaged(QWidget& window) {
    if (!x11::available()) return false;
    return !x11::windowManagerKeepsAbove() || !x11::compositorRunning(window).value_or(true);
}

void setUnmanaged(QWidget& window, bool unmanaged) {
    QWindow* handle = window.windowHandle();
    if (!handle || isUnmanaged(window) == unmanaged) return;
    // Live on the native window, which is not mapped now: QWidget's own flag
    // change would recreate it.
    handle->setFlag(Qt::BypassWindowManagerHint, unmanaged);
    window.overrideWindowFlags(window.windowFlags().setFlag(Qt::BypassWindowManagerHint, unmanaged));
}

}  // namespace

// Not Qt::Tool: Qt makes tool windows transient for its hidden group leader,
// and KWin then keeps them on one desktop and minimises them with it. The
// utility type that Qt::Tool would give is set on the native window instead.
// Whether the window manager manages the window is settled at each show.
Qt::WindowFlags floatingWindowFlags() {
    return Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
           Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint;
}

bool isUnmanaged(const QWidget& window) {
    return window.windowFlags().testFlag(Qt::BypassWindowManagerHint);
}

void makeFloating(QWidget& window) {
    window.setAttribute(Qt::WA_TranslucentBackground);
    window.setAttribute(Qt::WA_ShowWithoutActivating);
}

void showFloating(QWidget& window) {
    if (!window.isVisible()) {
        setUnmanaged(window, betterUnmanaged(window));
        // Before mapping: the window manager dropped these when it was hidden.
        x11::markAsAccessory(window);
    }
    window.show();
    window.raise();
}

}  // namespace glugmo
