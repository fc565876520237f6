#include "app/pet_controller.h"

namespace glugmo {

namespace {
constexpr double kStretchInterval = 45.0;
constexpr double kStretchLineDelay = 0.45;
constexpr double kBackToRockingDelay = 1.5;

const std::vector<std::string> kStretchLines = {"唔…再瘫五分钟", "这个班就上到这了", "腰要断了",
                                                "让我瘫一会儿"};

Animation rockingAnimation() {
    BasicAnimation rock;
    rock.keyPath = "transform.rotation.z";
    rock.fromValue = -0.055;
    rock.toValue = 0.055;
    rock.duration = 1.7;
    rock.autoreverses = true;
    rock.repeatCount = kRepeatForever;
    rock.timing = TimingFunction::EaseInEaseOut;
    return rock;
}

Animation stretchAnimation() {
    KeyframeAnimation stretch;
    stretch.keyPath = "transform.rotation.z";
    stretch.values = {0, 0.18, -0.05, 0.02, 0};
    stretch.keyTimes = {0, 0.35, 0.65, 0.85, 1.0};
    stretch.duration = 1.4;
    stretch.timing = TimingFunction::EaseInEaseOut;
    return stretch;
}
}  // namespace

void PetController::startRocking() {
    Layer* layer = petLayer();
    if (!layer || layer->hasAnimation("rock")) return;
    layer->addAnimation(rockingAnimation(), "rock");
    if (stretchTimer) stretchTimer->invalidate();
    stretchTimer =
        platform.runLoop.scheduleTimer(kStretchInterval, true, weakly(&PetController::stretchTick));
}

void PetController::stretchTick() {
    if (!isIdle || !platform.random.fairCoin()) return;
    Layer* layer = petLayer();
    if (!layer || layer->hasAnimation("stretch")) return;
    layer->removeAnimation("rock");
    layer->addAnimation(stretchAnimation(), "stretch");
    const std::string line = kStretchLines[platform.random.uniformIndex(kStretchLines.size())];

    const std::weak_ptr<PetController> weak = weak_from_this();
    platform.runLoop.runAfter(kStretchLineDelay, [weak, line] {
        const auto self = weak.lock();
        if (self && self->isIdle) self->bubble->show(line, self->currentPetRectangle());
    });
    platform.runLoop.runAfter(kBackToRockingDelay, [weak] {
        const auto self = weak.lock();
        if (!self || !self->isIdle) return;
        if (Layer* current = self->petLayer()) {
            current->resetTransform();
            current->removeAnimation("rock");
        }
        self->startRocking();
    });
}

}  // namespace glugmo
