#include "ink.h"

#include "style.h"

namespace artwork {

namespace {
QPen roundPen(const QColor& colour, double width) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}
}  // namespace

void fillOutlined(QPainter& p, const QPainterPath& shape, const QColor& fill) {
    p.setPen(roundPen(colour::outline, kOutline));
    p.setBrush(fill);
    p.drawPath(shape);
}

void strokeOutlined(QPainter& p, const QPainterPath& line, double width, const QColor& colour) {
    p.setBrush(Qt::NoBrush);
    p.setPen(roundPen(colour::outline, width + 2 * kOutline));
    p.drawPath(line);
    p.setPen(roundPen(colour, width));
    p.drawPath(line);
}

void strokeInk(QPainter& p, const QPainterPath& line, double width) {
    p.setBrush(Qt::NoBrush);
    p.setPen(roundPen(colour::outline, width));
    p.drawPath(line);
}

}  // namespace artwork
