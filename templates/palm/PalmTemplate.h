#pragma once
// The Palm viewer template carried by the builder: a complete
// Palm OS resource database of type "appl", creator SKL0, name "Skedlin".

#include <cstdint>
#include <span>

namespace skedlin::templates {

// The embedded data as stored: a 32-bit little-endian byte count, then the bytes.
std::span<const std::uint8_t> palmTemplateBlob();
// The .prc image inside it (the count decoded and checked against the blob).
std::span<const std::uint8_t> palmTemplateImage();

}  // namespace skedlin::templates
