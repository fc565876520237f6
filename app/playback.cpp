#include "app/gif_duration.h"
#include "app/pet_controller.h"

namespace glugmo {

namespace {
// The pet holds the last frame this long before it goes back to idle.
constexpr double kRevertGrace = 0.15;
}  // namespace

void PetController::play(const std::string& name, const std::optional<std::string>& quote) {
    const std::optional<std::string> path = gifURL(platform.resources, name);
    if (!path) return;
    std::shared_ptr<const Image> image = platform.images.loadImage(*path);
    if (!image) return;

    if (revertTimer) revertTimer->invalidate();
    if (stretchTimer) stretchTimer->invalidate();
    stretchTimer.reset();
    if (Layer* layer = petLayer()) {
        layer->removeAnimation("rock");
        layer->removeAnimation("stretch");
        layer->resetTransform();
    }
    petView->imageView().setImage(std::move(image));
    isIdle = false;
    if (quote) bubble->show(*quote, currentPetRectangle());

    const double duration = gifDuration(platform.resources, platform.images, name);
    revertTimer = platform.runLoop.scheduleTimer(duration + kRevertGrace, false,
                                                 weakly(&PetController::showStaticIdle));
}

void PetController::showStaticIdle() {
    if (revertTimer) revertTimer->invalidate();
    if (const std::optional<std::string> path = platform.resources.pathFor(idleImageName, "png")) {
        if (std::shared_ptr<const Image> image = platform.images.loadImage(*path)) {
            petView->imageView().setImage(std::move(image));
        }
    }
    isIdle = true;
    startRocking();
}

void PetController::ambientTick() {
    if (!isIdle) return;
    play(ambient[platform.random.uniformIndex(ambient.size())], std::nullopt);
}

}  // namespace glugmo
