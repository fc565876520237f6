#pragma once

#include <QFont>
#include <QString>

namespace glugmo {

// The bubble's font for `text`: 13 pixels, medium weight, from the pet's own
// cut of a Chinese font at `ownFont` (a few hundred glyphs, so drawing a line
// reads little of it) when it has every character of the text, else from a
// system family that has Chinese glyphs. Sized in pixels because X11
// converts points at 96 dpi, which would make the text a third larger than
// the bubble was drawn for.
QFont bubbleFont(const QString& ownFont, const QString& text);

}  // namespace glugmo
