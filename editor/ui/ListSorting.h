#pragma once
// How the list orders events and contacts when a column heading is clicked.
// Every comparison is a consistent three-way order (negative: a before b), so
// that items which compare equal keep their document order and the sort never
// sees a contradictory answer.

#include <QList>

#include "editor/document/PackageEntries.h"

namespace skedlin {

enum EventColumn : int {
    kEventColumnDate = 0,
    kEventColumnStartTime = 1,
    kEventColumnEndTime = 2,
    kEventColumnTitle = 3,
    kEventColumnGroup = 4,
    kEventColumnCount = 5,
};

enum ContactColumn : int {
    kContactColumnLastName = 0,
    kContactColumnFirstName = 1,
    kContactColumnCompany = 2,
    kContactColumnGroups = 3,
    kContactColumnCount = 4,
};

// Ascending order by one column. Events with equal keys fall back to their
// dates; on the Date column equal dates are ordered by start time (so all-day
// events on one day keep the order of their stored times). All-day events
// follow timed ones on the time columns. Texts compare case-insensitively.
int compareEvents(const EventEntry& a, const EventEntry& b, int column);
// Ascending order by one column, with the column's tie key (first name for
// Last Name, last name for the others; last name for First Name).
int compareContacts(const ContactEntry& a, const ContactEntry& b, int column);

// The text of the Member of Groups cell: the names in the contact's order.
QString joinedGroupNames(const ContactEntry& contact);

// Entry indexes 0..n-1 ordered by the column; equal items keep document order.
QList<int> sortedEventOrder(const QList<EventEntry>& events, int column, bool descending);
QList<int> sortedContactOrder(const QList<ContactEntry>& contacts, int column, bool descending);

}  // namespace skedlin
