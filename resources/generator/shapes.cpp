#include "shapes.h"

#include <cmath>

namespace artwork {

namespace {
constexpr double kPi = 3.14159265358979323846;
QPointF polar(QPointF c, double r, double radians) {
    return c + QPointF(r * std::cos(radians), r * std::sin(radians));
}
}  // namespace

QPainterPath circlePath(QPointF c, double r) {
    QPainterPath path;
    path.addEllipse(c, r, r);
    return path;
}

QPainterPath spiralPath(QPointF c, double r, double turns, double direction) {
    QPainterPath path(c);
    const int steps = static_cast<int>(turns * 24);
    for (int i = 1; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        path.lineTo(polar(c, r * t, direction * t * turns * 2 * kPi));
    }
    return path;
}

QPainterPath sparklePath(QPointF c, double r, double waist) {
    QPainterPath path(c + QPointF(0, -r));
    for (int i = 1; i <= 4; ++i) {
        const QPointF tip = polar(c, r, -kPi / 2 + i * kPi / 2);
        path.quadTo(c + (path.currentPosition() + tip - 2.0 * c) * waist * 0.5, tip);
    }
    path.closeSubpath();
    return path;
}

QPainterPath heartPath(QPointF c, double size) {
    const double s = size / 2;
    QPainterPath path(c + QPointF(0, s * 0.95));
    path.cubicTo(c + QPointF(-s * 0.35, s * 0.65), c + QPointF(-s * 1.05, s * 0.15),
                 c + QPointF(-s, -s * 0.35));
    path.cubicTo(c + QPointF(-s * 0.95, -s * 1.05), c + QPointF(-s * 0.15, -s * 1.05),
                 c + QPointF(0, -s * 0.45));
    path.cubicTo(c + QPointF(s * 0.15, -s * 1.05), c + QPointF(s * 0.95, -s * 1.05),
                 c + QPointF(s, -s * 0.35));
    path.cubicTo(c + QPointF(s * 1.05, s * 0.15), c + QPointF(s * 0.35, s * 0.65),
                 c + QPointF(0, s * 0.95));
    path.closeSubpath();
    return path;
}

QPainterPath questionHookPath(QPointF c, double h) {
    const double u = h / 10;
    QPainterPath path(c + QPointF(-2.6 * u, -2.4 * u));
    path.cubicTo(c + QPointF(-2.6 * u, -5.4 * u), c + QPointF(2.8 * u, -5.4 * u),
                 c + QPointF(2.8 * u, -2.6 * u));
    path.cubicTo(c + QPointF(2.8 * u, -0.6 * u), c + QPointF(0, -0.4 * u), c + QPointF(0, 1.6 * u));
    return path;
}

QPainterPath exclamationBarPath(QPointF c, double h) {
    const double u = h / 10;
    QPainterPath path(c + QPointF(0, -4.6 * u));
    path.lineTo(c + QPointF(0, 1.4 * u));
    return path;
}

QPointF symbolDotCentre(QPointF c, double h) { return c + QPointF(0, 0.42 * h); }

QPainterPath cloudPath(QPointF c, double width) {
    const double u = width / 10;
    QPainterPath path;
    path.addRoundedRect(QRectF(c + QPointF(-4.6 * u, -0.6 * u), c + QPointF(4.6 * u, 2.2 * u)),
                        1.4 * u, 1.4 * u);
    path = path.united(circlePath(c + QPointF(-2.4 * u, -0.4 * u), 2.0 * u));
    path = path.united(circlePath(c + QPointF(0.6 * u, -1.3 * u), 2.7 * u));
    path = path.united(circlePath(c + QPointF(3.2 * u, 0.1 * u), 1.8 * u));
    return path.simplified();
}

QPainterPath boltPath(QPointF top, double height) {
    const double u = height / 10;
    QPainterPath path(top + QPointF(1.2 * u, 0));
    path.lineTo(top + QPointF(-2.2 * u, 5.2 * u));
    path.lineTo(top + QPointF(0.2 * u, 5.2 * u));
    path.lineTo(top + QPointF(-1.4 * u, 10 * u));
    path.lineTo(top + QPointF(3.0 * u, 3.8 * u));
    path.lineTo(top + QPointF(0.6 * u, 3.8 * u));
    path.lineTo(top + QPointF(2.6 * u, 0));
    path.closeSubpath();
    return path;
}

QPainterPath pompomPath(QPointF c, double r, double twist) {
    // A ball of small round tufts: reads as fluffy ribbon at any size.
    constexpr int kTufts = 14;
    QPainterPath path(polar(c, r, twist));
    for (int i = 1; i <= kTufts; ++i) {
        const double a0 = twist + (i - 1) * 2 * kPi / kTufts;
        const double a1 = twist + i * 2 * kPi / kTufts;
        path.quadTo(polar(c, r * 1.3, (a0 + a1) / 2), polar(c, r, a1));
    }
    path.closeSubpath();
    return path;
}

QPainterPath wispPath(QPointF base, double height, double phase) {
    QPainterPath path(base);
    constexpr int kSteps = 12;
    for (int i = 1; i <= kSteps; ++i) {
        const double t = static_cast<double>(i) / kSteps;
        const double sway = std::sin(t * 2.2 * kPi + phase) * height * 0.09 * (0.4 + t);
        path.lineTo(base + QPointF(sway, -t * height));
    }
    return path;
}

}  // namespace artwork
