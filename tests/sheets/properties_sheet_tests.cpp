#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "sheet_test_support.h"
#include "editor/document/CSkedlinDoc.h"
#include "editor/ui/CGroupDetailsDlg.h"
#include "editor/ui/CGroupsPage.h"
#include "editor/ui/CPackagePropertiesSheet.h"
#include "editor/ui/ImageListPages.h"
#include "editor/ui/PackageTextPages.h"
#include "editor/ui/SheetHelp.h"
#include "editor/ui/SheetText.h"
#include "editor/ui/SortedLists.h"

using namespace skedlin;
using test::MessageLog;

namespace {

// A saved-looking package: two groups, events and contacts in them.
void fillPackage(CSkedlinDoc& doc) {
    doc.newDocument(nullptr);
    GroupEntry talks{"Talks", "Morning talks", {}};
    doc.setGroupList({doc.groups().first(), talks}, {});
    EventEntry keynote;
    keynote.title = "Keynote";
    keynote.groupName = "Talks";
    doc.addEvent(keynote);
    EventEntry lunch;
    lunch.title = "Lunch";
    lunch.groupName = "Events";
    doc.addEvent(lunch);
    ContactEntry speaker;
    speaker.lastName = "Speaker";
    speaker.memberGroups = {"Talks", "Events"};
    doc.addContact(speaker);
    doc.setModified(false);
}

void renameSelected(CGroupsPage* page, const QString& from, const QString& to) {
    auto items = page->groupList()->findItems(from, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    page->groupList()->setCurrentItem(items.first());
    test::answerNextDialog<CGroupDetailsDlg>([to](CGroupDetailsDlg* dialog) {
        dialog->nameEdit()->setText(to);
        dialog->accept();
    });
    page->editSelectedGroup();
}

class PropertiesSheetTest : public ::testing::Test {
protected:
    void SetUp() override { fillPackage(doc); }
    CSkedlinDoc doc;
    MessageLog messages;
};

}  // namespace

TEST_F(PropertiesSheetTest, NamePageRefusesEmptyAndReservedNames) {
    CPackagePropertiesSheet sheet(doc, false);
    sheet.show();
    auto* name = sheet.namePage()->nameEdit();

    name->setText("");
    EXPECT_FALSE(sheet.setCurrentIndex(2));
    EXPECT_EQ(messages.last(), sheettext::kAppNameEmpty);
    EXPECT_EQ(messages.kinds.last(), MessageKind::Exclamation);

    name->setText("Memo PAD");
    EXPECT_FALSE(sheet.setCurrentIndex(2));
    EXPECT_EQ(messages.last(), QString(sheettext::kAppNameReserved).arg("Memo PAD"));
    EXPECT_EQ(sheet.currentIndex(), 0);

    name->setText("Memo Pad 2004");
    EXPECT_TRUE(sheet.setCurrentIndex(2));
    EXPECT_EQ(messages.texts.size(), 2);
}

TEST_F(PropertiesSheetTest, TextPagesRefuseEmptyValues) {
    CPackagePropertiesSheet sheet(doc, false);
    sheet.show();
    sheet.launcherPage()->nameEdit()->clear();
    sheet.titlePage()->titleEdit()->clear();
    sheet.welcomePage()->textEdit()->clear();
    ASSERT_TRUE(sheet.setCurrentIndex(1));
    EXPECT_FALSE(sheet.setCurrentIndex(2));
    EXPECT_EQ(messages.last(), sheettext::kLauncherNameEmpty);
    sheet.launcherPage()->nameEdit()->setText("Conf");
    ASSERT_TRUE(sheet.setCurrentIndex(2));
    EXPECT_FALSE(sheet.setCurrentIndex(3));
    EXPECT_EQ(messages.last(), sheettext::kTitleEmpty);
    sheet.titlePage()->titleEdit()->setText("Conference");
    ASSERT_TRUE(sheet.setCurrentIndex(3));
    sheet.finish();
    EXPECT_EQ(messages.last(), sheettext::kWelcomeEmpty) << "OK asks the page that is shown";
    EXPECT_EQ(sheet.result(), QDialog::Rejected);
    EXPECT_FALSE(doc.isModified());
}

TEST_F(PropertiesSheetTest, LauncherIconsOfHandheldSizesOnly) {
    QTemporaryDir folder;
    CPackagePropertiesSheet sheet(doc, false);
    CLauncherPage* page = sheet.launcherPage();
    for (int side : {16, 22, 32, 44})
        EXPECT_TRUE(
            page->addImageFile(test::writeBitmap(folder.path(), QString("icon%1.bmp").arg(side), side, side, 4)));
    EXPECT_TRUE(messages.texts.isEmpty());
    for (auto [w, h] : {std::pair{22, 32}, std::pair{24, 24}, std::pair{64, 64}}) {
        EXPECT_FALSE(page->addImageFile(test::writeBitmap(folder.path(), "odd.bmp", w, h, 8)));
        EXPECT_EQ(messages.last(), sheettext::kIconSize);
    }
    EXPECT_FALSE(page->addImageFile(folder.filePath("missing.bmp")));
    EXPECT_EQ(messages.last(), sheettext::kBitmapUnreadable);
    EXPECT_EQ(messages.kinds.last(), MessageKind::Plain);
    ASSERT_EQ(page->images().size(), 4);

    // Deep icons get white as their see-through colour; 4-bit ones none.
    EXPECT_EQ(page->images()[1].transparentColor, -1);
    ASSERT_TRUE(page->addImageFile(test::writeBitmap(folder.path(), "deep.bmp", 22, 22, 24)));
    EXPECT_EQ(page->images().last().transparentColor, 0xFFFFFF);
    EXPECT_EQ(page->sizeText()->text(), "Image size (16 w x 16 h)") << "first entry is previewed";

    page->imageList()->setCurrentRow(0);
    ASSERT_TRUE(page->removeSelectedImage());
    EXPECT_EQ(page->images().size(), 4);
    EXPECT_TRUE(page->images().first().path.endsWith("icon22.bmp"));

    sheet.finish();
    EXPECT_EQ(doc.launcherIcons(), page->images());
    EXPECT_TRUE(doc.isModified());
}

TEST_F(PropertiesSheetTest, LogosMustFitAndShareOneSize) {
    QTemporaryDir folder;
    CPackagePropertiesSheet sheet(doc, false);
    CWelcomePage* page = sheet.welcomePage();
    EXPECT_FALSE(page->addImageFile(test::writeBitmap(folder.path(), "wide.bmp", 161, 80, 8)));
    EXPECT_EQ(messages.last(), sheettext::kLogoTooLarge);
    EXPECT_FALSE(page->addImageFile(test::writeBitmap(folder.path(), "tall.bmp", 160, 81, 8)));
    ASSERT_TRUE(page->addImageFile(test::writeBitmap(folder.path(), "logo.bmp", 160, 80, 8)));
    ASSERT_TRUE(page->addImageFile(test::writeBitmap(folder.path(), "logo2.bmp", 160, 80, 24)));
    EXPECT_FALSE(page->addImageFile(test::writeBitmap(folder.path(), "small.bmp", 80, 40, 8)));
    EXPECT_EQ(messages.last(), sheettext::kLogoSizeMismatch);
    EXPECT_EQ(page->images().first().transparentColor, -1) << "logos keep no transparent colour";

    // Once the list is empty again, any size that fits may start it.
    page->imageList()->setCurrentRow(0);
    ASSERT_TRUE(page->removeSelectedImage());
    page->imageList()->setCurrentRow(0);
    ASSERT_TRUE(page->removeSelectedImage());
    EXPECT_TRUE(page->addImageFile(folder.filePath("small.bmp")));
}

TEST(ImagePaths, StoredPathsResolveAgainstThePackageFolder) {
    EXPECT_EQ(resolveImagePath(".\\art\\logo.bmp", "/p/"), "/p/art/logo.bmp");
    EXPECT_EQ(resolveImagePath("./logo.bmp", "/p/"), "/p/logo.bmp");
    EXPECT_EQ(resolveImagePath("logo.bmp", "/p/"), "/p/logo.bmp");
    EXPECT_EQ(resolveImagePath("..\\logo.bmp", "/p/"), "/p/../logo.bmp");
    EXPECT_EQ(resolveImagePath("/abs/logo.bmp", "/p/"), "/abs/logo.bmp");
    EXPECT_EQ(resolveImagePath("logo.bmp", ""), "logo.bmp");
}

TEST_F(PropertiesSheetTest, GroupRenamesAndRemovalsReachEventsAndContacts) {
    CPackagePropertiesSheet sheet(doc, false);
    CGroupsPage* page = sheet.groupsPage();
    EXPECT_EQ(listTexts(page->groupList()), (QStringList{"Events", "Talks"}));

    renameSelected(page, "Talks", "Sessions");
    EXPECT_EQ(listTexts(page->groupList()), (QStringList{"Events", "Sessions"}));
    page->groupList()->setCurrentItem(page->groupList()->item(0));  // "Events"
    ASSERT_TRUE(page->removeSelectedGroup());
    // The question says where the events go: to the group left first.
    EXPECT_EQ(messages.last(), QString::fromUtf8(sheettext::kDeleteGroup) + "\n\n" +
                                   QString::fromUtf8(sheettext::kDeleteGroupMoves).arg("Sessions"));
    EXPECT_EQ(doc.groups().size(), 2) << "nothing reaches the document before OK";

    sheet.finish();
    ASSERT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(doc.groupNames(), QStringList{"Sessions"});
    for (const EventEntry& event : doc.events()) EXPECT_EQ(event.groupName, "Sessions") << event.title.toStdString();
    EXPECT_EQ(doc.contacts().first().memberGroups, QStringList{"Sessions"});
    EXPECT_TRUE(doc.isModified());
}

TEST_F(PropertiesSheetTest, RemovingARenamedGroupMovesItsEvents) {
    CPackagePropertiesSheet sheet(doc, false);
    CGroupsPage* page = sheet.groupsPage();
    renameSelected(page, "Talks", "Sessions");
    page->groupList()->setCurrentItem(page->groupList()->findItems("Sessions", Qt::MatchExactly).first());
    ASSERT_TRUE(page->removeSelectedGroup());
    sheet.finish();
    EXPECT_EQ(doc.groupNames(), QStringList{"Events"});
    for (const EventEntry& event : doc.events()) EXPECT_EQ(event.groupName, "Events");
    EXPECT_EQ(doc.contacts().first().memberGroups, QStringList{"Events"});
}

TEST_F(PropertiesSheetTest, GroupChecks) {
    CPackagePropertiesSheet sheet(doc, false);
    CGroupsPage* page = sheet.groupsPage();

    // Another group's name is refused, the group's own accepted.
    GroupEntry talks = doc.groups()[1];
    CGroupDetailsDlg details(talks, {"Events", "Talks"});
    details.nameEdit()->setText("Events");
    details.accept();
    EXPECT_EQ(messages.last(), sheettext::kGroupNameUsed);
    EXPECT_EQ(details.result(), QDialog::Rejected);
    details.nameEdit()->setText("Talks");
    details.descriptionEdit()->setPlainText(QString(8001, 'x'));
    details.accept();
    EXPECT_EQ(messages.last(), "Please enter no more than 8000 characters.");
    details.descriptionEdit()->setPlainText("Afternoon");
    details.accept();
    EXPECT_EQ(details.result(), QDialog::Accepted);
    EXPECT_EQ(talks.description, "Afternoon");
    EXPECT_TRUE(talks.previousName.isEmpty());

    // Two groups added in one run may not share a name.
    test::answerNextDialog<CGroupDetailsDlg>([](CGroupDetailsDlg* d) {
        d->nameEdit()->setText("Posters");
        d->accept();
    });
    ASSERT_TRUE(page->addGroup());
    test::answerNextDialog<CGroupDetailsDlg>([](CGroupDetailsDlg* d) {
        d->nameEdit()->setText("Posters");
        d->accept();
        d->reject();
    });
    EXPECT_FALSE(page->addGroup());
    EXPECT_EQ(messages.last(), sheettext::kGroupNameUsed);
    test::answerNextDialog<CGroupDetailsDlg>([](CGroupDetailsDlg* d) {
        d->accept();
        d->reject();
    });
    EXPECT_FALSE(page->addGroup());
    EXPECT_EQ(messages.last(), sheettext::kGroupNameEmpty);
}

TEST_F(PropertiesSheetTest, TheLastGroupStays) {
    CPackagePropertiesSheet sheet(doc, false);
    CGroupsPage* page = sheet.groupsPage();
    page->groupList()->setCurrentRow(0);
    messages.confirmAnswer = false;
    EXPECT_FALSE(page->removeSelectedGroup());
    EXPECT_TRUE(messages.last().startsWith(sheettext::kDeleteGroup));
    messages.confirmAnswer = true;
    page->groupList()->setCurrentRow(0);
    ASSERT_TRUE(page->removeSelectedGroup());
    page->groupList()->setCurrentRow(0);
    const int asked = messages.texts.size();
    EXPECT_FALSE(page->removeSelectedGroup());
    EXPECT_EQ(messages.texts.size(), asked + 1) << "refused before the question";
    EXPECT_EQ(messages.last(), sheettext::kLastGroup);
}

TEST_F(PropertiesSheetTest, CancelAndUnchangedOkLeaveTheDocumentAlone) {
    const QString title = doc.title();
    {
        CPackagePropertiesSheet sheet(doc, false);
        sheet.titlePage()->titleEdit()->setText("Other");
        sheet.navigationPage()->radio(kNavigationNone)->setChecked(true);
        renameSelected(sheet.groupsPage(), "Talks", "Sessions");
        sheet.button(CSheetDialog::Button::Cancel)->click();
        EXPECT_EQ(sheet.result(), QDialog::Rejected);
    }
    EXPECT_EQ(doc.title(), title);
    EXPECT_EQ(doc.navigationLevel(), kNavigationEvents);
    EXPECT_EQ(doc.groupNames(), (QStringList{"Events", "Talks"}));
    EXPECT_FALSE(doc.isModified());

    CPackagePropertiesSheet sheet(doc, false);
    sheet.finish();
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_FALSE(doc.isModified());
}

TEST_F(PropertiesSheetTest, NavigationChoices) {
    doc.setPropertiesUnchecked(7, doc.appFileName(), doc.title(), doc.launcherName(), doc.welcomeText(),
                               doc.infoText());
    CPackagePropertiesSheet sheet(doc, false);
    EXPECT_TRUE(sheet.navigationPage()->radio(kNavigationEvents)->isChecked())
        << "unknown level shows the first choice";
    sheet.navigationPage()->radio(kNavigationGroups)->setChecked(true);
    sheet.finish();
    EXPECT_EQ(doc.navigationLevel(), kNavigationGroups);
}

TEST_F(PropertiesSheetTest, WizardButtonsChecksAndHelp) {
    QList<int> helpContexts;
    setHelpContextHandler([&](int context) { helpContexts << context; });
    CPackagePropertiesSheet wizard(doc, true);
    wizard.show();
    EXPECT_EQ(wizard.windowTitle(), "New Calendar Package Wizard");
    auto visible = [&](CSheetDialog::Button b) { return wizard.button(b)->isVisible(); };

    EXPECT_FALSE(visible(CSheetDialog::Button::Back));
    EXPECT_TRUE(visible(CSheetDialog::Button::Next));
    EXPECT_FALSE(visible(CSheetDialog::Button::Finish));
    wizard.button(CSheetDialog::Button::Help)->click();

    for (int page = 1; page < 7; ++page) {
        wizard.button(CSheetDialog::Button::Next)->click();
        ASSERT_EQ(wizard.currentIndex(), page);
        wizard.button(CSheetDialog::Button::Help)->click();
    }
    EXPECT_TRUE(visible(CSheetDialog::Button::Back));
    EXPECT_FALSE(visible(CSheetDialog::Button::Next));
    EXPECT_TRUE(visible(CSheetDialog::Button::Finish));
    EXPECT_EQ(helpContexts, (QList<int>{130, 131, 146, 134, 133})) << "Launcher and Info have no manual page";

    // Back runs the page check too.
    wizard.setCurrentIndex(2);
    wizard.titlePage()->titleEdit()->clear();
    wizard.button(CSheetDialog::Button::Back)->click();
    EXPECT_EQ(wizard.currentIndex(), 2);
    EXPECT_EQ(messages.last(), sheettext::kTitleEmpty);
    setHelpContextHandler({});
}
