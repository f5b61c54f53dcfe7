// The main window as a daily user meets it: prompts, columns, feedback after
// commands, undo and redo, the find box and the repeat marker.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>

#include "ui_test_support.h"
#include "editor/document/CSkedlinDoc.h"
#include "editor/document/ProgramDirectory.h"
#include "editor/ui/CMainFrame.h"
#include "editor/ui/CPackagePropertiesSheet.h"
#include "editor/ui/CSkedlinView.h"
#include "editor/ui/Commands.h"
#include "editor/ui/EntryListModel.h"
#include "editor/ui/ListSorting.h"

namespace skedlin {
namespace {

using test::contact;
using test::event;

class EditorUx : public ::testing::Test {
protected:
    void SetUp() override {
        test::clearProfile();
        ASSERT_TRUE(folder.isValid());
        // The reader needs the DTD beside the program; no builder is there.
        ASSERT_TRUE(QFile::copy(QStringLiteral(SKEDLIN_BIN_DIR "/CalendarPackage.dtd"),
                                folder.filePath("CalendarPackage.dtd")));
        setProgramDirectory(folder.path() + QLatin1Char('/'));
        frame = std::make_unique<CMainFrame>();
        frame->show();
        view = frame->view();
        doc = frame->document();
        doc->newDocument(nullptr);
        view->documentReplaced();
    }

    QString cell(int row, int column) const {
        return view->listModel()->data(view->listModel()->index(row, column), Qt::DisplayRole).toString();
    }
    QStringList shownTitles() const {
        QStringList titles;
        for (int row = 0; row < view->listModel()->rowCount(); ++row) titles.append(cell(row, kEventColumnTitle));
        return titles;
    }
    QString savedPackage(const char* name) {
        const QString path = folder.filePath(QLatin1String(name));
        EXPECT_TRUE(doc->saveDocument(path).ok());
        return path;
    }

    QTemporaryDir folder;
    std::unique_ptr<CMainFrame> frame;
    CSkedlinView* view = nullptr;
    CSkedlinDoc* doc = nullptr;
};

TEST_F(EditorUx, FileOpenAsksToSaveChangesOnlyOnce) {
    doc->addEvent(event("Saved", 1));
    const QString path = savedPackage("open.xml");
    doc->addEvent(event("Unsaved", 2));
    int questions = 0;
    test::withModalAnswer([&] { frame->action(ID_FILE_OPEN)->trigger(); },
                          [&](QWidget* dialog) {
                              if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
                                  ++questions;
                                  box->button(QMessageBox::No)->click();
                              } else if (auto* files = qobject_cast<QFileDialog*>(dialog)) {
                                  test::acceptFileDialog(files, path);
                              } else {
                                  static_cast<QDialog*>(dialog)->reject();
                              }
                          });
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(doc->events().size(), 1);
    EXPECT_FALSE(doc->isModified());
}

TEST_F(EditorUx, CancellingTheNewPackageWizardKeepsTheOpenPackage) {
    doc->addEvents({event("One", 1), event("Two", 2), event("Three", 3)});
    savedPackage("kept.xml");
    int rowsDuringWizard = -1;
    QString firstCellDuringWizard;
    test::withModalAnswer([&] { frame->action(ID_FILE_NEW)->trigger(); },
                          [&](QWidget* dialog) {
                              if (qobject_cast<CPackagePropertiesSheet*>(dialog)) {
                                  // The list behind the wizard still shows the package it belongs to.
                                  rowsDuringWizard = view->listModel()->rowCount();
                                  firstCellDuringWizard = cell(0, kEventColumnTitle);
                              }
                              static_cast<QDialog*>(dialog)->reject();
                          });
    EXPECT_EQ(rowsDuringWizard, 3);
    EXPECT_EQ(firstCellDuringWizard, "One");
    EXPECT_EQ(doc->events().size(), 3);
    EXPECT_FALSE(doc->isModified());
    EXPECT_FALSE(doc->pathName().isEmpty());
}

TEST_F(EditorUx, ACommandClearsTheHoverPromptFromTheStatusBar) {
    const QString prompt = commandStatusTip(ID_EDIT_CUT);
    QStatusTipEvent hover(prompt);
    QApplication::sendEvent(frame.get(), &hover);
    ASSERT_EQ(frame->messagePaneText(), prompt);
    frame->action(ID_EDIT_SELECT_ALL)->trigger();
    EXPECT_EQ(frame->messagePaneText(), "Ready");
}

TEST_F(EditorUx, TimesShowWithoutSecondsAndTheLastColumnTakesTheFreeWidth) {
    const QLocale saved;
    QLocale::setDefault(QLocale::c());
    EventEntry timed = event("Dinner", 4);
    timed.allDay = 0;
    timed.startTime = DateTimeValue::fromTime(QTime(18, 0));
    timed.endTime = DateTimeValue::fromTime(QTime(19, 30));
    doc->addEvent(timed);
    view->fillList();
    EXPECT_EQ(cell(0, kEventColumnStartTime), "18:00");
    EXPECT_EQ(cell(0, kEventColumnEndTime), "19:30");
    QLocale::setDefault(saved);

    frame->resize(1100, 600);
    QApplication::processEvents();
    QHeaderView* header = view->header();
    const int last = header->logicalIndex(header->count() - 1);
    EXPECT_EQ(header->sectionViewportPosition(last) + header->sectionSize(last), view->viewport()->width());
}

TEST_F(EditorUx, ImportSaysWhatItAddedAndShowsTheListThatGotIt) {
    const QString path = folder.filePath("people.vcf");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Doe;Jane\r\nEND:VCARD\r\n"
        "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Roe;Rick\r\nEND:VCARD\r\n");
    file.close();
    ASSERT_TRUE(view->isEventMode());
    test::withModalAnswer([&] { view->importPath(path); },
                          [](QWidget* dialog) { static_cast<QDialog*>(dialog)->accept(); });
    EXPECT_FALSE(view->isEventMode());
    EXPECT_EQ(view->listModel()->rowCount(), 2);
    EXPECT_EQ(frame->messagePaneText(), "Imported 2 contact(s) from people.vcf.");
    // The import is one step: one undo takes both contacts back.
    doc->undo();
    EXPECT_TRUE(doc->contacts().isEmpty());
}

