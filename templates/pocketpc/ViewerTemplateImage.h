#pragma once
// Assembles the Pocket PC viewer template: a Windows CE GUI executable for
// ARM made of the linked viewer program (code, read-only data, writable
// data with its import address table) and a resource section, last,
// holding the template's own resources beside which the builder inserts
// the package.

#include <cstdint>
#include <vector>

#include "viewer/pocketpc/tools/ElfProgram.h"

namespace skedlin::templates {

std::vector<std::uint8_t> viewerTemplateImage(const ce::ElfProgram& program);

}  // namespace skedlin::templates
