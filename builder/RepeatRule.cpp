#include "builder/RepeatRule.h"

namespace skedlin {

RepeatType repeatTypeOfInterval(std::string_view interval) {
    if (interval == "daily") return RepeatType::Daily;
    if (interval == "weekly") return RepeatType::Weekly;
    if (interval == "month-by-day") return RepeatType::MonthByDay;
    if (interval == "month-by-date") return RepeatType::MonthByDate;
    if (interval == "yearly") return RepeatType::Yearly;
    return RepeatType::None;
}

std::int16_t pocketPcRecurrenceType(RepeatType type) {
    switch (type) {
    case RepeatType::Daily: return SKR_PPC_RECUR_DAILY;
    case RepeatType::Weekly: return SKR_PPC_RECUR_WEEKLY;
    case RepeatType::MonthByDate: return SKR_PPC_RECUR_MONTH_BY_DATE;
    case RepeatType::MonthByDay: return SKR_PPC_RECUR_MONTH_BY_DAY;
    case RepeatType::Yearly: return SKR_PPC_RECUR_YEARLY;
    case RepeatType::None: break;
    }
    return kPocketPcNoRecurrence;
}

std::optional<std::uint8_t> weekdayMaskOfText(std::string_view daysOfWeek) {
    if (daysOfWeek.size() != kDaysOfWeekLength) return std::nullopt;
    std::uint8_t mask = 0;
    for (std::size_t day = 0; day < kDaysOfWeekLength; ++day) {
        if (daysOfWeek[day] != kDayNotRepeated) mask |= static_cast<std::uint8_t>(1u << day);
    }
    return mask;
}

std::uint8_t weekdayMaskOfDate(const CalendarDate& date) { return static_cast<std::uint8_t>(1u << weekdayOf(date)); }

std::uint8_t monthByDayMask(const CalendarDate& date) {
    const int weekday = weekdayOf(date);
    if (addDays(date, 7).month != date.month) {
        return static_cast<std::uint8_t>(kLastWeekOfMonth + weekday);
    }
    // The day of the month tells how many same weekdays precede it.
    const int week = (date.day - 1) / 7;
    return static_cast<std::uint8_t>(week * 7 + weekday);
}

}  // namespace skedlin
