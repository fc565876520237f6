"""Times a program from exec to its window being on screen, by listening to
the X server rather than polling it: every top-level window created is
watched, and at each map the one with the wanted name is checked for being
viewable (mapped, and its window manager frame too)."""

import select
import subprocess
import time

from Xlib import X, display, error


def window_name(d, window):
    try:
        prop = window.get_full_property(d.intern_atom("_NET_WM_NAME"), d.intern_atom("UTF8_STRING"))
        if prop is None:
            prop = window.get_full_property(d.intern_atom("WM_NAME"), X.AnyPropertyType)
    except error.XError:
        return ""
    if prop is None:
        return ""
    value = prop.value
    return value.decode("utf-8", "replace") if isinstance(value, bytes) else str(value)


def is_viewable(window):
    try:
        return window.get_attributes().map_state == X.IsViewable
    except error.XError:
        return False


class MapWatch:
    """One X connection listening for new top-level windows and maps."""

    def __init__(self):
        self.d = display.Display()
        self.root = self.d.screen().root
        self.root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.d.sync()
        self._created = []

    def close(self):
        self.d.close()

    def launch(self, argv, name, timeout, **popen):
        """Starts argv and waits for a viewable window called `name`.
        Returns (process, seconds from exec to that moment, window)."""
        self._drain()
        self._created = []
        started = time.monotonic()
        process = subprocess.Popen(argv, **popen)
        deadline = started + timeout
        while True:
            for event, seen in self._events(deadline):
                if event.type == X.CreateNotify:
                    self._watch(event.window)
                elif event.type == X.MapNotify:
                    window = self._viewable_named(name)
                    if window is not None:
                        return process, seen - started, window
            if time.monotonic() > deadline or process.poll() is not None:
                process.kill()
                process.wait()
                raise RuntimeError(f"no window named {name!r} within {timeout} s of {argv[0]}")

    def maps_since(self, name, besides):
        """How many times a window called `name`, other than `besides`, was
        mapped since the last launch or call."""
        count = 0
        while self.d.pending_events():
            event = self.d.next_event()
            if (event.type == X.MapNotify and event.window.id != besides.id
                    and window_name(self.d, event.window) == name):
                count += 1
        return count

    def _watch(self, window):
        self._created.append(window)
        try:
            # Its own map arrives here; the frame's map arrives at the root.
            window.change_attributes(event_mask=X.StructureNotifyMask)
        except error.XError:
            pass

    def _viewable_named(self, name):
        for window in self._created:
            if window_name(self.d, window) == name and is_viewable(window):
                return window
        return None

    def _events(self, deadline):
        """Events as they arrive, each with the moment it was read."""
        if not self.d.pending_events():
            remaining = max(0.0, deadline - time.monotonic())
            select.select([self.d.fileno()], [], [], min(remaining, 0.1))
        events = []
        while self.d.pending_events():
            events.append((self.d.next_event(), time.monotonic()))
        return events

    def _drain(self):
        while self.d.pending_events():
            self.d.next_event()

    def centre_of(self, window):
        """The window's centre in root coordinates."""
        geometry = window.get_geometry()
        origin = self.root.translate_coords(window, 0, 0)
        return origin.x + geometry.width // 2, origin.y + geometry.height // 2
