#pragma once
// Assembles the Pocket PC viewer template: a Windows CE GUI executable for
// ARM with a code section holding the program's entry point and a resource
// section, last, holding what the builder inserts beside.

#include <cstdint>
#include <vector>

namespace skedlin::templates {

std::vector<std::uint8_t> viewerTemplateImage();

}  // namespace skedlin::templates
