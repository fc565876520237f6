"""Shared set-up for the end-to-end tests: a desktop with a coloured backdrop,
a fresh home per test or table row, and the round of use every row goes
through. Run a test file as: python3 test_x.py path/to/glugmo [unittest options]"""

import contextlib
import os
import sys
import time
import unittest
from pathlib import Path

from desktop import Backdrop, Desktop, wait_for
from pet_geometry import DEFAULT_SIZE, centre, pet_rect, window_size
from pet_process import Home, Pet
from pixels import changed_pixels

# A colour the pet's artwork and bubble never use, so any pixel of it on the
# pet's window must come from the backdrop showing through.
BACKDROP = (255, 0, 255)
PANEL = (0x30, 0x34, 0x3C)  # the background of scripts/tint2rc
RENDERS = PET_RENDER, BUBBLE_RENDER = Path("/tmp/pet_render.png"), Path("/tmp/bubble_render.png")
# Down presses that select an item in a freshly opened menu (the keyboard
# skips separators); LARGE then picks 大只 200 in the size submenu.
RANDOM_MOVE, CLOCK, DRINK, GHOST, SIZE, HIDE = 3, 4, 5, 6, 7, 8
LARGE = ("Right", "Down", "Down", "Return")
DEFAULT_SWITCHES = {"clockOn": True, "drinkOn": True, "ghostMode": False}
# The longest built-in quip wraps onto two lines (a bubble 48 pixels high);
# a test quip meant to be told apart from them wraps onto three or more (64).
SHORT_BUBBLE = 56
LONG_QUIP = "这是一句很长很长的测试语录" * 8

exe = None


def open_desktop(defer, *options):
    """A desktop and its backdrop, handing their closing to `defer`."""
    try:
        desktop = Desktop(*options)
    except RuntimeError:  # a busy machine may miss the start-up deadline once
        desktop = Desktop(*options)
    defer(desktop.close)
    defer((backdrop := Backdrop(desktop, BACKDROP)).close)
    return desktop, backdrop


def fingerprint(path):
    """What a row promises to leave alone: mode, owner, mtime and content."""
    info, path = os.lstat(path), Path(path)
    content = (os.readlink(path) if path.is_symlink() else sorted(os.listdir(path)) if path.is_dir()
               else path.read_bytes())
    return info.st_mode, info.st_uid, info.st_mtime_ns, content


