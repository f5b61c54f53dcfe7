// cabwiz run on installation descriptions, its cabinets read back with
// cabextract and the setup file decoded by the independent reader.

#include <gtest/gtest.h>

#include "cab_test_support.h"

namespace skedlin::test {
namespace {

const std::string kCabwiz = std::string(SKEDLIN_BIN_DIR) + "/cabwiz";

std::string withCrLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out.push_back(c);
    }
    return out;
}

// The description SkedlinBuilder writes for output "Conf" and launcher "Conference".
std::string builderInf(const std::string& sourceFolder) {
    return withCrLf(
        "[Version]\n"
        "Signature   = \"$Windows NT$\"\n"
        "Provider    = \"Skedlin\"\n"
        "CESignature = \"$Windows CE$\"\n"
        "\n"
        "[CEStrings]\n"
        "AppName     = \"Conference\"\n"
        "InstallDir  = \"%CE1%\\Conference\"\n"
        "\n"
        "[CEDevice.ARM]\n"
        "ProcessorType           = 2577\n"
        "UnsupportedPlatforms    = \"HPC\",\"Jupiter\"\n"
        "VersionMin              = 3.0\n"
        "VersionMax              = 100.0\n"
        "\n"
        "[SourceDisksNames.ARM]\n"
        "1 = ,\"files\",,\"" +
        sourceFolder +
        "\"\n"
        "\n"
        "[SourceDisksFiles]\n"
        "Conf.exe        = 1\n"
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
        "\"Conf.exe\",Conf.exe\n"
        "\n"
        "[Files.StartMenu]\n"
        "\n"
        "[RegData]\n"
        "\n"
        "[Links]\n"
        "%LinkFilename%,0,\"Conf.exe\",%CE11%\n"
        "\n"
        "[Strings]\n"
        "LinkFilename\t\t= \"Conference\"\n");
}

SetupFile decode(const std::string& bytes) {
    SetupFile setup;
    std::string error;
    EXPECT_TRUE(parseSetupFile(bytes, setup, error)) << error;
    return setup;
}

TEST(CabwizCabinet, BuilderDescriptionGivesTheInstallerTheDeviceExpects) {
    TempDir dir;
    const std::string payload = std::string("MZ\x90\0", 4) + std::string(5000, 'x') + std::string(1, '\xff');
    writeFile(dir.file("Conf.exe"), payload);
    writeFile(dir.file("Conf.inf"), builderInf(dir.path()));

    const auto run = runProgram({kCabwiz, dir.file("Conf.inf"), "/cpu", "arm"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"Conf.arm.cab", "Conf.arm.dat", "Conf.exe", "Conf.inf"}));

    const std::string cabinet = dir.file("Conf.arm.cab");
    EXPECT_TRUE(cabinetTestsClean(cabinet));
    EXPECT_EQ(cabinetMembers(cabinet), (std::vector<std::string>{"0000Conf.000", "0000Conf.001"}));
    // Some device-side tools only find an installer whose setup file is
    // stored, not compressed: folder 0 must use compression type 0.
    const std::string raw = readFileText(cabinet);
    ASSERT_GE(raw.size(), 44u);
    EXPECT_EQ(raw.substr(0, 4), "MSCF");
    EXPECT_EQ(raw[36 + 6], 0);
    EXPECT_EQ(raw[36 + 7], 0);

    TempDir out;
    ASSERT_TRUE(extractCabinet(cabinet, out.path()));
    EXPECT_EQ(readFileText(out.file("0000Conf.001")), payload);
    const std::string setupBytes = readFileText(out.file("0000Conf.000"));
    EXPECT_EQ(readFileText(dir.file("Conf.arm.dat")), setupBytes);

    const SetupFile setup = decode(setupBytes);
    EXPECT_EQ(setup.appName, "Conference");
    EXPECT_EQ(setup.provider, "Skedlin");
    EXPECT_EQ(setup.processorType, 2577u);
    EXPECT_EQ(setup.versionMinMajor, 3u);
    EXPECT_EQ(setup.versionMinMinor, 0u);
    EXPECT_EQ(setup.versionMaxMajor, 100u);
    EXPECT_EQ(setup.versionMaxMinor, 0u);
    EXPECT_EQ(setup.unsupported, (std::vector<std::string>{"HPC", "Jupiter"}));
    ASSERT_EQ(setup.files.size(), 1u);
    EXPECT_EQ(setup.files[0].id, 1);
    EXPECT_EQ(setup.files[0].name, "Conf.exe");
    EXPECT_EQ(setup.files[0].flags, 0u);
    EXPECT_EQ(setup.directories.at(setup.files[0].directoryId), "%CE1%\\Conference");
    EXPECT_TRUE(setup.hives.empty());
    EXPECT_TRUE(setup.values.empty());
    ASSERT_EQ(setup.shortcuts.size(), 1u);
    EXPECT_EQ(setup.shortcutPath(setup.shortcuts[0]), "%CE11%\\Conference.lnk");
    EXPECT_EQ(setup.shortcuts[0].target, 1);
    EXPECT_EQ(setup.shortcuts[0].targetIsFile, 1);

    // The layout of the format notes' worked example, to the byte.
    EXPECT_EQ(setup.appNameOffset, 100);
    EXPECT_EQ(setup.providerOffset, 111);
    EXPECT_EQ(setup.unsupportedOffset, 119);
    EXPECT_EQ(setup.unsupportedLength, 13);
    EXPECT_EQ(setup.sectionOffsets[0], 132u);
    EXPECT_EQ(setup.sectionOffsets[1], 176u);
    EXPECT_EQ(setup.sectionOffsets[2], 186u);
    EXPECT_EQ(setup.sectionOffsets[5], 207u);
    EXPECT_EQ(setup.totalLength, 221u);
    EXPECT_EQ(setup.strings, (std::map<int, std::string>{{1, "%CE1%"}, {2, "Conference"}, {3, "Conference.lnk"}}));
}

