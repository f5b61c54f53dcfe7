// SkedlinBuilder's command line, banner, usage text, exit codes, error file and
// .prc output, run as the real program.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "cli_test_support.h"
#include "tests/palm/prc_test_reader.h"

namespace fs = std::filesystem;
using clitest::filesIn;
using clitest::readText;
using clitest::run;
using clitest::writeText;

namespace {

const std::string kBanner =
    "Quenby Skedlin Calendar Package Builder     Version 1.6.2\n"
    "Turns a calendar package into handheld packages for Palm OS and Pocket PC.\n"
    "\n";

const std::string kUsage =
    "usage: <in file name>.XML <out file name> [ /ERR <err file name> ] [ /PALM /WINCE ] \n"
    "   Exit codes:\n"
    "       0 - No errors\n"
    "       1 - Non-fatal errors (string length limits)\n"
    "       2 - XML Parser error\n"
    "       3 - Microsoft XML Component not available\n"
    "       4 - Missing file error\n"
    "       5 - Bitmap size error\n"
    "       6 - Unsupport bitmap color depth\n"
    "       7 - Unsupport bitmap format\n"
    "       8 - Invalid Days Of Week string, length must be 7 characters\n"
    "       9 - Invalid date format\n"
    "      10 - Duplicate contact Id\n"
    "      11 - Invalid contact Id\n"
    "      12 - Unable to run the Microsoft CAB Wizard\n"
    "      13 - Error returned by Microsoft CAB Wizard\n";

struct PackageText {
    std::string doctype = "";  // e.g. "<!DOCTYPE calendar-package SYSTEM \"C:\\...\\CalendarPackage.dtd\">\r\n"
    std::string navigation = " navigation=\"groups\"";
    std::string title = "\t<package-title>Spring Conference &amp; Fair</package-title>\r\n";
    std::string appName = "\t<app-name>Conference</app-name>\r\n";
    std::string launcherName = "\t\t<launcher-name>Conf 2003</launcher-name>\r\n";
    std::string description = "\t\t<description>Welcome!&#x0a;Second line</description>\r\n";
    std::string authorInfo = "\t\t<author-info>Quenby Events</author-info>\r\n";
    std::string contacts = "\t<contacts>\r\n\t</contacts>\r\n";
    std::string groups = "\t<groups>\r\n\t</groups>\r\n";

    std::string text() const {
        return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n" + doctype + "<calendar-package" + navigation +
               ">\r\n" + title + appName + "\t<app-launcher>\r\n" + launcherName + "\t</app-launcher>\r\n" +
               "\t<welcome>\r\n" + description + authorInfo + "\t</welcome>\r\n" + contacts + groups +
               "</calendar-package>\r\n";
    }
};

const std::string kWindowsDoctype =
    "<!DOCTYPE calendar-package SYSTEM \"C:\\Program Files\\Quenby Software\\Skedlin\\CalendarPackage.dtd\">\r\n";

class BuilderCommandLine : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() / (std::string("skedlin_cli_") + info->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir_, ignored);
    }
    std::string put(const std::string& name, const std::string& text) {
        writeText(dir_ / name, text);
        return (dir_ / name).string();
    }
    std::string at(const std::string& name) const { return (dir_ / name).string(); }

    fs::path dir_;
};

std::vector<std::string> crlfLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

}  // namespace

// ---- Banner, usage, options -------------------------------------------------------

TEST_F(BuilderCommandLine, NoArgumentsPrintsBannerAndUsage) {
    const auto result = run({}, dir_);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, kBanner + kUsage);
    EXPECT_EQ(result.err, "");
    EXPECT_TRUE(filesIn(dir_).empty());
}

TEST_F(BuilderCommandLine, OneArgumentPrintsBannerAndUsage) {
    const auto result = run({"Package.xml"}, dir_);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, kBanner + kUsage);
    EXPECT_TRUE(filesIn(dir_).empty());
}

TEST_F(BuilderCommandLine, BannerComesFirstOnEveryRun) {
    const auto result = run({at("missing.xml"), at("out")}, dir_);
    EXPECT_EQ(result.out, kBanner);
}

