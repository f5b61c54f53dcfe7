// palm_records VFS_DIR DATABASE
// palm_records --make-address-book OUT.pdb
//
// Reads a record database of the Palm OS runtime's storage (a run kept with
// --keep: VFS_DIR/app_storage/<name folder>/header, index and one file per
// record) and prints each record of the handheld's Date Book (DatebookDB) or
// Address Book (AddressDB) as one line of text, decoded from the packed
// record layouts of those two applications. The tests compare these lines
// with what the package holds.
//
// With --make-address-book it writes an Address Book database (AddressDB,
// type DATA, creator addr) holding one contact, "Existing, Person" with a
// home phone, to install before a copy: the copy must leave it as it is.
//
// Exit status: 0 printed, 1 the database is missing or a record is damaged.
//
// Its record decoding is written from the handheld's record layouts and
// shares no code with the builder, so what the tests read back checks the
// builder's bytes independently.

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// The runtime names a database's folder after the name: characters other
// than letters and digits become '_', then '_' and the name in hex.
std::string folderName(const std::string& name) {
    std::string out;
    for (unsigned char c : name) out += std::isalnum(c) ? static_cast<char>(c) : '_';
    out += '_';
    char hex[3];
    for (unsigned char c : name) {
        std::snprintf(hex, sizeof hex, "%02X", c);
        out += hex;
    }
    return out;
}

bool readFile(const std::string& path, Bytes& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

struct Reader {
    const Bytes& data;
    std::size_t at = 0;
    bool ok = true;

    std::uint32_t take(int bytes) {
        if (data.size() - at < static_cast<std::size_t>(bytes) || at > data.size()) {
            ok = false;
            at = data.size();
            return 0;
        }
        std::uint32_t value = 0;
        for (int i = 0; i < bytes; ++i) value = (value << 8) | data[at++];
        return value;
    }
    std::string text() {
        std::string out;
        while (at < data.size() && data[at]) out += static_cast<char>(data[at++]);
        if (at >= data.size()) {
            ok = false;
            return out;
        }
        ++at;
        return out;
    }
};

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\n')
            out += "\\n";
        else if (c == '"' || c == '\\')
            out += std::string("\\") + c;
        else
            out += c;
    }
    return out + "\"";
}

// A packed date: 7 bits of years since 1904, 4 bits of month, 5 of day.
std::string date(std::uint16_t packed) {
    if (packed == 0xFFFF) return "never";
    char out[16];
    std::snprintf(out, sizeof out, "%04d-%02d-%02d", 1904 + (packed >> 9), (packed >> 5) & 15, packed & 31);
    return out;
}

std::string time(std::uint16_t packed) {
    char out[8];
    std::snprintf(out, sizeof out, "%02d:%02d", packed >> 8, packed & 0xFF);
    return out;
}

const char* const kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

std::string decodeEvent(const Bytes& record, bool& ok) {
    Reader r{record};
    std::ostringstream out;
    const std::uint16_t start = static_cast<std::uint16_t>(r.take(2));
    const std::uint16_t end = static_cast<std::uint16_t>(r.take(2));
    const std::uint16_t day = static_cast<std::uint16_t>(r.take(2));
    const std::uint16_t flags = static_cast<std::uint16_t>(r.take(2));
    out << "event " << date(day) << ' ';
    if (start == 0xFFFF)
        out << "untimed";
    else
        out << time(start) << '-' << time(end);
    if (flags & 0x4000) {  // alarm: advance and unit
        const std::uint32_t alarm = r.take(2);
        out << " alarm=" << (alarm >> 8) << '/' << (alarm & 0xFF);
    }
    if (flags & 0x2000) {
        const std::uint8_t type = static_cast<std::uint8_t>(r.take(1));
        r.take(1);
        const std::uint16_t until = static_cast<std::uint16_t>(r.take(2));
        const std::uint8_t frequency = static_cast<std::uint8_t>(r.take(1));
        const std::uint8_t on = static_cast<std::uint8_t>(r.take(1));
        const std::uint8_t weekStart = static_cast<std::uint8_t>(r.take(1));
        r.take(1);
        static const char* const kTypes[] = {"none", "daily", "weekly", "month-by-day", "month-by-date", "yearly"};
        out << " repeat=" << (type < 6 ? kTypes[type] : "?") << " every " << int{frequency};
        if (type == 2) {
            out << " on";
            for (int d = 0; d < 7; ++d)
                if (on & (1 << d)) out << ' ' << kWeekdays[d];
        } else if (type == 3) {
            const int week = on / 7;
            out << " on " << (week == 4 ? std::string("last") : "week " + std::to_string(week + 1)) << ' '
                << kWeekdays[on % 7];
        } else if (on) {
            out << " on=" << int{on};
        }
        if (weekStart) out << " week-start=" << int{weekStart};
        out << " until " << date(until);
    }
    if (flags & 0x0800) {
        const std::uint16_t count = static_cast<std::uint16_t>(r.take(2));
        out << " except";
        for (std::uint16_t i = 0; i < count; ++i) out << (i ? "," : " ") << date(static_cast<std::uint16_t>(r.take(2)));
    }
    if (flags & 0x0400) out << " title=" << quoted(r.text());
    if (flags & 0x1000) out << " note=" << quoted(r.text());
    if (flags & 0x8000) out << " when-changed";
    ok = r.ok && r.at == record.size();
    if (r.at != record.size()) out << " (" << record.size() - r.at << " bytes left over)";
    return out.str();
}

