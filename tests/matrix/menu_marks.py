"""Which rows of an open menu carry a check mark, read from its pixels.

A row's text sits right of the check column; a ticked row has a dark tick in
that column, level with its text. Separators are drawn light grey and are not
rows."""

CHECK_COLUMN = (2, 24)   # x range of the check box, menu pixels
TEXT_COLUMN = 26         # where the titles start
DARK = 120               # every channel below this: ink, not frame or separator


def _ink_rows(image, x0, x1):
    """The y of every pixel row with dark ink between x0 and x1."""
    pixels = image.load()
    return [y for y in range(image.height)
            if any(max(pixels[x, y]) < DARK for x in range(x0, x1))]


def _bands(rows, gap=4):
    """Consecutive rows merged into (top, bottom) bands; a glyph's own gaps
    are smaller than `gap`, the space between menu rows is larger."""
    bands = []
    for y in rows:
        if bands and y - bands[-1][1] <= gap:
            bands[-1][1] = y
        else:
            bands.append([y, y])
    return [tuple(b) for b in bands]


def menu_marks(image):
    """One bool per menu row, top to bottom: whether it is ticked."""
    image = image.convert("RGB")
    titles = _bands(_ink_rows(image, TEXT_COLUMN, image.width - 8))
    ticks = _bands(_ink_rows(image, *CHECK_COLUMN))
    return [any(top <= t_bottom + 3 and t_top <= bottom + 3 for t_top, t_bottom in ticks)
            for top, bottom in titles]
