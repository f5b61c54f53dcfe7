// The two records of a contact, read back the way the handheld viewers read them.

#include "builder/ContactRecord.h"
#include "contacts_events_decoders.h"

#include <gtest/gtest.h>

namespace skedlin {
namespace {

using testing::AddressRecord;
using testing::decodeAddressRecord;
using testing::decodePocketPcContact;
using testing::PocketPcContact;
namespace field = testing;

TEST(ContactRecords, OnlyACompany) {
    ContactRecord contact;
    contact.setText(ContactText::Company, "Acme");
    const std::vector<std::uint8_t> expected = {0xAA, 0x04, 0x32, 0x10, 0, 0, 0, 4, 1, 'A', 'c', 'm', 'e', 0};
    EXPECT_EQ(*contact.palmRecord(), expected);
    EXPECT_EQ(decodePocketPcContact(*contact.pocketPcRecord())->flagByte, 1);
}

TEST(ContactRecords, EveryFieldInItsPlace) {
    ContactRecord contact;
    contact.setText(ContactText::LastName, "Li");
    contact.setText(ContactText::FirstName, "Bo");
    contact.setText(ContactText::Title, "Dr");
    contact.setText(ContactText::Company, "Acme");
    contact.setText(ContactText::Street, "1 Main St\nFlat 2");
    contact.setText(ContactText::City, "Springfield");
    contact.setText(ContactText::State, "IL");
    contact.setText(ContactText::Country, "USA");
    contact.setText(ContactText::Zip, "62701");
    contact.setText(ContactText::Note, "Line 1\nLine 2");
    ASSERT_TRUE(contact.addPhone(PhoneLabel::Mobile, "555-1"));
    ASSERT_TRUE(contact.addPhone(PhoneLabel::Email, "bo@example.org"));

    const auto palm = decodeAddressRecord(*contact.palmRecord());
    ASSERT_TRUE(palm);
    EXPECT_EQ(palm->companyOffset, 7);  // "Li\0Bo\0" before the company
    EXPECT_EQ(palm->fieldMask, 0x4'3F1Fu);
    EXPECT_EQ(palm->options, 0xAA043247u);
    EXPECT_EQ(palm->phoneLabel(0), 7);
    EXPECT_EQ(palm->phoneLabel(1), 4);
    EXPECT_EQ(palm->phoneLabel(2), 2);  // untouched default labels
    EXPECT_EQ(palm->fields[field::Name], "Li");
    EXPECT_EQ(palm->fields[field::FirstName], "Bo");
    EXPECT_EQ(palm->fields[field::Company], "Acme");
    EXPECT_EQ(palm->fields[field::Phone1], "555-1");
    EXPECT_EQ(palm->fields[field::Phone2], "bo@example.org");
    EXPECT_EQ(palm->fields[field::Address], "1 Main St\nFlat 2");
    EXPECT_EQ(palm->fields[field::City], "Springfield");
    EXPECT_EQ(palm->fields[field::State], "IL");
    EXPECT_EQ(palm->fields[field::ZipCode], "62701");
    EXPECT_EQ(palm->fields[field::Country], "USA");
    EXPECT_EQ(palm->fields[field::Title], "Dr");
    EXPECT_EQ(palm->fields[field::Note], "Line 1\nLine 2");

    const auto bytes = *contact.pocketPcRecord();
    const auto ppc = decodePocketPcContact(bytes);
    ASSERT_TRUE(ppc);
    std::size_t textBytes = 0;
    for (const auto& text : ppc->texts) textBytes += text.size();
    EXPECT_EQ(bytes.size(), textBytes + 20);
    EXPECT_EQ(ppc->texts[PocketPcContact::LastName], "Li");
    EXPECT_EQ(ppc->texts[PocketPcContact::Title], "Dr");
    EXPECT_EQ(ppc->texts[PocketPcContact::Street], "1 Main St\r\nFlat 2");
    EXPECT_EQ(ppc->texts[PocketPcContact::Zip], "62701");
    EXPECT_EQ(ppc->texts[PocketPcContact::Country], "USA");
    EXPECT_EQ(ppc->texts[PocketPcContact::Mobile], "555-1");
    EXPECT_EQ(ppc->texts[PocketPcContact::Email1], "bo@example.org");
    EXPECT_EQ(ppc->texts[PocketPcContact::Note], "Line 1\r\nLine 2");
    EXPECT_EQ(ppc->flagByte, 1);
}

TEST(ContactRecords, PhonesAreFiledByTypeForThePocketPc) {
    ContactRecord contact;
    contact.addPhone(PhoneLabel::Work, "w1");
    contact.addPhone(PhoneLabel::Work, "w2");
    contact.addPhone(PhoneLabel::Work, "w3");
    contact.addPhone(PhoneLabel::Main, "m");
    contact.addPhone(PhoneLabel::Home, "");
    EXPECT_FALSE(contact.addPhone(PhoneLabel::Fax, "sixth"));
    EXPECT_EQ(contact.phoneCount(), 5u);

    const auto palm = decodeAddressRecord(*contact.palmRecord());
    ASSERT_TRUE(palm);
    EXPECT_EQ(palm->options, 0xAA015000u);
    EXPECT_EQ(palm->fieldMask, 0xF8u);
    EXPECT_EQ(palm->fields[field::Phone4], "m");
    EXPECT_EQ(palm->fields[field::Phone5], "");  // present though empty
    EXPECT_EQ(palm->companyOffset, 1);

    const auto ppc = decodePocketPcContact(*contact.pocketPcRecord());
    ASSERT_TRUE(ppc);
    EXPECT_EQ(ppc->texts[PocketPcContact::Work1], "w1");
    EXPECT_EQ(ppc->texts[PocketPcContact::Work2], "w3");
    EXPECT_EQ(ppc->texts[PocketPcContact::Fax], "");
    for (const auto& text : ppc->texts) EXPECT_NE(text, "m");  // main stays on the Palm
    EXPECT_EQ(ppc->flagByte, 1);
}

TEST(ContactRecords, FlagByteNeedsACompanyOrAWorkPhone) {
    ContactRecord neither;
    neither.setText(ContactText::LastName, "Doe");
    neither.addPhone(PhoneLabel::Home, "h");
    neither.addPhone(PhoneLabel::Home, "h2");
    neither.addPhone(PhoneLabel::Email, "e");
    neither.addPhone(PhoneLabel::Pager, "p");
    const auto ppc = decodePocketPcContact(*neither.pocketPcRecord());
    ASSERT_TRUE(ppc);
    EXPECT_EQ(ppc->flagByte, 0);
    EXPECT_EQ(ppc->texts[PocketPcContact::Home1], "h");
    EXPECT_EQ(ppc->texts[PocketPcContact::Home2], "h2");
    EXPECT_EQ(ppc->texts[PocketPcContact::Pager], "p");
    ContactRecord emptyWork;
    emptyWork.addPhone(PhoneLabel::Work, "");
    EXPECT_EQ(decodePocketPcContact(*emptyWork.pocketPcRecord())->flagByte, 0);
}

TEST(ContactRecords, AnEmptyContactStillHasEveryPocketPcField) {
    ContactRecord contact;
    EXPECT_EQ(contact.pocketPcRecord()->size(), 20u);
    EXPECT_EQ(contact.palmRecord()->size(), 9u);
}

TEST(ContactRecords, OversizeRecordsAreRefusedNotCut) {
    ContactRecord contact;
    contact.setText(ContactText::Note, std::string(65536 - 10, 'n'));
    EXPECT_EQ(contact.palmRecord()->size(), 65536u);
    EXPECT_FALSE(contact.pocketPcRecord());  // past 50,000 bytes
    contact.setText(ContactText::City, "x");
    EXPECT_FALSE(contact.palmRecord());

    ContactRecord longName;
    longName.setText(ContactText::LastName, std::string(254, 'L'));
    EXPECT_TRUE(longName.palmRecord());  // no company: the offset is not used
    longName.setText(ContactText::Company, "Acme");
    EXPECT_FALSE(longName.companyOffsetFits());
    EXPECT_FALSE(longName.palmRecord());
    longName.setText(ContactText::LastName, std::string(253, 'L'));
    EXPECT_EQ(decodeAddressRecord(*longName.palmRecord())->companyOffset, 255);
}

TEST(ContactRecords, PhoneTypeWords) {
    EXPECT_EQ(phoneLabelOfType("work"), PhoneLabel::Work);
    EXPECT_EQ(phoneLabelOfType("home"), PhoneLabel::Home);
    EXPECT_EQ(phoneLabelOfType("fax"), PhoneLabel::Fax);
    EXPECT_EQ(phoneLabelOfType("other"), PhoneLabel::Other);
    EXPECT_EQ(phoneLabelOfType("email"), PhoneLabel::Email);
    EXPECT_EQ(phoneLabelOfType("main"), PhoneLabel::Main);
    EXPECT_EQ(phoneLabelOfType("pager"), PhoneLabel::Pager);
    EXPECT_EQ(phoneLabelOfType("mobile"), PhoneLabel::Mobile);
    EXPECT_EQ(phoneLabelOfType("Work"), std::nullopt);
    EXPECT_EQ(phoneLabelOfType("cell"), std::nullopt);
}

}  // namespace
}  // namespace skedlin
