#include "platform/qt/qt_status_item.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPainter>

#include "platform/qt/qt_image.h"

namespace glugmo {

namespace {
constexpr int kTrayWatchMs = 5000;
constexpr QSize kIconPoints(20, 20);

QPixmap blankIcon(QSize points, qreal dpr) {
    QPixmap pixmap(points * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    return pixmap;
}
}  // namespace

QtStatusItem::QtStatusItem() : presenter_(menu_) {
    tray_.setContextMenu(&menu_);
    QObject::connect(&tray_, &QSystemTrayIcon::activated,
                     [this](QSystemTrayIcon::ActivationReason reason) {
                         if (reason == QSystemTrayIcon::Trigger) menu_.popup(QCursor::pos());
                     });
    trayWatch_.setInterval(kTrayWatchMs);
    trayWatch_.setTimerType(Qt::VeryCoarseTimer);
    QObject::connect(&trayWatch_, &QTimer::timeout, [this] { showWhenTrayAvailable(); });
}

void QtStatusItem::setImage(std::shared_ptr<const Image> image, Size pointSize) {
    const auto* picture = dynamic_cast<const QtImage*>(image.get());
    if (!picture || picture->frameCount() == 0) return;
    const qreal dpr = qApp->devicePixelRatio();
    const QSize points = pointSize.width > 0 && pointSize.height > 0
                             ? QSize(qRound(pointSize.width), qRound(pointSize.height))
                             : kIconPoints;
    QPixmap pixmap = blankIcon(points, dpr);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QImage& source = picture->frame(0);
    const QSizeF fitted = QSizeF(source.size()).scaled(QSizeF(points), Qt::KeepAspectRatio);
    const QRectF target(
        QPointF((points.width() - fitted.width()) / 2, (points.height() - fitted.height()) / 2),
        fitted);
    painter.drawImage(target, source.scaled((fitted * dpr).toSize(), Qt::KeepAspectRatio,
                                            Qt::SmoothTransformation));
    painter.end();
    setIcon(pixmap);
}

void QtStatusItem::setTitle(const std::string& title) {
    QPixmap pixmap = blankIcon(kIconPoints, qApp->devicePixelRatio());
    QPainter painter(&pixmap);
    QFont font = painter.font();
    font.setPixelSize(16);
    painter.setFont(font);
    painter.drawText(QRect(QPoint(0, 0), kIconPoints), Qt::AlignCenter,
                     QString::fromStdString(title));
    painter.end();
    setIcon(pixmap);
}

void QtStatusItem::setToolTip(const std::string& toolTip) {
    tray_.setToolTip(QString::fromStdString(toolTip));
}

void QtStatusItem::setMenu(std::shared_ptr<Menu> menu) { presenter_.setModel(std::move(menu)); }

void QtStatusItem::setIcon(const QPixmap& pixmap) {
    tray_.setIcon(QIcon(pixmap));
    showWhenTrayAvailable();
}

void QtStatusItem::showWhenTrayAvailable() {
    if (tray_.isVisible()) return;
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        tray_.show();
        trayWatch_.stop();
    } else if (!trayWatch_.isActive()) {
        trayWatch_.start();
    }
}

}  // namespace glugmo
