#include "editor/ui/ListSorting.h"

#include <algorithm>
#include <numeric>

namespace skedlin {
namespace {

int compareDays(const DateTimeValue& a, const DateTimeValue& b) {
    if (a.days() < b.days()) return -1;
    if (b.days() < a.days()) return 1;
    return 0;
}

int compareText(const QString& a, const QString& b) {
    const int result = QString::compare(a, b, Qt::CaseInsensitive);
    return (result > 0) - (result < 0);
}

int compareTimes(const EventEntry& a, const EventEntry& b, const DateTimeValue EventEntry::*time) {
    if (a.allDay && b.allDay) return 0;
    if (a.allDay) return 1;
    if (b.allDay) return -1;
    return compareDays(a.*time, b.*time);
}

// A key compared case-insensitively unless it is byte-for-byte equal, in
// which case the tie key decides.
int compareKeys(const QString& keyA, const QString& keyB, const QString& tieA, const QString& tieB) {
    if (keyA != keyB) return compareText(keyA, keyB);
    return compareText(tieA, tieB);
}

template <typename Entry, typename Compare>
QList<int> sortedOrder(const QList<Entry>& entries, int column, bool descending, Compare compare) {
    QList<int> order(entries.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int left, int right) {
        const int result = compare(entries[left], entries[right], column);
        return descending ? result > 0 : result < 0;
    });
    return order;
}

}  // namespace

int compareEvents(const EventEntry& a, const EventEntry& b, int column) {
    int result = 0;
    switch (column) {
    case kEventColumnDate:
        result = a.date == b.date ? compareDays(a.startTime, b.startTime) : compareDays(a.date, b.date);
        break;
    case kEventColumnStartTime: result = compareTimes(a, b, &EventEntry::startTime); break;
    case kEventColumnEndTime: result = compareTimes(a, b, &EventEntry::endTime); break;
    case kEventColumnTitle: result = compareText(a.title, b.title); break;
    case kEventColumnGroup: result = compareText(a.groupName, b.groupName); break;
    default: break;
    }
    return result != 0 ? result : compareDays(a.date, b.date);
}

int compareContacts(const ContactEntry& a, const ContactEntry& b, int column) {
    switch (column) {
    case kContactColumnLastName: return compareKeys(a.lastName, b.lastName, a.firstName, b.firstName);
    case kContactColumnFirstName: return compareKeys(a.firstName, b.firstName, a.lastName, b.lastName);
    case kContactColumnCompany: return compareKeys(a.company, b.company, a.lastName, b.lastName);
    case kContactColumnGroups: return compareKeys(joinedGroupNames(a), joinedGroupNames(b), a.lastName, b.lastName);
    default: return 0;
    }
}

QString joinedGroupNames(const ContactEntry& contact) { return contact.memberGroups.join(QStringLiteral(", ")); }

QList<int> sortedEventOrder(const QList<EventEntry>& events, int column, bool descending) {
    if (column != kEventColumnTitle && column != kEventColumnGroup)
        return sortedOrder(events, column, descending, compareEvents);
    // The text columns fold each text once instead of in every comparison:
    // tens of thousands of events would otherwise take half a second.
    QList<QString> keys;
    keys.reserve(events.size());
    for (const EventEntry& event : events)
        keys.append((column == kEventColumnTitle ? event.title : event.groupName).toCaseFolded());
    QList<int> order(events.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int left, int right) {
        int result = QString::compare(keys[left], keys[right], Qt::CaseSensitive);
        result = (result > 0) - (result < 0);
        if (result == 0) result = compareDays(events[left].date, events[right].date);
        return descending ? result > 0 : result < 0;
    });
    return order;
}

QList<int> sortedContactOrder(const QList<ContactEntry>& contacts, int column, bool descending) {
    return sortedOrder(contacts, column, descending, compareContacts);
}

}  // namespace skedlin
