#include "platform/qt/tray_host.h"

#include "platform/qt/xcb_support.h"

#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QGuiApplication>
#include <QSystemTrayIcon>
#include <cstdlib>
#include <string>

namespace glugmo {

namespace {

constexpr int kWatcherAnswerMs = 300;

bool xembedTrayPresent() {
    xcb_connection_t* c = x11::connection();
    if (!c) return false;
    // The screen $DISPLAY names (":0.1" is screen 1), where Qt shows windows.
    char* host = nullptr;
    int display = 0, screen = 0;
    if (!xcb_parse_display(nullptr, &host, &display, &screen)) screen = 0;
    std::free(host);
    // Never interned: no tray ever claimed it.
    const xcb_atom_t selection = x11::atom(c, ("_NET_SYSTEM_TRAY_S" + std::to_string(screen)).c_str(), true);
    if (selection == XCB_ATOM_NONE) return false;
    const x11::Reply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr));
    return owner && owner->owner != XCB_WINDOW_NONE;
}

bool statusNotifierHostPresent() {
    const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(watcher).value()) return false;
    QDBusInterface properties(watcher, QStringLiteral("/StatusNotifierWatcher"), watcher, bus);
    // Asked every few seconds while no tray is there: a watcher that hangs
    // must not freeze the pet.
    properties.setTimeout(kWatcherAnswerMs);
    return properties.property("IsStatusNotifierHostRegistered").toBool();
}

}  // namespace

bool trayHostPresent() {
    if (!QGuiApplication::platformName().startsWith(QLatin1String("xcb"))) {
        return QSystemTrayIcon::isSystemTrayAvailable();
    }
    return xembedTrayPresent() || statusNotifierHostPresent();
}

}  // namespace glugmo
