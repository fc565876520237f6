"""Shared set-up for the end-to-end tests: a desktop with a coloured backdrop, a fresh home per table row,
and the round of use every row goes through. Run a test file as: python3 test_x.py path/to/glugmo"""

import contextlib
import os
import sys
import time
import unittest
from pathlib import Path

from desktop import (DEFAULT_SIZE, ColourWindow, Desktop, Home, Pet, centre, changed_pixels, pet_rect, wait_for,
                     window_size)

# A colour the pet's artwork and bubble never use, so any pixel of it on the
# pet's window must come from the backdrop showing through.
BACKDROP = (255, 0, 255)
PANEL = (0x30, 0x34, 0x3C)  # the background of scripts/tint2rc
RENDERS = Path("/tmp/pet_render.png"), Path("/tmp/bubble_render.png")
# Down presses that select an item in a freshly opened menu (the keyboard
# skips separators); LARGE then picks 大只 200 in the size submenu.
CLOCK, DRINK, GHOST, SIZE = 4, 5, 6, 7
LARGE = ("Right", "Down", "Down", "Return")
DEFAULT_SWITCHES = {"clockOn": True, "drinkOn": True, "ghostMode": False}

exe = None


class PetTestCase(unittest.TestCase):
    desktop_options = ()  # None: each row opens its own
    _row = None  # the table row under way: what ends with it

    @classmethod
    def setUpClass(cls):
        if cls.desktop_options is not None:
            cls.open_desktop(cls.addClassCleanup, cls.desktop_options)

    @classmethod
    def open_desktop(cls, defer, options):
        try:
            cls.desktop = Desktop(*options)
        except RuntimeError:  # a busy machine may miss the start-up deadline once
            cls.desktop = Desktop(*options)
        defer(cls.desktop.close)
        cls.backdrop = ColourWindow(cls.desktop, BACKDROP)
        defer(cls.backdrop.close)

    def fresh_home(self):
        self.home = Home()
        self.addCleanup(self.home.remove)

    @contextlib.contextmanager
    def row(self, name, desktop_options=None):
        """A subtest with its own home (and desktop) whose pets stop with it: none left to click. The screen
        of a row that fails is saved for a person to look at, when GLUGMO_E2E_SCREENSHOTS names a folder."""
        with self.subTest(name), contextlib.ExitStack() as self._row:
            if desktop_options is not None:
                self.open_desktop(self._row.callback, desktop_options)
            self.fresh_home()
            try:
                yield
            except BaseException:
                if folder := os.environ.get("GLUGMO_E2E_SCREENSHOTS"):
                    Path(folder).mkdir(parents=True, exist_ok=True)
                    self.desktop.screenshot(Path(folder) / f"{type(self).__name__}-{name.replace('/', '_')}.png")
                raise
        self._row = None

    def launch(self, program=None, debug=None, home=None, may_leave=False, stderr=None):
        """A pet stopped when its row ends; one that `may_leave` may have quit or been killed."""
        pet = Pet(str(program or exe), self.desktop, home or self.home, debug, stderr=stderr)
        if debug is not None:
            for picture in RENDERS:
                self.addCleanup(picture.unlink, missing_ok=True)
        self._row.callback(pet.stop) if may_leave else self._row.callback(self.stop, pet)
        return pet

    def stop(self, pet):
        """A crash shows here rather than as a window that went missing."""
        if (status := pet.stop()) is not None:
            self.fail(f"glugmo exited by itself with status {status}")

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