TEST_F(BuilderCommandLine, OptionsAreCaseInsensitive) {
    const std::string input = put("p.xml", PackageText{}.text());
    for (const std::string option : {"/PALM", "/palm", "/Palm", "/pAlM"}) {
        const auto result = run({input, at("out"), option}, dir_);
        EXPECT_EQ(result.exitCode, 0) << option << result.err;
        EXPECT_TRUE(fs::exists(dir_ / "out.prc")) << option;
        fs::remove(dir_ / "out.prc");
    }
    const auto failing = run({at("none.xml"), at("out"), "/err", at("e.txt")}, dir_);
    EXPECT_EQ(failing.exitCode, 2);
    EXPECT_TRUE(fs::exists(dir_ / "e.txt"));
    EXPECT_EQ(failing.err, "");
}

TEST_F(BuilderCommandLine, OptionsInTheFirstTwoPlacesArePaths) {
    put("p.xml", PackageText{}.text());
    // "/PALM" is the input path here: it does not exist.
    const auto result = run({"/PALM", at("out"), "/PALM"}, dir_);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_FALSE(fs::exists(dir_ / "out.prc"));
    // "/PALM" as the output base, with no target option: the file is only validated.
    const auto second = run({at("p.xml"), "/PALM"}, dir_);
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_FALSE(fs::exists("/PALM.prc"));
}

TEST_F(BuilderCommandLine, UnknownArgumentsAreIgnored) {
    const std::string input = put("p.xml", PackageText{}.text());
    const auto result = run({input, at("out"), "/VERBOSE", "extra", "/PALM", "-x"}, dir_);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_TRUE(fs::exists(dir_ / "out.prc"));
}

TEST_F(BuilderCommandLine, ErrAsTheLastArgumentReportsOnStandardError) {
    const auto result = run({at("none.xml"), at("out"), "/PALM", "/ERR"}, dir_);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err.rfind("Fatal error: ", 0), 0u) << result.err;
    EXPECT_NE(result.err.find("Line #0: \n"), std::string::npos) << result.err;
    EXPECT_TRUE(filesIn(dir_).empty());
}

TEST_F(BuilderCommandLine, ALaterErrReplacesTheEarlierPath) {
    const auto result = run({at("none.xml"), at("out"), "/ERR", at("first.txt"), "/ERR", at("second.txt")}, dir_);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_FALSE(fs::exists(dir_ / "first.txt"));
    EXPECT_TRUE(fs::exists(dir_ / "second.txt"));
}

TEST_F(BuilderCommandLine, TheArgumentAfterErrIsNotAnOption) {
    const std::string input = put("p.xml", PackageText{}.text());
    // "/PALM" is consumed as the error file path: no .prc is written.
    const auto result = run({input, at("out"), "/ERR", "/PALM"}, dir_);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_FALSE(fs::exists(dir_ / "out.prc"));
}

// ---- Error file ---------------------------------------------------------------------

TEST_F(BuilderCommandLine, MissingInputFileWritesTheErrorFile) {
    const auto result = run({at("missing.xml"), at("out"), "/ERR", at("err.txt"), "/PALM", "/WINCE"}, dir_);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err, "");
    const std::string text = readText(dir_ / "err.txt");
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    const auto lines = crlfLines(text);
    ASSERT_EQ(lines.size(), 2u) << text;
    EXPECT_TRUE(std::regex_search(lines[0], std::regex("[0-9]+.*[0-9]+:[0-9]+"))) << lines[0];
    EXPECT_EQ(lines[1].rfind("Fatal error: ", 0), 0u);
    EXPECT_NE(lines[1].find("missing.xml"), std::string::npos);
    EXPECT_EQ(lines[1].substr(lines[1].size() - 9), "Line #0: ") << lines[1];
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1) << "every line feed follows a carriage return";
    EXPECT_EQ(filesIn(dir_), std::vector<std::string>{"err.txt"});
}

