// Working a sheet with the keyboard alone, and opening files with the
// desktop's programs when there are none.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "sheet_test_support.h"
#include "editor/document/CSkedlinDoc.h"
#include "editor/document/ProgramDirectory.h"
#include "editor/ui/BuildDialogs.h"
#include "editor/ui/CAboutDlg.h"
#include "editor/ui/CContactGeneral.h"
#include "editor/ui/CContactSheet.h"
#include "editor/ui/CEventGeneral.h"
#include "editor/ui/CEventRepeat.h"
#include "editor/ui/CEventSheet.h"
#include "editor/ui/CPackagePropertiesSheet.h"
#include "editor/ui/ImageListPages.h"
#include "editor/ui/NotePages.h"
#include "editor/ui/PackageTextPages.h"
#include "editor/ui/SheetHelp.h"
#include "editor/ui/UiText.h"

using namespace skedlin;
using test::MessageLog;

namespace {

// The widget that has the keyboard inside a dialog, whether or not the
// offscreen window system made the dialog the active window.
QWidget* keyboardWidget(QWidget* dialog) { return dialog->focusWidget(); }

void pressTab(QWidget* dialog) { QTest::keyClick(keyboardWidget(dialog), Qt::Key_Tab); }

}  // namespace

TEST(Keyboard, EverySheetOpensWithTheCursorInItsFirstField) {
    MessageLog messages;
    EventEntry event;
    CEventSheet eventSheet("New Event", event, {"Events"});
    eventSheet.show();
    ASSERT_EQ(keyboardWidget(&eventSheet), eventSheet.generalPage()->titleEdit());
    QTest::keyClicks(keyboardWidget(&eventSheet), "Lunch");
    EXPECT_EQ(eventSheet.generalPage()->titleEdit()->text(), "Lunch");

    // Tab walks the name fields in reading order, then the address.
    ContactEntry contact;
    CContactSheet contactSheet("New Contact", contact, {"Events"});
    contactSheet.show();
    CContactGeneral* general = contactSheet.generalPage();
    const QList<QWidget*> order = {general->lastNameEdit(), general->firstNameEdit(), general->titleEdit(),
                                   general->companyEdit(),  general->streetEdit(),    general->cityEdit()};
    for (int i = 0; i < order.size(); ++i) {
        ASSERT_EQ(keyboardWidget(&contactSheet), order[i]) << "field " << i;
        pressTab(&contactSheet);
    }

    CSkedlinDoc doc;
    doc.newDocument(nullptr);
    CPackagePropertiesSheet wizard(doc, true);
    wizard.show();
    EXPECT_TRUE(qobject_cast<QLineEdit*>(keyboardWidget(&wizard))) << "the application name field";
    // Each page the wizard moves to starts in its own first field.
    wizard.next();
    ASSERT_TRUE(keyboardWidget(&wizard));
    EXPECT_TRUE(wizard.currentPage()->isAncestorOf(keyboardWidget(&wizard)));
}

TEST(Keyboard, TabLeavesMultiLineFieldsWithoutTypingATab) {
    MessageLog messages;
    ContactEntry contact;
    contact.lastName = "Doe";
    CContactSheet sheet("Contact Details", contact, {"Events"});
    sheet.show();
    ASSERT_TRUE(sheet.setCurrentIndex(2));
    QPlainTextEdit* notes = sheet.notesPage()->noteEdit();
    ASSERT_EQ(keyboardWidget(&sheet), notes);
    QTest::keyClicks(notes, "Call first");
    QTest::keyClick(notes, Qt::Key_Tab);
    EXPECT_EQ(notes->toPlainText(), "Call first");
    EXPECT_NE(keyboardWidget(&sheet), notes);

    CSkedlinDoc doc;
    doc.newDocument(nullptr);
    CPackagePropertiesSheet properties(doc, false);
    properties.show();
    for (QPlainTextEdit* edit : properties.findChildren<QPlainTextEdit*>()) {
        edit->setPlainText("Text");
        QTest::keyClick(edit, Qt::Key_Tab);
        EXPECT_EQ(edit->toPlainText(), "Text") << edit->parentWidget()->metaObject()->className();
    }
}

