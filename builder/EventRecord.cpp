#include "builder/EventRecord.h"

#include "formats/Bytes.h"
#include "formats/LineEnds.h"
#include "builder/RecordLimits.h"

namespace skedlin {
namespace {

using bytes::Bytes;
using bytes::ByteWriter;

// Start time, end time, date, flags.
constexpr std::size_t kPalmEventHeaderSize = SKR_PALM_EVENT_HEADER_SIZE;
constexpr std::size_t kPalmRepeatBlockSize = SKR_PALM_EVENT_REPEAT_SIZE;
constexpr std::size_t kPocketPcEventHeaderSize = SKR_PPC_EVENT_HEADER_SIZE;
constexpr std::uint8_t kPocketPcNoTime = SKR_PPC_NO_TIME;
// The first day of the week in the repeat block: always Sunday.
constexpr std::uint8_t kFirstDayOfWeek = 0;
// Pocket PC exception block after the note: a 16-bit count, then per date a
// 16-bit year, the month and the day.
constexpr std::size_t kPocketPcExceptionSize = SKR_PPC_EXCEPTION_SIZE;

bool hasRepeatType(const EventValues& event) { return event.repeat && event.repeat->type != RepeatType::None; }

// The Pocket PC record carries the exception dates of an event that repeats,
// so that the handheld can leave those days out of the series it makes.
bool hasPocketPcExceptions(const EventValues& event) {
    return hasRepeatType(event) && !event.repeat->exceptionDates.empty();
}

}  // namespace

std::uint16_t eventFlags(const EventValues& event) {
    std::uint16_t flags = kEventDescriptionFollows;
    if (event.repeat) {
        flags |= kEventRepeatPresent;
        if (!event.repeat->exceptions.empty()) flags |= kEventExceptionsPresent;
    }
    if (!event.note.empty()) flags |= kEventNoteFollows;
    return flags;
}

std::size_t palmEventRecordSize(const EventValues& event) {
    const std::uint16_t flags = eventFlags(event);
    std::size_t size = kPalmEventHeaderSize + event.title.size() + 1;
    if (flags & kEventRepeatPresent) size += kPalmRepeatBlockSize;
    if (flags & kEventExceptionsPresent) size += 2 + 2 * event.repeat->exceptions.size();
    if (flags & kEventNoteFollows) size += event.note.size() + 1;
    return size;
}

std::size_t pocketPcEventRecordSize(const EventValues& event) {
    std::size_t lineFeeds = 0;
    for (const std::string* text : {&event.title, &event.note}) {
        for (char c : *text) lineFeeds += c == '\n' ? 1 : 0;
    }
    std::size_t size = kPocketPcEventHeaderSize + event.title.size() + event.note.size() + lineFeeds + 2;
    if (hasPocketPcExceptions(event)) size += 2 + kPocketPcExceptionSize * event.repeat->exceptionDates.size();
    return size;
}

std::optional<std::vector<std::uint8_t>> palmEventRecord(const EventValues& event) {
    const std::uint16_t flags = eventFlags(event);
    const std::size_t size = palmEventRecordSize(event);
    // The exception count is a 16-bit field as well.
    if (size > kPalmRecordCapacity || (event.repeat && event.repeat->exceptions.size() > kMaxWordListEntries)) {
        return std::nullopt;
    }

    Bytes out;
    out.reserve(size);
    ByteWriter(out).put16be(event.start ? palmTime(*event.start) : kNoPalmTime);
    ByteWriter(out).put16be(event.end ? palmTime(*event.end) : kNoPalmTime);
    ByteWriter(out).put16be(event.date.palm);
    ByteWriter(out).put16be(flags);
    if (flags & kEventRepeatPresent) {
        const EventRepeat& repeat = *event.repeat;
        ByteWriter(out).put8(static_cast<std::uint8_t>(repeat.type));
        ByteWriter(out).put8(0);
        ByteWriter(out).put16be(repeat.endDate ? repeat.endDate->palm : kNoPalmDate);
        ByteWriter(out).put8(static_cast<std::uint8_t>(repeat.frequency));
        ByteWriter(out).put8(repeat.mask);
        ByteWriter(out).put8(kFirstDayOfWeek);
        ByteWriter(out).put8(0);
    }
    if (flags & kEventExceptionsPresent) {
        ByteWriter(out).put16be(static_cast<std::uint16_t>(event.repeat->exceptions.size()));
        for (std::uint16_t date : event.repeat->exceptions) ByteWriter(out).put16be(date);
    }
    ByteWriter(out).putText(event.title);
    if (flags & kEventNoteFollows) ByteWriter(out).putText(event.note);
    return out;
}

std::optional<std::vector<std::uint8_t>> pocketPcEventRecord(const EventValues& event) {
    const std::size_t size = pocketPcEventRecordSize(event);
    if (size > kPocketPcRecordCapacity ||
        (hasPocketPcExceptions(event) && event.repeat->exceptionDates.size() > kMaxWordListEntries)) {
        return std::nullopt;
    }
    const std::string title = withCrLf(event.title);
    const std::string note = withCrLf(event.note);

    Bytes out;
    out.reserve(size);
    ByteWriter(out).put16le(static_cast<std::uint16_t>(event.date.date.year));
    ByteWriter(out).put8(static_cast<std::uint8_t>(event.date.date.month));
    ByteWriter(out).put8(static_cast<std::uint8_t>(event.date.date.day));
    ByteWriter(out).put8(event.start ? static_cast<std::uint8_t>(event.start->hours) : kPocketPcNoTime);
    ByteWriter(out).put8(event.start ? static_cast<std::uint8_t>(event.start->minutes) : kPocketPcNoTime);
    ByteWriter(out).put8(event.end ? static_cast<std::uint8_t>(event.end->hours) : kPocketPcNoTime);
    ByteWriter(out).put8(event.end ? static_cast<std::uint8_t>(event.end->minutes) : kPocketPcNoTime);

    const bool repeats = hasRepeatType(event);
    ByteWriter(out).put16le(
        static_cast<std::uint16_t>(repeats ? pocketPcRecurrenceType(event.repeat->type) : kPocketPcNoRecurrence));
    const std::optional<EventDate> endDate = repeats ? event.repeat->endDate : std::nullopt;
    ByteWriter(out).put16le(endDate ? static_cast<std::uint16_t>(endDate->date.year) : 0);
    ByteWriter(out).put8(endDate ? static_cast<std::uint8_t>(endDate->date.month) : 0);
    ByteWriter(out).put8(endDate ? static_cast<std::uint8_t>(endDate->date.day) : 0);
    ByteWriter(out).put8(repeats ? static_cast<std::uint8_t>(event.repeat->frequency) : 0);
    ByteWriter(out).put8(repeats ? event.repeat->mask : 0);
    ByteWriter(out).putText(title);
    ByteWriter(out).putText(note);
    if (hasPocketPcExceptions(event)) {
        ByteWriter(out).put16le(static_cast<std::uint16_t>(event.repeat->exceptionDates.size()));
        for (const CalendarDate& date : event.repeat->exceptionDates) {
            ByteWriter(out).put16le(static_cast<std::uint16_t>(date.year));
            ByteWriter(out).put8(static_cast<std::uint8_t>(date.month));
            ByteWriter(out).put8(static_cast<std::uint8_t>(date.day));
        }
    }
    return out;
}

}  // namespace skedlin
