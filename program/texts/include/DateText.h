// The general text form of an automation date, as status bar, dialogs and printout show it.
#pragma once

#include <string>

namespace corvane {

// "dd.mm.yyyy hh:mm:ss"; the date alone when the time is midnight, the time alone when the
// date is the zero date (so 0 gives "00:00:00"). A value that is no date (NaN, an infinity,
// outside 1 January 100 .. 31 December 9999) gives an empty text.
std::string GeneralDate(double oleDate);

// The date part alone, "dd.mm.yyyy"; empty for a value that is no date.
std::string ShortDate(double oleDate);

}  // namespace corvane