TEST(CabwizCabinet, SameInputGivesTheSameCabinet) {
    TempDir dir;
    writeFile(dir.file("Conf.exe"), "payload");
    writeFile(dir.file("Conf.inf"), builderInf(dir.path()));
    ASSERT_EQ(runProgram({kCabwiz, dir.file("Conf.inf"), "/cpu", "arm"}).exitCode, 0);
    const std::string first = readFileText(dir.file("Conf.arm.cab"));
    ASSERT_EQ(runProgram({kCabwiz, dir.file("Conf.inf"), "/CPU", "arm"}).exitCode, 0);
    EXPECT_EQ(readFileText(dir.file("Conf.arm.cab")), first);
}

// A description written by hand: UTF-8, lower-case keys, comments, a
// relative source folder, no /cpu, several files, registry values of every
// type, and shortcuts to a file and to a folder.
TEST(CabwizCabinet, HandWrittenDescriptionWithRegistryAndSeveralFiles) {
    TempDir dir;
    ASSERT_EQ(::mkdir(dir.file("payload").c_str(), 0755), 0);
    writeFile(dir.file("payload/Viewer.exe"), "viewer");
    writeFile(dir.file("payload/VéryLongHelpName.htm"), "help");
    writeFile(dir.file("Café.inf"),
              "; hand-written\n"
              "[version]\n"
              "provider = \"Quenby \"\"Soft\"\"\"   ; quotes inside quotes\n"
              "cesignature = \"$Windows CE$\"\n"
              "[CEStrings]\n"
              "appname = Café Guide\n"
              "installdir = %CE1%\\%Folder%\n"
              "[Strings]\n"
              "Folder = Café\n"
              "[SourceDisksNames]\n"
              "1 = ,\"payload\",,payload\n"
              "[SourceDisksFiles]\n"
              "viewer.exe = 1\n"
              "VéryLongHelpName.htm = 1\n"
              "[DefaultInstall]\n"
              "CopyFiles = Main, Help\n"
              "AddReg = Reg\n"
              "CEShortcuts = Links\n"
              "[DestinationDirs]\n"
              "Main = 0, %InstallDir%\n"
              "Help = 0, %CE2%\\Help\n"
              "Links = 0, %CE11%\n"
              "[Main]\n"
              "Viewer.exe\n"
              "[Help]\n"
              "Guide.htm, VéryLongHelpName.htm, , 0x40000000\n"
              "[Reg]\n"
              "HKLM, Software\\Quenby\\Guide, Path, 0x00000000, %InstallDir%\\Viewer.exe\n"
              "HKLM, Software\\Quenby\\Guide, Count, 0x00010001, 0x102\n"
              "HKCU, Software\\Quenby, Names, 0x00010002, one, two\n"
              "HKCU, Software\\Quenby, Blob, 0x00000001, 01, 0xfe\n"
              "[Links]\n"
              "Guide, 0, viewer.exe\n"
              "Guide Folder.lnk, 1, %InstallDir%, %CE3%\\Stuff\n");

    const auto run = runProgram({kCabwiz, dir.file("Café.inf")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_TRUE(fileExists(dir.file("Café.cab")));
    ASSERT_TRUE(fileExists(dir.file("Café.dat")));
    EXPECT_TRUE(cabinetTestsClean(dir.file("Café.cab")));
    EXPECT_EQ(cabinetMembers(dir.file("Café.cab")),
              (std::vector<std::string>{"0000Caf_.000", "00Viewer.001", "V_RYLO~1.002"}));

    const SetupFile setup = decode(readFileText(dir.file("Café.dat")));
    EXPECT_EQ(setup.appName, "Caf\xe9 Guide");  // Windows-1252 on the device
    EXPECT_EQ(setup.provider, "Quenby \"Soft\"");
    EXPECT_EQ(setup.processorType, 0u);
    EXPECT_EQ(setup.unsupportedLength, 0);
    ASSERT_EQ(setup.files.size(), 2u);
    EXPECT_EQ(setup.directories.at(setup.files[0].directoryId), "%CE1%\\Caf\xe9");
    EXPECT_EQ(setup.files[1].name, "Guide.htm");
    EXPECT_EQ(setup.files[1].flags, 0x40000000u);
    EXPECT_EQ(setup.directories.at(setup.files[1].directoryId), "%CE2%\\Help");

    ASSERT_EQ(setup.hives.size(), 2u);
    EXPECT_EQ(setup.hives[0].root, 3);
    EXPECT_EQ(setup.hives[0].key, "Software\\Quenby\\Guide");
    EXPECT_EQ(setup.hives[1].root, 2);
    ASSERT_EQ(setup.values.size(), 4u);
    EXPECT_EQ(setup.values[0].hiveId, setup.hives[0].id);
    EXPECT_EQ(setup.values[0].expand, 1);
    EXPECT_EQ(setup.values[0].type, 0u);
    const std::string path = "%InstallDir%\\Viewer.exe";
    EXPECT_EQ(setup.values[0].data, std::vector<std::uint8_t>(path.c_str(), path.c_str() + path.size() + 1));
    EXPECT_EQ(setup.values[1].name, "Count");
    EXPECT_EQ(setup.values[1].expand, 0);
    EXPECT_EQ(setup.values[1].type, 0x10001u);
    EXPECT_EQ(setup.values[1].data, (std::vector<std::uint8_t>{0x02, 0x01, 0, 0}));
    EXPECT_EQ(setup.values[2].type, 0x10002u);  // multi-string, keeping an existing value
    EXPECT_EQ(setup.values[2].data, (std::vector<std::uint8_t>{'o', 'n', 'e', 0, 't', 'w', 'o', 0, 0}));
    EXPECT_EQ(setup.values[3].hiveId, setup.hives[1].id);
    EXPECT_EQ(setup.values[3].data, (std::vector<std::uint8_t>{0x01, 0xfe}));

    ASSERT_EQ(setup.shortcuts.size(), 2u);
    EXPECT_EQ(setup.shortcutPath(setup.shortcuts[0]), "%CE11%\\Guide.lnk");
    EXPECT_EQ(setup.shortcuts[0].target, 1);
    EXPECT_EQ(setup.shortcutPath(setup.shortcuts[1]), "%CE3%\\Stuff\\Guide Folder.lnk");
    EXPECT_EQ(setup.shortcuts[1].targetIsFile, 0);
    EXPECT_EQ(setup.directories.at(setup.shortcuts[1].target), "%CE1%\\Caf\xe9");
}

// Launcher names are copied into the description as they are: a '%' that is
// no macro, commas and semicolons inside quotes are ordinary text.
TEST(CabwizCabinet, OrdinaryPunctuationInNamesIsKept) {
    TempDir dir;
    writeFile(dir.file("Conf.exe"), "payload");
    std::string inf = builderInf(dir.path());
    const std::string name = "100% Fun; Games, Talks";
    for (std::size_t pos; (pos = inf.find("\"Conference\"")) != std::string::npos;) {
        inf.replace(pos, 12, "\"" + name + "\"");
    }
    inf.replace(inf.find("%CE1%\\Conference"), 16, "%CE1%\\" + name);
    writeFile(dir.file("Conf.inf"), inf);

    const auto run = runProgram({kCabwiz, dir.file("Conf.inf"), "/cpu", "arm"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const SetupFile setup = decode(readFileText(dir.file("Conf.arm.dat")));
    EXPECT_EQ(setup.appName, name);
    ASSERT_EQ(setup.files.size(), 1u);
    EXPECT_EQ(setup.directories.at(setup.files[0].directoryId), "%CE1%\\" + name);
    ASSERT_EQ(setup.shortcuts.size(), 1u);
    EXPECT_EQ(setup.shortcutPath(setup.shortcuts[0]), "%CE11%\\" + name + ".lnk");
}

// "%%" stands for a percent sign everywhere, [Strings] texts and folders
// included, so a name that looks like a macro keeps its own text.
TEST(CabwizCabinet, EscapedPercentSignsAreTextNotMacros) {
    TempDir dir;
    writeFile(dir.file("Conf.exe"), "payload");
    std::string inf = builderInf(dir.path());
    for (std::size_t pos; (pos = inf.find("\"Conference\"")) != std::string::npos;) {
        inf.replace(pos, 12, "\"%%CE2%% 5%%\"");
    }
    inf.replace(inf.find("%CE1%\\Conference"), 16, "%CE1%\\%%CE2%% 5%%");
    writeFile(dir.file("Conf.inf"), inf);

    const auto run = runProgram({kCabwiz, dir.file("Conf.inf"), "/cpu", "arm"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const SetupFile setup = decode(readFileText(dir.file("Conf.arm.dat")));
    EXPECT_EQ(setup.appName, "%CE2% 5%");
    ASSERT_EQ(setup.files.size(), 1u);
    EXPECT_EQ(setup.directories.at(setup.files[0].directoryId), "%CE1%\\%CE2% 5%");
    ASSERT_EQ(setup.shortcuts.size(), 1u);
    EXPECT_EQ(setup.shortcutPath(setup.shortcuts[0]), "%CE11%\\%CE2% 5%.lnk");
}

TEST(CabwizCommandLine, HelpAndMisuse) {
    const auto help = runProgram({kCabwiz, "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("usage: cabwiz"), std::string::npos);

    const auto none = runProgram({kCabwiz});
    EXPECT_NE(none.exitCode, 0);
    EXPECT_NE(none.err.find("usage: cabwiz"), std::string::npos);

    const auto unknown = runProgram({kCabwiz, "x.inf", "/zip"});
    EXPECT_NE(unknown.exitCode, 0);
    EXPECT_NE(unknown.err.find("/zip"), std::string::npos);

    const auto noCpu = runProgram({kCabwiz, "x.inf", "/cpu"});
    EXPECT_NE(noCpu.exitCode, 0);
    EXPECT_NE(noCpu.err.find("/cpu"), std::string::npos);
}

}  // namespace
}  // namespace skedlin::test
