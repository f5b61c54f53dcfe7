#pragma once
// Names of the members inside an installer cabinet: 8.3 names whose
// three-digit extension is the file id the setup file refers to.

#include <cstdint>
#include <string>
#include <string_view>

namespace skedlin::cabwiz {

// File ids must fit the three-digit extension; id 0 is the setup file.
inline constexpr std::uint16_t kMaxFileId = 999;

// "0000Conf.001" for source "Conf.exe" and id 1; "LONGNA~1.002" for a base
// name longer than eight characters. Characters an 8.3 name cannot hold
// become '_'.
std::string cabinetMemberName(std::string_view sourceFileName, std::uint16_t fileId);

// The setup file's member name, from the cabinet's base name ("Conf" -> "0000Conf.000").
std::string setupMemberName(std::string_view cabinetBaseName);

}  // namespace skedlin::cabwiz
