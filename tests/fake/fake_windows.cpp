#include "tests/fake/fake_windows.h"

#include "tests/fake/fake_services.h"

namespace glugmo::fake {

namespace {
double playingTime(const Animation& animation) {
    if (const auto* keyframes = std::get_if<KeyframeAnimation>(&animation)) return keyframes->duration;
    const auto& basic = std::get<BasicAnimation>(animation);
    const double sweeps = (basic.autoreverses ? 2.0 : 1.0) * std::max(basic.repeatCount, 1.0);
    return basic.duration * sweeps;
}
}  // namespace

bool FakeLayer::hasAnimation(std::string_view key) const {
    const auto found = animations_.find(key);
    if (found == animations_.end()) return false;
    return loop_.now() < found->second.startedAt + playingTime(found->second.animation);
}

void FakeLayer::addAnimation(const Animation& animation, const std::string& key) {
    animations_.insert_or_assign(key, Running{animation, loop_.now()});
    ++adds;
}

void FakeLayer::removeAnimation(std::string_view key) {
    if (const auto found = animations_.find(key); found != animations_.end()) animations_.erase(found);
}

std::vector<std::string> FakeLayer::keys() const {
    std::vector<std::string> live;
    for (const auto& [key, running] : animations_)
        if (hasAnimation(key)) live.push_back(key);
    return live;
}

std::string FakeImageView::imagePath() const {
    const auto* fake = dynamic_cast<const FakeImage*>(image_.get());
    return fake ? fake->path : "";
}

void FakeBubblePanel::fadeOut(double duration, std::function<void()> completion) {
    ++fades;
    // Like a real fade, a later alpha wins; the completion runs regardless.
    loop_.runAfter(duration, [this, alive = std::weak_ptr<int>(alive_), sets = alphaSets_,
                              completion = std::move(completion)] {
        if (alive.expired()) return;
        if (alphaSets_ == sets) alpha_ = 0;
        completion();
    });
}

}  // namespace glugmo::fake
