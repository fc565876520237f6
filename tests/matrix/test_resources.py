"""Resource rows: the pet's own pictures missing or broken. It finds them in
resources/ beside its executable, so each row runs a copy of the program
beside a copy of the pictures with some of them spoilt."""

import io
import shutil
import struct
import time
from pathlib import Path

from PIL import Image

from matrix_case import (DEFAULT_SIZE, RANDOM_MOVE, MatrixCase, centre, main, pet_rect,
                         wait_for)
from pet_test_case import BACKDROP
from pixels import changed_pixels, fraction_of_colour

PANEL = (0x30, 0x34, 0x3C)  # the background of scripts/tint2rc


def truncated(data):
    return data[:len(data) // 2]


def header_only(data):
    """The same logical screen with no image in it: header, screen
    descriptor without a colour table, trailer."""
    width, height = struct.unpack("<HH", data[6:10])
    return b"GIF89a" + struct.pack("<HHBBB", width, height, 0, 0, 0) + b";"


def not_a_picture(_):
    return b"this is not a picture\n" * 20


def png(width, height, rgb):
    out = io.BytesIO()
    Image.new("RGB", (width, height), rgb).save(out, "PNG")
    return out.getvalue()


OWN_COLOUR = (0, 160, 80)


class ResourcesTest(MatrixCase):

    def install(self, gif=lambda data: data, missing=()):
        """A copy of the program and its pictures: `gif` turns each GIF's
        bytes into what is installed (None leaves every GIF out), `missing`
        names the other pictures left out."""
        folder = self.scratch_folder()
        shutil.copy2(self.exe, folder / "glugmo")
        shutil.copytree(Path(self.exe).parent / "resources", folder / "resources")
        for picture in (folder / "resources").iterdir():
            if picture.name in missing or (picture.suffix == ".gif" and gif is None):
                picture.unlink()
            elif picture.suffix == ".gif":
                picture.write_bytes(gif(picture.read_bytes()))
        return folder / "glugmo"

    def assertStaysIdle(self, pet, window):
        """Clicks, six quick clicks and a random move from the menu play
        nothing: no bubble, and the idle pet keeps rocking."""
        rect = pet_rect(pet.frame(window), DEFAULT_SIZE)
        x, y = centre(rect)
        self.desktop.click_each([(x - 12, y), (x + 12, y)] * 3, gap=0.15)
        self.open_pet_menu(pet, rect)
        self.choose(pet, RANDOM_MOVE)
        time.sleep(0.5)
        self.assertIsNone(pet.bubble(window), "a bubble without a reaction")
        first = self.desktop.grab(rect)
        self.assertLess(fraction_of_colour(first, BACKDROP), 0.75, "the idle pet is drawn")
        changes = []
        for _ in range(6):
            time.sleep(0.25)
            changes.append(changed_pixels(first, self.desktop.grab(rect)))
        self.assertGreater(max(changes), 200, f"the idle pet rocks: {changes}")
        self.assertAlive(pet, window)

    def test_every_gif_missing(self):
        pet = self.launch_exe(self.install(gif=None))
        self.exercise(pet, bubble=False)
        self.assertStaysIdle(pet, pet.window())

    def test_gifs_with_no_frames(self):
        pet = self.launch_exe(self.install(gif=header_only))
        self.exercise(pet, bubble=False)
        self.assertStaysIdle(pet, pet.window())

    def test_files_under_gif_names_that_are_not_pictures(self):
        pet = self.launch_exe(self.install(gif=not_a_picture))
        self.exercise(pet, bubble=False)
        self.assertStaysIdle(pet, pet.window())

    def test_truncated_gifs_play_what_they_have(self):
        pet = self.launch_exe(self.install(gif=truncated))
        self.exercise(pet)
        window = pet.window()
        # The reaction ends, the pet goes back to idle and can react again.
        wait_for(lambda: pet.bubble(window) is None, 5, "the bubble to go")
        self.assertIsNotNone(self.click_for_bubble(pet, window, pet_rect(pet.frame(window), DEFAULT_SIZE)))
        self.assertAlive(pet, window)

    def test_idle_picture_missing(self):
        exe = self.install(missing=("idle.png",))
        pet = self.launch_exe(exe, debug="")
        status = pet.output_line("DEBUG visible=", 8)
        self.assertTrue(status.startswith("DEBUG visible=true ") and status.endswith(" hasImage=false"), status)
        pet.output_line("DEBUG bubble render", 4)
        self.stop(pet)
        self.exercise(self.launch_exe(exe))

    def test_own_pictures_stand_in_for_ours(self):
        """Files in the user's pictures folder replace ours by name; each one
        that is no good leaves ours, with one line on stderr."""
        gif = (Path(self.exe).parent / "resources" / "13_嚯.gif").read_bytes()
        rows = {
            "one-colour idle": ({"idle.png": png(200, 229, OWN_COLOUR), "13_嚯.gif": truncated(gif),
                                 "icon.png": png(5000, 8, OWN_COLOUR)},
                                ["13_嚯.gif is cut short", "icon.png is wider or taller than 4096 px"]),
            "text as idle": ({"idle.png": not_a_picture(b"")}, ["idle.png is not a PNG picture"]),
        }
        for name, (files, problems) in rows.items():
            with self.row(pictures=name):
                folder = Path(self.home.env["XDG_DATA_HOME"]) / "Glugmo" / "pictures"
                folder.mkdir(parents=True)
                for file, data in files.items():
                    (folder / file).write_bytes(data)
                errors = self.scratch_folder() / "stderr"
                pet = self.launch_exe(self.launcher(f'"$exe" 2>"{errors}"'))
                window = pet.window()
                own = fraction_of_colour(self.desktop.grab(pet_rect(pet.frame(window), DEFAULT_SIZE)), OWN_COLOUR)
                self.snapshot(self._row_label + "idle")
                if "idle.png" in problems[0]:
                    self.assertEqual(own, 0, "the built-in idle picture")
                else:
                    self.assertGreater(own, 0.6, "the pet's rectangle in the picture's colour")
                self.exercise(pet)
                lines = [line for line in errors.read_text(encoding="utf-8").splitlines()
                         if line.startswith("glugmo: ")]
                self.assertEqual(len(lines), len(problems), lines)
                for problem in problems:
                    self.assertTrue(any(str(folder / problem.split()[0]) in line and problem in line
                                        for line in lines), f"{problem!r} in {lines}")

    def test_tray_icon_missing_shows_a_drawn_stand_in(self):
        pet = self.launch_exe(self.install(missing=("icon.png",)))
        self.exercise(pet)
        icon = wait_for(pet.tray_icon, 5, "an icon in the panel's tray")
        self.snapshot("tray-stand-in")
        drawn = 1 - fraction_of_colour(self.desktop.grab(self.desktop.geometry(icon)), PANEL)
        self.assertGreater(drawn, 0.3, "share of the tray icon drawn over the panel")


if __name__ == "__main__":
    main()