std::string decodeContact(const Bytes& record, bool& ok) {
    static const char* const kFields[] = {"last",    "first",   "company", "phone1",  "phone2", "phone3",  "phone4",
                                          "phone5",  "address", "city",    "state",   "zip",    "country", "title",
                                          "custom1", "custom2", "custom3", "custom4", "note"};
    static const char* const kLabels[] = {"work", "home", "fax", "other", "email", "main", "pager", "mobile"};
    Reader r{record};
    std::ostringstream out;
    const std::uint32_t options = r.take(4);
    const std::uint32_t flags = r.take(4);
    const std::uint8_t companyOffset = static_cast<std::uint8_t>(r.take(1));
    out << "contact";
    std::size_t companyAt = 0;
    const std::size_t textsAt = r.at;
    for (int field = 0; field < 19; ++field) {
        if (!(flags & (1u << field))) continue;
        if (field == 2) companyAt = r.at - textsAt + 1;
        const std::string value = r.text();
        if (field >= 3 && field <= 7) {
            const unsigned label = (options >> (4 * (field - 3))) & 15;
            out << ' ' << (label < 8 ? kLabels[label] : "?") << '=' << quoted(value);
        } else {
            out << ' ' << kFields[field] << '=' << quoted(value);
        }
    }
    if (flags >> 19) out << " unknown-flags=" << (flags >> 19);
    const unsigned shown = (options >> 20) & 15;
    if (shown) out << " shown-phone=" << shown + 1;
    ok = r.ok && r.at == record.size();
    // The company offset is counted from the first text, plus one; zero without a company.
    if ((flags & 4) && companyOffset != companyAt) {
        out << " (company offset " << int{companyOffset} << ", expected " << companyAt << ")";
        ok = false;
    }
    if (!(flags & 4) && companyOffset != 0) {
        out << " (company offset " << int{companyOffset} << " without a company)";
        ok = false;
    }
    if (r.at != record.size()) out << " (" << record.size() - r.at << " bytes left over)";
    return out.str();
}

void put(Bytes& out, std::uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

int makeAddressBook(const std::string& path) {
    Bytes record;
    put(record, 0x00000010, 4);  // phone labels: phone 1 work, phone 2 home
    put(record, 0x00000013, 4);  // fields: last name, first name, phone 2
    put(record, 0, 1);           // no company
    for (const char* text : {"Existing", "Person", "555 0100"}) {
        record.insert(record.end(), text, text + std::strlen(text));
        record.push_back(0);
    }
    Bytes out(32, 0);
    const std::string name = "AddressDB";
    std::copy(name.begin(), name.end(), out.begin());
    put(out, 0x0008, 2);       // attributes: back up
    put(out, 1, 2);            // version
    put(out, 3880000000u, 4);  // created
    put(out, 3880000000u, 4);  // modified
    put(out, 0, 4);            // backed up
    put(out, 0, 4);            // modification number
    put(out, 0, 4);            // application info
    put(out, 0, 4);            // sort info
    put(out, 0x44415441, 4);   // 'DATA'
    put(out, 0x61646472, 4);   // 'addr'
    put(out, 0, 4);            // unique id seed
    put(out, 0, 4);            // next record list
    put(out, 1, 2);            // one record
    put(out, 78 + 8 + 2, 4);   // its offset
    put(out, 0x40, 1);         // attributes: dirty
    put(out, 0x123456, 3);     // unique id
    put(out, 0, 2);            // two zero bytes
    out.insert(out.end(), record.begin(), record.end());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return file.flush() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--make-address-book") return makeAddressBook(argv[2]);
    if (argc != 3) {
        std::cerr << "usage: palm_records VFS_DIR DatebookDB|AddressDB\n";
        return 2;
    }
    const std::string name = argv[2];
    const bool events = name == "DatebookDB";
    const std::string folder = std::string(argv[1]) + "/app_storage/" + folderName(name);
    Bytes header;
    if (!readFile(folder + "/header", header)) {
        std::cerr << "palm_records: no database " << name << " in " << argv[1] << "\n";
        return 1;
    }
    const std::string headerText(header.begin(), header.end());
    const std::string wantType = "type='DATA'";
    const std::string wantCreator = events ? "creator='date'" : "creator='addr'";
    if (headerText.find(wantType) == std::string::npos || headerText.find(wantCreator) == std::string::npos) {
        std::cerr << "palm_records: " << name << " is not " << wantType << " " << wantCreator << "\n";
        return 1;
    }
    std::ifstream index(folder + "/index");
    std::string line;
    bool allOk = true;
    while (std::getline(index, line)) {
        if (line.empty()) continue;
        Bytes record;
        if (!readFile(folder + "/" + line, record)) {
            std::cerr << "palm_records: record file " << line << " is missing\n";
            return 1;
        }
        const unsigned attributes = static_cast<unsigned>(std::stoul(line.substr(line.find('.') + 1), nullptr, 16));
        bool ok = true;
        std::cout << (events ? decodeEvent(record, ok) : decodeContact(record, ok));
        if (attributes & 0x80) std::cout << " (deleted)";
        if (attributes & 0x0F) std::cout << " category=" << (attributes & 0x0F);
        std::cout << '\n';
        allOk = allOk && ok;
    }
    return allOk ? 0 : 1;
}
