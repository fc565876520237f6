#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/clock.h"

namespace glugmo {

// What one look at the clock should do. Actions come in the order they run.
struct ClockAction {
    std::string firedKey;            // used up before the action runs
    std::optional<std::string> gif;  // play this with the text; none: bubble only
    std::string text;
    friend bool operator==(const ClockAction&, const ClockAction&) = default;
};

struct ClockSwitches {
    bool clockOn = true;
    bool drinkOn = true;
};

inline constexpr const char* kOffWorkGif = "03_收工";
inline constexpr const char* kTeaGif = "10_三点几";

// The easter eggs and the drink reminder due at `now`, leaving out those
// already fired today. The clock switch silences everything, the drink
// reminder included; a busy pet (not idle) is left alone.
std::vector<ClockAction> clockActions(const CalendarFields& now, ClockSwitches switches, bool isIdle,
                                      const std::set<std::string>& firedToday,
                                      const std::string& drinkGif);

}  // namespace glugmo
