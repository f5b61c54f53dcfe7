#include <gtest/gtest.h>

#include "editor/ui/ListSorting.h"

namespace skedlin {
namespace {

EventEntry event(const QString& title, int day, int startHour, bool allDay = false) {
    EventEntry entry;
    entry.title = title;
    entry.date = DateTimeValue::fromDate(2003, 1, day);
    entry.allDay = allDay ? 1 : 0;
    entry.startTime = DateTimeValue::fromTime(startHour, 0);
    entry.endTime = DateTimeValue::fromTime(startHour + 1, 0);
    return entry;
}

QStringList titlesInOrder(const QList<EventEntry>& events, int column, bool descending) {
    QStringList titles;
    for (int index : sortedEventOrder(events, column, descending)) titles.append(events[index].title);
    return titles;
}

TEST(ListSorting, DateColumnOrdersEqualDatesByStoredStartTimeEvenForAllDayEvents) {
    // All-day events show "-" but still carry start times (importers leave them).
    const QList<EventEntry> events = {event("late", 5, 15, true), event("next day", 6, 1), event("early", 5, 7, true),
                                      event("before", 4, 23)};
    EXPECT_EQ(titlesInOrder(events, kEventColumnDate, false), (QStringList{"before", "early", "late", "next day"}));
    EXPECT_EQ(titlesInOrder(events, kEventColumnDate, true), (QStringList{"next day", "late", "early", "before"}));
}

TEST(ListSorting, TimeColumnsPutAllDayEventsAfterTimedOnesAndFallBackToDates) {
    const QList<EventEntry> events = {event("all day late", 9, 0, true), event("ten", 1, 10),
                                      event("all day early", 2, 0, true), event("eight", 3, 8)};
    EXPECT_EQ(titlesInOrder(events, kEventColumnStartTime, false),
              (QStringList{"eight", "ten", "all day early", "all day late"}));
    EXPECT_EQ(titlesInOrder(events, kEventColumnEndTime, false),
              (QStringList{"eight", "ten", "all day early", "all day late"}));
}

TEST(ListSorting, TitlesCompareWithoutCaseAndEqualTitlesFallBackToDates) {
    const QList<EventEntry> events = {event("beta", 3, 9), event("Alpha", 9, 9), event("alpha", 1, 9)};
    EXPECT_EQ(titlesInOrder(events, kEventColumnTitle, false), (QStringList{"alpha", "Alpha", "beta"}));
    EXPECT_EQ(titlesInOrder(events, kEventColumnTitle, true), (QStringList{"beta", "Alpha", "alpha"}));
}

TEST(ListSorting, FullyEqualEventsKeepDocumentOrderInBothDirections) {
    // A contradictory comparison (both "a before b" and "b before a") would make
    // the order depend on the sort's internals; equal items stay as they were.
    QList<EventEntry> events;
    for (int i = 0; i < 50; ++i) events.append(event(QString::number(i), 1, 9));
    QStringList expected;
    for (int i = 0; i < 50; ++i) expected.append(QString::number(i));
    EXPECT_EQ(titlesInOrder(events, kEventColumnStartTime, false), expected);
    EXPECT_EQ(titlesInOrder(events, kEventColumnStartTime, true), expected);
    EXPECT_EQ(titlesInOrder(events, kEventColumnGroup, false), expected);
}

ContactEntry contact(const QString& last, const QString& first, const QString& company = {},
                     const QStringList& groups = {}) {
    ContactEntry entry;
    entry.lastName = last;
    entry.firstName = first;
    entry.company = company;
    entry.memberGroups = groups;
    return entry;
}

QStringList contactOrder(const QList<ContactEntry>& contacts, int column, bool descending = false) {
    QStringList names;
    for (int index : sortedContactOrder(contacts, column, descending)) {
        names.append(contacts[index].firstName + QLatin1Char(' ') + contacts[index].lastName);
    }
    return names;
}

TEST(ListSorting, ContactKeysUseTheirTieKeyOnlyWhenByteForByteEqual) {
    const QList<ContactEntry> contacts = {contact("Smith", "Zoe"), contact("smith", "Al"), contact("Smith", "Bea"),
                                          contact("Adams", "Yan")};
    // "smith" and "Smith" differ in bytes, compare equal without case, and are
    // not tie-broken: they keep document order among themselves.
    EXPECT_EQ(contactOrder(contacts, kContactColumnLastName),
              (QStringList{"Yan Adams", "Bea Smith", "Zoe Smith", "Al smith"}));
    EXPECT_EQ(contactOrder(contacts, kContactColumnFirstName),
              (QStringList{"Al smith", "Bea Smith", "Yan Adams", "Zoe Smith"}));
}

TEST(ListSorting, CompanyAndGroupColumnsBreakTiesByLastName) {
    const QList<ContactEntry> contacts = {contact("Young", "A", "Acme", {"Talks", "Sports"}),
                                          contact("Baker", "B", "Acme", {"Talks", "Sports"}),
                                          contact("Clark", "C", "Zeta", {"Evenings"})};
    EXPECT_EQ(contactOrder(contacts, kContactColumnCompany), (QStringList{"B Baker", "A Young", "C Clark"}));
    EXPECT_EQ(contactOrder(contacts, kContactColumnGroups), (QStringList{"C Clark", "B Baker", "A Young"}));
    EXPECT_EQ(contactOrder(contacts, kContactColumnGroups, true), (QStringList{"A Young", "B Baker", "C Clark"}));
    EXPECT_EQ(joinedGroupNames(contacts[0]), QStringLiteral("Talks, Sports"));
}

}  // namespace
}  // namespace skedlin
