#pragma once
// The report of a Windows CE installer cabinet: its folders and files, the
// setup file in words, and the package inside the executable it installs (in
// the same words as for the Palm package).

#include <cstdint>
#include <span>

#include "tools/inspect/InspectStatus.h"

namespace skedlin::inspect {

bool looksLikeCabinet(std::span<const std::uint8_t> bytes);

InspectResult inspectCabinet(std::span<const std::uint8_t> bytes);

}  // namespace skedlin::inspect
