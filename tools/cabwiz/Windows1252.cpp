#include "tools/cabwiz/Windows1252.h"

#include "model/Windows1252.h"

#include <cstdint>
#include <optional>

namespace skedlin::cabwiz {
namespace {

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
    bool replacedSome = false;
    out = skedlin::utf8ToWindows1252(utf8, &replacedSome);
    return !replacedSome;
}

std::string windows1252ToUtf8(std::string_view text) { return skedlin::windows1252ToUtf8(text); }

}  // namespace skedlin::cabwiz
