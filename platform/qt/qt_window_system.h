#pragma once

#include <QMenu>
#include <QString>
#include <optional>

#include "platform/qt/menu_presenter.h"
#include "platform/windows.h"

namespace glugmo {

class QtWindowSystem final : public WindowSystem {
public:
    // The tray icon's drawn sizes are in "icons" of the resource folder.
    explicit QtWindowSystem(std::optional<QString> resourceFolder);

    std::optional<Rect> mainScreenVisibleFrame() const override;
    std::optional<Rect> screenFrameAt(Point point) const override;
    std::unique_ptr<PetWindow> makePetWindow(Rect contentRect, bool ignoresMouseEvents) override;
    std::unique_ptr<BubblePanel> makeBubblePanel(Rect contentRect) override;
    std::unique_ptr<StatusItem> makeStatusItem() override;
    void popUpMenu(std::shared_ptr<Menu> menu, Point location, ImageView& view) override;
    void popUpMenuBeside(std::shared_ptr<Menu> menu, ImageView& view) override;

private:
    std::optional<QString> resourceFolder_;
    QMenu popUp_;
    MenuPresenter popUpPresenter_;
};

}  // namespace glugmo
