#include "platform/qt/qt_window_system.h"

#include <QGuiApplication>
#include <QScreen>

#include "platform/qt/coordinates.h"
#include "platform/qt/qt_bubble_panel.h"
#include "platform/qt/qt_image_view.h"
#include "platform/qt/qt_pet_window.h"
#include "platform/qt/qt_status_item.h"

namespace glugmo {

QtWindowSystem::QtWindowSystem() : popUpPresenter_(popUp_) {}

std::optional<Rect> QtWindowSystem::mainScreenVisibleFrame() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return std::nullopt;
    return fromQtScreen(QRectF(screen->availableGeometry()), screen->geometry());
}

std::unique_ptr<PetWindow> QtWindowSystem::makePetWindow(Rect contentRect,
                                                         bool ignoresMouseEvents) {
    return std::make_unique<QtPetWindow>(contentRect, ignoresMouseEvents);
}

std::unique_ptr<BubblePanel> QtWindowSystem::makeBubblePanel(Rect contentRect) {
    return std::make_unique<QtBubblePanel>(contentRect);
}

std::unique_ptr<StatusItem> QtWindowSystem::makeStatusItem() {
    return std::make_unique<QtStatusItem>();
}

void QtWindowSystem::popUpMenu(std::shared_ptr<Menu> menu, Point location, ImageView& view) {
    auto* qtView = dynamic_cast<QtImageView*>(&view);
    if (!menu || !qtView) return;
    popUpPresenter_.setModel(std::move(menu));
    popUp_.popup(qtView->globalPosition(location));
}

}  // namespace glugmo
