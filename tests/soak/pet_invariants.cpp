#include "tests/soak/pet_invariants.h"

#include <algorithm>

namespace glugmo {

namespace {
constexpr double kStretchInterval = 45.0;
// Three seconds on screen, then a fade of 0.4 seconds.
constexpr double kBubbleLifetime = 3.4;
constexpr double kTolerance = 1e-6;
}  // namespace

PetInvariants::PetInvariants(fake::FakePlatform& fake, const PetController& pet,
                             std::vector<double> revertIntervals)
    : fake_(fake), pet_(pet), revertIntervals_(std::move(revertIntervals)) {
    std::sort(revertIntervals_.begin(), revertIntervals_.end());
    revertIntervals_.erase(std::unique(revertIntervals_.begin(), revertIntervals_.end()), revertIntervals_.end());
}

void PetInvariants::noteBubbleShows() {
    const std::size_t texts = fake_.bubble().textHistory.size();
    if (texts != bubbleTextsSeen_) lastBubbleShow_ = fake_.loop.now();
    bubbleTextsSeen_ = texts;
}

std::size_t PetInvariants::liveRevertTimers() const {
    std::size_t live = 0;
    for (double interval : revertIntervals_) live += fake_.loop.liveTimersWithInterval(interval);
    return live;
}

std::size_t PetInvariants::firedToday(const std::string& date) const {
    const std::set<std::string>& keys = pet_.firedKeys();
    // Every key of a day starts with its date, so they sit together in the set.
    const auto first = keys.lower_bound(date);
    return static_cast<std::size_t>(
        std::distance(first, std::find_if(first, keys.end(), [&](const std::string& key) {
                          return !key.starts_with(date);
                      })));
}

std::vector<std::string> PetInvariants::broken() {
    std::vector<std::string> broken;
    const auto require = [&](bool holds, const char* rule) {
        if (!holds) broken.emplace_back(rule);
    };
    noteBubbleShows();
    const double now = fake_.loop.now();
    const bool idle = pet_.idle();

    // Playing always ends in going back to idle, by exactly one timer.
    require(liveRevertTimers() <= 1, "more than one live revert timer");
    require(liveRevertTimers() == (idle ? 0u : 1u), "a revert timer without a GIF playing, or the reverse");
    require(idle == (fake_.view().imagePath() == fake::FakeResources::pathOf("idle.png")),
            "idle() disagrees with the picture shown");
    require(idle || !pet_.hasStretchTimer(), "a stretch timer while a GIF plays");
    require(fake_.loop.liveTimersWithInterval(kStretchInterval) == (idle ? 1u : 0u),
            "an idle pet without exactly one stretch timer");
    require(!fake_.bubble().isVisible() || now < lastBubbleShow_ + kBubbleLifetime + kTolerance,
            "the bubble outstayed its 3.4 seconds");
    require(pet_.recentTaps().size() <= 5, "more than five recent taps");

    const std::string today = fake_.clock.calendarAt(fake_.clock.now()).dateKey;
    datesSeen_.insert(today);
    require(firedToday(today) <= kMaxFiredKeysPerDay, "more than nine fired keys in a day");
    require(std::all_of(pet_.firedKeys().begin(), pet_.firedKeys().end(),
                        [&](const std::string& key) { return datesSeen_.contains(key.substr(0, 10)); }),
            "a fired key for a day that has not come");
    require(fake_.loop.liveTimerCount() <= kMaxLiveTimers, "timers pile up");
    require(fake_.loop.pendingBlockCount() <= kMaxPendingBlocks, "delayed blocks pile up");
    return broken;
}

}  // namespace glugmo
