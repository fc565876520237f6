#include "platform/qt/coordinates.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtMath>

namespace glugmo {

QRectF toQtScreen(Rect rect, const QRect& primaryScreen) {
    const double top =
        primaryScreen.top() + primaryScreen.height() - (rect.origin.y + rect.size.height);
    return {primaryScreen.left() + rect.origin.x, top, rect.size.width, rect.size.height};
}

Rect fromQtScreen(const QRectF& rect, const QRect& primaryScreen) {
    const double y = primaryScreen.top() + primaryScreen.height() - (rect.top() + rect.height());
    return Rect::make(rect.left() - primaryScreen.left(), y, rect.width(), rect.height());
}

QRectF toQtLocal(Rect rect, double containerHeight) {
    return {rect.origin.x, containerHeight - (rect.origin.y + rect.size.height), rect.size.width,
            rect.size.height};
}

QPointF toQtLocal(Point point, double containerHeight) {
    return {point.x, containerHeight - point.y};
}

QRect toWholePixels(const QRectF& rect) {
    return {qRound(rect.left()), qRound(rect.top()), qMax(1, qRound(rect.width())),
            qMax(1, qRound(rect.height()))};
}

QRect primaryScreenGeometry() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

}  // namespace glugmo
