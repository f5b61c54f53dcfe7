// The XML layer (model/XmlDocument): loading, parse errors with line and source
// text, DTD handling per design.md, and element access.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "model/XmlDocument.h"
#include "xml_load_test_support.h"

using skedlin::xml::Document;
using skedlin::xml::Element;
using skedlin::xml::XmlError;
namespace xmltest = skedlin::xml::test;

namespace {

const std::string kBundledDtd = std::string(SKEDLIN_SOURCE_DIR) + "/model/CalendarPackage.dtd";

class XmlDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               (std::string("skedlin_xml_") + info->test_suite_name() + "_" + info->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string write(const std::string& name, const std::string& content) {
        const auto path = dir_ / name;
        std::ofstream(path, std::ios::binary) << content;
        return path.string();
    }

    std::filesystem::path dir_;
};

// A complete package as the editor writes it, with a DOCTYPE naming `dtd`.
std::string package(const std::string& dtd, const std::string& extraWelcome = "") {
    return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n"
           "<!DOCTYPE calendar-package SYSTEM \"" +
           dtd +
           "\">\r\n"
           "<calendar-package navigation=\"groups\">\r\n"
           "\t<package-title>Title</package-title>\r\n"
           "\t<app-name>App</app-name>\r\n"
           "\t<app-launcher>\r\n"
           "\t\t<launcher-name>Launch</launcher-name>\r\n"
           "\t\t<launcher-icon>\r\n"
           "\t\t\t<bitmap>.\\icon.bmp</bitmap>\r\n"
           "\t\t</launcher-icon>\r\n"
           "\t</app-launcher>\r\n"
           "\t<welcome>\r\n"
           "\t\t<description>Hello</description>\r\n"
           "\t\t<author-info></author-info>\r\n" +
           extraWelcome +
           "\t</welcome>\r\n"
           "\t<contacts>\r\n"
           "\t</contacts>\r\n"
           "\t<groups>\r\n"
           "\t</groups>\r\n"
           "</calendar-package>\r\n";
}

}  // namespace

TEST_F(XmlDocumentTest, MissingFileGivesLineZeroAndNoSourceText) {
    Document doc;
    xmltest::LoadOutcome error;
    error = xmltest::loadFile(doc, (dir_ / "nothing.xml").string(), kBundledDtd);
    EXPECT_EQ(error.code, XmlError::Unreadable);
    EXPECT_EQ(error.line, 0);
    EXPECT_TRUE(error.sourceText.empty());
    EXPECT_NE(error.reason.find("nothing.xml"), std::string::npos) << error.reason;
    EXPECT_FALSE(doc.root());
}

TEST_F(XmlDocumentTest, DirectoryIsNotAFile) {
    Document doc;
    xmltest::LoadOutcome error;
    error = xmltest::loadFile(doc, dir_.string(), kBundledDtd);
    EXPECT_EQ(error.code, XmlError::Unreadable);
    EXPECT_EQ(error.line, 0);
    EXPECT_FALSE(error.reason.empty());
}

TEST_F(XmlDocumentTest, EmptyFileIsRefused) {
    Document doc;
    xmltest::LoadOutcome error;
    error = xmltest::loadFile(doc, write("empty.xml", ""), kBundledDtd);
    EXPECT_EQ(error.code, XmlError::NotLoaded);
    EXPECT_FALSE(error.reason.empty());
    error = xmltest::loadFile(doc, write("blank.xml", " \r\n\t\r\n"), kBundledDtd);
    EXPECT_FALSE(error.ok());
    EXPECT_FALSE(error.reason.empty());
}

TEST_F(XmlDocumentTest, TagLeftOpenGivesTheLineAndItsText) {
    Document doc;
    xmltest::LoadOutcome error;
    const std::string path = write("open.xml", "<?xml version=\"1.0\"?>\n<a>\n  <b>\n</a>\n");
    error = xmltest::loadFile(doc, path, kBundledDtd);
    EXPECT_EQ(error.code, XmlError::NotLoaded);
    EXPECT_EQ(error.line, 4);
    EXPECT_EQ(error.sourceText, "</a>");
    EXPECT_FALSE(error.reason.empty());
}

