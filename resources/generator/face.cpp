#include "face.h"

#include <QPainterPath>
#include <cmath>

#include "ink.h"
#include "shapes.h"
#include "style.h"

namespace artwork {

namespace {

constexpr double kEyeX = 50;
constexpr double kLineWidth = 7;

void fillInk(QPainter& p, const QPainterPath& shape, const QColor& colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(shape);
}

void glint(QPainter& p, QPointF at, double r) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour::white);
    p.drawEllipse(at, r, r);
}

// One eye at `c`; `outer` is -1 for the left eye, +1 for the right one.
void drawEye(QPainter& p, Eyes eyes, QPointF c, double outer) {
    QPainterPath path;
    switch (eyes) {
        case Eyes::Calm: {
            // Half-closed under a soft lid: friendly, and a little tired.
            QPainterPath oval;
            oval.addEllipse(c + QPointF(0, 1), 12, 15);
            QPainterPath below;
            below.addRect(QRectF(c + QPointF(-20, -1), c + QPointF(20, 30)));
            fillInk(p, oval.intersected(below), colour::outline);
            QPainterPath lid(c + QPointF(-16, 3));
            lid.quadTo(c + QPointF(0, -6), c + QPointF(16, 3));
            strokeInk(p, lid, 6);
            glint(p, c + QPointF(-outer * 4, 6), 3.5);
            return;
        }
        case Eyes::Open:
            path.addEllipse(c, 13, 18);
            fillInk(p, path, colour::outline);
            glint(p, c + QPointF(-outer * 4, -7), 5);
            return;
        case Eyes::Dot:
            path.addEllipse(c, 10, 10);
            fillInk(p, path, colour::outline);
            glint(p, c + QPointF(-3, -3), 3);
            return;
        case Eyes::Happy:
            path.moveTo(c + QPointF(-14, 6));
            path.quadTo(c + QPointF(0, -16), c + QPointF(14, 6));
            strokeInk(p, path, kLineWidth);
            return;
        case Eyes::Closed:
            path.moveTo(c + QPointF(-14, -2));
            path.quadTo(c + QPointF(0, 13), c + QPointF(14, -2));
            strokeInk(p, path, kLineWidth);
            return;
        case Eyes::Squeeze:
            path.moveTo(c + QPointF(outer * 13, -12));
            path.lineTo(c + QPointF(-outer * 11, 0));
            path.lineTo(c + QPointF(outer * 13, 12));
            strokeInk(p, path, kLineWidth);
            return;
        case Eyes::Wide:
            path.addEllipse(c + QPointF(0, -4), 22, 25);
            fillOutlined(p, path, colour::white);
            fillInk(p, circlePath(c + QPointF(0, -2), 8), colour::outline);
            glint(p, c + QPointF(-3, -5), 3);
            return;
        case Eyes::Spiral:
            strokeInk(p, spiralPath(c, 19, 2.4, outer), 5);
            return;
        case Eyes::Star:
            fillOutlined(p, sparklePath(c + QPointF(0, -2), 24, 0.38), colour::gold);
            return;
    }
}

void drawBrows(QPainter& p, Brows brows, QPointF c) {
    for (double side : {-1.0, 1.0}) {
        QPainterPath brow;
        const QPointF e = c + QPointF(side * kEyeX, -6);
        bool raised = brows == Brows::Raised || (brows == Brows::Puzzled && side > 0);
        if (brows == Brows::Worried) {
            brow.moveTo(e + QPointF(side * 18, -30));
            brow.lineTo(e + QPointF(-side * 14, -42));
        } else if (raised) {
            brow.moveTo(e + QPointF(-16, -40));
            brow.quadTo(e + QPointF(0, -54), e + QPointF(16, -40));
        } else if (brows == Brows::Puzzled) {
            brow.moveTo(e + QPointF(-16, -32));
            brow.lineTo(e + QPointF(16, -30));
        } else {
            return;
        }
        strokeInk(p, brow, 6);
    }
}

void drawMouth(QPainter& p, Mouth mouth, QPointF c) {
    QPainterPath path;
    switch (mouth) {
        case Mouth::Smile:
            path.moveTo(c + QPointF(-15, -3));
            path.quadTo(c + QPointF(0, 11), c + QPointF(15, -3));
            strokeInk(p, path, 6);
            return;
        case Mouth::Flat:
            path.moveTo(c + QPointF(-12, 3));
            path.lineTo(c + QPointF(11, -1));
            strokeInk(p, path, 6);
            return;
        case Mouth::Wavy:
            path.moveTo(c + QPointF(-24, 2));
            for (int i = 0; i < 4; ++i) {
                const double x = -24 + 12 * (i + 1);
                path.quadTo(c + QPointF(x - 6, i % 2 ? 10 : -6), c + QPointF(x, 2));
            }
            strokeInk(p, path, 5);
            return;
        case Mouth::Oh:
            path.addEllipse(c + QPointF(0, 4), 11, 14);
            fillOutlined(p, path, colour::mouth);
            return;
        case Mouth::Sip:
            path.addEllipse(c + QPointF(0, 2), 7, 6);
            fillOutlined(p, path, colour::mouth);
            return;
        case Mouth::Grin:
        case Mouth::Laugh: {
            const bool big = mouth == Mouth::Laugh;
            const double w = big ? 34 : 24, d = big ? 48 : 30;
            path.moveTo(c + QPointF(-w, -6));
            path.cubicTo(c + QPointF(-w, d), c + QPointF(w, d), c + QPointF(w, -6));
            path.closeSubpath();
            p.setPen(Qt::NoPen);
            p.setBrush(colour::mouth);
            p.drawPath(path);
            p.save();
            p.setClipPath(path);
            p.setBrush(colour::tongue);
            p.drawEllipse(c + QPointF(0, d * 0.78), w * 0.6, d * 0.4);
            p.restore();
            fillOutlined(p, path, Qt::transparent);
            return;
        }
    }
}

}  // namespace

void drawFace(QPainter& p, const Pose& pose, QPointF c) {
    if (pose.blush > 0) {
        p.setPen(Qt::NoPen);
        p.setBrush(colour::cheek);
        for (double side : {-1.0, 1.0}) {
            p.drawEllipse(c + QPointF(side * 86, 22), 21 * pose.blush, 12 * pose.blush);
        }
    }
    drawEye(p, pose.eyes, c + QPointF(-kEyeX, -6), -1);
    drawEye(p, pose.eyes, c + QPointF(kEyeX, -6), 1);
    drawBrows(p, pose.brows, c);
    drawMouth(p, pose.mouth, c + QPointF(0, 26));
    if (pose.sweat) {
        fillOutlined(p, dropPath(11, c.y() - 60, 24).translated(c.x() + 112, 0), colour::water);
    }
}

}  // namespace artwork