TEST_F(EditorUx, TheImportDialogOffersEverySupportedFileFirst) {
    QString title;
    QStringList filters;
    test::withModalAnswer([&] { frame->action(ID_IMPORT)->trigger(); },
                          [&](QWidget* dialog) {
                              if (auto* files = qobject_cast<QFileDialog*>(dialog)) {
                                  title = files->windowTitle();
                                  filters = files->nameFilters();
                              }
                              static_cast<QDialog*>(dialog)->reject();
                          });
    EXPECT_EQ(title, "Import");
    ASSERT_FALSE(filters.isEmpty());
    EXPECT_EQ(filters.first(), "All supported files (*.dba *.vcs *.ics *.vcf *.csv)");
}

TEST_F(EditorUx, PasteSelectsTheCopiesAndTheGroupMenuChecksMemberships) {
    doc->addEvents({event("A", 1), event("B", 2, "Talks")});
    view->selectEntries({0});
    frame->action(ID_EDIT_COPY)->trigger();
    frame->action(ID_EDIT_PASTE)->trigger();
    EXPECT_EQ(view->selectedEntries(), QList<int>{2});

    view->selectEntries({1});
    frame->rebuildGroupMenu();
    QStringList checked;
    for (QAction* item : frame->groupMenu()->actions()) {
        if (item->isChecked()) checked.append(item->text());
    }
    EXPECT_EQ(checked, QStringList{"Talks"});

    doc->addContacts({contact(1, "Doe", {"Talks", "Events"}), contact(2, "Roe", {"Talks"})});
    view->showContacts();
    view->selectEntries({0, 1});
    frame->rebuildGroupMenu();
    checked.clear();
    for (QAction* item : frame->groupMenu()->actions()) {
        if (item->isChecked()) checked.append(item->text());
    }
    EXPECT_EQ(checked, QStringList{"Talks"});  // Events holds only one of the two
}

TEST_F(EditorUx, UndoAndRedoFollowTheEditMenuAndTheSavedState) {
    doc->addEvents({event("A", 1), event("B", 2), event("C", 3)});
    savedPackage("undo.xml");
    QAction* undo = frame->action(ID_EDIT_UNDO);
    QAction* redo = frame->action(ID_EDIT_REDO);
    view->selectEntries({0, 2});
    test::withModalAnswer([&] { frame->action(ID_EDIT_DELETE)->trigger(); },
                          [](QWidget* dialog) { static_cast<QMessageBox*>(dialog)->button(QMessageBox::Ok)->click(); });
    ASSERT_EQ(shownTitles(), QStringList{"B"});
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->text(), "&Undo Delete\tCtrl+Z");
    EXPECT_TRUE(frame->isWindowModified());

    undo->trigger();
    EXPECT_EQ(shownTitles(), (QStringList{"A", "B", "C"}));
    EXPECT_FALSE(frame->isWindowModified());
    EXPECT_TRUE(redo->isEnabled());
    EXPECT_EQ(redo->text(), "&Redo Delete\tCtrl+Y");
    EXPECT_TRUE(redo->shortcuts().contains(QKeySequence("Ctrl+Shift+Z")));

    redo->trigger();
    EXPECT_EQ(shownTitles(), QStringList{"B"});
    EXPECT_TRUE(frame->isWindowModified());
}

