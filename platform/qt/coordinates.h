#pragma once

#include <QPointF>
#include <QRect>
#include <QRectF>

#include "platform/geometry.h"

namespace glugmo {

// The behaviour measures in points from the bottom-left corner of the
// primary screen, y growing upward; Qt measures in device-independent pixels
// (the same unit) from the top-left corner of the desktop, y growing
// downward. Every conversion between the two goes through these functions.

// Screen coordinates, against the primary screen's full geometry.
QRectF toQtScreen(Rect rect, const QRect& primaryScreen);
Rect fromQtScreen(const QRectF& rect, const QRect& primaryScreen);

// Coordinates inside a window or view of the given height.
QRectF toQtLocal(Rect rect, double containerHeight);
QPointF toQtLocal(Point point, double containerHeight);

// X11 places windows on whole pixels.
QRect toWholePixels(const QRectF& rect);

// The primary screen's full geometry, or an empty rectangle without a screen.
QRect primaryScreenGeometry();

}  // namespace glugmo
