"""Settings file rows: odd values under each key, and a file the pet cannot
read or parse. The pet starts with defaults where a value makes no sense, and
flipping a switch afterwards must not bring it down."""

import os
import random
import subprocess
import threading
from pathlib import Path

from matrix_case import DEFAULT_MARKS, DEFAULT_SIZE, DRINK, MatrixCase, fingerprint, main, wait_for

# Stored petSize -> the size the pet is drawn at.
PET_SIZES = [
    ("NaN", 120), ("inf", 120), ("-inf", 120), ("-5", 120), ("0", 120), ("1e300", 120),
    ("80.5", 80.5), ("150", 150), ("banana", 120),
]

# Stored switches -> their check marks. A word or an empty value reads
# false, a number that is not zero true; the ghost ignores clicks.
SWITCH_ROWS = [
    ({"clockOn": "", "drinkOn": "banana", "ghostMode": "0"},
     {"clockOn": False, "drinkOn": False, "ghostMode": False}),
    ({"clockOn": "0", "drinkOn": "2.5", "ghostMode": "1"},
     {"clockOn": False, "drinkOn": True, "ghostMode": True}),
    ({"clockOn": "-3", "drinkOn": "", "ghostMode": "off"},
     {"clockOn": True, "drinkOn": False, "ghostMode": False}),
    ({"clockOn": "0.0", "drinkOn": "1e-400", "ghostMode": "-0.5"},
     {"clockOn": False, "drinkOn": False, "ghostMode": True}),
]

# A disk the settings cannot be saved on, made for the pet alone in a mount
# namespace: a 64 KiB tmpfs as its config folder. Rows: how the disk is
# left, the file on it (larger than a page or not), and the failure the
# pet should tell (None: the save fits and goes through).
GOOD = "[General]\nclockOn=false\ndrinkOn=true\nghostMode=false\npetSize=200\n"
BIG = GOOD + "note=" + "x" * 5000 + "\n"
FILL = 'dd if=/dev/zero of="$d/fill" bs=4096 2>/dev/null'
FULL_DISK_ROWS = [
    ("one page free", FILL + '; truncate -s -4096 "$d/fill"', BIG, "No space left on device"),
    ("one page free", FILL + '; truncate -s -4096 "$d/fill"', GOOD, None),
    ("no space", FILL + "; true", GOOD, "No space left on device"),
    ("read-only", 'mount -o remount,ro "$d"', GOOD, "Read-only file system"),
]

# Values that would show if the file were read after all.
NOT_DEFAULTS = {"petSize": 200, "clockOn": "false", "drinkOn": "false", "ghostMode": "true"}


