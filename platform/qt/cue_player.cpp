#include "platform/qt/cue_player.h"

#include <chrono>

namespace glugmo {

namespace {
std::chrono::steady_clock::time_point steadyAt(double seconds) {
    using namespace std::chrono;
    return steady_clock::time_point(duration_cast<steady_clock::duration>(duration<double>(seconds)));
}
}  // namespace

CuePlayer::CuePlayer(std::mutex& mutex, Show show) : mutex_(mutex), show_(std::move(show)) {}

CuePlayer::~CuePlayer() {
    {
        const std::lock_guard lock(mutex_);
        quitting_ = true;
    }
    changed_.notify_one();
    if (thread_.joinable()) thread_.join();
}

void CuePlayer::play(std::vector<Cue> cues) {
    cues_ = std::move(cues);
    next_ = 0;
    if (cues_.empty()) return;
    // The thread starts waiting once the caller lets go of the mutex.
    if (!thread_.joinable()) thread_ = std::thread([this] { run(); });
    changed_.notify_one();
}

void CuePlayer::stop() {
    // The thread finds nothing to do at its next wake-up and sleeps on.
    cues_.clear();
    next_ = 0;
}

void CuePlayer::run() {
    std::unique_lock lock(mutex_);
    while (!quitting_) {
        if (next_ >= cues_.size()) {
            changed_.wait(lock);
            continue;
        }
        const auto due = steadyAt(cues_[next_].time);
        if (std::chrono::steady_clock::now() < due) {
            // Whatever wakes it, the cues are looked at afresh.
            changed_.wait_until(lock, due);
            continue;
        }
        show_(cues_[next_++].key);
    }
}

}  // namespace glugmo
