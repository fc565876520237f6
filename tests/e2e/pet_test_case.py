"""Shared set-up for the end-to-end tests: one virtual desktop per test class
with a coloured backdrop under the pet, and a fresh home for every test.

Run a test file as: python3 test_x.py path/to/glugmo [unittest options]
"""

import os
import sys
import unittest
from pathlib import Path

from desktop import Desktop
from pet_process import Home, Pet
from pet_geometry import DEFAULT_SIZE, pet_rect

# A colour the pet's artwork and bubble never use, so any pixel of it on the
# pet's window must come from the backdrop showing through.
BACKDROP = (255, 0, 255)

_exe = None


class PetTestCase(unittest.TestCase):
    desktop_options = ()

    @classmethod
    def setUpClass(cls):
        cls.desktop = Desktop(*cls.desktop_options)
        cls.backdrop = cls.desktop.add_backdrop(BACKDROP)

    @classmethod
    def tearDownClass(cls):
        cls.backdrop.close()
        cls.desktop.close()

    def setUp(self):
        self.home = Home()
        self.addCleanup(self.home.remove)
        self.backdrop.presses()  # forget clicks from earlier tests

    def launch(self, debug=None):
        pet = Pet(_exe, self.desktop, self.home, debug)
        self.addCleanup(self.stop, pet)
        return pet

    def stop(self, pet):
        """Stops a run and fails the test if the program had quit on its own
        (a crash shows here rather than as a window that went missing)."""
        status = pet.stop()
        if status is not None:
            self.fail(f"glugmo exited by itself with status {status}")

    def launch_and_find(self, size=DEFAULT_SIZE):
        """Starts the pet and returns it, its window, frame and pet rectangle."""
        pet = self.launch()
        window = pet.window()
        frame = pet.frame(window)
        return pet, window, frame, pet_rect(frame, size)

    def snapshot(self, label):
        """Saves the whole screen for a person to look at afterwards."""
        folder = os.environ.get("GLUGMO_E2E_SCREENSHOTS")
        if folder:
            Path(folder).mkdir(parents=True, exist_ok=True)
            self.desktop.screenshot(Path(folder) / f"{self.id().split('.')[-1]}-{label}.png")

    def assertNear(self, actual, expected, tolerance, what):
        for a, e in zip(actual, expected):
            if abs(a - e) > tolerance:
                self.fail(f"{what}: got {tuple(actual)}, expected {tuple(round(v, 3) for v in expected)} "
                          f"within {tolerance}")


def main():
    global _exe
    if len(sys.argv) < 2 or not os.access(sys.argv[1], os.X_OK):
        sys.exit(f"usage: {sys.argv[0]} path/to/glugmo [unittest options]")
    _exe = os.path.abspath(sys.argv[1])
    unittest.main(module="__main__", argv=[sys.argv[0], *sys.argv[2:]], verbosity=2)
