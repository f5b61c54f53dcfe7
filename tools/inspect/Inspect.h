#pragma once
// Inspecting a built package: a Palm OS resource database (.prc), a Windows
// CE installer cabinet (.cab) or the Pocket PC executable on its own. The
// kind is told from the file's first bytes, not from its name.

#include <cstdint>
#include <span>
#include <string>

#include "tools/inspect/InspectStatus.h"

namespace skedlin::inspect {

// Files larger than this are not read: no package comes near it.
inline constexpr std::uint64_t kMaxInspectedBytes = 64u * 1024u * 1024u;

InspectResult inspectBytes(std::span<const std::uint8_t> bytes);

// Reads the file (a regular file of at most kMaxInspectedBytes) and inspects
// it; the report starts with the file's name.
InspectResult inspectFile(const std::string& path);

}  // namespace skedlin::inspect
