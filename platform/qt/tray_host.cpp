#include "platform/qt/tray_host.h"

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
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c) return false;
    // The screen $DISPLAY names (":0.1" is screen 1), where Qt shows windows.
    char* host = nullptr;
    int display = 0, screen = 0;
    if (!xcb_parse_display(nullptr, &host, &display, &screen)) screen = 0;
    std::free(host);
    const std::string name = "_NET_SYSTEM_TRAY_S" + std::to_string(screen);
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, true, static_cast<uint16_t>(name.size()), name.c_str()), nullptr);
    if (!atom) return false;
    const xcb_atom_t selection = atom->atom;
    std::free(atom);
    // Never interned: no tray ever claimed it.
    if (selection == XCB_ATOM_NONE) return false;
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr);
    const bool present = owner && owner->owner != XCB_WINDOW_NONE;
    std::free(owner);
    return present;
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
