#include "platform/qt/window_event_watch.h"

#include <xcb/xcb.h>

#include <QCoreApplication>

#include "platform/qt/x11_window.h"

namespace glugmo {

WindowEventWatch::WindowEventWatch(QWidget& window, Change change,
                                   std::function<void(std::uint32_t)> changed)
    : window_(window), change_(change), changed_(std::move(changed)) {
    if (x11::available()) QCoreApplication::instance()->installNativeEventFilter(this);
}

WindowEventWatch::~WindowEventWatch() {
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool WindowEventWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    xcb_window_t window = XCB_WINDOW_NONE;
    std::uint32_t detail = 0;
    const std::uint8_t type = event->response_type & 0x7f;
    if (change_ == Change::Reparented && type == XCB_REPARENT_NOTIFY) {
        window = reinterpret_cast<const xcb_reparent_notify_event_t*>(event)->window;
    } else if (change_ == Change::PropertyChanged && type == XCB_PROPERTY_NOTIFY) {
        const auto* property = reinterpret_cast<const xcb_property_notify_event_t*>(event);
        window = property->window;
        detail = property->atom;
    } else {
        return false;
    }
    // winId() would create a native window for one not created yet.
    if (window_.testAttribute(Qt::WA_WState_Created) && window == static_cast<xcb_window_t>(window_.winId())) {
        changed_(detail);
    }
    return false;
}

}  // namespace glugmo
