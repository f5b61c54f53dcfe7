#pragma once
// Calendar dates and times of day as the builder reads them from a package, and
// their 16-bit encodings in the handheld date book records.

#include <cstdint>
#include <optional>
#include <string_view>

#include "formats/records/PackageRecordLayout.h"

namespace skedlin {

// A day of the proleptic Gregorian calendar.
struct CalendarDate {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

// The records mark "no date" and "no time" (an untimed event, an endless
// repetition) with all bits set.
inline constexpr std::uint16_t kNoPalmDate = SKR_PALM_NO_DATE;
inline constexpr std::uint16_t kNoPalmTime = SKR_PALM_NO_TIME;

// The Palm date keeps the year as seven bits counted from 1904.
inline constexpr int kFirstPalmYear = 1904;
inline constexpr int kLastPalmYear = 2031;

// Years a date may have at all (the Pocket PC record keeps the year in 16 bits).
inline constexpr int kFirstSupportedYear = 1;
inline constexpr int kLastSupportedYear = 9999;

int daysInMonth(int year, int month);
bool isValidDate(const CalendarDate& date);

// Days since 1 January 1900 (day 0), and back. The day count of the package
// file's `day` attribute uses this origin.
long daysSince1900(const CalendarDate& date);
CalendarDate dateFrom1900Days(long days);

// 1 January 1900 plus days; nullopt when that lies outside the supported years.
std::optional<CalendarDate> dateFromDayAttribute(long days);

CalendarDate addDays(const CalendarDate& date, long days);

// 0 = Sunday ... 6 = Saturday.
int weekdayOf(const CalendarDate& date);

bool fitsPalmDate(const CalendarDate& date);
// (year - 1904) x 512 + month x 32 + day; the date must fit (fitsPalmDate).
std::uint16_t palmDate(const CalendarDate& date);

struct TimeOfDay {
    int hours = 0;    // 0..23
    int minutes = 0;  // 0..59
    friend bool operator==(const TimeOfDay&, const TimeOfDay&) = default;
};

// hours x 256 + minutes.
std::uint16_t palmTime(const TimeOfDay& time);

// The package's time text: hours are the leading decimal integer, minutes the
// integer after the first ":" (or, without one, the first "."). A part out of
// range (hours 0..23, minutes 0..59) or missing becomes 0.
TimeOfDay parseTimeOfDay(std::string_view text);

// The leading decimal integer of a text the way the package's numbers are read:
// leading white space and a sign allowed, reading stops at the first other
// character, no digits gives 0. Values beyond the range of long saturate.
long leadingInteger(std::string_view text);

}  // namespace skedlin
