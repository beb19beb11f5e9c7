#include "DateText.h"

#include "oledate.h"

#include <cstdio>

namespace corvane {

namespace {
std::string datePart(const automation::DateTime& t) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", t.day % 100, t.month % 100, t.year % 10000);
    return buf;
}
std::string timePart(const automation::DateTime& t) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour % 100, t.minute % 100, t.second % 100);
    return buf;
}
}  // namespace

std::string GeneralDate(double oleDate) {
    const std::optional<automation::DateTime> date = automation::fromOleDate(oleDate);
    if (!date) return {};
    const automation::DateTime& t = *date;
    const bool zeroDate = t.year == 1899 && t.month == 12 && t.day == 30;
    const bool midnight = t.hour == 0 && t.minute == 0 && t.second == 0;
    if (zeroDate) return timePart(t);
    if (midnight) return datePart(t);
    return datePart(t) + " " + timePart(t);
}

std::string ShortDate(double oleDate) {
    const std::optional<automation::DateTime> date = automation::fromOleDate(oleDate);
    return date ? datePart(*date) : std::string();
}

}  // namespace corvane
