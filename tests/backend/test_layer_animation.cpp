#include <gtest/gtest.h>

#include <cmath>

#include "platform/qt/animation_timing.h"
#include "platform/qt/qt_layer.h"

namespace glugmo {
namespace {

const BasicAnimation kRock{"transform.rotation.z",       -0.055, 0.055, 1.7, true, kRepeatForever,
                           TimingFunction::EaseInEaseOut};
const KeyframeAnimation kStretch{
    "transform.rotation.z", {0, 0.18, -0.05, 0.02, 0}, {0, 0.35, 0.65, 0.85, 1.0}, 1.4, TimingFunction::EaseInEaseOut};

// When the eased curve reaches `progress`, in seconds of the stretch.
double stretchTimeAt(double progress) {
    double low = 0, high = 1;
    for (int step = 0; step < 60; ++step) (easeInEaseOut((low + high) / 2) < progress ? low : high) = (low + high) / 2;
    return low * 1.4;
}

TEST(AnimationValues, RockSweepsAndStretchPassesItsKeysUnderOneCurve) {
    const BasicAnimation once{"transform.rotation.z", 0, 1, 2.0, false, 0, TimingFunction::Linear};
    BasicAnimation twiceBack = once;
    twiceBack.duration = 1, twiceBack.autoreverses = true, twiceBack.repeatCount = 2;
    const struct {
        Animation animation;
        double time;
        std::optional<double> value;  // none: ended
    } table[] = {
        {kRock, 0, -0.055}, {kRock, 0.85, 0}, {kRock, 1.7, 0.055}, {kRock, 2.55, 0}, {kRock, 3400.0, -0.055},
        {once, 0.5, 0.25}, {once, 2.0, {}}, {twiceBack, 1.5, 0.5}, {twiceBack, 3.25, 0.75}, {twiceBack, 4, {}},
        {kStretch, stretchTimeAt(0.35), 0.18}, {kStretch, stretchTimeAt(0.65), -0.05},
        {kStretch, stretchTimeAt(0.85), 0.02}, {kStretch, stretchTimeAt(0.5), 0.065}, {kStretch, 1.4, {}},
    };
    for (const auto& row : table) {
        const auto value = animationValueAt(row.animation, row.time);
        ASSERT_EQ(value.has_value(), row.value.has_value()) << row.time;
        EXPECT_NEAR(value.value_or(0), row.value.value_or(0), 1e-6) << row.time;
    }
    EXPECT_TRUE(std::isinf(activeDuration(kRock)));
}

// A layer on a clock the test moves by hand.
struct LayerOnTestClock : ::testing::Test {
    double now = 100;
    int changes = 0;
    QtLayer layer{[this] { return now; }, [this] { ++changes; }};
};

TEST_F(LayerOnTestClock, TheNewestRunningRotationIsDrawnUntilItEnds) {
    layer.addAnimation(kRock, "rock");
    EXPECT_NEAR(layer.rotationAt(now + 1.7), 0.055, 1e-9);
    now += 0.85;
    layer.addAnimation(kRock, "rock");  // replaces and restarts
    EXPECT_NEAR(layer.rotationAt(now), -0.055, 1e-12);
    now += 0.5;
    layer.addAnimation(kStretch, "stretch");
    EXPECT_NEAR(layer.rotationAt(now), 0, 1e-12);
    EXPECT_TRUE(layer.isAnimatingAt(now + 0.7));
    // Once the stretch has ended the rock shows through again, still in phase.
    EXPECT_NEAR(layer.rotationAt(now + 2.0), *animationValueAt(kRock, 2.5), 1e-12);
    now += 1.4;
    EXPECT_FALSE(layer.hasAnimation("stretch"));
    layer.removeAnimation("rock");
    EXPECT_FALSE(layer.hasAnimation("rock"));
    EXPECT_FALSE(layer.isAnimatingAt(now));
    EXPECT_DOUBLE_EQ(layer.rotationAt(now), 0);
    BasicAnimation fade = kRock;
    fade.keyPath = "opacity";
    layer.addAnimation(fade, "fade");
    EXPECT_TRUE(layer.hasAnimation("fade"));
    EXPECT_DOUBLE_EQ(layer.rotationAt(now + 1), 0);
    EXPECT_FALSE(layer.isAnimatingAt(now));
    layer.resetTransform();
    layer.setAnchorPoint({0.5, 0});
    layer.setFrame(Rect::make(0, 0, 120, 137));
    EXPECT_EQ(changes, 8);
}

}  // namespace
}  // namespace glugmo
