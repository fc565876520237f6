#!/usr/bin/python3
"""Waits until one piece of the X desktop on $DISPLAY is really up.

usage: desktop-ready.py wm|compositor|tray [timeout-seconds]

wm          a window manager announces itself (_NET_SUPPORTING_WM_CHECK points
            to a window that points to itself)
compositor  a compositing manager owns _NET_WM_CM_S0
tray        a system tray owns _NET_SYSTEM_TRAY_S0 and, when a window manager
            runs, the panel's strut has shrunk _NET_WORKAREA, so a program
            started next sees its final work area
"""
import sys
import time

from Xlib import X, display, error


def supporting_wm(d):
    root = d.screen().root
    check = d.intern_atom("_NET_SUPPORTING_WM_CHECK")
    prop = root.get_full_property(check, X.AnyPropertyType)
    if not prop or not prop.value:
        return False
    child = d.create_resource_object("window", prop.value[0])
    own = child.get_full_property(check, X.AnyPropertyType)
    return bool(own and own.value and own.value[0] == prop.value[0])


def owns(d, selection):
    return d.get_selection_owner(d.intern_atom(selection)) != X.NONE


def workarea_below_panel(d):
    screen = d.screen()
    prop = screen.root.get_full_property(d.intern_atom("_NET_WORKAREA"), X.AnyPropertyType)
    if not prop or len(prop.value) < 4:
        return False
    return prop.value[3] < screen.height_in_pixels or prop.value[2] < screen.width_in_pixels


def tray_ready(d):
    if not owns(d, "_NET_SYSTEM_TRAY_S0"):
        return False
    return not supporting_wm(d) or workarea_below_panel(d)


CHECKS = {
    "wm": supporting_wm,
    "compositor": lambda d: owns(d, "_NET_WM_CM_S0"),
    "tray": tray_ready,
}


def main():
    if len(sys.argv) not in (2, 3) or sys.argv[1] not in CHECKS:
        sys.exit(__doc__)
    check = CHECKS[sys.argv[1]]
    deadline = time.monotonic() + (float(sys.argv[2]) if len(sys.argv) == 3 else 15)
    d = display.Display()
    while True:
        try:
            if check(d):
                return
        except error.XError:
            pass  # the window we looked at went away: look again
        if time.monotonic() > deadline:
            sys.exit(f"desktop-ready: no {sys.argv[1]} on {d.get_display_name()}")
        time.sleep(0.05)


if __name__ == "__main__":
    main()
