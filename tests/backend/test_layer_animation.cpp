#include <gtest/gtest.h>

#include <cmath>

#include "platform/qt/animation_timing.h"
#include "platform/qt/qt_layer.h"

namespace glugmo {
namespace {

const BasicAnimation kRock{"transform.rotation.z",       -0.055, 0.055, 1.7, true, kRepeatForever,
                           TimingFunction::EaseInEaseOut};
const KeyframeAnimation kStretch{"transform.rotation.z",
                                 {0, 0.18, -0.05, 0.02, 0},
                                 {0, 0.35, 0.65, 0.85, 1.0},
                                 1.4,
                                 TimingFunction::EaseInEaseOut};

// A layer on a clock the test moves by hand.
struct LayerOnTestClock : ::testing::Test {
    double now = 100;
    int changes = 0;
    QtLayer layer{[this] { return now; }, [this] { ++changes; }};
};

TEST(BasicAnimationValues, RockSwingsThereAndBackForEver) {
    const struct {
        double time, angle;
    } table[] = {{0, -0.055}, {0.85, 0}, {1.7, 0.055}, {2.55, 0}, {3.4, -0.055}, {3400.0, -0.055}};
    for (const auto& row : table) {
        const auto value = animationValueAt(kRock, row.time);
        ASSERT_TRUE(value) << row.time;
        EXPECT_NEAR(*value, row.angle, 1e-9) << row.time;
    }
    EXPECT_TRUE(std::isinf(activeDuration(kRock)));
}

TEST(BasicAnimationValues, ALinearSweepThatPlaysOnceEnds) {
    const BasicAnimation once{"transform.rotation.z", 0, 1, 2.0, false, 0, TimingFunction::Linear};
    EXPECT_NEAR(*animationValueAt(once, 0.5), 0.25, 1e-12);
    EXPECT_FALSE(animationValueAt(once, 2.0));
    const BasicAnimation twiceBack{"transform.rotation.z", 0, 1, 1.0, true, 2,
                                   TimingFunction::Linear};
    EXPECT_DOUBLE_EQ(activeDuration(twiceBack), 4.0);
    EXPECT_NEAR(*animationValueAt(twiceBack, 1.5), 0.5, 1e-12);
    EXPECT_NEAR(*animationValueAt(twiceBack, 3.25), 0.75, 1e-12);
}

TEST(KeyframeAnimationValues, StretchPassesItsKeyframesUnderOneCurve) {
    // Each key value lands where the one eased curve maps its key time.
    for (std::size_t i = 0; i + 1 < kStretch.values.size(); ++i) {
        // Invert the curve by bisection to find when progress reaches the key time.
        double low = 0, high = 1;
        for (int step = 0; step < 60; ++step) {
            const double mid = (low + high) / 2;
            (easeInEaseOut(mid) < kStretch.keyTimes[i] ? low : high) = mid;
        }
        EXPECT_NEAR(*animationValueAt(kStretch, low * 1.4), kStretch.values[i], 1e-6) << i;
    }
    // Between keys the value is linear in progress: halfway from 0.18 to -0.05.
    double low = 0, high = 1;
    for (int step = 0; step < 60; ++step) {
        const double mid = (low + high) / 2;
        (easeInEaseOut(mid) < 0.5 ? low : high) = mid;
    }
    EXPECT_NEAR(*animationValueAt(kStretch, low * 1.4), 0.065, 1e-6);
    EXPECT_FALSE(animationValueAt(kStretch, 1.4));
}

TEST_F(LayerOnTestClock, StretchRemovesItselfAfterItsDuration) {
    layer.addAnimation(kStretch, "stretch");
    EXPECT_TRUE(layer.hasAnimation("stretch"));
    now += 0.7;
    EXPECT_TRUE(layer.hasAnimation("stretch"));
    EXPECT_TRUE(layer.isAnimatingAt(now));
    now += 0.7;
    EXPECT_FALSE(layer.hasAnimation("stretch"));
    EXPECT_FALSE(layer.isAnimatingAt(now));
    EXPECT_DOUBLE_EQ(layer.rotationAt(now), 0);
}

TEST_F(LayerOnTestClock, RockStartsWhenAddedAndDrawsItsValue) {
    now = 50;
    layer.addAnimation(kRock, "rock");
    EXPECT_NEAR(layer.rotationAt(50), -0.055, 1e-12);
    EXPECT_NEAR(layer.rotationAt(51.7), 0.055, 1e-9);
    EXPECT_TRUE(layer.hasAnimation("rock"));
    EXPECT_FALSE(layer.hasAnimation("stretch"));
}

TEST_F(LayerOnTestClock, TheNewestRunningAnimationIsDrawn) {
    layer.addAnimation(kRock, "rock");
    now += 0.5;
    layer.addAnimation(kStretch, "stretch");
    EXPECT_NEAR(layer.rotationAt(now), 0, 1e-12);  // the stretch starts at 0
    // Once the stretch has ended the rock shows through again, still in phase.
    EXPECT_NEAR(layer.rotationAt(now + 2.0), *animationValueAt(kRock, 2.5), 1e-12);
}

TEST_F(LayerOnTestClock, AddingUnderAKeyReplacesAndRestarts) {
    layer.addAnimation(kRock, "rock");
    now += 0.85;
    layer.addAnimation(kRock, "rock");
    EXPECT_NEAR(layer.rotationAt(now), -0.055, 1e-12);
    layer.removeAnimation("rock");
    EXPECT_FALSE(layer.hasAnimation("rock"));
    EXPECT_DOUBLE_EQ(layer.rotationAt(now), 0);
}

TEST_F(LayerOnTestClock, OnlyTheRotationKeyPathTurnsThePicture) {
    BasicAnimation fade = kRock;
    fade.keyPath = "opacity";
    layer.addAnimation(fade, "fade");
    EXPECT_TRUE(layer.hasAnimation("fade"));
    EXPECT_DOUBLE_EQ(layer.rotationAt(now + 1), 0);
    EXPECT_FALSE(layer.isAnimatingAt(now));
}

TEST_F(LayerOnTestClock, EveryChangeIsReported) {
    layer.addAnimation(kRock, "rock");
    layer.removeAnimation("rock");
    layer.resetTransform();
    layer.setAnchorPoint({0.5, 0});
    layer.setFrame(Rect::make(0, 0, 120, 137));
    EXPECT_EQ(changes, 5);
}

}  // namespace
}  // namespace glugmo
