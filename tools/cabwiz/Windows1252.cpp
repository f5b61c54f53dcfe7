#include "tools/cabwiz/Windows1252.h"

#include <array>
#include <cstdint>
#include <optional>

namespace skedlin::cabwiz {
namespace {

// Code points of the Windows-1252 bytes 0x80 to 0x9F; 0 where the byte is unassigned.
constexpr std::array<char32_t, 32> kHighControlRange = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Decodes one UTF-8 sequence at pos; nullopt when it is malformed, overlong or a surrogate.
std::optional<char32_t> decodeOne(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    int extra = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, value = lead & 0x07, minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (text.size() - pos <= static_cast<std::size_t>(extra)) return std::nullopt;
    for (int i = 1; i <= extra; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return std::nullopt;
    pos += extra + 1;
    return value;
}

std::optional<unsigned char> toWindows1252(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
    for (std::size_t i = 0; i < kHighControlRange.size(); ++i) {
        if (kHighControlRange[i] != 0 && kHighControlRange[i] == c) return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

}  // namespace

bool looksLikeUtf8(std::string_view text) {
    bool sawHighByte = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (static_cast<unsigned char>(text[pos]) >= 0x80) sawHighByte = true;
        if (!decodeOne(text, pos)) return false;
    }
    return sawHighByte;
}

bool utf8ToWindows1252(std::string_view utf8, std::string& out) {
    out.clear();
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto c = decodeOne(utf8, pos);
        if (!c) return false;
        const auto byte = toWindows1252(*c);
        if (!byte) return false;
        out.push_back(static_cast<char>(*byte));
    }
    return true;
}

std::string windows1252ToUtf8(std::string_view text) {
    std::string out;
    for (char byte : text) {
        const auto b = static_cast<unsigned char>(byte);
        char32_t c = b;
        if (b >= 0x80 && b < 0xA0 && kHighControlRange[b - 0x80] != 0) c = kHighControlRange[b - 0x80];
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

}  // namespace skedlin::cabwiz
