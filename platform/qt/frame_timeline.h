#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace glugmo {

// Where an animation stands at a moment: the frame on screen and how long
// until it changes (nothing once the last pass holds its final frame).
struct FramePosition {
    std::size_t index = 0;
    std::optional<std::int64_t> msUntilNext;
};

// An animation of frames with the given delays, played 1 + loopCount times
// (for ever when loopCount is negative), elapsedMs after it started.
FramePosition framePositionAt(const std::vector<int>& delaysMs, int loopCount,
                              std::int64_t elapsedMs);

// The delay a frame is shown for: the file's own, but at least 20 ms, so
// that a frame stored with no delay does not spin the processor.
int playedFrameDelay(int storedDelayMs);

}  // namespace glugmo
