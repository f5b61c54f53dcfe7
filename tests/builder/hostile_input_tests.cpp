// SkedlinBuilder run as the real program on files that are not packages, or
// that try to make the reader read something else, loop or fill memory: every
// one ends with exit code 2 (or the bitmap codes), a message that says what is
// wrong, no package written, and no hang (each run is bounded by `timeout`).

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli_test_support.h"

namespace fs = std::filesystem;
using clitest::readText;
using clitest::writeText;

namespace {

// A run that takes longer than this is a hang: `timeout` ends it with 124.
constexpr const char* kTimeLimitSeconds = "60";
constexpr int kTimedOut = 124;

std::string packageWith(const std::string& doctype, const std::string& title, const std::string& welcomeExtra = "") {
    return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n" + doctype +
           "<calendar-package navigation=\"groups\">\r\n"
           "\t<package-title>" +
           title +
           "</package-title>\r\n"
           "\t<app-name>Guide</app-name>\r\n"
           "\t<app-launcher>\r\n\t\t<launcher-name>Guide</launcher-name>\r\n\t</app-launcher>\r\n"
           "\t<welcome>\r\n\t\t<description>Hello</description>\r\n" +
           welcomeExtra +
           "\t</welcome>\r\n"
           "\t<contacts>\r\n\t</contacts>\r\n\t<groups>\r\n\t</groups>\r\n"
           "</calendar-package>\r\n";
}

class BuilderHostileInput : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() / (std::string("skedlin_hostile_") + info->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    std::string put(const std::string& name, const std::string& text) {
        writeText(dir_ / name, text);
        return (dir_ / name).string();
    }
    std::string at(const std::string& name) const { return (dir_ / name).string(); }

    // Builds `input` for both targets with an error file; returns the run.
    clitest::Run build(const std::string& input) {
        return clitest::run(
            {kTimeLimitSeconds, clitest::builderPath(), input, at("out"), "/ERR", at("err.txt"), "/PALM", "/WINCE"},
            dir_, "/usr/bin/timeout");
    }
    // The fatal error message of the last failed build.
    std::string errorText() const { return readText(dir_ / "err.txt"); }

    void expectNoPackage(const std::string& what) const {
        for (const char* extension : {".prc", ".exe", ".inf", ".cab"}) {
            EXPECT_FALSE(fs::exists(dir_ / ("out" + std::string(extension)))) << what << ": " << extension;
        }
    }

    fs::path dir_;
};

TEST_F(BuilderHostileInput, InputsThatAreNotFilesAreRefusedWithoutReading) {
    ASSERT_EQ(::mkfifo(at("pipe.xml").c_str(), 0600), 0);
    fs::create_directory(dir_ / "folder.xml");
    const std::vector<std::pair<std::string, std::string>> inputs = {
        {at("folder.xml"), "is not a file"},
        {"/dev/zero", "is not a file"},
        {at("pipe.xml"), "is not a file"},  // opening it would wait for a writer forever
        {at("absent.xml"), "cannot be opened"},
    };
    for (const auto& [input, expected] : inputs) {
        const auto result = build(input);
        EXPECT_EQ(result.exitCode, 2) << input;
        EXPECT_NE(errorText().find(expected), std::string::npos) << input << ": " << errorText();
        expectNoPackage(input);
        fs::remove(dir_ / "err.txt");
    }
}

TEST_F(BuilderHostileInput, TruncatedPackagesFailAtTheirLastLine) {
    const std::string whole = packageWith("", "Title");
    for (std::size_t length : {std::size_t{1}, std::size_t{40}, whole.size() / 2, whole.size() - 4}) {
        const auto result = build(put("cut.xml", whole.substr(0, length)));
        EXPECT_EQ(result.exitCode, 2) << length;
        EXPECT_NE(errorText().find("Line #"), std::string::npos) << length << ": " << errorText();
        expectNoPackage("truncated");
    }
}

TEST_F(BuilderHostileInput, ExternalEntitiesNamingLocalFilesAreRefused) {
    const std::string secret = put("secret.txt", "TOP-SECRET-TEXT");
    for (const std::string& target :
         {secret, std::string("/etc/passwd"), std::string("/dev/zero"), std::string("http://127.0.0.1:9/x")}) {
        const std::string doctype = "<!DOCTYPE calendar-package [ <!ENTITY leak SYSTEM \"" + target + "\"> ]>\r\n";
        const auto result = build(put("xxe.xml", packageWith(doctype, "&leak;")));
        EXPECT_EQ(result.exitCode, 2) << target;
        EXPECT_NE(errorText().find("is not allowed"), std::string::npos) << target << ": " << errorText();
        EXPECT_EQ(errorText().find("TOP-SECRET"), std::string::npos);
        EXPECT_EQ(errorText().find("root:"), std::string::npos);
        expectNoPackage(target);
    }
}

TEST_F(BuilderHostileInput, ExternalParameterEntityIsRefused) {
    const std::string doctype = "<!DOCTYPE calendar-package [ <!ENTITY % p SYSTEM \"/etc/passwd\"> %p; ]>\r\n";
    const auto result = build(put("pe.xml", packageWith(doctype, "Title")));
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(errorText().find("root:"), std::string::npos) << errorText();
    expectNoPackage("parameter entity");
}

TEST_F(BuilderHostileInput, DoctypeNamingADeviceUsesTheBundledDtd) {
    // /dev/zero is no DTD file: the bundled one applies and the package builds.
    const std::string doctype = "<!DOCTYPE calendar-package SYSTEM \"/dev/zero\">\r\n";
    const auto result = build(put("dev.xml", packageWith(doctype, "Title")));
    EXPECT_EQ(result.exitCode, 0) << errorText();
    EXPECT_TRUE(fs::exists(dir_ / "out.prc"));
}

TEST_F(BuilderHostileInput, EntityExpansionIsRefused) {
    std::string doctype = "<!DOCTYPE calendar-package [\r\n<!ENTITY e0 \"lollollollollollollollol\">\r\n";
    for (int i = 1; i <= 15; ++i) {
        doctype += "<!ENTITY e" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k) doctype += "&e" + std::to_string(i - 1) + ";";
        doctype += "\">\r\n";
    }
    doctype += "]>\r\n";
    const auto result = build(put("laughs.xml", packageWith(doctype, "&e15;")));
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(errorText().find("entit"), std::string::npos) << errorText();
    expectNoPackage("laughs");
}

