"""The real glugmo executable, run on a test desktop with a home folder of its
own, and the windows it shows there."""

import os
import shutil
import subprocess
import tempfile
import threading
import time
from pathlib import Path

from desktop import wait_for

PET_TITLE = "咕噜宝"
TOOLTIP = "_NET_WM_WINDOW_TYPE_TOOLTIP"
UTILITY = "_NET_WM_WINDOW_TYPE_UTILITY"


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

    def write_quotes(self, data: bytes):
        self.quotes_file.parent.mkdir(parents=True, exist_ok=True)
        self.quotes_file.write_bytes(data)

    def remove(self):
        shutil.rmtree(self.path, ignore_errors=True)


class Pet:
    """One run of glugmo; stdout lines are collected as they arrive."""

    def __init__(self, exe, desktop, home, debug=None, extra_env=None):
        self.desktop = desktop
        env = {k: v for k, v in os.environ.items()
               if k not in ("GLG_DEBUG", "DBUS_SESSION_BUS_ADDRESS") and not k.startswith("QT_")}
        env.update(home.env, DISPLAY=desktop.name, QT_QPA_PLATFORM="xcb")
        if debug is not None:
            env["GLG_DEBUG"] = debug
        env.update(extra_env or {})
        self.lines = []
        self._pet_window = None
        self._stopped = False
        self._quit_by_itself = None
        self.started = time.monotonic()
        self.process = subprocess.Popen([exe], env=env, cwd=home.path, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.PIPE, text=True, encoding="utf-8")
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()

    def _read(self):
        for line in self.process.stdout:
            self.lines.append((time.monotonic(), line.rstrip("\n")))

    def stop(self):
        """Ends the run, once; returns the exit status if the program had
        already quit by itself, else None."""
        if self._stopped:
            return self._quit_by_itself
        self._stopped = True
        self._quit_by_itself = self.process.poll()
        if self._quit_by_itself is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self._reader.join(timeout=5)
        self.process.stdout.close()
        return self._quit_by_itself

    # --- its windows ----------------------------------------------------------
    # The pet and its bubble are utility windows that both carry the pet's
    # title (managed, or not where the window manager cannot keep them above);
    # menus and tooltips are popups. The pet is the one on screen first, and
    # is remembered from then on.

    def _own_windows(self):
        d = self.desktop
        pid = self.process.pid
        return [w for w in d.all_windows() if (d.property(w, "_NET_WM_PID") or [None])[0] == pid]

    def _in_panel(self, window):
        return any("_NET_WM_WINDOW_TYPE_DOCK" in self.desktop.window_types(a)
                   for a in self.desktop.ancestors(window))

    def _shown(self, utility):
        d = self.desktop
        return [w for w in self._own_windows()
                if d.viewable(w) and not self._in_panel(w)
                and (UTILITY in d.window_types(w)) == utility and TOOLTIP not in d.window_types(w)]

    def window(self, timeout=10):
        """The pet's window, once it is on screen and has stopped moving."""
        d = self.desktop

        def find():
            self._check_running()
            shown = [w for w in self._shown(utility=True) if d.title(w) == PET_TITLE]
            if len(shown) > 1:
                raise AssertionError("the bubble showed before the pet; cannot tell them apart")
            return shown[0] if shown else None

        if self._pet_window is None:
            self._pet_window = wait_for(find, timeout, "the pet window")
        window = self._pet_window
        last = [None]

        def settled():
            frame = d.geometry(window)
            still, last[0] = frame == last[0], frame
            return still

        wait_for(settled, 5, "the pet window to settle", interval=0.2)
        return window

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
        def find():
            return next((text for _, text in self.lines if text.startswith(prefix)), None)
        return wait_for(find, timeout, f"a line starting with {prefix!r} on stdout")

    def _check_running(self):
        if self.process.poll() is not None:
            raise AssertionError(f"glugmo exited with status {self.process.returncode}")
