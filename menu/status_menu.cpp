#include <cmath>

#include "app/pet_controller.h"
#include "menu/settings_rules.h"

namespace glugmo {

namespace {
struct SizePreset {
    const char* title;
    double value;
};
constexpr SizePreset kSizePresets[] = {{"小只 80", 80.0}, {"标准 120", 120.0}, {"大只 200", 200.0}};

MenuItem::State stateOf(bool on) { return on ? MenuItem::State::On : MenuItem::State::Off; }
}  // namespace

void PetController::setupStatusItem() {
    statusItem = platform.windows.makeStatusItem();
    std::shared_ptr<const Image> icon;
    if (const auto path = platform.resources.pathFor("icon", "png")) {
        icon = platform.images.loadImage(*path);
    }
    if (icon) {
        statusItem->setImage(icon, {20, 20});
    } else {
        statusItem->setTitle("🚰");
    }
    statusItem->setToolTip("咕噜宝在这儿陪着你");

    const std::weak_ptr<PetController> weak = weak_from_this();
    const auto action = [weak](void (PetController::*method)(MenuItem&)) -> MenuItem::Action {
        return [weak, method](MenuItem& sender) {
            if (const auto self = weak.lock()) ((*self).*method)(sender);
        };
    };
    const auto plain = [weak](void (PetController::*method)()) -> MenuItem::Action {
        return [weak, method](MenuItem&) {
            if (const auto self = weak.lock()) ((*self).*method)();
        };
    };

    menu = std::make_shared<Menu>();
    menu->addItem(MenuItem::make("戳一下咕噜宝", plain(&PetController::pokeIt)));
    menu->addItem(MenuItem::make("来句打工人语录", plain(&PetController::sayQuote)));
    menu->addItem(MenuItem::make("换个动作", plain(&PetController::randomMove)));
    menu->addItem(MenuItem::separatorItem());

    auto clock = MenuItem::make("时间彩蛋（三点几/收工/晚安）", action(&PetController::toggleClock));
    clock->state = stateOf(switchIsOn(defaults.rawValue(kClockOnKey)));
    menu->addItem(clock);
    auto drink = MenuItem::make("多喝水提醒", action(&PetController::toggleDrink));
    drink->state = stateOf(switchIsOn(defaults.rawValue(kDrinkOnKey)));
    menu->addItem(drink);
    auto ghost = MenuItem::make("幽灵模式（点击穿透）", action(&PetController::toggleGhost));
    ghost->state = stateOf(readBool(defaults.rawValue(kGhostModeKey)));
    menu->addItem(ghost);

    auto sizeMenu = std::make_shared<Menu>();
    for (const SizePreset& preset : kSizePresets) {
        auto item = MenuItem::make(preset.title, action(&PetController::changeSize));
        item->representedValue = preset.value;
        item->state = stateOf(std::fabs(petSize - preset.value) < 1.0);
        sizeMenu->addItem(item);
    }
    auto sizeItem = MenuItem::make("体型大小");
    menu->setSubmenu(sizeMenu, *sizeItem);
    menu->addItem(sizeItem);
    menu->addItem(MenuItem::separatorItem());

    menu->addItem(MenuItem::make("咕噜宝先隐身（双击也可）", plain(&PetController::toggleHidden)));
    menu->addItem(MenuItem::separatorItem());
    menu->addItem(MenuItem::make("退出", plain(&PetController::quit), "q"));
    statusItem->setMenu(menu);
}

void PetController::toggleSwitch(MenuItem& sender, std::string_view key) {
    const bool on = sender.state != MenuItem::State::On;
    sender.state = stateOf(on);
    defaults.setBool(key, on);
}

void PetController::toggleClock(MenuItem& sender) { toggleSwitch(sender, kClockOnKey); }

void PetController::toggleDrink(MenuItem& sender) { toggleSwitch(sender, kDrinkOnKey); }

void PetController::toggleGhost(MenuItem& sender) {
    toggleSwitch(sender, kGhostModeKey);
    const bool ghost = sender.state == MenuItem::State::On;
    window->setIgnoresMouseEvents(ghost);
    bubble->show(ghost ? "幽灵模式：点不着我啦" : "回来啦，随便戳", currentPetRectangle());
}

void PetController::changeSize(MenuItem& sender) {
    if (!sender.representedValue) return;
    const double s = *sender.representedValue;
    petSize = s;
    defaults.setDouble(kPetSizeKey, s);

    const PetLayout layout = petLayout(s, aspect);
    window->setFrame(resizedAboutCentre(window->frame(), layout.windowSize));
    applyLayout(layout);

    if (sender.menu) {
        for (const auto& item : sender.menu->itemArray()) item->state = MenuItem::State::Off;
    }
    sender.state = MenuItem::State::On;
}

void PetController::quit() { platform.application.terminate(); }

}  // namespace glugmo
