#pragma once
// Names in the editor's per-user settings used by the document.

namespace skedlin::settings {

inline constexpr const char* kCompanyKey = "Quenby Software";
inline constexpr const char* kApplicationName = "Skedlin";
// Section "Settings", value "PackagePrefix": the first line of every package file.
inline constexpr const char* kPackagePrefixKey = "Settings/PackagePrefix";

}  // namespace skedlin::settings