class PetTestCase(unittest.TestCase):
    desktop_options = ()  # None: each row opens its own
    _row, _row_name = None, ""  # the table row under way: what ends with it

    @classmethod
    def setUpClass(cls):
        if cls.desktop_options is not None:
            cls.desktop, cls.backdrop = open_desktop(cls.addClassCleanup, *cls.desktop_options)

    def setUp(self):
        self.fresh_home()

    def fresh_home(self):
        self.home = Home()
        self.addCleanup(self.home.remove)

    @contextlib.contextmanager
    def row(self, name, desktop_options=None):
        """A subtest with its own home (and desktop) whose pets stop with it: none left to click."""
        with self.subTest(name), contextlib.ExitStack() as self._row:
            self._row_name = name
            if desktop_options is not None:
                self.desktop, self.backdrop = open_desktop(self._row.callback, *desktop_options)
            self.fresh_home()
            yield
        self._row, self._row_name = None, ""

    def launch(self, program=None, debug=None, home=None, may_leave=False, stderr=None):
        """A pet stopped when its row or test ends; one that `may_leave` may have quit or been killed."""
        pet = Pet(str(program or exe), self.desktop, home or self.home, debug, stderr=stderr)
        if debug is not None:
            for picture in RENDERS:
                self.addCleanup(picture.unlink, missing_ok=True)
        defer = self._row.callback if self._row else self.addCleanup
        defer(pet.stop) if may_leave else defer(self.stop, pet)
        return pet

    def stop(self, pet):
        """A crash shows here rather than as a window that went missing."""
        status = pet.stop()
        if status is not None:
            self.fail(f"glugmo exited by itself with status {status}")

    def snapshot(self, label):
        """Saves the whole screen for a person to look at afterwards."""
        folder = os.environ.get("GLUGMO_E2E_SCREENSHOTS")
        if folder:
            Path(folder).mkdir(parents=True, exist_ok=True)
            name = f"{self.id().split('.')[-1]}-{self._row_name}-{label}".replace(" ", "_").replace("/", "_")
            self.desktop.screenshot(Path(folder) / f"{name}.png")

    def assertNear(self, actual, expected, tolerance, what):
        if any(abs(a - e) > tolerance for a, e in zip(actual, expected)):
            self.fail(f"{what}: got {tuple(actual)}, expected {tuple(round(v, 3) for v in expected)} ± {tolerance}")

    def assertClickGoesThrough(self, rect):
        point = tuple(round(v) for v in centre(rect))
        self.backdrop.presses()  # forget earlier clicks
        self.desktop.click(point)
        self.assertEqual(wait_for(self.backdrop.presses, 2, "a click below the pet"), [point])

    def open_menu(self, pet, rect=None):
        """The pet's menu by a right click on `rect`, else the tray icon's."""
        spot = rect or self.desktop.geometry(wait_for(pet.tray_icon, 5, "the tray icon"))
        self.desktop.click(centre(spot), button=3)
        return wait_for(pet.menu, 5, "the menu")

    def choose(self, pet, downs, *then, spot=None, opened=False):
        """Picks from the menu by keys, having opened it by a right click on `spot` or the tray icon."""
        if not opened:
            self.open_menu(pet, spot)
        self.desktop.keys(*["Down"] * downs, *(then or ["Return"]))
        wait_for(lambda: pet.menu() is None, 2, "the menu to close")

    def saved(self, key):
        """A key's value on disk, read line by line past any junk around it."""
        path = self.home.settings_file
        lines = path.read_bytes().decode("utf-8", "replace").splitlines() if path.is_file() else []
        return next((line.split("=", 1)[1] for line in lines if line.startswith(key + "=")), None)

    def assertRocks(self, box):
        """The idle pet's picture changes within a second and a half."""
        first, changes = self.desktop.grab(box), []
        for _ in range(6):
            time.sleep(0.25)
            changes.append(changed_pixels(first, self.desktop.grab(box)))
        self.assertGreater(max(changes), 200, f"the idle pet rocks: pixels changed {changes}")

    def click_for_bubble(self, pet, window, point):
        """Clicks; the bubble's screen box, or None when none came."""
        self.desktop.click(point)
        try:
            bubble = wait_for(lambda: pet.bubble(window), 3, "the speech bubble")
        except AssertionError:
            return None
        time.sleep(0.25)  # a re-used bubble takes its new size
        return self.desktop.geometry(bubble)

    def exercise(self, pet, size=DEFAULT_SIZE, switches=DEFAULT_SWITCHES, bubble=True, saves=True, tray=True):
        """A right click and Escape, a click on the pet, and both reminder switches flipped from a
        menu, whose saved values show how the pet read them; returns the click's bubble box."""
        frame = pet.frame(window := pet.window())
        self.assertNear(frame[2:], window_size(size), 1, "window size")
        rect, box = pet_rect(frame, size), None
        if switches["ghostMode"]:
            self.assertClickGoesThrough(rect)
        else:
            self.choose(pet, 0, "Escape", spot=rect)
            self.assertIsNone(pet.bubble(window), "a right click is not a tap")
            box = self.click_for_bubble(pet, window, centre(rect))
            self.snapshot("click")
            self.assertEqual(box is not None, bubble, f"a bubble after the click: {box}")
        for key, downs in (("clockOn", CLOCK), ("drinkOn", DRINK)):
            self.choose(pet, downs, spot=None if tray else rect)
            if saves:
                flipped = str(not switches[key]).lower()
                wait_for(lambda: self.saved(key) == flipped, 2, f"{key}={flipped} on disk")
        time.sleep(0.3)
        self.assertIsNone(pet.process.poll(), "glugmo quit")
        self.assertTrue(self.desktop.viewable(window), "the pet window is no longer mapped")
        return box


def main():
    global exe
    if len(sys.argv) < 2 or not os.access(sys.argv[1], os.X_OK):
        sys.exit(f"usage: {sys.argv[0]} path/to/glugmo [unittest options]")
    exe = os.path.abspath(sys.argv[1])
    unittest.main(module="__main__", argv=[sys.argv[0], *sys.argv[2:]], verbosity=2)
