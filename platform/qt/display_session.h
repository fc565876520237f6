#pragma once

#include <QString>
#include <optional>

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

// How the pet meets its display. It needs X11: a Wayland window may neither
// place itself nor keep above others, so on Wayland it runs through
// XWayland, whatever Qt platform was asked for, wherever an X server answers.
// Without one it refuses with one line that says what to do, rather than
// letting Qt abort. Other platforms a user names (offscreen, vnc) are theirs.
struct DisplayPlan {
    bool useXcb = false;  // run Qt on its xcb platform
    QString refusal;      // not empty: the line to print before leaving
};

// `xServerAnswers`: whether an X server answers on DISPLAY; nothing where
// the program is not built for X11.
DisplayPlan planDisplay(const DisplaySession& session, std::optional<bool> xServerAnswers);

// A short name for the display, usable in a file name: the pet is one per
// display, so that a second login of the same user gets a pet of its own.
QString displayKey(const DisplaySession& session);

}  // namespace glugmo