class SettingsTest(MatrixCase):

    def test_pet_sizes(self):
        for stored, size in PET_SIZES:
            with self.row(petSize=stored):
                self.home.write_settings(petSize=stored)
                self.exercise(self.launch_exe(), size=size)

    def test_switches(self):
        for stored, marks in SWITCH_ROWS:
            with self.row(**stored):
                self.home.write_settings(**stored)
                self.exercise(self.launch_exe(), marks=marks)

    def test_unreadable_file_gives_defaults_and_stays_as_it_is(self):
        self.home.write_settings(**NOT_DEFAULTS)
        launcher = self.as_other_user()
        self.home.settings_file.chmod(0)
        before = fingerprint(self.home.settings_file)
        self.exercise(self.launch_exe(launcher), saves=False)
        self.assertEqual(fingerprint(self.home.settings_file), before)

    def test_folder_in_place_of_the_file_gives_defaults_and_stays(self):
        self.home.settings_file.mkdir(parents=True)
        (self.home.settings_file / "keep.txt").write_text("mine\n")
        before = fingerprint(self.home.settings_file)
        log = self.scratch_folder() / "stderr"
        pet = self.launch_exe(self.launcher(f'"$exe" 2>"{log}"'))
        self.flip_twice(pet)
        self.assertEqual(fingerprint(self.home.settings_file), before)
        self.told_once(log, "Is a directory")
        self.assertEqual(os.listdir(self.home.settings_file.parent), ["Glugmo.conf"])

    def test_full_or_read_only_disk_keeps_the_file(self):
        if os.geteuid() != 0 or subprocess.run(["unshare", "-m", "true"]).returncode != 0:
            self.skipTest("needs root and mount namespaces to give the pet a small disk of its own")
        for label, fill, seed, failure in FULL_DISK_ROWS:
            with self.row(disk=label, size=len(seed)):
                scratch = self.scratch_folder()
                (scratch / "seed").write_text(seed)
                log = scratch / "stderr"
                pet = self.launch_exe(self.launcher(
                    "unshare -m --propagation private sh -c '"
                    'd="$XDG_CONFIG_HOME" && mount -t tmpfs -o size=64k glugmo-conf "$d" && '
                    f'mkdir "$d/Glugmo" && cp "$1" "$d/Glugmo/Glugmo.conf" && {{ {fill}; }} && '
                    'exec "$0" 2>"$2"\' "$exe" ' f'"{scratch / "seed"}" "{log}"'))
                # The pet's own view of its config folder.
                folder = Path(f"/proc/{pet.process.pid}/root") / self.home.settings_file.parent.relative_to("/")
                self.flip_twice(pet, {**DEFAULT_MARKS, "clockOn": False}, 200)
                if failure:
                    self.assertEqual((folder / "Glugmo.conf").read_bytes(), seed.encode())
                    self.told_once(log, failure)
                else:
                    self.assertEqual((folder / "Glugmo.conf").read_bytes(), GOOD.encode())
                    self.assertEqual(log.read_text(), "")
                self.assertEqual(sorted(os.listdir(folder)), ["Glugmo.conf"])

    def test_a_file_rewritten_in_place_beside_switches_loses_no_key(self):
        # An editor saving the file it loaded, again and again: truncate, then
        # write. Whatever a switch writes in between is carried on by it, so
        # a key the switch dropped would stay gone.
        seed = GOOD + "note=kept as it was\n\n[Other]\nx=1, 2\n"
        self.home.settings_file.parent.mkdir(parents=True)
        self.home.settings_file.write_text(seed)
        pet = self.launch_exe()
        pet.window()
        stop = threading.Event()
        rewrites = []

        def rewrite():
            while not stop.is_set():
                with open(self.home.settings_file, "rb+") as file:
                    data = file.read()
                    file.seek(0)
                    file.truncate()
                    file.write(data)
                rewrites.append(len(data))

        writer = threading.Thread(target=rewrite)
        writer.start()
        try:
            for _ in range(8):
                self.open_tray_menu(pet)
                self.choose(pet, DRINK)
        finally:
            stop.set()
            writer.join()
        self.assertGreater(len(rewrites), 100)
        after = self.home.settings_file.read_text()
        for line in seed.splitlines():
            self.assertIn(line, after.splitlines())

    def flip_twice(self, pet, marks=DEFAULT_MARKS, size=DEFAULT_SIZE):
        """The row's interaction (one flip of drinkOn), then one more flip."""
        self.exercise(pet, size=size, marks=marks, saves=False)
        self.open_tray_menu(pet)
        self.choose(pet, DRINK)

    def told_once(self, log, reason):
        """Asserts that stderr holds exactly one line, the failed save and why."""
        lines = wait_for(lambda: log.read_text().splitlines(), 2, "a line on stderr")
        self.assertEqual(len(lines), 1, lines)
        self.assertIn("could not save the setting", lines[0])
        self.assertIn(reason, lines[0])

    def test_binary_junk_gives_defaults_and_keeps_a_later_switch(self):
        self.home.settings_file.parent.mkdir(parents=True)
        self.home.settings_file.write_bytes(random.Random(6).randbytes(4096))
        pet = self.launch_exe()
        self.exercise(pet)
        self.stop(pet)
        self.exercise(self.launch_exe(), marks={**DEFAULT_MARKS, "drinkOn": False})


if __name__ == "__main__":
    main()
