#include "platform/qt/menu_presenter.h"

#include "platform/qt/menu_shortcuts.h"

namespace glugmo {

QKeySequence shortcutFor(std::string_view keyEquivalent) {
    if (keyEquivalent.empty()) return {};
    const QString key =
        QString::fromUtf8(keyEquivalent.data(), static_cast<qsizetype>(keyEquivalent.size()));
    const bool shifted = key.size() == 1 && key.front().isUpper();
    return QKeySequence::fromString(
        (shifted ? QStringLiteral("Ctrl+Shift+") : QStringLiteral("Ctrl+")) + key.toUpper());
}

void fillMenu(QMenu& target, const Menu& model) {
    MenuShortcuts::install(target);
    target.clear();
    // Submenus from the last opening go with their actions; still children
    // until then, so that none outlives the menu.
    for (QMenu* old : target.findChildren<QMenu*>(Qt::FindDirectChildrenOnly)) old->deleteLater();
    for (const std::shared_ptr<MenuItem>& item : model.itemArray()) {
        if (item->isSeparator) {
            target.addSeparator();
            continue;
        }
        const QString title = QString::fromStdString(item->title);
        QAction* action = nullptr;
        if (item->submenu) {
            auto* submenu = new QMenu(title, &target);
            fillMenu(*submenu, *item->submenu);
            action = target.addMenu(submenu);
        } else {
            action = target.addAction(title);
        }
        if (item->state == MenuItem::State::On) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        if (!item->keyEquivalent.empty()) {
            action->setShortcut(shortcutFor(item->keyEquivalent));
            action->setShortcutVisibleInContextMenu(true);
        }
        QObject::connect(action, &QAction::triggered, [item] { item->perform(); });
    }
}

MenuPresenter::MenuPresenter(QMenu& menu) : menu_(menu) {
    QObject::connect(&menu_, &QMenu::aboutToShow, [this] {
        if (model_) fillMenu(menu_, *model_);
    });
}

void MenuPresenter::setModel(std::shared_ptr<Menu> model) {
    model_ = std::move(model);
    // Filled now too: a tray host that shows an exported copy of the menu
    // may read its items before it ever opens.
    if (model_) fillMenu(menu_, *model_);
}

}  // namespace glugmo
