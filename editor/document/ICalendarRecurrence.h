#pragma once
// Maps an iCalendar repeat rule onto the package's repeat kinds: daily, weekly
// on a set of weekdays, monthly on the same date, monthly on the nth or last
// weekday, yearly on the same date, each every n periods. The handheld derives
// the day of a monthly or yearly repeat from the event's own date, so a rule
// maps only when its first occurrence is that date.

#include <libical/ical.h>

#include <QDate>

#include "editor/document/PackageEntries.h"

namespace skedlin {

// Sets repeat type, frequency and weekday mask of `event` and returns true when
// the package can hold the rule exactly. `start` is the event's first day in
// its own time zone; `dayShift` is how many days the local date lies after it
// (-1, 0 or 1), which only daily and weekly rules can follow.
bool mapICalendarRule(const icalrecurrencetype& rule, const QDate& start, int dayShift, EventEntry& event);

// The weekday mask bit of a date: Sunday bit 0 ... Saturday bit 6.
std::uint8_t weekdayBit(const QDate& date);

}  // namespace skedlin
