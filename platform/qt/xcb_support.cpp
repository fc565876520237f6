#include "platform/qt/xcb_support.h"

#include <QtGui/qguiapplication_platform.h>

#include <QGuiApplication>
#include <cstring>
#include <map>
#include <string>
#include <string_view>

namespace glugmo::x11 {

xcb_connection_t* connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name, bool onlyIfExists) {
    static std::map<std::string, xcb_atom_t, std::less<>> known;
    if (const auto found = known.find(std::string_view(name)); found != known.end()) {
        return found->second;
    }
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, onlyIfExists, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    if (!reply || reply->atom == XCB_ATOM_NONE) return XCB_ATOM_NONE;
    known.emplace(name, reply->atom);
    return reply->atom;
}

}  // namespace glugmo::x11
