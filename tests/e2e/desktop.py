"""A virtual desktop for end-to-end tests (scripts/desktop-session.sh on a display of its own, input through
xdotool as a user's hands reach the pet), where the pet's windows belong on it, and the real glugmo run there
with a home folder of its own."""

import contextlib
import ctypes
import os
import shutil
import signal
import subprocess
import tempfile
import threading
import time
from pathlib import Path

from PIL import Image, ImageChops
from Xlib import X, Xatom, display, error

SCRIPTS = Path(__file__).resolve().parents[2] / "scripts"
PET_TITLE = "咕噜宝"
TOOLTIP, UTILITY = "_NET_WM_WINDOW_TYPE_TOOLTIP", "_NET_WM_WINDOW_TYPE_UTILITY"
ASPECT = 599 / 523  # height / width of the pet artwork
DEFAULT_SIZE = 120


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


# Where the pet's windows go, in X11 pixels (top-left origin, y down), from the size the pet is drawn at.

def window_size(size):
    """The pet plus 0.23 s of air on each side, 0.12 h above and 0.1 h below."""
    return 1.46 * size, size * ASPECT * 1.22


def default_frame(workarea, size=DEFAULT_SIZE):
    """60 points in from the work area's right edge and 40 above its bottom."""
    x, y, w, h = workarea
    width, height = window_size(size)
    return (x + w - width - 60, y + h - 40 - height, width, height)


def pet_rect(frame, size):
    """The pet view inside a window frame; its margins let clicks through."""
    return (frame[0] + 0.23 * size, frame[1] + 0.12 * size * ASPECT, size, size * ASPECT)


def centre(box):
    x, y, w, h = box
    return (x + w / 2, y + h / 2)


def fraction_of_colour(image, rgb, tolerance=8):
    """Share of the pixels within `tolerance` of rgb on every channel."""
    pixels = list(image.getdata())
    return sum(1 for p in pixels if all(abs(c - r) <= tolerance for c, r in zip(p, rgb))) / len(pixels)


def changed_pixels(before, after, tolerance=24):
    """How many pixels differ by more than `tolerance` on some channel."""
    return sum(1 for p in ImageChops.difference(before, after).getdata() if max(p) > tolerance)


class Desktop:
    """Xvfb with openbox, picom and tint2 unless told to leave one out; an X connection to look at it."""

    def __init__(self, *options):
        self._session = subprocess.Popen(  # a test killed on timeout must not leave its desktop running
            [str(SCRIPTS / "desktop-session.sh"), *options], stdout=subprocess.PIPE, stdin=subprocess.DEVNULL,
            text=True, preexec_fn=lambda: ctypes.CDLL(None).prctl(1, signal.SIGTERM))  # PR_SET_PDEATHSIG
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
        return self.x.screen().width_in_pixels, self.x.screen().height_in_pixels

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
        return {self.x.get_atom_name(a) for a in self.property(window, "_NET_WM_WINDOW_TYPE", Xatom.ATOM) or []}

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

    def drag(self, start, end, steps=40):
        """Presses at start, moves to end in small steps like a hand, releases."""
        (x0, y0), (x1, y1) = start, end
        path = [v for i in range(1, steps + 1) for v in
                ("mousemove", round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), "sleep", 0.02)]
        self.xdotool("mousemove", round(x0), round(y0), "mousedown", 1, *path, "sleep", 0.1, "mouseup", 1)

    def keys(self, *names):
        self.xdotool("key", "--delay", 60, *names)


class ColourWindow:
    """A window of one colour on a connection of its own (keeping its events apart from the queries). Without a
    `kind`, a backdrop over the whole screen below all others: it shows through the pet's transparent parts and
    records the clicks that reach it instead; with one, a window of that type named after it, with more
    properties."""

    def __init__(self, desktop, rgb, box=None, kind=None, states=(), **cardinals):
        self.x = display.Display(desktop.name)
        screen, atom = self.x.screen(), self.x.intern_atom
        self.window = screen.root.create_window(
            *box or (0, 0, screen.width_in_pixels, screen.height_in_pixels), 0, screen.root_depth,
            background_pixel=rgb[0] << 16 | rgb[1] << 8 | rgb[2], override_redirect=not kind,
            event_mask=X.ButtonPressMask | X.ButtonReleaseMask)
        if kind:
            self.window.set_wm_name(kind.lower())
            self.window.set_wm_normal_hints(flags=1 | 2, x=box[0], y=box[1], width=box[2], height=box[3])
            self.window.change_property(atom("_NET_WM_WINDOW_TYPE"), Xatom.ATOM, 32,
                                        [atom(f"_NET_WM_WINDOW_TYPE_{kind}")])
        if states:
            self.window.change_property(atom("_NET_WM_STATE"), Xatom.ATOM, 32,
                                        [atom(f"_NET_WM_STATE_{state}") for state in states])
        for name, values in cardinals.items():
            self.window.change_property(atom(name), Xatom.CARDINAL, 32, values)
        self.window.map()
        if not kind:
            self.window.configure(stack_mode=X.Below)
        self.x.sync()

    def presses(self):
        """Root positions of the button presses received since the last call."""
        events = [self.x.next_event() for _ in range(self.x.pending_events())]
        return [(e.root_x, e.root_y) for e in events if e.type == X.ButtonPress]

    def close(self):
        self.window.destroy()
        self.x.close()


