"""The desktops the pet is checked on: how each is started on its own Xvfb,
and what a user of it has (a tray, a compositor, several monitors)."""

import os
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
    Setup("kwin_x11", programs=((_bus("kwin_x11", "--replace"), "compositor"),), compositor=True),
    Setup("two monitors, panel on each edge",
          session=(*BARE, "--size", "2880x900x24"),
          # Struts measure from the screen's edges, so panels sit on its
          # outer edges; the primary monitor has two of them.
          panels=((0, "bottom", 48), (0, "left", 40), (1, "top", 25), (1, "right", 30)),
          monitors=2),
    Setup("2x scaling (openbox + picom + tint2)", session=(), tray=True, compositor=True,
          pet_env={"QT_SCALE_FACTOR": "2"}),
    Setup("no tray (openbox + picom)", session=("--no-tray",), compositor=True),
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
            log = open(f"/tmp/glugmo-desktops-{command[-1].split('/')[-1]}.log", "w")
            self._programs.append(subprocess.Popen(command, env=env, stdout=log, stderr=log,
                                                   stdin=subprocess.DEVNULL))
            if check:
                subprocess.run([str(SCRIPTS / "desktop-ready.py"), check, "30"], env=env, check=True)
        if setup.monitors == 2:
            self._split_into_two_monitors(env)
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
