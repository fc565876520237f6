#pragma once

#include <QObject>

#include "platform/run_loop.h"

namespace glugmo {

// Timers and delayed blocks on Qt's event loop. Precise timers: the pet's
// timers are few and far between, and an animation tick that lands a few
// milliseconds late is visible.
class QtRunLoop final : public RunLoop {
public:
    std::unique_ptr<Timer> scheduleTimer(double interval, bool repeats,
                                         std::function<void()> tick) override;
    void runAfter(double delay, std::function<void()> block) override;

private:
    // Delayed blocks die with the run loop rather than outliving the services.
    QObject context_;
};

// Seconds to the milliseconds Qt's timers take, never negative.
int timerMilliseconds(double seconds);

}  // namespace glugmo
