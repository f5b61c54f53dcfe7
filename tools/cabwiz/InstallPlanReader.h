#pragma once
// Reads an installation description into an InstallPlan: the strings,
// the device requirements, the files with their sources (read into memory),
// the registry entries and the shortcuts.

#include <string>

#include "tools/cabwiz/InfDocument.h"
#include "tools/cabwiz/InstallPlan.h"
#include "tools/cabwiz/CabwizResult.h"

namespace skedlin::cabwiz {

// Per-file and total payload limits: the payload is held in memory and an
// MS-CAB folder cannot hold more than 2 GiB.
inline constexpr std::uint64_t kMaxPayloadBytes = 512ull * 1024ull * 1024ull;

// cpu selects the sections "[CEDevice.<cpu>]", "[SourceDisksNames.<cpu>]" and
// "[SourceDisksFiles.<cpu>]" before their plain forms; it may be empty.
// infFolder is where relative source folders are looked for.
CabwizResult readInstallPlan(const InfDocument& inf, const std::string& cpu, const std::string& infFolder,
                             InstallPlan& plan);

}  // namespace skedlin::cabwiz
