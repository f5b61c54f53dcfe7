// Writes a realistic calendar package of any size, with its bitmaps, for
// benchmarks and large-package tests:
//   generate_package --events N --contacts N [--groups N] [--seed N] [--dtd PATH] OUT.xml
// Events spread over the groups with times, repeat rules, exceptions and notes;
// contacts carry phones and addresses and belong to groups. The bitmaps are
// written beside OUT.xml and referenced as ".\name.bmp".

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "formats/Bytes.h"

namespace {

constexpr int kDaysFrom1900To2000 = 36524;  // 1 Jan 1900 + 36524 days = 1 Jan 2000

const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kPhoneTypes[] = {"work", "home", "fax", "other", "email", "main", "pager", "mobile"};
const char* const kIntervals[] = {"daily", "weekly", "month-by-day", "month-by-date", "yearly"};
const char* const kTopics[] = {"Keynote", "Workshop", "Panel",    "Lunch", "Training",  "Match",
                               "Review",  "Holiday",  "Briefing", "Tour",  "Reception", "Clinic"};
const char* const kFirstNames[] = {"Anna", "Ben", "Chloé", "Dmitri", "Eva", "Farid", "Grace", "Hugo"};
const char* const kLastNames[] = {"Meyer", "O'Neill", "Søndergaard", "Nakamura", "Fischer", "Lopez"};

struct Options {
    int events = 1000;
    int contacts = 100;
    int groups = 12;
    unsigned seed = 1;
    std::string dtd = "CalendarPackage.dtd";
    std::filesystem::path out;
};

// An 8-bit palettised Windows bitmap with a simple pattern, bottom-up rows.
std::vector<std::uint8_t> makeBitmap(int width, int height) {
    const int rowBytes = (width + 3) / 4 * 4;
    const std::uint32_t paletteBytes = 256 * 4;
    const std::uint32_t dataOffset = 14 + 40 + paletteBytes;
    std::vector<std::uint8_t> b;
    skedlin::bytes::ByteWriter out(b);
    out.putChars("BM");
    out.put32le(dataOffset + rowBytes * height);
    out.put32le(0);
    out.put32le(dataOffset);
    out.put32le(40);
    out.put32le(width);
    out.put32le(height);
    out.put16le(1);
    out.put16le(8);
    out.put32le(0);
    out.put32le(rowBytes * height);
    out.put32le(2835);
    out.put32le(2835);
    out.put32le(256);
    out.put32le(0);
    for (int i = 0; i < 256; ++i) {  // blue, green, red, reserved
        b.push_back(static_cast<std::uint8_t>(255 - i));
        b.push_back(static_cast<std::uint8_t>(i));
        b.push_back(static_cast<std::uint8_t>((i * 7) & 0xFF));
        b.push_back(0);
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < rowBytes; ++x)
            b.push_back(x < width ? static_cast<std::uint8_t>((x * 5 + y * 3) & 0xFF) : 0);
    }
    return b;
}

void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// UTF-8 to the file's declared ISO-8859-1, escaped; characters beyond it as references.
std::string escape(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        unsigned char c = utf8[i];
        std::uint32_t cp = c;
        if (c >= 0xC0 && i + 1 < utf8.size()) {
            int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : 1;
            cp = c & (0x3F >> extra);
            for (int k = 0; k < extra && i + 1 < utf8.size(); ++k) cp = (cp << 6) | (utf8[++i] & 0x3F);
        }
        switch (cp) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        case '\n': out += "&#x0a;"; break;
        default:
            if (cp < 0x100)
                out += static_cast<char>(cp);
            else
                out += "&#" + std::to_string(cp) + ";";
        }
    }
    return out;
}

