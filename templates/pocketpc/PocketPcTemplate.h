#pragma once
// The Pocket PC viewer template, generated at build time from
// templates/pocketpc and embedded in the builder: a 32-bit little-endian byte
// count followed by that many bytes of a Windows CE ARM executable.

#include <cstdint>
#include <span>

namespace skedlin::templates {

// The stored form: count, then the executable.
std::span<const std::uint8_t> pocketPcTemplateBlob();

// The executable itself, as the count says; empty if the count does not fit
// the stored bytes.
std::span<const std::uint8_t> pocketPcTemplateImage();

}  // namespace skedlin::templates
