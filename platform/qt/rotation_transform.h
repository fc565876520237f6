#pragma once

#include <QPointF>
#include <QTransform>

namespace glugmo {

// The rotation by `angle` radians about `pivot`, as QTransform::rotateRadians
// turns (counter-clockwise in y-up coordinates, clockwise on screen), with a
// sine and cosine of our own: libm's sincos pages in about 280 KB of its code
// and tables, for good, to turn the pet by a fraction of a radian. Agrees
// with libm to an ulp or two.
QTransform rotationAbout(const QPointF& pivot, double angle);

}  // namespace glugmo
