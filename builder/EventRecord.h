#pragma once
// The two records of one event: the Palm date book record (resource `Nevt`,
// big-endian) and the Pocket PC event record (RCDATA, little-endian). Both are
// built from plain values; texts are Windows-1252 with single line feeds.

#include "builder/PackageDateTime.h"
#include "builder/RepeatRule.h"
#include "formats/records/PackageRecordLayout.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace skedlin {

// Flag bits of the Palm event record.
inline constexpr std::uint16_t kEventDescriptionFollows = SKR_EVENT_FLAG_DESCRIPTION;
inline constexpr std::uint16_t kEventExceptionsPresent = SKR_EVENT_FLAG_EXCEPTIONS;
inline constexpr std::uint16_t kEventNoteFollows = SKR_EVENT_FLAG_NOTE;
inline constexpr std::uint16_t kEventRepeatPresent = SKR_EVENT_FLAG_REPEAT;

// A date as read from the package: the date itself (weekday, Pocket PC record)
// and its Palm encoding, which may carry a substituted year.
struct EventDate {
    CalendarDate date;
    std::uint16_t palm = kNoPalmDate;
};

struct EventRepeat {
    RepeatType type = RepeatType::None;
    std::optional<EventDate> endDate;       // absent: repeats for ever
    long frequency = 1;                     // only the low 8 bits reach the records
    std::uint8_t mask = 0;                  // weekday mask or month-by-day position
    std::vector<std::uint16_t> exceptions;  // Palm dates, in document order
    // The same dates as read (a Palm date may carry a substituted year), for
    // the Pocket PC record.
    std::vector<CalendarDate> exceptionDates;
};

struct EventValues {
    EventDate date;
    std::optional<TimeOfDay> start;  // both absent for an untimed event
    std::optional<TimeOfDay> end;
    std::optional<EventRepeat> repeat;
    std::string title;
    std::string note;
};

std::uint16_t eventFlags(const EventValues& event);

// Bytes of each record, whether or not it fits.
std::size_t palmEventRecordSize(const EventValues& event);
std::size_t pocketPcEventRecordSize(const EventValues& event);

// nullopt when the record would pass its buffer (kPalmRecordCapacity,
// kPocketPcRecordCapacity); nothing is cut.
std::optional<std::vector<std::uint8_t>> palmEventRecord(const EventValues& event);
std::optional<std::vector<std::uint8_t>> pocketPcEventRecord(const EventValues& event);

}  // namespace skedlin
