#pragma once

#include <compare>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace glugmo {

// A picture kept in the window server: a picture, one of its frames and a
// rotation step.
struct CanvasKey {
    std::uint64_t picture = 0;
    std::size_t frame = 0;
    int step = 0;
    auto operator<=>(const CanvasKey&) const = default;
};

// A picture to show and when, in `monotonicSeconds()`.
struct Cue {
    double time = 0;
    CanvasKey key;
};

// Shows pictures at their moments on a thread of its own. The rocking then
// costs one wake-up of that thread a step, with nothing else to run: no
// event loop, no timers to sort, no events to deliver; the program's own
// thread wakes only when the cues run out.
//
// The player shares the caller's mutex: `show` runs with it held, and
// `play` and `stop` are called with it held, so whatever `show` draws with
// is never touched by two threads at once.
class CuePlayer {
public:
    using Show = std::function<void(const CanvasKey&)>;

    CuePlayer(std::mutex& mutex, Show show);
    // Without the mutex held: waits for a cue being shown to finish.
    ~CuePlayer();
    CuePlayer(const CuePlayer&) = delete;
    CuePlayer& operator=(const CuePlayer&) = delete;

    // Replaces the cues still to come; those already due are shown at once.
    void play(std::vector<Cue> cues);
    void stop();

private:
    void run();

    std::mutex& mutex_;
    Show show_;
    std::condition_variable changed_;
    std::vector<Cue> cues_;
    std::size_t next_ = 0;
    bool quitting_ = false;
    std::thread thread_;  // started with the first cues
};

}  // namespace glugmo
