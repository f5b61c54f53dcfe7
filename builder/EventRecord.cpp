#include "builder/EventRecord.h"

#include "builder/RecordBytes.h"
#include "builder/RecordLimits.h"

namespace skedlin {
namespace {

using namespace record;

// Start time, end time, date, flags.
constexpr std::size_t kPalmEventHeaderSize = 8;
constexpr std::size_t kPalmRepeatBlockSize = 8;
constexpr std::size_t kPocketPcEventHeaderSize = 16;
constexpr std::uint8_t kPocketPcNoTime = 0xFF;
// The first day of the week in the repeat block: always Sunday.
constexpr std::uint8_t kFirstDayOfWeek = 0;

bool hasRepeatType(const EventValues& event) {
    return event.repeat && event.repeat->type != RepeatType::None;
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
    return kPocketPcEventHeaderSize + event.title.size() + event.note.size() + lineFeeds + 2;
}

std::optional<std::vector<std::uint8_t>> palmEventRecord(const EventValues& event) {
    const std::uint16_t flags = eventFlags(event);
    const std::size_t size = palmEventRecordSize(event);
    // The exception count is a 16-bit field as well.
    if (size > kPalmRecordCapacity ||
        (event.repeat && event.repeat->exceptions.size() > kMaxWordListEntries)) {
        return std::nullopt;
    }

    Bytes out;
    out.reserve(size);
    putBigEndian16(out, event.start ? palmTime(*event.start) : kNoPalmTime);
    putBigEndian16(out, event.end ? palmTime(*event.end) : kNoPalmTime);
    putBigEndian16(out, event.date.palm);
    putBigEndian16(out, flags);
    if (flags & kEventRepeatPresent) {
        const EventRepeat& repeat = *event.repeat;
        putByte(out, static_cast<std::uint8_t>(repeat.type));
        putByte(out, 0);
        putBigEndian16(out, repeat.endDate ? repeat.endDate->palm : kNoPalmDate);
        putByte(out, static_cast<std::uint8_t>(repeat.frequency));
        putByte(out, repeat.mask);
        putByte(out, kFirstDayOfWeek);
        putByte(out, 0);
    }
    if (flags & kEventExceptionsPresent) {
        putBigEndian16(out, static_cast<std::uint16_t>(event.repeat->exceptions.size()));
        for (std::uint16_t date : event.repeat->exceptions) putBigEndian16(out, date);
    }
    putText(out, event.title);
    if (flags & kEventNoteFollows) putText(out, event.note);
    return out;
}

std::optional<std::vector<std::uint8_t>> pocketPcEventRecord(const EventValues& event) {
    const std::size_t size = pocketPcEventRecordSize(event);
    if (size > kPocketPcRecordCapacity) return std::nullopt;
    const std::string title = withCrLf(event.title);
    const std::string note = withCrLf(event.note);

    Bytes out;
    out.reserve(size);
    putLittleEndian16(out, static_cast<std::uint16_t>(event.date.date.year));
    putByte(out, static_cast<std::uint8_t>(event.date.date.month));
    putByte(out, static_cast<std::uint8_t>(event.date.date.day));
    putByte(out, event.start ? static_cast<std::uint8_t>(event.start->hours) : kPocketPcNoTime);
    putByte(out, event.start ? static_cast<std::uint8_t>(event.start->minutes) : kPocketPcNoTime);
    putByte(out, event.end ? static_cast<std::uint8_t>(event.end->hours) : kPocketPcNoTime);
    putByte(out, event.end ? static_cast<std::uint8_t>(event.end->minutes) : kPocketPcNoTime);

    const bool repeats = hasRepeatType(event);
    putLittleEndian16(out, static_cast<std::uint16_t>(
                               repeats ? pocketPcRecurrenceType(event.repeat->type) : kPocketPcNoRecurrence));
    const std::optional<EventDate> endDate = repeats ? event.repeat->endDate : std::nullopt;
    putLittleEndian16(out, endDate ? static_cast<std::uint16_t>(endDate->date.year) : 0);
    putByte(out, endDate ? static_cast<std::uint8_t>(endDate->date.month) : 0);
    putByte(out, endDate ? static_cast<std::uint8_t>(endDate->date.day) : 0);
    putByte(out, repeats ? static_cast<std::uint8_t>(event.repeat->frequency) : 0);
    putByte(out, repeats ? event.repeat->mask : 0);
    putText(out, title);
    putText(out, note);
    return out;
}

}  // namespace skedlin
