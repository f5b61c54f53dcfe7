#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <functional>

#include "document_test_support.h"
#include "editor/document/CSkedlinDoc.h"

namespace skedlin {
namespace {

EventEntry event(const QString& title, double day, const QString& group) {
    EventEntry entry;
    entry.title = title;
    entry.date = DateTimeValue(day);
    entry.groupName = group;
    return entry;
}

ContactEntry contact(std::int32_t id, const QString& last, const QStringList& groups) {
    ContactEntry entry;
    entry.id = id;
    entry.lastName = last;
    entry.memberGroups = groups;
    return entry;
}

class DocumentUndo : public ::testing::Test {
protected:
    void SetUp() override {
        test::prepareEnvironment();
        ASSERT_TRUE(folder.isValid());
        // A saved package (so sorted) with events, contacts and two groups.
        CSkedlinDoc original;
        original.newDocument(nullptr);
        original.addEvents({event("Walk", 37010, "Events"), event("Talk", 37001, "Talks"),
                            event("Dinner", 37005, "Events"), event("Late", 37020, "Talks")});
        original.addContacts({contact(1, "Zeta", {"Talks"}), contact(2, "Alpha", {}), contact(3, "Mid", {"Events"})});
        ASSERT_TRUE(original.saveDocument(path("start.xml")).ok());
        startBytes = test::readBytes(path("start.xml"));
    }

    QString path(const char* name) const { return folder.filePath(QLatin1String(name)); }

    QByteArray saved(CSkedlinDoc& document, const char* name) {
        const SaveResult result = document.saveDocument(path(name));
        EXPECT_TRUE(result.ok()) << result.message().toStdString();
        return test::readBytes(path(name));
    }

