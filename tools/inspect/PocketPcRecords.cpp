#include "tools/inspect/PocketPcRecords.h"

#include "formats/Bytes.h"
#include "tools/inspect/RecordTexts.h"

namespace skedlin::inspect {

namespace {

// Event record: a 16-byte header (little-endian), then title and note.
constexpr std::size_t kEventHeaderBytes = 16;
constexpr std::size_t kOffsetYear = 0;
constexpr std::size_t kOffsetMonth = 2;
constexpr std::size_t kOffsetDay = 3;
constexpr std::size_t kOffsetStartHour = 4;
constexpr std::size_t kOffsetStartMinute = 5;
constexpr std::size_t kOffsetEndHour = 6;
constexpr std::size_t kOffsetEndMinute = 7;
constexpr std::size_t kOffsetRecurrence = 8;
constexpr std::size_t kOffsetUntilYear = 10;
constexpr std::size_t kOffsetUntilMonth = 12;
constexpr std::size_t kOffsetUntilDay = 13;
constexpr std::size_t kOffsetFrequency = 14;
constexpr std::size_t kOffsetMask = 15;
constexpr std::uint8_t kNoTimeByte = 0xFF;
constexpr std::size_t kExceptionCountBytes = 2;
constexpr std::size_t kExceptionBytes = 4;

// Recurrence types of the record (the Pocket Outlook numbering), by repeat type.
std::optional<RepeatType> repeatTypeOfRecurrence(std::int16_t recurrence) {
    switch (recurrence) {
    case 0: return RepeatType::Daily;
    case 1: return RepeatType::Weekly;
    case 2: return RepeatType::MonthByDate;
    case 3: return RepeatType::MonthByDay;
    case 5: return RepeatType::Yearly;
    default: return std::nullopt;
    }
}

// Contact record: twenty fields, all texts but the fifth (one flag byte).
enum ContactSlot : std::size_t {
    kLastName,
    kFirstName,
    kTitle,
    kCompany,
    kFlagByte,
    kStreet,
    kCity,
    kState,
    kZip,
    kCountry,
    kWork1,
    kWork2,
    kHome1,
    kHome2,
    kMobile,
    kPager,
    kFax,
    kEmail1,
    kEmail2,
    kNote,
    kContactSlots
};

struct SlotName {
    ContactSlot slot;
    const char* name;
};
const SlotName kContactTexts[] = {{kLastName, "lastName"}, {kFirstName, "firstName"}, {kCompany, "company"},
                                  {kStreet, "street"},     {kCity, "city"},           {kState, "state"},
                                  {kZip, "zip"},           {kCountry, "country"},     {kTitle, "title"},
                                  {kNote, "note"}};
const SlotName kContactPhones[] = {{kWork1, "work"}, {kWork2, "work"},    {kHome1, "home"},
                                   {kHome2, "home"}, {kMobile, "mobile"}, {kPager, "pager"},
                                   {kFax, "fax"},    {kEmail1, "email"},  {kEmail2, "email"}};

}  // namespace

std::optional<EventEntry> decodePocketPcEvent(std::span<const std::uint8_t> record, std::string* problem) {
    bytes::ByteReader in(record);
    if (!in.has(0, kEventHeaderBytes)) {
        *problem = "shorter than its " + std::to_string(kEventHeaderBytes) + "-byte header";
        return std::nullopt;
    }
    EventEntry event;
    event.date = DayDate{in.read16le(kOffsetYear), in.read8(kOffsetMonth), in.read8(kOffsetDay)};
    const std::uint8_t startHour = in.read8(kOffsetStartHour);
    const std::uint8_t endHour = in.read8(kOffsetEndHour);
    if ((startHour == kNoTimeByte) != (endHour == kNoTimeByte)) {
        *problem = "one of its times is missing";
        return std::nullopt;
    }
    if (startHour != kNoTimeByte) {
        event.start = ClockTime{startHour, in.read8(kOffsetStartMinute)};
        event.end = ClockTime{endHour, in.read8(kOffsetEndMinute)};
        if (event.start->hours > 23 || event.start->minutes > 59 || event.end->hours > 23 || event.end->minutes > 59) {
            *problem = "a time is not a time of day";
            return std::nullopt;
        }
    }
    const auto recurrence = static_cast<std::int16_t>(in.read16le(kOffsetRecurrence));
    if (const auto type = repeatTypeOfRecurrence(recurrence)) {
        EventRepeatInfo repeat;
        repeat.type = *type;
        repeat.frequency = in.read8(kOffsetFrequency);
        repeat.mask = in.read8(kOffsetMask);
        const std::uint16_t untilYear = in.read16le(kOffsetUntilYear);
        if (untilYear != 0) repeat.until = DayDate{untilYear, in.read8(kOffsetUntilMonth), in.read8(kOffsetUntilDay)};
        event.repeat = repeat;
    } else if (recurrence != -1) {
        *problem = "unknown recurrence type " + std::to_string(recurrence);
        return std::nullopt;
    }
    std::size_t at = kEventHeaderBytes;
    const auto title = takeText(record, &at);
    const auto note = title ? takeText(record, &at) : std::nullopt;
    if (!title || !note) {
        *problem = "its title or note has no end";
        return std::nullopt;
    }
    // A repeating event with exception dates carries them after its note: a
    // count, then each date as year (16 bits), month and day.
    if (at != record.size()) {
        const std::uint16_t count = in.read16le(at);
        if (!event.repeat || in.failed() || record.size() - at != kExceptionCountBytes + kExceptionBytes * count) {
            *problem =
                std::to_string(record.size() - at) + " bytes follow its note that are no list of exception dates";
            return std::nullopt;
        }
        for (std::size_t i = 0, p = at + kExceptionCountBytes; i < count; ++i, p += kExceptionBytes)
            event.exceptions.push_back(DayDate{in.read16le(p), in.read8(p + 2), in.read8(p + 3)});
    }
    event.title = *title;
    event.note = *note;
    return event;
}

std::optional<ContactEntry> decodePocketPcContact(std::span<const std::uint8_t> record, std::string* problem) {
    std::string slots[kContactSlots];
    std::size_t at = 0;
    for (std::size_t slot = 0; slot < kContactSlots; ++slot) {
        if (slot == kFlagByte) {
            if (at >= record.size()) break;
            slots[slot] = std::string(1, static_cast<char>(record[at++]));
            continue;
        }
        const auto text = takeText(record, &at);
        if (!text) {
            *problem = "it ends before its twenty fields";
            return std::nullopt;
        }
        slots[slot] = *text;
    }
    if (slots[kFlagByte].empty()) {
        *problem = "it ends before its twenty fields";
        return std::nullopt;
    }
    if (at != record.size()) {
        *problem = std::to_string(record.size() - at) + " bytes follow its note";
        return std::nullopt;
    }
    const bool flagged = slots[kFlagByte][0] != 0;
    if (flagged != (!slots[kWork1].empty() || !slots[kCompany].empty())) {
        *problem = "its flag byte does not match its company and work phone";
        return std::nullopt;
    }
    ContactEntry contact;
    for (const SlotName& text : kContactTexts) {
        if (!slots[text.slot].empty()) contact.fields.emplace_back(text.name, slots[text.slot]);
    }
    for (const SlotName& phone : kContactPhones) {
        if (!slots[phone.slot].empty()) contact.phones.push_back({phone.name, slots[phone.slot]});
    }
    return contact;
}

}  // namespace skedlin::inspect
