#pragma once

#include "platform/clock.h"

namespace glugmo {

// The wall clock and the local calendar as Qt sees them.
class QtClock final : public Clock {
public:
    double now() const override;
    CalendarFields calendarAt(double instant) const override;
};

// Qt numbers weekdays Monday = 1 ... Sunday = 7; the behaviour counts
// Sunday = 1 ... Saturday = 7.
int weekdayFromIsoDay(int isoDayOfWeek);

}  // namespace glugmo
