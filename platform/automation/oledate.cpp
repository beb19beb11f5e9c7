#include "oledate.h"

#include <cmath>
#include <ctime>
#include <mutex>

namespace automation {

namespace {

// Days from 1970-01-01 to the given civil date (proleptic Gregorian calendar).
long daysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(long z, int& y, int& m, int& d) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

const long kEpochOffset = daysFromCivil(1899, 12, 30);

std::mutex clockMutex;
std::function<double()> clockOverride;

}  // namespace

double toOleDate(const DateTime& dt) {
    const long days = daysFromCivil(dt.year, dt.month, dt.day) - kEpochOffset;
    const double fraction = (dt.hour * 3600.0 + dt.minute * 60.0 + dt.second) / 86400.0;
    // Before the epoch the fraction still counts forward from midnight, with the sign of the day.
    return days >= 0 ? days + fraction : days - fraction;
}

std::optional<DateTime> fromOleDate(double oleDate) {
    constexpr double kFirstDay = -657434.0;  // 1 January 100
    constexpr double kLastDay = 2958465.0;   // 31 December 9999
    // Before the epoch the fraction counts forward too: -657434.5 is noon of 1 January 100.
    // The test is written so that NaN fails it as well.
    if (!(oleDate > kFirstDay - 1.0 && oleDate < kLastDay + 1.0)) return std::nullopt;
    const double whole = std::trunc(oleDate);
    long days = static_cast<long>(whole);
    long seconds = std::lround(std::fabs(oleDate - whole) * 86400.0);
    if (seconds >= 86400) {  // rounded up to the next midnight
        seconds -= 86400;
        ++days;
        if (days > static_cast<long>(kLastDay)) return std::nullopt;
    }
    DateTime dt;
    civilFromDays(days + kEpochOffset, dt.year, dt.month, dt.day);
    dt.hour = static_cast<int>(seconds / 3600);
    dt.minute = static_cast<int>(seconds / 60 % 60);
    dt.second = static_cast<int>(seconds % 60);
    return dt;
}

double now() {
    {
        std::lock_guard<std::mutex> lock(clockMutex);
        if (clockOverride) return clockOverride();
    }
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return toOleDate(
        {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec});
}

void setClock(std::function<double()> clock) {
    std::lock_guard<std::mutex> lock(clockMutex);
    clockOverride = std::move(clock);
}

}  // namespace automation