TEST_F(BuilderCommandLine, TagLeftOpenGivesCode2WithTheLine) {
    const std::string input = put("open.xml",
                                  "<?xml version=\"1.0\"?>\r\n<calendar-package navigation=\"none\">\r\n"
                                  "\t<package-title>T\r\n</calendar-package>\r\n");
    const auto result = run({input, at("out"), "/ERR", at("err.txt"), "/PALM"}, dir_);
    EXPECT_EQ(result.exitCode, 2);
    const std::string text = readText(dir_ / "err.txt");
    EXPECT_NE(text.find("Line #4: </calendar-package>\r\n"), std::string::npos) << text;
    EXPECT_FALSE(fs::exists(dir_ / "out.prc"));
}

TEST_F(BuilderCommandLine, ErrorFileIsNotTouchedOnSuccess) {
    const std::string input = put("p.xml", PackageText{}.text());
    put("err.txt", "keep me");
    const auto result = run({input, at("out"), "/ERR", at("err.txt"), "/PALM"}, dir_);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(readText(dir_ / "err.txt"), "keep me");
}

TEST_F(BuilderCommandLine, ErrorFileReplacesAnOldOne) {
    put("err.txt", std::string(5000, 'o'));
    const auto result = run({at("none.xml"), at("out"), "/ERR", at("err.txt")}, dir_);
    EXPECT_EQ(result.exitCode, 2);
    const std::string text = readText(dir_ / "err.txt");
    EXPECT_EQ(text.find("ooo"), std::string::npos);
    EXPECT_NE(text.find("\r\nFatal error: "), std::string::npos);
}

TEST_F(BuilderCommandLine, ErrorFileThatCannotBeOpenedFallsBackToStandardError) {
    const auto result = run({at("none.xml"), at("out"), "/ERR", at("no/such/dir/err.txt")}, dir_);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err.rfind("Fatal error: ", 0), 0u) << result.err;
}

// Every kind of failing build ends the process with its own code, and its
// message reaches the error file, or standard error without one.
TEST_F(BuilderCommandLine, EachFailureCodeReachesTheExitStatusWithItsMessage) {
    const std::string corpus = std::string(SKEDLIN_CORPUS) + "/bmp/";
    const auto logo = [](const std::string& path) {
        return "\t\t<description>Welcome</description>\r\n\t\t<image><bitmap>" + path + "</bitmap></image>\r\n";
    };
    const auto group = [](const std::string& inner) {
        return "\t<groups><group name=\"G\"><group-description>D</group-description>" + inner + "</group></groups>\r\n";
    };
    const auto event = [&group](const std::string& inner) {
        return group("<events><event><event-title>T</event-title>" + inner + "</event></events>");
    };
    std::string tooManyContacts = "\t<contacts>";
    for (int id = 1; id <= 1001; ++id) tooManyContacts += "<contact id=\"" + std::to_string(id) + "\"/>";
    tooManyContacts += "</contacts>\r\n";

    struct Case {
        int code;
        PackageText package;
        std::string message;
    };
    std::vector<Case> cases;
    const auto add = [&cases](int code, const std::function<void(PackageText&)>& change, std::string message) {
        PackageText package;
        change(package);
        cases.push_back({code, package, std::move(message)});
    };
    add(
        1, [&](PackageText& p) { p.contacts = tooManyContacts; },
        "The package has 1001 contacts; at most 1000 fit the handheld records.");
    add(
        5, [&](PackageText& p) { p.description = logo(corpus + "plucker/longbar.bmp"); },
        "The bitmap is too wide - " + corpus + "plucker/longbar.bmp");
    add(
        6, [&](PackageText& p) { p.description = logo(corpus + "plucker/lookup-4bpp.bmp"); },
        "The number of colors in the bitmap is not support - " + corpus + "plucker/lookup-4bpp.bmp");
    add(
        7, [&](PackageText& p) { p.description = logo(corpus + "bmpsuite/readme.txt"); },
        "The bitmap format is not supported -  " + corpus + "bmpsuite/readme.txt");
    add(
        8,
        [&](PackageText& p) {
            p.groups = event(
                "<date day='37816'>x</date><repeating-event interval='weekly'><days-of-week>XX</days-of-week>"
                "</repeating-event>");
        },
        "Bad days of week string - 'XX'.");
    add(
        9, [&](PackageText& p) { p.groups = event("<date day='0'>someday</date>"); }, "Invalid Date: someday");
    add(
        10, [](PackageText& p) { p.contacts = "\t<contacts><contact id=\"1\"/><contact id=\"1\"/></contacts>\r\n"; },
        "");
    add(
        11, [&](PackageText& p) { p.groups = group("<contact-ids><contact-id>7</contact-id></contact-ids>"); }, "");

    for (const Case& c : cases) {
        const std::string input = put("p.xml", c.package.text());
        const auto withFile = run({input, at("out"), "/ERR", at("err.txt"), "/PALM"}, dir_);
        EXPECT_EQ(withFile.exitCode, c.code) << withFile.err;
        EXPECT_EQ(withFile.err, "") << c.code;
        const auto lines = crlfLines(readText(dir_ / "err.txt"));
        ASSERT_EQ(lines.size(), 2u) << c.code;
        EXPECT_EQ(lines[1], "Fatal error: " + c.message) << c.code;
        EXPECT_FALSE(fs::exists(dir_ / "out.prc")) << c.code;

        const auto withoutFile = run({input, at("out"), "/PALM"}, dir_);
        EXPECT_EQ(withoutFile.exitCode, c.code);
        EXPECT_EQ(withoutFile.err, "Fatal error: " + c.message + "\n") << c.code;
        fs::remove(dir_ / "err.txt");
    }
}

