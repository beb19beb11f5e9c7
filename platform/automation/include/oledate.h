// Automation dates: days since 30 December 1899 as a double, the time of day as fraction;
// 0 means "never set". "Now" comes from the local clock, or from a clock a test installs.
#pragma once

#include <functional>
#include <optional>

namespace automation {

struct DateTime {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
};

double toOleDate(const DateTime& dt);
// The date and time rounded to the nearest second; none for NaN, the infinities and anything
// outside the automation-date range, 1 January 100 00:00:00 to 31 December 9999 23:59:59.
std::optional<DateTime> fromOleDate(double oleDate);

// The current local date and time as an automation date.
double now();

// Replaces the clock behind now(); an empty function restores the local clock.
void setClock(std::function<double()> clock);

// Installs a clock for the lifetime of the object (tests).
class ScopedClock {
public:
    explicit ScopedClock(std::function<double()> clock) { setClock(std::move(clock)); }
    ~ScopedClock() { setClock({}); }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;
};

}  // namespace automation
