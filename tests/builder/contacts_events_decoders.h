#pragma once
// Independent readers of what the handheld viewers receive: the packed Palm
// Address Book and Date Book records, the Pocket PC contact and event records,
// and the resources of a .prc file. They are written from the record layouts
// alone and share no code with the builder, so that a test compares the
// builder's bytes with what a handheld program would read from them.

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace skedlin::testing {

using Bytes = std::vector<std::uint8_t>;

class Cursor {
public:
    explicit Cursor(const Bytes& bytes) : bytes_(bytes) {}
    bool ok() const { return ok_; }
    bool atEnd() const { return at_ == bytes_.size(); }
    std::uint8_t u8() {
        if (at_ + 1 > bytes_.size()) return fail();
        return bytes_[at_++];
    }
    std::uint16_t be16() {
        const unsigned hi = u8();
        return static_cast<std::uint16_t>(hi << 8 | u8());
    }
    std::uint32_t be32() {
        const std::uint32_t hi = be16();
        return hi << 16 | be16();
    }
    std::uint16_t le16() {
        const unsigned lo = u8();
        return static_cast<std::uint16_t>(lo | u8() << 8);
    }
    std::string cString() {
        std::string text;
        while (true) {
            if (at_ >= bytes_.size()) {
                fail();
                return text;
            }
            const char c = static_cast<char>(bytes_[at_++]);
            if (c == '\0') return text;
            text += c;
        }
    }

private:
    std::uint8_t fail() {
        ok_ = false;
        at_ = bytes_.size();
        return 0;
    }
    const Bytes& bytes_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

// Palm Address Book packed record: phone label nibbles, a field mask, the
// company offset, then one zero-terminated text per set mask bit, low bit first.
struct AddressRecord {
    std::uint32_t options = 0;
    std::uint32_t fieldMask = 0;
    std::uint8_t companyOffset = 0;
    std::optional<std::string> fields[19];  // name, firstName, company, phone1..5, address,
                                            // city, state, zipCode, country, title,
                                            // custom1..4, note
    int phoneLabel(int phone) const { return static_cast<int>(options >> (4 * phone) & 0xF); }
};

inline std::optional<AddressRecord> decodeAddressRecord(const Bytes& bytes) {
    Cursor in(bytes);
    AddressRecord record;
    record.options = in.be32();
    record.fieldMask = in.be32();
    record.companyOffset = in.u8();
    for (int field = 0; field < 19; ++field) {
        if (record.fieldMask & (1u << field)) record.fields[field] = in.cString();
    }
    if (!in.ok() || !in.atEnd() || (record.fieldMask >> 19) != 0) return std::nullopt;
    return record;
}

enum AddressField {
    Name = 0,
    FirstName,
    Company,
    Phone1,
    Phone2,
    Phone3,
    Phone4,
    Phone5,
    Address,
    City,
    State,
    ZipCode,
    Country,
    Title,
    Note = 18
};

// Palm Date Book packed record.
struct AppointmentRecord {
    std::uint16_t startTime = 0, endTime = 0, date = 0, flags = 0;
    bool repeats = false;
    std::uint8_t repeatType = 0, repeatFrequency = 0, repeatOn = 0, startOfWeek = 0;
    std::uint16_t repeatEndDate = 0;
    std::vector<std::uint16_t> exceptions;
    std::string description;
    std::optional<std::string> note;
};

inline constexpr std::uint16_t kApptRepeat = 0x2000;
inline constexpr std::uint16_t kApptNote = 0x1000;
inline constexpr std::uint16_t kApptExceptions = 0x0800;
inline constexpr std::uint16_t kApptDescription = 0x0400;

inline std::optional<AppointmentRecord> decodeAppointmentRecord(const Bytes& bytes) {
    Cursor in(bytes);
    AppointmentRecord record;
    record.startTime = in.be16();
    record.endTime = in.be16();
    record.date = in.be16();
    record.flags = in.be16();
    if (record.flags & kApptRepeat) {
        record.repeats = true;
        record.repeatType = in.u8();
        if (in.u8() != 0) return std::nullopt;
        record.repeatEndDate = in.be16();
        record.repeatFrequency = in.u8();
        record.repeatOn = in.u8();
        record.startOfWeek = in.u8();
        if (in.u8() != 0) return std::nullopt;
    }
    if (record.flags & kApptExceptions) {
        const std::uint16_t count = in.be16();
        for (std::uint16_t i = 0; i < count; ++i) record.exceptions.push_back(in.be16());
    }
    if (record.flags & kApptDescription) record.description = in.cString();
    if (record.flags & kApptNote) record.note = in.cString();
    if (!in.ok() || !in.atEnd()) return std::nullopt;
    return record;
}

inline std::uint16_t palmDateOf(int year, int month, int day) {
    return static_cast<std::uint16_t>((year - 1904) << 9 | month << 5 | day);
}

// Pocket PC event record.
struct PocketPcEvent {
    int year = 0, month = 0, day = 0;
    int startHour = 0, startMinute = 0, endHour = 0, endMinute = 0;
    int recurrence = 0;
    int endYear = 0, endMonth = 0, endDay = 0;
    int frequency = 0, mask = 0;
    std::string title, note;
    std::vector<std::array<int, 3>> exceptions;  // year, month, day
};

inline std::optional<PocketPcEvent> decodePocketPcEvent(const Bytes& bytes) {
    Cursor in(bytes);
    PocketPcEvent e;
    e.year = in.le16();
    e.month = in.u8();
    e.day = in.u8();
    e.startHour = in.u8();
    e.startMinute = in.u8();
    e.endHour = in.u8();
    e.endMinute = in.u8();
    e.recurrence = static_cast<std::int16_t>(in.le16());
    e.endYear = in.le16();
    e.endMonth = in.u8();
    e.endDay = in.u8();
    e.frequency = in.u8();
    e.mask = in.u8();
    e.title = in.cString();
    e.note = in.cString();
    if (in.ok() && !in.atEnd()) {
        const int count = in.le16();
        for (int i = 0; i < count; ++i) {
            const int year = in.le16();
            const int month = in.u8();
            e.exceptions.push_back({year, month, in.u8()});
        }
    }
    if (!in.ok() || !in.atEnd()) return std::nullopt;
    return e;
}

// Pocket PC contact record: twenty fields, the fifth a single byte.
struct PocketPcContact {
    std::vector<std::string> texts;  // the nineteen texts in record order
    int flagByte = -1;
    enum {
        LastName,
        FirstName,
        Title,
        Company,
        Street,
        City,
        State,
        Zip,
        Country,
        Work1,
        Work2,
        Home1,
        Home2,
        Mobile,
        Pager,
        Fax,
        Email1,
        Email2,
        Note
    };
};

inline std::optional<PocketPcContact> decodePocketPcContact(const Bytes& bytes) {
    Cursor in(bytes);
    PocketPcContact contact;
    for (int field = 0; field < 20; ++field) {
        if (field == 4) {
            contact.flagByte = in.u8();
        } else {
            contact.texts.push_back(in.cString());
        }
    }
    if (!in.ok() || !in.atEnd()) return std::nullopt;
    return contact;
}

// Resources of a .prc file: header of 78 bytes with the count at 76, then
// entries of type, id and offset; each body runs to the next offset.
struct PrcResource {
    std::string type;
    std::uint16_t id = 0;
    Bytes bytes;
};

inline std::optional<std::vector<PrcResource>> readPrcFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    const Bytes image((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (image.size() < 78) return std::nullopt;
    const auto be16 = [&](std::size_t at) { return static_cast<std::uint16_t>(image[at] << 8 | image[at + 1]); };
    const auto be32 = [&](std::size_t at) { return std::uint32_t{be16(at)} << 16 | be16(at + 2); };
    const std::size_t count = be16(76);
    if (78 + 10 * count > image.size()) return std::nullopt;
    std::vector<PrcResource> resources;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = 78 + 10 * i;
        const std::size_t begin = be32(entry + 6);
        const std::size_t end = i + 1 < count ? be32(entry + 16) : image.size();
        if (begin > end || end > image.size()) return std::nullopt;
        PrcResource resource;
        resource.type.assign(image.begin() + entry, image.begin() + entry + 4);
        resource.id = be16(entry + 4);
        resource.bytes.assign(image.begin() + begin, image.begin() + end);
        resources.push_back(std::move(resource));
    }
    return resources;
}

inline const PrcResource* findResource(const std::vector<PrcResource>& resources, const std::string& type,
                                       std::uint16_t id) {
    for (const PrcResource& resource : resources) {
        if (resource.type == type && resource.id == id) return &resource;
    }
    return nullptr;
}

// A `wrdl` body: big-endian count, then the values.
inline std::optional<std::vector<std::uint16_t>> decodeWordList(const Bytes& bytes) {
    Cursor in(bytes);
    const std::uint16_t count = in.be16();
    std::vector<std::uint16_t> values;
    for (std::uint16_t i = 0; i < count; ++i) values.push_back(in.be16());
    if (!in.ok() || !in.atEnd()) return std::nullopt;
    return values;
}

// A `tSTL` body: prefix text, big-endian count, then the texts.
inline std::optional<std::vector<std::string>> decodeStringList(const Bytes& bytes) {
    Cursor in(bytes);
    if (!in.cString().empty()) return std::nullopt;
    const std::uint16_t count = in.be16();
    std::vector<std::string> texts;
    for (std::uint16_t i = 0; i < count; ++i) texts.push_back(in.cString());
    if (!in.ok() || !in.atEnd()) return std::nullopt;
    return texts;
}

inline std::string textOf(const Bytes& bytes) {
    std::string text(bytes.begin(), bytes.end());
    if (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

}  // namespace skedlin::testing
