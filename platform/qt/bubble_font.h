#pragma once

#include <QFont>

namespace glugmo {

// The bubble's font: 13 pixels, medium weight, from a family that has
// Chinese glyphs. Sized in pixels because X11 converts points at 96 dpi,
// which would make the text a third larger than the bubble was drawn for.
QFont bubbleFont();

// Lets go of the font files' pages read so far, once the text is drawn.
void releaseFontPages();

}  // namespace glugmo
