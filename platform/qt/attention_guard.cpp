#include "platform/qt/attention_guard.h"

#include <xcb/xcb.h>

#include <QCoreApplication>

#include "platform/qt/x11_window.h"

namespace glugmo {

AttentionGuard::AttentionGuard(QWidget& window) : window_(window) {
    if (x11::available()) QCoreApplication::instance()->installNativeEventFilter(this);
}

AttentionGuard::~AttentionGuard() {
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool AttentionGuard::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY) return false;
    const auto* property = reinterpret_cast<const xcb_property_notify_event_t*>(event);
    // winId() would create a native window for one not created yet.
    if (window_.testAttribute(Qt::WA_WState_Created) &&
        property->window == static_cast<xcb_window_t>(window_.winId())) {
        x11::dropAttention(window_, property->atom);
    }
    return false;
}

}  // namespace glugmo
