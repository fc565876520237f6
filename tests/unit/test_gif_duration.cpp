#include <gtest/gtest.h>

#include <cmath>

#include "app/gif_duration.h"

namespace glugmo {
namespace {

GifFrameProperties unclamped(double d) { return {true, d, std::nullopt}; }

TEST(GifDuration, SumsFrameDelaysWithTheirFloors) {
    using Frames = std::vector<GifFrameProperties>;
    const std::pair<Frames, double> cases[] = {
        {Frames(4, unclamped(0.25)), 1.0},
        {{unclamped(0), unclamped(0.01), unclamped(0.05)}, 0.5},       // 0.09, raised to 0.5
        {{unclamped(0.4), {true, std::nullopt, 0.07}}, 0.5},                   // 0.47, raised,
        {{unclamped(0.5), {true, std::nullopt, 0.07}}, 0.57},          // delay time when no unclamped
        {{unclamped(0.5), {true, std::nullopt, std::nullopt}}, 0.6},   // empty dictionary: 0.1
        {{unclamped(0.5), {false, 3.0, 3.0}}, 0.5},                    // no GIF dictionary: nothing
        {{unclamped(0.6), unclamped(0.02)}, 0.62},
        {{}, 0.5},
        {{unclamped(1.5), unclamped(1.5)}, 3.0},
        {{unclamped(std::nan("")), unclamped(0.5)}, 0.6},             // not a number: missing
    };
    for (const auto& [frames, expected] : cases)
        EXPECT_NEAR(gifDurationFromFrames(frames), expected, 1e-12) << frames.size();
    EXPECT_EQ(gifDurationFromFrames(std::nullopt), 2.0);  // an unreadable source
}

}  // namespace
}  // namespace glugmo
