"""The desktops the pet is checked on: how each is started on its own Xvfb,
and what a user of it has (a tray, a compositor, several monitors)."""

import os
import shutil
import subprocess
import time
from dataclasses import dataclass, field
from pathlib import Path

from desktop import Desktop, wait_for

SCRIPTS = Path(__file__).resolve().parents[2] / "scripts"
HERE = Path(__file__).resolve().parent
BARE = ("--no-wm", "--no-compositor", "--no-tray")


@dataclass
class Setup:
    name: str
    session: tuple = BARE                       # desktop-session.sh options
    programs: tuple = ()                        # (command, ready check or None)
    tray: bool = False
    compositor: bool = False
    pet_env: dict = field(default_factory=dict)
    panels: tuple = ()                          # (monitor, edge, thickness)
    monitors: int = 1
    kind: str = "x11"                           # or "sway"


def _bus(*command):
    # mutter and KWin want a session bus; each desktop gets one of its own.
    return ("dbus-run-session", "--", *command)


SETUPS = [
    Setup("openbox + picom + tint2", session=(), tray=True, compositor=True),
    Setup("openbox + tint2, no compositor", session=("--no-compositor",), tray=True),
    Setup("xfwm4, compositor on", programs=((_bus("xfwm4", "--compositor=on"), "compositor"),),
          compositor=True),
    Setup("xfwm4, compositor off", programs=((_bus("xfwm4", "--compositor=off"), "wm"),)),
    Setup("fluxbox", programs=((("fluxbox",), "tray"),), tray=True),
    Setup("i3", programs=((("i3", "-c", str(HERE / "i3.config")), "wm"),)),
    Setup("icewm", programs=((("icewm",), "tray"),), tray=True),
    Setup("mutter (X11)", programs=((_bus("mutter", "--x11", "--replace"), "compositor"),),
          compositor=True),
    # Plasma's panel has a tray; tint2 stands in for it, so that a bubble can
    # be shown from the tray while the pet is hidden, as KWin users do.
    Setup("kwin_x11 + tint2", programs=((_bus("kwin_x11", "--replace"), "compositor"),
                                         (("tint2", "-c", str(SCRIPTS / "tint2rc")), "tray")),
          tray=True, compositor=True),
    Setup("two monitors, panel on each edge",
          session=(*BARE, "--size", "2880x900x24"),
          # Struts measure from the screen's edges, so panels sit on its
          # outer edges; the primary monitor has two of them.
          panels=((0, "bottom", 48), (0, "left", 40), (1, "top", 25), (1, "right", 30)),
          monitors=2),
    Setup("2x scaling (openbox + picom + tint2)", session=(), tray=True, compositor=True,
          pet_env={"QT_SCALE_FACTOR": "2"}),
    Setup("no tray (openbox + picom)", session=("--no-tray",), compositor=True),
    Setup("sway (XWayland)", compositor=True, kind="sway"),
]


