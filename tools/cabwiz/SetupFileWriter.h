#pragma once
// Builds the Windows CE setup file (the ".000" member) of an InstallPlan.

#include <cstdint>
#include <vector>

#include "tools/cabwiz/InstallPlan.h"
#include "tools/cabwiz/CabwizResult.h"

namespace skedlin::cabwiz {

// Fails when the plan does not fit the format's 16-bit counts, ids, lengths
// and text offsets.
CabwizResult buildSetupFile(const InstallPlan& plan, std::vector<std::uint8_t>& out);

}  // namespace skedlin::cabwiz
