#pragma once
// The report of a Pocket PC viewer executable holding a calendar package: its
// headers and sections, the package's content from its resources (strings,
// word lists, records) in the same words as for the Palm package, the logo
// bitmap and the icons, the viewer's own resources, and whatever does not
// belong there.

#include <cstdint>
#include <span>

#include "tools/inspect/InspectStatus.h"

namespace skedlin::inspect {

bool looksLikePe(std::span<const std::uint8_t> image);

InspectResult inspectPe(std::span<const std::uint8_t> image);

}  // namespace skedlin::inspect