// ---- Validation without targets --------------------------------------------------------

TEST_F(BuilderCommandLine, NeitherTargetWritesNothingAndTellsValidity) {
    const std::string valid = put("valid.xml", PackageText{}.text());
    auto result = run({valid, at("out"), "/ERR", at("err.txt")}, dir_);
    EXPECT_EQ(result.exitCode, 0) << readText(dir_ / "err.txt");
    EXPECT_EQ(filesIn(dir_), std::vector<std::string>{"valid.xml"});

    PackageText invalid;
    invalid.doctype = kWindowsDoctype;
    invalid.description = "\t\t<descripton>x</descripton>\r\n";
    const std::string bad = put("invalid.xml", invalid.text());
    result = run({bad, at("out"), "/ERR", at("err.txt")}, dir_);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(filesIn(dir_), (std::vector<std::string>{"err.txt", "invalid.xml", "valid.xml"}));
}

TEST_F(BuilderCommandLine, PackageTextsOutsideTheCodePageAreWarnedAbout) {
    PackageText text;
    text.title = "\t<package-title>Fair &#x416;</package-title>\r\n";
    text.appName = "\t<app-name>App &#x4E2D;</app-name>\r\n";
    text.launcherName = "\t\t<launcher-name>&#x3A9;</launcher-name>\r\n";
    text.description = "\t\t<description>Caf&#xE9; &#x20AC;</description>\r\n";  // all in the code page
    text.authorInfo = "\t\t<author-info>&#x1F600;</author-info>\r\n";
    const auto result = run({put("in.xml", text.text()), at("out")}, dir_);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    for (const char* element : {"<package-title>", "<app-name>", "<launcher-name>", "<author-info>"}) {
        EXPECT_NE(result.out.find(std::string("Warning: ") + element + " of the package holds characters"),
                  std::string::npos)
            << element << "\n"
            << result.out;
    }
    EXPECT_EQ(result.out.find("<description>"), std::string::npos) << result.out;
}

TEST_F(BuilderCommandLine, DoctypeWrittenOnWindowsValidatesAgainstTheBundledDtd) {
    PackageText text;
    text.doctype = kWindowsDoctype;
    const auto result = run({put("p.xml", text.text()), at("out"), "/PALM"}, dir_);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(fs::exists(dir_ / "out.prc"));
}