TEST_F(XmlDocumentTest, UnclosedRootAtEndOfFile) {
    Document doc;
    xmltest::LoadOutcome error;
    error = xmltest::loadFile(doc, write("unclosed.xml", "<a>\r\n<b/>\r\n"), kBundledDtd);
    EXPECT_FALSE(error.ok());
    EXPECT_GE(error.line, 2);
}

TEST_F(XmlDocumentTest, BinaryJunkIsRefusedWithPrintableSourceText) {
    std::string junk;
    for (int i = 0; i < 4000; ++i) junk += static_cast<char>((i * 7919 + 13) & 0xFF);
    Document doc;
    xmltest::LoadOutcome error;
    error = xmltest::loadFile(doc, write("junk.xml", junk), kBundledDtd);
    EXPECT_FALSE(error.ok());
    EXPECT_GE(error.line, 1);
    EXPECT_LE(error.sourceText.size(), 512u);
    for (char c : error.sourceText) EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\t');
}

TEST_F(XmlDocumentTest, HugeFileIsRefusedBeforeParsing) {
    const auto path = dir_ / "huge.xml";
    {
        std::ofstream out(path, std::ios::binary);
        out << "<a>";
        const std::string chunk(1 << 20, 'x');
        for (std::size_t written = 0; written <= skedlin::xml::kMaxInputBytes; written += chunk.size()) out << chunk;
        out << "</a>";
    }
    Document doc;
    xmltest::LoadOutcome error;
    error = xmltest::loadFile(doc, path.string(), kBundledDtd);
    EXPECT_EQ(error.code, XmlError::TooLarge);
    EXPECT_EQ(error.line, 0);
    EXPECT_NE(error.reason.find("too large"), std::string::npos) << error.reason;
}

TEST_F(XmlDocumentTest, DeepNestingIsRefused) {
    std::string deep;
    for (int i = 0; i < 5000; ++i) deep += "<a>";
    for (int i = 0; i < 5000; ++i) deep += "</a>";
    Document doc;
    xmltest::LoadOutcome error;
    error = xmltest::loadFile(doc, write("deep.xml", deep), kBundledDtd);
    EXPECT_FALSE(error.ok());
}

TEST_F(XmlDocumentTest, ElementAccess) {
    Document doc;
    xmltest::LoadOutcome error;
    const std::string path = write("plain.xml",
                                   "<root a=\" 12\">\n"
                                   "  <!-- comment -->\n"
                                   "  <first>one &amp; <![CDATA[two]]></first>\n"
                                   "  text between\n"
                                   "  <second><inner>deep</inner> tail</second>\n"
                                   "  <first>again</first>\n"
                                   "  <empty/>\n"
                                   "</root>\n");
    error = xmltest::loadFile(doc, path, kBundledDtd);
    ASSERT_TRUE(error.ok()) << error.reason;
    EXPECT_FALSE(doc.hadDoctype());
    const Element root = doc.root();
    ASSERT_TRUE(root);
    EXPECT_EQ(root.name(), "root");
    EXPECT_EQ(root.attribute("a"), " 12");
    EXPECT_FALSE(root.attribute("b"));
    EXPECT_EQ(root.childText("first"), "one & two");
    EXPECT_EQ(root.childText("second"), "deep tail");
    EXPECT_EQ(root.childText("empty"), "");
    EXPECT_FALSE(root.childText("missing"));
    EXPECT_EQ(root.firstChild("second").line(), 5);
    EXPECT_EQ(root.firstChild("second").firstChild("inner").parent().name(), "second");
    EXPECT_FALSE(root.parent());

    std::vector<std::string> names;
    for (Element child = root.firstChildElement(); child; child = child.nextSiblingElement()) {
        names.push_back(child.name());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"first", "second", "first", "empty"}));

    const Element absent;
    EXPECT_FALSE(absent);
    EXPECT_EQ(absent.name(), "");
    EXPECT_FALSE(absent.firstChild("x"));
    EXPECT_FALSE(absent.attribute("x"));
    EXPECT_EQ(absent.text(), "");
    EXPECT_EQ(absent.line(), 0);
}

