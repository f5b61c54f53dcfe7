#pragma once
// Zero-terminated Windows-1252 texts inside a record, read without passing
// its end, and handed out as UTF-8 with single line feeds.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace skedlin::inspect {

// The text starting at *at up to its zero byte, as UTF-8; *at moves past the
// zero byte. nullopt when no zero byte ends it inside the record.
std::optional<std::string> takeText(std::span<const std::uint8_t> record, std::size_t* at);

// Windows-1252 to UTF-8, carriage return plus line feed made a single line feed.
std::string recordTextToUtf8(std::string_view windows1252);

}  // namespace skedlin::inspect
