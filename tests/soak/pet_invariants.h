#pragma once

#include <set>
#include <string>
#include <vector>

#include "app/pet_controller.h"
#include "tests/fake/fake_platform.h"

namespace glugmo {

// What must hold between any two events of the pet's life, with the little
// history needed to judge it: when the bubble last appeared and which
// calendar days have passed.
class PetInvariants {
public:
    // revertIntervals: every interval a revert timer can have, one per GIF.
    PetInvariants(fake::FakePlatform& fake, const PetController& pet, std::vector<double> revertIntervals);

    // The rules broken now. Call after every event, so no bubble goes unseen.
    std::vector<std::string> broken();

    static constexpr std::size_t kMaxLiveTimers = 5;  // ambient, clock, stretch, revert, bubble
    static constexpr std::size_t kMaxPendingBlocks = 4;
    static constexpr std::size_t kMaxFiredKeysPerDay = 9;

private:
    void noteBubbleShows();
    std::size_t liveRevertTimers() const;
    std::size_t firedToday(const std::string& date) const;

    fake::FakePlatform& fake_;
    const PetController& pet_;
    std::vector<double> revertIntervals_;
    std::size_t bubbleTextsSeen_ = 0;
    double lastBubbleShow_ = 0;
    std::set<std::string> datesSeen_;
};

}  // namespace glugmo
