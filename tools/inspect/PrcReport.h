#pragma once
// The report of a Palm OS resource database (.prc) holding a calendar
// package: its header, the package's content in words, its bitmaps, the
// viewer's own resources, and whatever does not belong there.

#include <cstdint>
#include <span>

#include "tools/inspect/InspectStatus.h"

namespace skedlin::inspect {

// True when the bytes can be taken for a resource database (the header and
// resource list fit, and the resource attribute is set); only then is
// inspectPrc worth trying on a file of unknown kind.
bool looksLikePrc(std::span<const std::uint8_t> image);

InspectResult inspectPrc(std::span<const std::uint8_t> image);

}  // namespace skedlin::inspect
