#pragma once

#include <QImage>
#include <QPointF>
#include <QRect>

namespace glugmo {

// Where a picture actually shows: its pixels with any alpha at all. The
// pet's pictures stand on wide transparent margins, and neither a repaint
// nor a rotation step needs to care about those.

// The smallest rectangle holding every pixel with alpha; empty when none has.
QRect opaqueBounds(const QImage& image);

// How far from `pivot` the farthest far corner of a pixel with alpha lies,
// the image's top-left corner sitting at `origin`; 0 when no pixel has alpha.
double farthestOpaqueDistance(const QImage& image, const QPointF& origin, const QPointF& pivot);

}  // namespace glugmo
