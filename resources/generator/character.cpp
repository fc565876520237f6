#include "character.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "face.h"
#include "ink.h"
#include "style.h"

namespace artwork {

namespace {

constexpr double kArmWidth = 30;
constexpr double kPi = 3.14159265358979323846;

QPointF shoulder(const Arm& arm, Side side) {
    // A front arm starts on the belly; a back arm hides its root behind the
    // body, and slides up the side as it is raised so that a raised hand
    // clears the head.
    const double raised = std::clamp((arm.angle - 60) / 100, 0.0, 1.0);
    const QPointF right =
        arm.inFront ? QPointF(kBodyRadius * 0.55, kBodyCentreY + 34)
                    : QPointF(kBodyRadius * 0.80 - 10 * raised, kBodyCentreY + 12 - 70 * raised);
    return side == Side::Right ? right : QPointF(-right.x(), right.y());
}

const Arm& armFor(const Pose& pose, Side side) {
    return side == Side::Right ? pose.right : pose.left;
}

void drawArm(QPainter& p, const Pose& pose, Side side) {
    QPainterPath line(shoulder(armFor(pose, side), side));
    line.lineTo(handPoint(pose, side));
    strokeOutlined(p, line, kArmWidth, colour::body);
}

void drawFeet(QPainter& p) {
    for (double x : {-58.0, 58.0}) {
        QPainterPath foot;
        foot.addEllipse(QPointF(x, -17), 34, 16);
        fillOutlined(p, foot, colour::shade);
    }
}

void drawBody(QPainter& p) {
    const QPainterPath body = dropPath(kBodyRadius, kBodyCentreY, kTipHeight);
    p.setPen(Qt::NoPen);
    p.setBrush(colour::body);
    p.drawPath(body);

    // Flat cel shading: a crescent on the lower right and a glossy streak on
    // the upper left. Flat colours keep the GIF palette exact and small.
    p.setBrush(colour::shade);
    p.drawPath(body.subtracted(body.translated(-22, -18)));

    p.setBrush(colour::highlight);
    p.save();
    p.translate(-kBodyRadius * 0.52, kBodyCentreY - kBodyRadius * 0.62);
    p.rotate(28);
    p.drawEllipse(QPointF(0, 0), 15, 40);
    p.restore();
    p.drawEllipse(QPointF(-kBodyRadius * 0.74, kBodyCentreY - kBodyRadius * 0.22), 8, 8);

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour::outline, kOutline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(body);
}

}  // namespace

QPainterPath dropPath(double radius, double centreY, double tipHeight) {
    const double r = radius;
    const QPointF tip(0, centreY - tipHeight);
    QPainterPath path(tip);
    path.cubicTo(tip + QPointF(r * 0.24, r * 0.34), QPointF(r, centreY - r * 0.88),
                 QPointF(r, centreY));
    path.arcTo(QRectF(-r, centreY - r, 2 * r, 2 * r), 0, -180);
    path.cubicTo(QPointF(-r, centreY - r * 0.88), tip + QPointF(-r * 0.24, r * 0.34), tip);
    path.closeSubpath();
    return path;
}

QTransform bodyTransform(const Pose& pose) {
    QTransform t;
    t.translate(0, -pose.lift);
    t.rotate(pose.lean);
    t.scale(1 / std::sqrt(pose.stretch), pose.stretch);
    return t;
}

QPointF handPoint(const Pose& pose, Side side) {
    const Arm& arm = armFor(pose, side);
    const double a = arm.angle * kPi / 180;
    const double outwards = side == Side::Right ? 1 : -1;
    return shoulder(arm, side) + QPointF(outwards * std::sin(a), std::cos(a)) * arm.length;
}

Arm armReaching(Side side, QPointF hand, bool inFront) {
    Arm arm;
    arm.inFront = inFront;
    const double outwards = side == Side::Right ? 1 : -1;
    // The shoulder slides with the angle, so settle the two together.
    for (int pass = 0; pass < 3; ++pass) {
        const QPointF d = hand - shoulder(arm, side);
        arm.length = std::hypot(d.x(), d.y());
        arm.angle = std::atan2(outwards * d.x(), d.y()) * 180 / kPi;
    }
    return arm;
}

QPointF faceCentre(const Pose& pose) { return QPointF(0, kBodyCentreY - 6) + pose.face; }

void drawCharacter(QPainter& p, const Pose& pose) {
    p.save();
    p.translate(0, -pose.lift);
    drawFeet(p);
    p.restore();

    p.save();
    p.setTransform(bodyTransform(pose), true);
    for (Side side : {Side::Left, Side::Right}) {
        if (!armFor(pose, side).inFront) drawArm(p, pose, side);
    }
    drawBody(p);
    drawFace(p, pose, faceCentre(pose));
    for (Side side : {Side::Left, Side::Right}) {
        if (armFor(pose, side).inFront) drawArm(p, pose, side);
    }
    p.restore();
}

Pose idlePose() { return Pose{}; }

}  // namespace artwork
