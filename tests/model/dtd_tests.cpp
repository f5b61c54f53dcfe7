// CalendarPackage.dtd accepts every file the editor's writer produces,
// including the items the writer leaves out when empty and its layout
// quirks, and refuses files that break the format.

#include <gtest/gtest.h>

#include <string>

#include "model/XmlDocument.h"
#include "xml_load_test_support.h"

using skedlin::xml::Document;
using skedlin::xml::Element;

namespace {

const std::string kBundledDtd = std::string(SKEDLIN_SOURCE_DIR) + "/model/CalendarPackage.dtd";
const std::string kHeader =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n"
    "<!DOCTYPE calendar-package SYSTEM \"C:\\Program Files\\Quenby Software\\Skedlin\\CalendarPackage.dtd\">\r\n";

bool validates(const std::string& body, skedlin::xml::test::LoadOutcome& error, Document& doc) {
    error = skedlin::xml::test::loadMemory(doc, kHeader + body, "/nonexistent", kBundledDtd);
    return error.ok();
}

// Everything the writer can write, in its order and layout.
const std::string kFullPackage =
    "<calendar-package navigation=\"events\">\r\n"
    "\t<package-title>Fixtures &amp; &quot;Results&quot;</package-title>\r\n"
    "\t<app-name>Fixtures</app-name>\r\n"
    "\t<app-launcher>\r\n"
    "\t\t<launcher-name>Fixtures</launcher-name>\r\n"
    "\t\t<launcher-icon>\r\n"
    "\t\t\t<bitmap>.\\icon22.bmp</bitmap>\r\n"
    "\t\t\t<bitmap transparent-color=\"0x00FF00\">C:\\Art\\icon32.bmp</bitmap>\r\n"
    "\t\t</launcher-icon>\r\n"
    "\t</app-launcher>\r\n"
    "\t<welcome>\r\n"
    "\t\t<description>Line one&#x0a;Line two</description>\r\n"
    "\t\t<author-info></author-info>\r\n"
    "\t\t<image>\r\n"
    "\t\t\t<bitmap>.\\logo.bmp</bitmap>\r\n"
    "\t\t</image>\r\n"
    "\t</welcome>\r\n"
    "\t<contacts>\r\n"
    "\t\t<contact id=\"1\">\r\n"
    "\t\t\t<last-name>Smith</last-name>\r\n"
    "\t\t\t<first-name>Jo</first-name>\r\n"
    "\t\t\t<title>Coach</title>\r\n"
    "\t\t\t<company>Club</company>\r\n"
    "\t\t\t<street>1 Road&#x0a;Flat 2</street>\r\n"
    "\t\t\t<city>Town</city>\r\n"
    "\t\t\t<state>County</state>\r\n"
    "\t\t\t<country>UK</country>\r\n"
    "\t\t\t<zip>AB1 2CD</zip>\r\n"
    "\t\t\t<phone-numbers>\r\n"
    "\t\t\t\t<phone-number type=\"work\">01234</phone-number>\r\n"
    "\t\t\t\t<phone-number type=\"email\">jo@example.org</phone-number>\r\n"
    "\t\t\t</phone-numbers>\r\n"
    "\t\t\t<contact-note>Call &apos;after&apos; six</contact-note>\r\n"
    "\t\t</contact>\r\n"
    "\t\t<contact id=\"2\">\r\n"
    "\t\t\t<phone-numbers>\r\n"
    "\t\t\t</phone-numbers>\r\n"
    "\t\t</contact>\r\n"
    "\t</contacts>\r\n"
    "\t<groups>\r\n"
    "\t\t<group name=\"Home &amp; Away\">\r\n"
    "\t\t\t<group-description></group-description>\r\n"
    "\t\t\t<events>\r\n"
    "\t\t\t\t<event>\r\n"
    "\t\t\t\t\t<event-title>Match</event-title>\r\n"
    "\t\t\t\t\t<event-note>Bring boots</event-note>\r\n"
    "\t\t\t\t\t<date day=\"37620\">01 Jan 2003</date>\r\n"
    "\t\t\t\t\t<time-range>\r\n"
    "\t\t\t\t\t\t<start-time>21:15</start-time>\r\n"
    "\t\t\t\t\t\t<end-time>22:45</end-time>\r\n"
    "\t\t\t\t\t</time-range>\r\n"
    // frequency 1: the start tag has no line end, the next indentation continues the line
    "\t\t\t\t\t<repeating-event interval=\"weekly\">\t\t\t\t\t\t<last-date day=\"37800\">30 Jun 2003</last-date>\r\n"
    "\t\t\t\t\t\t<days-of-week>X-X-X--</days-of-week>\r\n"
    "\t\t\t\t\t\t<except-days>\r\n"
    "\t\t\t\t\t\t\t<date day=\"37627\">08 Jan 2003</date>\r\n"
    "\t\t\t\t\t\t</except-days>\r\n"
    "\t\t\t\t\t</repeating-event>\r\n"
    "\t\t\t\t</event>\r\n"
    "\t\t\t\t<event>\r\n"
    "\t\t\t\t\t<date day=\"0\">01 Jan 1900</date>\r\n"
    "\t\t\t\t\t<repeating-event interval=\"daily\">\t\t\t\t\t</repeating-event>\r\n"
    "\t\t\t\t</event>\r\n"
    "\t\t\t\t<event>\r\n"
    "\t\t\t\t\t<event-title>Season</event-title>\r\n"
    "\t\t\t\t\t<date day=\"37620\">01 Jan 2003</date>\r\n"
    "\t\t\t\t\t<repeating-event interval=\"month-by-date\" frequency=\"2\">\r\n"
    "\t\t\t\t\t</repeating-event>\r\n"
    "\t\t\t\t</event>\r\n"
    "\t\t\t</events>\r\n"
    "\t\t\t<contact-ids>\r\n"
    "\t\t\t\t<contact-id>1</contact-id>\r\n"
    "\t\t\t\t<contact-id>2</contact-id>\r\n"
    "\t\t\t</contact-ids>\r\n"
    "\t\t</group>\r\n"
    "\t</groups>\r\n"
    "</calendar-package>\r\n";

// An empty package: every item the writer leaves out when empty is absent.
const std::string kEmptyPackage =
    "<calendar-package navigation=\"none\">\r\n"
    "\t<app-launcher>\r\n"
    "\t</app-launcher>\r\n"
    "\t<welcome>\r\n"
    "\t\t<description></description>\r\n"
    "\t\t<author-info></author-info>\r\n"
    "\t</welcome>\r\n"
    "\t<contacts>\r\n"
    "\t</contacts>\r\n"
    "\t<groups>\r\n"
    "\t</groups>\r\n"
    "</calendar-package>\r\n";

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

}  // namespace

