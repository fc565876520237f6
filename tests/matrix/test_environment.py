"""Environment rows: desktops without a tray, a compositor or a window
manager, a small screen and two screens, and a /tmp where the debug pictures
cannot go or where something already sits at their path."""

import os
import shutil
import subprocess
import tempfile
import unittest
from pathlib import Path

from matrix_case import (DEFAULT_SIZE, MatrixCase, NOBODY, default_frame, fingerprint, main,
                         pet_rect, wait_for)
from pet_process import Home
from pet_test_case import BACKDROP
from pixels import fraction_of_colour

PET_RENDER = Path("/tmp/pet_render.png")
BUBBLE_RENDER = Path("/tmp/bubble_render.png")
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


class NoTrayTest(MatrixCase):
    desktop_options = ("--no-tray",)

    def test_runs_and_its_own_menu_works(self):
        self.exercise(self.launch_exe(), tray=False)


class NoCompositorTest(MatrixCase):
    desktop_options = ("--no-compositor",)

    def test_pet_and_bubble_are_drawn_over_what_lies_below(self):
        pet = self.launch_exe()
        self.exercise(pet)
        window = pet.window()
        frame = pet.frame(window)
        wait_for(lambda: pet.bubble(window) is None, 5, "the bubble to go")
        shot = self.desktop.grab(frame)
        x, y, w, h = pet_rect((0, 0, *frame[2:]), DEFAULT_SIZE)
        self.assertLess(fraction_of_colour(shot.crop((x, y, x + w, y + h)), BACKDROP), 0.75, "pet drawn")
        for band in ((0, 0, shot.width, y / 2), (0, 0, x / 2, shot.height)):
            self.assertGreater(fraction_of_colour(shot.crop(band), BACKDROP), 0.98,
                               "the backdrop around the pet")
        bubble = self.click_for_bubble(pet, window, pet_rect(frame, DEFAULT_SIZE))
        self.snapshot("bubble")
        self.assertLess(fraction_of_colour(self.desktop.grab(bubble), (0, 0, 0), tolerance=24), 0.01,
                        "black corners on the bubble")


class NoWindowManagerTest(MatrixCase):
    desktop_options = ("--no-wm",)

    def test_runs_in_its_corner_above_the_panel(self):
        """Nobody keeps a work area, but the panel still covers the bottom."""
        pet = self.launch_exe()
        self.exercise(pet)
        d = self.desktop
        bottoms = [p[3] for w in d.all_windows() if (p := d.property(w, "_NET_WM_STRUT_PARTIAL"))]
        self.assertTrue(bottoms, "the panel claims its strip")
        width, height = d.screen_size()
        self.assertNear(pet.frame(pet.window()), default_frame((0, 0, width, height - max(bottoms))),
                        1, "window frame")


class SmallScreenTest(MatrixCase):
    desktop_options = ("--size", "800x600x24")

    def test_pet_sits_bottom_right_inside_the_screen(self):
        pet = self.launch_exe()
        self.exercise(pet)
        frame = pet.frame(pet.window())
        self.assertNear(frame, default_frame(self.desktop.workarea()), 1, "window frame")
        self.assertTrue(frame[0] >= 0 and frame[1] >= 0 and frame[0] + frame[2] <= 800
                        and frame[1] + frame[3] <= 600, f"inside the screen: {frame}")


class TwoScreensTest(MatrixCase):
    """One X screen shown as two monitors side by side, the second the
    primary one, so that the first screen and the primary differ."""
    desktop_options = ("--size", "2464x900x24")
    PRIMARY = (1440, 0, 1024, 768)

    @classmethod
    def setUpClass(cls):
        if not shutil.which("xrandr"):
            raise unittest.SkipTest("xrandr is needed to split the screen into monitors")
        super().setUpClass()
        env = {**os.environ, "DISPLAY": cls.desktop.name}
        for monitor in ("left 1440/381x900/238+0+0", "*right 1024/270x768/203+1440+0"):
            name, geometry = monitor.split()
            subprocess.run(["xrandr", "--setmonitor", name, geometry, "none"], env=env, check=True)

    def test_pet_sits_on_the_primary_screen(self):
        pet = self.launch_exe()
        self.exercise(pet)
        self.assertNear(pet.frame(pet.window()), default_frame(self.PRIMARY), 1, "window frame")


class TmpTest(MatrixCase):
    """GLG_DEBUG writes two pictures at fixed paths in the shared /tmp."""

    def setUp(self):
        super().setUp()
        for picture in (PET_RENDER, BUBBLE_RENDER):
            self.addCleanup(picture.unlink, missing_ok=True)

    def debug_run(self, launcher=None):
        """A run in debug mode that goes through a row once the debug bubble
        has gone; returns its DEBUG lines."""
        pet = self.launch_exe(launcher, debug="")
        window = pet.window()
        pet.output_line("DEBUG bubble render", 8)
        wait_for(lambda: pet.bubble(window) is None, 5, "the debug bubble to go")
        self.exercise(pet)
        return [text for _, text in pet.lines if text.startswith("DEBUG")]

    def test_tmp_not_writable(self):
        if os.geteuid() != 0 or subprocess.run(["unshare", "-m", "true"]).returncode != 0:
            self.skipTest("needs root and mount namespaces to make /tmp read-only for the pet alone")
        # The home moves out of /tmp, which the pet may not write; the X
        # socket stays reachable, as a read-only mount still connects.
        home_parent = Path(tempfile.mkdtemp(prefix="glugmo-matrix-", dir="/var/tmp"))
        self.addCleanup(shutil.rmtree, home_parent, ignore_errors=True)
        previous, tempfile.tempdir = tempfile.tempdir, str(home_parent)
        try:
            self.home = Home()
        finally:
            tempfile.tempdir = previous
        launcher = self.launcher("unshare -m sh -c 'mount --bind /tmp /tmp && "
                                 "mount -o remount,bind,ro /tmp && exec \"$0\"' \"$exe\"")
        lines = self.debug_run(launcher)
        self.assertEqual(len(lines), 3, lines)
        self.assertTrue(lines[0].startswith("DEBUG visible=true "), lines)
        self.assertEqual(lines[1:], ["DEBUG render failed", "DEBUG bubble render failed"])

    def test_render_path_a_link_to_a_file_of_the_user(self):
        mine = self.home.path / "mine.txt"
        mine.write_text("mine, not a picture\n")
        before = fingerprint(mine)
        PET_RENDER.unlink(missing_ok=True)
        PET_RENDER.symlink_to(mine)
        self.assertEqual(self.debug_run()[1:], ["DEBUG render saved", "DEBUG bubble render saved"])
        self.assertEqual(fingerprint(mine), before, "the link's target changed")
        self.assertFalse(PET_RENDER.is_symlink(), "the link was written through, not replaced")
        self.assertTrue(PET_RENDER.read_bytes().startswith(PNG_SIGNATURE))

    def test_render_path_a_file_of_another_user(self):
        if os.geteuid() != 0:
            self.skipTest("needs root to give a file in /tmp to another user")
        PET_RENDER.unlink(missing_ok=True)
        PET_RENDER.write_text("somebody else's\n")
        shutil.chown(PET_RENDER, NOBODY)
        before = fingerprint(PET_RENDER)
        self.assertEqual(self.debug_run()[1:], ["DEBUG render failed", "DEBUG bubble render saved"])
        self.assertEqual(fingerprint(PET_RENDER), before, "another user's file changed")


if __name__ == "__main__":
    main()
