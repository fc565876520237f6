#include "tests/fake/fake_run_loop.h"

#include <algorithm>

namespace glugmo::fake {

class FakeRunLoop::Handle final : public Timer {
public:
    explicit Handle(std::shared_ptr<bool> valid) : valid_(std::move(valid)) {}
    ~Handle() override { *valid_ = false; }
    void invalidate() override { *valid_ = false; }
    bool isValid() const override { return *valid_; }

private:
    std::shared_ptr<bool> valid_;
};

std::unique_ptr<Timer> FakeRunLoop::scheduleTimer(double interval, bool repeats,
                                                  std::function<void()> tick) {
    auto entry = std::make_shared<Entry>();
    entry->due = now_ + interval;
    entry->interval = interval;
    entry->repeats = repeats;
    entry->isTimer = true;
    entry->order = nextOrder_++;
    entry->valid = std::make_shared<bool>(true);
    entry->work = std::move(tick);
    entries_.push_back(entry);
    return std::make_unique<Handle>(entry->valid);
}

void FakeRunLoop::runAfter(double delay, std::function<void()> block) {
    auto entry = std::make_shared<Entry>();
    entry->due = now_ + delay;
    entry->order = nextOrder_++;
    entry->valid = std::make_shared<bool>(true);
    entry->work = std::move(block);
    entries_.push_back(entry);
}

void FakeRunLoop::advance(double seconds) {
    const double target = now_ + seconds;
    for (;;) {
        dropFinished();
        auto next = std::min_element(entries_.begin(), entries_.end(), [](const auto& a, const auto& b) {
            return a->due != b->due ? a->due < b->due : a->order < b->order;
        });
        if (next == entries_.end() || (*next)->due > target + 1e-9) break;
        const std::shared_ptr<Entry> entry = *next;
        now_ = std::max(now_, entry->due);
        if (entry->isTimer && entry->repeats) {
            entry->due += entry->interval;
            entry->order = nextOrder_++;
        } else {
            *entry->valid = false;
        }
        // Copy: the work may replace or destroy the timer that runs it.
        const std::function<void()> work = entry->work;
        work();
    }
    now_ = std::max(now_, target);
    dropFinished();
}

void FakeRunLoop::dropFinished() {
    std::erase_if(entries_, [](const auto& entry) { return !*entry->valid; });
}

std::size_t FakeRunLoop::liveTimerCount() const {
    return std::count_if(entries_.begin(), entries_.end(),
                         [](const auto& e) { return e->isTimer && *e->valid; });
}

std::size_t FakeRunLoop::pendingBlockCount() const {
    return std::count_if(entries_.begin(), entries_.end(),
                         [](const auto& e) { return !e->isTimer && *e->valid; });
}

std::size_t FakeRunLoop::liveTimersWithInterval(double interval) const {
    return std::count_if(entries_.begin(), entries_.end(), [interval](const auto& e) {
        return e->isTimer && *e->valid && e->interval == interval;
    });
}

std::optional<double> FakeRunLoop::nextDue() const {
    std::optional<double> next;
    for (const auto& e : entries_) {
        if (*e->valid && (!next || e->due < *next)) next = e->due;
    }
    return next;
}

}  // namespace glugmo::fake
