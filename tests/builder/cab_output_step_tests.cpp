// The Pocket PC output step run through the real SkedlinBuilder: the cabinet
// read back with cabextract and the independent setup-file reader, the wizard
// missing or failing, and the files the step leaves behind.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/cabwiz/cab_test_support.h"

namespace skedlin::test {
namespace {

const std::string kBinDir = SKEDLIN_BIN_DIR;

std::string packageXml(const std::string& launcherName) {
    return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n"
           "<calendar-package navigation=\"groups\">\n"
           "\t<package-title>Harbour Conference 2003</package-title>\n"
           "\t<app-name>Harbour 2003</app-name>\n"
           "\t<app-launcher>\n"
           "\t\t<launcher-name>" +
           launcherName +
           "</launcher-name>\n"
           "\t</app-launcher>\n"
           "\t<welcome>\n"
           "\t\t<description>Programme of the harbour conference.</description>\n"
           "\t</welcome>\n"
           "\t<groups>\n"
           "\t</groups>\n"
           "</calendar-package>\n";
}

// A scratch area: the input in in/, the outputs in out/ (another folder, as a
// command-line user may choose), and a private copy of the program folder
// whose cabwiz a test may remove or replace.
class OutputStep : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(root.path().empty());
        ASSERT_EQ(::mkdir(root.file("in").c_str(), 0755), 0);
        ASSERT_EQ(::mkdir(root.file("out").c_str(), 0755), 0);
        input = root.file("in/package.xml");
        writeFile(input, packageXml("Conference"));
        outputBase = root.file("out/Conf");
        bin = root.file("bin");
        ASSERT_EQ(std::system(("cp -R " + shellQuote(kBinDir) + " " + shellQuote(bin)).c_str()), 0);
    }

    void replaceCabwiz(const std::string& script) {
        std::remove((bin + "/cabwiz").c_str());
        writeFile(bin + "/cabwiz", script);
        ASSERT_EQ(::chmod((bin + "/cabwiz").c_str(), 0755), 0);
    }

    CommandResult build(std::vector<std::string> options = {"/PALM", "/WINCE"}) {
        std::vector<std::string> argv = {bin + "/SkedlinBuilder", input, outputBase};
        argv.insert(argv.end(), options.begin(), options.end());
        return runProgram(argv);
    }

    std::vector<std::string> outputs() const { return folderNames(root.file("out")); }

    TempDir root;
    std::string input;
    std::string outputBase;
    std::string bin;
};

TEST_F(OutputStep, BothTargetsLeaveThePrcAndAnInstallerCabinet) {
    // A wrapper keeps a copy of the executable the builder handed to the wizard.
    ASSERT_EQ(std::rename((bin + "/cabwiz").c_str(), (bin + "/cabwiz.real").c_str()), 0);
    replaceCabwiz("#!/bin/sh\ncp \"${1%.inf}.exe\" " + shellQuote(root.file("kept.exe")) +
                  "\nexec \"$(dirname \"$0\")/cabwiz.real\" \"$@\"\n");
    writeFile(outputBase + ".cab", "left by an earlier build");

    const auto run = build();
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(outputs(), (std::vector<std::string>{"Conf.cab", "Conf.prc"}));

    const std::string cabinet = outputBase + ".cab";
    EXPECT_TRUE(cabinetTestsClean(cabinet));
    const auto members = cabinetMembers(cabinet);
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ(members[0].substr(members[0].size() - 4), ".000");
    EXPECT_EQ(members[1], "0000Conf.001");

    TempDir extracted;
    ASSERT_TRUE(extractCabinet(cabinet, extracted.path()));
    const std::string payload = readFileText(extracted.file("0000Conf.001"));
    EXPECT_EQ(payload.substr(0, 2), "MZ");
    EXPECT_EQ(payload, readFileText(root.file("kept.exe")));

    SetupFile setup;
    std::string error;
    ASSERT_TRUE(parseSetupFile(readFileText(extracted.file(members[0])), setup, error)) << error;
    EXPECT_EQ(setup.appName, "Conference");
    EXPECT_EQ(setup.provider, "Skedlin");
    EXPECT_EQ(setup.processorType, 2577u);
    EXPECT_EQ(setup.versionMinMajor, 3u);
    EXPECT_EQ(setup.versionMaxMajor, 100u);
    EXPECT_EQ(setup.unsupported, (std::vector<std::string>{"HPC", "Jupiter"}));
    ASSERT_EQ(setup.files.size(), 1u);
    EXPECT_EQ(setup.files[0].name, "Conf.exe");
    EXPECT_EQ(setup.directories.at(setup.files[0].directoryId), "%CE1%\\Conference");
    ASSERT_EQ(setup.shortcuts.size(), 1u);
    EXPECT_EQ(setup.shortcutPath(setup.shortcuts[0]), "%CE11%\\Conference.lnk");
    EXPECT_EQ(setup.shortcuts[0].target, setup.files[0].id);
}

