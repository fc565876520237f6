#include "platform/qt/qt_layer.h"

#include <algorithm>

#include "platform/qt/animation_timing.h"

namespace glugmo {

namespace {
constexpr std::string_view kRotationKeyPath = "transform.rotation.z";

const std::string& keyPathOf(const Animation& animation) {
    return std::visit([](const auto& a) -> const std::string& { return a.keyPath; }, animation);
}
}  // namespace

QtLayer::QtLayer(TimeSource now, std::function<void()> changed)
    : now_(std::move(now)), changed_(std::move(changed)) {}

bool QtLayer::isFinished(const Running& running, double time) const {
    return time - running.start >= activeDuration(running.animation);
}

bool QtLayer::animatesRotation(const Running& running) const {
    return keyPathOf(running.animation) == kRotationKeyPath;
}

void QtLayer::dropFinished() {
    const double time = now_();
    std::erase_if(running_, [&](const Running& r) { return isFinished(r, time); });
}

bool QtLayer::hasAnimation(std::string_view key) const {
    const double time = now_();
    return std::any_of(running_.begin(), running_.end(),
                       [&](const Running& r) { return r.key == key && !isFinished(r, time); });
}

void QtLayer::addAnimation(const Animation& animation, const std::string& key) {
    dropFinished();
    std::erase_if(running_, [&](const Running& r) { return r.key == key; });
    running_.push_back({key, animation, now_()});
    changed_();
}

void QtLayer::removeAnimation(std::string_view key) {
    dropFinished();
    std::erase_if(running_, [&](const Running& r) { return r.key == key; });
    changed_();
}

void QtLayer::resetTransform() {
    rotation_ = 0;
    changed_();
}

void QtLayer::setAnchorPoint(Point anchor) {
    anchor_ = anchor;
    changed_();
}

void QtLayer::setFrame(Rect frame) {
    frame_ = frame;
    changed_();
}

double QtLayer::rotationAt(double time) const {
    for (auto it = running_.rbegin(); it != running_.rend(); ++it) {
        if (!animatesRotation(*it)) continue;
        if (const auto value = animationValueAt(it->animation, time - it->start)) return *value;
    }
    return rotation_;
}

bool QtLayer::isAnimatingAt(double time) const {
    return std::any_of(running_.begin(), running_.end(), [&](const Running& r) {
        return animatesRotation(r) && !isFinished(r, time);
    });
}

}  // namespace glugmo
