#include "platform/qt/reparent_watcher.h"

#include <xcb/xcb.h>

#include <QCoreApplication>

#include "platform/qt/x11_window.h"

namespace glugmo {

ReparentWatcher::ReparentWatcher(QWidget& window, std::function<void()> reparented)
    : window_(window), reparented_(std::move(reparented)) {
    if (x11::available()) QCoreApplication::instance()->installNativeEventFilter(this);
}

ReparentWatcher::~ReparentWatcher() {
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool ReparentWatcher::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_REPARENT_NOTIFY) return false;
    const auto* reparent = reinterpret_cast<const xcb_reparent_notify_event_t*>(event);
    // winId() would create a native window for one not created yet.
    if (window_.testAttribute(Qt::WA_WState_Created) &&
        reparent->window == static_cast<xcb_window_t>(window_.winId())) {
        reparented_();
    }
    return false;
}

}  // namespace glugmo
