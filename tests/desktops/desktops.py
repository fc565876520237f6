"""The desktops the pet is checked on: how each is started on its own Xvfb, and what a user of it has."""

import os
import pwd
import shutil
import subprocess
import tempfile
import time
from collections import namedtuple
from io import BytesIO
from pathlib import Path

from PIL import Image
from Xlib import display

from desktop import ColourWindow, Desktop, wait_for

SCRIPTS = Path(__file__).resolve().parents[2] / "scripts"
BARE = ("--no-wm", "--no-compositor", "--no-tray")


# session: desktop-session.sh's options; programs: each command and its desktop-ready.py check; panels: (monitor,
# edge, thickness); kind: "x11" or "sway". mutter, KWin and xfwm4 want a session bus: each gets one of its own.
Setup = namedtuple("Setup", "name session programs tray pet_env panels monitors kind tiling",
                   defaults=(BARE, {}, False, {}, (), 1, "x11", False))
BUS = "dbus-run-session -- "

SETUPS = [
    Setup("openbox + picom + tint2", session=(), tray=True),
    Setup("openbox + tint2, no compositor", session=("--no-compositor",), tray=True),
    Setup("xfwm4, compositor on", programs={BUS + "xfwm4 --compositor=on": "compositor"}),
    Setup("xfwm4, compositor off", programs={BUS + "xfwm4 --compositor=off": "wm"}),
    Setup("fluxbox", programs={"fluxbox": "tray"}, tray=True),
    Setup("i3", programs={f"i3 -c {SCRIPTS.parent / 'tests/desktops/i3.config'}": "wm"}, tiling=True),
    Setup("icewm", programs={"icewm": "tray"}, tray=True),
    Setup("mutter (X11)", programs={BUS + "mutter --x11 --replace": "compositor"}),
    # tint2 stands in for Plasma's tray: KWin users show a bubble from the tray while the pet is hidden.
    Setup("kwin_x11 + tint2", tray=True,
          programs={BUS + "kwin_x11 --replace": "compositor", f"tint2 -c {SCRIPTS / 'tint2rc'}": "tray"}),
    # Struts measure from the screen's edges: panels on its outer edges, two on the primary. openbox reads monitors.
    Setup("two monitors, panel on each edge", session=(*BARE, "--size", "2880x900x24"), monitors=2,
          programs={"openbox --sm-disable": "wm"},
          panels=((0, "bottom", 48), (0, "left", 40), (1, "top", 25), (1, "right", 30))),
    Setup("2x scaling (openbox + picom + tint2)", session=(), tray=True, pet_env={"QT_SCALE_FACTOR": "2"}),
    Setup("no tray (openbox + picom)", session=("--no-tray",)),
    Setup("sway (XWayland)", kind="sway", tiling=True),
]


