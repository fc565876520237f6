#include "platform/qt/qt_status_item.h"

#include <QCursor>
#include <QDir>
#include <QGuiApplication>
#include <QPainter>

#include "platform/qt/qt_image.h"
#include "platform/qt/tray_host.h"
#include "platform/qt/tray_icon.h"

namespace glugmo {

namespace {
constexpr int kTrayWatchMs = 2000;
constexpr QSize kTitlePoints(20, 20);
}  // namespace

QtStatusItem::QtStatusItem(std::optional<QString> resourceFolder)
    : resourceFolder_(std::move(resourceFolder)), presenter_(menu_) {
    trayWatch_.setInterval(kTrayWatchMs);
    trayWatch_.setTimerType(Qt::VeryCoarseTimer);
    QObject::connect(&trayWatch_, &QTimer::timeout, [this] { showWhenTrayAvailable(); });
}

// A tray slot asks for its own size, from 16 pixels to 48 and more, and the
// icon hands it the nearest size drawn for it (scaled down, never up); the
// picture itself stands in where the drawn sizes are missing.
void QtStatusItem::setImage(std::shared_ptr<const Image> image, Size) {
    const auto* picture = dynamic_cast<const QtImage*>(image.get());
    if (!picture || picture->frameCount() == 0) return;
    std::optional<QString> drawn;
    if (resourceFolder_) drawn = QDir(*resourceFolder_).filePath(QStringLiteral("icons"));
    setIcon(trayIcon(QPixmap::fromImage(picture->frame(0)), drawn));
}

void QtStatusItem::setTitle(const std::string& title) {
    const qreal dpr = qApp->devicePixelRatio();
    QPixmap pixmap(kTitlePoints * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    QFont font = painter.font();
    font.setPixelSize(16);
    painter.setFont(font);
    painter.drawText(QRect(QPoint(0, 0), kTitlePoints), Qt::AlignCenter,
                     QString::fromStdString(title));
    painter.end();
    setIcon(QIcon(pixmap));
}

void QtStatusItem::setToolTip(const std::string& toolTip) {
    toolTip_ = QString::fromStdString(toolTip);
    if (tray_) tray_->setToolTip(toolTip_);
}

void QtStatusItem::setMenu(std::shared_ptr<Menu> menu) { presenter_.setModel(std::move(menu)); }

void QtStatusItem::setIcon(const QIcon& icon) {
    icon_ = icon;
    if (tray_) tray_->setIcon(icon_);
    showWhenTrayAvailable();
}

void QtStatusItem::showWhenTrayAvailable() {
    if (tray_ || icon_.isNull()) return;
    if (!trayHostPresent()) {
        if (!trayWatch_.isActive()) trayWatch_.start();
        return;
    }
    trayWatch_.stop();
    tray_ = std::make_unique<QSystemTrayIcon>(icon_);
    tray_->setToolTip(toolTip_);
    tray_->setContextMenu(&menu_);
    QObject::connect(tray_.get(), &QSystemTrayIcon::activated,
                     [this](QSystemTrayIcon::ActivationReason reason) {
                         if (reason == QSystemTrayIcon::Trigger) menu_.popup(QCursor::pos());
                     });
    tray_->show();
}

}  // namespace glugmo
