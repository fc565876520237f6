#include "app/pet_controller.h"

namespace glugmo {

namespace {
const std::string kBurstQuip = "别戳了别戳了，精神打击已到账";
}  // namespace

void PetController::handleTap() {
    if (tapTimes.recordTap(platform.clock.now())) {
        play(burstGif, kBurstQuip);
        return;
    }
    const std::string& reaction = reactions[platform.random.uniformIndex(reactions.size())];
    std::optional<std::string> quip;
    if (!quotes.empty()) quip = quotes[platform.random.uniformIndex(quotes.size())];
    play(reaction, quip);
}

void PetController::toggleHidden() {
    if (window->isVisible()) {
        bubble->hide();
        window->orderOut();
    } else {
        window->orderFrontRegardless();
    }
}

void PetController::comeBack() {
    if (!window->isVisible()) window->orderFrontRegardless();
    platform.windows.popUpMenuBeside(menu, window->imageView());
}

void PetController::pokeIt() { handleTap(); }

void PetController::sayQuote() {
    // Start-up always leaves at least one quip; with none there is nothing to say.
    if (quotes.empty()) return;
    bubble->show(quotes[platform.random.uniformIndex(quotes.size())], currentPetRectangle());
}

void PetController::randomMove() {
    std::vector<std::string> pool = reactions;
    pool.insert(pool.end(), ambient.begin(), ambient.end());
    pool.push_back(drinkGif);
    play(pool[platform.random.uniformIndex(pool.size())], std::nullopt);
}

}  // namespace glugmo
