#include "builder/pocketpc/InfFile.h"

#include <unistd.h>

#include <vector>

#include "formats/LineEnds.h"
#include "model/AtomicFile.h"

namespace skedlin {

const std::string_view kInfTemplate =
    "[Version]\n"
    "Signature   = \"$Windows NT$\"\n"
    "Provider    = \"Skedlin\"\n"
    "CESignature = \"$Windows CE$\"\n"
    "\n"
    "[CEStrings]\n"
    "AppName     = \"#APPTITLE#\"\n"
    "InstallDir  = \"#INSTALLDIR#\"\n"
    "\n"
    "[CEDevice.ARM]\n"
    "ProcessorType           = 2577\n"
    "UnsupportedPlatforms    = \"HPC\",\"Jupiter\"\n"
    "VersionMin              = 3.0\n"
    "VersionMax              = 100.0\n"
    "\n"
    "[SourceDisksNames.ARM]\n"
    "1 = ,\"files\",,\"#BUILDDIR#\"\n"
    "\n"
    "[SourceDisksFiles]\n"
    "#APPNAME#        = 1\n"
    "\n"
    "[DefaultInstall]\n"
    "CopyFiles   = Files.InstallDir,Files.StartMenu\n"
    "AddReg      = RegData\n"
    "CEShortcuts = Links\n"
    "\n"
    "[DestinationDirs]\n"
    "Files.Windows       = ,%CE2%\n"
    "Files.InstallDir    = ,%InstallDir%\n"
    "Files.StartMenu     = ,%CE11%\n"
    "Links               = ,%CE11%\n"
    "DefaultDestDir      = ,%InstallDir%\n"
    "\n"
    "[Files.InstallDir]\n"
    "\"#APPNAME#\",#APPNAME#\n"
    "\n"
    "[Files.StartMenu]\n"
    "\n"
    "[RegData]\n"
    "\n"
    "[Links]\n"
    "%LinkFilename%,0,\"#APPNAME#\",%CE11%\n"
    "\n"
    "[Strings]\n"
    "LinkFilename\t\t= \"#APPTITLE#\"\n";

namespace {

constexpr std::string_view kExecutableExtension = ".exe";
constexpr std::string_view kInstallDirPrefix = "%CE1%\\";
// Both separators split a path: output bases written on Windows use backslashes.
constexpr std::string_view kPathSeparators = "/\\";

void replaceAll(std::string& text, std::string_view placeholder, std::string_view value) {
    std::size_t pos = 0;
    while ((pos = text.find(placeholder, pos)) != std::string::npos) {
        text.replace(pos, placeholder.size(), value);
        pos += value.size();
    }
}

// A launcher name as a quoted text of the description: a double quote is
// written twice, as the format escapes it, and so is a percent sign, which
// the format would otherwise read as the start of a macro ("%CE2%").
std::string escapedLauncherName(std::string_view text) {
    std::string out;
    for (char c : text) {
        out.push_back(c);
        if (c == '"' || c == '%') out.push_back(c);
    }
    return out;
}

std::string currentFolder() {
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (buffer.size() > (1u << 20)) return ".";
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

}  // namespace

InfValues infValuesFor(std::string_view outputBase, std::string_view launcherName) {
    InfValues values;
    const std::size_t separator = outputBase.find_last_of(kPathSeparators);
    const std::string_view fileName =
        separator == std::string_view::npos ? outputBase : outputBase.substr(separator + 1);
    values.appName = std::string(fileName) + std::string(kExecutableExtension);
    const std::string quotedName = escapedLauncherName(launcherName);
    values.appTitle = quotedName;
    values.installDir = std::string(kInstallDirPrefix) + quotedName;
    if (separator != std::string_view::npos) {
        std::string folder(outputBase.substr(0, separator));
        if (folder.empty()) folder = "/";  // an output base at the root: "/Conf"
        if (folder.front() != '/') folder = currentFolder() + "/" + folder;
        values.buildDir = folder;
    }
    return values;
}

std::string infText(const InfValues& values) {
    std::string text(kInfTemplate);
    replaceAll(text, kInfPlaceholderAppName, values.appName);
    replaceAll(text, kInfPlaceholderAppTitle, values.appTitle);
    replaceAll(text, kInfPlaceholderInstallDir, values.installDir);
    replaceAll(text, kInfPlaceholderBuildDir, values.buildDir);
    return withCrLf(text);
}

FileWriteResult writeInfFile(const std::string& path, const std::string& text) {
    return writeFileAtomically(path, std::string_view(text));
}

}  // namespace skedlin
