#pragma once

namespace glugmo {

// Whether a tray would take the pet's icon now: an XEmbed tray owns the
// screen's _NET_SYSTEM_TRAY_S<n> selection, or a StatusNotifierItem host is
// registered on the session bus.
//
// Asked before the icon is made, and in place of
// QSystemTrayIcon::isSystemTrayAvailable: Qt settles once per process, the
// first time it makes or checks an icon, whether icons go to a
// StatusNotifierItem host, so a check made before such a host starts would
// keep the icon off it for good.
bool trayHostPresent();

}  // namespace glugmo
