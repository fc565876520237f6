#include "app/pet_controller.h"

#include "menu/settings_rules.h"

namespace glugmo {

namespace {
constexpr double kAmbientInterval = 200.0;
constexpr double kClockInterval = 30.0;
constexpr double kDebugDelay = 2.0;
constexpr Point kMenuLocationInPetView = {20, 20};
const Rect kFallbackScreen = Rect::make(0, 0, 1440, 900);
}  // namespace

std::shared_ptr<PetController> PetController::create(Platform& platform) {
    return std::make_shared<PetController>(platform);
}

PetController::PetController(Platform& platform)
    : platform(platform),
      reactions{"01_好jeng啊", "04_爱你哟", "09_问号", "12_哈哈哈", "13_嚯", "16_笑"},
      ambient{"01_好jeng啊", "05_帮紧你", "06_辛苦了", "07_谢谢", "16_笑", "09_问号"},
      defaultQuotes{"功德+1",
                    "莫生气 +1",
                    "工资+1",
                    "好运+1",
                    "发量+1",
                    "收到（但不想做）",
                    "划水也是一种泳姿",
                    "活着就好",
                    "今日份精神损失费未到账",
                    "我是一块砖，哪里需要哪里搬",
                    "尸体暖暖的",
                    "这个需求很简单，怎么实现我不管",
                    "先这样吧，也不是不行",
                    "大脑寄存处，取件请排队",
                    "努力不一定会成功，但不努力一定很舒服"},
      bubble(std::make_shared<BubbleController>(platform)),
      defaults(platform.settings) {}

template <typename Method>
std::function<void()> PetController::weakly(Method method) {
    return [weak = weak_from_this(), method] {
        if (const auto self = weak.lock()) ((*self).*method)();
    };
}

void PetController::start() {
    loadQuotes();
    petSize = petSizeFromStored(readDouble(defaults.rawValue(kPetSizeKey)));
    setupWindow();
    setupStatusItem();
    startAmbientLoop();
    startClock();
    showStaticIdle();
    if (platform.application.environmentContains("GLG_DEBUG")) {
        platform.runLoop.runAfter(kDebugDelay, weakly(&PetController::debugStep1));
    }
}

void PetController::setupWindow() {
    const Rect visible = platform.windows.mainScreenVisibleFrame().value_or(kFallbackScreen);
    const PetLayout layout = petLayout(petSize, aspect);
    const bool ghost = readBool(defaults.rawValue(kGhostModeKey));
    window = platform.windows.makePetWindow(initialWindowFrame(visible, layout.windowSize), ghost);
    petView = std::make_unique<PetView>(window.get(), window->imageView());
    applyLayout(layout);
    petView->onTap = weakly(&PetController::handleTap);
    petView->onDoubleTap = weakly(&PetController::toggleHidden);
    petView->onRightTap = [weak = weak_from_this()](ImageView& clicked) {
        if (const auto self = weak.lock()) {
            self->platform.windows.popUpMenu(self->menu, kMenuLocationInPetView, clicked);
        }
    };
    window->orderFrontRegardless();
}

void PetController::applyLayout(const PetLayout& layout) {
    window->setContentFrame(layout.contentFrame);
    ImageView& view = petView->imageView();
    view.setFrame(layout.petViewFrame);
    // The motions rotate the pet about its bottom centre.
    if (Layer* layer = view.layer()) {
        layer->setAnchorPoint({0.5, 0.0});
        layer->setFrame(layout.layerFrame);
    }
}

void PetController::startAmbientLoop() {
    ambientTimer =
        platform.runLoop.scheduleTimer(kAmbientInterval, true, weakly(&PetController::ambientTick));
}

void PetController::startClock() {
    clockTimer =
        platform.runLoop.scheduleTimer(kClockInterval, true, weakly(&PetController::checkClock));
}

Rect PetController::currentPetRectangle() const {
    return petRectangle(window->frame().origin, petSize, aspect);
}

Layer* PetController::petLayer() const { return petView ? petView->layer() : nullptr; }

}  // namespace glugmo
