#include "builder/PackageDateTime.h"

#include <cctype>
#include <climits>

namespace skedlin {
namespace {

bool isLeapYear(long year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// Days from 1 March of year 0 based eras, after H. Hinnant's civil calendar
// algorithms; exact for every proleptic Gregorian date.
long daysFromCivil(long year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const long era = (year >= 0 ? year : year - 399) / 400;
    const long yearOfEra = year - era * 400;
    const long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;  // 0 = 1 January 1970
}

struct CivilDate {
    long year;
    int month;
    int day;
};

CivilDate civilFromDays(long days) {
    days += 719468;
    const long era = (days >= 0 ? days : days - 146096) / 146097;
    const long dayOfEra = days - era * 146097;
    const long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long monthIndex = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    const int month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

const long kDay0 = daysFromCivil(1900, 1, 1);

}  // namespace

int daysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    if (month == 2 && isLeapYear(year)) return 29;
    return kDays[month - 1];
}

bool isValidDate(const CalendarDate& date) {
    return date.year >= kFirstSupportedYear && date.year <= kLastSupportedYear && date.month >= 1 && date.month <= 12 &&
           date.day >= 1 && date.day <= daysInMonth(date.year, date.month);
}

long daysSince1900(const CalendarDate& date) { return daysFromCivil(date.year, date.month, date.day) - kDay0; }

CalendarDate dateFrom1900Days(long days) {
    const CivilDate civil = civilFromDays(days + kDay0);
    return {static_cast<int>(civil.year), civil.month, civil.day};
}

std::optional<CalendarDate> dateFromDayAttribute(long days) {
    // Bound the count before adding so that no arithmetic can overflow.
    static const long kFirst = daysSince1900({kFirstSupportedYear, 1, 1});
    static const long kLast = daysSince1900({kLastSupportedYear, 12, 31});
    if (days < kFirst || days > kLast) return std::nullopt;
    return dateFrom1900Days(days);
}

CalendarDate addDays(const CalendarDate& date, long days) { return dateFrom1900Days(daysSince1900(date) + days); }

int weekdayOf(const CalendarDate& date) {
    // 1 January 1970 was a Thursday (4).
    const long days = daysFromCivil(date.year, date.month, date.day);
    const long weekday = (days + 4) % 7;
    return static_cast<int>(weekday < 0 ? weekday + 7 : weekday);
}

bool fitsPalmDate(const CalendarDate& date) {
    return isValidDate(date) && date.year >= kFirstPalmYear && date.year <= kLastPalmYear;
}

std::uint16_t palmDate(const CalendarDate& date) {
    return static_cast<std::uint16_t>((date.year - kFirstPalmYear) * 512 + date.month * 32 + date.day);
}

std::uint16_t palmTime(const TimeOfDay& time) { return static_cast<std::uint16_t>(time.hours * 256 + time.minutes); }

long leadingInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const int digit = text[i] - '0';
        if (negative) {
            value = value < (LONG_MIN + digit) / 10 ? LONG_MIN : value * 10 - digit;
        } else {
            value = value > (LONG_MAX - digit) / 10 ? LONG_MAX : value * 10 + digit;
        }
    }
    return value;
}

TimeOfDay parseTimeOfDay(std::string_view text) {
    TimeOfDay time;
    const long hours = leadingInteger(text);
    time.hours = hours >= 0 && hours <= 23 ? static_cast<int>(hours) : 0;
    std::size_t separator = text.find(':');
    if (separator == std::string_view::npos) separator = text.find('.');
    if (separator != std::string_view::npos) {
        const long minutes = leadingInteger(text.substr(separator + 1));
        time.minutes = minutes >= 0 && minutes <= 59 ? static_cast<int>(minutes) : 0;
    }
    return time;
}

}  // namespace skedlin
