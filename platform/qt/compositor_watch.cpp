#include "platform/qt/compositor_watch.h"

#include "platform/qt/xcb_support.h"

#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdlib>
#include <string>

#include "platform/qt/x11_window.h"

namespace glugmo {

namespace {

// The screen's root window and its compositor selection (_NET_WM_CM_Sn).
std::pair<xcb_window_t, xcb_atom_t> compositorSelection(xcb_connection_t* c, xcb_window_t window) {
    const x11::Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr));
    if (!tree) return {XCB_WINDOW_NONE, XCB_ATOM_NONE};
    const xcb_window_t root = tree->root;
    int screen = 0;
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(c)); it.rem && it.data->root != root;
         xcb_screen_next(&it)) {
        ++screen;
    }
    return {root, x11::atom(c, ("_NET_WM_CM_S" + std::to_string(screen)).c_str())};
}

}  // namespace

CompositorWatch::CompositorWatch(QWidget& window, std::function<void(bool)> changed)
    : window_(window), changed_(std::move(changed)) {
    xcb_connection_t* c = x11::connection();
    if (!c) return;
    const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(c, &xcb_xfixes_id);
    if (xfixes && xfixes->present) {
        // Qt has agreed on a version for its own use already; this is harmless.
        std::free(xcb_xfixes_query_version_reply(
            c, xcb_xfixes_query_version(c, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION),
            nullptr));
        const auto [root, selection] =
            compositorSelection(c, static_cast<xcb_window_t>(window_.winId()));
        if (selection != XCB_ATOM_NONE) {
            xcb_xfixes_select_selection_input(
                c, root, selection,
                XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                    XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                    XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
            xcb_flush(c);
            selectionNotify_ = xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY;
            QCoreApplication::instance()->installNativeEventFilter(this);
        }
    }
    check();
}

CompositorWatch::~CompositorWatch() {
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool CompositorWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if (selectionNotify_ != 0 && (event->response_type & 0x7f) == selectionNotify_) check();
    return false;
}

void CompositorWatch::check() {
    const std::optional<bool> composited = x11::compositorRunning(window_);
    if (!composited || composited == composited_) return;
    composited_ = composited;
    changed_(*composited);
}

}  // namespace glugmo
