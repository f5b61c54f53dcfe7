// Contacts read from packages: every Ncnt record and Pocket PC contact record
// is decoded and compared with what the XML says.

#include "contacts_events_packages.h"
#include "model/XmlDocument.h"

#include <gtest/gtest.h>

namespace skedlin::testing {
namespace {

const std::pair<const char*, int> kLabels[] = {{"work", 0},  {"home", 1}, {"fax", 2},   {"other", 3},
                                               {"email", 4}, {"main", 5}, {"pager", 6}, {"mobile", 7}};

int labelOf(const std::string& type) {
    for (const auto& [word, label] : kLabels) {
        if (type == word) return label;
    }
    return -1;
}

std::vector<xml::Element> childrenNamed(const xml::Element& parent, const std::string& name) {
    std::vector<xml::Element> found;
    for (xml::Element child = parent.firstChildElement(); child; child = child.nextSiblingElement()) {
        if (child.name() == name) found.push_back(child);
    }
    return found;
}

TEST(ContactsBuild, EveryRecordMatchesTheXml) {
    const BuiltPackage built = buildPackageFile(fixture("conference.xml"));
    ASSERT_EQ(built.code, 0) << built.message;

    xml::Document document;
    xml::ParseError error;
    ASSERT_TRUE(
        document.loadFile(fixture("conference.xml"), std::string(SKEDLIN_BIN_DIR) + "/CalendarPackage.dtd", error));
    const auto contacts = childrenNamed(document.root().firstChild("contacts"), "contact");
    ASSERT_EQ(built.palmOfType("Ncnt").size(), contacts.size());

    const std::pair<const char*, int> palmFields[] = {
        {"last-name", Name}, {"first-name", FirstName}, {"company", Company}, {"street", Address},
        {"city", City},      {"state", State},          {"zip", ZipCode},     {"country", Country},
        {"title", Title},    {"contact-note", Note}};
    for (std::size_t i = 0; i < contacts.size(); ++i) {
        SCOPED_TRACE("contact " + std::to_string(i));
        const std::uint16_t id = static_cast<std::uint16_t>(6000 + i);
        const PrcResource* resource = built.palmResource("Ncnt", id);
        ASSERT_NE(resource, nullptr);
        const auto record = decodeAddressRecord(resource->bytes);
        ASSERT_TRUE(record);
        std::size_t expectedOffset = 1;
        for (const auto& [element, field] : palmFields) {
            const auto text = contacts[i].childText(element);
            if (text && !text->empty()) {
                EXPECT_EQ(record->fields[field], *text) << element;
            } else {
                EXPECT_FALSE(record->fields[field]) << element;
            }
            if ((field == Name || field == FirstName) && text && !text->empty()) expectedOffset += text->size() + 1;
        }
        EXPECT_EQ(record->companyOffset, expectedOffset);
        EXPECT_EQ(record->options >> 20, 0xAA0u);

        const auto phones = childrenNamed(contacts[i].firstChild("phone-numbers"), "phone-number");
        for (std::size_t p = 0; p < 5; ++p) {
            if (p < phones.size()) {
                EXPECT_EQ(record->fields[Phone1 + p], phones[p].text());
                EXPECT_EQ(record->phoneLabel(static_cast<int>(p)), labelOf(*phones[p].attribute("type")));
            } else {
                EXPECT_FALSE(record->fields[Phone1 + p]);
                EXPECT_EQ(record->phoneLabel(static_cast<int>(p)), static_cast<int>(p));  // default labels
            }
        }
        ASSERT_TRUE(built.pocketPc->records.count(id));
        EXPECT_TRUE(decodePocketPcContact(built.pocketPc->records.at(id)));
    }

    // The Pocket PC record files phones by type; "other" and "main" stay on the Palm.
    const auto ada = *decodePocketPcContact(built.pocketPc->records.at(6000));
    EXPECT_EQ(ada.texts[PocketPcContact::Work1], "+1 902 555 0101");
    EXPECT_EQ(ada.texts[PocketPcContact::Mobile], "+1 902 555 0199");
    EXPECT_EQ(ada.texts[PocketPcContact::Email1], "ada@harbour.example");
    EXPECT_EQ(ada.texts[PocketPcContact::Street], "Pier 4\r\nBuilding B");
    EXPECT_EQ(ada.texts[PocketPcContact::Note], "Speaks on Monday.\r\nVegetarian.");
    EXPECT_EQ(ada.flagByte, 1);
    const auto tug = *decodePocketPcContact(built.pocketPc->records.at(6001));
    EXPECT_EQ(tug.texts[PocketPcContact::Fax], "555 0300");
    EXPECT_EQ(tug.texts[PocketPcContact::Home1], "555 0301");
    EXPECT_EQ(tug.texts[PocketPcContact::Home2], "555 0303");
    EXPECT_EQ(tug.texts[PocketPcContact::Work1], "");  // the sixth phone is ignored
    EXPECT_EQ(tug.flagByte, 1);
    EXPECT_EQ(decodePocketPcContact(built.pocketPc->records.at(6002))->flagByte, 0);
}

TEST(ContactsBuild, DuplicateIdsAreRefusedWithAnEmptyMessage) {
    for (const char* ids : {R"(<contact id="7"/><contact id="007"/>)", R"(<contact id="x"/><contact id=""/>)"}) {
        const BuiltPackage built = buildPackageText(packageXml(std::string("<contacts>") + ids + "</contacts>", ""));
        EXPECT_EQ(built.code, 10) << ids;
        EXPECT_EQ(built.message, "");
        EXPECT_EQ(built.palmOfType("Ncnt").size(), 1u);  // the duplicate adds nothing
    }
}

TEST(ContactsBuild, MissingIdOrPhoneTypeNamesTheItem) {
    BuiltPackage built =
        buildPackageText(packageXml("<contacts><contact><last-name>X</last-name></contact></contacts>", ""));
    EXPECT_EQ(built.code, 2);
    EXPECT_NE(built.message.find("id"), std::string::npos) << built.message;
    EXPECT_NE(built.message.find("contact"), std::string::npos) << built.message;

    built = buildPackageText(packageXml(
        "<contacts><contact id='1'><phone-numbers><phone-number>5</phone-number></phone-numbers></contact></contacts>",
        ""));
    EXPECT_EQ(built.code, 2);
    EXPECT_NE(built.message.find("type"), std::string::npos) << built.message;
    EXPECT_NE(built.message.find("phone-number"), std::string::npos) << built.message;
}

TEST(ContactsBuild, ForeignElementsAndUnknownTypesAmongThePhones) {
    const BuiltPackage built = buildPackageText(
        packageXml("<contacts><contact id='1'><phone-numbers><note>skip me</note>"
                   "<phone-number type='cell'>555</phone-number><phone-number type='home'>556</phone-number>"
                   "</phone-numbers></contact></contacts>",
                   ""));
    const std::string& output = built.warnings;
    ASSERT_EQ(built.code, 0) << built.message;
    const auto record = decodeAddressRecord(built.palmResource("Ncnt", 6000)->bytes);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->fields[Phone1], "555");
    EXPECT_EQ(record->fields[Phone2], "556");
    EXPECT_EQ(record->phoneLabel(0), 3);  // unknown types are labelled "other"
    EXPECT_EQ(record->phoneLabel(1), 1);
    EXPECT_NE(output.find("cell"), std::string::npos) << output;
}

TEST(ContactsBuild, TextsBecomeWindows1252WithAWarningForTheRest) {
    const BuiltPackage built = buildPackageText(packageXml(
        "<contacts><contact id='1'><last-name>Müller €</last-name><first-name>Жанна</first-name></contact></contacts>",
        ""));
    const std::string& output = built.warnings;
    ASSERT_EQ(built.code, 0) << built.message;
    const auto record = decodeAddressRecord(built.palmResource("Ncnt", 6000)->bytes);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->fields[Name], "M\xFCller \x80");
    EXPECT_EQ(record->fields[FirstName], "?????");
    EXPECT_NE(output.find("<first-name>"), std::string::npos) << output;
    EXPECT_EQ(output.find("<last-name>"), std::string::npos) << output;
}

