#pragma once
// The body of a string-table resource: sixteen strings, each a 16-bit length
// followed by that many UTF-16 code units, little-endian. An empty slot is a
// zero length alone.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace skedlin {

using StringTableSlots = std::array<std::u16string, 16>;

// Fails (returns nullopt) when a string is longer than 65,535 code units;
// *tooLongSlot then names the slot.
std::optional<std::vector<std::uint8_t>> encodeStringTable(const StringTableSlots& slots, std::size_t* tooLongSlot);

// Fails when the body is shorter than its sixteen lengths say.
std::optional<StringTableSlots> decodeStringTable(std::span<const std::uint8_t> body);

}  // namespace skedlin
