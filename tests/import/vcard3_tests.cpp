// vCard 3.0 and 4.0 import: real exports, both TYPE syntaxes, folding,
// quoted-printable and UTF-8, categories as groups, and files that mix 2.1
// cards (still read by the 2.1 rules) with newer ones.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "import_test_support.h"
#include "editor/document/CSkedlinDoc.h"
#include "editor/document/ImportTextFile.h"
#include "editor/document/PackageImport.h"
#include "editor/document/VCard3Reader.h"

namespace skedlin {
namespace {

QList<ContactEntry> readText(const QString& text) { return readVCardFile(text.split(u'\n')); }

QList<ContactEntry> readCorpus(const char* name) {
    const ImportTextFile file = readImportTextFile(testing::corpusPath(name));
    EXPECT_TRUE(file.result.ok()) << file.result.message().toStdString();
    return readVCardFile(file.lines);
}

// "type:number" of each filled slot.
QStringList phones(const ContactEntry& contact) {
    QStringList result;
    for (int slot = 0; slot < contact.phoneCount; ++slot) {
        result.append(phoneTypeName(contact.phoneTypes[slot]) + u':' + contact.phoneNumbers[slot]);
    }
    return result;
}

TEST(VCard3Import, RealExports) {
    const QList<ContactEntry> office = readCorpus("vcf/gammu-vcard3-utf-8.vcf");
    ASSERT_EQ(office.size(), 1);
    EXPECT_EQ(office[0].lastName, QString::fromUtf8("Bodø likningskontor"));
    EXPECT_EQ(office[0].note, "Telefonhenvendelser til saksbehandler: \nMan 08:00-15:30, tir-fre 12:00-15:30");
    EXPECT_EQ(phones(office[0]), QStringList({"work:+4775546800", "fax:+4775546805", "email:bodo.lk@skatteetaten.no"}));
    EXPECT_EQ(office[0].street, "Moloveien 20");
    EXPECT_EQ(office[0].city, QString::fromUtf8("Bodø"));
    EXPECT_EQ(office[0].state, "Nordland");
    EXPECT_EQ(office[0].zip, "8002");
    EXPECT_EQ(office[0].country, "Norway");
    EXPECT_EQ(office[0].memberGroups, QStringList({"government", "Norwegian"}));

    const QList<ContactEntry> two = readCorpus("vcf/gammu-gammu.vcf");
    ASSERT_EQ(two.size(), 2);
    EXPECT_EQ(two[1].lastName, "Nikdo-SIM");
    EXPECT_EQ(phones(two[0]), QStringList({"other:123465789"}));

    // Repeated TYPE parameters, a preferred address folded in mid-word, and
    // more numbers than slots (the sixth and later are dropped).
    const QList<ContactEntry> full = readCorpus("vcf/opensync-kdepim-full1-3.0.vcf");
    ASSERT_EQ(full.size(), 1);
    EXPECT_EQ(full[0].lastName, "familynames");
    EXPECT_EQ(full[0].firstName, "givenname");
    EXPECT_EQ(full[0].street, "HomeAddress1");
    EXPECT_EQ(full[0].country, "Germany");
    EXPECT_EQ(phones(full[0]), QStringList({"email:email1", "email:email2@test.com", "work:workphone", "fax:work fax",
                                            "home:homephone"}));
    EXPECT_EQ(full[0].memberGroups, QStringList({"Customer", "Family"}));

    const QList<ContactEntry> evolution = readCorpus("vcf/ezvcard-John_Doe_EVOLUTION.vcf");
    ASSERT_EQ(evolution.size(), 1);
    EXPECT_EQ(evolution[0].company, "IBM, Accounting, Dungeon");
    EXPECT_EQ(evolution[0].title, "Money Counter");
    EXPECT_EQ(phones(evolution[0]).mid(0, 2), QStringList({"mobile:905-666-1234", "work:905-555-1234"}));
    EXPECT_EQ(evolution[0].city, "Albaney");
    EXPECT_EQ(evolution[0].country, "United States of America");
    EXPECT_TRUE(
        evolution[0].note.startsWith("THIS SOFTWARE IS PROVIDED BY THE COPYRIGHT HOLDERS AND CONTRIBUTORS \"AS IS\""));
}

TEST(VCard3Import, Version4SyntaxAndFormattedNames) {
    const QList<ContactEntry> contacts = readText(
        "BEGIN:VCARD\nVERSION:4.0\nFN:Ada King Lovelace\nN:;;;;\n"
        "item1.TEL;VALUE=uri;TYPE=\"voice,cell\":tel:+44-20-7946-0000\n"
        "TEL;TYPE=work;TYPE=voice:+44 20 7946 0001\nEMAIL:ada@example.org\n"
        "NOTE:Line one\\nLine two\\, with comma\\; and semicolon\\\\\nEND:VCARD\n"
        "BEGIN:VCARD\nVERSION:3.0\nFN:Acme Ltd\nORG:Acme Ltd\nEND:VCARD\n");
    ASSERT_EQ(contacts.size(), 2);
    EXPECT_EQ(contacts[0].firstName, "Ada King");
    EXPECT_EQ(contacts[0].lastName, "Lovelace");
    EXPECT_EQ(phones(contacts[0]),
              QStringList({"mobile:+44-20-7946-0000", "work:+44 20 7946 0001", "email:ada@example.org"}));
    EXPECT_EQ(contacts[0].note, "Line one\nLine two, with comma; and semicolon\\");
    // A formatted name that only repeats the company is no person's name.
    EXPECT_TRUE(contacts[1].lastName.isEmpty());
    EXPECT_EQ(contacts[1].company, "Acme Ltd");
}

TEST(VCard3Import, QuotedPrintableFoldingAndMixedVersions) {
    const QList<ContactEntry> contacts = readText(
        // A soft line break that splits a UTF-8 sequence.
        "BEGIN:VCARD\nVERSION:3.0\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=D0=9F=D0=9E=\n=D0=A0;Jan\n"
        "NOTE:folded\n  with a space\n\tand a tab\nEND:VCARD\n"
        // 2.1 keeps its own rules: TEL;WORK alone adds nothing.
        "BEGIN:VCARD\nVERSION:2.1\nN:Smith;Anne;;;\nTEL;WORK:555-0100\nTEL;WORK;VOICE:555-0101\nEND:VCARD\n"
        // A card that never ends is closed by the next one.
        "BEGIN:VCARD\nVERSION:3.0\nN:Open;Card\nBEGIN:VCARD\nVERSION:3.0\nN:Next;Card\nEND:VCARD\n");
    ASSERT_EQ(contacts.size(), 4);
    EXPECT_EQ(contacts[0].lastName, QString::fromUtf8("ПОР"));
    EXPECT_EQ(contacts[0].firstName, "Jan");
    EXPECT_EQ(contacts[0].note, "folded with a spaceand a tab");
    EXPECT_EQ(phones(contacts[1]), QStringList({"work:555-0101"}));
    EXPECT_EQ(contacts[2].lastName, "Open");
    EXPECT_EQ(contacts[3].lastName, "Next");
}

TEST(VCard3Import, ManyCardsThroughTheDocumentWithGroups) {
    QString text;
    for (int i = 0; i < 500; ++i) {
        text += QStringLiteral(
                    "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Person%1;Test\r\nCATEGORIES:Speakers,Team %2\r\nEND:VCARD\r\n")
                    .arg(i)
                    .arg(i % 3);
    }
    QTemporaryDir dir;
    const QString path = testing::writeFile(dir, "people.vcf", text.toUtf8());
    CSkedlinDoc document;
    document.newDocument(nullptr);
    testing::RecordingSink sink;
    ASSERT_EQ(importPackageFile(document, path, sink), ImportOutcome::Imported);
    EXPECT_EQ(document.contacts().size(), 500);
    EXPECT_TRUE(sink.texts.isEmpty());
    // The categories became groups of the package.
    for (const char* group : {"Speakers", "Team 0", "Team 1", "Team 2"}) {
        EXPECT_NE(document.groupIndex(QString::fromLatin1(group)), -1) << group;
    }
}

}  // namespace
}  // namespace skedlin
