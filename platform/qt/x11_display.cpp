#include "platform/qt/x11_display.h"

#include <xcb/xcb.h>

namespace glugmo::x11 {

std::optional<bool> serverAnswers() {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers;
}

}  // namespace glugmo::x11