TEST_F(BuilderCommandLine, StartedThroughPathFindsTheBundledDtd) {
    PackageText text;
    text.doctype = "<!DOCTYPE calendar-package SYSTEM \"/elsewhere/CalendarPackage.dtd\">\r\n";
    const std::string input = put("p.xml", text.text());
    // A folder on PATH holding only a link to the program: the DTD is found
    // beside the real executable, not beside the link.
    fs::create_directories(dir_ / "bin");
    fs::create_symlink(clitest::builderPath(), dir_ / "bin" / "SkedlinBuilder");
    const auto result = run({input, at("out"), "/PALM"}, dir_, "SkedlinBuilder", (dir_ / "bin").string());
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_TRUE(fs::exists(dir_ / "out.prc"));
}

// ---- Missing required items ------------------------------------------------------------

struct MissingCase {
    const char* name;
    void (*change)(PackageText&);
    const char* item;
    const char* parent;
};

TEST_F(BuilderCommandLine, MissingRequiredItemsNameItemAndParent) {
    const MissingCase cases[] = {
        {"app-name", [](PackageText& p) { p.appName = ""; }, "<app-name>", "<calendar-package>"},
        {"package-title", [](PackageText& p) { p.title = ""; }, "<package-title>", "<calendar-package>"},
        {"launcher-name", [](PackageText& p) { p.launcherName = ""; }, "<launcher-name>", "<app-launcher>"},
        {"description", [](PackageText& p) { p.description = ""; }, "<description>", "<welcome>"},
        {"groups", [](PackageText& p) { p.groups = ""; }, "<groups>", "<calendar-package>"},
        {"navigation", [](PackageText& p) { p.navigation = ""; }, "\"navigation\"", "<calendar-package>"},
    };
    for (const MissingCase& c : cases) {
        PackageText text;
        c.change(text);
        const std::string input = put("p.xml", text.text());
        fs::remove(dir_ / "err.txt");
        const auto result = run({input, at("out"), "/ERR", at("err.txt"), "/PALM", "/WINCE"}, dir_);
        EXPECT_EQ(result.exitCode, 2) << c.name;
        const std::string err = readText(dir_ / "err.txt");
        EXPECT_NE(err.find(c.item), std::string::npos) << c.name << ": " << err;
        EXPECT_NE(err.find(c.parent), std::string::npos) << c.name << ": " << err;
        EXPECT_FALSE(fs::exists(dir_ / "out.prc")) << c.name;
        EXPECT_FALSE(fs::exists(dir_ / "out.cab")) << c.name;
    }
}

TEST_F(BuilderCommandLine, MissingAppLauncherOrWelcome) {
    const std::string noLauncher =
        "<calendar-package navigation=\"none\"><package-title>T</package-title>"
        "<app-name>A</app-name><welcome><description>D</description></welcome>"
        "<groups/></calendar-package>";
    auto result = run({put("a.xml", noLauncher), at("out"), "/PALM"}, dir_);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("<app-launcher>"), std::string::npos) << result.err;
    const std::string noWelcome =
        "<calendar-package navigation=\"none\"><package-title>T</package-title>"
        "<app-name>A</app-name><app-launcher><launcher-name>L</launcher-name>"
        "</app-launcher><groups/></calendar-package>";
    result = run({put("w.xml", noWelcome), at("out"), "/PALM"}, dir_);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("<welcome>"), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(dir_ / "out.prc"));
}

TEST_F(BuilderCommandLine, WrongRootElement) {
    const auto result = run({put("r.xml", "<package/>"), at("out"), "/PALM"}, dir_);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("calendar-package"), std::string::npos) << result.err;
}

// ---- Bad input ---------------------------------------------------------------------