TEST(Keyboard, WeeklyRepeatTicksTheWeekdayOfTheDateNowShown) {
    MessageLog messages;
    EventEntry event;
    event.title = "Standup";
    event.groupName = "Events";
    event.date = DateTimeValue::fromDate(QDate(2003, 1, 6));  // a Monday
    CEventSheet sheet("New Event", event, {"Events"});
    sheet.show();
    sheet.generalPage()->dateEdit()->setDate(QDate(2003, 1, 8));  // a Wednesday
    ASSERT_TRUE(sheet.setCurrentIndex(1));
    CEventRepeat* repeat = sheet.repeatPage();
    repeat->repeatList()->setCurrentIndex(kListWeek);
    EXPECT_TRUE(repeat->weekdayCheck(3)->isChecked());
    EXPECT_FALSE(repeat->weekdayCheck(1)->isChecked());

    // Weekdays the user ticked stay as they are when the date changes again.
    repeat->weekdayCheck(5)->setChecked(true);
    ASSERT_TRUE(sheet.setCurrentIndex(0));
    sheet.generalPage()->dateEdit()->setDate(QDate(2003, 1, 7));
    ASSERT_TRUE(sheet.setCurrentIndex(1));
    EXPECT_TRUE(repeat->weekdayCheck(3)->isChecked());
    EXPECT_TRUE(repeat->weekdayCheck(5)->isChecked());
    EXPECT_FALSE(repeat->weekdayCheck(2)->isChecked());

    // A stored weekly event keeps the weekdays it was stored with.
    EventEntry stored = event;
    stored.repeatType = kRepeatWeekly;
    stored.repeatOnMask = 0x02;  // Monday
    CEventSheet details("Event Details", stored, {"Events"});
    details.show();
    details.generalPage()->dateEdit()->setDate(QDate(2003, 1, 10));
    ASSERT_TRUE(details.setCurrentIndex(1));
    EXPECT_TRUE(details.repeatPage()->weekdayCheck(1)->isChecked());
    EXPECT_FALSE(details.repeatPage()->weekdayCheck(5)->isChecked());
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.last().toStdString();
}

TEST(Keyboard, DialogsHaveNoMinimiseOrMaximiseButtons) {
    EventEntry event;
    CEventSheet sheet("New Event", event, {"Events"});
    CAboutDlg about;
    CBuildSuccessDlg built("/tmp/a.prc", "/tmp/a.cab");
    CBuildErrorDlg failed("message", "details", "/tmp/a.xml");
    for (QWidget* dialog : std::initializer_list<QWidget*>{&sheet, &about, &built, &failed}) {
        const Qt::WindowFlags flags = dialog->windowFlags();
        EXPECT_TRUE(flags & Qt::WindowCloseButtonHint) << dialog->metaObject()->className();
        EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint))
            << dialog->metaObject()->className();
    }
}

// A desktop whose opener finds no program for anything: the commands that
// hand a file to the desktop must say so instead of doing nothing.
class NoDesktopProgram : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(bin.isValid());
        QFile opener(bin.filePath("xdg-open"));
        ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
        opener.write("#!/bin/sh\nexit 3\n");
        opener.close();
        opener.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        savedPath = qgetenv("PATH");
        qputenv("PATH", bin.path().toLocal8Bit() + ":" + savedPath);
        savedDirectory = programDirectory();
    }
    void TearDown() override {
        qputenv("PATH", savedPath);
        setProgramDirectory(savedDirectory);
    }
    // Waits for the opener's verdict.
    static void waitForMessage(const MessageLog& messages) {
        QElapsedTimer timer;
        timer.start();
        while (messages.texts.isEmpty() && timer.elapsed() < 10000) QTest::qWait(20);
    }

    QTemporaryDir bin;
    QByteArray savedPath;
    QString savedDirectory;
};

TEST_F(NoDesktopProgram, HelpSaysTheManualCouldNotBeOpened) {
    QTemporaryDir install;
    QDir(install.path()).mkdir("help");
    QFile page(install.filePath("help/index.html"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.close();
    setProgramDirectory(install.path() + '/');
    MessageLog messages;
    openHelpContext(1);
    waitForMessage(messages);
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.last().startsWith("The Skedlin User Manual could not be opened."))
        << messages.last().toStdString();
}

TEST_F(NoDesktopProgram, EditSourceAndOpenFolderSaySoToo) {
    MessageLog messages;
    CBuildErrorDlg failed("message", "details", "/tmp/package.xml");
    failed.findChild<QPushButton*>("editSource")->click();
    waitForMessage(messages);
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_EQ(messages.last(), QString::fromUtf8(uitext::kSourceNotOpened).arg("/tmp/package.xml"));

    CBuildSuccessDlg built("/tmp/out/a.prc", "/tmp/out/a.cab");
    built.findChild<QPushButton*>("openFolder")->click();
    messages.texts.clear();
    waitForMessage(messages);
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_EQ(messages.last(), QString::fromUtf8(uitext::kFolderNotOpened).arg("/tmp/out"));
}

TEST(ImageLists, ShowTheFileNameFirstAndTheWholePathAsToolTip) {
    const ImageList icons = {ImageReference{"/tmp/very/long/folder/LauncherIcon16.bmp", kNoTransparentColor, {}},
                             ImageReference{"/tmp/very/long/folder/LauncherIcon32.bmp", kNoTransparentColor, {}}};
    CLauncherPage page("Group", icons, "/tmp/");
    QListWidget* list = page.imageList();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), "LauncherIcon16.bmp  (/tmp/very/long/folder)");
    EXPECT_EQ(list->item(1)->toolTip(), "/tmp/very/long/folder/LauncherIcon32.bmp");
}
