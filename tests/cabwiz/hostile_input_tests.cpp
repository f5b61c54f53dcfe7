// cabwiz run as the real program on descriptions that are not files, are cut
// short, are binary or huge, or list source files that are devices, pipes or
// folders: each ends with exit code 1, a message naming the file, no cabinet
// and no side file, and no hang (each run is bounded by `timeout`).

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "cab_test_support.h"

namespace skedlin::test {
namespace {

const std::string kCabwiz = std::string(SKEDLIN_BIN_DIR) + "/cabwiz";
constexpr int kTimedOut = 124;

CommandResult runCabwiz(const std::string& inf) {
    return runProgram({"/usr/bin/timeout", "60", kCabwiz, inf, "/cpu", "arm"});
}

// A valid description installing the file `name` of `folder` as Guide.exe
// (line 18 is the line of the file list that names it).
std::string descriptionInstalling(const std::string& folder, const std::string& name) {
    return "[Version]\r\nProvider = \"Skedlin\"\r\nCESignature = \"$Windows CE$\"\r\n"
           "[CEStrings]\r\nAppName = \"Guide\"\r\nInstallDir = %CE1%\\Guide\r\n"
           "[CEDevice.ARM]\r\nVersionMin = 3.0\r\n"
           "[SourceDisksNames.ARM]\r\n1 = ,\"files\",," +
           folder +
           "\r\n"
           "[SourceDisksFiles]\r\n" +
           name +
           " = 1\r\n"
           "[DefaultInstall]\r\nCopyFiles = Files\r\n"
           "[DestinationDirs]\r\nFiles = ,%InstallDir%\r\n"
           "[Files]\r\nGuide.exe," +
           name + ",,0\r\n";
}

void expectRefused(const TempDir& dir, const CommandResult& run, const std::string& expected,
                   const std::vector<std::string>& namesAfter) {
    EXPECT_EQ(run.exitCode, 1) << expected << "\n" << run.err;
    EXPECT_NE(run.exitCode, kTimedOut);
    EXPECT_NE(run.err.find(expected), std::string::npos) << run.err;
    EXPECT_EQ(dir.names(), namesAfter) << expected;
}

TEST(CabwizHostileInput, DescriptionsThatAreNotFilesAreNotRead) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("Pipe.inf").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("/dev/zero", dir.file("Zero.inf").c_str()), 0);
    const std::vector<std::string> names = {"Pipe.inf", "Zero.inf"};
    expectRefused(dir, runCabwiz(dir.file("Pipe.inf")), "Pipe.inf: the installation description is not a regular file",
                  names);
    expectRefused(dir, runCabwiz(dir.file("Zero.inf")), "Zero.inf: the installation description is not a regular file",
                  names);
    expectRefused(dir, runCabwiz("/dev/zero"), "/dev/zero: the installation description is not a regular file", names);
}

TEST(CabwizHostileInput, EmptyTruncatedAndHugeDescriptionsAreRefused) {
    TempDir dir;
    writeFile(dir.file("Guide.exe"), "viewer");
    writeFile(dir.file("Empty.inf"), "");
    expectRefused(dir, runCabwiz(dir.file("Empty.inf")), "Empty.inf: the section [Version] is missing",
                  {"Empty.inf", "Guide.exe"});

    const std::string whole = descriptionInstalling(dir.path(), "Guide.exe");
    writeFile(dir.file("Cut.inf"), whole.substr(0, whole.find("Guide\"") + 2));  // inside a quoted text
    expectRefused(dir, runCabwiz(dir.file("Cut.inf")), "Cut.inf:5: the quoted text is not closed",
                  {"Cut.inf", "Empty.inf", "Guide.exe"});

    // Larger than any description: refused by its size before it is read (sparse, no disk space).
    writeFile(dir.file("Huge.inf"), "[Version]\r\n");
    ASSERT_EQ(::truncate(dir.file("Huge.inf").c_str(), off_t{1} << 32), 0);
    expectRefused(dir, runCabwiz(dir.file("Huge.inf")), "Huge.inf: the installation description is larger than",
                  {"Cut.inf", "Empty.inf", "Guide.exe", "Huge.inf"});
}

TEST(CabwizHostileInput, SourceFilesThatAreNotFilesAreRefusedByLine) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("pipe.exe").c_str(), 0600), 0);
    ASSERT_EQ(::mkdir(dir.file("folder.exe").c_str(), 0700), 0);
    const std::vector<std::pair<std::string, std::string>> sources = {
        {dir.path(), "pipe.exe"}, {dir.path(), "folder.exe"}, {"/dev", "zero"}};
    for (const auto& [folder, name] : sources) {
        writeFile(dir.file("Guide.inf"), descriptionInstalling(folder, name));
        expectRefused(dir, runCabwiz(dir.file("Guide.inf")),
                      "Guide.inf:18: the source file '" + folder + "/" + name + "' is not a regular file",
                      {"Guide.inf", "folder.exe", "pipe.exe"});
    }
}

}  // namespace
}  // namespace skedlin::test
