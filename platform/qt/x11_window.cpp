#include "platform/qt/x11_window.h"

#include "platform/qt/xcb_support.h"

#include <QtGui/qguiapplication_platform.h>
#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace glugmo::x11 {

namespace {

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

xcb_window_t defaultRoot(xcb_connection_t* c) {
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

xcb_window_t idOf(QWidget& window) { return static_cast<xcb_window_t>(window.winId()); }

void setUtilityType(xcb_connection_t* c, xcb_window_t id) {
    const xcb_atom_t utility = atom(c, "_NET_WM_WINDOW_TYPE_UTILITY");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, atom(c, "_NET_WM_WINDOW_TYPE"),
                        XCB_ATOM_ATOM, 32, 1, &utility);
}

// Qt offers WM_TAKE_FOCUS on every window. With it, KWin and mutter count the
// window as one that wants focus, refuse it because it was shown without
// activation, and flag it as demanding attention instead.
void dropTakeFocus(xcb_connection_t* c, xcb_window_t id) {
    const xcb_atom_t protocolsProperty = atom(c, "WM_PROTOCOLS");
    std::vector<xcb_atom_t> protocols = atomList(c, id, protocolsProperty);
    const auto end = std::remove(protocols.begin(), protocols.end(), atom(c, "WM_TAKE_FOCUS"));
    if (end == protocols.end()) return;
    protocols.erase(end, protocols.end());
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, protocolsProperty, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(protocols.size()), protocols.data());
}

struct TopLevel {
    xcb_window_t id;
    bool viewable;
    bool overrideRedirect;
    QRect geometry;
};

// The root's children, bottom to top, with what restacking needs to know.
std::vector<TopLevel> topLevels(xcb_connection_t* c, xcb_window_t root) {
    const Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr));
    if (!tree) return {};
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    const int count = xcb_query_tree_children_length(tree.get());
    std::vector<xcb_get_window_attributes_cookie_t> attributes;
    std::vector<xcb_get_geometry_cookie_t> geometries;
    for (int i = 0; i < count; ++i) {
        attributes.push_back(xcb_get_window_attributes(c, children[i]));
        geometries.push_back(xcb_get_geometry(c, children[i]));
    }
    std::vector<TopLevel> found;
    for (int i = 0; i < count; ++i) {
        const Reply<xcb_get_window_attributes_reply_t> a(
            xcb_get_window_attributes_reply(c, attributes[i], nullptr));
        const Reply<xcb_get_geometry_reply_t> g(xcb_get_geometry_reply(c, geometries[i], nullptr));
        if (!a || !g) continue;
        found.push_back({children[i], a->map_state == XCB_MAP_STATE_VIEWABLE,
                         a->override_redirect != 0, QRect(g->x, g->y, g->width, g->height)});
    }
    return found;
}

// Whether a window over an unmanaged one hides it for good. Managed windows
// do, unless they are menus, tooltips or notifications, which come and go.
// Of the unmanaged ones only window managers' own frames do (i3's are
// unmanaged; they carry no window type), and, if `peersCover`, other
// unmanaged utility windows (the pet, for its bubble); menus never do,
// whatever type they give themselves.
bool covers(xcb_connection_t* c, const TopLevel& window, bool peersCover) {
    const std::vector<xcb_atom_t> types = atomList(c, window.id, atom(c, "_NET_WM_WINDOW_TYPE"));
    if (window.overrideRedirect) {
        return types.empty() ||
               (peersCover && contains(types, atom(c, "_NET_WM_WINDOW_TYPE_UTILITY")));
    }
    for (const char* passing :
         {"_NET_WM_WINDOW_TYPE_MENU", "_NET_WM_WINDOW_TYPE_DROPDOWN_MENU",
          "_NET_WM_WINDOW_TYPE_POPUP_MENU", "_NET_WM_WINDOW_TYPE_TOOLTIP",
          "_NET_WM_WINDOW_TYPE_NOTIFICATION"}) {
        if (contains(types, atom(c, passing))) return false;
    }
    return true;
}

