#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/run_loop.h"

namespace glugmo::fake {

// A run loop in virtual time: nothing fires until the test advances the
// clock, and then everything due fires in time order (ties in the order it
// was scheduled). Repeating timers keep their original cadence.
class FakeRunLoop final : public RunLoop {
public:
    std::unique_ptr<Timer> scheduleTimer(double interval, bool repeats,
                                         std::function<void()> tick) override;
    void runAfter(double delay, std::function<void()> block) override;

    // Seconds since the loop was made.
    double now() const { return now_; }
    // Fires everything due up to now + seconds, then sets the clock there.
    void advance(double seconds);
    void advanceTo(double time) { advance(time - now_); }

    std::size_t liveTimerCount() const { return count(true); }
    std::size_t pendingBlockCount() const { return count(false); }
    std::size_t liveTimersWithInterval(double interval) const { return count(true, interval); }
    // When the next timer or block is due; nothing when none is scheduled.
    std::optional<double> nextDue() const;

private:
    struct Entry {
        double due = 0, interval = 0;
        bool repeats = false, isTimer = false;
        std::uint64_t order = 0;
        std::shared_ptr<bool> valid;
        std::function<void()> work;
    };
    class Handle;

    void dropFinished();
    std::size_t count(bool timers, std::optional<double> interval = std::nullopt) const;

    double now_ = 0;
    std::uint64_t nextOrder_ = 0;
    std::vector<std::shared_ptr<Entry>> entries_;
};

}  // namespace glugmo::fake
