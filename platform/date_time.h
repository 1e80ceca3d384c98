// Date and time as a day count: whole days since 30 December 1899 plus the elapsed
// fraction of the day, the encoding the settings store for "Install".
#pragma once

#include <ctime>

namespace tessaly {

// The day count of a broken-down time (tm_year, tm_mon, tm_mday, tm_hour, tm_min, tm_sec)
// plus `milliseconds` into its second.
double dayCount(const std::tm& time, int milliseconds);

// The current local date and time as a day count.
double localDayCount();

}  // namespace tessaly
