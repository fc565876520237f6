#pragma once

#include <functional>
#include <memory>

namespace glugmo {

// A scheduled timer. Destroying the handle invalidates the timer, so an owner
// that goes away takes its timers with it.
class Timer {
public:
    virtual ~Timer() = default;
    virtual void invalidate() = 0;
    virtual bool isValid() const = 0;
};

// The main run loop. Everything runs on one thread; ticks and blocks are
// called from the loop, never from inside the scheduling call.
class RunLoop {
public:
    virtual ~RunLoop() = default;

    // Fires `tick` after `interval` seconds, and every `interval` seconds
    // after that when `repeats` is set, until invalidated.
    virtual std::unique_ptr<Timer> scheduleTimer(double interval, bool repeats,
                                                 std::function<void()> tick) = 0;

    // Runs `block` once, `delay` seconds from now. Such blocks cannot be
    // cancelled: whatever they touch they must hold weakly.
    virtual void runAfter(double delay, std::function<void()> block) = 0;
};

}  // namespace glugmo
