#include "platform/qt/menu_shortcuts.h"

#include <QApplication>
#include <QKeyEvent>

namespace glugmo {

namespace {

// The root of a menu and its open submenus.
QMenu* rootMenu(QMenu* menu) {
    while (auto* parent = qobject_cast<QMenu*>(menu->parentWidget())) menu = parent;
    return menu;
}

QAction* actionFor(const QMenu& menu, const QKeySequence& keys) {
    for (QAction* action : menu.actions()) {
        if (action->menu()) {
            if (QAction* found = actionFor(*action->menu(), keys)) return found;
        } else if (!action->shortcut().isEmpty() && action->shortcut() == keys &&
                   action->isEnabled()) {
            return action;
        }
    }
    return nullptr;
}

}  // namespace

void MenuShortcuts::install(QMenu& menu) {
    static const char* const kInstalled = "glugmoMenuShortcuts";
    if (menu.property(kInstalled).toBool()) return;
    menu.setProperty(kInstalled, true);
    menu.installEventFilter(new MenuShortcuts(&menu));
}

bool MenuShortcuts::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* menu = qobject_cast<QMenu*>(watched);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!menu || key->modifiers() == Qt::NoModifier) return false;
    QAction* action = actionFor(*rootMenu(menu), QKeySequence(key->keyCombination()));
    if (!action) return false;
    // Closed first, as a menu closes when an item is picked.
    while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    action->trigger();
    return true;
}

}  // namespace glugmo
