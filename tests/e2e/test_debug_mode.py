"""GLG_DEBUG: three lines on stdout and two pictures in /tmp."""

import os
from pathlib import Path

from PIL import Image

from pet_geometry import DEFAULT_SIZE, window_size
from pet_test_case import PetTestCase, main
from pixels import fraction_of_colour

PET_RENDER = Path("/tmp/pet_render.png")
BUBBLE_RENDER = Path("/tmp/bubble_render.png")


class DebugModeTest(PetTestCase):

    def expected_status_line(self):
        """The window frame in the program's own terms: points, origin at the
        screen's bottom-left, each number as the shortest text that reads
        back to the same double."""
        area_x, area_y, area_w, area_h = self.desktop.workarea()
        area_bottom = self.desktop.screen_size()[1] - (area_y + area_h)
        w, h = window_size(DEFAULT_SIZE)
        frame = (area_x + area_w - w - 60, area_bottom + 40, w, h)
        return "DEBUG visible=true frame=({}) hasImage=true".format(", ".join(repr(float(v)) for v in frame))

    def test_debug_mode_prints_three_lines_and_writes_two_pictures(self):
        for picture in (PET_RENDER, BUBBLE_RENDER):
            picture.unlink(missing_ok=True)
        pet = self.launch(debug="")  # present, even empty, turns it on
        status = pet.output_line("DEBUG visible=", 8)
        pet.output_line("DEBUG bubble render", 4)
        self.assertEqual(status, self.expected_status_line())
        lines = [(t, text) for t, text in pet.lines if text.startswith("DEBUG")]
        self.assertTrue(1.9 < lines[0][0] - pet.started < 4, "the status comes about two seconds after start")
        self.assertEqual([text for _, text in lines][1:], ["DEBUG render saved", "DEBUG bubble render saved"])
        self.assertGreaterEqual(lines[2][0] - lines[1][0], 0.4, "the bubble is rendered half a second later")

        with Image.open(PET_RENDER) as pet_picture:
            self.assertEqual(pet_picture.format, "PNG")
            alpha = pet_picture.convert("RGBA").getchannel("A")
            opaque = sum(1 for a in alpha.getdata() if a > 200) / (alpha.width * alpha.height)
            self.assertTrue(0.2 < opaque < 0.95, f"a pet on a transparent background, opaque share {opaque:.2f}")
            self.assertAlmostEqual(pet_picture.height / pet_picture.width, 599 / 523, delta=0.03)
        with Image.open(BUBBLE_RENDER) as bubble_picture:
            self.assertEqual(bubble_picture.format, "PNG")
            rgb = bubble_picture.convert("RGB")
            self.assertGreater(fraction_of_colour(rgb, (5, 51, 107), tolerance=12), 0.4, "dark blue bubble")
            self.assertGreater(1 - fraction_of_colour(rgb, (5, 51, 107), tolerance=60), 0.02, "with light text")
        for picture in (PET_RENDER, BUBBLE_RENDER):
            self.assertEqual(picture.stat().st_uid, os.getuid())


if __name__ == "__main__":
    main()
