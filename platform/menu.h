#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace glugmo {

class Menu;

// A menu item as the behaviour builds it. Backends show the model as it is
// whenever the menu opens, so changing a title or a state needs no refresh.
class MenuItem {
public:
    enum class State { Off, On };
    using Action = std::function<void(MenuItem& sender)>;

    static std::shared_ptr<MenuItem> make(std::string title, Action action = {},
                                          std::string keyEquivalent = {}) {
        auto item = std::make_shared<MenuItem>();
        item->title = std::move(title);
        item->action = std::move(action);
        item->keyEquivalent = std::move(keyEquivalent);
        return item;
    }
    static std::shared_ptr<MenuItem> separatorItem() {
        auto item = std::make_shared<MenuItem>();
        item->isSeparator = true;
        return item;
    }

    std::string title;
    Action action;              // empty: the item does nothing when picked
    std::string keyEquivalent;  // "q" means the platform's command modifier plus Q
    State state = State::Off;
    std::optional<double> representedValue;
    std::shared_ptr<Menu> submenu;
    bool isSeparator = false;
    Menu* menu = nullptr;  // the menu the item was added to, if any

    void perform() {
        if (action) action(*this);
    }
};

class Menu {
public:
    void addItem(const std::shared_ptr<MenuItem>& item) {
        item->menu = this;
        items_.push_back(item);
    }
    void setSubmenu(const std::shared_ptr<Menu>& submenu, MenuItem& item) { item.submenu = submenu; }
    const std::vector<std::shared_ptr<MenuItem>>& itemArray() const { return items_; }

private:
    std::vector<std::shared_ptr<MenuItem>> items_;
};

}  // namespace glugmo
