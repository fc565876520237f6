#include "props.h"

#include <QPainterPath>
#include <cmath>

#include "character.h"
#include "ink.h"
#include "shapes.h"
#include "style.h"

namespace artwork {

void drawHeart(QPainter& p, QPointF c, double size) {
    if (size <= 1) return;
    fillOutlined(p, heartPath(c, size), colour::heart);
    p.setPen(Qt::NoPen);
    p.setBrush(colour::white);
    p.drawEllipse(c + QPointF(-size * 0.24, -size * 0.2), size * 0.08, size * 0.08);
}

void drawSparkle(QPainter& p, QPointF c, double size) {
    if (size <= 1) return;
    fillOutlined(p, sparklePath(c, size / 2, 0.36), colour::gold);
}

void drawQuestionMark(QPainter& p, QPointF c, double height, double degrees) {
    p.save();
    p.translate(c);
    p.rotate(degrees);
    const double w = height * 0.17;
    strokeOutlined(p, questionHookPath({0, 0}, height), w, colour::orange);
    fillOutlined(p, circlePath(symbolDotCentre({0, 0}, height), w * 0.62), colour::orange);
    p.restore();
}

void drawExclamation(QPainter& p, QPointF c, double height, double degrees) {
    p.save();
    p.translate(c);
    p.rotate(degrees);
    const double w = height * 0.18;
    strokeOutlined(p, exclamationBarPath({0, 0}, height), w, colour::orange);
    fillOutlined(p, circlePath(symbolDotCentre({0, 0}, height), w * 0.62), colour::orange);
    p.restore();
}

void drawGlass(QPainter& p, QPointF base, double level, double degrees) {
    constexpr double kH = 115, kTop = 42, kBottom = 33;
    p.save();
    p.translate(base);
    p.rotate(degrees);
    QPainterPath glass;
    glass.moveTo(-kTop, -kH);
    glass.lineTo(kTop, -kH);
    glass.lineTo(kBottom, 0);
    glass.lineTo(-kBottom, 0);
    glass.closeSubpath();
    fillOutlined(p, glass, colour::highlight);
    if (level > 0) {
        // The water stays level with the ground while the glass tips.
        p.save();
        p.setClipPath(glass);
        p.rotate(-degrees);
        p.setPen(Qt::NoPen);
        p.setBrush(colour::water);
        const double surface = -kH * level;
        p.drawRect(QRectF(QPointF(-120, surface), QPointF(120, 60)));
        p.restore();
        fillOutlined(p, glass, Qt::transparent);
    }
    QPainterPath shine(QPointF(-kTop * 0.55, -kH * 0.85));
    shine.lineTo(-kBottom * 0.58, -kH * 0.2);
    p.setPen(QPen(colour::white, 7, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(shine);
    p.restore();
}

void drawTeaCup(QPainter& p, QPointF base, double degrees) {
    p.save();
    p.translate(base);
    p.rotate(degrees);
    p.scale(1.2, 1.2);
    QPainterPath handle;
    handle.addEllipse(QPointF(40, -36), 18, 20);
    strokeOutlined(p, handle, 9, colour::cup);
    QPainterPath cup;
    cup.moveTo(-44, -70);
    cup.lineTo(44, -70);
    cup.cubicTo(44, -20, 30, 0, 0, 0);
    cup.cubicTo(-30, 0, -44, -20, -44, -70);
    cup.closeSubpath();
    fillOutlined(p, cup, colour::cup);
    QPainterPath tea;
    tea.addEllipse(QPointF(0, -70), 44, 11);
    fillOutlined(p, tea, colour::tea);
    // The red band of the classic diner cup.
    QPainterPath band(QPointF(-42, -50));
    band.lineTo(42, -50);
    p.setPen(QPen(colour::heart, 6, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(band);
    p.restore();
}

void drawSteam(QPainter& p, QPointF base, double phase) {
    for (int i = 0; i < 3; ++i) {
        const double offset = (i - 1) * 24;
        const double height = 54 + 10 * std::sin(phase + i * 2.1);
        strokeOutlined(p, wispPath(base + QPointF(offset, -i % 2 * 8), height, phase + i * 1.7), 6,
                       colour::white);
    }
}

void drawPalms(QPainter& p, QPointF wrist, double size) {
    const double r = 22 * size;
    fillOutlined(p, dropPath(r, wrist.y() - r * 0.6, r * 2.4).translated(wrist.x(), 0),
                 colour::body);
    QPainterPath seam(wrist + QPointF(0, -r * 2.2));
    seam.lineTo(wrist + QPointF(0, r * 0.1));
    strokeInk(p, seam, 4);
}

void drawPompom(QPainter& p, QPointF c, double r, double twist) {
    fillOutlined(p, pompomPath(c, r, twist), colour::pompom);
    // Strands fanning out from the grip.
    p.setPen(QPen(colour::mouth, r * 0.12, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 5; ++i) {
        const double a = twist + i * 1.26;
        p.drawLine(c + QPointF(std::cos(a), std::sin(a)) * r * 0.25,
                   c + QPointF(std::cos(a), std::sin(a)) * r * 0.85);
    }
}

void drawSatchel(QPainter& p, double swing) {
    const double r = kBodyRadius, cy = kBodyCentreY;
    const QPointF bag(r * 0.86, cy + 66);
    // Over the right shoulder, clear of the face.
    QPainterPath strap(QPointF(r * 0.40, cy - r * 1.05));
    strap.quadTo(QPointF(r * 1.02, cy - r * 0.55), bag + QPointF(4, -30));
    strokeOutlined(p, strap, 11, colour::bag.darker(125));
    p.save();
    p.translate(bag);
    p.rotate(swing);
    QPainterPath box;
    box.addRoundedRect(QRectF(-48, -36, 96, 72), 14, 14);
    fillOutlined(p, box, colour::bag);
    QPainterPath flap(QPointF(-48, -22));
    flap.cubicTo(-48, -40, 48, -40, 48, -22);
    flap.lineTo(48, 2);
    flap.quadTo(0, 16, -48, 2);
    flap.closeSubpath();
    fillOutlined(p, flap, colour::bag.darker(125));
    fillOutlined(p, circlePath({0, 6}, 7), colour::gold);
    p.restore();
}

void drawStormCloud(QPainter& p, QPointF c, double width, bool lightning, double rain) {
    if (rain > 0) {
        for (int i = 0; i < 4; ++i) {
            const double x = c.x() + (i - 1.5) * width * 0.2;
            const double y = c.y() + width * 0.24 + std::fmod(rain * 60 + i * 23, 60);
            QPainterPath drop(QPointF(x, y));
            drop.lineTo(x - 5, y + 16);
            strokeOutlined(p, drop, 5, colour::water);
        }
    }
    if (lightning)
        fillOutlined(p, boltPath(c + QPointF(-8, width * 0.1), width * 0.62), colour::gold);
    fillOutlined(p, cloudPath(c, width), colour::cloud);
}

void drawMotionMarks(QPainter& p, QPointF c, double size, double direction) {
    // Pale strokes with the outline, so they show on dark wallpapers too.
    for (double row : {-0.5, 0.5}) {
        QPainterPath arc(c + QPointF(0, (row - 0.3) * size));
        arc.quadTo(c + QPointF(direction * size * 0.3, row * size),
                   c + QPointF(0, (row + 0.3) * size));
        strokeOutlined(p, arc, 5, colour::highlight);
    }
}

}  // namespace artwork