TEST_F(BuilderHostileInput, DeepNestingIsRefusedSayingSo) {
    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "<a>";
    const auto result = build(put("deep.xml", packageWith("", "Title", deep)));
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(errorText().find("nested"), std::string::npos) << errorText();
    expectNoPackage("deep");
}

TEST_F(BuilderHostileInput, HugeTextAndAttributeValuesAreRefusedSayingSo) {
    const std::string big(12 * 1024 * 1024, 'x');
    auto result = build(put("text.xml", packageWith("", big)));
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(errorText().find("too long"), std::string::npos) << errorText().substr(0, 400);
    expectNoPackage("text");

    std::string attribute = packageWith("", "Title");
    attribute.replace(attribute.find("navigation=\"groups\""), 19, "navigation=\"" + big + "\"");
    result = build(put("attribute.xml", attribute));
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(errorText().find("too long"), std::string::npos) << errorText().substr(0, 400);
    expectNoPackage("attribute");
}

TEST_F(BuilderHostileInput, BitmapsThatAreNotFilesAreRefused) {
    ASSERT_EQ(::mkfifo(at("pipe.bmp").c_str(), 0600), 0);
    fs::create_directory(dir_ / "folder.bmp");
    for (const std::string& bitmap : {at("pipe.bmp"), at("folder.bmp"), std::string("/dev/zero")}) {
        const std::string image = "\t\t<image>\r\n\t\t\t<bitmap>" + bitmap + "</bitmap>\r\n\t\t</image>\r\n";
        const auto result = build(put("image.xml", packageWith("", "Title", image)));
        EXPECT_NE(result.exitCode, 0) << bitmap;
        EXPECT_NE(result.exitCode, kTimedOut) << bitmap;
        EXPECT_NE(errorText().find(bitmap), std::string::npos) << bitmap << ": " << errorText();
        expectNoPackage(bitmap);
        fs::remove(dir_ / "err.txt");
    }
}

}  // namespace
