#!/usr/bin/env python3
"""Cuts the bubble's font down to the characters the pet can say.

A Chinese font is several megabytes, and every glyph drawn reads a little of
it into the pet's memory; the pet's own lines use a few hundred characters.
This keeps those (every character above ASCII in the given source files),
printable ASCII, and renames the family so it is never taken for the full
font. Characters outside it still come from the system's fonts.

usage: subset_font.py SOURCE_FONT OUTPUT FAMILY TEXT_FILE...
"""

import sys

from fontTools import subset
from fontTools.ttLib import TTFont

# The name records that carry the family (1, 16), the unique and full names
# (3, 4, 18) and the PostScript name (6). The copyright and licence records
# stay as they are.
FAMILY_RECORDS = (1, 3, 4, 16, 18)
POSTSCRIPT_RECORD = 6


def characters_of(paths):
    wanted = {chr(code) for code in range(0x20, 0x7F)}
    for path in paths:
        with open(path, encoding="utf-8") as text:
            wanted.update(char for char in text.read() if ord(char) > 0x7F)
    return wanted


def main(argv):
    if len(argv) < 5:
        sys.stderr.write(__doc__)
        return 2
    source, output, family, texts = argv[1], argv[2], argv[3], argv[4:]
    font = TTFont(source, fontNumber=0, lazy=False, recalcBBoxes=False, recalcTimestamp=False)
    options = subset.Options()
    options.notdef_outline = True
    # At the desktop's usual slight hinting FreeType hints the outlines by
    # itself and never runs the font's own instructions, so they are left out.
    options.hinting = False
    options.name_IDs = ["*"]
    options.drop_tables += ["FFTM"]
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=[ord(char) for char in characters_of(texts)])
    subsetter.subset(font)
    for record in font["name"].names:
        if record.nameID in FAMILY_RECORDS:
            record.string = family
        elif record.nameID == POSTSCRIPT_RECORD:
            record.string = family.replace(" ", "")
    font.save(output)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
