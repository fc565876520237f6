#pragma once

#include <QIcon>
#include <QMenu>
#include <QString>
#include <QSystemTrayIcon>
#include <QTimer>
#include <memory>
#include <optional>

#include "platform/qt/menu_presenter.h"
#include "platform/windows.h"

namespace glugmo {

// The tray icon. Its menu opens with a right click, as trays do, and with a
// left click too, since the icon does nothing else.
//
// The icon is made once a tray is there to take it (see trayHostPresent), so
// a pet started before its panel docks when the panel comes; from then on Qt
// docks it again whenever the tray restarts.
class QtStatusItem final : public StatusItem {
public:
    // The icon's drawn sizes are "icons/glugmo-<N>.png" in `resourceFolder`.
    explicit QtStatusItem(std::optional<QString> resourceFolder);

    void setImage(std::shared_ptr<const Image> image, Size pointSize) override;
    void setTitle(const std::string& title) override;
    void setToolTip(const std::string& toolTip) override;
    void setMenu(std::shared_ptr<Menu> menu) override;

private:
    void setIcon(const QIcon& icon);
    void showWhenTrayAvailable();

    std::optional<QString> resourceFolder_;
    QIcon icon_;
    QString toolTip_;
    QMenu menu_;
    MenuPresenter presenter_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    // A tray that starts after the pet is looked for now and then.
    QTimer trayWatch_;
};

}  // namespace glugmo
