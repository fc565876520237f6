"""The pet on a standard desktop, the way a user meets it: first the scenario tests/desktops/run.sh runs on
every desktop (placement, stacking, workspaces, focus, margins, the bubble, dragging, hiding, menus and tray),
then one session of what that leaves out: debug mode, the drawn pet and bubble, changes kept through a
kill, and launching it again."""

import os
import sys
import time
from pathlib import Path

from desktop import (DEFAULT_SIZE, PET_TITLE, Home, centre, default_frame, fraction_of_colour, pet_rect, wait_for,
                     window_size)
import pet_test_case
from pet_test_case import BACKDROP, CLOCK, GHOST, LARGE, PANEL, RENDERS, SIZE, PetTestCase, main

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "desktops"))
from check import COLUMNS, Scenario  # noqa: E402
from desktops import SETUPS  # noqa: E402

HANDOVER = 10  # seconds to wait for a second launch to hand over and leave


class DesktopTest(PetTestCase):

    def test_the_scenario_of_every_desktop(self):
        results = Scenario(pet_test_case.exe, SETUPS[0]).run()
        self.assertEqual({key: results.get(key, (None,))[0] for key in COLUMNS}, dict.fromkeys(COLUMNS, True),
                         results)

    def assertSecondLaunchLeaves(self, pet):
        again = self.launch(may_leave=True)
        self.assertEqual(again.process.wait(timeout=HANDOVER), 0)
        again.stop()
        self.assertEqual(again.lines, [], "a second launch prints nothing")
        # It opens the pet's menu beside it: the way in on a desktop with no tray.
        wait_for(pet.menu, 5, "the menu from a second launch")
        self.choose(pet, 0, "Escape", opened=True)

    def assertPets(self, *pets):
        d = self.desktop
        shown = {(d.property(w, "_NET_WM_PID") or [None])[0]
                 for w in d.all_windows() if d.title(w) == PET_TITLE and d.viewable(w)}
        self.assertEqual(shown, {pet.process.pid for pet in pets}, "the pets on the desktop")

    def test_a_users_session(self):
        with self.row("a user's session"):
            self.session()

    def session(self):
        for picture in RENDERS:
            picture.unlink(missing_ok=True)
        pet, d = self.launch(debug="", may_leave=True), self.desktop  # present, even empty, turns it on
        frame = pet.frame(window := pet.window())
        rect = pet_rect(frame, DEFAULT_SIZE)

        # Debug mode: the frame in points from the bottom-left, in the shortest exact text, and two pictures.
        (ax, ay, aw, ah), (w, h) = d.workarea(), window_size(DEFAULT_SIZE)
        expected = (ax + aw - w - 60, d.screen_size()[1] - (ay + ah) + 40, w, h)
        self.assertEqual(pet.output_line("DEBUG visible=", 8),
                         f"DEBUG visible=true frame=({', '.join(map(repr, map(float, expected)))}) hasImage=true")
        pet.output_line("DEBUG bubble render", 4)
        self.assertEqual(pet.lines[1:], ["DEBUG render saved", "DEBUG bubble render saved"])
        for picture in RENDERS:
            self.assertEqual((picture.read_bytes()[:4], picture.stat().st_uid), (b"\x89PNG", os.getuid()))

        # How the window floats (transients follow their owner's desktop; WM_TAKE_FOCUS windows get flagged as
        # demanding attention), the first quotes file, the tray icon drawn and the pet rocking.
        self.assertLessEqual({d.atom(f"_NET_WM_STATE_{s}") for s in ("SKIP_TASKBAR", "SKIP_PAGER")},
                             set(d.property(window, "_NET_WM_STATE") or []))
        self.assertIsNone(d.property(window, "WM_TRANSIENT_FOR"), "transient for no window")
        self.assertNotIn(d.atom("WM_TAKE_FOCUS"), list(d.property(window, "WM_PROTOCOLS") or []))
        self.assertEqual(window.get_geometry().depth, 32, "an ARGB window, so its margins can be see-through")
        self.assertGreater(len(self.home.quotes_file.read_text("utf-8").splitlines()), 5, "the built-in quips")
        icon = d.geometry(wait_for(pet.tray_icon, 5, "an icon in the panel's tray"))
        self.assertLess(fraction_of_colour(d.grab(icon), PANEL), 0.9, "the icon drawn")
        wait_for(lambda: pet.bubble(window) is None, 5, "the debug bubble to go")
        self.assertLess(fraction_of_colour(d.grab(rect), BACKDROP), 0.75, "the pet drawn")
        self.assertRocks(frame)
        self.assertEqual(pet.frame(window), frame, "rocking moves the picture, not the window")

        # A tap: a dark blue bubble, the click taken by the pet.
        box = self.click_for_bubble(pet, window, centre(rect))
        self.assertEqual(self.backdrop.presses(), [], "the pet takes the clicks on itself")
        dark_blue = tuple(round(c * 0.92 + b * 0.08) for c, b in zip((5, 51, 107), BACKDROP))  # at 92 % over it
        self.assertGreater(fraction_of_colour(d.grab(box), dark_blue, 10), 0.4)
        wait_for(lambda: pet.bubble(window) is None, 5, "the bubble to go")

        # A double click hides the pet; a second launch brings it back where it was, and leaves one on screen be.
        d.click(centre(rect), repeat=2, delay_ms=100)
        wait_for(lambda: not d.viewable(window), 2, "the pet to hide")
        self.assertIsNone(pet.bubble(window), "its bubble hides with it")
        self.assertSecondLaunchLeaves(pet)
        wait_for(lambda: d.viewable(window), 3, "the pet to come back")
        self.assertSecondLaunchLeaves(pet)
        time.sleep(0.3)
        self.assertEqual(pet.frame(window), frame, "back where it was")
        self.assertPets(pet)
        # Each change from a menu is on disk at once: a pet killed a moment later keeps them all.
        self.choose(pet, SIZE, *LARGE, spot=rect)
        wait_for(lambda: pet.frame(window)[2] > frame[2] + 50, 2, "the window to grow")
        time.sleep(0.3)
        self.assertNear(centre(pet.frame(window)), centre(frame), 1.5, "grown about its centre")
        self.assertNear(pet.frame(window)[2:], window_size(200), 1, "the large window")
        for item in (CLOCK, GHOST):
            self.choose(pet, item)
        picked = time.monotonic()
        self.assertIsNone(pet.process.poll(), "glugmo quit")
        pet.process.kill()  # no chance to save late, nor to remove its lock and socket
        pet.process.wait()
        self.assertLess(time.monotonic() - picked, 1.0, "killed too late to prove anything")
        self.assertEqual([self.saved(k) for k in ("petSize", "clockOn", "ghostMode")], ["200", "false", "true"])

        # The next pet starts over the dead one's lock, is a large ghost, and out of ghost mode says so.
        pet = self.launch()
        frame = pet.frame(window := pet.window())
        self.assertNear(frame, default_frame(self.desktop.workarea(), 200), 1, "relaunched window frame")
        rect = pet_rect(frame, 200)
        self.assertClickGoesThrough(rect)
        self.choose(pet, GHOST)
        wait_for(lambda: pet.bubble(window), 2, "the ghost-mode bubble")
        wait_for(lambda: pet.bubble(window) is None, 5, "the ghost-mode bubble to go")
        self.stop(pet)

        # Two launches at once make one pet; another session (runtime folder) has its own.
        other = Home()
        self.addCleanup(other.remove)
        pair, theirs = [self.launch(may_leave=True) for _ in "ab"], self.launch(home=other, may_leave=True)
        left = wait_for(lambda: [p for p in pair if p.process.poll() is not None], HANDOVER, "a launch to leave")
        self.assertEqual([p.process.returncode for p in left], [0], "exactly one leaves")
        (stayed,) = set(pair) - set(left)
        stayed.window(), theirs.window()
        self.assertPets(stayed, theirs)


if __name__ == "__main__":
    main()
