#include "platform/qt/qt_window_system.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>

#include "platform/qt/coordinates.h"
#include "platform/qt/qt_bubble_panel.h"
#include "platform/qt/qt_image_view.h"
#include "platform/qt/qt_pet_window.h"
#include "platform/qt/qt_status_item.h"
#include "platform/qt/x11_panels.h"

namespace glugmo {

namespace {

// Qt's available geometry of a monitor subtracts no panel once there are two
// monitors, so on X11 the panels' own claims decide. X11 measures in device
// pixels from the screen's corner; Qt keeps a monitor's corner and divides
// its size by the scale factor.
QRectF freeAreaOf(const QScreen& screen) {
    const std::optional<x11::PanelStruts> panels = x11::panelStruts();
    if (!panels) return QRectF(screen.availableGeometry());
    const QRectF logical(screen.geometry());
    const qreal scale = screen.devicePixelRatio();
    const Rect monitor = Rect::make(logical.left(), logical.top(), logical.width() * scale,
                                    logical.height() * scale);
    const Rect free = monitorFreeArea(monitor, panels->screen, panels->struts);
    const QRectF claimed(logical.left() + (free.minX() - monitor.minX()) / scale,
                         logical.top() + (free.minY() - monitor.minY()) / scale, free.size.width / scale,
                         free.size.height / scale);
    // Some window managers keep their own panel (fluxbox's toolbar, icewm's
    // taskbar) out of the window list and only in the work area, which Qt
    // has already cut from the monitor: both must be left free.
    const QRectF both = claimed.intersected(QRectF(screen.availableGeometry()));
    return both.isEmpty() ? claimed : both;
}

}  // namespace

QtWindowSystem::QtWindowSystem(std::optional<QString> resourceFolder)
    : resourceFolder_(std::move(resourceFolder)), popUpPresenter_(popUp_) {}

std::optional<Rect> QtWindowSystem::mainScreenVisibleFrame() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return std::nullopt;
    return fromQtScreen(freeAreaOf(*screen), screen->geometry());
}

std::optional<Rect> QtWindowSystem::screenFrameAt(Point point) const {
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary) return std::nullopt;
    const QPointF qtPoint = toQtScreen(Rect{point, {}}, primary->geometry()).topLeft();
    const QScreen* screen = QGuiApplication::screenAt(qtPoint.toPoint());
    return fromQtScreen(QRectF((screen ? screen : primary)->geometry()), primary->geometry());
}

std::unique_ptr<PetWindow> QtWindowSystem::makePetWindow(Rect contentRect,
                                                         bool ignoresMouseEvents) {
    return std::make_unique<QtPetWindow>(contentRect, ignoresMouseEvents);
}

std::unique_ptr<BubblePanel> QtWindowSystem::makeBubblePanel(Rect contentRect) {
    QString ownFont;
    if (resourceFolder_) ownFont = QDir(*resourceFolder_).filePath(QStringLiteral("fonts/glugmo-bubble.ttf"));
    return std::make_unique<QtBubblePanel>(contentRect, std::move(ownFont));
}

std::unique_ptr<StatusItem> QtWindowSystem::makeStatusItem() {
    return std::make_unique<QtStatusItem>(resourceFolder_);
}

void QtWindowSystem::popUpMenu(std::shared_ptr<Menu> menu, Point location, ImageView& view) {
    auto* qtView = dynamic_cast<QtImageView*>(&view);
    if (!menu || !qtView) return;
    popUpPresenter_.setModel(std::move(menu));
    popUp_.popup(qtView->globalPosition(location));
}

void QtWindowSystem::popUpMenuBeside(std::shared_ptr<Menu> menu, ImageView& view) {
    auto* qtView = dynamic_cast<QtImageView*>(&view);
    if (!menu || !qtView) return;
    popUpPresenter_.setModel(std::move(menu));
    const Rect frame = view.frame();
    const QPoint topLeft = qtView->globalPosition({0, frame.size.height});
    const QPoint bottomRight = qtView->globalPosition({frame.size.width, 0});
    const QSize size = popUp_.sizeHint();
    const QScreen* screen = QGuiApplication::screenAt((topLeft + bottomRight) / 2);
    if (!screen) screen = QGuiApplication::primaryScreen();
    const bool roomOnTheLeft = !screen || topLeft.x() - size.width() >= screen->geometry().left();
    // Qt keeps the menu on the screen by moving it up where it would not fit.
    popUp_.popup({roomOnTheLeft ? topLeft.x() - size.width() : bottomRight.x(),
                  bottomRight.y() - size.height()});
}

}  // namespace glugmo
