#include "stills.h"

#include <QPainterPath>

#include "character.h"
#include "style.h"

namespace artwork {

QImage renderCanvas(const std::function<void(QPainter&)>& draw) {
    QImage image(kCanvasWidth, kCanvasHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(kCanvasWidth / 2.0, kCanvasHeight);
    draw(p);
    return image;
}

QImage idlePicture() {
    return renderCanvas([](QPainter& p) { drawCharacter(p, idlePose()); });
}

QImage trayIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn on a 64-unit square; a thicker outline than the pet's so that it
    // survives being shown at 20 points.
    p.scale(size / 64.0, size / 64.0);
    const double r = 21, centreY = 40.5;
    const QPainterPath drop = dropPath(r, centreY, r * 1.72).translated(32, 0);
    p.setPen(QPen(colour::outline, 4.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(colour::body);
    p.drawPath(drop);
    p.setPen(Qt::NoPen);
    p.setBrush(colour::highlight);
    p.save();
    p.translate(32 - r * 0.5, centreY - r * 0.55);
    p.rotate(28);
    p.drawEllipse(QPointF(0, 0), 3.2, 7.5);
    p.restore();
    p.setBrush(colour::outline);
    p.drawEllipse(QPointF(32 - 7.5, centreY + 1), 2.6, 3.4);
    p.drawEllipse(QPointF(32 + 7.5, centreY + 1), 2.6, 3.4);
    return image;
}

}  // namespace artwork
