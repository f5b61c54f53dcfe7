#pragma once
// Bitmaps in words: the bitmaps of a Palm bitmap family (launcher icons,
// logo) and the device-independent bitmaps of the Pocket PC executable
// (logo, icons), each with its size and depth.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "tools/inspect/ReportTree.h"

namespace skedlin::inspect {

// The family's bitmaps in stored order (the high-density marker is left
// out); nullopt with the reason in *problem when a header, a next offset or
// the pixel data does not lie inside the resource.
std::optional<Node> describePalmBitmapFamily(std::span<const std::uint8_t> family, std::string* problem);

// A bitmap or icon image that starts with a 40-byte information header;
// icons store twice their height (picture and mask).
std::optional<Node> describeDeviceIndependentBitmap(std::span<const std::uint8_t> body, bool isIcon,
                                                    std::string* problem);

}  // namespace skedlin::inspect