class XDesktop(Desktop):
    """A Desktop whose window manager, compositor and panels are the setup's."""

    def __init__(self, setup):
        super().__init__(*setup.session)
        # A desktop that fails to come up goes with the process that checks it (see desktop.py).
        self.setup, self._programs, self._panels = setup, [], []
        env = {**os.environ, "DISPLAY": self.name}
        for i, (x, _, w, h) in enumerate(self.monitors() if setup.monitors > 1 else []):
            subprocess.run(["xrandr", "--setmonitor", f"M{i}", f"{w}/300x{h}/200+{x}+0", "none" if i else "screen"],
                           env=env, check=False, capture_output=True)
        for command, check in setup.programs.items():
            log = open(f"/tmp/glugmo-desktops-{command.removeprefix(BUS).split()[0]}.log", "w")
            self._programs.append(subprocess.Popen(command.split(), env=env, stdout=log, stderr=log,
                                                   stdin=subprocess.DEVNULL))
            subprocess.run([str(SCRIPTS / "desktop-ready.py"), check, "30"], env=env, check=True)
        # Not black: a black box around the pet would not stand out from a black root window.
        subprocess.run(["xsetroot", "-solid", "#5f7f9f"], env=env, check=False)
        self._panels = [self._panel(*self.monitors()[monitor], edge, t) for monitor, edge, t in setup.panels]
        time.sleep(1.5)  # window managers settle their own windows and work area

    def _panel(self, mx, my, mw, mh, edge, t):
        """A dock with a partial strut on one edge of a monitor, as a desktop panel sets it."""
        sw, sh = self.screen_size()
        i = ("left", "right", "top", "bottom").index(edge)
        # left, right, top, bottom, then the start and end of each along its edge.
        strut = [0] * 12
        strut[i] = t + (mx, sw - mx - mw, my, sh - my - mh)[i]
        strut[4 + 2 * i:6 + 2 * i] = (my, my + mh - 1) if i < 2 else (mx, mx + mw - 1)
        box = (mx + (mw - t) * (edge == "right"), my + (mh - t) * (edge == "bottom"),
               t if i < 2 else mw, mh if i < 2 else t)
        return ColourWindow(self, (0x30, 0x34, 0x3C), box, "DOCK", _NET_WM_STRUT_PARTIAL=strut, _NET_WM_STRUT=strut[:4])

    def order(self, *args):
        """i3 takes orders from i3-msg (sway from swaymsg); other window managers need none."""
        if self.setup.name == "i3":
            subprocess.run(["i3-msg", "-q", *args], env={"DISPLAY": self.name, "PATH": "/usr/bin:/bin"})

    def monitors(self):
        """(x, y, width, height) of each monitor, the primary first."""
        (width, height), n = self.screen_size(), self.setup.monitors
        return [(i * width // n, 0, width // n, height) for i in range(n)]

    def free_area(self):
        """The primary monitor less its panels; on one monitor, the work area (which counts panels we did not start)."""
        if not self.setup.panels:
            return self.workarea()
        x, y, w, h = self.monitors()[0]
        for _, edge, t in (panel for panel in self.setup.panels if panel[0] == 0):
            x, y = x + t * (edge == "left"), y + t * (edge == "top")
            w, h = w - t * (edge in ("left", "right")), h - t * (edge in ("top", "bottom"))
        return (x, y, w, h)

    def close(self):  # the panels go with the X server
        for program in reversed(self._programs):
            program.terminate()
            try:
                program.wait(timeout=10)
            except subprocess.TimeoutExpired:  # fluxbox, now and then, under a worker process
                program.kill()
                program.wait()
        super().close()


class SwayDesktop(XDesktop):
    """sway on a headless output, run as a normal user, with the pet on its XWayland display. Input goes through
    XWayland's XTEST like on X11; pictures come from the compositor (grim), as XWayland's root has none."""

    def __init__(self, setup):  # noqa: no X11 session of Desktop's
        self.setup = setup
        user = pwd.getpwnam("glugmo-desktops")  # sway refuses to run as root
        self._dir = runtime = Path(tempfile.mkdtemp(prefix="glugmo-sway-"))
        os.chown(runtime, user.pw_uid, user.pw_gid)
        # The user's X display lets root's checks and pet in, as a session lets its own user's programs in.
        (runtime / "config").write_text(
            "output * resolution 1440x900 position 0 0 bg #336699 solid_color\nxwayland enable\n"
            f"exec sh -c 'xhost +si:localuser:root && echo $DISPLAY > {runtime}/display'\n")
        self._env = {"PATH": "/usr/bin:/bin", "HOME": user.pw_dir, "XDG_RUNTIME_DIR": str(runtime),
                     "WLR_BACKENDS": "headless", "WLR_LIBINPUT_NO_DEVICES": "1",
                     "WLR_RENDERER": "pixman", "WLR_HEADLESS_OUTPUTS": "1"}
        self._as_user = ["setpriv", f"--reuid={user.pw_uid}", f"--regid={user.pw_gid}", "--init-groups", "--"]
        self._sway = subprocess.Popen([*self._as_user, "sway", "-c", str(self._dir / "config")], env=self._env,
                                      stdout=open(self._dir / "sway.log", "w"), stderr=subprocess.STDOUT)
        try:
            self.name = wait_for(lambda: (runtime / "display").exists()
                                 and (runtime / "display").read_text().strip(), 30, "sway's XWayland display")
            self.x = display.Display(self.name)
            self.root = self.x.screen().root
        except BaseException:
            self._sway.kill()
            raise
        self._env.update(WAYLAND_DISPLAY="wayland-1", SWAYSOCK=str(next(runtime.glob("sway-ipc.*"))))
        time.sleep(1)

    def order(self, *args):
        subprocess.run([*self._as_user, "swaymsg", *args], env=self._env, check=False, capture_output=True)

    def grab(self, box):
        x, y, w, h = (int(round(v)) for v in box)
        png = subprocess.run([*self._as_user, "grim", "-g", f"{x},{y} {w}x{h}", "-"], env=self._env,
                             check=True, capture_output=True).stdout
        return Image.open(BytesIO(png)).convert("RGB")

    def close(self):
        self.x.close()
        self._sway.terminate()
        self._sway.wait(timeout=10)
        shutil.rmtree(self._dir, ignore_errors=True)
