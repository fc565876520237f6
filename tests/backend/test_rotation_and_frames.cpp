#include <gtest/gtest.h>

#include <cmath>

#include "platform/qt/frame_timeline.h"
#include "platform/qt/rotation_steps.h"

namespace glugmo {
namespace {

// A 120 x 137 picture rotating about its bottom centre: its top corners are
// the farthest points, about 149.6 pixels away. One step moves them a pixel.
TEST(RotationSteps, OneStepMovesTheFarthestPointByOnePixel) {
    const double radius = farthestDistance(QRectF(0, 0, 120, 137), QPointF(60, 137));
    EXPECT_NEAR(radius, std::hypot(60.0, 137.0), 1e-9);
    EXPECT_DOUBLE_EQ(farthestDistance(QRectF(), QPointF(60, 137)), 0);
    const RotationSteps steps(radius), none(0);
    EXPECT_NEAR(steps.step() * radius, 1.0, 1e-12);
    const std::pair<double, int> indices[] = {
        {0.0, 0}, {0.49 / radius, 0}, {0.51 / radius, 1}, {-0.055, -static_cast<int>(std::lround(0.055 * radius))}};
    for (const auto& [angle, index] : indices) EXPECT_EQ(steps.indexOf(angle), index) << angle;
    EXPECT_EQ(none.indexOf(0.18) + none.indexOf(NAN), 0);  // no picture never repaints for rotation
    // The drawn angle is never further than half a pixel from the true one.
    for (double angle = -0.2; angle <= 0.2; angle += 0.0007)
        EXPECT_LE(std::abs(steps.angleOf(steps.indexOf(angle)) - angle) * radius, 0.5 + 1e-9);

    // Following the wake-ups as the view does, each repaint of a rock moves one step.
    const auto rock = [](double t) {
        const double phase = std::fmod(t, 3.4) / 1.7;
        return -0.055 + 0.11 * (0.5 - 0.5 * std::cos(M_PI * (phase > 1 ? 2 - phase : phase)));
    };
    double t = 0;
    int index = steps.indexOf(rock(t)), repaints = 0;
    while (t < 3.4) {
        t = nextStepChange(rock, steps, index, t, 0.25, 0.004);
        const int next = steps.indexOf(rock(t));
        EXPECT_LE(std::abs(next - index), 1) << t;
        repaints += next != index;
        index = next;
    }
    EXPECT_NEAR(repaints, 2 * 0.11 * radius, 3);  // two sweeps of some 16 steps
    // A turn of a step every 0.1 s leaves step 0 at 0.05 s; a still angle waits the longest.
    const RotationSteps hundredths(100);
    EXPECT_NEAR(nextStepChange([](double t) { return 0.1 * t; }, hundredths, 0, 0.0, 0.25, 0.004), 0.052, 1e-9);
    EXPECT_DOUBLE_EQ(nextStepChange([](double) { return 0.02; }, hundredths, 2, 3.0, 0.25, 0.004), 3.25);
}

// Frames follow their own delays, tiny ones played as 20 ms; a loop count
// limits the passes (0 plays once, 2 three times), then the last frame holds.
TEST(FrameTimeline, FramesFollowTheirDelaysForTheirLoops) {
    const std::vector<int> delays{100, 50, 200}, pair{100, 100};
    const struct {
        std::vector<int> delays;
        int loops;
        std::int64_t elapsed;
        std::size_t frame;
        std::optional<std::int64_t> untilNext;  // none: held for good
    } table[] = {{delays, -1, 0, 0, 100},  {delays, -1, 99, 0, 1},   {delays, -1, 100, 1, 50},
                 {delays, -1, 149, 1, 1},  {delays, -1, 150, 2, 200}, {delays, -1, 349, 2, 1},
                 {delays, -1, 350, 0, 100}, {delays, -1, 820, 1, 30}, {pair, 0, 150, 1, 50},
                 {pair, 0, 250, 1, {}},    {pair, 2, 450, 0, 50},     {pair, 2, 650, 1, {}},
                 {{0, 0}, -1, 30, 1, 10},  {{100}, -1, 5000, 0, {}},  {{}, -1, 0, 0, {}}};
    for (const auto& row : table) {
        const FramePosition position = framePositionAt(row.delays, row.loops, row.elapsed);
        EXPECT_EQ(position.index, row.frame) << row.elapsed;
        EXPECT_EQ(position.msUntilNext, row.untilNext) << row.elapsed;
    }
    for (const auto& [written, played] : {std::pair{0, 20}, {10, 20}, {70, 70}})
        EXPECT_EQ(playedFrameDelay(written), played);
}

}  // namespace
}  // namespace glugmo
