// Descriptions cabwiz must refuse: each gives a message naming the file and
// line (or the file alone for a missing section), a non-zero exit code, and
// leaves no cabinet, side file or temporary file behind.

#include <gtest/gtest.h>

#include <filesystem>

#include "cab_test_support.h"
#include "tools/cabwiz/InstallerCabinet.h"

namespace skedlin::test {
namespace {

const std::string kCabwiz = std::string(SKEDLIN_BIN_DIR) + "/cabwiz";

// A minimal valid description; the cases below replace one line of it.
const std::vector<std::string> kValidLines = {
    "[Version]",                       // 1
    "Provider = \"Skedlin\"",          // 2
    "CESignature = \"$Windows CE$\"",  // 3
    "[CEStrings]",                     // 4
    "AppName = \"Guide\"",             // 5
    "InstallDir = %CE1%\\Guide",       // 6
    "[CEDevice.ARM]",                  // 7
    "VersionMin = 3.0",                // 8
    "[SourceDisksNames.ARM]",          // 9
    "1 = ,\"files\",,",                // 10
    "[SourceDisksFiles]",              // 11
    "Guide.exe = 1",                   // 12
    "[DefaultInstall]",                // 13
    "CopyFiles = Files",               // 14
    "CEShortcuts = Links",             // 15
    "[DestinationDirs]",               // 16
    "Files = ,%InstallDir%",           // 17
    "[Files]",                         // 18
    "Guide.exe",                       // 19
    "[Links]",                         // 20
    "Guide,0,Guide.exe,%CE11%",        // 21
};

struct BadDescription {
    const char* name;
    int line;  // 1-based line of kValidLines to replace
    const char* replacement;
    const char* expected;  // part of the message
    cabwiz::CabwizError kind;
};

using cabwiz::CabwizError;

const BadDescription kCases[] = {
    {"MissingSourceFile", 19, "Other.exe", "Guide.inf:19: 'Other.exe' is not listed in [SourceDisksFiles]",
     CabwizError::Plan},
    {"UnknownDirectoryMacro", 17, "Files = ,%CE99%\\Sub", "Guide.inf:17: unknown directory macro in '%CE99%'",
     CabwizError::Plan},
    {"MacroNotFirst", 17, "Files = ,Sub\\%CE2%", "Guide.inf:17: unknown directory macro", CabwizError::Plan},
    {"UnclosedQuote", 5, "AppName = \"Guide", "Guide.inf:5: the quoted text is not closed", CabwizError::Description},
    {"MissingListSection", 14, "CopyFiles = Files,Extra", "Guide.inf:14: the section [Extra] named here is missing",
     CabwizError::Plan},
    {"MissingVersionSection", 1, "[Versions]", "Guide.inf: the section [Version] is missing", CabwizError::Plan},
    {"WrongSignature", 3, "CESignature = \"$Windows NT$\"", "Guide.inf:3: CESignature", CabwizError::Plan},
    {"BadVersionNumber", 8, "VersionMin = three", "Guide.inf:8: 'three' is not a valid value for VersionMin",
     CabwizError::Plan},
    {"UnknownDisk", 12, "Guide.exe = 2", "Guide.inf:12: disk '2' is not listed", CabwizError::Plan},
    {"ShortcutToUnknownFile", 21, "Guide,0,Other.exe,%CE11%", "Guide.inf:21: the shortcut target 'Other.exe'",
     CabwizError::Plan},
    {"ShortcutBadType", 21, "Guide,7,Guide.exe", "Guide.inf:21: the shortcut type", CabwizError::Plan},
    {"TextBeforeSection", 1, "Provider = x", "Guide.inf:1: text before the first section header",
     CabwizError::Description},
    {"InstallDirUndefined", 6, "; no InstallDir", "Guide.inf:17: %InstallDir% is used", CabwizError::Plan},
};

class CabwizRefuses : public ::testing::TestWithParam<BadDescription> {};

TEST_P(CabwizRefuses, WithMessageAndNoOutput) {
    const BadDescription& bad = GetParam();
    TempDir dir;
    writeFile(dir.file("Guide.exe"), "viewer");
    std::string text;
    for (std::size_t i = 0; i < kValidLines.size(); ++i) {
        text += (static_cast<int>(i + 1) == bad.line ? bad.replacement : kValidLines[i]) + std::string("\r\n");
    }
    writeFile(dir.file("Guide.inf"), text);

    const auto run = runProgram({kCabwiz, dir.file("Guide.inf"), "/cpu", "ARM"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find(bad.expected), std::string::npos) << run.err;
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"Guide.exe", "Guide.inf"}));

    // The step's own result says what kind of failure it was, and its message
    // is what the program printed.
    const cabwiz::CabwizResult result = cabwiz::makeInstallerCabinet(dir.file("Guide.inf"), "ARM");
    EXPECT_EQ(result.code(), bad.kind) << result.message();
    EXPECT_EQ(run.err, "cabwiz: " + result.message() + "\n");
}

INSTANTIATE_TEST_SUITE_P(Cabwiz, CabwizRefuses, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CabwizRefusesFiles, UnreadableInputsAndNoPartialOutput) {
    TempDir dir;
    // No such description.
    auto run = runProgram({kCabwiz, dir.file("Absent.inf"), "/cpu", "arm"});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("Absent.inf"), std::string::npos);

    // A folder given as the description.
    run = runProgram({kCabwiz, dir.path(), "/cpu", "arm"});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("not a regular file"), std::string::npos);

    // Binary junk.
    writeFile(dir.file("Junk.inf"), std::string("[Version]\n\0\x01\x02", 13));
    run = runProgram({kCabwiz, dir.file("Junk.inf"), "/cpu", "arm"});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("Junk.inf:2:"), std::string::npos) << run.err;

    // The listed source file is missing on disk: the earlier cabinet stays as it was.
    std::string text;
    for (const auto& line : kValidLines) text += line + "\n";
    writeFile(dir.file("Guide.inf"), text);
    writeFile(dir.file("Guide.arm.cab"), "earlier");
    EXPECT_EQ(cabwiz::makeInstallerCabinet(dir.file("Guide.inf"), "arm").code(), CabwizError::SourceFile);
    run = runProgram({kCabwiz, dir.file("Guide.inf"), "/cpu", "arm"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("Guide.inf:19: cannot read the source file"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Guide.exe"), std::string::npos);
    EXPECT_EQ(readFileText(dir.file("Guide.arm.cab")), "earlier");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"Guide.arm.cab", "Guide.inf", "Junk.inf"}));
}

TEST(CabwizRefusesFiles, OutputThatCannotBeWrittenIsAnOutputFailure) {
    TempDir dir;
    writeFile(dir.file("Guide.exe"), "viewer");
    std::filesystem::create_directories(dir.file("files"));
    writeFile(dir.file("files/Guide.exe"), "viewer");
    std::string text;
    for (const auto& line : kValidLines) text += line + "\n";
    writeFile(dir.file("Guide.inf"), text);
    // A folder where the side file would go: the cabinet is not kept without it.
    std::filesystem::create_directories(dir.file("Guide.arm.dat/inside"));
    const cabwiz::CabwizResult result = cabwiz::makeInstallerCabinet(dir.file("Guide.inf"), "arm");
    EXPECT_EQ(result.code(), CabwizError::Output) << result.message();
    EXPECT_NE(result.message().find("Guide.arm.dat"), std::string::npos) << result.message();
    EXPECT_FALSE(fileExists(dir.file("Guide.arm.cab")));
}

}  // namespace
}  // namespace skedlin::test
