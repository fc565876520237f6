#include <gtest/gtest.h>

#include <vector>

#include "pet/tap_history.h"

namespace glugmo {
namespace {

TEST(TapHistory, TheSixthTapWithinTwoSecondsIsABurstThatForgetsEverything) {
    const struct {
        const char* name;
        std::vector<double> times;
        std::vector<bool> bursts;
        std::vector<double> remembered;
    } cases[] = {
        {"six quick, then afresh", {0, 0.4, 0.8, 1.2, 1.6, 1.9, 2.0}, {0, 0, 0, 0, 0, 1, 0}, {2.0}},
        {"old taps pruned first", {0, 0.5, 1, 1.5, 2.1, 2.2}, {0, 0, 0, 0, 0, 0}, {0.5, 1, 1.5, 2.1, 2.2}},
        {"two seconds apart", {0, 2, 4, 6, 8, 10, 12}, {0, 0, 0, 0, 0, 0, 0}, {12}},
        {"every sixth", {0, .1, .2, .3, .4, .5, .6, .7, .8, .9, 1, 1.1}, {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1}, {}},
        // A clock set back keeps the taps from the future, but never more than five.
        {"clock set back", {100, 50, 40, 30, 20, 10}, {0, 0, 0, 0, 0, 1}, {}},
        {"clock set back, slowly", {100, 50}, {0, 0}, {100, 50}},
    };
    for (const auto& c : cases) {
        TapHistory history;
        std::vector<bool> bursts;
        for (double t : c.times) bursts.push_back(history.recordTap(t));
        EXPECT_EQ(bursts, c.bursts) << c.name;
        EXPECT_EQ(history.times(), c.remembered) << c.name;
    }
}

}  // namespace
}  // namespace glugmo
