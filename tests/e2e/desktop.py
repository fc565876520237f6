"""A virtual desktop for end-to-end tests: scripts/desktop-session.sh on a display of its own, an
X connection to look at it, and input through xdotool (XTEST), as a user's hands reach the pet."""

import ctypes
import os
import signal
import subprocess
import time
from pathlib import Path

from PIL import Image
from Xlib import X, Xatom, display, error

SCRIPTS = Path(__file__).resolve().parents[2] / "scripts"


def _stop_when_parent_dies():  # a test killed on timeout must not leave its desktop running
    ctypes.CDLL(None).prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG


def wait_for(predicate, timeout, what, interval=0.05):
    """Polls until predicate() returns something true and returns it."""
    deadline = time.monotonic() + timeout
    while not (value := predicate()):
        if time.monotonic() > deadline:
            raise AssertionError(f"waited {timeout} s for {what}")
        time.sleep(interval)
    return value


def _unless_gone(default, query):
    """query(), or default once the window it asks about is gone."""
    try:
        return query()
    except error.XError:
        return default


class Desktop:
    """Xvfb with openbox, picom and tint2 unless told to leave one out."""

    def __init__(self, *options):
        self._session = subprocess.Popen([str(SCRIPTS / "desktop-session.sh"), *options], stdout=subprocess.PIPE,
                                         stdin=subprocess.DEVNULL, text=True, preexec_fn=_stop_when_parent_dies)
        line = self._session.stdout.readline()
        if not line.startswith("DISPLAY="):
            self._session.wait(timeout=30)
            raise RuntimeError("the virtual desktop did not come up")
        self.name = line.strip().split("=", 1)[1]
        self.x = display.Display(self.name)
        self.root = self.x.screen().root

    def close(self):
        self.x.close()
        self._session.terminate()
        self._session.wait(timeout=30)
        self._session.stdout.close()

    def atom(self, name):
        return self.x.intern_atom(name)

    def screen_size(self):
        screen = self.x.screen()
        return screen.width_in_pixels, screen.height_in_pixels

    def workarea(self):
        """(x, y, width, height) of the work area, top-left origin."""
        value = self.property(self.root, "_NET_WORKAREA", Xatom.CARDINAL)
        return tuple(value[:4]) if value is not None and len(value) >= 4 else (0, 0, *self.screen_size())

    def property(self, window, name, kind=X.AnyPropertyType):
        prop = _unless_gone(None, lambda: window.get_full_property(self.atom(name), kind))
        return prop.value if prop else None

    def title(self, window):
        value = self.property(window, "_NET_WM_NAME", self.atom("UTF8_STRING")) or self.property(window, "WM_NAME")
        return value.decode("utf-8", "replace") if isinstance(value, bytes) else value or ""

    def window_types(self, window):
        value = self.property(window, "_NET_WM_WINDOW_TYPE", Xatom.ATOM)
        return {self.x.get_atom_name(a) for a in value} if value is not None else set()

    def all_windows(self):
        """Every window below the root, parents before children."""
        pending, found = [self.root], []
        while pending:
            found += (children := _unless_gone([], lambda: pending.pop().query_tree().children))
            pending += children
        return found

    def ancestors(self, window):
        chain = []
        while (window := _unless_gone(None, lambda: window.query_tree().parent)) and window.id != self.root.id:
            chain.append(window)
        return chain

    def viewable(self, window):
        return _unless_gone(False, lambda: window.get_attributes().map_state == X.IsViewable)

    def geometry(self, window):
        """(x, y, width, height) on the root window, or None once it is gone."""
        found = _unless_gone(None, lambda: (window.get_geometry(), self.root.translate_coords(window, 0, 0)))
        return found and (found[1].x, found[1].y, found[0].width, found[0].height)

    def grab(self, box):
        """The screen's pixels in box = (x, y, width, height) as an RGB image."""
        x, y, w, h = (int(round(v)) for v in box)
        raw = self.root.get_image(x, y, w, h, X.ZPixmap, 0xFFFFFFFF)
        return Image.frombytes("RGB", (w, h), raw.data, "raw", "BGRX")

    def screenshot(self, path):
        self.grab((0, 0, *self.screen_size())).save(path)

    def xdotool(self, *args):
        subprocess.run(["xdotool", *map(str, args)], check=True, env={**os.environ, "DISPLAY": self.name})

    def click(self, point, button=1, repeat=1, delay_ms=80):
        x, y = (int(round(v)) for v in point)
        self.xdotool("mousemove", x, y, "click", "--repeat", repeat, "--delay", delay_ms, button)

    def click_each(self, points, gap):
        """Single clicks on each point in turn, `gap` seconds apart."""
        self.xdotool(*[v for x, y in points for v in ("mousemove", round(x), round(y), "click", 1, "sleep", gap)])

    def drag(self, start, end, steps=40):
        """Presses at start, moves to end in small steps like a hand, releases."""
        (x0, y0), (x1, y1) = start, end
        path = [v for i in range(1, steps + 1) for v in
                ("mousemove", round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), "sleep", 0.02)]
        self.xdotool("mousemove", round(x0), round(y0), "mousedown", 1, *path, "sleep", 0.1, "mouseup", 1)

    def keys(self, *names):
        self.xdotool("key", "--delay", 60, *names)


class Backdrop:
    """A full-screen window of one colour below all others: it shows through the
    pet's transparent parts and records the clicks that reach it instead."""

    def __init__(self, desktop, rgb):
        self._x = display.Display(desktop.name)  # its own, keeping its events apart from the queries
        screen = self._x.screen()
        self.window = screen.root.create_window(
            0, 0, screen.width_in_pixels, screen.height_in_pixels, 0, screen.root_depth,
            background_pixel=(rgb[0] << 16) | (rgb[1] << 8) | rgb[2], override_redirect=True,
            event_mask=X.ButtonPressMask | X.ButtonReleaseMask)
        self.window.map()
        self.window.configure(stack_mode=X.Below)
        self._x.sync()

    def presses(self):
        """Root positions of the button presses received since the last call."""
        events = [self._x.next_event() for _ in range(self._x.pending_events())]
        return [(e.root_x, e.root_y) for e in events if e.type == X.ButtonPress]

    def close(self):
        self.window.destroy()
        self._x.close()
