"""Nothing lost: every change made from the menu is on disk before the next
thing happens, so a pet killed outright a moment later comes back with all
of them."""

import time

from matrix_case import CLOCK, DRINK, GHOST, SIZE, MatrixCase, main, wait_for
from pet_process import Pet

# Keys after SIZE's Down presses: into the submenu (its first row selected).
SMALL_80 = ("Right", "Return")
LARGE_200 = ("Right", "Down", "Down", "Return")


class NothingLostTest(MatrixCase):

    def launch_to_kill(self):
        pet = Pet(self.exe, self.desktop, self.home)
        self.addCleanup(pet.stop)
        pet.window()
        return pet

    def change_all_then_kill(self, pet, changes):
        """Picks each (downs, keys) from the tray menu in turn, then kills
        the pet within a second of the last pick."""
        for downs, keys in changes:
            self.open_tray_menu(pet)
            self.desktop.keys(*["Down"] * downs, *keys)
            picked = time.monotonic()
            wait_for(lambda: pet.menu() is None, 2, "the menu to close")
        pet.process.kill()
        pet.process.wait()
        self.assertLess(time.monotonic() - picked, 1.0, "killed too late to prove anything")

    def relaunch_and_check(self, settings, size, marks):
        """The settings file holds `settings`, and a new pet shows them: its
        size and its check marks. The row's own switch flip follows."""
        for key, value in settings.items():
            self.assertEqual(self.saved(key), value, key)
        pet = self.launch_exe()
        self.exercise(pet, size=size, marks=marks)
        self.stop(pet)

    def test_changes_survive_a_kill(self):
        # The size last, then a switch last: either kind may be the one in flight.
        self.change_all_then_kill(self.launch_to_kill(), [
            (CLOCK, ["Return"]), (DRINK, ["Return"]), (GHOST, ["Return"]), (SIZE, LARGE_200)])
        self.relaunch_and_check({"clockOn": "false", "drinkOn": "false", "ghostMode": "true", "petSize": "200"},
                                200, {"clockOn": False, "drinkOn": False, "ghostMode": True})

        # That check flipped drinkOn back on.
        self.change_all_then_kill(self.launch_to_kill(), [(SIZE, SMALL_80), (GHOST, ["Return"])])
        self.relaunch_and_check({"drinkOn": "true", "ghostMode": "false", "petSize": "80"},
                                80, {"clockOn": False, "drinkOn": True, "ghostMode": False})

if __name__ == "__main__":
    main()