// Whether a top-level window, or the window in a window manager's frame,
// fills the screen at its own request (a film, a game, slides): it stays
// above the pet, as window managers that keep the pet above have it.
bool fullScreen(xcb_connection_t* c, xcb_window_t topLevel) {
    const xcb_atom_t state = atom(c, "_NET_WM_STATE");
    const xcb_atom_t full = atom(c, "_NET_WM_STATE_FULLSCREEN");
    if (contains(atomList(c, topLevel, state), full)) return true;
    const Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(c, xcb_query_tree(c, topLevel), nullptr));
    if (!tree) return false;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    const int count = xcb_query_tree_children_length(tree.get());
    return std::any_of(children, children + count, [&](xcb_window_t child) {
        return contains(atomList(c, child, state), full);
    });
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

bool windowManagerKeepsAbove() {
    xcb_connection_t* c = connection();
    if (!c) return false;
    return contains(atomList(c, defaultRoot(c), atom(c, "_NET_SUPPORTED")),
                    atom(c, "_NET_WM_STATE_ABOVE"));
}

void markAsAccessory(QWidget& window) {
    xcb_connection_t* c = connection();
    if (!c) return;
    const xcb_window_t id = idOf(window);
    setUtilityType(c, id);
    dropTakeFocus(c, id);
    // A transient window follows its main window: KWin keeps it on that
    // window's desktop and minimises it with that window. Qt names its hidden
    // group leader here for tool windows; nothing should be named.
    xcb_delete_property(c, id, XCB_ATOM_WM_TRANSIENT_FOR);
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

void restoreWindowType(QWidget& window) {
    xcb_connection_t* c = connection();
    if (!c) return;
    setUtilityType(c, idOf(window));
    xcb_flush(c);
}

void dropAttention(QWidget& window, uint32_t changedProperty) {
    xcb_connection_t* c = connection();
    if (!c) return;
    const xcb_atom_t stateProperty = atom(c, "_NET_WM_STATE");
    if (changedProperty != stateProperty) return;
    const xcb_window_t id = idOf(window);
    const xcb_atom_t attention = atom(c, "_NET_WM_STATE_DEMANDS_ATTENTION");
    if (!contains(atomList(c, id, stateProperty), attention)) return;
    // A mapped window's state belongs to the window manager: ask it.
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = id;
    request.type = stateProperty;
    request.data.data32[0] = 0;  // remove
    request.data.data32[1] = attention;
    request.data.data32[3] = 2;  // from a pager-like source: always honoured
    xcb_send_event(c, false, rootOf(c, id),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&request));
    xcb_flush(c);
}

void keepAboveCoveringWindows(QWidget& window, bool aboveUnmanagedPeers) {
    xcb_connection_t* c = connection();
    if (!c || !window.isVisible()) return;
    const xcb_window_t id = idOf(window);
    const std::vector<TopLevel> windows = topLevels(c, defaultRoot(c));
    const auto self = std::find_if(windows.begin(), windows.end(),
                                   [id](const TopLevel& w) { return w.id == id; });
    if (self == windows.end()) return;
    // The highest window that would cover the pet, above it or below.
    auto top = windows.end();
    for (auto other = windows.begin(); other != windows.end(); ++other) {
        if (other == self || !other->viewable || !other->geometry.intersects(self->geometry)) continue;
        if (covers(c, *other, aboveUnmanagedPeers)) top = other;
    }
    if (top == windows.end()) return;
    std::uint32_t mode = XCB_STACK_MODE_ABOVE;
    if (fullScreen(c, top->id)) {
        if (top > self) return;
        mode = XCB_STACK_MODE_BELOW;
    } else if (top < self) {
        return;
    }
    const uint32_t values[] = {top->id, mode};
    xcb_configure_window(c, id, XCB_CONFIG_WINDOW_SIBLING | XCB_CONFIG_WINDOW_STACK_MODE, values);
    xcb_flush(c);
}

void watchTopLevelWindows() {
    xcb_connection_t* c = connection();
    if (!c) return;
    const xcb_window_t root = defaultRoot(c);
    // The event mask is this connection's own: Qt's events on the root stay.
    const Reply<xcb_get_window_attributes_reply_t> current(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, root), nullptr));
    const uint32_t mask =
        (current ? current->your_event_mask : 0) | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
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
    const xcb_window_t root = defaultRoot(c);
    const Reply<xcb_query_pointer_reply_t> pointer(
        xcb_query_pointer_reply(c, xcb_query_pointer(c, root), nullptr));
    if (!pointer) return std::nullopt;
    return (pointer->mask & XCB_BUTTON_MASK_1) != 0;
}

}  // namespace glugmo::x11