TEST_F(EditorUx, TheFindBoxNarrowsTheListIgnoringCaseAndAccents) {
    EventEntry noted = event("Board meeting", 3);
    noted.note = QStringLiteral("Bring the Résumé");
    doc->addEvents({event("Résumé review", 1), event("Lunch", 2), noted});
    frame->action(ID_EDIT_FIND)->trigger();
    EXPECT_EQ(frame->focusWidget(), frame->findBox());
    QTest::keyClicks(frame->findBox(), "RESUME");
    EXPECT_EQ(shownTitles(), (QStringList{"Résumé review", "Board meeting"}));
    QTest::keyClicks(frame->findBox(), " r");
    EXPECT_EQ(shownTitles(), QStringList{"Résumé review"});
    // Return goes on to the list; it opens nothing while the cursor is in the box.
    view->selectEntries({0});
    int dialogs = 0;
    test::withModalAnswer([&] { QTest::keyClick(frame->findBox(), Qt::Key_Return); },
                          [&](QWidget* dialog) {
                              ++dialogs;
                              static_cast<QDialog*>(dialog)->reject();
                          });
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(frame->focusWidget(), view);
    frame->findBox()->setFocus();

    // The filter stays while the document changes, and Escape ends it.
    doc->addEvent(event("resume writing", 4));
    doc->updateAllViews();
    EXPECT_EQ(shownTitles(), QStringList{"Résumé review"});
    QTest::keyClick(frame->findBox(), Qt::Key_Escape);
    EXPECT_EQ(view->listModel()->rowCount(), 4);

    doc->addContacts({contact(1, "Müller"), contact(2, "Smith")});
    view->showContacts();
    QTest::keyClicks(frame->findBox(), "mull");
    ASSERT_EQ(view->listModel()->rowCount(), 1);
    EXPECT_EQ(cell(0, kContactColumnLastName), "Müller");
}

TEST_F(EditorUx, RepeatingEventsCarryAMarkerAndTheRepeatInWords) {
    EventEntry weekly = event("Standup", 6);  // 6 January 2003, a Monday
    weekly.repeatType = kRepeatWeekly;
    weekly.frequency = 2;
    weekly.repeatOnMask = 0x22;  // Monday and Friday
    weekly.repeatEndDate = DateTimeValue::fromDate(2003, 3, 31);
    doc->addEvents({weekly, event("Once", 7)});
    const QLocale saved;
    QLocale::setDefault(QLocale::c());
    EntryListModel* model = view->listModel();
    const QModelIndex repeating = model->index(model->rowOfEntry(0), kEventColumnTitle);
    const QModelIndex single = model->index(model->rowOfEntry(1), kEventColumnTitle);
    EXPECT_FALSE(model->data(repeating, Qt::DecorationRole).isNull());
    EXPECT_TRUE(model->data(repeating, Qt::ToolTipRole)
                    .toString()
                    .startsWith("Repeats every 2 weeks on Monday and Friday until "));
    EXPECT_TRUE(model->data(single, Qt::DecorationRole).isNull());
    EXPECT_TRUE(model->data(single, Qt::ToolTipRole).isNull());
    QLocale::setDefault(saved);
}

TEST_F(EditorUx, BuildOffersToSaveFirst) {
    doc->addEvent(event("A", 1));
    savedPackage("build.xml");
    doc->addEvent(event("B", 2));
    bool offered = false;
    test::withModalAnswer([&] { frame->action(ID_BUILD)->trigger(); },
                          [&](QWidget* dialog) {
                              if (auto* button = dialog->findChild<QPushButton*>("saveAndBuild")) {
                                  offered = true;
                                  button->click();
                              } else {
                                  static_cast<QDialog*>(dialog)->accept();  // the build's own outcome
                              }
                          });
    EXPECT_TRUE(offered);
    EXPECT_FALSE(doc->isModified());
    CSkedlinDoc reread;
    ASSERT_TRUE(reread.openDocument(doc->pathName()).ok());
    EXPECT_EQ(reread.events().size(), 2);
}

}  // namespace
}  // namespace skedlin
