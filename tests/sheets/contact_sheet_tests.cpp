#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "sheet_test_support.h"
#include "editor/document/CSkedlinDoc.h"
#include "editor/ui/CContactGeneral.h"
#include "editor/ui/CContactGroups.h"
#include "editor/ui/CContactSheet.h"
#include "editor/ui/NotePages.h"
#include "editor/ui/SheetText.h"
#include "editor/ui/Sheets.h"
#include "editor/ui/SortedLists.h"

using namespace skedlin;
using test::MessageLog;

namespace {

const QStringList kGroups = {"Speakers", "board", "Events"};

ContactEntry memberOf(const QStringList& groups) {
    ContactEntry contact;
    contact.lastName = "Lovelace";
    contact.memberGroups = groups;
    return contact;
}

}  // namespace

TEST(ContactSheet, NeedsAFirstLastOrCompanyName) {
    MessageLog messages;
    ContactEntry contact;
    CContactSheet sheet("New Contact", contact, kGroups);
    sheet.show();
    sheet.finish();
    EXPECT_EQ(messages.last(), sheettext::kContactNameMissing);
    EXPECT_EQ(messages.kinds.last(), MessageKind::Plain);
    EXPECT_FALSE(sheet.setCurrentIndex(1));
    EXPECT_EQ(sheet.result(), QDialog::Rejected);

    sheet.generalPage()->companyEdit()->setText("Analytical Engines Ltd");
    sheet.finish();
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(contact.company, "Analytical Engines Ltd");
}

TEST(ContactSheet, NewContactShowsTheDefaultPhoneTypes) {
    ContactEntry contact;
    contact.phoneTypes = kDefaultPhoneTypes;
    CContactSheet sheet("New Contact", contact, kGroups);
    QStringList shown;
    for (int row = 0; row < kPhoneSlotCount; ++row) shown << sheet.groupsPage()->phoneType(row)->currentText();
    EXPECT_EQ(shown, (QStringList{"Work", "Home", "Mobile", "Email", "Other"}));
    EXPECT_EQ(sheet.groupsPage()->phoneType(0)->count(), 8);
}

TEST(ContactSheet, MembershipMovesAndIsStoredAlphabetically) {
    ContactEntry contact = memberOf({"Speakers", "Retired"});  // "Retired" is no group of the document
    CContactSheet sheet("Contact Details", contact, kGroups);
    sheet.show();
    ASSERT_TRUE(sheet.setCurrentIndex(1));
    CContactGroups* page = sheet.groupsPage();
    EXPECT_EQ(listTexts(page->memberList()), (QStringList{"Retired", "Speakers"}));
    EXPECT_EQ(listTexts(page->availableList()), (QStringList{"board", "Events"}));

    EXPECT_FALSE(page->addSelectedGroup()) << "nothing selected";
    page->memberList()->setCurrentRow(0);
    ASSERT_TRUE(page->removeSelectedGroup());
    EXPECT_EQ(listTexts(page->availableList()), (QStringList{"board", "Events", "Retired"}));
    page->availableList()->setCurrentRow(0);
    ASSERT_TRUE(page->addSelectedGroup());
    EXPECT_EQ(listTexts(page->memberList()), (QStringList{"board", "Speakers"}));

    page->phoneNumber(2)->setText("+44 20 7946 0000");
    page->phoneType(2)->setCurrentIndex(kPhonePager);
    sheet.finish();
    ASSERT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(contact.memberGroups, (QStringList{"board", "Speakers"}));
    EXPECT_EQ(contact.phoneNumbers[2], "+44 20 7946 0000");
    EXPECT_EQ(contact.phoneTypes[2], kPhonePager);
}

TEST(ContactSheet, UnopenedGroupsPageKeepsTheStoredOrderAndTypes) {
    ContactEntry contact = memberOf({"Speakers", "board"});
    contact.phoneTypes[4] = 12;  // unknown to the list, shown as Work
    CContactSheet sheet("Contact Details", contact, kGroups);
    sheet.show();
    sheet.generalPage()->cityEdit()->setText("London");
    sheet.generalPage()->streetEdit()->setPlainText("12 Square\nFlat 3");
    sheet.finish();
    EXPECT_EQ(contact.memberGroups, (QStringList{"Speakers", "board"}));
    EXPECT_EQ(contact.phoneTypes[4], 12);
    EXPECT_EQ(contact.city, "London");
    EXPECT_EQ(contact.street, "12 Square\nFlat 3");
}

TEST(ContactSheet, EntryPointsAddEditAndCancel) {
    MessageLog messages;
    CSkedlinDoc doc;
    doc.newDocument(nullptr);
    doc.setModified(false);

    test::answerNextDialog<CContactSheet>([](CContactSheet* sheet) {
        sheet->generalPage()->firstNameEdit()->setText("Ada");
        sheet->setCurrentIndex(1);
        sheet->groupsPage()->availableList()->setCurrentRow(0);
        sheet->groupsPage()->addSelectedGroup();
        sheet->setCurrentIndex(2);
        sheet->notesPage()->noteEdit()->setPlainText("Keynote speaker");
        sheet->button(CSheetDialog::Button::Ok)->click();
    });
    ASSERT_TRUE(newContact(doc, nullptr));
    ASSERT_EQ(doc.contacts().size(), 1);
    const ContactEntry added = doc.contacts().first();
    EXPECT_EQ(added.firstName, "Ada");
    EXPECT_EQ(added.memberGroups, QStringList{"Events"});
    EXPECT_EQ(added.note, "Keynote speaker");
    EXPECT_EQ(added.phoneTypes, kDefaultPhoneTypes);
    EXPECT_TRUE(doc.isModified());

    doc.setModified(false);
    test::answerNextDialog<CContactSheet>([](CContactSheet* sheet) {
        sheet->generalPage()->firstNameEdit()->setText("Augusta");
        sheet->setCurrentIndex(1);
        sheet->groupsPage()->memberList()->setCurrentRow(0);
        sheet->groupsPage()->removeSelectedGroup();
        sheet->button(CSheetDialog::Button::Cancel)->click();
    });
    EXPECT_FALSE(editContact(doc, 0, nullptr));
    EXPECT_EQ(doc.contacts().first(), added);
    EXPECT_FALSE(doc.isModified());

    test::answerNextDialog<CContactSheet>([](CContactSheet* sheet) { sheet->finish(); });
    EXPECT_TRUE(editContact(doc, 0, nullptr));
    EXPECT_FALSE(doc.isModified()) << "an unchanged contact is no unsaved change";

    test::answerNextDialog<CContactSheet>([](CContactSheet* sheet) {
        sheet->generalPage()->titleEdit()->setText("Countess");
        sheet->finish();
    });
    EXPECT_TRUE(editContact(doc, 0, nullptr));
    EXPECT_EQ(doc.contacts().first().title, "Countess");
    EXPECT_TRUE(doc.isModified()) << "a changed contact is an unsaved change";
}
