"""One pet per session: a second launch asks the running pet to come back on
screen and exits 0, also when two start at once or the last pet died.

Run as: python3 test_second_launch.py path/to/glugmo [unittest options]
"""

import subprocess
import time

import e2e_path  # noqa: F401  (puts tests/e2e on the path)
import pet_test_case
from desktop import wait_for
from pet_geometry import centre
from pet_process import PET_TITLE, Home, Pet
from pet_test_case import PetTestCase, main

QUICK_EXIT = 5  # seconds a second launch may take to hand over and leave


class SecondLaunchTest(PetTestCase):

    def start(self, home=None):
        """A launch that may rightly exit by itself, unlike PetTestCase.launch."""
        pet = Pet(pet_test_case._exe, self.desktop, home or self.home)
        self.addCleanup(pet.stop)
        return pet

    def launch_again(self):
        """Runs glugmo once more in the same session; returns its exit status
        and how long it took."""
        again = self.start()
        try:
            status = again.process.wait(timeout=QUICK_EXIT + 5)
        except subprocess.TimeoutExpired:
            self.fail("the second launch did not exit")
        took = time.monotonic() - again.started
        again.stop()  # collects the rest of its output
        self.assertEqual(again.lines, [], "a second launch prints nothing")
        return status, took

    def titled_window_pids(self):
        """The processes that show a window with the pet's title."""
        d = self.desktop
        return {(d.property(w, "_NET_WM_PID") or [None])[0]
                for w in d.all_windows() if d.title(w) == PET_TITLE and d.viewable(w)}

    def test_second_launch_brings_a_hidden_pet_back_and_exits_0(self):
        pet, window, frame, rect = self.launch_and_find()
        self.desktop.click(centre(rect), repeat=2, delay_ms=100)
        wait_for(lambda: not self.desktop.viewable(window), 2, "the pet to hide")

        status, took = self.launch_again()
        self.assertEqual(status, 0)
        self.assertLess(took, QUICK_EXIT)
        wait_for(lambda: self.desktop.viewable(window), 3, "the pet to come back")
        self.snapshot("back")
        self.assertEqual(pet.frame(window), frame, "back where it was")
        self.assertEqual(self.titled_window_pids(), {pet.process.pid}, "one pet on the desktop")
        self.assertIsNone(pet.process.poll(), "the first pet still runs")

    def test_second_launch_leaves_a_shown_pet_as_it_is(self):
        pet, window, frame, _ = self.launch_and_find()
        for _ in range(2):
            status, took = self.launch_again()
            self.assertEqual(status, 0)
            self.assertLess(took, QUICK_EXIT)
        time.sleep(0.5)
        self.assertTrue(self.desktop.viewable(window))
        self.assertEqual(pet.frame(window), frame)
        self.assertEqual(self.titled_window_pids(), {pet.process.pid})

    def test_two_launches_at_once_make_one_pet(self):
        first, second = self.start(), self.start()
        left = wait_for(lambda: [p for p in (first, second) if p.process.poll() is not None],
                        QUICK_EXIT + 5, "one of two launches to leave")
        self.assertEqual(len(left), 1, "exactly one leaves")
        self.assertEqual(left[0].process.returncode, 0)
        stayed = second if left[0] is first else first
        stayed.window()
        time.sleep(1)
        self.assertIsNone(stayed.process.poll())
        self.assertEqual(self.titled_window_pids(), {stayed.process.pid})

    def test_a_pet_that_died_does_not_stop_the_next_one(self):
        crashed = self.start()
        crashed.window()
        crashed.process.kill()  # no chance to remove its lock or socket
        crashed.process.wait()
        runtime = self.home.path / "runtime"
        self.assertTrue(list(runtime.glob("glugmo-*.socket")), "a socket left behind")
        self.assertTrue(list(runtime.glob("glugmo-*.lock")), "a lock left behind")

        pet = self.launch()
        pet.window()
        status, _ = self.launch_again()
        self.assertEqual(status, 0)
        self.assertIsNone(pet.process.poll())
        self.assertEqual(self.titled_window_pids(), {pet.process.pid})

    def test_sessions_apart_have_a_pet_each(self):
        # Another user (here: another runtime folder) on the same display.
        other = Home()
        self.addCleanup(other.remove)
        mine = self.launch()
        mine.window()
        theirs = self.start(other)
        theirs.window()
        self.assertEqual(self.titled_window_pids(), {mine.process.pid, theirs.process.pid})


if __name__ == "__main__":
    main()
