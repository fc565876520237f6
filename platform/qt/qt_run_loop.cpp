#include "platform/qt/qt_run_loop.h"

#include <QTimer>
#include <climits>
#include <cmath>

namespace glugmo {

namespace {

class QtTimer final : public Timer {
public:
    QtTimer(double interval, bool repeats, std::function<void()> tick) : repeats_(repeats) {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setSingleShot(!repeats);
        timer_.setInterval(timerMilliseconds(interval));
        // The tick may destroy this handle; the shared copy keeps the
        // callback alive until it returns.
        auto shared = std::make_shared<std::function<void()>>(std::move(tick));
        QObject::connect(&timer_, &QTimer::timeout, [this, shared] {
            if (!repeats_) valid_ = false;
            const auto keep = shared;
            (*keep)();
        });
        timer_.start();
    }

    void invalidate() override {
        valid_ = false;
        timer_.stop();
    }
    bool isValid() const override { return valid_; }

private:
    QTimer timer_;
    bool repeats_;
    bool valid_ = true;
};

}  // namespace

int timerMilliseconds(double seconds) {
    if (!(seconds > 0)) return 0;
    const double ms = std::round(seconds * 1000.0);
    return ms >= INT_MAX ? INT_MAX : static_cast<int>(ms);
}

std::unique_ptr<Timer> QtRunLoop::scheduleTimer(double interval, bool repeats,
                                                std::function<void()> tick) {
    return std::make_unique<QtTimer>(interval, repeats, std::move(tick));
}

void QtRunLoop::runAfter(double delay, std::function<void()> block) {
    QTimer::singleShot(timerMilliseconds(delay), Qt::PreciseTimer, &context_, std::move(block));
}

}  // namespace glugmo
