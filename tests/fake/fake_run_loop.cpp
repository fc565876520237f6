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
    entries_.push_back(std::make_shared<Entry>(Entry{now_ + interval, interval, repeats, true, nextOrder_++,
                                                     std::make_shared<bool>(true), std::move(tick)}));
    return std::make_unique<Handle>(entries_.back()->valid);
}

void FakeRunLoop::runAfter(double delay, std::function<void()> block) {
    entries_.push_back(std::make_shared<Entry>(
        Entry{now_ + delay, 0, false, false, nextOrder_++, std::make_shared<bool>(true), std::move(block)}));
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

std::size_t FakeRunLoop::count(bool timers, std::optional<double> interval) const {
    return std::count_if(entries_.begin(), entries_.end(), [&](const auto& e) {
        return e->isTimer == timers && *e->valid && (!interval || e->interval == *interval);
    });
}

std::optional<double> FakeRunLoop::nextDue() const {
    std::optional<double> next;
    for (const auto& e : entries_)
        if (*e->valid && (!next || e->due < *next)) next = e->due;
    return next;
}

}  // namespace glugmo::fake
