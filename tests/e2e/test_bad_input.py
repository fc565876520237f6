"""Bad input only the real program can show: a full or read-only disk under the settings, a quip of a
megabyte, and the user's pictures, good and bad. Every row goes through `exercise`."""

import io
import os
import shutil
import subprocess
import tempfile
from pathlib import Path

from PIL import Image

import pet_test_case
from desktop import DEFAULT_SIZE, fraction_of_colour, pet_rect, wait_for
from pet_test_case import CLOCK, DEFAULT_SWITCHES, DRINK, PetTestCase, main

OWN_COLOUR = (0, 160, 80)
# A disk the settings cannot be saved on: how it is filled, the file on it (larger than a
# page or not), and the failure the pet tells (None: the save fits and goes through).
GOOD = "[General]\nclockOn=false\ndrinkOn=true\nghostMode=false\npetSize=200\n"
BIG = GOOD + "note=" + "x" * 5000 + "\n"
FILL = 'dd if=/dev/zero of="$d/fill" bs=4096 2>/dev/null'
FULL_DISK_ROWS = [
    (FILL + '; truncate -s -4096 "$d/fill"', BIG, "No space left on device"),
    (FILL + '; truncate -s -4096 "$d/fill"', GOOD, None),
    ('mount -o remount,ro "$d"', GOOD, "Read-only file system"),
]


def png(width, height, rgb):
    Image.new("RGB", (width, height), rgb).save(out := io.BytesIO(), "PNG")
    return out.getvalue()


class BadInputTest(PetTestCase):

    def test_files_and_pictures(self):
        for name, run in [(n[4:], getattr(self, n)) for n in dir(self) if n.startswith("row_")]:
            with self.row(name):
                run()

    def scratch_folder(self):
        folder = Path(tempfile.mkdtemp(prefix="glugmo-bad-input-"))
        self.addCleanup(shutil.rmtree, folder, ignore_errors=True)
        return folder

    def row_settings_on_a_full_or_read_only_disk(self):
        """A 64 KiB tmpfs of the pet's own (a mount namespace) as its config folder: a save that
        cannot be made leaves the file as it was and says why once; one that fits goes through."""
        if os.geteuid() != 0 or subprocess.run(["unshare", "-m", "true"]).returncode != 0:
            self.skipTest("needs root and mount namespaces to give the pet a small disk of its own")
        for fill, seed, failure in FULL_DISK_ROWS:
            self.fresh_home()
            (seed_file := (scratch := self.scratch_folder()) / "seed").write_text(seed)
            (launcher := scratch / "launch.sh").write_text(
                "#!/bin/sh\nexec unshare -m --propagation private sh -c '"
                'd="$XDG_CONFIG_HOME" && mount -t tmpfs -o size=64k glugmo-conf "$d" && '
                f'mkdir "$d/Glugmo" && cp "$1" "$d/Glugmo/Glugmo.conf" && {{ {fill}; }} && '
                f'exec "$0"\' "{pet_test_case.exe}" "{seed_file}"\n')
            launcher.chmod(0o755)
            pet = self.launch(launcher, stderr=(log := scratch / "stderr"))
            folder = Path(f"/proc/{pet.process.pid}/root") / self.home.settings_file.parent.relative_to("/")
            self.exercise(pet, size=200, switches={**DEFAULT_SWITCHES, "clockOn": False}, saves=False)
            for downs in (CLOCK, DRINK):  # and back
                self.choose(pet, downs)
            self.assertEqual((folder / "Glugmo.conf").read_text(), seed if failure else GOOD, fill)
            if failure:  # said once, with why
                lines = wait_for(lambda: log.read_text().splitlines(), 2, "a line on stderr")
                self.assertTrue(len(lines) == 1 and "could not save the setting" in lines[0] and failure in lines[0],
                                lines)
            else:
                self.assertEqual(log.read_text(), "")
            self.assertEqual(sorted(os.listdir(folder)), ["Glugmo.conf"], "no temporary file left")
            self.stop(pet)

    def row_quotes_one_line_of_a_megabyte(self):
        self.home.write(self.home.quotes_file, "测" * (2 ** 20 // 3 + 1))
        written = self.home.quotes_file.stat().st_mtime_ns
        x, y, w, h = self.exercise(self.launch())
        self.assertEqual(self.home.quotes_file.stat().st_mtime_ns, written, "the quotes file rewritten")
        self.assertGreater(h, 56, "the file's quip, wrapped onto more lines than any built-in one")
        width, height = self.desktop.screen_size()
        self.assertTrue(0 <= x and 0 <= y and x + w <= width and y + h <= height, f"bubble {(x, y, w, h)} on screen")

    def row_pictures_of_the_user_stand_in_for_ours(self):
        """The user's pictures replace ours by name; a bad one leaves ours, with a line on stderr saying why."""
        gif = (Path(pet_test_case.exe).parent / "resources" / "13_嚯.gif").read_bytes()
        problems = {"13_嚯.gif": "is cut short", "icon.png": "is wider or taller than 4096 px",
                    "04_爱你哟.gif": "is not a GIF picture", "05_帮紧你.gif": "is a folder",
                    "06_辛苦了.gif": "is a link to nothing", "08_多喝水.gif": "is larger than 20 MB"}
        (folder := self.home.quotes_file.parent / "pictures" / "05_帮紧你.gif").mkdir(parents=True)
        folder = folder.parent
        for name, data in {"idle.png": png(200, 229, OWN_COLOUR), "13_嚯.gif": gif[:len(gif) // 2],
                           "icon.png": png(5000, 8, OWN_COLOUR), "04_爱你哟.gif": png(1, 1, OWN_COLOUR)}.items():
            (folder / name).write_bytes(data)
        (folder / "06_辛苦了.gif").symlink_to(folder / "gone")
        with open(folder / "08_多喝水.gif", "wb") as large:
            large.truncate(21 << 20)
        pet = self.launch(stderr=(log := self.scratch_folder() / "stderr"))
        own = fraction_of_colour(self.desktop.grab(pet_rect(pet.frame(pet.window()), DEFAULT_SIZE)), OWN_COLOUR)
        self.assertGreater(own, 0.6, "the pet drawn in the user's picture's colour")
        self.exercise(pet)
        self.stop(pet)
        lines = sorted(line.split(";")[0] for line in log.read_text("utf-8").splitlines() if line.startswith("glugmo"))
        self.assertEqual(lines, sorted(f"glugmo: {folder / name} {problem}" for name, problem in problems.items()))


if __name__ == "__main__":
    main()
