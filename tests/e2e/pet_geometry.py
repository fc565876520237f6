"""Where the pet's windows belong on a screen, in X11 pixels (top-left
origin, y down), from the sizes the pet is drawn at."""

ASPECT = 599 / 523       # height / width of the pet artwork
DEFAULT_SIZE = 120


def pet_height(size):
    return size * ASPECT


def window_size(size):
    """The pet plus 0.23 s of air on each side, 0.12 h above and 0.1 h below."""
    return 1.46 * size, pet_height(size) * 1.22


def default_frame(workarea, size=DEFAULT_SIZE):
    """60 points in from the work area's right edge and 40 above its bottom."""
    x, y, w, h = workarea
    width, height = window_size(size)
    return (x + w - width - 60, y + h - 40 - height, width, height)


def pet_rect(frame, size):
    """The pet view inside a window frame; its margins let clicks through."""
    x, y, _, _ = frame
    return (x + 0.23 * size, y + 0.12 * pet_height(size), size, pet_height(size))


def centre(box):
    x, y, w, h = box
    return (x + w / 2, y + h / 2)