std::string contactsXml(std::size_t count) {
    std::string xml = "<contacts>";
    for (std::size_t i = 0; i < count; ++i) xml += "<contact id='" + std::to_string(i) + "'/>";
    return xml + "</contacts>";
}

TEST(ContactsBuild, AThousandContactsFitTheOneBeyondIsRefused) {
    BuiltPackage built = buildPackageText(packageXml(contactsXml(1000), ""));
    ASSERT_EQ(built.code, 0) << built.message;
    EXPECT_NE(built.palmResource("Ncnt", 6999), nullptr);
    built = buildPackageText(packageXml(contactsXml(1001), ""));
    EXPECT_EQ(built.code, 1);
    EXPECT_NE(built.message.find("1001 contacts"), std::string::npos) << built.message;
    EXPECT_NE(built.message.find("1000"), std::string::npos) << built.message;
    EXPECT_TRUE(built.palmOfType("Ncnt").empty());
}

TEST(ContactsBuild, OversizeTextsAreRefusedNamingTheContact) {
    BuiltPackage built =
        buildPackageText(packageXml("<contacts><contact id='42'><last-name>Vogel</last-name><contact-note>" +
                                        std::string(70000, 'n') + "</contact-note></contact></contacts>",
                                    ""));
    EXPECT_EQ(built.code, 1);
    EXPECT_NE(built.message.find("contact 42 (Vogel)"), std::string::npos) << built.message;
    EXPECT_NE(built.message.find("65536"), std::string::npos) << built.message;

    built = buildPackageText(packageXml(
        "<contacts><contact id='43'><contact-note>" + std::string(30000, '\n') + "</contact-note></contact></contacts>",
        ""));
    EXPECT_EQ(built.code, 1);
    EXPECT_NE(built.message.find("Pocket PC"), std::string::npos) << built.message;
    EXPECT_TRUE(built.palmOfType("Ncnt").empty());
}

TEST(ContactsBuild, APackageWithoutContactsBuilds) {
    const BuiltPackage built = buildPackageText(packageXml("", groupXml("")));
    EXPECT_EQ(built.code, 0) << built.message;
    EXPECT_TRUE(built.palmOfType("Ncnt").empty());
}

}  // namespace
}  // namespace skedlin::testing