TEST_F(OutputStep, LauncherNameWithQuotesAndAccentsReachesTheDeviceUnchanged) {
    writeFile(input, packageXml("Caf\xe9 &amp; \"Talks\""));
    const auto run = build({"/WINCE"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    TempDir extracted;
    ASSERT_TRUE(extractCabinet(outputBase + ".cab", extracted.path()));
    const auto names = folderNames(extracted.path());
    ASSERT_EQ(names.size(), 2u);
    SetupFile setup;
    std::string error;
    ASSERT_TRUE(parseSetupFile(readFileText(extracted.file(names[0])), setup, error)) << error;
    EXPECT_EQ(setup.appName, "Caf\xe9 & \"Talks\"");  // Windows-1252, as the device reads it
    ASSERT_EQ(setup.shortcuts.size(), 1u);
    EXPECT_EQ(setup.shortcutPath(setup.shortcuts[0]), "%CE11%\\Caf\xe9 & \"Talks\".lnk");
}

TEST_F(OutputStep, LauncherNameThatLooksLikeAMacroInstallsUnderItsOwnText) {
    writeFile(input, packageXml("%CE2% 100%"));
    const auto run = build({"/WINCE"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    TempDir extracted;
    ASSERT_TRUE(extractCabinet(outputBase + ".cab", extracted.path()));
    const auto names = folderNames(extracted.path());
    ASSERT_EQ(names.size(), 2u);
    SetupFile setup;
    std::string error;
    ASSERT_TRUE(parseSetupFile(readFileText(extracted.file(names[0])), setup, error)) << error;
    EXPECT_EQ(setup.appName, "%CE2% 100%");
    ASSERT_EQ(setup.files.size(), 1u);
    EXPECT_EQ(setup.directories.at(setup.files[0].directoryId), "%CE1%\\%CE2% 100%");
    ASSERT_EQ(setup.shortcuts.size(), 1u);
    EXPECT_EQ(setup.shortcutPath(setup.shortcuts[0]), "%CE11%\\%CE2% 100%.lnk");
}

// The error file is what the editor's build dialog shows: the wizard's own
// reason must be there, not only on standard error.
TEST_F(OutputStep, WizardsReasonFollowsItsNumberInTheErrorFile) {
    writeFile(input, packageXml(""));
    const auto run = build({"/WINCE", "/ERR", root.file("errors.txt")});
    EXPECT_EQ(run.exitCode, 13);
    const std::string errors = readFileText(root.file("errors.txt"));
    const std::size_t number = errors.find("An error was returned by the Microsoft CAB Wizard.  Error number = 1");
    ASSERT_NE(number, std::string::npos) << errors;
    EXPECT_NE(errors.find("AppName is empty", number), std::string::npos) << errors;
    EXPECT_NE(run.err.find("AppName is empty"), std::string::npos) << run.err;  // still shown on the console
}

TEST_F(OutputStep, OutputNameTheDescriptionCannotHoldIsRefusedBeforeAnythingIsWritten) {
    for (const char* name : {"a,b", "a;b", "a=b", "a\"b"}) {
        outputBase = root.file("out/") + name;
        const auto run = build();
        EXPECT_EQ(run.exitCode, 4) << name;
        EXPECT_NE(run.err.find(std::string("holds the character '") + name[1] + "'"), std::string::npos) << run.err;
        EXPECT_EQ(outputs(), (std::vector<std::string>{})) << name;
    }
    // Only where the name stands unquoted: a folder may hold them.
    ASSERT_EQ(::mkdir(root.file("out/a,b=c;d").c_str(), 0755), 0);
    outputBase = root.file("out/a,b=c;d/Conf");
    EXPECT_EQ(build().exitCode, 0);
}

TEST_F(OutputStep, WizardMissingGivesCode12AndKeepsOnlyThePrc) {
    std::remove((bin + "/cabwiz").c_str());
    writeFile(outputBase + ".cab", "left by an earlier build");

    const auto run = build();
    EXPECT_EQ(run.exitCode, 12);
    EXPECT_NE(run.err.find("Fatal error: Unable to run the Microsoft CAB Wizard. The CAB Wizard may be missing or "
                           "corrupted. Run the Skedlin setup to correct this error."),
              std::string::npos)
        << run.err;
    EXPECT_EQ(outputs(), (std::vector<std::string>{"Conf.prc"}));
}

TEST_F(OutputStep, WizardFailureGivesCode13WithItsNumber) {
    replaceCabwiz("#!/bin/sh\n: > \"${1%.inf}.arm.cab\"\nexit 5\n");
    writeFile(outputBase + ".cab", "left by an earlier build");

    const auto run = build();
    EXPECT_EQ(run.exitCode, 13);
    EXPECT_NE(run.err.find("An error was returned by the Microsoft CAB Wizard.  Error number = 5"), std::string::npos)
        << run.err;
    // Neither the old cabinet nor whatever the failing wizard left remains.
    EXPECT_EQ(outputs(), (std::vector<std::string>{"Conf.prc"}));
}

TEST_F(OutputStep, WizardGetsItsArgumentsAndAnInfNamingTheExecutablesFolder) {
    // This wizard records what it was given and reports success without a cabinet.
    replaceCabwiz("#!/bin/sh\nprintf '%s\\n' \"$0\" \"$@\" > " + shellQuote(root.file("argv")) + "\ncp \"$1\" " +
                  shellQuote(root.file("kept.inf")) + "\nexit 0\n");

    const auto run = build({"/WINCE"});
    EXPECT_EQ(run.exitCode, 13);
    EXPECT_NE(run.err.find("did not write the cabinet"), std::string::npos) << run.err;
    EXPECT_EQ(readFileText(root.file("argv")), bin + "/cabwiz\n" + outputBase + ".inf\n/cpu\narm\n");
    const std::string inf = readFileText(root.file("kept.inf"));
    EXPECT_NE(inf.find("\r\n1 = ,\"files\",,\"" + root.file("out") + "\"\r\n"), std::string::npos) << inf;
    EXPECT_EQ(outputs(), (std::vector<std::string>{}));
}

TEST_F(OutputStep, ExecutableOrInfThatCannotBeWrittenIsReported) {
    outputBase = root.file("missing-folder/Conf");
    auto run = build({"/WINCE"});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("Conf.exe"), std::string::npos) << run.err;

    // A folder in the way of the description.
    outputBase = root.file("out/Conf");
    ASSERT_EQ(::mkdir((outputBase + ".inf").c_str(), 0755), 0);
    run = build({"/WINCE"});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("Conf.inf"), std::string::npos) << run.err;
    EXPECT_EQ(outputs(), (std::vector<std::string>{"Conf.inf"}));  // only the folder we made
}

TEST_F(OutputStep, PalmOnlyLeavesPocketPcFilesAlone) {
    writeFile(outputBase + ".cab", "left by an earlier build");
    const auto run = build({"/PALM"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(readFileText(outputBase + ".cab"), "left by an earlier build");
    EXPECT_EQ(outputs(), (std::vector<std::string>{"Conf.cab", "Conf.prc"}));
}

}  // namespace
}  // namespace skedlin::test
