"""Small measurements on screenshots."""

from PIL import ImageChops


def fraction_of_colour(image, rgb, tolerance=8):
    """Share of the pixels within `tolerance` of rgb on every channel."""
    pixels = list(image.getdata())
    close = sum(1 for p in pixels if all(abs(c - r) <= tolerance for c, r in zip(p, rgb)))
    return close / len(pixels)


def changed_pixels(before, after, tolerance=24):
    """How many pixels differ by more than `tolerance` on some channel."""
    diff = ImageChops.difference(before, after).getdata()
    return sum(1 for p in diff if max(p) > tolerance)