class Home:
    """A throwaway HOME with XDG folders, kept across relaunches to see what survives."""

    def __init__(self):
        self.path = Path(tempfile.mkdtemp(prefix="glugmo-e2e-"))
        self.env = {"HOME": str(self.path), **{f"XDG_{key}": str(self.path / key.split("_")[0].lower())
                                               for key in ("CONFIG_HOME", "DATA_HOME", "CACHE_HOME", "RUNTIME_DIR")}}
        for folder in self.env.values():
            os.makedirs(folder, mode=0o700, exist_ok=True)
        self.settings_file = self.path / "config" / "Glugmo" / "Glugmo.conf"
        self.quotes_file = self.path / "data" / "Glugmo" / "quotes.txt"

    def write(self, path, text):
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text(text, encoding="utf-8")

    def remove(self):
        shutil.rmtree(self.path, ignore_errors=True)


class Pet:
    """One run of glugmo; stdout lines are collected as they arrive.

    The pet and its bubble are utility windows that both carry the pet's title (managed, or not where the window
    manager cannot keep them above); menus and tooltips are popups. The pet is the one on screen first, and is
    remembered from then on."""

    def __init__(self, exe, desktop, home, debug=None, extra_env=None, stderr=None):
        self.desktop = desktop
        env = {k: v for k, v in os.environ.items()
               if k not in ("GLG_DEBUG", "DBUS_SESSION_BUS_ADDRESS") and not k.startswith("QT_")}
        env.update(home.env, DISPLAY=desktop.name, QT_QPA_PLATFORM="xcb", **extra_env or {},
                   **{} if debug is None else {"GLG_DEBUG": debug})
        self.lines, self._pet_window, self._stopped = [], None, False
        with open(stderr, "w") if stderr else contextlib.nullcontext() as errors:
            self.process = subprocess.Popen([exe], env=env, cwd=home.path, stdin=subprocess.DEVNULL,
                                            stdout=subprocess.PIPE, stderr=errors, text=True, encoding="utf-8")
        self._reader = threading.Thread(target=lambda: self.lines.extend(l.rstrip("\n") for l in self.process.stdout),
                                        daemon=True)
        self._reader.start()

    def stop(self):
        """Ends the run, once; the exit status if it had quit by itself, else None."""
        if not self._stopped:
            self._stopped, self._quit_by_itself = True, self.process.poll()
            if self._quit_by_itself is None:
                self.process.terminate()
                try:
                    self.process.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    self.process.kill()
            self._reader.join(timeout=5)
            self.process.stdout.close()
        return self._quit_by_itself

    def _own_windows(self):
        d = self.desktop
        return [w for w in d.all_windows() if (d.property(w, "_NET_WM_PID") or [None])[0] == self.process.pid]

    def _shown(self, utility):
        d = self.desktop
        return [w for w in self._own_windows() if d.viewable(w) and TOOLTIP not in (types := d.window_types(w))
                and (UTILITY in types) == utility  # and not the tray icon, inside a panel
                and not any("_NET_WM_WINDOW_TYPE_DOCK" in d.window_types(a) for a in d.ancestors(w))]

    def window(self, timeout=10):
        """The pet's window, once it is on screen and has stopped moving."""
        d = self.desktop

        def find():
            if self.process.poll() is not None:
                raise AssertionError(f"glugmo exited with status {self.process.returncode}")
            shown = [w for w in self._shown(utility=True) if d.title(w) == PET_TITLE]
            if len(shown) > 1:
                raise AssertionError("the bubble showed before the pet; cannot tell them apart")
            return shown[0] if shown else None

        if self._pet_window is None:
            self._pet_window = wait_for(find, timeout, "the pet window")
        frames = [None]
        wait_for(lambda: frames.append(d.geometry(self._pet_window)) or frames[-1] == frames[-2], 5,
                 "the pet window to settle", interval=0.2)
        return self._pet_window

    def frame(self, window):
        return self.desktop.geometry(window)

    def bubble(self, pet_window):
        """The speech bubble's window while it is shown, else None."""
        return next((w for w in self._shown(utility=True) if w.id != pet_window.id), None)

    def menu(self):
        # A tray inside the window manager's toolbar takes in an unmanaged
        # icon window too; menus are the unmanaged windows on the root.
        return next((w for w in self._shown(utility=False) if not self.desktop.ancestors(w)), None)

    def tray_icon(self):
        """The icon docked in a tray, in a panel or a window manager's toolbar: our window other than the pet
        and its bubble that something took in as its child; else None."""
        d = self.desktop
        return next((w for w in self._own_windows()
                     if d.viewable(w) and d.ancestors(w) and UTILITY not in d.window_types(w)), None)

    def output_line(self, prefix, timeout):
        return wait_for(lambda: next((text for text in self.lines if text.startswith(prefix)), None), timeout,
                        f"a line starting with {prefix!r} on stdout")
