// The report of a built installer cabinet agrees with cabextract's listing and
// with the tests' own setup file reader. (Only the reader is taken from the
// cabinet tests' helpers: their file and process helpers share names with the
// PE test reader linked into this program.)

#include <gtest/gtest.h>

#include <sstream>

#include "inspect_test_support.h"
#include "model/Windows1252.h"
#include "tests/cabwiz/cab_test_support.h"

namespace skedlin::inspecttest {
namespace {

using inspect::Node;

void expectAgreement(const std::string& cabinet, const std::string& name) {
    SCOPED_TRACE(cabinet);
    const inspect::InspectResult result = inspect::inspectFile(cabinet);
    ASSERT_TRUE(result.hasReport) << result.message;
    EXPECT_EQ(result.status, inspect::InspectStatus::Ok);
    const Node& report = result.report;

    std::vector<std::string> reportedMembers;
    for (const Node& folder : listOf(report, "folders").items()) {
        EXPECT_EQ(textOf(folder, "compression"), "none");
        for (const Node& file : listOf(folder, "files").items()) reportedMembers.push_back(textOf(file, "name"));
    }
    // cabextract -l lists "size | date time | name" rows in stored order.
    const std::string listing = scratchFolder() + "/" + name + "-listing.txt";
    ASSERT_EQ(run("cabextract -q -l " + shellQuoted(cabinet) + " > " + shellQuoted(listing)), 0);
    std::vector<std::string> listed;
    std::istringstream lines(std::string(fileText(listing)));
    for (std::string line; std::getline(lines, line);) {
        const auto bar = line.rfind(" | ");
        if (bar != std::string::npos && line.find("Name") == std::string::npos) listed.push_back(line.substr(bar + 3));
    }
    EXPECT_EQ(reportedMembers, listed);

    std::string setupBytes;
    for (const std::string& member : listed) {
        if (member.size() > 4 && member.substr(member.size() - 4) == ".000") {
            const std::string extracted = scratchFolder() + "/" + name + "-setup.000";
            ASSERT_EQ(run("cabextract -q -p -F " + shellQuoted(member) + " " + shellQuoted(cabinet) + " > " +
                          shellQuoted(extracted)),
                      0);
            setupBytes = fileText(extracted);
        }
    }
    test::SetupFile setup;
    std::string error;
    ASSERT_TRUE(test::parseSetupFile(setupBytes, setup, error)) << error;
    const Node& described = *report.member("setup");
    EXPECT_EQ(textOf(described, "applicationName"), windows1252ToUtf8(setup.appName));
    EXPECT_EQ(textOf(described, "provider"), windows1252ToUtf8(setup.provider));
    EXPECT_EQ(numberOf(described, "processor"), setup.processorType);
    const auto& files = listOf(described, "files").items();
    ASSERT_EQ(files.size(), setup.files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(numberOf(files[i], "id"), setup.files[i].id);
        EXPECT_EQ(textOf(files[i], "name"), windows1252ToUtf8(setup.files[i].name));
        EXPECT_EQ(textOf(files[i], "folder"), windows1252ToUtf8(setup.directories.at(setup.files[i].directoryId)));
    }
    const auto& shortcuts = listOf(described, "shortcuts").items();
    ASSERT_EQ(shortcuts.size(), setup.shortcuts.size());
    for (std::size_t i = 0; i < shortcuts.size(); ++i) {
        EXPECT_EQ(textOf(shortcuts[i], "path"), windows1252ToUtf8(setup.shortcutPath(setup.shortcuts[i])));
        const auto* target = setup.file(setup.shortcuts[i].target);
        ASSERT_TRUE(target);
        EXPECT_EQ(textOf(shortcuts[i], "target"),
                  windows1252ToUtf8(setup.directories.at(target->directoryId) + "\\" + target->name));
    }
}

TEST(CabinetReportAgreement, ExamplePackage) { expectAgreement(exampleOutputs().cab, "example"); }

TEST(CabinetReportAgreement, GeneratedPackage) { expectAgreement(generatedOutputs().cab, "generated"); }

}  // namespace
}  // namespace skedlin::inspecttest
