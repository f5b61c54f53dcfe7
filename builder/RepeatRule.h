#pragma once
// The repeat rule of an event as the two date book records carry it: the repeat
// type named by the `interval` attribute and the 8-bit repeat-on mask.

#include "builder/PackageDateTime.h"
#include "formats/records/PackageRecordLayout.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace skedlin {

// Palm date book repeat types; None is written for an `interval` the builder
// does not know (the repeat block is still there, the event does not repeat).
enum class RepeatType : std::uint8_t {
    None = SKR_REPEAT_NONE,
    Daily = SKR_REPEAT_DAILY,
    Weekly = SKR_REPEAT_WEEKLY,
    MonthByDay = SKR_REPEAT_MONTH_BY_DAY,
    MonthByDate = SKR_REPEAT_MONTH_BY_DATE,
    Yearly = SKR_REPEAT_YEARLY,
};

RepeatType repeatTypeOfInterval(std::string_view interval);

// Recurrence type of the Pocket PC event record (the Pocket Outlook numbering).
inline constexpr std::int16_t kPocketPcNoRecurrence = SKR_PPC_RECUR_NONE;
std::int16_t pocketPcRecurrenceType(RepeatType type);

// The `days-of-week` text has one character per day, Sunday first.
inline constexpr std::size_t kDaysOfWeekLength = 7;
inline constexpr char kDayNotRepeated = '-';

// Bit n for each day n (0 = Sunday) whose character is not "-"; nullopt when
// the text is not exactly seven characters (bytes of the code page) long.
std::optional<std::uint8_t> weekdayMaskOfText(std::string_view daysOfWeek);

// Without `days-of-week` a weekly event repeats on its own weekday.
std::uint8_t weekdayMaskOfDate(const CalendarDate& date);

// Month-by-day position of the date: week x 7 + weekday for its first to fourth
// weekday of that name in the month, or 28 + weekday when it falls in the last
// seven days of the month ("last Friday").
inline constexpr std::uint8_t kLastWeekOfMonth = 28;
std::uint8_t monthByDayMask(const CalendarDate& date);

}  // namespace skedlin
