#pragma once

#include <QPainterPath>
#include <QPointF>

// Vector outlines of the symbols and props, centred on the given point.
namespace artwork {

QPainterPath circlePath(QPointF c, double r);
// Winds outwards from the centre; `direction` +1 clockwise, -1 anticlockwise.
QPainterPath spiralPath(QPointF c, double r, double turns, double direction);
// A four-pointed twinkle; `waist` is the inner radius as a share of r.
QPainterPath sparklePath(QPointF c, double r, double waist);
// `size` is the full width.
QPainterPath heartPath(QPointF c, double size);
// Centre lines, meant for strokeOutlined: the hook of "?" and the bar of "!";
// the dot is a circle below. `h` is the symbol's full height.
QPainterPath questionHookPath(QPointF c, double h);
QPainterPath exclamationBarPath(QPointF c, double h);
QPointF symbolDotCentre(QPointF c, double h);
QPainterPath cloudPath(QPointF c, double width);
QPainterPath boltPath(QPointF top, double height);
QPainterPath pompomPath(QPointF c, double r, double twist);
// A rising, wobbling line from `base` upwards.
QPainterPath wispPath(QPointF base, double height, double phase);

}  // namespace artwork
