"""Settings file rows: odd values under each key, and a file the pet cannot
read or parse. The pet starts with defaults where a value makes no sense, and
flipping a switch afterwards must not bring it down."""

import random

from matrix_case import DEFAULT_MARKS, MatrixCase, fingerprint, main

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
        self.exercise(self.launch_exe(), saves=False)
        self.assertEqual(fingerprint(self.home.settings_file), before)

    def test_binary_junk_gives_defaults_and_keeps_a_later_switch(self):
        self.home.settings_file.parent.mkdir(parents=True)
        self.home.settings_file.write_bytes(random.Random(6).randbytes(4096))
        pet = self.launch_exe()
        self.exercise(pet)
        self.stop(pet)
        self.exercise(self.launch_exe(), marks={**DEFAULT_MARKS, "drinkOn": False})


if __name__ == "__main__":
    main()
