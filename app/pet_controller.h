#pragma once

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/pet_layout.h"
#include "bubble/bubble_controller.h"
#include "menu/settings_rules.h"
#include "pet/pet_view.h"
#include "pet/tap_history.h"
#include "platform/platform.h"

namespace glugmo {

// The pet: its state, its window, its bubble, its menu and every timer. One
// lives per process, created by the AppDelegate. Timers and delayed blocks
// hold it weakly, so it must be owned by a shared_ptr (see create).
class PetController : public std::enable_shared_from_this<PetController> {
public:
    static std::shared_ptr<PetController> create(Platform& platform);
    explicit PetController(Platform& platform);
    PetController(const PetController&) = delete;
    PetController& operator=(const PetController&) = delete;

    void start();

    // Playback and the idle state.
    void play(const std::string& name, const std::optional<std::string>& quote);
    void showStaticIdle();

    // Taps and the actions of the menu.
    void handleTap();
    void toggleHidden();
    // A second launch: shows a hidden pet again and opens the menu on it, so
    // that every action is reachable where no tray shows the icon, ghost
    // mode's way out included.
    void comeBack();
    void pokeIt();
    void sayQuote();
    void randomMove();
    void toggleClock(MenuItem& sender);
    void toggleDrink(MenuItem& sender);
    void toggleGhost(MenuItem& sender);
    void changeSize(MenuItem& sender);
    void quit();

    // Idle motions.
    void startRocking();

    // Every half minute: the easter eggs and the drink reminder.
    void checkClock();

    void loadQuotes();

private:
    void setupWindow();
    void applyLayout(const PetLayout& layout);
    void setupStatusItem();
    void startAmbientLoop();
    void startClock();
    void ambientTick();
    void stretchTick();
    void toggleSwitch(MenuItem& sender, std::string_view key);
    void debugStep1();
    Rect currentPetRectangle() const;
    Layer* petLayer() const;
    template <typename Method>
    std::function<void()> weakly(Method method);

    Platform& platform;

    const std::string idleImageName = "idle";
    const double aspect = kPetAspect;
    const std::vector<std::string> reactions;
    const std::vector<std::string> ambient;
    const std::string burstGif = "14_精神打击";
    const std::string drinkGif = "08_多喝水";
    const std::vector<std::string> defaultQuotes;
    std::vector<std::string> quotes;
    std::unique_ptr<PetWindow> window;
    std::unique_ptr<PetView> petView;
    std::shared_ptr<BubbleController> bubble;
    std::unique_ptr<StatusItem> statusItem;
    std::shared_ptr<Menu> menu;
    std::unique_ptr<Timer> revertTimer;
    std::unique_ptr<Timer> ambientTimer;
    std::unique_ptr<Timer> clockTimer;
    std::unique_ptr<Timer> stretchTimer;
    TapHistory tapTimes;
    bool isIdle = true;
    std::set<std::string> firedToday;
    SettingsStore& defaults;
    double petSize = kDefaultPetSize;
};

}  // namespace glugmo