TEST(CalendarPackageDtd, AcceptsEverythingTheWriterWrites) {
    Document doc;
    skedlin::xml::test::LoadOutcome error;
    ASSERT_TRUE(validates(kFullPackage, error, doc))
        << error.reason << " at line " << error.line << ": " << error.sourceText;
    EXPECT_TRUE(doc.hadDoctype());
    const Element root = doc.root();
    EXPECT_EQ(root.childText("package-title"), "Fixtures & \"Results\"");
    const Element group = root.firstChild("groups").firstChild("group");
    EXPECT_EQ(group.attribute("name"), "Home & Away");
    // The DTD gives every bitmap data="filename" and nothing else.
    const Element icons = root.firstChild("app-launcher").firstChild("launcher-icon");
    for (Element bitmap = icons.firstChildElement(); bitmap; bitmap = bitmap.nextSiblingElement()) {
        EXPECT_EQ(bitmap.attribute("data"), "filename");
    }
    EXPECT_EQ(icons.firstChild("bitmap").nextSiblingElement().attribute("transparent-color"), "0x00FF00");
    EXPECT_FALSE(icons.firstChild("bitmap").attribute("transparent-color"));
    // No defaults invented for optional attributes.
    const Element event = group.firstChild("events").firstChild("event");
    EXPECT_FALSE(event.firstChild("repeating-event").attribute("frequency"));
}

