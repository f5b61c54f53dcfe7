#include "formats/pe/StringTableBlock.h"

#include "formats/Bytes.h"

namespace skedlin {

namespace {
constexpr std::size_t kMaxStringLength = 0xFFFF;
}

std::optional<std::vector<std::uint8_t>> encodeStringTable(const StringTableSlots& slots, std::size_t* tooLongSlot) {
    std::vector<std::uint8_t> body;
    bytes::ByteWriter out(body);
    for (std::size_t slot = 0; slot < slots.size(); ++slot) {
        const std::u16string& text = slots[slot];
        if (text.size() > kMaxStringLength) {
            if (tooLongSlot) *tooLongSlot = slot;
            return std::nullopt;
        }
        out.put16le(static_cast<std::uint16_t>(text.size()));
        for (char16_t unit : text) out.put16le(static_cast<std::uint16_t>(unit));
    }
    return body;
}

std::optional<StringTableSlots> decodeStringTable(std::span<const std::uint8_t> body) {
    StringTableSlots slots;
    bytes::ByteReader in(body);
    std::size_t at = 0;
    for (std::u16string& text : slots) {
        if (at + 2 > body.size()) return std::nullopt;
        const std::size_t length = in.read16le(at);
        at += 2;
        if (at + 2 * length > body.size()) return std::nullopt;
        text.resize(length);
        for (std::size_t k = 0; k < length; ++k) text[k] = static_cast<char16_t>(in.read16le(at + 2 * k));
        at += 2 * length;
    }
    return slots;
}

}  // namespace skedlin
