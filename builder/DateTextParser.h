#pragma once
// The builder's date-only parser for the text of a package's date elements. It
// is used when a date has no `day` count, so it must read what people type into
// a package by hand as well as what the editor writes:
//   "01 Jan 2003", "1 January 2003", "Jan 1, 2003"  (English month names, and
//                                                    those of the user's locale)
//   "2003-01-01"                                    (year first, any of - / .)
//   "01/02/2003", "1.2.03"                          (numeric, in the day/month
//                                                    order of the user's locale)
// A time part, a weekday or any other extra text makes the parse fail.

#include "builder/PackageDateTime.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace skedlin {

enum class NumericDateOrder { DayMonthYear, MonthDayYear, YearMonthDay };

// Month names that a date text may use besides the English ones; entry 0 is January.
struct LocaleMonthNames {
    std::vector<std::string> full;
    std::vector<std::string> abbreviated;
};

struct DateTextConventions {
    NumericDateOrder order = NumericDateOrder::MonthDayYear;
    LocaleMonthNames monthNames;
};

// The order in which a strftime date pattern ("%d.%m.%Y", "%m/%d/%y") puts its
// day, month and year; month-day-year when the pattern does not say.
NumericDateOrder numericDateOrderOf(std::string_view datePattern);

// The conventions of the user's locale (LC_ALL, LC_TIME, LANG); the "C" locale's
// when none is set or the named locale is not installed.
DateTextConventions userDateTextConventions();

// The text as a date, or nullopt when it is not one. A two-digit year means
// 1930 to 2029.
std::optional<CalendarDate> parseDateText(std::string_view text, const DateTextConventions& conventions);

}  // namespace skedlin