TEST(CalendarPackageDtd, AcceptsAnEmptyPackage) {
    Document doc;
    skedlin::xml::test::LoadOutcome error;
    EXPECT_TRUE(validates(kEmptyPackage, error, doc)) << error.reason << " at line " << error.line;
}

TEST(CalendarPackageDtd, KeepsOptionalWhatTheBuilderTreatsAsOptional) {
    Document doc;
    skedlin::xml::test::LoadOutcome error;
    // No contacts, no author-info, no events in a group, no phone-numbers in a contact.
    std::string text = replaced(kFullPackage, "\t\t<author-info></author-info>\r\n", "");
    const std::string eventsEnd = "\t\t\t</events>\r\n";
    const auto eventsBegin = text.find("\t\t\t<events>\r\n");
    ASSERT_NE(eventsBegin, std::string::npos);
    text.erase(eventsBegin, text.find(eventsEnd) + eventsEnd.size() - eventsBegin);
    EXPECT_TRUE(validates(text, error, doc)) << error.reason << " at line " << error.line;
    text = replaced(kEmptyPackage, "\t<contacts>\r\n\t</contacts>\r\n", "");
    EXPECT_TRUE(validates(text, error, doc)) << error.reason << " at line " << error.line;
}

TEST(CalendarPackageDtd, AttributeValuesArePlainText) {
    Document doc;
    skedlin::xml::test::LoadOutcome error;
    std::string text = replaced(kFullPackage, "<contact id=\"1\">", "<contact id=\" 12abc\">");
    text = replaced(text, "navigation=\"events\"", "navigation=\"Groups\"");
    text = replaced(text, "interval=\"month-by-date\" frequency=\"2\"", "interval=\"fortnightly\" frequency=\"x\"");
    EXPECT_TRUE(validates(text, error, doc)) << error.reason << " at line " << error.line;
    EXPECT_EQ(doc.root().firstChild("contacts").firstChild("contact").attribute("id"), " 12abc");
}

TEST(CalendarPackageDtd, InlineBitmapDataIsAllowed) {
    Document doc;
    skedlin::xml::test::LoadOutcome error;
    const std::string text =
        replaced(kFullPackage, "<bitmap>.\\logo.bmp</bitmap>", "<bitmap data=\"hex\">42 4D 00 00</bitmap>");
    ASSERT_TRUE(validates(text, error, doc)) << error.reason;
    EXPECT_EQ(doc.root().firstChild("welcome").firstChild("image").firstChild("bitmap").attribute("data"), "hex");
}

TEST(CalendarPackageDtd, RefusesFilesThatBreakTheFormat) {
    const std::vector<std::pair<std::string, std::string>> breaks = {
        {"<calendar-package navigation=\"none\">", "<calendar-package>"},  // required attribute
        {"\t<groups>\r\n\t</groups>\r\n", ""},                             // required element
        {"\t<welcome>\r\n", "\t<welcome>\r\n\t\t<surprise/>\r\n"},         // unknown element
        {"<calendar-package navigation=\"none\">",
         "<calendar-package navigation=\"none\" x=\"1\">"},  // unknown attribute
        {"\t\t<description></description>\r\n", ""},         // required text element
    };
    for (const auto& [from, to] : breaks) {
        Document doc;
        skedlin::xml::test::LoadOutcome error;
        EXPECT_FALSE(validates(replaced(kEmptyPackage, from, to), error, doc)) << "changed: " << from;
        EXPECT_GT(error.line, 0) << from;
        EXPECT_FALSE(error.reason.empty()) << from;
    }
    Document doc;
    skedlin::xml::test::LoadOutcome error;
    EXPECT_FALSE(validates(replaced(kFullPackage, "<phone-number type=\"work\">", "<phone-number>"), error, doc));
    EXPECT_FALSE(validates(replaced(kFullPackage, "\t\t<group name=\"Home &amp; Away\">", "\t\t<group>"), error, doc));
}
