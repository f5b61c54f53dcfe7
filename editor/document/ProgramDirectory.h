#pragma once
// The folder of the running program, where the builder, the DTD and the help
// are installed. Ends in a separator.

#include <QString>

namespace skedlin {

// The directory set by setProgramDirectory, else the running executable's.
QString programDirectory();
// Overrides the directory (the editor at start-up, tests pointing at the build's bin folder).
void setProgramDirectory(const QString& directory);

inline constexpr const char* kDtdFileName = "CalendarPackage.dtd";
#ifdef _WIN32
inline constexpr const char* kBuilderFileName = "SkedlinBuilder.exe";
#else
inline constexpr const char* kBuilderFileName = "SkedlinBuilder";
#endif

}  // namespace skedlin
