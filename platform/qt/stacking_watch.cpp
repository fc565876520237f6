#include "platform/qt/stacking_watch.h"

#include <xcb/xcb.h>

#include <QCoreApplication>

#include "platform/qt/floating_window.h"
#include "platform/qt/x11_window.h"

namespace glugmo {

StackingWatch::StackingWatch(QWidget& window, bool aboveUnmanagedPeers)
    : window_(window), aboveUnmanagedPeers_(aboveUnmanagedPeers) {
    if (!x11::available()) return;
    x11::watchTopLevelWindows();
    QCoreApplication::instance()->installNativeEventFilter(this);
}

StackingWatch::~StackingWatch() {
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool StackingWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    // A window the window manager took back (a compositor came) is kept
    // above by the window manager.
    if (eventType != "xcb_generic_event_t" || !window_.isVisible() || !isUnmanaged(window_)) return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const xcb_window_t self = static_cast<xcb_window_t>(window_.winId());
    switch (event->response_type & 0x7f) {
        case XCB_CONFIGURE_NOTIFY: {
            const auto* configure = reinterpret_cast<const xcb_configure_notify_event_t*>(event);
            // Only top-level changes, and only those that can reach this window.
            const QRect changed(configure->x, configure->y, configure->width, configure->height);
            const qreal dpr = window_.devicePixelRatioF();
            const QRect frame = window_.frameGeometry();
            const QRect own(frame.topLeft() * dpr, frame.size() * dpr);
            if (configure->event == configure->window || configure->event == self ||
                configure->window == self || !changed.intersects(own)) {
                return false;
            }
            break;
        }
        case XCB_MAP_NOTIFY: {
            const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event);
            if (map->event == map->window || map->event == self || map->window == self) return false;
            break;
        }
        case XCB_UNMAP_NOTIFY: {
            // A full-screen window that goes lets the window up again.
            const auto* unmap = reinterpret_cast<const xcb_unmap_notify_event_t*>(event);
            if (unmap->event == unmap->window || unmap->event == self || unmap->window == self) return false;
            break;
        }
        default:
            return false;
    }
    x11::keepAboveCoveringWindows(window_, aboveUnmanagedPeers_);
    return false;
}

}  // namespace glugmo
