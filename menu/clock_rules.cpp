#include "menu/clock_rules.h"

namespace glugmo {

namespace {
constexpr int kMonday = 2;
constexpr int kFriday = 6;

bool isWorkday(int weekday) { return weekday >= kMonday && weekday <= kFriday; }

std::optional<ClockAction> hourRule(const CalendarFields& now) {
    const std::string& day = now.dateKey;
    if (now.hour == 18) {
        if (now.minute > 9 || !isWorkday(now.weekday)) return std::nullopt;
        return ClockAction{day + "-" + "offwork", kOffWorkGif,
                           now.weekday == kFriday ? "收工！周五！冲！" : "收工啦，今日就咁多"};
    }
    if (now.hour == 15) {
        if (now.minute < 15 || now.minute > 24) return std::nullopt;
        return ClockAction{day + "-" + "tea", kTeaGif, "三点几啦，饮茶先啦，做咁多都冇用嘅"};
    }
    if (now.hour >= 23 || now.hour <= 0) {
        return ClockAction{day + "-night", std::nullopt, "早点休息，咕噜都困了"};
    }
    return std::nullopt;
}
}  // namespace

std::vector<ClockAction> clockActions(const CalendarFields& now, ClockSwitches switches, bool isIdle,
                                      const std::set<std::string>& firedToday,
                                      const std::string& drinkGif) {
    std::vector<ClockAction> actions;
    if (!switches.clockOn || !isIdle) return actions;
    if (std::optional<ClockAction> egg = hourRule(now); egg && !firedToday.contains(egg->firedKey)) {
        actions.push_back(std::move(*egg));
    }
    const bool drinkHour = now.hour >= 9 && now.hour <= 21 && now.hour % 2 == 0;
    if (switches.drinkOn && drinkHour && now.minute <= 1) {
        std::string key = now.dateKey + "-" + ("drink-" + std::to_string(now.hour));
        if (!firedToday.contains(key)) {
            actions.push_back({std::move(key), drinkGif, "喝口水吧，你是水做的"});
        }
    }
    return actions;
}

}  // namespace glugmo
