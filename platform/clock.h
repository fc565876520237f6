#pragma once

#include <string>

namespace glugmo {

// Calendar fields of an instant in the user's local time.
struct CalendarFields {
    int hour = 0;         // 0-23
    int minute = 0;       // 0-59
    int weekday = 1;      // 1 = Sunday, 2 = Monday, ..., 7 = Saturday
    std::string dateKey;  // "yyyy-MM-dd"
};

class Clock {
public:
    virtual ~Clock() = default;
    // Wall-clock time in seconds since the Unix epoch. It may jump (the user
    // sets the clock back), so it is for dates, not for measuring intervals.
    virtual double now() const = 0;
    virtual CalendarFields calendarAt(double instant) const = 0;
};

}  // namespace glugmo
