"""What every row of the bad-input matrix does once the bad input is in
place: launch, interact (a right click and Escape, a click on the pet, a
switch flipped from a menu), and check that the pet still runs, is on
screen, and kept what it should.

Run a matrix file as: python3 test_x.py path/to/glugmo [unittest options]
"""

import contextlib
import os
import pwd
import shutil
import stat
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "e2e"))

import pet_test_case  # noqa: E402
from desktop import wait_for  # noqa: E402
from menu_marks import menu_marks  # noqa: E402
from pet_geometry import DEFAULT_SIZE, centre, default_frame, pet_rect, window_size  # noqa: E402,F401
from pet_process import Home, Pet  # noqa: E402
from pet_test_case import PetTestCase, main  # noqa: E402,F401

# Down presses that select an item in a freshly opened menu (separators are
# skipped), and that item's row among the menu's rows.
RANDOM_MOVE, CLOCK, DRINK, GHOST, SIZE = 3, 4, 5, 6, 7
SWITCHES = {"clockOn": CLOCK, "drinkOn": DRINK, "ghostMode": GHOST}
MENU_ROWS = 9
DEFAULT_MARKS = {"clockOn": True, "drinkOn": True, "ghostMode": False}

# The longest built-in quip wraps onto two lines (a bubble 48 pixels high);
# a test quip meant to be told apart from them wraps onto three or more (64).
SHORT_BUBBLE = 56
LONG_QUIP = "这是一句很长很长的测试语录" * 8

NOBODY = "nobody"


def fingerprint(path):
    """What a row promises to leave alone: type, mode, owner, mtime, and the
    bytes, link target or listing."""
    path = Path(path)
    info = os.lstat(path)
    if stat.S_ISLNK(info.st_mode):
        content = os.readlink(path)
    elif stat.S_ISDIR(info.st_mode):
        content = sorted(os.listdir(path))
    else:
        content = path.read_bytes()
    return info.st_mode, info.st_uid, info.st_mtime_ns, content