std::string dateElement(const char* name, int dayFrom1900) {
    // Day 0 is 1 Jan 1900; convert through a time_t-free civil calendar walk.
    std::tm t{};
    t.tm_year = 0;
    t.tm_mon = 0;
    t.tm_mday = 1 + dayFrom1900;
    t.tm_hour = 12;
    timegm(&t);
    char text[32];
    std::snprintf(text, sizeof text, "%02d %s %04d", t.tm_mday, kMonths[t.tm_mon], t.tm_year + 1900);
    return "<" + std::string(name) + " day=\"" + std::to_string(dayFrom1900) + "\">" + text + "</" + name + ">";
}

bool parseArgs(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto next = [&](void) -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        if (a == "--events" || a == "--contacts" || a == "--groups" || a == "--seed" || a == "--dtd") {
            const char* v = next();
            if (!v) return false;
            if (a == "--events")
                o.events = std::atoi(v);
            else if (a == "--contacts")
                o.contacts = std::atoi(v);
            else if (a == "--groups")
                o.groups = std::atoi(v);
            else if (a == "--seed")
                o.seed = static_cast<unsigned>(std::atoi(v));
            else
                o.dtd = v;
        } else if (o.out.empty()) {
            o.out = a;
        } else {
            return false;
        }
    }
    return !o.out.empty() && o.events >= 0 && o.contacts >= 0 && o.groups > 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parseArgs(argc, argv, o)) {
        std::fprintf(stderr,
                     "usage: generate_package --events N --contacts N [--groups N] [--seed N] [--dtd PATH] OUT.xml\n");
        return 2;
    }
    std::mt19937 rng(o.seed);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };

    const auto folder = o.out.parent_path().empty() ? std::filesystem::path(".") : o.out.parent_path();
    writeFile(folder / "icon22.bmp", makeBitmap(22, 22));
    writeFile(folder / "icon32.bmp", makeBitmap(32, 32));
    writeFile(folder / "icon16.bmp", makeBitmap(16, 16));
    writeFile(folder / "logo.bmp", makeBitmap(160, 80));

    std::string x;
    x.reserve(static_cast<std::size_t>(o.events) * 420 + static_cast<std::size_t>(o.contacts) * 600 + 4096);
    auto line = [&](int depth, const std::string& text) {
        x.append(static_cast<std::size_t>(depth), '\t');
        x += text;
        x += "\r\n";
    };
    auto textElement = [&](int depth, const char* name, const std::string& text) {
        line(depth, "<" + std::string(name) + ">" + escape(text) + "</" + name + ">");
    };

    line(0, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>");
    line(0, "<!DOCTYPE calendar-package SYSTEM \"" + o.dtd + "\">");
    line(0, "<calendar-package navigation=\"groups\">");
    textElement(1, "package-title", "Generated Programme");
    textElement(1, "app-name", "GeneratedProgramme");
    line(1, "<app-launcher>");
    textElement(2, "launcher-name", "Programme");
    line(2, "<launcher-icon>");
    line(3, "<bitmap transparent-color=\"0xFFFFFF\">.\\icon22.bmp</bitmap>");
    line(3, "<bitmap>.\\icon32.bmp</bitmap>");
    line(3, "<bitmap>.\\icon16.bmp</bitmap>");
    line(2, "</launcher-icon>");
    line(1, "</app-launcher>");
    line(1, "<welcome>");
    textElement(2, "description", "Welcome to the generated programme.\nEnjoy your stay.");
    textElement(2, "author-info", "Generated by the benchmark generator");
    line(2, "<image>");
    line(3, "<bitmap>.\\logo.bmp</bitmap>");
    line(2, "</image>");
    line(1, "</welcome>");

    line(1, "<contacts>");
    std::vector<std::vector<int>> groupContacts(static_cast<std::size_t>(o.groups));
    for (int c = 0; c < o.contacts; ++c) {
        const int id = c + 1;
        groupContacts[static_cast<std::size_t>(pick(o.groups))].push_back(id);
        line(2, "<contact id=\"" + std::to_string(id) + "\">");
        textElement(3, "last-name", kLastNames[pick(6)]);
        textElement(3, "first-name", kFirstNames[pick(8)]);
        textElement(3, "title", "Speaker");
        textElement(3, "company", "Company " + std::to_string(c % 50));
        textElement(3, "street", std::to_string(1 + c % 200) + " Long Street\nBuilding " + std::to_string(c % 9));
        textElement(3, "city", "Springfield");
        textElement(3, "state", "Region");
        textElement(3, "country", "Country");
        textElement(3, "zip", std::to_string(10000 + c));
        line(3, "<phone-numbers>");
        const int phones = 1 + pick(5);
        for (int p = 0; p < phones; ++p) {
            const char* type = kPhoneTypes[pick(8)];
            std::string number = std::string(type) == "email" ? "person" + std::to_string(c) + "@example.org"
                                                              : "+1 555 " + std::to_string(1000 + pick(9000));
            line(4, "<phone-number type=\"" + std::string(type) + "\">" + number + "</phone-number>");
        }
        line(3, "</phone-numbers>");
        if (c % 3 == 0) textElement(3, "contact-note", "Met at the opening.\nLikes tea.");
        line(2, "</contact>");
    }
    line(1, "</contacts>");

    line(1, "<groups>");
    const int perGroup = o.events / o.groups;
    int written = 0;
    for (int g = 0; g < o.groups; ++g) {
        const int count = g == o.groups - 1 ? o.events - written : perGroup;
        line(2, "<group name=\"Track " + std::to_string(g + 1) + "\">");
        textElement(3, "group-description", "Sessions of track " + std::to_string(g + 1));
        line(3, "<events>");
        for (int e = 0; e < count; ++e, ++written) {
            const int day = kDaysFrom1900To2000 + 365 * 6 + pick(3 * 365);
            line(4, "<event>");
            textElement(5, "event-title", std::string(kTopics[pick(12)]) + " " + std::to_string(written + 1));
            if (written % 4 == 0) textElement(5, "event-note", "Room " + std::to_string(pick(40)) + "\nBring a badge.");
            line(5, dateElement("date", day));
            if (written % 5 != 0) {
                const int start = 7 * 60 + pick(12 * 4) * 15;
                const int end = start + 15 * (1 + pick(8));
                char times[96];
                std::snprintf(times, sizeof times, "<start-time>%02d:%02d</start-time>", start / 60, start % 60);
                line(5, "<time-range>");
                line(6, times);
                std::snprintf(times, sizeof times, "<end-time>%02d:%02d</end-time>", end / 60, end % 60);
                line(6, times);
                line(5, "</time-range>");
            }
            if (written % 7 == 0) {
                const char* interval = kIntervals[pick(5)];
                const int frequency = 1 + pick(3);
                line(5, "<repeating-event interval=\"" + std::string(interval) + "\"" +
                            (frequency != 1 ? " frequency=\"" + std::to_string(frequency) + "\"" : std::string()) +
                            ">");
                if (pick(2)) line(6, dateElement("last-date", day + 60 + pick(300)));
                if (std::string(interval) == "weekly") line(6, "<days-of-week>-X-X-X-</days-of-week>");
                if (pick(3) == 0) {
                    line(6, "<except-days>");
                    line(7, dateElement("date", day + 7));
                    line(6, "</except-days>");
                }
                line(5, "</repeating-event>");
            }
            line(4, "</event>");
        }
        line(3, "</events>");
        const auto& members = groupContacts[static_cast<std::size_t>(g)];
        if (!members.empty()) {
            line(3, "<contact-ids>");
            for (int id : members) line(4, "<contact-id>" + std::to_string(id) + "</contact-id>");
            line(3, "</contact-ids>");
        }
        line(2, "</group>");
    }
    line(1, "</groups>");
    line(0, "</calendar-package>");

    std::ofstream f(o.out, std::ios::binary);
    f.write(x.data(), static_cast<std::streamsize>(x.size()));
    if (!f) {
        std::fprintf(stderr, "generate_package: cannot write %s\n", o.out.c_str());
        return 1;
    }
    return 0;
}