    QTemporaryDir folder;
    QByteArray startBytes;
};

// Every command, undone, gives back the saved file byte for byte, and redone
// gives the file the command made; undo back to the opened state clears the
// modified mark.
TEST_F(DocumentUndo, EveryCommandRoundTripsToTheSameFile) {
    const QList<QPair<const char*, std::function<void(CSkedlinDoc&)>>> commands = {
        {"add event", [](CSkedlinDoc& d) { d.addEvent(event("Early", 36990, "New group")); }},
        {"paste events",
         [](CSkedlinDoc& d) {
             d.addEvents({d.events()[2], d.events()[0]});
         }},
        {"add contact with taken id", [](CSkedlinDoc& d) { d.addContact(contact(1, "Beta", {"Fresh"})); }},
        {"paste contacts", [](CSkedlinDoc& d) { d.addContacts(d.contacts()); }},
        {"delete events",
         [](CSkedlinDoc& d) {
             d.removeEvents({3, 0, 2});
         }},
        {"delete contacts", [](CSkedlinDoc& d) { d.removeContacts({1}); }},
        {"edit event",
         [](CSkedlinDoc& d) {
             EventEntry changed = d.events()[1];
             changed.date = DateTimeValue(36000);  // moves to the front when saved
             changed.groupName = QStringLiteral("Elsewhere");
             d.replaceEvent(1, changed);
         }},
        {"edit contact",
         [](CSkedlinDoc& d) {
             ContactEntry changed = d.contacts()[0];
             changed.lastName = QStringLiteral("Omega");
             d.replaceContact(0, changed);
         }},
        {"event group",
         [](CSkedlinDoc& d) {
             d.setGroupOfEvents({0, 1, 2, 3}, 1);
         }},
        {"contact joins group",
         [](CSkedlinDoc& d) {
             d.addContactsToGroup({0, 1, 2}, 0);
         }},
        {"contact leaves group",
         [](CSkedlinDoc& d) {
             d.removeContactsFromGroup({0, 1, 2}, 1);
         }},
        {"properties sheet",
         [](CSkedlinDoc& d) {
             d.beginStep(QStringLiteral("Properties"));
             d.setTitle(QStringLiteral("Other"));
             d.setNavigationLevel(kNavigationNone);
             d.setLogoImages({ImageReference{QStringLiteral("/x/logo.bmp"), 0xff, {}}});
             QList<GroupEntry> groups = d.groups();
             groups[0].rename(QStringLiteral("Renamed"));
             const QString removed = groups.takeAt(1).name;
             d.setGroupList(groups, {removed});
             d.endStep();
         }},
        {"import",
         [](CSkedlinDoc& d) {
             d.beginStep(QStringLiteral("Import"));
             d.addEvents({event("Imported", 37002, "Imports")});
             d.addContacts({contact(9, "Imported", {"Imports"})});
             d.endStep();
         }},
    };
    for (const auto& [name, command] : commands) {
        SCOPED_TRACE(name);
        CSkedlinDoc document;
        ASSERT_TRUE(document.openDocument(path("start.xml")).ok());
        command(document);
        ASSERT_TRUE(document.isModified());
        ASSERT_TRUE(document.canUndo());
        const QByteArray after = saved(document, "after.xml");
        ASSERT_NE(after, startBytes);

        document.undo();
        EXPECT_FALSE(document.canUndo());  // one command, one step, however many entries
        EXPECT_EQ(saved(document, "undone.xml"), startBytes);

        // Redo after undo (a save in between may sort, and so end the redo branch).
        CSkedlinDoc again;
        ASSERT_TRUE(again.openDocument(path("start.xml")).ok());
        command(again);
        saved(again, "again.xml");
        again.undo();
        again.redo();
        EXPECT_EQ(saved(again, "redone.xml"), after);

        CSkedlinDoc fresh;
        ASSERT_TRUE(fresh.openDocument(path("start.xml")).ok());
        command(fresh);
        fresh.undo();
        EXPECT_FALSE(fresh.isModified());
        fresh.redo();
        EXPECT_TRUE(fresh.isModified());
    }
}

TEST_F(DocumentUndo, TheSortOfASaveIsUndoneWithTheCommandBeforeIt) {
    CSkedlinDoc document;
    ASSERT_TRUE(document.openDocument(path("start.xml")).ok());
    const QList<EventEntry> opened = document.events();
    document.addEvent(event("First of all", 30000, "Events"));  // appended, sorted to the front on save
    ASSERT_TRUE(document.saveDocument(path("saved.xml")).ok());
    EXPECT_EQ(document.events().first().title, QStringLiteral("First of all"));
    EXPECT_EQ(document.undoName(), QStringLiteral("Add"));
    document.undo();
    EXPECT_EQ(document.events(), opened);
    EXPECT_TRUE(document.isModified());  // the file on disk now holds the added event
    document.redo();
    EXPECT_EQ(document.events().first().title, QStringLiteral("First of all"));
    EXPECT_FALSE(document.isModified());
}

TEST_F(DocumentUndo, ModifiedMarkFollowsTheSavedState) {
    CSkedlinDoc document;
    ASSERT_TRUE(document.openDocument(path("start.xml")).ok());
    document.setTitle(QStringLiteral("One"));
    document.setTitle(QStringLiteral("Two"));
    EXPECT_EQ(document.undoName(), QStringLiteral("Properties"));
    ASSERT_TRUE(document.saveDocument(path("two.xml")).ok());
    document.undo();
    EXPECT_TRUE(document.isModified());
    EXPECT_EQ(document.title(), QStringLiteral("One"));
    document.redo();
    EXPECT_FALSE(document.isModified());

    // A new command after an undo drops the redo branch, and with it the
    // saved state when that lay in the branch: no undo comes back to it.
    document.undo();
    document.removeEvents({0});
    EXPECT_FALSE(document.canRedo());
    document.undo();
    EXPECT_EQ(document.title(), QStringLiteral("One"));
    EXPECT_TRUE(document.isModified());

    // A confirmed dialog that changed nothing is still a step that counts.
    CSkedlinDoc other;
    ASSERT_TRUE(other.openDocument(path("start.xml")).ok());
    other.beginStep(QStringLiteral("Event Details"), true);
    other.replaceEvent(0, other.events()[0]);
    other.endStep();
    EXPECT_TRUE(other.isModified());
    other.undo();
    EXPECT_FALSE(other.isModified());
}

TEST_F(DocumentUndo, DeletingScatteredEntriesRestoresEachAtItsPlace) {
    CSkedlinDoc document;
    QList<EventEntry> events;
    for (int i = 0; i < 1000; ++i) events.append(event(QString::number(i), 37000 + i % 7, "Events"));
    document.addEvents(events);
    QList<int> everyThird;
    for (int i = 0; i < 1000; i += 3) everyThird.append(i);
    document.removeEvents(everyThird);
    ASSERT_EQ(document.events().size(), 1000 - everyThird.size());
    EXPECT_EQ(document.events()[0].title, QStringLiteral("1"));
    document.undo();
    EXPECT_EQ(document.events(), events);
    document.redo();
    EXPECT_EQ(document.events().size(), 1000 - everyThird.size());
    document.undo();
    document.undo();
    EXPECT_TRUE(document.events().isEmpty());
    EXPECT_FALSE(document.canUndo());
}

}  // namespace
}  // namespace skedlin
