#include "platform/qt/x11_window.h"

#include <QtGui/qguiapplication_platform.h>
#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace glugmo::x11 {

namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

xcb_connection_t* connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, false, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

xcb_window_t rootOf(xcb_connection_t* c, xcb_window_t window) {
    const Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr));
    return tree ? tree->root : xcb_window_t{XCB_WINDOW_NONE};
}

std::vector<xcb_atom_t> atomList(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property) {
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, false, window, property, XCB_ATOM_ATOM, 0, 4096), nullptr));
    if (!reply || reply->format != 32) return {};
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    return {atoms, atoms + xcb_get_property_value_length(reply.get()) / 4};
}

bool contains(const std::vector<xcb_atom_t>& atoms, xcb_atom_t wanted) {
    return std::find(atoms.begin(), atoms.end(), wanted) != atoms.end();
}

int screenNumberOf(xcb_connection_t* c, xcb_window_t root) {
    int number = 0;
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(c)); it.rem;
         xcb_screen_next(&it), ++number) {
        if (it.data->root == root) return number;
    }
    return 0;
}

}  // namespace

bool available() { return connection() != nullptr; }

void markAsAccessory(QWidget& window) {
    xcb_connection_t* c = connection();
    if (!c) return;
    const auto id = static_cast<xcb_window_t>(window.winId());
    const std::vector<xcb_atom_t> supported = atomList(c, rootOf(c, id), atom(c, "_NET_SUPPORTED"));

    const xcb_atom_t stateProperty = atom(c, "_NET_WM_STATE");
    std::vector<xcb_atom_t> states = atomList(c, id, stateProperty);
    std::vector<xcb_atom_t> wanted{atom(c, "_NET_WM_STATE_SKIP_TASKBAR"),
                                   atom(c, "_NET_WM_STATE_SKIP_PAGER")};
    const xcb_atom_t sticky = atom(c, "_NET_WM_STATE_STICKY");
    if (contains(supported, sticky)) wanted.push_back(sticky);
    for (xcb_atom_t state : wanted) {
        if (!contains(states, state)) states.push_back(state);
    }
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, stateProperty, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(states.size()), states.data());

    const xcb_atom_t desktop = atom(c, "_NET_WM_DESKTOP");
    if (contains(supported, desktop)) {
        const uint32_t allDesktops = 0xFFFFFFFF;
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, desktop, XCB_ATOM_CARDINAL, 32, 1,
                            &allDesktops);
    }
    xcb_flush(c);
}

void setInputShape(QWidget& window, const QRect& deviceRect) {
    xcb_connection_t* c = connection();
    if (!c) return;
    const xcb_rectangle_t rect{static_cast<int16_t>(deviceRect.x()),
                               static_cast<int16_t>(deviceRect.y()),
                               static_cast<uint16_t>(qMax(0, deviceRect.width())),
                               static_cast<uint16_t>(qMax(0, deviceRect.height()))};
    xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, XCB_CLIP_ORDERING_UNSORTED,
                         static_cast<xcb_window_t>(window.winId()), 0, 0,
                         deviceRect.isEmpty() ? 0 : 1, &rect);
    xcb_flush(c);
}

std::optional<bool> compositorRunning(QWidget& window) {
    xcb_connection_t* c = connection();
    if (!c) return std::nullopt;
    const xcb_window_t root = rootOf(c, static_cast<xcb_window_t>(window.winId()));
    const std::string name = "_NET_WM_CM_S" + std::to_string(screenNumberOf(c, root));
    const xcb_atom_t selection = atom(c, name.c_str());
    const Reply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr));
    return owner && owner->owner != XCB_WINDOW_NONE;
}

std::optional<bool> leftButtonHeld() {
    xcb_connection_t* c = connection();
    if (!c) return std::nullopt;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const Reply<xcb_query_pointer_reply_t> pointer(
        xcb_query_pointer_reply(c, xcb_query_pointer(c, root), nullptr));
    if (!pointer) return std::nullopt;
    return (pointer->mask & XCB_BUTTON_MASK_1) != 0;
}

}  // namespace glugmo::x11
