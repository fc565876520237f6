#pragma once

#include <QString>

namespace glugmo {

// The environment variables that say which display the pet is started on and
// which Qt platform the user asked for; an unset variable reads as empty.
struct DisplaySession {
    QString qpaPlatform;     // QT_QPA_PLATFORM
    QString waylandDisplay;  // WAYLAND_DISPLAY
    QString sessionType;     // XDG_SESSION_TYPE
    QString x11Display;      // DISPLAY

    static DisplaySession fromEnvironment();
};

// Whether to run through XWayland: a Wayland client may neither place its
// windows nor keep them above others, and the pet needs both. Only when an X
// server is there to take the windows, and never over the user's own choice.
bool shouldUseXWayland(const DisplaySession& session);

// A short name for the display, usable in a file name: the pet is one per
// display, so that a second login of the same user gets a pet of its own.
QString displayKey(const DisplaySession& session);

}  // namespace glugmo
