"""The real glugmo executable, run on a test desktop with a home folder of its
own, and the windows it shows there."""

import configparser
import os
import shutil
import subprocess
import tempfile
import threading
import time
from pathlib import Path

from desktop import wait_for

PET_TITLE = "咕噜宝"
POPUP_MENU = "_NET_WM_WINDOW_TYPE_POPUP_MENU"
TOOLTIP = "_NET_WM_WINDOW_TYPE_TOOLTIP"


class Home:
    """A throwaway HOME with its XDG folders; kept across relaunches so
    settings and quotes can be seen to survive."""

    def __init__(self):
        self.path = Path(tempfile.mkdtemp(prefix="glugmo-e2e-"))
        self.env = {
            "HOME": str(self.path),
            "XDG_CONFIG_HOME": str(self.path / "config"),
            "XDG_DATA_HOME": str(self.path / "data"),
            "XDG_CACHE_HOME": str(self.path / "cache"),
            "XDG_RUNTIME_DIR": str(self.path / "runtime"),
        }
        for folder in self.env.values():
            os.makedirs(folder, mode=0o700, exist_ok=True)
        self.settings_file = self.path / "config" / "Glugmo" / "Glugmo.conf"
        self.quotes_file = self.path / "data" / "Glugmo" / "quotes.txt"

    def write_settings(self, **values):
        self.settings_file.parent.mkdir(parents=True, exist_ok=True)
        lines = ["[General]"] + [f"{k}={str(v).lower() if isinstance(v, bool) else v}"
                                 for k, v in values.items()]
        self.settings_file.write_text("\n".join(lines) + "\n")

    def settings(self):
        parser = configparser.ConfigParser(interpolation=None)
        parser.optionxform = str  # keys are case-sensitive, as QSettings writes them
        parser.read(self.settings_file, encoding="utf-8")
        return dict(parser["General"]) if parser.has_section("General") else {}

    def write_quotes(self, data: bytes):
        self.quotes_file.parent.mkdir(parents=True, exist_ok=True)
        self.quotes_file.write_bytes(data)

    def remove(self):
        shutil.rmtree(self.path, ignore_errors=True)


class Pet:
    """One run of glugmo; stdout lines are collected as they arrive."""

    def __init__(self, exe, desktop, home, debug=None):
        self.desktop = desktop
        env = {k: v for k, v in os.environ.items()
               if k not in ("GLG_DEBUG", "DBUS_SESSION_BUS_ADDRESS") and not k.startswith("QT_")}
        env.update(home.env, DISPLAY=desktop.name, QT_QPA_PLATFORM="xcb")
        if debug is not None:
            env["GLG_DEBUG"] = debug
        self.lines = []
        self.started = time.time()
        self.process = subprocess.Popen([exe], env=env, cwd=home.path, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.PIPE, text=True, encoding="utf-8")
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()

    def _read(self):
        for line in self.process.stdout:
            self.lines.append((time.monotonic(), line.rstrip("\n")))

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self._reader.join(timeout=5)

    # --- its windows ----------------------------------------------------------

    def _own_windows(self):
        d = self.desktop
        pid = self.process.pid
        return [w for w in d.all_windows() if (d.property(w, "_NET_WM_PID") or [None])[0] == pid]

    def _in_panel(self, window):
        return any("_NET_WM_WINDOW_TYPE_DOCK" in self.desktop.window_types(a)
                   for a in self.desktop.ancestors(window))

    def window(self, timeout=10):
        """The pet's window, once it is on screen and has stopped moving."""
        d = self.desktop

        def find():
            self._check_running()
            return next((w for w in self._own_windows()
                         if d.title(w) == PET_TITLE and d.viewable(w) and not self._in_panel(w)), None)

        window = wait_for(find, timeout, "the pet window")
        last = [None]

        def settled():
            frame = d.geometry(window)
            still, last[0] = frame == last[0], frame
            return still

        wait_for(settled, 5, "the pet window to settle", interval=0.2)
        return window

    def frame(self, window):
        return self.desktop.geometry(window)

    def visible_windows(self, exclude=()):
        d = self.desktop
        skip = {w.id for w in exclude}
        return [w for w in self._own_windows()
                if w.id not in skip and d.viewable(w) and not self._in_panel(w)]

    def bubble(self, pet_window):
        """The speech bubble's window while it is shown, else None."""
        d = self.desktop
        return next((w for w in self.visible_windows(exclude=[pet_window])
                     if not {POPUP_MENU, TOOLTIP} & d.window_types(w)), None)

    def menu(self):
        d = self.desktop
        return next((w for w in self.visible_windows() if POPUP_MENU in d.window_types(w)), None)

    def tray_icon(self):
        """The icon window docked in the panel's system tray, or None."""
        d = self.desktop
        return next((w for w in self._own_windows() if self._in_panel(w) and d.viewable(w)), None)

    def output_line(self, prefix, timeout):
        def find():
            return next((text for _, text in self.lines if text.startswith(prefix)), None)
        return wait_for(find, timeout, f"a line starting with {prefix!r} on stdout")

    def _check_running(self):
        if self.process.poll() is not None:
            raise AssertionError(f"glugmo exited with status {self.process.returncode}")
