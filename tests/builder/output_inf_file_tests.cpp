// The installation description the output step writes: the template line by
// line, CR LF line ends, the placeholders and the order they are replaced in.

#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <vector>

#include "builder/pocketpc/InfFile.h"

namespace skedlin {
namespace {

// Splits at CR LF; fails the test on a bare LF or a last line without CR LF.
std::vector<std::string> crLfLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "the text does not end in CR LF";
        if (end == std::string::npos) break;
        const std::string line = text.substr(start, end - start);
        EXPECT_EQ(line.find('\n'), std::string::npos) << "bare line feed in: " << line;
        EXPECT_EQ(line.find('\r'), std::string::npos) << "bare carriage return in: " << line;
        lines.push_back(line);
        start = end + 2;
    }
    return lines;
}

TEST(InfFile, TextForConfAndConferenceLineByLine) {
    const std::string text = infText(infValuesFor("/data/out/Conf", "Conference"));
    const std::vector<std::string> expected = {
        "[Version]",
        "Signature   = \"$Windows NT$\"",
        "Provider    = \"Skedlin\"",
        "CESignature = \"$Windows CE$\"",
        "",
        "[CEStrings]",
        "AppName     = \"Conference\"",
        "InstallDir  = \"%CE1%\\Conference\"",
        "",
        "[CEDevice.ARM]",
        "ProcessorType           = 2577",
        "UnsupportedPlatforms    = \"HPC\",\"Jupiter\"",
        "VersionMin              = 3.0",
        "VersionMax              = 100.0",
        "",
        "[SourceDisksNames.ARM]",
        "1 = ,\"files\",,\"/data/out\"",
        "",
        "[SourceDisksFiles]",
        "Conf.exe        = 1",
        "",
        "[DefaultInstall]",
        "CopyFiles   = Files.InstallDir,Files.StartMenu",
        "AddReg      = RegData",
        "CEShortcuts = Links",
        "",
        "[DestinationDirs]",
        "Files.Windows       = ,%CE2%",
        "Files.InstallDir    = ,%InstallDir%",
        "Files.StartMenu     = ,%CE11%",
        "Links               = ,%CE11%",
        "DefaultDestDir      = ,%InstallDir%",
        "",
        "[Files.InstallDir]",
        "\"Conf.exe\",Conf.exe",
        "",
        "[Files.StartMenu]",
        "",
        "[RegData]",
        "",
        "[Links]",
        "%LinkFilename%,0,\"Conf.exe\",%CE11%",
        "",
        "[Strings]",
        "LinkFilename\t\t= \"Conference\"",
    };
    EXPECT_EQ(crLfLines(text), expected);
}

TEST(InfFile, PlaceholdersAreReplacedInOrderSoLaterWordsInALauncherNameAreReplacedToo) {
    // #APPNAME# is already done when the launcher name goes in; #INSTALLDIR#
    // and #BUILDDIR# come after it and are replaced inside it as well.
    const std::string launcher = "#APPNAME# #INSTALLDIR# #BUILDDIR#";
    const auto lines = crLfLines(infText(infValuesFor("/srv/Conf", launcher)));
    ASSERT_EQ(lines.size(), 45u);
    EXPECT_EQ(lines[6], "AppName     = \"#APPNAME# %CE1%\\#APPNAME# #INSTALLDIR# /srv /srv\"");
    EXPECT_EQ(lines[7], "InstallDir  = \"%CE1%\\#APPNAME# #INSTALLDIR# /srv\"");
    EXPECT_EQ(lines[19], "Conf.exe        = 1");
    EXPECT_EQ(lines[44], "LinkFilename\t\t= \"#APPNAME# %CE1%\\#APPNAME# #INSTALLDIR# /srv /srv\"");
    for (const auto& line : lines) {
        EXPECT_EQ(line.find("#APPTITLE#"), std::string::npos) << line;
        EXPECT_EQ(line.find("#BUILDDIR#"), std::string::npos) << line;
    }
}

TEST(InfFile, ValuesComeFromTheOutputBase) {
    // The folder is the output's, where the executable is written.
    InfValues values = infValuesFor("/home/ann/cabs/Conf", "Conference");
    EXPECT_EQ(values.appName, "Conf.exe");
    EXPECT_EQ(values.appTitle, "Conference");
    EXPECT_EQ(values.installDir, "%CE1%\\Conference");
    EXPECT_EQ(values.buildDir, "/home/ann/cabs");

    // No folder: empty, meaning the description's own folder.
    values = infValuesFor("Conf", "Conference");
    EXPECT_EQ(values.appName, "Conf.exe");
    EXPECT_EQ(values.buildDir, "");

    // A relative folder is made absolute; a backslash separates too.
    char cwd[4096];
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    values = infValuesFor("out\\Conf", "Conference");
    EXPECT_EQ(values.appName, "Conf.exe");
    EXPECT_EQ(values.buildDir, std::string(cwd) + "/out");

    EXPECT_EQ(infValuesFor("/Conf", "C").buildDir, "/");

    // The launcher name stands inside quotes: its own quotes are doubled.
    values = infValuesFor("Conf", "The \"Big\" Day");
    EXPECT_EQ(values.appTitle, "The \"\"Big\"\" Day");
    EXPECT_EQ(values.installDir, "%CE1%\\The \"\"Big\"\" Day");
    // A percent sign is doubled too, so that "%CE2%" is not read as a macro.
    values = infValuesFor("Conf", "%CE2% 5%");
    EXPECT_EQ(values.appTitle, "%%CE2%% 5%%");
    EXPECT_EQ(values.installDir, "%CE1%\\%%CE2%% 5%%");
}

}  // namespace
}  // namespace skedlin
