#pragma once

#include <QKeySequence>
#include <QMenu>
#include <memory>
#include <string_view>

#include "platform/menu.h"

namespace glugmo {

// The platform's command modifier on Linux is Ctrl: "q" is Ctrl+Q, and an
// upper-case letter adds Shift.
QKeySequence shortcutFor(std::string_view keyEquivalent);

// Replaces the menu's contents with the model's items as they are now:
// titles, separators, submenus, check marks and shortcuts; picking an item
// performs it.
void fillMenu(QMenu& target, const Menu& model);

// Keeps a QMenu showing a menu model, rebuilt each time it opens so that
// titles and states changed since are shown as they are.
class MenuPresenter {
public:
    explicit MenuPresenter(QMenu& menu);
    void setModel(std::shared_ptr<Menu> model);

private:
    QMenu& menu_;
    std::shared_ptr<Menu> model_;
};

}  // namespace glugmo
