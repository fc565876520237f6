#pragma once

#include <cstddef>
#include <vector>

namespace glugmo {

// The taps of the last two seconds, for telling a poke from a pestering.
class TapHistory {
public:
    static constexpr double kWindow = 2.0;
    static constexpr std::size_t kBurstThreshold = 5;

    // Records a tap at `now` (seconds of wall-clock time) and answers whether
    // it is the one too many: it found five or more taps still in the
    // window. A burst forgets every tap, this one included.
    bool recordTap(double now);

    const std::vector<double>& times() const { return times_; }

private:
    std::vector<double> times_;
};

}  // namespace glugmo
