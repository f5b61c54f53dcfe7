#include "tools/inspect/PalmRecords.h"

#include "builder/EventRecord.h"
#include "formats/Bytes.h"
#include "tools/inspect/PackageWords.h"
#include "tools/inspect/RecordTexts.h"

namespace skedlin::inspect {

namespace {

constexpr std::size_t kEventFixedBytes = 8;   // start, end, date, flags
constexpr std::size_t kRepeatBlockBytes = 8;  // type, 0, end date, frequency, mask, first day, 0
constexpr std::uint16_t kKnownEventFlags =
    kEventDescriptionFollows | kEventExceptionsPresent | kEventNoteFollows | kEventRepeatPresent;

constexpr std::size_t kContactFixedBytes = 9;  // phone options, field flags, company offset
constexpr unsigned kContactFieldBits = 19;     // bits 0 to 18 name the packed texts
constexpr unsigned kFirstPhoneBit = 3;
constexpr unsigned kPhoneBits = 5;

// Field names by flag bit; bits 14 to 17 are the address book's custom fields.
const char* const kContactFields[kContactFieldBits] = {
    "lastName", "firstName", "company", nullptr, nullptr,   nullptr,   nullptr,   nullptr,   "street", "city",
    "state",    "zip",       "country", "title", "custom1", "custom2", "custom3", "custom4", "note"};

std::optional<ClockTime> palmTime(std::uint16_t value) {
    if (value == kNoPalmTime) return std::nullopt;
    return ClockTime{value >> 8, value & 0xFF};
}

}  // namespace

DayDate palmDayDate(std::uint16_t value) {
    return DayDate{kFirstPalmYear + (value >> 9), (value >> 5) & 0x0F, value & 0x1F};
}

std::optional<EventEntry> decodePalmEvent(std::span<const std::uint8_t> record, std::string* problem) {
    bytes::ByteReader in(record);
    EventEntry event;
    const std::uint16_t start = in.read16be(0);
    const std::uint16_t end = in.read16be(2);
    const std::uint16_t date = in.read16be(4);
    const std::uint16_t flags = in.read16be(6);
    if (in.failed()) {
        *problem = "shorter than the " + std::to_string(kEventFixedBytes) + " bytes of times, date and flags";
        return std::nullopt;
    }
    if (flags & ~kKnownEventFlags) {
        *problem = "unknown flags " + std::to_string(flags & ~kKnownEventFlags);
        return std::nullopt;
    }
    if ((start == kNoPalmTime) != (end == kNoPalmTime)) {
        *problem = "one of its times is missing";
        return std::nullopt;
    }
    if (date == kNoPalmDate) {
        *problem = "it has no date";
        return std::nullopt;
    }
    event.date = palmDayDate(date);
    event.start = palmTime(start);
    event.end = palmTime(end);
    if ((event.start && (event.start->hours > 23 || event.start->minutes > 59)) ||
        (event.end && (event.end->hours > 23 || event.end->minutes > 59))) {
        *problem = "a time is not a time of day";
        return std::nullopt;
    }
    std::size_t at = kEventFixedBytes;
    if (flags & kEventRepeatPresent) {
        EventRepeatInfo repeat;
        repeat.type = static_cast<RepeatType>(in.read8(at));
        const std::uint16_t until = in.read16be(at + 2);
        repeat.frequency = in.read8(at + 4);
        repeat.mask = in.read8(at + 5);
        if (until != kNoPalmDate) repeat.until = palmDayDate(until);
        at += kRepeatBlockBytes;
        event.repeat = repeat;
    }
    if (flags & kEventExceptionsPresent) {
        const std::uint16_t count = in.read16be(at);
        at += 2;
        if (!in.has(at, 2u * count)) {
            *problem = "its " + std::to_string(count) + " exception dates run past its end";
            return std::nullopt;
        }
        for (std::uint16_t i = 0; i < count; ++i, at += 2) event.exceptions.push_back(palmDayDate(in.read16be(at)));
    }
    if (in.failed()) {
        *problem = "its repeat block runs past its end";
        return std::nullopt;
    }
    if (flags & kEventDescriptionFollows) {
        const auto title = takeText(record, &at);
        if (!title) {
            *problem = "its title has no end";
            return std::nullopt;
        }
        event.title = *title;
    }
    if (flags & kEventNoteFollows) {
        const auto note = takeText(record, &at);
        if (!note) {
            *problem = "its note has no end";
            return std::nullopt;
        }
        event.note = *note;
    }
    if (at != record.size()) {
        *problem = std::to_string(record.size() - at) + " bytes follow its last text";
        return std::nullopt;
    }
    return event;
}

std::optional<ContactEntry> decodePalmContact(std::span<const std::uint8_t> record, std::string* problem) {
    bytes::ByteReader in(record);
    const std::uint32_t phoneOptions = in.read32be(0);
    const std::uint32_t fieldFlags = in.read32be(4);
    const std::uint8_t companyOffset = in.read8(8);
    if (in.failed()) {
        *problem = "shorter than the " + std::to_string(kContactFixedBytes) + " bytes before its texts";
        return std::nullopt;
    }
    if (fieldFlags >> kContactFieldBits) {
        *problem = "unknown field flags " + std::to_string(fieldFlags >> kContactFieldBits << kContactFieldBits);
        return std::nullopt;
    }
    ContactEntry contact;
    std::size_t at = kContactFixedBytes;
    for (unsigned bit = 0; bit < kContactFieldBits; ++bit) {
        if (!((fieldFlags >> bit) & 1)) continue;
        const std::size_t fieldStart = at;
        const auto text = takeText(record, &at);
        if (!text) {
            *problem = "a text has no end";
            return std::nullopt;
        }
        if (bit >= kFirstPhoneBit && bit < kFirstPhoneBit + kPhoneBits) {
            const unsigned phone = bit - kFirstPhoneBit;
            contact.phones.push_back({palmPhoneLabel((phoneOptions >> (4 * phone)) & 0x0F), *text});
            continue;
        }
        if (bit == 2 && fieldStart != kContactFixedBytes - 1 + companyOffset) {
            *problem = "its company offset " + std::to_string(companyOffset) + " does not point at the company";
            return std::nullopt;
        }
        contact.fields.emplace_back(kContactFields[bit], *text);
    }
    if (at != record.size()) {
        *problem = std::to_string(record.size() - at) + " bytes follow its last text";
        return std::nullopt;
    }
    return contact;
}

}  // namespace skedlin::inspect
