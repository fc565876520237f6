#include "platform/qt/x11_panels.h"

#include <xcb/xcb.h>

#include "platform/qt/xcb_support.h"

namespace glugmo::x11 {

namespace {


std::vector<uint32_t> cardinals(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property,
                                xcb_atom_t type) {
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, false, window, property, type, 0, 4096), nullptr));
    if (!reply || reply->format != 32) return {};
    const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

// The managed windows; without a window manager that keeps a list, every
// top-level window, since a panel may then sit there unmanaged.
std::vector<uint32_t> topLevelWindows(xcb_connection_t* c, xcb_window_t root) {
    std::vector<uint32_t> windows =
        cardinals(c, root, atom(c, "_NET_CLIENT_LIST"), XCB_ATOM_WINDOW);
    if (!windows.empty()) return windows;
    const Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr));
    if (!tree) return {};
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    return {children, children + xcb_query_tree_children_length(tree.get())};
}

}  // namespace

std::optional<PanelStruts> panelStruts() {
    xcb_connection_t* c = connection();
    if (!c) return std::nullopt;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (!screen) return std::nullopt;
    PanelStruts found{{double(screen->width_in_pixels), double(screen->height_in_pixels)}, {}};
    const xcb_atom_t partial = atom(c, "_NET_WM_STRUT_PARTIAL");
    const xcb_atom_t whole = atom(c, "_NET_WM_STRUT");
    for (uint32_t window : topLevelWindows(c, screen->root)) {
        std::vector<uint32_t> v = cardinals(c, window, partial, XCB_ATOM_CARDINAL);
        if (v.size() < 12) {
            // The older property covers each edge from end to end.
            v = cardinals(c, window, whole, XCB_ATOM_CARDINAL);
            if (v.size() < 4) continue;
            const uint32_t w = screen->width_in_pixels, h = screen->height_in_pixels;
            v.resize(4);
            v.insert(v.end(), {0, h - 1u, 0, h - 1u, 0, w - 1u, 0, w - 1u});
        }
        found.struts.push_back({double(v[0]), double(v[1]), double(v[2]), double(v[3]),
                                double(v[4]), double(v[5]), double(v[6]), double(v[7]),
                                double(v[8]), double(v[9]), double(v[10]), double(v[11])});
    }
    return found;
}

}  // namespace glugmo::x11
