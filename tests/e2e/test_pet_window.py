"""The pet's window on a real desktop: where it sits, how it is drawn, and
which clicks it takes."""

import os
import subprocess
import time

from desktop import wait_for
from pet_geometry import DEFAULT_SIZE, centre, default_frame, pet_height
from pet_test_case import BACKDROP, PetTestCase, main
from pixels import changed_pixels, fraction_of_colour


def outer_margins(frame, size=DEFAULT_SIZE):
    """The outer half of each transparent margin, relative to the window.
    The inner half may catch the corners of the rocking pet."""
    _, _, w, h = frame
    side, top, bottom = 0.23 * size / 2, 0.12 * pet_height(size) / 2, 0.1 * pet_height(size) / 2
    return {
        "left": (0, 0, side, h),
        "right": (w - side, 0, w, h),
        "top": (0, 0, w, top),
        "bottom": (0, h - bottom, w, h),
    }


def crop_box(box, frame):
    """A screen box as a crop box of the window's screenshot."""
    x, y, w, h = box
    return (x - frame[0], y - frame[1], x - frame[0] + w, y - frame[1] + h)


class PetWindowTest(PetTestCase):

    def test_window_starts_bottom_right_of_the_work_area_at_the_default_size(self):
        pet, window, frame, _ = self.launch_and_find()
        self.snapshot("start")
        self.assertNear(frame, default_frame(self.desktop.workarea()), 1, "pet window frame")

    def test_window_floats_on_every_desktop_outside_the_taskbar_without_focus(self):
        pet, window, *_ = self.launch_and_find()
        d = self.desktop
        states = {d.x.get_atom_name(a) for a in d.property(window, "_NET_WM_STATE") or []}
        for state in ("_NET_WM_STATE_ABOVE", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"):
            self.assertIn(state, states)
        self.assertEqual(list(d.property(window, "_NET_WM_DESKTOP") or []), [0xFFFFFFFF], "on all desktops")
        self.assertNotEqual(list(d.property(d.root, "_NET_ACTIVE_WINDOW") or [0])[0], window.id,
                            "showing the pet must not take the focus")
        self.assertEqual(window.get_geometry().depth, 32, "an ARGB window, so its margins can be see-through")

    def test_pet_is_drawn_in_its_rectangle_and_the_margins_show_what_lies_below(self):
        pet, window, frame, rect = self.launch_and_find()
        time.sleep(0.5)
        shot = self.desktop.grab(frame)
        self.snapshot("drawn")
        drawn = 1 - fraction_of_colour(shot.crop(crop_box(rect, frame)), BACKDROP)
        self.assertGreater(drawn, 0.25, "share of the pet rectangle covered by the pet")
        for name, band in outer_margins(frame).items():
            with self.subTest(margin=name):
                self.assertGreater(fraction_of_colour(shot.crop(band), BACKDROP), 0.98)

    def test_pet_rocks_while_idle(self):
        pet, window, frame, _ = self.launch_and_find()
        first = self.desktop.grab(frame)
        changes = []
        for _ in range(8):
            time.sleep(0.25)
            changes.append(changed_pixels(first, self.desktop.grab(frame)))
        self.assertGreater(max(changes), 200, f"pixels changed over two seconds: {changes}")
        self.assertEqual(pet.frame(window), frame, "rocking moves the picture, not the window")

    def test_clicks_on_the_margins_reach_the_window_below_but_not_clicks_on_the_pet(self):
        pet, window, frame, rect = self.launch_and_find()
        for name, (x0, y0, x1, y1) in outer_margins(frame).items():
            with self.subTest(margin=name):
                point = (round(frame[0] + (x0 + x1) / 2), round(frame[1] + (y0 + y1) / 2))
                self.desktop.click(point)
                self.assertEqual(self.backdrop.wait_for_press(), [point])
        self.desktop.click(centre(rect))
        time.sleep(0.5)
        self.assertEqual(self.backdrop.presses(), [], "the pet takes the clicks on itself")

    def test_dragging_the_pet_moves_its_window(self):
        pet, window, frame, rect = self.launch_and_find()
        (x, y), offset = centre(rect), (-300, -200)
        self.desktop.drag((x, y), (x + offset[0], y + offset[1]))
        wait_for(lambda: pet.frame(window)[:2] != frame[:2], 3, "the window to move")
        time.sleep(0.5)
        moved = pet.frame(window)
        self.snapshot("dragged")
        # The window manager takes over once the pointer has left the press
        # spot by a few points, so up to one step of the drag may be lost.
        self.assertNear(moved[:2], (frame[0] + offset[0], frame[1] + offset[1]), 16, "window after the drag")
        self.assertEqual(moved[2:], frame[2:])
        self.assertIsNone(pet.bubble(window), "a drag is not a tap")

    def test_ghost_mode_in_the_settings_lets_clicks_on_the_pet_through(self):
        self.home.write_settings(ghostMode=True)
        pet, window, frame, rect = self.launch_and_find()
        point = tuple(round(v) for v in centre(rect))
        self.desktop.click(point)
        self.assertEqual(self.backdrop.wait_for_press(), [point])
        time.sleep(0.5)
        self.assertIsNone(pet.bubble(window), "a ghost ignores clicks")


    def test_the_pet_follows_the_compositor_stopping_and_starting_again(self):
        pet, window, frame, rect = self.launch_and_find()
        session = self.desktop._session.pid
        for phase in ("stopped", "started again"):
            with self.subTest(phase):
                if phase == "stopped":
                    subprocess.run(["pkill", "-TERM", "-P", str(session), "-x", "picom"], check=True)
                else:
                    picom = subprocess.Popen(["picom", "--backend", "xrender", "--config", "/dev/null"],
                                             env={**os.environ, "DISPLAY": self.desktop.name},
                                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                    self.addCleanup(picom.wait)
                    self.addCleanup(picom.terminate)
                time.sleep(1.5)
                shot = self.desktop.grab(frame)
                self.snapshot(phase.replace(" ", "-"))
                self.assertGreater(1 - fraction_of_colour(shot.crop(crop_box(rect, frame)), BACKDROP), 0.25)
                for name, band in outer_margins(frame).items():
                    self.assertGreater(fraction_of_colour(shot.crop(band), BACKDROP), 0.98, name)


class PetWindowWithoutCompositorTest(PetTestCase):
    """Without a compositor X11 has no per-pixel transparency; the pet must
    still not show as a black box."""
    desktop_options = ("--no-compositor",)

    def test_margins_still_show_what_lies_below(self):
        pet, window, frame, rect = self.launch_and_find()
        time.sleep(0.5)
        shot = self.desktop.grab(frame)
        self.snapshot("no-compositor")
        self.assertGreater(1 - fraction_of_colour(shot.crop(crop_box(rect, frame)), BACKDROP), 0.25)
        for name, band in outer_margins(frame).items():
            with self.subTest(margin=name):
                self.assertGreater(fraction_of_colour(shot.crop(band), BACKDROP), 0.98)


if __name__ == "__main__":
    main()