class XDesktop(Desktop):
    """A Desktop whose window manager, compositor and panels are the setup's."""

    def __init__(self, setup):
        super().__init__(*setup.session)
        self.setup = setup
        self._programs = []
        self._panels = []
        try:
            self._start()
        except BaseException:
            self.close()
            raise

    def _start(self):
        setup = self.setup
        env = {**os.environ, "DISPLAY": self.name}
        for command, check in setup.programs:
            program = next(part for part in command if not part.startswith(("dbus", "-")))
            log = open(f"/tmp/glugmo-desktops-{program}.log", "w")
            self._programs.append(subprocess.Popen(command, env=env, stdout=log, stderr=log,
                                                   stdin=subprocess.DEVNULL))
            if check:
                subprocess.run([str(SCRIPTS / "desktop-ready.py"), check, "30"], env=env, check=True)
        if setup.monitors == 2:
            self._split_into_two_monitors(env)
        # Not black: without a compositor a black box around the pet would
        # not stand out from a black root window.
        subprocess.run(["xsetroot", "-solid", "#5f7f9f"], env=env, check=False)
        for monitor, edge, thickness in setup.panels:
            self._panels.append(Panel(self, monitor, edge, thickness))
        time.sleep(1.5)  # window managers settle their own windows and work area

    def _split_into_two_monitors(self, env):
        width, height = self.screen_size()
        half = width // 2
        for i, x in enumerate((0, half)):
            subprocess.run(["xrandr", "--setmonitor", f"M{i}", f"{half}/300x{height}/200+{x}+0",
                            "none" if i else "screen"], env=env, check=False,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if self.setup.session[0] != "--no-wm":
            return
        # A window manager that reads the monitors (openbox) sees the split.
        log = open("/tmp/glugmo-desktops-openbox.log", "w")
        self._programs.append(subprocess.Popen(["openbox", "--sm-disable"], env=env, stdout=log,
                                               stderr=log, stdin=subprocess.DEVNULL))
        subprocess.run([str(SCRIPTS / "desktop-ready.py"), "wm", "30"], env=env, check=True)

    def monitors(self):
        """(x, y, width, height) of each monitor, the primary first."""
        width, height = self.screen_size()
        if self.setup.monitors == 1:
            return [(0, 0, width, height)]
        half = width // 2
        return [(0, 0, half, height), (half, 0, half, height)]

    def free_area(self):
        """The primary monitor less the panels on it; on one monitor, the
        window manager's work area (which also counts panels we did not start)."""
        if not self._panels:
            return self.workarea()
        x, y, w, h = self.monitors()[0]
        for panel in self._panels:
            if panel.monitor != 0:
                continue
            if panel.edge == "bottom":
                h -= panel.thickness
            elif panel.edge == "top":
                y, h = y + panel.thickness, h - panel.thickness
            elif panel.edge == "left":
                x, w = x + panel.thickness, w - panel.thickness
            else:
                w -= panel.thickness
        return (x, y, w, h)

    def close(self):
        for panel in self._panels:
            panel.close()
        for program in reversed(self._programs):
            program.terminate()
            try:
                program.wait(timeout=10)
            except subprocess.TimeoutExpired:
                program.kill()
                program.wait()
        super().close()


class Panel:
    """A dock window with a partial strut on one edge of one monitor, as a
    desktop panel sets it."""

    def __init__(self, desktop, monitor, edge, thickness):
        from Xlib import Xatom, display
        self.monitor, self.edge, self.thickness = monitor, edge, thickness
        self._x = display.Display(desktop.name)
        screen = self._x.screen()
        mx, my, mw, mh = desktop.monitors()[monitor]
        sw, sh = screen.width_in_pixels, screen.height_in_pixels
        box = {"bottom": (mx, my + mh - thickness, mw, thickness),
               "top": (mx, my, mw, thickness),
               "left": (mx, my, thickness, mh),
               "right": (mx + mw - thickness, my, thickness, mh)}[edge]
        # left, right, top, bottom, then start/end pairs in the same order.
        strut = [0] * 12
        if edge == "left":
            strut[0], strut[4], strut[5] = mx + thickness, my, my + mh - 1
        elif edge == "right":
            strut[1], strut[6], strut[7] = sw - (mx + mw) + thickness, my, my + mh - 1
        elif edge == "top":
            strut[2], strut[8], strut[9] = my + thickness, mx, mx + mw - 1
        else:
            strut[3], strut[10], strut[11] = sh - (my + mh) + thickness, mx, mx + mw - 1
        self.window = screen.root.create_window(*box, 0, screen.root_depth,
                                                background_pixel=0x30343C)
        atom = self._x.intern_atom
        self.window.change_property(atom("_NET_WM_WINDOW_TYPE"), Xatom.ATOM, 32,
                                    [atom("_NET_WM_WINDOW_TYPE_DOCK")])
        self.window.change_property(atom("_NET_WM_STRUT_PARTIAL"), Xatom.CARDINAL, 32, strut)
        self.window.change_property(atom("_NET_WM_STRUT"), Xatom.CARDINAL, 32, strut[:4])
        self.window.map()
        self._x.sync()
        wait_for(lambda: desktop.viewable(desktop.x.create_resource_object("window", self.window.id)),
                 5, "a panel to show", interval=0.1)

    def close(self):
        self.window.destroy()
        self._x.close()


SWAY_USER = "glugmo-desktops"  # sway refuses to run as root


class SwayDesktop(Desktop):
    """sway on a headless output, run as a normal user, with the pet on its
    XWayland display. Input goes through XWayland's XTEST like on X11;
    pictures come from the compositor (grim), as XWayland's root has none."""

    def __init__(self, setup):  # noqa: the X11 session of Desktop is not started
        import pwd
        import tempfile
        from Xlib import display
        self.setup = setup
        user = pwd.getpwnam(SWAY_USER)
        self._dir = Path(tempfile.mkdtemp(prefix="glugmo-sway-"))
        os.chmod(self._dir, 0o755)
        self._runtime = self._dir / "runtime"
        self._runtime.mkdir(mode=0o700)
        os.chown(self._runtime, user.pw_uid, user.pw_gid)
        display_file = self._runtime / "display"
        config = self._dir / "config"
        # The user's X display lets root's checks and pet in, as a desktop
        # session lets its own user's programs in.
        config.write_text(
            "output * resolution 1440x900 position 0 0 bg #336699 solid_color\n"
            "xwayland enable\n"
            f"exec sh -c 'xhost +si:localuser:root && echo $DISPLAY > {display_file}'\n")
        self._env = {"PATH": "/usr/bin:/bin", "HOME": user.pw_dir, "XDG_RUNTIME_DIR": str(self._runtime),
                     "WLR_BACKENDS": "headless", "WLR_LIBINPUT_NO_DEVICES": "1",
                     "WLR_RENDERER": "pixman", "WLR_HEADLESS_OUTPUTS": "1"}
        self._as_user = ["setpriv", f"--reuid={user.pw_uid}", f"--regid={user.pw_gid}",
                         "--init-groups", "--"]
        log = open(self._dir / "sway.log", "w")
        self._sway = subprocess.Popen([*self._as_user, "sway", "-c", str(config)], env=self._env,
                                      stdout=log, stderr=log, stdin=subprocess.DEVNULL)
        try:
            self.name = wait_for(lambda: display_file.exists() and display_file.read_text().strip(),
                                 30, "sway's XWayland display")
            self.x = display.Display(self.name)
        except BaseException:
            self._sway.terminate()
            raise
        self.root = self.x.screen().root
        self._env["WAYLAND_DISPLAY"] = "wayland-1"
        self._env["SWAYSOCK"] = str(next(self._runtime.glob("sway-ipc.*")))
        time.sleep(1)

    def swaymsg(self, *args):
        return subprocess.run([*self._as_user, "swaymsg", *args], env=self._env, check=False,
                              capture_output=True, text=True).stdout

    def grab(self, box):
        from io import BytesIO
        from PIL import Image
        x, y, w, h = (int(round(v)) for v in box)
        png = subprocess.run([*self._as_user, "grim", "-g", f"{x},{y} {w}x{h}", "-"], env=self._env,
                             check=True, capture_output=True).stdout
        return Image.open(BytesIO(png)).convert("RGB")

    def monitors(self):
        return [(0, 0, *self.screen_size())]

    def free_area(self):
        return (0, 0, *self.screen_size())

    def close(self):
        self.x.close()
        self._sway.terminate()
        try:
            self._sway.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self._sway.kill()
            self._sway.wait()
        shutil.rmtree(self._dir, ignore_errors=True)