// Child and attribute look-ups compare whole names, and values made of several
// pieces (entity references, comments in the text) still come back whole.
TEST_F(XmlDocumentTest, LookUpsMatchWholeNamesAndValuesComeBackWhole) {
    Document doc;
    xmltest::LoadOutcome error;
    const std::string path = write("names.xml",
                                   "<r xmlns:p=\"urn:x\" p:id=\"ns\" id-long=\"long\" id=\"a &amp; &#x42;\">"
                                   "<first-name>long</first-name><first>short</first>"
                                   "<note>one<!-- c -->two<![CDATA[<3>]]></note></r>");
    error = xmltest::loadFile(doc, path, kBundledDtd);
    ASSERT_TRUE(error.ok()) << error.reason;
    const Element root = doc.root();
    EXPECT_EQ(root.childText("first"), "short");
    EXPECT_EQ(root.childText("first-name"), "long");
    EXPECT_FALSE(root.childText("firs"));
    EXPECT_FALSE(root.childText("first-name-x"));
    EXPECT_EQ(root.attribute("id"), "a & B");
    EXPECT_EQ(root.attribute("id-long"), "long");
    EXPECT_FALSE(root.attribute("i"));
    EXPECT_EQ(root.childText("note"), "onetwo<3>");
}

TEST_F(XmlDocumentTest, Iso88591TextComesBackAsUtf8) {
    Document doc;
    xmltest::LoadOutcome error;
    const std::string path =
        write("latin1.xml", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n<a>K\xF6ln \x80</a>\r\n");
    error = xmltest::loadFile(doc, path, kBundledDtd);
    ASSERT_TRUE(error.ok()) << error.reason;
    EXPECT_EQ(doc.root().text(), "K\xC3\xB6ln \xC2\x80");
}

TEST_F(XmlDocumentTest, LineFeedEntityComesBackAsLineFeed) {
    Document doc;
    xmltest::LoadOutcome error;
    error = xmltest::loadFile(doc, write("lf.xml", "<a>one&#x0a;two</a>"), kBundledDtd);
    ASSERT_TRUE(error.ok()) << error.reason;
    EXPECT_EQ(doc.root().text(), "one\ntwo");
}

// ---- DTD handling ----------------------------------------------------------------

TEST_F(XmlDocumentTest, WindowsDtdPathResolvesToTheBundledDtdAndAppliesDefaults) {
    Document doc;
    xmltest::LoadOutcome error;
    const std::string path =
        write("win.xml", package("C:\\Program Files\\Quenby Software\\Skedlin\\CalendarPackage.dtd"));
    error = xmltest::loadFile(doc, path, kBundledDtd);
    ASSERT_TRUE(error.ok()) << error.reason << " line " << error.line;
    EXPECT_TRUE(doc.hadDoctype());
    EXPECT_EQ(doc.dtdPathUsed(), kBundledDtd);
    const Element bitmap = doc.root().firstChild("app-launcher").firstChild("launcher-icon").firstChild("bitmap");
    EXPECT_EQ(bitmap.attribute("data"), "filename");
    EXPECT_FALSE(bitmap.attribute("transparent-color"));
}

TEST_F(XmlDocumentTest, MissingPosixDtdPathAlsoResolvesToTheBundledDtd) {
    Document doc;
    xmltest::LoadOutcome error;
    error = xmltest::loadFile(doc, write("gone.xml", package("/no/such/place/CalendarPackage.dtd")), kBundledDtd);
    ASSERT_TRUE(error.ok()) << error.reason;
    EXPECT_EQ(doc.dtdPathUsed(), kBundledDtd);
}

TEST_F(XmlDocumentTest, ExistingDtdNamedByTheDoctypeIsUsed) {
    // A DTD beside the file that does not allow "welcome": validation must use it.
    write("Strict.dtd",
          "<!ELEMENT calendar-package (groups)>\n"
          "<!ATTLIST calendar-package navigation CDATA #REQUIRED>\n"
          "<!ELEMENT groups EMPTY>\n");
    Document doc;
    xmltest::LoadOutcome error;
    error = xmltest::loadFile(doc, write("strict.xml", package("Strict.dtd")), kBundledDtd);
    EXPECT_FALSE(error.ok());
    EXPECT_GT(error.line, 0);
    EXPECT_FALSE(error.reason.empty());
}

TEST_F(XmlDocumentTest, WithoutDoctypeNothingIsValidatedNorDefaulted) {
    Document doc;
    xmltest::LoadOutcome error;
    const std::string path = write("nodtd.xml",
                                   "<calendar-package><unknown/><app-launcher><launcher-icon>"
                                   "<bitmap>x.bmp</bitmap></launcher-icon></app-launcher>"
                                   "</calendar-package>");
    error = xmltest::loadFile(doc, path, kBundledDtd);
    ASSERT_TRUE(error.ok()) << error.reason;
    EXPECT_FALSE(doc.hadDoctype());
    const Element bitmap = doc.root().firstChild("app-launcher").firstChild("launcher-icon").firstChild("bitmap");
    EXPECT_FALSE(bitmap.attribute("data"));
}

TEST_F(XmlDocumentTest, InvalidAgainstTheDtdGivesTheLine) {
    std::string text = package("CalendarPackage.dtd");
    const std::string from = "\t\t<description>Hello</description>\r\n";
    text.replace(text.find(from), from.size(), "\t\t<descripton>Hello</descripton>\r\n");
    Document doc;
    xmltest::LoadOutcome error;
    error = xmltest::loadFile(doc, write("invalid.xml", text), kBundledDtd);
    EXPECT_FALSE(error.ok());
    EXPECT_GT(error.line, 0);
    EXPECT_FALSE(error.sourceText.empty());
}

TEST_F(XmlDocumentTest, ExternalEntitiesAreNeverRead) {
    const std::string secret = write("secret.txt", "SECRET");
    const std::string text =
        "<?xml version=\"1.0\"?>\n"
        "<!DOCTYPE a [ <!ENTITY s SYSTEM \"" +
        secret +
        "\"> <!ELEMENT a (#PCDATA)> ]>\n"
        "<a>&s;</a>\n";
    Document doc;
    xmltest::LoadOutcome error;
    error = xmltest::loadFile(doc, write("xxe.xml", text), kBundledDtd);
    const bool loaded = error.ok();
    if (loaded) {
        EXPECT_EQ(doc.root().text().find("SECRET"), std::string::npos);
    } else {
        EXPECT_FALSE(error.reason.empty());
    }
}

TEST_F(XmlDocumentTest, ExponentialEntityExpansionIsRefused) {
    std::string text =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE a [\n<!ELEMENT a (#PCDATA)>\n<!ENTITY e0 \"lollollollol\">\n";
    for (int i = 1; i <= 12; ++i) {
        text += "<!ENTITY e" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k) text += "&e" + std::to_string(i - 1) + ";";
        text += "\">\n";
    }
    text += "]>\n<a>&e12;</a>\n";
    Document doc;
    xmltest::LoadOutcome error;
    error = xmltest::loadFile(doc, write("laughs.xml", text), kBundledDtd);
    EXPECT_FALSE(error.ok());
}

TEST_F(XmlDocumentTest, LoadMemoryResolvesARelativeDtdAgainstTheBaseDirectory) {
    Document doc;
    xmltest::LoadOutcome error;
    error = xmltest::loadMemory(doc, package("CalendarPackage.dtd"), dir_.string(), kBundledDtd);
    ASSERT_TRUE(error.ok()) << error.reason;
    EXPECT_EQ(doc.dtdPathUsed(), kBundledDtd);
    EXPECT_EQ(doc.root().childText("package-title"), "Title");
}

TEST_F(XmlDocumentTest, ADocumentCanBeLoadedAgain) {
    Document doc;
    xmltest::LoadOutcome error;
    error = xmltest::loadMemory(doc, "<a>1</a>", dir_.string(), kBundledDtd);
    ASSERT_TRUE(error.ok());
    error = xmltest::loadMemory(doc, "<a>", dir_.string(), kBundledDtd);
    EXPECT_FALSE(error.ok());
    EXPECT_FALSE(doc.root());
    error = xmltest::loadMemory(doc, "<b>2</b>", dir_.string(), kBundledDtd);
    ASSERT_TRUE(error.ok());
    EXPECT_EQ(doc.root().name(), "b");
}
