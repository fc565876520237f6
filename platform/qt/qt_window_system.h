#pragma once

#include <QMenu>

#include "platform/qt/menu_presenter.h"
#include "platform/windows.h"

namespace glugmo {

class QtWindowSystem final : public WindowSystem {
public:
    QtWindowSystem();

    std::optional<Rect> mainScreenVisibleFrame() const override;
    std::unique_ptr<PetWindow> makePetWindow(Rect contentRect, bool ignoresMouseEvents) override;
    std::unique_ptr<BubblePanel> makeBubblePanel(Rect contentRect) override;
    std::unique_ptr<StatusItem> makeStatusItem() override;
    void popUpMenu(std::shared_ptr<Menu> menu, Point location, ImageView& view) override;

private:
    QMenu popUp_;
    MenuPresenter popUpPresenter_;
};

}  // namespace glugmo
