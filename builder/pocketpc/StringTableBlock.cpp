#include "builder/pocketpc/StringTableBlock.h"

#include "builder/pocketpc/LittleEndian.h"
#include "model/Windows1252.h"

namespace skedlin {

namespace {
constexpr std::size_t kMaxStringLength = 0xFFFF;
}

std::u16string windows1252ToUtf16(std::string_view text) {
    // The code page table lives in one place (model/Windows1252). Every
    // character it yields lies in the basic plane, so decoding its UTF-8 gives
    // one code unit per input byte.
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

std::optional<std::vector<std::uint8_t>> encodeStringTable(const StringTableSlots& slots, std::size_t* tooLongSlot) {
    std::vector<std::uint8_t> body;
    for (std::size_t slot = 0; slot < slots.size(); ++slot) {
        const std::u16string& text = slots[slot];
        if (text.size() > kMaxStringLength) {
            if (tooLongSlot) *tooLongSlot = slot;
            return std::nullopt;
        }
        le::append16(body, static_cast<std::uint16_t>(text.size()));
        for (char16_t unit : text) le::append16(body, static_cast<std::uint16_t>(unit));
    }
    return body;
}

std::optional<StringTableSlots> decodeStringTable(std::span<const std::uint8_t> body) {
    StringTableSlots slots;
    std::size_t at = 0;
    for (std::u16string& text : slots) {
        if (at + 2 > body.size()) return std::nullopt;
        const std::size_t length = le::read16(body.data() + at);
        at += 2;
        if (at + 2 * length > body.size()) return std::nullopt;
        text.resize(length);
        for (std::size_t k = 0; k < length; ++k) text[k] = static_cast<char16_t>(le::read16(body.data() + at + 2 * k));
        at += 2 * length;
    }
    return slots;
}

}  // namespace skedlin
