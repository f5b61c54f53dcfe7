#pragma once
// Every file the programs write is written whole or not at all (design.md):
// the bytes go to a temporary file beside the target, which is then renamed
// into place. A failure leaves neither a half-written target nor the temporary.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace skedlin {

// errorText receives why it failed, in words (e.g. "Permission denied").
bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes, std::string& errorText);
bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string& errorText);

}  // namespace skedlin
