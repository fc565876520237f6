#include <gtest/gtest.h>

#include <cmath>

#include "platform/qt/frame_timeline.h"
#include "platform/qt/rotation_steps.h"

namespace glugmo {
namespace {

// A 120 x 137 picture rotating about its bottom centre: its top corners are
// the farthest points, about 149.6 pixels away.
const QRectF kPicture(0, 0, 120, 137);
const QPointF kPivot(60, 137);

TEST(RotationSteps, FarthestPointIsATopCorner) {
    EXPECT_NEAR(farthestDistance(kPicture, kPivot), std::hypot(60.0, 137.0), 1e-9);
    EXPECT_DOUBLE_EQ(farthestDistance(QRectF(), kPivot), 0);
}

TEST(RotationSteps, OneStepMovesTheFarthestPointByOnePixel) {
    const double radius = farthestDistance(kPicture, kPivot);
    const RotationSteps steps(radius);
    EXPECT_NEAR(steps.step() * radius, 1.0, 1e-12);
    // Angles whose farthest point lies within half a pixel of a step draw as that step.
    EXPECT_EQ(steps.indexOf(0.0), 0);
    EXPECT_EQ(steps.indexOf(0.49 / radius), 0);
    EXPECT_EQ(steps.indexOf(0.51 / radius), 1);
    EXPECT_EQ(steps.indexOf(-0.055), -static_cast<int>(std::lround(0.055 * radius)));
    // The drawn angle is never further than half a pixel from the true one.
    for (double angle = -0.2; angle <= 0.2; angle += 0.0007) {
        EXPECT_LE(std::abs(steps.angleOf(steps.indexOf(angle)) - angle) * radius, 0.5 + 1e-9);
    }
}

TEST(RotationSteps, NoPictureNeverRepaintsForRotation) {
    const RotationSteps none(0);
    EXPECT_EQ(none.indexOf(0.18), 0);
    EXPECT_EQ(none.indexOf(NAN), 0);
}

TEST(RotationSteps, NextChangeIsWhenTheAngleLeavesItsStep) {
    const RotationSteps steps(100);                         // one step = 0.01 rad
    const auto turning = [](double t) { return 0.1 * t; };  // a step every 0.1 s
    // At t = 0 the angle is in step 0; it reaches step 1 at 0.05 s.
    EXPECT_NEAR(nextStepChange(turning, steps, 0, 0.0, 0.25, 0.004), 0.052, 1e-9);
    const auto still = [](double) { return 0.02; };
    EXPECT_DOUBLE_EQ(nextStepChange(still, steps, 2, 3.0, 0.25, 0.004), 3.25);
}

TEST(RotationSteps, RockingNeverSkipsAStepBetweenWakeUps) {
    // Following the wake-ups as the view does, each repaint moves one step.
    const double radius = farthestDistance(kPicture, kPivot);
    const RotationSteps steps(radius);
    const auto rock = [](double t) {
        const double phase = std::fmod(t, 3.4) / 1.7;
        const double p = phase > 1 ? 2 - phase : phase;
        return -0.055 + 0.11 * (0.5 - 0.5 * std::cos(M_PI * p));
    };
    double t = 0;
    int index = steps.indexOf(rock(t));
    int repaints = 0;
    while (t < 3.4) {
        t = nextStepChange(rock, steps, index, t, 0.25, 0.004);
        const int next = steps.indexOf(rock(t));
        EXPECT_LE(std::abs(next - index), 1) << t;
        repaints += next != index;
        index = next;
    }
    // Two sweeps of 0.11 rad at about 150 pixels: some 16 steps each.
    EXPECT_NEAR(repaints, 2 * 0.11 * radius, 3);
}

TEST(FrameTimeline, FramesFollowTheirOwnDelays) {
    const std::vector<int> delays{100, 50, 200};
    const struct {
        std::int64_t elapsed;
        std::size_t frame;
        std::int64_t untilNext;
    } table[] = {{0, 0, 100},   {99, 0, 1},  {100, 1, 50},  {149, 1, 1},
                 {150, 2, 200}, {349, 2, 1}, {350, 0, 100}, {700 + 120, 1, 30}};
    for (const auto& row : table) {
        const FramePosition position = framePositionAt(delays, -1, row.elapsed);
        EXPECT_EQ(position.index, row.frame) << row.elapsed;
        ASSERT_TRUE(position.msUntilNext) << row.elapsed;
        EXPECT_EQ(*position.msUntilNext, row.untilNext) << row.elapsed;
    }
}

TEST(FrameTimeline, LoopCountLimitsThePassesThenHoldsTheLastFrame) {
    const std::vector<int> delays{100, 100};
    // loopCount 0 plays once, 2 plays three times.
    EXPECT_EQ(framePositionAt(delays, 0, 150).index, 1u);
    EXPECT_EQ(framePositionAt(delays, 0, 250).index, 1u);
    EXPECT_FALSE(framePositionAt(delays, 0, 250).msUntilNext);
    EXPECT_EQ(framePositionAt(delays, 2, 450).index, 0u);
    EXPECT_EQ(framePositionAt(delays, 2, 650).index, 1u);
    EXPECT_FALSE(framePositionAt(delays, 2, 650).msUntilNext);
}

TEST(FrameTimeline, TinyDelaysPlayAsTwentyMilliseconds) {
    EXPECT_EQ(playedFrameDelay(0), 20);
    EXPECT_EQ(playedFrameDelay(10), 20);
    EXPECT_EQ(playedFrameDelay(70), 70);
    EXPECT_EQ(framePositionAt({0, 0}, -1, 30).index, 1u);
}

TEST(FrameTimeline, AStillPictureNeverChanges) {
    EXPECT_EQ(framePositionAt({100}, -1, 5000).index, 0u);
    EXPECT_FALSE(framePositionAt({100}, -1, 5000).msUntilNext);
    EXPECT_FALSE(framePositionAt({}, -1, 0).msUntilNext);
}

}  // namespace
}  // namespace glugmo
