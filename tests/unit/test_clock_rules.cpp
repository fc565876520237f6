#include <gtest/gtest.h>

#include "menu/clock_rules.h"

namespace glugmo {
namespace {

constexpr int kSun = 1, kMon = 2, kFri = 6, kSat = 7;
const std::string kDrink = "08_多喝水";

struct Case {
    const char* name;
    int hour, minute, weekday;
    ClockSwitches switches;
    std::vector<std::string> firedBefore;
    std::vector<std::string> expectedKeys;
};

std::vector<std::string> keysOf(const std::vector<ClockAction>& actions) {
    std::vector<std::string> keys;
    for (const ClockAction& a : actions) keys.push_back(a.firedKey);
    return keys;
}

TEST(ClockRules, WhichRulesFireAtWhichTimes) {
    const ClockSwitches on{true, true};
    const Case cases[] = {
        {"monday 18:00 offwork then drink", 18, 0, kMon, on, {}, {"D-offwork", "D-drink-18"}},
        {"monday 18:01 drink already used", 18, 1, kMon, on, {"D-offwork", "D-drink-18"}, {}},
        {"friday 18:05", 18, 5, kFri, on, {}, {"D-offwork"}},
        {"friday 18:09 last minute", 18, 9, kFri, on, {}, {"D-offwork"}},
        {"friday 18:10 too late", 18, 10, kFri, on, {}, {}},
        {"saturday 18:05", 18, 5, kSat, on, {}, {}},
        {"saturday 18:00 drink only", 18, 0, kSat, on, {}, {"D-drink-18"}},
        {"sunday 18:00 drink only", 18, 0, kSun, on, {}, {"D-drink-18"}},
        {"15:14 before tea", 15, 14, kMon, on, {}, {}},
        {"15:15 tea", 15, 15, kMon, on, {}, {"D-tea"}},
        {"15:24 tea still", 15, 24, kSun, on, {}, {"D-tea"}},
        {"15:25 after tea", 15, 25, kMon, on, {}, {}},
        {"23:00 goodnight", 23, 0, kMon, on, {}, {"D-night"}},
        {"23:59 goodnight", 23, 59, kMon, on, {}, {"D-night"}},
        {"00:30 goodnight", 0, 30, kMon + 1, on, {}, {"D-night"}},
        {"01:00 nothing", 1, 0, kMon, on, {}, {}},
        {"22:00 no drink", 22, 0, kMon, on, {}, {}},
        {"09:00 odd hour", 9, 0, kMon, on, {}, {}},
        {"21:00 odd hour", 21, 0, kMon, on, {}, {}},
        {"10:00 drink", 10, 0, kMon, on, {}, {"D-drink-10"}},
        {"20:01 drink", 20, 1, kMon, on, {}, {"D-drink-20"}},
        {"20:02 too late", 20, 2, kMon, on, {}, {}},
        {"8:00 too early", 8, 0, kMon, on, {}, {}},
        {"clock off silences the drink too", 10, 0, kMon, {false, true}, {}, {}},
        {"drink off keeps the eggs", 18, 0, kMon, {true, false}, {}, {"D-offwork"}},
        {"tea already fired", 15, 20, kMon, on, {"D-tea"}, {}},
    };
    for (const Case& c : cases) {
        const std::set<std::string> fired(c.firedBefore.begin(), c.firedBefore.end());
        const auto actions =
            clockActions({c.hour, c.minute, c.weekday, "D"}, c.switches, true, fired, kDrink);
        EXPECT_EQ(keysOf(actions), c.expectedKeys) << c.name;
    }
}

TEST(ClockRules, ActionsCarryTheirPicturesAndLines) {
    const std::set<std::string> none;
    EXPECT_EQ(clockActions({18, 0, kMon, "2026-12-07"}, {}, true, none, kDrink),
              (std::vector<ClockAction>{
                  {"2026-12-07-offwork", "03_收工", "收工啦，今日就咁多"},
                  {"2026-12-07-drink-18", kDrink, "喝口水吧，你是水做的"}}));
    EXPECT_EQ(clockActions({18, 3, kFri, "2026-12-04"}, {}, true, none, kDrink).at(0).text,
              "收工！周五！冲！");
    EXPECT_EQ(clockActions({15, 20, kMon, "2026-12-07"}, {}, true, none, kDrink),
              (std::vector<ClockAction>{{"2026-12-07-tea", "10_三点几", "三点几啦，饮茶先啦，做咁多都冇用嘅"}}));
    EXPECT_EQ(clockActions({23, 10, kMon, "2026-12-05"}, {}, true, none, kDrink),
              (std::vector<ClockAction>{{"2026-12-05-night", std::nullopt, "早点休息，咕噜都困了"}}));
}

TEST(ClockRules, ABusyPetIsLeftAlone) {
    EXPECT_TRUE(clockActions({18, 0, kMon, "D"}, {}, false, {}, kDrink).empty());
}

}  // namespace
}  // namespace glugmo
