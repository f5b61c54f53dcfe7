#include "model/Windows1252.h"

#include <array>
#include <cstdint>

namespace skedlin {
namespace {

// Unicode code points of the bytes 0x80 to 0x9F; 0 where the code page defines none.
constexpr std::array<char32_t, 32> kHighControlRange = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98-9F
};

constexpr char kReplacement = '?';

// The Windows-1252 byte for a code point, or -1 when there is none.
int byteOf(char32_t codePoint) {
    if (codePoint < 0x80) return static_cast<int>(codePoint);
    if (codePoint <= 0x9F) return static_cast<int>(codePoint);  // C1 controls pass through, see header
    if (codePoint <= 0xFF) return static_cast<int>(codePoint);  // Latin-1 half
    for (std::size_t i = 0; i < kHighControlRange.size(); ++i) {
        if (kHighControlRange[i] == codePoint) return static_cast<int>(0x80 + i);
    }
    return -1;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::string utf8ToWindows1252(std::string_view utf8, bool* replacedSome) {
    std::string out;
    out.reserve(utf8.size());
    bool replaced = false;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<std::uint8_t>(utf8[i]);
        std::size_t length = 0;
        char32_t cp = 0;
        if (lead < 0x80) {
            length = 1;
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            cp = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            cp = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            cp = lead & 0x07;
        }
        bool valid = length != 0 && i + length <= utf8.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<std::uint8_t>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) {
                valid = false;
            } else {
                cp = (cp << 6) | (next & 0x3F);
            }
        }
        if (!valid) {
            out += kReplacement;
            replaced = true;
            ++i;  // resynchronise on the next byte
            continue;
        }
        const int byte = byteOf(cp);
        if (byte < 0) {
            out += kReplacement;
            replaced = true;
        } else {
            out += static_cast<char>(byte);
        }
        i += length;
    }
    if (replacedSome) *replacedSome = replaced;
    return out;
}

std::string windows1252ToUtf8(std::string_view windows1252) {
    std::string out;
    out.reserve(windows1252.size() + windows1252.size() / 4);
    for (char c : windows1252) {
        const auto byte = static_cast<std::uint8_t>(c);
        char32_t cp = byte;
        if (byte >= 0x80 && byte <= 0x9F && kHighControlRange[byte - 0x80] != 0) {
            cp = kHighControlRange[byte - 0x80];
        }
        appendUtf8(out, cp);
    }
    return out;
}

std::u16string windows1252ToUtf16(std::string_view text) {
    // Every character of the code page table lies in the basic plane, so
    // decoding its UTF-8 gives one code unit per input byte.
    const std::string utf8 = windows1252ToUtf8(text);
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        char32_t c = 0;
        std::size_t length = 1;
        if (lead < 0x80) {
            c = lead;
        } else if ((lead & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
            c = ((lead & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
            length = 2;
        } else if ((lead & 0xF0) == 0xE0 && i + 2 < utf8.size()) {
            c = ((lead & 0x0Fu) << 12) | ((static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu) << 6) |
                (static_cast<unsigned char>(utf8[i + 2]) & 0x3Fu);
            length = 3;
        } else {
            c = u'?';
        }
        out.push_back(static_cast<char16_t>(c));
        i += length;
    }
    return out;
}

}  // namespace skedlin
