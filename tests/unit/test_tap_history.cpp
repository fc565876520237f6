#include <gtest/gtest.h>

#include <vector>

#include "pet/tap_history.h"

namespace glugmo {
namespace {

// Feeds taps at the given times and returns which were bursts.
std::vector<bool> tapsAt(TapHistory& history, const std::vector<double>& times) {
    std::vector<bool> bursts;
    for (double t : times) bursts.push_back(history.recordTap(t));
    return bursts;
}

TEST(TapHistory, SixthTapWithinTwoSecondsIsABurstAndForgetsEverything) {
    TapHistory history;
    EXPECT_EQ(tapsAt(history, {0.0, 0.4, 0.8, 1.2, 1.6, 1.9}),
              (std::vector<bool>{false, false, false, false, false, true}));
    EXPECT_TRUE(history.times().empty());
    EXPECT_FALSE(history.recordTap(2.0));
    EXPECT_EQ(history.times(), std::vector<double>{2.0});
}

TEST(TapHistory, TapsExactlyTwoSecondsApartNeverAccumulate) {
    TapHistory history;
    for (int i = 0; i < 10; ++i) EXPECT_FALSE(history.recordTap(2.0 * i));
    EXPECT_EQ(history.times().size(), 1u);
}

TEST(TapHistory, OldTapsArePrunedBeforeCounting) {
    TapHistory history;
    EXPECT_EQ(tapsAt(history, {0.0, 0.5, 1.0, 1.5, 2.1, 2.2}), std::vector<bool>(6, false));
    EXPECT_EQ(history.times(), (std::vector<double>{0.5, 1.0, 1.5, 2.1, 2.2}));
}

TEST(TapHistory, BurstsRepeatEverySixQuickTaps) {
    TapHistory history;
    std::vector<double> times;
    for (int i = 0; i < 12; ++i) times.push_back(0.1 * i);
    const std::vector<bool> bursts = tapsAt(history, times);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(bursts[i], i == 5 || i == 11) << i;
}

TEST(TapHistory, TapsFromTheFutureStayWhenTheClockGoesBack) {
    TapHistory history;
    history.recordTap(100.0);
    history.recordTap(50.0);
    EXPECT_EQ(history.times(), (std::vector<double>{100.0, 50.0}));
    // Never more than five remembered, however the clock jumps.
    for (double t : {40.0, 30.0, 20.0, 10.0}) history.recordTap(t);
    EXPECT_LE(history.times().size(), 5u);
}

}  // namespace
}  // namespace glugmo
