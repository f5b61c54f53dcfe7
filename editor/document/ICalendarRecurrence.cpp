#include "editor/document/ICalendarRecurrence.h"

namespace skedlin {
namespace {

constexpr int kMaxFrequency = 255;  // the frequency is one byte on the handheld

int countOf(const short* values, int size) {
    int count = 0;
    while (count < size && values[count] != ICAL_RECURRENCE_ARRAY_MAX) ++count;
    return count;
}

#define COUNT_OF(field) countOf(rule.field, static_cast<int>(sizeof(rule.field) / sizeof(rule.field[0])))

// libical numbers weekdays from Sunday = 1.
int weekdayIndex(icalrecurrencetype_weekday day) { return static_cast<int>(day) - 1; }

int sundayBasedWeekday(const QDate& date) { return date.dayOfWeek() % 7; }

// Whether the handheld, which takes the position from the date (the last seven
// days of a month count as "last", the others as first to fourth), gives the
// `position`th weekday (1 to 4, or -1 for the last) on this date.
bool positionMatchesDate(int position, const QDate& date) {
    const bool inLastWeek = date.day() + 7 > date.daysInMonth();
    if (position == -1) return inLastWeek;
    if (position < 1 || position > 4 || inLastWeek) return false;
    return (date.day() - 1) / 7 == position - 1;
}

// A rule "on the nth weekday": the one BYDAY entry with its position, or a
// plain weekday chosen by a single BYSETPOS.
bool nthWeekday(const icalrecurrencetype& rule, int& position, int& weekday) {
    if (COUNT_OF(by_day) != 1 || COUNT_OF(by_month_day) != 0) return false;
    position = icalrecurrencetype_day_position(rule.by_day[0]);
    weekday = weekdayIndex(icalrecurrencetype_day_day_of_week(rule.by_day[0]));
    const int setPositions = COUNT_OF(by_set_pos);
    if (setPositions > 1) return false;
    if (setPositions == 1) {
        if (position != 0) return false;
        position = rule.by_set_pos[0];
    }
    return position != 0;
}

bool monthlyByWeekday(const icalrecurrencetype& rule, const QDate& start) {
    int position = 0;
    int weekday = 0;
    return nthWeekday(rule, position, weekday) && weekday == sundayBasedWeekday(start) &&
           positionMatchesDate(position, start);
}

bool sameDateOnly(const icalrecurrencetype& rule, const QDate& start) {
    const int days = COUNT_OF(by_month_day);
    return COUNT_OF(by_day) == 0 && COUNT_OF(by_set_pos) == 0 &&
           (days == 0 || (days == 1 && rule.by_month_day[0] == start.day()));
}

std::uint8_t rotateMask(std::uint8_t mask, int shift) {
    const int by = ((shift % 7) + 7) % 7;
    const unsigned wide = static_cast<unsigned>(mask) << by;
    return static_cast<std::uint8_t>((wide | (wide >> 7)) & 0x7F);
}

}  // namespace

std::uint8_t weekdayBit(const QDate& date) { return static_cast<std::uint8_t>(1u << sundayBasedWeekday(date)); }

bool mapICalendarRule(const icalrecurrencetype& rule, const QDate& start, int dayShift, EventEntry& event) {
    if (COUNT_OF(by_second) || COUNT_OF(by_minute) || COUNT_OF(by_hour) || COUNT_OF(by_year_day) ||
        COUNT_OF(by_week_no) || rule.rscale != nullptr || rule.interval < 1 || rule.interval > kMaxFrequency) {
        return false;
    }
    const int months = COUNT_OF(by_month);
    switch (rule.freq) {
    case ICAL_DAILY_RECURRENCE:
        if (COUNT_OF(by_day) || COUNT_OF(by_month_day) || months || COUNT_OF(by_set_pos)) return false;
        event.repeatType = kRepeatDaily;
        event.frequency = static_cast<std::uint8_t>(rule.interval);
        return true;
    case ICAL_WEEKLY_RECURRENCE: {
        if (COUNT_OF(by_month_day) || months || COUNT_OF(by_set_pos)) return false;
        std::uint8_t mask = 0;
        for (int i = 0; i < COUNT_OF(by_day); ++i) {
            if (icalrecurrencetype_day_position(rule.by_day[i]) != 0) return false;
            mask |= static_cast<std::uint8_t>(1u << weekdayIndex(icalrecurrencetype_day_day_of_week(rule.by_day[i])));
        }
        if (mask == 0) mask = weekdayBit(start);
        // The first occurrence is the event's own date.
        if (!(mask & weekdayBit(start))) return false;
        // The handheld counts weeks from Sunday; rules counting from another
        // day group the days differently when they skip weeks and Sunday is
        // one of several days.
        const bool severalDays = (mask & (mask - 1)) != 0;
        if (rule.interval > 1 && severalDays && (mask & 1) && rule.week_start != ICAL_SUNDAY_WEEKDAY) return false;
        event.repeatType = kRepeatWeekly;
        event.frequency = static_cast<std::uint8_t>(rule.interval);
        event.repeatOnMask = rotateMask(mask, dayShift);
        return true;
    }
    case ICAL_MONTHLY_RECURRENCE:
        if (dayShift != 0 || months) return false;
        if (sameDateOnly(rule, start)) {
            event.repeatType = kRepeatMonthByDate;
        } else if (monthlyByWeekday(rule, start)) {
            event.repeatType = kRepeatMonthByDay;
        } else {
            return false;
        }
        event.frequency = static_cast<std::uint8_t>(rule.interval);
        return true;
    case ICAL_YEARLY_RECURRENCE:
        if (dayShift != 0 || months > 1 || (months == 1 && rule.by_month[0] != start.month())) return false;
        if (sameDateOnly(rule, start)) {
            event.repeatType = kRepeatYearly;
            event.frequency = static_cast<std::uint8_t>(rule.interval);
            return true;
        }
        // "Every year on the last Sunday of October" is monthly by weekday,
        // every twelve months.
        if (months == 1 && monthlyByWeekday(rule, start) && rule.interval * 12 <= kMaxFrequency) {
            event.repeatType = kRepeatMonthByDay;
            event.frequency = static_cast<std::uint8_t>(rule.interval * 12);
            return true;
        }
        return false;
    default: return false;
    }
}

}  // namespace skedlin
