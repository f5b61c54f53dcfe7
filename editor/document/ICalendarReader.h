#pragma once
// Events from an iCalendar file (".ics"), parsed with libical.
//
// Reading happens in two steps. read() checks the file's structure and the
// values that matter, turns every event into an event entry in local time and
// maps each repeat rule onto the package's repeat kinds. Rules the package
// cannot hold are kept aside; expand() then turns them into single events
// within a window of dates, so that the caller can ask the user for the window
// only when there is something to expand.

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

#include "editor/document/ICalendarStructure.h"
#include "editor/document/PackageEntries.h"

namespace skedlin {

// The dates between which repeat rules the package cannot hold are expanded
// into single events, both included.
struct ExpansionWindow {
    QDate first;
    QDate last;

    // From today to the same day two years on.
    static ExpansionWindow nextTwoYears();
    bool isValid() const { return first.isValid() && last.isValid() && first <= last; }
};

// Bounds that keep a hostile file from taking unbounded time or memory.
inline constexpr int kMaxICalendarNesting = 16;      // components inside components
inline constexpr int kMaxExpandedEvents = 20000;     // single events made from rules, per file
inline constexpr long kMaxRecurrenceSteps = 500000;  // rule iterations, per file

class ICalendarReader {
public:
    explicit ICalendarReader(QString defaultGroupName);
    ~ICalendarReader();
    ICalendarReader(const ICalendarReader&) = delete;
    ICalendarReader& operator=(const ICalendarReader&) = delete;

    // Reads the file's bytes. Fails when the file cannot be read, with a
    // message that names the line.
    ICalendarResult read(const QByteArray& bytes);
    // Number of events whose repeat rule must be expanded into single events.
    int rulesToExpand() const;
    // Expands those rules within the window. Fails when the expansion would
    // exceed the bounds above, with a message that names the event.
    ICalendarResult expand(const ExpansionWindow& window);

    // The events read (after expand(), the expanded ones too), in file order.
    QList<EventEntry> events() const;
    // What the user should know about a successful read: events left out,
    // rules expanded, time zones that were not known.
    QStringList report() const;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace skedlin
