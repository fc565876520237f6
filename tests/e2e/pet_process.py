"""The real glugmo executable, run on a test desktop with a home folder of its
own, and the windows it shows there."""

import contextlib
import os
import shutil
import subprocess
import tempfile
import threading
from pathlib import Path

from desktop import wait_for

PET_TITLE = "咕噜宝"
TOOLTIP = "_NET_WM_WINDOW_TYPE_TOOLTIP"
UTILITY = "_NET_WM_WINDOW_TYPE_UTILITY"


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

    def write_settings(self, **values):
        self.settings_file.parent.mkdir(parents=True, exist_ok=True)
        self.settings_file.write_text("".join(["[General]\n", *(f"{k}={v}\n" for k, v in values.items())]))

    def write_quotes(self, text):
        self.quotes_file.parent.mkdir(parents=True, exist_ok=True)
        self.quotes_file.write_text(text, encoding="utf-8")

    def remove(self):
        shutil.rmtree(self.path, ignore_errors=True)


class Pet:
    """One run of glugmo; stdout lines are collected as they arrive."""

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

    # The pet and its bubble are utility windows that both carry the pet's
    # title (managed, or not where the window manager cannot keep them above);
    # menus and tooltips are popups. The pet is the one on screen first, and
    # is remembered from then on.

    def _own_windows(self):
        d = self.desktop
        return [w for w in d.all_windows() if (d.property(w, "_NET_WM_PID") or [None])[0] == self.process.pid]

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
