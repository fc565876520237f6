"""The tray icon and the menu it shares with the pet's right click: hiding
and showing, ghost mode and size, and settings that survive a relaunch."""

import time

from desktop import wait_for
from pet_geometry import centre, default_frame, window_size
from pet_test_case import PetTestCase, main
from pixels import fraction_of_colour

PANEL = (0x30, 0x34, 0x3C)  # the background of scripts/tint2rc

# Down presses that select an item in a freshly opened menu; separators are
# skipped by the keyboard.
GHOST_MODE = 6
SIZE_SUBMENU = 7
HIDE = 8


class MenuAndTrayTest(PetTestCase):

    def open_pet_menu(self, pet, rect):
        self.desktop.click(centre(rect), button=3)
        return wait_for(pet.menu, 2, "the pet's menu")

    def choose(self, pet, downs, *then):
        self.desktop.keys(*["Down"] * downs, *(then or ["Return"]))
        wait_for(lambda: pet.menu() is None, 2, "the menu to close")

    def test_tray_icon_is_docked_in_the_panel_and_drawn(self):
        pet, window, *_ = self.launch_and_find()
        icon = wait_for(pet.tray_icon, 5, "an icon in the panel's tray")
        box = self.desktop.geometry(icon)
        _, area_y, _, area_h = self.desktop.workarea()
        self.assertGreaterEqual(box[1], area_y + area_h, "icon in the panel below the work area")
        self.assertLess(fraction_of_colour(self.desktop.grab(box), PANEL), 0.9, "icon drawn, not blank")

    def test_double_click_hides_the_pet_and_the_tray_menu_brings_it_back(self):
        pet, window, frame, rect = self.launch_and_find()
        self.desktop.click(centre(rect), repeat=2, delay_ms=100)
        wait_for(lambda: not self.desktop.viewable(window), 2, "the pet to hide")
        wait_for(lambda: pet.bubble(window) is None, 1, "its bubble to hide with it")
        icon = wait_for(pet.tray_icon, 5, "the tray icon")
        self.desktop.click(centre(self.desktop.geometry(icon)), button=3)
        wait_for(pet.menu, 2, "the tray icon's menu")
        self.snapshot("tray-menu")
        self.choose(pet, HIDE)
        wait_for(lambda: self.desktop.viewable(window), 2, "the pet to come back")
        time.sleep(0.3)
        self.assertEqual(pet.frame(window), frame, "back where it was")

    def test_right_click_opens_the_menu_at_the_pet_views_lower_left_corner(self):
        pet, window, frame, rect = self.launch_and_find()
        # Up from the bottom-right corner first, so the menu fits below its spot.
        self.desktop.drag(centre(rect), (300, 200))
        wait_for(lambda: pet.frame(window)[:2] != frame[:2], 3, "the window to move")
        time.sleep(0.5)
        x, y, w, h = pet.frame(window)
        rect = (x + rect[0] - frame[0], y + rect[1] - frame[1], rect[2], rect[3])
        menu = self.open_pet_menu(pet, rect)
        self.snapshot("menu")
        # (20, 20) from the view's bottom-left corner, where y grows upwards.
        self.assertNear(self.desktop.geometry(menu)[:2], (rect[0] + 20, rect[1] + rect[3] - 20), 2,
                        "menu's top-left corner")
        self.desktop.keys("Escape")
        wait_for(lambda: pet.menu() is None, 2, "the menu to close")
        self.assertIsNone(pet.bubble(window), "a right click is not a tap")

    def test_ghost_mode_from_the_menu_lets_clicks_through_and_survives_a_relaunch(self):
        pet, window, frame, rect = self.launch_and_find()
        self.open_pet_menu(pet, rect)
        self.choose(pet, GHOST_MODE)
        wait_for(lambda: pet.bubble(window), 2, "the ghost-mode bubble")
        self.snapshot("ghost-bubble")
        wait_for(lambda: self.home.settings().get("ghostMode") == "true", 2, "ghostMode=true on disk")
        point = tuple(round(v) for v in centre(rect))
        self.desktop.click(point)
        self.assertEqual(self.backdrop.wait_for_press(), [point])
        self.stop(pet)

        pet, window, frame, rect = self.launch_and_find()
        point = tuple(round(v) for v in centre(rect))
        self.desktop.click(point)
        self.assertEqual(self.backdrop.wait_for_press(), [point])
        time.sleep(0.5)
        self.assertIsNone(pet.bubble(window), "still a ghost after the relaunch")

    def test_large_size_resizes_about_the_centre_and_survives_a_relaunch(self):
        pet, window, frame, rect = self.launch_and_find()
        self.open_pet_menu(pet, rect)
        # Into the size submenu (its first row is selected), then two down: 大只 200.
        self.choose(pet, SIZE_SUBMENU, "Right", "Down", "Down", "Return")
        wait_for(lambda: pet.frame(window)[2] > frame[2] + 50, 2, "the window to grow")
        time.sleep(0.3)
        grown = pet.frame(window)
        self.snapshot("large")
        self.assertNear(grown[2:], window_size(200), 1, "window size")
        self.assertNear(centre(grown), centre(frame), 1.5, "window centre")
        wait_for(lambda: self.home.settings().get("petSize") in ("200", "200.0"), 2, "petSize=200 on disk")
        self.stop(pet)

        pet, window, frame, rect = self.launch_and_find(size=200)
        self.assertNear(frame, default_frame(self.desktop.workarea(), 200), 1, "relaunched window frame")


if __name__ == "__main__":
    main()
