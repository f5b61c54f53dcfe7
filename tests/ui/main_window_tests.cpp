#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QTest>
#include <QLineEdit>
#include <QTimeEdit>
#include <QToolBar>
#include <QtEndian>

#include "ui_test_support.h"
#include "editor/document/CSkedlinDoc.h"
#include "editor/ui/CEventGeneral.h"
#include "editor/ui/CEventSheet.h"
#include "editor/ui/CMainFrame.h"
#include "editor/ui/CSkedlinView.h"
#include "editor/ui/Commands.h"
#include "editor/ui/EntryListModel.h"

namespace skedlin {
namespace {

using test::contact;
using test::event;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::clearProfile();
        frame = std::make_unique<CMainFrame>();
        frame->show();
        view = frame->view();
        doc = frame->document();
    }

    void selectEntries(const QList<int>& entries) {
        view->clearSelection();
        for (int entry : entries) {
            const int row = view->listModel()->rowOfEntry(entry);
            view->selectionModel()->select(view->listModel()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }

    QStringList eventTitles() const {
        QStringList titles;
        for (const EventEntry& entry : doc->events()) titles.append(entry.title);
        return titles;
    }

    std::unique_ptr<CMainFrame> frame;
    CSkedlinView* view = nullptr;
    CSkedlinDoc* doc = nullptr;
};

TEST_F(MainWindowTest, MenusAndToolbarFollowTheCommandTable) {
    QStringList menus;
    for (QAction* item : frame->menuBar()->actions()) menus.append(item->text());
    EXPECT_EQ(menus, (QStringList{"&File", "&Edit", "&View", "&Calendar", "&Help"}));
    QStringList editItems;
    for (QAction* item : frame->editMenu()->actions()) editItems.append(item->isSeparator() ? "-" : item->text());
    EXPECT_EQ(editItems, (QStringList{"&Undo\tCtrl+Z", "&Redo\tCtrl+Y", "-", "Cu&t\tCtrl+X", "&Copy\tCtrl+C",
                                      "&Paste\tCtrl+V", "&Delete\tDel, Ctrl+D", "-", "&Select All\tCtrl+A",
                                      "&Find\tCtrl+F", "-", "&Group", "&New...\tIns"}));
    QAction* saveAs = frame->action(ID_FILE_SAVE_AS);
    EXPECT_EQ(saveAs->text(), QStringLiteral("Save &As...\tShft+Ctrl+S"));
    EXPECT_EQ(saveAs->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    EXPECT_EQ(frame->action(ID_BUILD)->statusTip(), QStringLiteral("Build the calendar package for distribution."));
    EXPECT_EQ(frame->action(ID_BUILD)->toolTip(), QStringLiteral("Build"));
    EXPECT_TRUE(frame->action(ID_EDIT_COPY)->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+Ins"))));
}

TEST_F(MainWindowTest, ModeSwitchesEnableTheOtherListAndShowCounts) {
    doc->addEvent(event("a", 1));
    doc->addEvent(event("b", 2));
    doc->addEvent(event("c", 3));
    doc->updateAllViews();
    EXPECT_EQ(frame->countPaneText(), QStringLiteral("3 Event(s)"));
    EXPECT_FALSE(frame->action(ID_VIEW_EVENTS)->isEnabled());
    EXPECT_FALSE(frame->action(ID_DETAILS)->isEnabled());

    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    QTest::keyClick(view, Qt::Key_T, Qt::ControlModifier);
    EXPECT_FALSE(view->isEventMode());
    EXPECT_EQ(frame->countPaneText(), QString());  // no contacts: empty pane
    EXPECT_EQ(view->listModel()->columnCount(), 4);
    EXPECT_EQ(view->listModel()->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("Member of Groups"));
    QTest::keyClick(view, Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(view->isEventMode());
    EXPECT_EQ(view->listModel()->data(view->listModel()->index(0, 1), Qt::DisplayRole).toString(), "-");
}

TEST_F(MainWindowTest, CutThenPasteReaddsEventsAtTheEndAndPasteFollowsTheMode) {
    for (int day = 1; day <= 5; ++day) doc->addEvent(event(QStringLiteral("e%1").arg(day), day));
    doc->updateAllViews();
    doc->setModified(false);
    EXPECT_FALSE(frame->action(ID_EDIT_PASTE)->isEnabled());
    selectEntries({0, 2, 3});
    EXPECT_TRUE(frame->action(ID_EDIT_CUT)->isEnabled());
    EXPECT_FALSE(frame->action(ID_DETAILS)->isEnabled());  // three selected
    frame->action(ID_EDIT_CUT)->trigger();
    EXPECT_EQ(eventTitles(), (QStringList{"e2", "e5"}));
    EXPECT_TRUE(doc->isModified());
    EXPECT_TRUE(frame->action(ID_EDIT_PASTE)->isEnabled());

    view->showContacts();
    EXPECT_FALSE(frame->action(ID_EDIT_PASTE)->isEnabled());  // only events were copied
    view->showEvents();
    frame->action(ID_EDIT_PASTE)->trigger();
    EXPECT_EQ(eventTitles(), (QStringList{"e2", "e5", "e1", "e3", "e4"}));
    EXPECT_EQ(frame->countPaneText(), QStringLiteral("5 Event(s)"));
}

TEST_F(MainWindowTest, DeleteAsksFirstAndCancelKeepsEverything) {
    doc->addEvent(event("keep", 1));
    doc->addEvent(event("go", 2));
    doc->updateAllViews();
    selectEntries({1});
    QString question;
    test::withModalAnswer([&] { frame->action(ID_EDIT_DELETE)->trigger(); },
                          [&](QWidget* dialog) {
                              question = test::dialogText(dialog);
                              static_cast<QMessageBox*>(dialog)->button(QMessageBox::Cancel)->click();
                          });
    EXPECT_TRUE(question.contains("Delete selected items?"));
    EXPECT_EQ(eventTitles(), (QStringList{"keep", "go"}));
    test::withModalAnswer([&] { frame->action(ID_EDIT_DELETE)->trigger(); },
                          [](QWidget* dialog) { static_cast<QMessageBox*>(dialog)->button(QMessageBox::Ok)->click(); });
    EXPECT_EQ(eventTitles(), (QStringList{"keep"}));
}

TEST_F(MainWindowTest, GroupSubmenuAssignsEventsAndTogglesContacts) {
    doc->addEvent(event("x", 1, "Events"));
    doc->addEvent(event("y", 2, "Talks & Walks"));
    doc->addContact(contact(1, "A", {"Talks & Walks"}));
    doc->addContact(contact(2, "B"));
    doc->addContact(contact(3, "C"));
    doc->updateAllViews();
    frame->rebuildGroupMenu();
    const QList<QAction*> groupItems = frame->groupMenu()->actions();
    ASSERT_EQ(groupItems.size(), 2);
    EXPECT_EQ(groupItems[1]->text(), QStringLiteral("Talks && Walks"));  // shown, not a mnemonic

    selectEntries({0});
    groupItems[1]->trigger();
    EXPECT_EQ(doc->events()[0].groupName, QStringLiteral("Talks & Walks"));

    view->showContacts();
    selectEntries({0, 1, 2});
    doc->setModified(false);
    frame->groupMenu()->actions()[1]->trigger();
    for (const ContactEntry& entry : doc->contacts()) EXPECT_TRUE(entry.isMemberOf("Talks & Walks"));
    EXPECT_EQ(doc->contacts()[0].memberGroups.size(), 1);
    EXPECT_TRUE(doc->isModified());
    frame->groupMenu()->actions()[1]->trigger();
    for (const ContactEntry& entry : doc->contacts()) EXPECT_FALSE(entry.isMemberOf("Talks & Walks"));
}

TEST_F(MainWindowTest, SortSettingsAndColumnWidthsAreStoredAndReadBack) {
    doc->addEvent(event("b", 1));
    doc->addEvent(event("a", 2));
    doc->updateAllViews();
    view->sortByColumn(0);  // Date again: descending
    EXPECT_EQ(view->listModel()->entryIndex(0), 1);
    view->sortByColumn(3);  // Title: ascending
    EXPECT_FALSE(view->listModel()->sortDescending());
    EXPECT_EQ(view->listModel()->entryIndex(0), 1);
    view->setColumnWidth(1, 133);       // not the last column, which takes the free width
    view->header()->moveSection(4, 0);  // Group first
    view->showContacts();               // saves the event settings

    QSettings profile(QStringLiteral("Quenby Software"), QStringLiteral("Skedlin"));
    EXPECT_EQ(profile.value("Columns/EventSort").toInt(), 3);
    EXPECT_EQ(profile.value("Columns/EventSortDescending").toInt(), 0);
    EXPECT_EQ(profile.value("Columns/StartTime").toInt(), 133);
    const QByteArray order = profile.value("Columns/ColumnOrder").toByteArray();
    ASSERT_EQ(order.size(), 20);
    EXPECT_EQ(qFromLittleEndian<qint32>(order.constData()), 4);

    CMainFrame second;
    EXPECT_EQ(second.view()->listModel()->sortColumn(), 3);
    EXPECT_EQ(second.view()->columnWidth(1), 133);
    EXPECT_EQ(second.view()->header()->logicalIndex(0), 4);
}

TEST_F(MainWindowTest, AStoredColumnOrderOfAnotherSizeIsIgnored) {
    {
        QSettings profile(QStringLiteral("Quenby Software"), QStringLiteral("Skedlin"));
        profile.setValue("Columns/ColumnOrder", QByteArray(16, '\0'));
        profile.setValue("Columns/EventSortDescending", 7);  // any non-zero reads as true
    }
    CMainFrame second;
    for (int i = 0; i < 5; ++i) EXPECT_EQ(second.view()->header()->logicalIndex(i), i);
    EXPECT_TRUE(second.view()->listModel()->sortDescending());
}

TEST_F(MainWindowTest, ClosingStoresPlacementAndBarsUnderTheirNames) {
    doc->setModified(false);
    frame->action(ID_VIEW_TOOLBAR)->trigger();  // hide the toolbar
    EXPECT_TRUE(frame->toolbar()->isHidden());
    frame->setGeometry(40, 60, 700, 500);
    frame->showMinimized();
    ASSERT_TRUE(frame->close());

    QSettings profile(QStringLiteral("Quenby Software"), QStringLiteral("Skedlin"));
    EXPECT_EQ(profile.value("App/ShowCmd").toInt(), 1) << "a minimized window is stored as a normal one";
    EXPECT_EQ(profile.value("App/RestLeft").toInt(), 40);
    EXPECT_EQ(profile.value("App/RestTop").toInt(), 60);
    EXPECT_EQ(profile.value("App/RestRight").toInt(), 740);
    EXPECT_EQ(profile.value("App/RestBottom").toInt(), 560);
    EXPECT_EQ(profile.value("Toolbar-Bar0/Visible").toInt(), 0);
    EXPECT_EQ(profile.value("Toolbar-Bar1/Visible").toInt(), 1);

    CMainFrame next;
    EXPECT_FALSE(next.restorePlacement()) << "not maximized";
    EXPECT_EQ(next.geometry(), QRect(40, 60, 700, 500));
    EXPECT_TRUE(next.toolbar()->isHidden());
    EXPECT_FALSE(next.action(ID_VIEW_TOOLBAR)->isChecked());
}

TEST_F(MainWindowTest, AFirstStartLeavesThePlacementToTheWindowSystem) {
    CMainFrame first;  // the profile is empty
    EXPECT_FALSE(first.restorePlacement());
    EXPECT_FALSE(first.testAttribute(Qt::WA_Moved)) << "an unplaced window pinned to the corner";
}

TEST_F(MainWindowTest, ANewEventAfterALateOneEndsTheSameDay) {
    // The first new event starts at 23:00; the next one proposes that start,
    // and an end an hour later would be 00:00, before it.
    test::withModalAnswer([&] { frame->action(ID_NEW_ITEM)->trigger(); },
                          [](QWidget* dialog) {
                              auto* sheet = qobject_cast<CEventSheet*>(dialog);
                              ASSERT_NE(sheet, nullptr);
                              sheet->generalPage()->titleEdit()->setText("Late");
                              sheet->generalPage()->startEdit()->setTime(QTime(23, 0));
                              sheet->finish();
                          });
    ASSERT_EQ(doc->events().size(), 1);
    QTime proposedStart, proposedEnd;
    test::withModalAnswer([&] { frame->action(ID_NEW_ITEM)->trigger(); },
                          [&](QWidget* dialog) {
                              auto* sheet = qobject_cast<CEventSheet*>(dialog);
                              ASSERT_NE(sheet, nullptr);
                              proposedStart = sheet->generalPage()->startEdit()->time();
                              proposedEnd = sheet->generalPage()->endEdit()->time();
                              sheet->reject();
                          });
    EXPECT_EQ(proposedStart, QTime(23, 0));
    EXPECT_EQ(proposedEnd, QTime(23, 55));
}

TEST_F(MainWindowTest, DroppingAnUnacceptedFileIsRefusedAndStopsTheDrop) {
    QString message;
    test::withModalAnswer(
        [&] {
            frame->handleDroppedFiles({"/tmp/notes.txt", "/tmp/none.xml"});
        },
        [&](QWidget* dialog) {
            message += test::dialogText(dialog);
            static_cast<QDialog*>(dialog)->reject();
        });
    EXPECT_EQ(message, QStringLiteral("Skedlin does not accept files of that type."));
}

}  // namespace
}  // namespace skedlin
