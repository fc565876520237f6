"""Quotes file rows: bytes that are not text, odd sizes, and a file or folder
the pet may not read or write. Unusable files give the built-in quips; no
row may change what the user has on disk."""

import unittest

from matrix_case import (DEFAULT_SIZE, LONG_QUIP, SHORT_BUBBLE, MatrixCase, centre, fingerprint, main,
                         pet_rect, wait_for)

BOM = b"\xef\xbb\xbf"
ONE_MEGABYTE_QUIP = "测" * (2 ** 20 // 3 + 1)


class QuotesTest(MatrixCase):

    def click_with_quotes(self, data=None, launcher=None):
        """Writes the quotes file (unless already in place), runs a row and
        returns the click's bubble box."""
        if data is not None:
            self.home.write_quotes(data)
        before = fingerprint(self.home.quotes_file)
        box = self.exercise(self.launch_exe(launcher))
        self.assertEqual(fingerprint(self.home.quotes_file), before, "the quotes file changed")
        return box

    def assertBuiltInQuip(self, box):
        self.assertLess(box[3], SHORT_BUBBLE, f"a built-in quip's bubble, got {box}")

    def assertQuipFromFile(self, box):
        self.assertGreater(box[3], SHORT_BUBBLE, f"the file's long quip, got {box}")

    def test_invalid_utf8_gives_the_built_in_quips(self):
        self.assertBuiltInQuip(self.click_with_quotes(LONG_QUIP.encode() + b"\n\xff\xfe\n" + LONG_QUIP.encode()))

    def test_a_byte_order_mark_is_not_part_of_the_first_quip(self):
        # Kept, the mark would hold the blanks after it inside the quip, and
        # they would push "功德" onto a line of its own; dropped, they are
        # trimmed and the quip takes the smallest bubble.
        box = self.click_with_quotes(BOM + ("\u3000" * 30 + "功德").encode())
        self.assertEqual(box[2:], (90, 36), f"bubble {box}")

    def test_one_line_of_a_megabyte(self):
        self.click_with_quotes(ONE_MEGABYTE_QUIP.encode())

    def test_a_megabyte_quip_keeps_its_bubble_on_the_screen(self):
        self.home.write_quotes(ONE_MEGABYTE_QUIP.encode())
        pet = self.launch_exe()
        window = pet.window()
        self.desktop.click(centre(pet_rect(pet.frame(window), DEFAULT_SIZE)))
        bubble = wait_for(lambda: pet.bubble(window), 3, "the speech bubble")
        x, y, w, h = self.desktop.geometry(bubble)
        width, height = self.desktop.screen_size()
        self.assertTrue(0 <= x and 0 <= y and x + w <= width and y + h <= height, f"bubble {(x, y, w, h)}")

    def test_a_hundred_thousand_lines(self):
        lines = "\n".join(f"第{i}句" + "长" * 36 for i in range(100_000))
        self.assertQuipFromFile(self.click_with_quotes(lines.encode()))

    def test_only_whitespace_gives_the_built_in_quips(self):
        self.assertBuiltInQuip(self.click_with_quotes(" \t\n\r\n\u3000 \n\n".encode()))

    def test_a_folder_in_its_place_gives_the_built_in_quips(self):
        self.home.quotes_file.mkdir(parents=True)
        (self.home.quotes_file / "keep.txt").write_text("mine\n")
        self.assertBuiltInQuip(self.click_with_quotes())

    def test_an_unreadable_file_gives_the_built_in_quips(self):
        self.home.write_quotes(LONG_QUIP.encode())
        launcher = self.as_other_user()
        self.home.quotes_file.chmod(0)
        self.assertBuiltInQuip(self.click_with_quotes(launcher=launcher))

    def test_a_symbolic_link_is_read_and_never_rewritten(self):
        target = self.home.path / "elsewhere" / "mine.txt"
        target.parent.mkdir()
        target.write_text(LONG_QUIP + "\n")
        self.home.quotes_file.parent.mkdir(parents=True)
        self.home.quotes_file.symlink_to(target)
        before = fingerprint(target)
        self.assertQuipFromFile(self.click_with_quotes())
        self.assertEqual(fingerprint(target), before, "the link's target changed")

    def test_a_data_folder_it_cannot_write_on_first_launch(self):
        launcher = self.as_other_user()
        data = self.home.quotes_file.parents[1]
        data.chmod(0o555)
        self.assertBuiltInQuip(self.exercise(self.launch_exe(launcher)))
        self.assertEqual(list(data.iterdir()), [], "nothing created in the data folder")


if __name__ == "__main__":
    main()
