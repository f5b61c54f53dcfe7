#pragma once
// The Windows CE setup file (the ".000" member of an installer cabinet) in
// words: application, provider, processor, OS versions, folders, files,
// registry entries and shortcuts.

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>

#include "tools/inspect/ReportTree.h"

namespace skedlin::inspect {

struct SetupFileFacts {
    Node report = Node::object();
    // File id -> the file's name and its folder, for finding the executable.
    std::map<std::uint16_t, std::string> fileNames;
};

// nullopt with the reason in *problem when a section or text lies outside the file.
std::optional<SetupFileFacts> describeSetupFile(std::span<const std::uint8_t> bytes, std::string* problem);

}  // namespace skedlin::inspect
