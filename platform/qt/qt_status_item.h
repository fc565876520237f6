#pragma once

#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>

#include "platform/qt/menu_presenter.h"
#include "platform/windows.h"

namespace glugmo {

// The tray icon. Its menu opens with a right click, as trays do, and with a
// left click too, since the icon does nothing else.
class QtStatusItem final : public StatusItem {
public:
    QtStatusItem();

    void setImage(std::shared_ptr<const Image> image, Size pointSize) override;
    void setTitle(const std::string& title) override;
    void setToolTip(const std::string& toolTip) override;
    void setMenu(std::shared_ptr<Menu> menu) override;

private:
    void setIcon(const QPixmap& pixmap);
    void showWhenTrayAvailable();

    QSystemTrayIcon tray_;
    QMenu menu_;
    MenuPresenter presenter_;
    // A tray that starts after the pet is looked for now and then.
    QTimer trayWatch_;
};

}  // namespace glugmo
