#include "platform/qt/frame_timeline.h"

#include <algorithm>
#include <numeric>

namespace glugmo {

namespace {
constexpr int kShortestFrameMs = 20;
}

int playedFrameDelay(int storedDelayMs) { return std::max(storedDelayMs, kShortestFrameMs); }

FramePosition framePositionAt(const std::vector<int>& delaysMs, int loopCount,
                              std::int64_t elapsedMs) {
    if (delaysMs.size() < 2) return {};
    std::int64_t pass = 0;
    for (int delay : delaysMs) pass += playedFrameDelay(delay);
    const std::int64_t elapsed = std::max<std::int64_t>(elapsedMs, 0);
    if (loopCount >= 0 && elapsed >= pass * (std::int64_t{loopCount} + 1)) {
        return {delaysMs.size() - 1, std::nullopt};
    }
    std::int64_t offset = elapsed % pass;
    for (std::size_t i = 0; i < delaysMs.size(); ++i) {
        const int delay = playedFrameDelay(delaysMs[i]);
        if (offset < delay) return {i, delay - offset};
        offset -= delay;
    }
    return {delaysMs.size() - 1, std::nullopt};
}

}  // namespace glugmo
