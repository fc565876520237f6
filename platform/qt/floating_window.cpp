#include "platform/qt/floating_window.h"

#include "platform/qt/x11_window.h"

namespace glugmo {

// Not Qt::Tool: Qt makes tool windows transient for its hidden group leader,
// and KWin then keeps them on one desktop and minimises them with it. The
// utility type that Qt::Tool would give is set on the native window instead.
Qt::WindowFlags floatingWindowFlags() {
    Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                            Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint;
    // A window manager that cannot keep the pet above (i3, sway's XWayland)
    // also floats it where it likes, offsets it by a frame it does not draw,
    // keeps it on one workspace and focuses it; unmanaged, the pet is placed
    // exactly, on every workspace, never focused, and raises itself.
    if (x11::available() && !x11::windowManagerKeepsAbove()) flags |= Qt::BypassWindowManagerHint;
    return flags;
}

bool isUnmanaged(const QWidget& window) {
    return window.windowFlags().testFlag(Qt::BypassWindowManagerHint);
}

void makeFloating(QWidget& window) {
    window.setAttribute(Qt::WA_TranslucentBackground);
    window.setAttribute(Qt::WA_ShowWithoutActivating);
}

void showFloating(QWidget& window) {
    // Before mapping: the window manager dropped these when it was hidden.
    if (!window.isVisible()) x11::markAsAccessory(window);
    window.show();
    window.raise();
}

}  // namespace glugmo
