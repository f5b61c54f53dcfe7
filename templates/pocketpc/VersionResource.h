#pragma once
// The version resource of the viewer template: fixed file information and
// the US English string table that a device shows for the program.

#include <cstdint>
#include <vector>

namespace skedlin::templates {

std::vector<std::uint8_t> viewerVersionResource();

}  // namespace skedlin::templates
