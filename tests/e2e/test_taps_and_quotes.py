"""Clicking the pet: the speech bubble, the complaint after six quick clicks,
and the quotes file the quips come from."""

import time

from desktop import wait_for
from pet_geometry import centre
from pet_test_case import BACKDROP, PetTestCase, main
from pixels import blend, fraction_of_colour

BUBBLE_BLUE = (5, 51, 107)
BUBBLE_ALPHA = 0.92

DEFAULT_QUOTES = "\n".join([
    "功德+1", "莫生气 +1", "工资+1", "好运+1", "发量+1", "收到（但不想做）", "划水也是一种泳姿",
    "活着就好", "今日份精神损失费未到账", "我是一块砖，哪里需要哪里搬", "尸体暖暖的",
    "这个需求很简单，怎么实现我不管", "先这样吧，也不是不行", "大脑寄存处，取件请排队",
    "努力不一定会成功，但不努力一定很舒服",
]).encode("utf-8")

# Long enough to wrap onto several lines, so its bubble is taller than the
# one-line complaint and than any default quip.
LONG_QUIP = "这是一句很长很长的测试语录" * 4


class TapTest(PetTestCase):

    def bubble_after_click(self, pet, window, point, settle=0.25):
        self.desktop.click(point)
        bubble = wait_for(lambda: pet.bubble(window), 1.5, "the speech bubble")
        time.sleep(settle)  # let a re-used bubble take its new size
        return bubble, self.desktop.geometry(bubble)

    def test_click_shows_a_bubble_above_the_pet_for_three_seconds(self):
        pet, window, frame, rect = self.launch_and_find()
        clicked = time.monotonic()
        bubble, box = self.bubble_after_click(pet, window, centre(rect))
        self.snapshot("bubble")
        x, y, w, h = box
        self.assertAlmostEqual(x + w / 2, rect[0] + rect[2] / 2, delta=1.5, msg="bubble centred on the pet")
        self.assertAlmostEqual(y + h, rect[1] - 8, delta=1.5, msg="bubble's bottom 8 points above the pet")
        fill = blend(BUBBLE_BLUE, BUBBLE_ALPHA, BACKDROP)
        self.assertGreater(fraction_of_colour(self.desktop.grab(box), fill, tolerance=10), 0.4,
                           "the bubble's dark blue over the backdrop")
        # Shown for 3 s, then a 0.4 s fade.
        time.sleep(max(0.0, clicked + 2.6 - time.monotonic()))
        self.assertTrue(self.desktop.viewable(bubble), "bubble still shown before 3 s")
        wait_for(lambda: not self.desktop.viewable(bubble), clicked + 5 - time.monotonic(), "the bubble to go")
        self.assertGreater(time.monotonic() - clicked, 3.0)

    def test_quips_come_from_a_one_line_quotes_file_and_the_sixth_quick_click_complains(self):
        self.home.write_quotes(LONG_QUIP.encode("utf-8"))
        pet, window, frame, rect = self.launch_and_find()
        x, y = centre(rect)
        spots = [(x - 12, y), (x + 12, y)]  # alternating, so no two clicks make a double click
        started = time.monotonic()
        _, first = self.bubble_after_click(pet, window, spots[0], settle=0.15)
        self.desktop.click_each([spots[1], spots[0], spots[1], spots[0]], gap=0.15)
        fifth = self.desktop.geometry(pet.bubble(window))
        sixth_click = time.monotonic()
        _, burst = self.bubble_after_click(pet, window, spots[1], settle=0.15)
        self.snapshot("burst")
        self.assertLess(sixth_click - started, 1.8, "the test clicked too slowly")
        self.assertTrue(self.desktop.viewable(window), "quick single clicks must not hide the pet")
        self.assertEqual(fifth[2:], first[2:], "every quip is the file's only line")
        self.assertGreater(first[3], burst[3] + 20, "the wrapped quip is taller than the complaint")

    def test_first_launch_writes_the_default_quotes_file(self):
        self.assertFalse(self.home.quotes_file.exists())
        pet = self.launch()
        pet.window()
        wait_for(self.home.quotes_file.exists, 3, "quotes.txt")
        self.assertEqual(self.home.quotes_file.read_bytes(), DEFAULT_QUOTES)

    def test_an_existing_quotes_file_is_left_as_it_is(self):
        mine = "# 我的语录\r\n第一句\r\n\r\n第二句\n".encode("utf-8")
        self.home.write_quotes(mine)
        pet = self.launch()
        pet.window()
        time.sleep(0.5)
        self.assertEqual(self.home.quotes_file.read_bytes(), mine)


if __name__ == "__main__":
    main()
