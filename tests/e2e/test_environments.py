"""The pet on desktops unlike the standard one, each row on its own: without a tray, with a compositor
that comes and goes; without a window manager or a compositor; on two monitors whose primary is
not the first."""

import os
import subprocess
import time

from desktop import DEFAULT_SIZE, ColourWindow, centre, default_frame, fraction_of_colour, pet_rect, wait_for
from pet_test_case import BACKDROP, GHOST, PetTestCase, main


def two_monitors(desktop):
    """Two monitors side by side, the right one the primary; returns its box."""
    for monitor in ("left 1440/381x900/238+0+0", "*right 1024/270x768/203+1440+0"):
        subprocess.run(["xrandr", "--setmonitor", *monitor.split(), "none"], check=True,
                       env={**os.environ, "DISPLAY": desktop.name})
    return (1440, 0, 1024, 768)


class EnvironmentsTest(PetTestCase):
    desktop_options = None

    def check_a_compositor_coming_and_going(self):
        """Without a compositor there is no per-pixel alpha: no black boxes around the pet, and the pet, which
        reshapes its window at every step, leaves the window manager out yet stays below a full-screen window. The
        pet follows a compositor that comes, and then goes: still no black boxes, nor in the bubble's corners.
        Without a tray the switches are flipped from the pet's own menu."""
        pet = self.launch()
        frame = pet.frame(window := pet.window())
        self.exercise(pet, tray=False)
        wait_for(lambda: pet.bubble(window) is None, 5, "the bubble to go")
        self.assertPetOnBackdrop(frame)
        self.assertTrue(window.get_attributes().override_redirect and not self.desktop.ancestors(window),
                        "the window manager left out")
        self.assertFullScreenStaysAbove(frame)
        self.assertGhostModeComesAndGoes(pet, window, pet_rect(frame, DEFAULT_SIZE))
        picom = subprocess.Popen(["picom", "--backend", "xrender", "--config", "/dev/null"], env={
            **os.environ, "DISPLAY": self.desktop.name}, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self._row.callback(picom.wait)
        self._row.callback(picom.terminate)
        self.assertPetOnBackdrop(frame, within=10)
        picom.terminate()
        self.assertPetOnBackdrop(frame, within=10)
        bubble = self.click_for_bubble(pet, window, centre(pet_rect(frame, DEFAULT_SIZE)))
        self.assertLess(fraction_of_colour(self.desktop.grab(bubble), (0, 0, 0), tolerance=24), 0.01,
                        "black corners on the bubble")

    def assertFullScreenStaysAbove(self, frame):
        """A full-screen window hides the unmanaged pet, as a window manager keeping the pet above has it."""
        film = ColourWindow(self.desktop, (0, 0, 255), (0, 0, *self.desktop.screen_size()), "NORMAL",
                            states=("FULLSCREEN",))
        try:
            x, y, w, h = pet_rect(frame, DEFAULT_SIZE)
            covered = lambda: fraction_of_colour(self.desktop.grab((x, y, w, h)), (0, 0, 255)) > 0.99
            wait_for(covered, 5, "the full-screen window over the pet")
            time.sleep(1)  # and not only for a moment
            self.assertTrue(covered(), "the pet over a full-screen window")
        finally:
            film.close()
        self.assertPetOnBackdrop(frame, within=5)

    def assertGhostModeComesAndGoes(self, pet, window, rect):
        """Clicks go through the ghost, and reach the pet again once ghost mode ends (from the second launch's
        menu, without a tray)."""
        self.choose(pet, GHOST, spot=rect)
        self.assertClickGoesThrough(rect)
        self.assertEqual(self.launch(may_leave=True).process.wait(timeout=10), 0, "the second launch")
        wait_for(pet.menu, 5, "the menu from a second launch")
        self.choose(pet, GHOST, opened=True)
        wait_for(lambda: pet.bubble(window) is None, 10, "the ghost-mode bubble to go")
        self.assertIsNotNone(self.click_for_bubble(pet, window, centre(rect)), "no bubble after a click")

    def assertPetOnBackdrop(self, frame, within=0):
        """The pet drawn and the backdrop all around it, now or `within` seconds (a compositor takes a moment)."""
        x, y, w, h = pet_rect((0, 0, *frame[2:]), DEFAULT_SIZE)

        def shown():
            shot = self.desktop.grab(frame)
            return (fraction_of_colour(shot.crop((x, y, x + w, y + h)), BACKDROP) < 0.75 and
                    min(fraction_of_colour(shot.crop(band), BACKDROP)
                        for band in ((0, 0, shot.width, y / 2), (0, 0, x / 2, shot.height))) > 0.98)
        wait_for(shown, within, "the pet drawn, with the backdrop around it", interval=0.25)

    def check_in_its_corner(self, area, tray=True):
        self.exercise(pet := self.launch(), tray=tray)
        x, y, w, h = frame = pet.frame(pet.window())
        self.assertNear(frame, default_frame(area), 1, "window frame")
        width, height = self.desktop.screen_size()
        self.assertTrue(x >= 0 and y >= 0 and x + w <= width and y + h <= height, f"inside the screen: {frame}")
        return pet, frame

    def check_without_a_window_manager(self):
        """No one keeps a work area, yet the panel claims its strip; a drag moves the window by the pet itself."""
        d = self.desktop
        bottoms = [p[3] for w in d.all_windows() if (p := d.property(w, "_NET_WM_STRUT_PARTIAL"))]
        self.assertTrue(bottoms, "the panel claims its strip")
        pet, (x, y, w, h) = self.check_in_its_corner((0, 0, d.screen_size()[0], d.screen_size()[1] - max(bottoms)),
                                                     tray=False)
        self.assertPetOnBackdrop((x, y, w, h), within=5)  # no compositor from the start; the bubble goes
        start = centre(pet_rect((x, y, w, h), DEFAULT_SIZE))
        d.drag(start, (start[0] - 300, start[1] - 200))
        self.assertNear(pet.frame(pet.window()), (x - 300, y - 200, w, h), 16, "after the drag")

    def test_rows(self):
        rows = [
            (("--no-tray", "--no-compositor"), self.check_a_compositor_coming_and_going),
            # Without a window manager Qt's tray icon ignores every other
            # click; the pet's own menu answers each one.
            (("--no-wm", "--no-compositor"), self.check_without_a_window_manager),
            (("--size", "2464x900x24"), lambda: self.check_in_its_corner(two_monitors(self.desktop))),
        ]
        for options, check in rows:
            with self.row(" ".join(options), options):
                check()


if __name__ == "__main__":
    main()
