// vCard import: the fields a contact keeps, the phone slots, and real exports.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "import_test_support.h"
#include "editor/document/CSkedlinDoc.h"
#include "editor/document/PackageImport.h"
#include "editor/document/VCardReader.h"

namespace skedlin {
namespace {

using testing::RecordingSink;

QList<ContactEntry> readCards(const QString& text) {
    VCardReader reader;
    reader.read(text.split(u'\n'));
    return reader.contacts();
}

TEST(VCardReader, NameOrganisationAddressAndNote) {
    const QList<ContactEntry> contacts = readCards(
        "BEGIN:VCARD\nN:Smith;Anne;;;\nORG:Acme;Sales\nTITLE:Director\nNOTE:Line one\\nLine two\n"
        "ADR;WORK:;;1 Main St;Springfield;IL;62701;USA\nEND:VCARD");
    ASSERT_EQ(contacts.size(), 1);
    const ContactEntry& c = contacts[0];
    EXPECT_EQ(c.lastName, "Smith");
    EXPECT_EQ(c.firstName, "Anne");
    EXPECT_EQ(c.company, "Acme;Sales");
    EXPECT_EQ(c.title, "Director");
    EXPECT_EQ(c.note, "Line one\r\nLine two");
    EXPECT_EQ(c.street, "1 Main St");
    EXPECT_EQ(c.city, "Springfield");
    EXPECT_EQ(c.state, "IL");
    EXPECT_EQ(c.zip, "62701");
    EXPECT_EQ(c.country, "USA");
}

TEST(VCardReader, PhoneSlotsByParameterOrder) {
    const QList<ContactEntry> contacts = readCards(
        "BEGIN:VCARD\nTEL;WORK;VOICE:555-0100\nTEL;VOICE;WORK:555-0101\nTEL:555-0102\nTEL;WORK:555-0103\n"
        "TEL;WORK;FAX:555-0104\nTEL;HOME:555-0105\nTEL;CELL;PREF:555-0106\nEMAIL;INTERNET:a@example.org\n"
        "EMAIL:b@example.org\nEND:VCARD");
    ASSERT_EQ(contacts.size(), 1);
    const ContactEntry& c = contacts[0];
    EXPECT_EQ(c.phoneCount, 5);  // the sixth number is dropped
    const QStringList numbers(c.phoneNumbers.begin(), c.phoneNumbers.end());
    EXPECT_EQ(numbers, QStringList({"555-0100", "555-0104", "555-0105", "555-0106", "a@example.org"}));
    EXPECT_EQ(c.phoneTypes[0], kPhoneWork);
    EXPECT_EQ(c.phoneTypes[1], kPhoneFax);
    EXPECT_EQ(c.phoneTypes[2], kPhoneHome);
    EXPECT_EQ(c.phoneTypes[3], kPhoneMobile);
    EXPECT_EQ(c.phoneTypes[4], kPhoneEmail);

    // Slots a card leaves empty keep the types a new contact has.
    const ContactEntry one = readCards("BEGIN:VCARD\nTEL;HOME:1\nEND:VCARD")[0];
    EXPECT_EQ(one.phoneCount, 1);
    EXPECT_EQ(one.phoneTypes[1], kDefaultPhoneTypes[1]);
    EXPECT_EQ(one.phoneTypes[4], kDefaultPhoneTypes[4]);
}

TEST(VCardReader, RealExportsGiveOneContactPerCardWithDistinctIds) {
    CSkedlinDoc document;
    document.newDocument(nullptr);
    RecordingSink sink;
    ASSERT_EQ(importPackageFile(document, testing::corpusPath("vcf/ezvcard-John_Doe_ANDROID.vcf"), sink),
              ImportOutcome::Imported);
    EXPECT_EQ(document.contacts().size(), 6);
    ASSERT_EQ(importPackageFile(document, testing::corpusPath("vcf/ezvcard-gmail-list.vcf"), sink),
              ImportOutcome::Imported);
    ASSERT_EQ(document.contacts().size(), 9);
    EXPECT_EQ(document.contacts()[6].lastName, "Smith");
    EXPECT_EQ(document.contacts()[6].firstName, "Arnold");
    ASSERT_EQ(importPackageFile(document, testing::corpusPath("vcf/ezvcard-outlook-2003.vcf"), sink),
              ImportOutcome::Imported);
    const ContactEntry& outlook = document.contacts().back();
    EXPECT_GE(outlook.phoneCount, 3);
    EXPECT_EQ(outlook.phoneTypes[0], kPhoneWork);

    QSet<std::int32_t> ids;
    for (const ContactEntry& c : document.contacts()) ids.insert(c.id);
    EXPECT_EQ(ids.size(), document.contacts().size());
    EXPECT_TRUE(document.isModified());
    EXPECT_TRUE(sink.texts.isEmpty());
}

TEST(VCardReader, EveryImportedContactTakesTheNextFreeId) {
    QTemporaryDir dir;
    CSkedlinDoc document;
    document.newDocument(nullptr);
    ContactEntry existing;
    existing.id = 41;
    existing.lastName = QStringLiteral("Existing");
    document.addContact(existing);
    RecordingSink sink;
    ASSERT_EQ(
        importPackageFile(
            document, testing::writeFile(dir, "two.vcf", "BEGIN:VCARD\nN:A\nEND:VCARD\nBEGIN:VCARD\nN:B\nEND:VCARD\n"),
            sink),
        ImportOutcome::Imported);
    ASSERT_EQ(document.contacts().size(), 3);
    EXPECT_EQ(document.contacts()[1].lastName, "A");
    EXPECT_EQ(document.contacts()[1].id, 42);
    EXPECT_EQ(document.contacts()[2].lastName, "B");
    EXPECT_EQ(document.contacts()[2].id, 43);
}

TEST(VCardReader, UnknownExtensionAndEmptyFile) {
    QTemporaryDir dir;
    CSkedlinDoc document;
    document.newDocument(nullptr);
    RecordingSink sink;
    EXPECT_EQ(importPackageFile(document, testing::writeFile(dir, "cards.txt", "BEGIN:VCARD\nEND:VCARD\n"), sink),
              ImportOutcome::UnknownExtension);
    EXPECT_EQ(importPackageFile(document, testing::writeFile(dir, "empty.vcf", ""), sink), ImportOutcome::Imported);
    EXPECT_TRUE(document.contacts().isEmpty());
    EXPECT_TRUE(sink.texts.isEmpty());
}

}  // namespace
}  // namespace skedlin
