#pragma once

#include <chrono>

namespace glugmo {

// Seconds on a clock that never jumps, for animation timing.
inline double monotonicSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace glugmo
