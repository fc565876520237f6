#include <gtest/gtest.h>

#include "menu/clock_rules.h"

namespace glugmo {
namespace {

constexpr int kSun = 1, kMon = 2, kFri = 6, kSat = 7;
const std::string kDrink = "08_多喝水";

TEST(ClockRules, WhichRulesFireAtWhichTimes) {
    const ClockSwitches on{true, true};
    const struct {
        int hour, minute, weekday;
        std::vector<std::string> expectedKeys;
        std::vector<std::string> firedBefore = {};
        ClockSwitches switches = {true, true};
        bool idle = true;
    } cases[] = {
        {18, 0, kMon, {"D-offwork", "D-drink-18"}}, {18, 1, kMon, {}, {"D-offwork", "D-drink-18"}},
        {18, 0, kMon, {}, {}, on, false} /* busy */, {18, 5, kFri, {"D-offwork"}}, {18, 9, kFri, {"D-offwork"}},
        {18, 10, kFri, {}}, {18, 5, kSat, {}}, {18, 0, kSat, {"D-drink-18"}}, {18, 0, kSun, {"D-drink-18"}},
        {15, 14, kMon, {}}, {15, 15, kMon, {"D-tea"}}, {15, 24, kSun, {"D-tea"}}, {15, 25, kMon, {}},
        {15, 20, kMon, {}, {"D-tea"}}, {23, 0, kMon, {"D-night"}}, {23, 59, kMon, {"D-night"}},
        {0, 30, kMon + 1, {"D-night"}}, {1, 0, kMon, {}}, {22, 0, kMon, {}}, {9, 0, kMon, {}}, {21, 0, kMon, {}},
        {10, 0, kMon, {"D-drink-10"}}, {20, 1, kMon, {"D-drink-20"}}, {20, 2, kMon, {}}, {8, 0, kMon, {}},
        {10, 0, kMon, {}, {}, {false, true}} /* clock off silences the drink too */,
        {18, 0, kMon, {"D-offwork"}, {}, {true, false}} /* drink off keeps the eggs */,
    };
    for (const auto& c : cases) {
        std::vector<std::string> keys;
        const std::set<std::string> fired(c.firedBefore.begin(), c.firedBefore.end());
        for (const ClockAction& a : clockActions({c.hour, c.minute, c.weekday, "D"}, c.switches, c.idle, fired, kDrink))
            keys.push_back(a.firedKey);
        EXPECT_EQ(keys, c.expectedKeys) << c.hour << ":" << c.minute << " on day " << c.weekday;
    }
}

TEST(ClockRules, ActionsCarryTheirPicturesAndLines) {
    const std::set<std::string> none;
    EXPECT_EQ(clockActions({18, 0, kMon, "2026-12-07"}, {}, true, none, kDrink),
              (std::vector<ClockAction>{{"2026-12-07-offwork", "03_收工", "收工啦，今日就咁多"},
                                        {"2026-12-07-drink-18", kDrink, "喝口水吧，你是水做的"}}));
    EXPECT_EQ(clockActions({18, 3, kFri, "2026-12-04"}, {}, true, none, kDrink).at(0).text, "收工！周五！冲！");
    EXPECT_EQ(clockActions({15, 20, kMon, "2026-12-07"}, {}, true, none, kDrink),
              (std::vector<ClockAction>{{"2026-12-07-tea", "10_三点几", "三点几啦，饮茶先啦，做咁多都冇用嘅"}}));
    EXPECT_EQ(clockActions({23, 10, kMon, "2026-12-05"}, {}, true, none, kDrink),
              (std::vector<ClockAction>{{"2026-12-05-night", std::nullopt, "早点休息，咕噜都困了"}}));
}

}  // namespace
}  // namespace glugmo