TEST_F(BuilderCommandLine, BadInputEndsWithCode2AndNoOutput) {
    std::string junk;
    for (int i = 0; i < 20000; ++i) junk += static_cast<char>((i * 2654435761u) >> 24);
    const std::vector<std::pair<std::string, std::string>> inputs = {
        {"empty.xml", ""},
        {"junk.xml", junk},
        {"text.xml", "just some words\r\n"},
        {"truncated.xml", PackageText{}.text().substr(0, 300)},
        {"nul.xml", std::string("<a>\0</a>", 8)},
    };
    for (const auto& [name, content] : inputs) {
        const auto result = run({put(name, content), at("out"), "/ERR", at("err.txt"), "/PALM", "/WINCE"}, dir_);
        EXPECT_EQ(result.exitCode, 2) << name;
        const std::string err = readText(dir_ / "err.txt");
        EXPECT_NE(err.find("\r\nFatal error: "), std::string::npos) << name;
        EXPECT_NE(err.find("Line #"), std::string::npos) << name;
        EXPECT_FALSE(fs::exists(dir_ / "out.prc")) << name;
        fs::remove(dir_ / "err.txt");
    }
}

TEST_F(BuilderCommandLine, HugeInputIsRefusedWithAClearMessage) {
    {
        std::ofstream out(dir_ / "huge.xml", std::ios::binary);
        out << "<calendar-package navigation=\"none\"><package-title>";
        const std::string chunk(1 << 20, 'x');
        for (int i = 0; i < 65; ++i) out << chunk;
        out << "</package-title></calendar-package>";
    }
    const auto result = run({at("huge.xml"), at("out"), "/PALM"}, dir_);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("too large"), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(dir_ / "out.prc"));
}

// ---- Output ---------------------------------------------------------------------

TEST_F(BuilderCommandLine, PrcThatCannotBeCreatedIsReported) {
    const std::string input = put("p.xml", PackageText{}.text());
    const auto result = run({input, at("no/such/dir/out"), "/ERR", at("err.txt"), "/PALM"}, dir_);
    EXPECT_NE(result.exitCode, 0);
    EXPECT_EQ(result.exitCode, 4);
    const std::string err = readText(dir_ / "err.txt");
    EXPECT_NE(err.find("no/such/dir/out.prc"), std::string::npos) << err;
}

TEST_F(BuilderCommandLine, PrcInAReadOnlyFolderIsReportedAndNothingIsLeft) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    const std::string input = put("p.xml", PackageText{}.text());
    fs::create_directories(dir_ / "ro");
    fs::permissions(dir_ / "ro", fs::perms::owner_read | fs::perms::owner_exec);
    const auto result = run({input, at("ro/out"), "/PALM"}, dir_);
    EXPECT_EQ(result.exitCode, 4);
    fs::permissions(dir_ / "ro", fs::perms::owner_all);
    EXPECT_TRUE(fs::is_empty(dir_ / "ro"));
}

TEST_F(BuilderCommandLine, PrcReadBackByAnIndependentReader) {
    PackageText text;
    text.appName = "\t<app-name>ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd</app-name>\r\n";
    const auto result = run({put("p.xml", text.text()), at("Package"), "/PALM"}, dir_);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    std::string why;
    const auto db = prctest::parseFile(at("Package.prc"), &why);
    ASSERT_TRUE(db) << why;
    EXPECT_EQ(db->name, "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234");
    EXPECT_EQ(db->nameField[31], 0);
    EXPECT_EQ(db->type, "appl");
    EXPECT_EQ(db->creator, "SKL0");
    EXPECT_EQ(db->attributes & 0x0001, 0x0001);
    EXPECT_EQ(db->firstDataOffset, 80 + 10 * db->resources.size());
    EXPECT_EQ(db->gapBytes, 0);
    EXPECT_EQ(db->text("tSTR", 4000), "Spring Conference & Fair");
    EXPECT_EQ(db->text("tSTR", 4001), "Welcome!\nSecond line");
    EXPECT_EQ(db->text("tSTR", 4004), "Quenby Events");
    EXPECT_EQ(db->text("tSTR", 4005), "1");
    EXPECT_EQ(db->text("tAIN", 1000), "Conf 2003");
    EXPECT_EQ(db->count("tAIN", 1000), 1u);
    EXPECT_TRUE(db->find("tAIB", 1000));
    EXPECT_TRUE(db->find("code", 1));
    // Empty groups: names and tables still there.
    const prctest::Resource* names = db->find("tSTL", 4000);
    ASSERT_TRUE(names);
    EXPECT_EQ(names->data, (std::vector<std::uint8_t>{0, 0, 0}));
    for (std::uint16_t id = 4000; id <= 4004; ++id) {
        const prctest::Resource* list = db->find("wrdl", id);
        ASSERT_TRUE(list) << id;
        EXPECT_EQ(list->data, (std::vector<std::uint8_t>{0, 0})) << id;
    }
}