class MatrixCase(PetTestCase):
    _row_pets = None  # the pets of the row under way, if any
    _row_label = ""   # names its screenshots

    @classmethod
    def setUpClass(cls):
        try:
            super().setUpClass()
        except RuntimeError:
            # On a machine busy with builds a desktop may miss its start-up
            # deadline; a second try tells that apart from one that cannot start.
            super().setUpClass()

    @property
    def exe(self):
        return pet_test_case._exe

    @contextlib.contextmanager
    def row(self, **params):
        """One row of a table: a subtest with a home of its own, whose pets
        are stopped when it ends, so a failed row leaves no pet on screen
        for the next one to click."""
        with self.subTest(**params):
            self.home = Home()
            self.addCleanup(self.home.remove)
            self.backdrop.presses()
            self._row_pets = []
            words = "_".join(f"{key}-{value}" for key, value in params.items())
            self._row_label = "".join(c if c.isalnum() or c in "-_" else "." for c in words) + "-"
            try:
                yield
            finally:
                pets, self._row_pets, self._row_label = self._row_pets, None, ""
                for pet in pets:
                    self.stop(pet)

    def launch_exe(self, exe=None, debug=None):
        """Starts `exe` (the program, or a script that execs it) as the pet."""
        pet = Pet(str(exe or self.exe), self.desktop, self.home, debug)
        self.addCleanup(self.stop, pet)
        if self._row_pets is not None:
            self._row_pets.append(pet)
        return pet

    def scratch_folder(self):
        folder = Path(tempfile.mkdtemp(prefix="glugmo-matrix-"))
        self.addCleanup(shutil.rmtree, folder, ignore_errors=True)
        return folder

    def launcher(self, shell_line):
        """A script that execs `shell_line` ("$exe" is the program), so the
        pet keeps the script's process id."""
        script = self.scratch_folder() / "launch.sh"
        script.write_text(f'#!/bin/sh\nexe="{self.exe}"\nexec {shell_line}\n')
        script.chmod(0o755)
        return script

    def as_other_user(self):
        """A launcher that runs the pet as a user who is not root, in this
        test's home (handed over to that user), so file permissions bind it:
        root reads everything."""
        if os.geteuid() != 0:
            return self.exe
        if not shutil.which("setpriv"):
            self.skipTest("running as root without setpriv: cannot drop to a user whom permissions bind")
        user = pwd.getpwnam(NOBODY)
        os.lchown(self.home.path, user.pw_uid, user.pw_gid)
        for folder, dirs, files in os.walk(self.home.path):
            for name in dirs + files:
                os.lchown(os.path.join(folder, name), user.pw_uid, user.pw_gid)
        return self.launcher(f'setpriv --reuid={user.pw_uid} --regid={user.pw_gid} --clear-groups -- "$exe"')

    # --- menus ----------------------------------------------------------------

    def open_tray_menu(self, pet):
        icon = wait_for(pet.tray_icon, 5, "the tray icon")
        self.desktop.click(centre(self.desktop.geometry(icon)), button=3)
        return wait_for(pet.menu, 2, "the tray icon's menu")

    def open_pet_menu(self, pet, rect):
        self.desktop.click(centre(rect), button=3)
        return wait_for(pet.menu, 2, "the pet's menu")

    def marks(self, menu):
        """The switches' check marks in an open menu, once it is drawn."""
        def drawn():
            found = menu_marks(self.desktop.grab(self.desktop.geometry(menu)))
            return found if len(found) == MENU_ROWS else None
        found = wait_for(drawn, 2, f"the menu drawn with {MENU_ROWS} rows", interval=0.1)
        return {key: found[row - 1] for key, row in SWITCHES.items()}

    def choose(self, pet, downs, *then):
        self.desktop.keys(*["Down"] * downs, *(then or ["Return"]))
        wait_for(lambda: pet.menu() is None, 2, "the menu to close")

    def close_menu(self, pet):
        self.desktop.keys("Escape")
        wait_for(lambda: pet.menu() is None, 2, "the menu to close")

    def saved(self, key):
        """The value the settings file holds for a key, read line by line so
        that junk around it does not get in the way; None when absent."""
        try:
            lines = self.home.settings_file.read_bytes().decode("utf-8", "replace").splitlines()
        except OSError:
            return None
        return next((line.split("=", 1)[1] for line in lines if line.startswith(key + "=")), None)

    # --- one row --------------------------------------------------------------

    def assertAlive(self, pet, window):
        self.assertIsNone(pet.process.poll(), "glugmo quit")
        self.assertTrue(self.desktop.viewable(window), "the pet window is no longer mapped")

    def click_for_bubble(self, pet, window, rect):
        """Clicks the pet; its bubble's screen box, or None when none came."""
        self.desktop.click(centre(rect))
        try:
            bubble = wait_for(lambda: pet.bubble(window), 3, "the speech bubble")
        except AssertionError:
            return None
        time.sleep(0.25)  # a re-used bubble takes its new size
        return self.desktop.geometry(bubble)

    def exercise(self, pet, size=DEFAULT_SIZE, marks=DEFAULT_MARKS, bubble=True,
                 saves=True, tray=True):
        """The interaction every row goes through; returns the bubble's box
        (None when no bubble is expected). `marks`: the switches the menu
        should show ticked; `saves`: whether a flipped switch reaches the
        settings file; `tray`: whether a tray is there to use."""
        window = pet.window()
        frame = pet.frame(window)
        self.assertNear(frame[2:], window_size(size), 1, "window size")
        rect = pet_rect(frame, size)
        ghost = marks["ghostMode"]

        if ghost:
            point = tuple(round(v) for v in centre(rect))
            self.desktop.click(point)
            self.assertEqual(self.backdrop.wait_for_press(), [point], "a ghost lets the click through")
            box = None
        else:
            self.open_pet_menu(pet, rect)
            self.close_menu(pet)
            self.assertIsNone(pet.bubble(window), "a right click is not a tap")
            box = self.click_for_bubble(pet, window, rect)
            self.snapshot(self._row_label + "click")
            if bubble:
                self.assertIsNotNone(box, "no bubble after a click")
            else:
                self.assertIsNone(box, "a bubble came where none should")

        menu = self.open_tray_menu(pet) if tray else self.open_pet_menu(pet, rect)
        self.assertEqual(self.marks(menu), marks, "check marks")
        self.choose(pet, DRINK)
        if saves:
            flipped = "false" if marks["drinkOn"] else "true"
            wait_for(lambda: self.saved("drinkOn") == flipped, 2, f"drinkOn={flipped} on disk")
        time.sleep(0.3)
        self.assertAlive(pet, window)
        return box
