#include <gtest/gtest.h>

#include "document_test_support.h"
#include "editor/document/CSkedlinDoc.h"

namespace skedlin {
namespace {

class DocumentEditing : public ::testing::Test {
protected:
    void SetUp() override { test::prepareEnvironment(); }

    static EventEntry event(const QString& title, double day, const QString& group) {
        EventEntry entry;
        entry.title = title;
        entry.date = DateTimeValue(day);
        entry.groupName = group;
        return entry;
    }
    static ContactEntry contact(std::int32_t id, const QString& last, const QString& company = {},
                                const QString& first = {}) {
        ContactEntry entry;
        entry.id = id;
        entry.lastName = last;
        entry.company = company;
        entry.firstName = first;
        return entry;
    }
};

// Counts the update notices of a document.
struct UpdateCounter {
    explicit UpdateCounter(CSkedlinDoc& document) {
        QObject::connect(&document, &CSkedlinDoc::updated, [this] { ++count; });
    }
    int count = 0;
};

class RecordingWizard : public NewPackageWizard {
public:
    bool runWizard(CSkedlinDoc& document) override {
        ++runs;
        titleSeen = document.title();
        return !cancel;
    }
    void showInformation(const QString& message) override { shown = message; }
    bool cancel = false;
    int runs = 0;
    QString titleSeen;
    QString shown;
};

TEST_F(DocumentEditing, CancelledWizardLeavesTheOpenPackageAsItWas) {
    CSkedlinDoc document;
    document.newDocument(nullptr);
    document.addEvent(event(QStringLiteral("Keep me"), 37000, QStringLiteral("Events")));
    document.setTitle(QStringLiteral("Mine"));
    document.setModified(false);
    RecordingWizard wizard;
    wizard.cancel = true;
    EXPECT_FALSE(document.newDocument(&wizard));
    EXPECT_EQ(wizard.runs, 1);
    EXPECT_TRUE(wizard.shown.isEmpty());  // no "You have completed..." after Cancel
    EXPECT_EQ(document.title(), QStringLiteral("Mine"));
    ASSERT_EQ(document.events().size(), 1);
    EXPECT_FALSE(document.isModified());
    EXPECT_TRUE(document.canUndo());  // the history of the kept package stays too
}

TEST_F(DocumentEditing, NewPackageHasDefaultsAndIsModifiedWhateverTheWizardDoes) {
    CSkedlinDoc document;
    RecordingWizard wizard;
    document.newDocument(&wizard);
    EXPECT_EQ(wizard.runs, 1);
    EXPECT_EQ(wizard.titleSeen, QStringLiteral("Schedule"));  // the wizard starts from the defaults
    EXPECT_TRUE(wizard.shown.startsWith(QStringLiteral("You have completed the first steps")));
    EXPECT_EQ(document.appFileName(), QStringLiteral("Our Schedule"));
    EXPECT_EQ(document.launcherName(), QStringLiteral("Group"));
    EXPECT_EQ(document.navigationLevel(), kNavigationEvents);
    ASSERT_EQ(document.groups().size(), 1);
    EXPECT_EQ(document.groups()[0].name, QStringLiteral("Events"));
    EXPECT_TRUE(document.isModified());

    CSkedlinDoc withoutWizard;
    withoutWizard.newDocument(nullptr);
    EXPECT_TRUE(withoutWizard.isModified());
    EXPECT_EQ(withoutWizard.title(), QStringLiteral("Schedule"));
}

TEST_F(DocumentEditing, SettersMarkModifiedOnlyOnChange) {
    CSkedlinDoc document;
    document.setTitle(QString());
    document.setLogoImages({});
    EXPECT_FALSE(document.isModified());
    document.setLogoImages({ImageReference{QStringLiteral("/a.bmp"), kNoTransparentColor, {}}});
    EXPECT_TRUE(document.isModified());
    document.setModified(false);
    document.setLogoImages({ImageReference{QStringLiteral("/a.bmp"), kNoTransparentColor, {}}});
    EXPECT_FALSE(document.isModified());
    document.setLogoImages({ImageReference{QStringLiteral("/a.bmp"), 0xFF, {}}});
    EXPECT_TRUE(document.isModified());
}

TEST_F(DocumentEditing, AddOperationsKeepIdsUniqueAndGroupsExisting) {
    CSkedlinDoc document;
    UpdateCounter updates(document);
    ContactEntry first = contact(5, QStringLiteral("A"));
    first.memberGroups = {QStringLiteral("Club")};
    document.addContacts({first, contact(5, QStringLiteral("B")), contact(2, QStringLiteral("C"))});
    ASSERT_EQ(document.contacts().size(), 3);
    EXPECT_EQ(document.contacts()[1].id, 6);  // one more than the largest
    EXPECT_EQ(document.contacts()[2].id, 2);
    EXPECT_TRUE(document.groupExists(QStringLiteral("Club")));
    EXPECT_EQ(document.groups()[0].description, QString());
    EXPECT_EQ(updates.count, 1);  // one notice for the whole list

    document.addEvents({event(QStringLiteral("x"), 1, QStringLiteral("Trips")),
                        event(QStringLiteral("y"), 2, QStringLiteral("Club"))});
    EXPECT_EQ(document.groupNames(), (QStringList{QStringLiteral("Club"), QStringLiteral("Trips")}));
    EXPECT_TRUE(document.isModified());
}

// Within one batch, an id given to an earlier contact counts as used for the
// later ones, and each new group is created once, in order of first use.
TEST_F(DocumentEditing, BatchAddsSeeTheirOwnEarlierEntries) {
    CSkedlinDoc document;
    ContactEntry member = contact(5, QStringLiteral("A"));
    member.memberGroups = {QStringLiteral("Walks"), QStringLiteral("Talks")};
    document.addContacts({member, contact(5, QStringLiteral("B")), contact(6, QStringLiteral("C")),
                          contact(-3, QStringLiteral("D")), contact(-3, QStringLiteral("E"))});
    QList<std::int32_t> ids;
    for (const ContactEntry& added : document.contacts()) ids.append(added.id);
    EXPECT_EQ(ids, (QList<std::int32_t>{5, 6, 7, -3, 8}));

    document.addEvents({event(QStringLiteral("x"), 1, QStringLiteral("Trips")),
                        event(QStringLiteral("y"), 2, QStringLiteral("Talks")),
                        event(QStringLiteral("z"), 3, QStringLiteral("Trips"))});
    EXPECT_EQ(document.groupNames(), (QStringList{"Walks", "Talks", "Trips"}));
    EXPECT_EQ(document.events().size(), 3);

    // Past the largest 32-bit id, the smallest unused ones are taken in turn.
    CSkedlinDoc full;
    full.appendContactUnchecked(contact(std::numeric_limits<std::int32_t>::max(), QStringLiteral("M")));
    full.appendContactUnchecked(contact(0, QStringLiteral("Z")));
    full.addContacts({contact(0, QStringLiteral("P")), contact(0, QStringLiteral("Q"))});
    EXPECT_EQ(full.contacts()[2].id, 1);
    EXPECT_EQ(full.contacts()[3].id, 2);
}

TEST_F(DocumentEditing, NextFreeContactIdIgnoresNegativeIds) {
    CSkedlinDoc document;
    EXPECT_EQ(document.nextFreeContactId(), 0);
    document.appendContactUnchecked(contact(-1, QStringLiteral("N")));
    EXPECT_EQ(document.nextFreeContactId(), 0);
    document.appendContactUnchecked(contact(7, QStringLiteral("P")));
    EXPECT_EQ(document.nextFreeContactId(), 8);
    document.appendContactUnchecked(contact(0, QStringLiteral("Z")));
    document.appendContactUnchecked(contact(std::numeric_limits<std::int32_t>::max(), QStringLiteral("M")));
    EXPECT_EQ(document.nextFreeContactId(), 1);  // no overflow: the smallest unused id
}

TEST_F(DocumentEditing, GroupMembershipOperationsReportOnlyRealChanges) {
    CSkedlinDoc document;
    document.appendGroupUnchecked({QStringLiteral("G"), {}, {}});
    document.appendContactUnchecked(contact(1, QStringLiteral("A")));
    document.appendContactUnchecked(contact(2, QStringLiteral("B")));
    UpdateCounter updates(document);

    document.addContactsToGroup({0, 1}, 0);
    EXPECT_TRUE(document.allContactsInGroup({0, 1}, 0));
    EXPECT_EQ(document.contactCountInGroup(QStringLiteral("G")), 2);
    document.setModified(false);
    document.addContactsToGroup({0, 1}, 0);
    EXPECT_FALSE(document.isModified());
    document.removeContactsFromGroup({1}, 0);
    EXPECT_TRUE(document.isModified());
    EXPECT_FALSE(document.allContactsInGroup({0, 1}, 0));
    EXPECT_EQ(updates.count, 2);
}

TEST_F(DocumentEditing, RemoveAcceptsIndexesInAnyOrder) {
    CSkedlinDoc document;
    for (int i = 0; i < 5; ++i) document.addEvent(event(QString::number(i), i, QStringLiteral("G")));
    document.removeEvents({3, 0, 3, 99, -1});
    ASSERT_EQ(document.events().size(), 3);
    EXPECT_EQ(document.events()[0].title, QStringLiteral("1"));
    EXPECT_EQ(document.events()[1].title, QStringLiteral("2"));
    EXPECT_EQ(document.events()[2].title, QStringLiteral("4"));
}

TEST_F(DocumentEditing, SetGroupListCarriesRenamesAndRemovals) {
    CSkedlinDoc document;
    document.appendGroupUnchecked({QStringLiteral("A"), QStringLiteral("a"), {}});
    document.appendGroupUnchecked({QStringLiteral("B"), {}, {}});
    document.appendGroupUnchecked({QStringLiteral("C"), {}, {}});
    document.appendEventUnchecked(event(QStringLiteral("in A"), 1, QStringLiteral("A")));
    document.appendEventUnchecked(event(QStringLiteral("in C"), 1, QStringLiteral("C")));
    ContactEntry member = contact(1, QStringLiteral("M"));
    member.memberGroups = {QStringLiteral("A"), QStringLiteral("C")};
    document.appendContactUnchecked(member);

    document.setGroupList(document.groups(), {});
    EXPECT_FALSE(document.isModified());  // the same list changes nothing

    QList<GroupEntry> edited = document.groups();
    edited[0].rename(QStringLiteral("Renamed"));
    edited[0].rename(QStringLiteral("Again"));
    EXPECT_EQ(edited[0].previousName, QStringLiteral("A"));
    edited.removeLast();  // C
    document.setGroupList(edited, {QStringLiteral("C")});

    EXPECT_TRUE(document.isModified());
    EXPECT_EQ(document.groupNames(), (QStringList{QStringLiteral("Again"), QStringLiteral("B")}));
    EXPECT_TRUE(document.groups()[0].previousName.isEmpty());
    EXPECT_EQ(document.events()[0].groupName, QStringLiteral("Again"));
    EXPECT_EQ(document.events()[1].groupName, QStringLiteral("Again"));  // moved to the first group
    EXPECT_EQ(document.contacts()[0].memberGroups, QStringList{QStringLiteral("Again")});

    // Removing every group keeps the events in a group that will be written.
    document.setGroupList({}, {QStringLiteral("Again"), QStringLiteral("B")});
    ASSERT_EQ(document.groups().size(), 1);
    EXPECT_EQ(document.events()[0].groupName, document.groups()[0].name);
}

TEST_F(DocumentEditing, SetGroupListAppliesAllRenamesAtOnce) {
    CSkedlinDoc document;
    for (const char* name : {"A", "B", "X", "Y"}) document.appendGroupUnchecked({QString::fromLatin1(name), {}, {}});
    document.appendEventUnchecked(event(QStringLiteral("in A"), 1, QStringLiteral("A")));
    document.appendEventUnchecked(event(QStringLiteral("in B"), 1, QStringLiteral("B")));
    document.appendEventUnchecked(event(QStringLiteral("in X"), 1, QStringLiteral("X")));
    document.appendEventUnchecked(event(QStringLiteral("in Y"), 1, QStringLiteral("Y")));
    ContactEntry inAB = contact(1, QStringLiteral("AB"));
    inAB.memberGroups = {QStringLiteral("A"), QStringLiteral("B")};
    ContactEntry inXY = contact(2, QStringLiteral("XY"));
    inXY.memberGroups = {QStringLiteral("Y"), QStringLiteral("X")};
    document.appendContactUnchecked(inAB);
    document.appendContactUnchecked(inXY);

    // B becomes C, then A takes B's old name; X and Y swap names.
    QList<GroupEntry> edited = document.groups();
    edited[1].rename(QStringLiteral("C"));
    edited[0].rename(QStringLiteral("B"));
    edited[2].rename(QStringLiteral("Y"));
    edited[3].rename(QStringLiteral("X"));
    document.setGroupList(edited, {});

    EXPECT_EQ(document.groupNames(), (QStringList{"B", "C", "Y", "X"}));
    QStringList groupsOfEvents;
    for (const EventEntry& e : document.events()) groupsOfEvents.append(e.groupName);
    EXPECT_EQ(groupsOfEvents, (QStringList{"B", "C", "Y", "X"}));  // nothing merged
    EXPECT_EQ(document.contacts()[0].memberGroups, (QStringList{"B", "C"}));
    EXPECT_EQ(document.contacts()[1].memberGroups, (QStringList{"X", "Y"}));
    for (const GroupEntry& group : document.groups()) EXPECT_TRUE(group.previousName.isEmpty());
}

TEST_F(DocumentEditing, GroupsMergedByRenameOrRemovalListAContactOnce) {
    CSkedlinDoc document;
    for (const char* name : {"First", "Talks", "Walks", "Old"})
        document.appendGroupUnchecked({QString::fromLatin1(name), {}, {}});
    ContactEntry member = contact(1, QStringLiteral("M"));
    member.memberGroups = {QStringLiteral("Talks"), QStringLiteral("Walks"), QStringLiteral("Old")};
    document.appendContactUnchecked(member);

    document.renameGroup(QStringLiteral("Walks"), QStringLiteral("Talks"), QStringLiteral("Talks"));
    EXPECT_EQ(document.contacts()[0].memberGroups, (QStringList{"Talks", "Old"}));
    document.renameGroup(QStringLiteral("Old"), QStringLiteral("First"), QString());
    EXPECT_EQ(document.contacts()[0].memberGroups, QStringList{"Talks"});

    // The Talks group is removed and Walks renamed to Talks: a contact of both
    // stays a member of the one group that now has the name.
    ContactEntry both = contact(2, QStringLiteral("Both"));
    both.memberGroups = {QStringLiteral("Walks"), QStringLiteral("Talks")};
    document.appendContactUnchecked(both);
    QList<GroupEntry> edited = document.groups();
    edited.removeAt(1);                         // Talks
    edited[1].rename(QStringLiteral("Talks"));  // Walks
    document.setGroupList(edited, {QStringLiteral("Talks")});
    EXPECT_EQ(document.contacts()[1].memberGroups, QStringList{"Talks"});
}

TEST_F(DocumentEditing, SortIsByteWiseAndKeepsEqualItemsInOrder) {
    CSkedlinDoc document;
    for (const char* name : {"apple", "Zebra", "Apple"})
        document.appendGroupUnchecked({QString::fromLatin1(name), {}, {}});
    document.appendContactUnchecked(contact(1, QString(), QString(), QStringLiteral("Carl")));
    document.appendContactUnchecked(contact(2, QStringLiteral("Miller"), {}, QStringLiteral("Zoe")));
    document.appendContactUnchecked(contact(3, QString(), QStringLiteral("Acme")));
    document.appendContactUnchecked(contact(4, QStringLiteral("Miller"), {}, QStringLiteral("Anna")));
    document.appendContactUnchecked(contact(5, QStringLiteral("adams")));
    // Events of one day keep their list order; the time of day left in a date counts.
    document.appendEventUnchecked(event(QStringLiteral("late"), 10.75, QStringLiteral("G")));
    document.appendEventUnchecked(event(QStringLiteral("first of day 10"), 10, QStringLiteral("G")));
    document.appendEventUnchecked(event(QStringLiteral("day 3"), 3, QStringLiteral("G")));
    document.appendEventUnchecked(event(QStringLiteral("second of day 10"), 10, QStringLiteral("G")));

    document.sort();

    EXPECT_EQ(document.groupNames(),
              (QStringList{QStringLiteral("Apple"), QStringLiteral("Zebra"), QStringLiteral("apple")}));
    QList<int> ids;
    for (const ContactEntry& c : document.contacts()) ids.append(c.id);
    EXPECT_EQ(ids, (QList<int>{3, 1, 4, 2, 5}));  // Acme, Carl, Miller Anna, Miller Zoe, adams
    QStringList titles;
    for (const EventEntry& e : document.events()) titles.append(e.title);
    EXPECT_EQ(titles, (QStringList{QStringLiteral("day 3"), QStringLiteral("first of day 10"),
                                   QStringLiteral("second of day 10"), QStringLiteral("late")}));
}

TEST(DateTimeValueTest, ConvertsBetweenDaysDatesAndFileTexts) {
    EXPECT_EQ(DateTimeValue::fromDate(2003, 1, 1).wholeDaysSince1900(), 37620);
    EXPECT_EQ(DateTimeValue::fromDaysSince1900(37620).date(), QDate(2003, 1, 1));
    EXPECT_EQ(DateTimeValue::fromDate(1899, 12, 30).days(), 0.0);
    EXPECT_EQ(DateTimeValue::fromDaysSince1900(0).formatFileDate(), QStringLiteral("01 Jan 1900"));
    EXPECT_EQ(DateTimeValue::fromTime(21, 15).formatFileTime(), QStringLiteral("21:15"));
    EXPECT_EQ(DateTimeValue::fromTime(9, 5).formatFileTime(), QStringLiteral("09:05"));
    EXPECT_FALSE(DateTimeValue::fromDate(2003, 2, 30).isValid());

    const DateTimeValue both = DateTimeValue::fromDateTime(QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59)));
    EXPECT_EQ(both.date(), QDate(2024, 2, 29));
    EXPECT_EQ(both.time(), QTime(23, 59, 59));  // rounding never spills into the next day
    EXPECT_EQ(both.datePart(), DateTimeValue::fromDate(2024, 2, 29));
}

}  // namespace
}  // namespace skedlin
