#pragma once

#include <QPainter>
#include <QPointF>

// Symbols and objects that appear around the character, all inked like it.
namespace artwork {

void drawHeart(QPainter& p, QPointF c, double size);
void drawSparkle(QPainter& p, QPointF c, double size);
void drawQuestionMark(QPainter& p, QPointF c, double height, double degrees);
void drawExclamation(QPainter& p, QPointF c, double height, double degrees);
// A tumbler of water; `level` 0..1 of its height, `degrees` tilts it about its base.
void drawGlass(QPainter& p, QPointF base, double level, double degrees);
// A thick milk-tea cup seen from the side, handle to the right.
void drawTeaCup(QPainter& p, QPointF base, double degrees);
void drawSteam(QPainter& p, QPointF base, double phase);
// Two palms pressed together, fingers up, scaled by `size` (1 = full).
void drawPalms(QPainter& p, QPointF wrist, double size);
void drawPompom(QPainter& p, QPointF c, double r, double twist);
// A satchel resting on the right hip, its strap over the left shoulder.
void drawSatchel(QPainter& p, double swing);
void drawStormCloud(QPainter& p, QPointF c, double width, bool lightning, double rain);
// Short curved strokes beside something moving fast.
void drawMotionMarks(QPainter& p, QPointF c, double size, double direction);

}  // namespace artwork
