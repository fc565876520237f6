#pragma once

#include <QColor>
#include <QPainter>
#include <QPainterPath>

// The two ways everything is inked: a filled shape with the navy outline, or
// a thick coloured line with the outline around it. Both keep a dark edge on
// every shape so the GIF's on/off transparency never shows a light fringe.
namespace artwork {

void fillOutlined(QPainter& p, const QPainterPath& shape, const QColor& fill);
void strokeOutlined(QPainter& p, const QPainterPath& line, double width, const QColor& colour);
// A plain navy line (mouths, lids, motion marks).
void strokeInk(QPainter& p, const QPainterPath& line, double width);

}  // namespace artwork