TEST_F(BuilderCommandLine, NavigationValues) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"none", "0"}, {"groups", "1"}, {"events", "2"}, {"Groups", "2"}, {"", "2"}};
    for (const auto& [value, expected] : cases) {
        PackageText text;
        text.navigation = " navigation=\"" + value + "\"";
        const auto result = run({put("p.xml", text.text()), at("out"), "/PALM"}, dir_);
        ASSERT_EQ(result.exitCode, 0) << value << result.err;
        const auto db = prctest::parseFile(at("out.prc"));
        ASSERT_TRUE(db);
        EXPECT_EQ(db->text("tSTR", 4005), expected) << value;
    }
}

TEST_F(BuilderCommandLine, AuthorInfoAbsentSetsNoString4004) {
    PackageText text;
    text.authorInfo = "";
    const auto result = run({put("p.xml", text.text()), at("out"), "/PALM"}, dir_);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const auto db = prctest::parseFile(at("out.prc"));
    ASSERT_TRUE(db);
    EXPECT_FALSE(db->find("tSTR", 4004));
}

TEST_F(BuilderCommandLine, PackageWithoutContactsBuilds) {
    PackageText text;
    text.contacts = "";
    text.doctype = kWindowsDoctype;
    const auto result = run({put("p.xml", text.text()), at("out"), "/PALM"}, dir_);
    EXPECT_EQ(result.exitCode, 0) << result.err;
}

TEST_F(BuilderCommandLine, FirstOfRepeatedElementsIsUsed) {
    PackageText text;
    text.title = "\t<package-title>First</package-title>\r\n\t<package-title>Second</package-title>\r\n";
    const auto result = run({put("p.xml", text.text()), at("out"), "/PALM"}, dir_);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const auto db = prctest::parseFile(at("out.prc"));
    ASSERT_TRUE(db);
    EXPECT_EQ(db->text("tSTR", 4000), "First");
}

TEST_F(BuilderCommandLine, TextsReachThePalmDatabaseAsWindows1252) {
    PackageText text;
    text.title = "\t<package-title>K\xF6ln \x80 5</package-title>\r\n";  // ISO-8859-1 file, ANSI bytes
    const auto result = run({put("p.xml", text.text()), at("out"), "/PALM"}, dir_);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const auto db = prctest::parseFile(at("out.prc"));
    ASSERT_TRUE(db);
    EXPECT_EQ(db->text("tSTR", 4000), "K\xF6ln \x80 5");
}

TEST_F(BuilderCommandLine, ExistingPrcIsReplacedWhole) {
    put("out.prc", std::string(100000, 'z'));
    const auto result = run({put("p.xml", PackageText{}.text()), at("out"), "/PALM"}, dir_);
    ASSERT_EQ(result.exitCode, 0);
    const auto db = prctest::parseFile(at("out.prc"));
    ASSERT_TRUE(db);
    EXPECT_LT(db->fileSize, 100000u);
    EXPECT_EQ(filesIn(dir_), (std::vector<std::string>{"out.prc", "p.xml"}));
}

TEST_F(BuilderCommandLine, TheExamplePackageBuildsForPalm) {
    const fs::path example = fs::path(SKEDLIN_SOURCE_DIR) / "examples" / "conference" / "Conference.xml";
    if (!fs::exists(example)) GTEST_SKIP() << "no example package";
    const auto result = run({example.string(), at("Conference"), "/ERR", at("err.txt"), "/PALM"}, dir_);
    ASSERT_EQ(result.exitCode, 0) << readText(dir_ / "err.txt");
    const auto db = prctest::parseFile(at("Conference.prc"));
    ASSERT_TRUE(db);
    EXPECT_EQ(db->type, "appl");
    EXPECT_TRUE(db->text("tSTR", 4000));
}
