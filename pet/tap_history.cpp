#include "pet/tap_history.h"

#include <algorithm>

namespace glugmo {

bool TapHistory::recordTap(double now) {
    // A tap from the future (the clock was set back) stays until it ages out.
    std::erase_if(times_, [now](double t) { return !(now - t < kWindow); });
    const std::size_t earlier = times_.size();
    times_.push_back(now);
    if (earlier >= kBurstThreshold) {
        times_.clear();
        return true;
    }
    return false;
}

}  // namespace glugmo
