// The XML layer on documents built to exhaust memory or time, or to make the
// reader open other files: each is refused with a message that says what in
// the file is wrong (not which libxml2 option would allow it), and no file
// but the DTD of the DOCTYPE is ever read.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "model/XmlDocument.h"

using skedlin::xml::Document;
using skedlin::xml::ParseError;

namespace {

const std::string kBundledDtd = std::string(SKEDLIN_SOURCE_DIR) + "/model/CalendarPackage.dtd";

class XmlHostileInput : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() / (std::string("skedlin_xml_hostile_") + info->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string write(const std::string& name, const std::string& content) {
        const auto path = dir_ / name;
        std::ofstream(path, std::ios::binary) << content;
        return path.string();
    }
    struct LoadFailure {
        std::string reason;
        long line = 0;
        std::string sourceText;
    };
    // Loads `text` from memory; returns the failure (reason empty when it loaded).
    LoadFailure load(const std::string& text) {
        Document doc;
        ParseError where;
        const skedlin::xml::XmlLoadResult loaded = doc.loadMemory(text, dir_.string(), kBundledDtd, where);
        if (loaded.ok()) return {};
        EXPECT_FALSE(loaded.message().empty());
        return {loaded.message(), where.line, where.sourceText};
    }

    std::filesystem::path dir_;
};

// `fanOut` references to the previous entity per level: fanOut^depth copies of "lol".
std::string entityBomb(int depth, const std::string& use, int fanOut = 10) {
    std::string text =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE a [\n<!ELEMENT a (#PCDATA)>\n<!ATTLIST a b CDATA #IMPLIED>\n"
        "<!ENTITY e0 \"lol\">\n";
    for (int i = 1; i <= depth; ++i) {
        text += "<!ENTITY e" + std::to_string(i) + " \"";
        for (int k = 0; k < fanOut; ++k) text += "&e" + std::to_string(i - 1) + ";";
        text += "\">\n";
    }
    return text + "]>\n" + use + "\n";
}

TEST_F(XmlHostileInput, NestingDepthIsLimitedAndTheMessageSaysSo) {
    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "<a>";
    const LoadFailure error = load(deep);
    EXPECT_NE(error.reason.find("nested too deeply"), std::string::npos) << error.reason;
    EXPECT_NE(error.reason.find("256"), std::string::npos) << error.reason;
    EXPECT_EQ(error.reason.find("XML_PARSE_HUGE"), std::string::npos) << error.reason;
    EXPECT_EQ(error.line, 1);
    EXPECT_LE(error.sourceText.size(), 512u);

    // Just inside the limit still loads.
    std::string fine;
    for (int i = 0; i < 200; ++i) fine += "<a>";
    for (int i = 0; i < 200; ++i) fine += "</a>";
    EXPECT_TRUE(load(fine).reason.empty());
}

TEST_F(XmlHostileInput, ElementCountIsLimitedWhileParsing) {
    // Within the file size limit, empty elements would make a tree of gigabytes.
    std::string many = "<r>";
    many.reserve(4 * (skedlin::xml::kMaxElements + 1) + 8);
    for (std::size_t i = 0; i < skedlin::xml::kMaxElements; ++i) many += "<a/>";
    many += "</r>";
    ASSERT_LE(many.size(), skedlin::xml::kMaxInputBytes);
    const LoadFailure error = load(many);
    EXPECT_EQ(error.reason, "The document has more than " + std::to_string(skedlin::xml::kMaxElements) + " elements.");
    EXPECT_EQ(error.line, 1);

    // The root and one element fewer: loads.
    many.erase(many.size() - 8, 4);
    EXPECT_EQ(load(many).reason, "");
}

TEST_F(XmlHostileInput, HugeNamesAndAttributeValuesAreRefused) {
    const std::string big(12 * 1024 * 1024, 'x');
    LoadFailure error = load("<a b=\"" + big + "\"/>");
    EXPECT_EQ(error.reason, "An attribute value is too long.");
    EXPECT_LE(error.sourceText.size(), 512u);
    error = load("<a" + big + "/>");
    EXPECT_EQ(error.reason, "A name or other markup is too long.");
}

TEST_F(XmlHostileInput, EntityExpansionIsRefusedInTextAndInAttributes) {
    const std::string expected = "The entities of the document expand to too much text, or refer to themselves.";
    EXPECT_EQ(load(entityBomb(15, "<a>&e15;</a>")).reason, expected);
    EXPECT_EQ(load(entityBomb(15, "<a b=\"&e15;\"/>")).reason, expected);
    // Quadratic blow-up: one large entity referred to many times.
    std::string quadratic = "<!DOCTYPE a [<!ENTITY e \"" + std::string(100000, 'x') + "\">]><a>";
    for (int i = 0; i < 100000; ++i) quadratic += "&e;";
    EXPECT_EQ(load(quadratic + "</a>").reason, expected);
    // A small expansion is fine.
    EXPECT_EQ(load(entityBomb(2, "<a>&e2;</a>", 3)).reason, "");
}

TEST_F(XmlHostileInput, ExternalEntitiesNeverReadLocalFilesOrDevices) {
    const std::string secret = write("secret.txt", "TOP-SECRET-TEXT");
    for (const std::string& target :
         {secret, std::string("/etc/passwd"), std::string("/dev/zero"), std::string("/dev/stdin"),
          std::string("file://" + secret), std::string("http://127.0.0.1:9/entity")}) {
        const LoadFailure general = load("<!DOCTYPE a [<!ENTITY e SYSTEM \"" + target + "\">]><a>&e;</a>");
        EXPECT_NE(general.reason.find("is not allowed"), std::string::npos) << target << ": " << general.reason;
        const LoadFailure parameter = load("<!DOCTYPE a [<!ENTITY % p SYSTEM \"" + target + "\"> %p;]><a/>");
        EXPECT_NE(parameter.reason.find("is not allowed"), std::string::npos) << target << ": " << parameter.reason;
        for (const LoadFailure* error : {&general, &parameter}) {
            EXPECT_EQ(error->reason.find("TOP-SECRET"), std::string::npos);
            EXPECT_EQ(error->sourceText.find("TOP-SECRET"), std::string::npos);
        }
    }
}

TEST_F(XmlHostileInput, DoctypeNamingADeviceOrAUrlFallsBackToTheBundledDtd) {
    for (const std::string& dtd : {std::string("/dev/zero"), std::string("/dev/stdin"), dir_.string(),
                                   std::string("http://127.0.0.1:9/CalendarPackage.dtd")}) {
        Document doc;
        ParseError where;
        // Not a package: the bundled DTD rejects the root, which shows it was the one used.
        const auto loaded =
            doc.loadMemory("<!DOCTYPE a SYSTEM \"" + dtd + "\"><a/>", dir_.string(), kBundledDtd, where);
        EXPECT_EQ(loaded.code(), skedlin::xml::XmlError::NotLoaded);
        EXPECT_NE(loaded.message().find("No declaration for element a"), std::string::npos)
            << dtd << ": " << loaded.message();
    }
}

TEST_F(XmlHostileInput, DtdLargerThanAnyRealOneIsNotRead) {
    const std::string big = write("big.dtd", std::string(2 * 1024 * 1024, ' '));
    const LoadFailure error = load("<!DOCTYPE a SYSTEM \"" + big + "\"><a/>");
    EXPECT_NE(error.reason.find("is too large"), std::string::npos) << error.reason;
    EXPECT_NE(error.reason.find(big), std::string::npos) << error.reason;
}

TEST_F(XmlHostileInput, ErrorInTheNamedDtdNamesThatFile) {
    const std::string dtd = write("broken.dtd", "<!ELEMENT a (#PCDATA)>\n<!ELEMENT oops (>\n<!-- end -->\n");
    const LoadFailure error = load("<!DOCTYPE a SYSTEM \"" + dtd + "\"><a/>");
    EXPECT_EQ(error.reason.rfind("In \"" + dtd + "\": ", 0), 0u) << error.reason;
    EXPECT_EQ(error.line, 2);
    EXPECT_EQ(error.sourceText, "<!ELEMENT oops (>");
}

}  // namespace
