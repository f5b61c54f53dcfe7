#pragma once
// The installation description (.inf) that the CAB Wizard turns into the
// Pocket PC cabinet: a fixed template whose four placeholders are replaced,
// in a fixed order, by the names of this build. Written with CR LF line ends.

#include <string>
#include <string_view>

#include "model/AtomicFile.h"

namespace skedlin {

inline constexpr std::string_view kInfPlaceholderAppName = "#APPNAME#";
inline constexpr std::string_view kInfPlaceholderAppTitle = "#APPTITLE#";
inline constexpr std::string_view kInfPlaceholderInstallDir = "#INSTALLDIR#";
inline constexpr std::string_view kInfPlaceholderBuildDir = "#BUILDDIR#";

// The template, one line per "\n" (the last line ends in one too).
extern const std::string_view kInfTemplate;

struct InfValues {
    std::string appName;     // the executable's file name, "Conf.exe"
    std::string appTitle;    // the launcher name (Windows-1252), each '"' and '%' doubled
    std::string installDir;  // "%CE1%\" + launcher name, each '"' and '%' doubled
    std::string buildDir;    // the folder that holds the executable
};

// The values for an output base ("dir/Conf") and a launcher name. The build
// folder is the output base's folder (where the executable is written), made
// absolute so that the CAB Wizard finds it whatever its working folder; it
// is empty when the output base names no folder, which means the folder of
// the description itself.
InfValues infValuesFor(std::string_view outputBase, std::string_view launcherName);

// Replaces every occurrence of each placeholder in the order #APPNAME#,
// #APPTITLE#, #INSTALLDIR#, #BUILDDIR#: a value that contains a later
// placeholder word is replaced in its turn. Line ends become CR LF.
std::string infText(const InfValues& values);

// Writes the text whole or not at all.
FileWriteResult writeInfFile(const std::string& path, const std::string& text);

}  // namespace skedlin
