#pragma once
// Events from a vCalendar 1.0 file (".vcs").

#include <QList>
#include <QString>
#include <QStringList>

#include "editor/document/DateTimeValue.h"
#include "editor/document/PackageEntries.h"
#include "formats/Result.h"

namespace skedlin {

// Why a vCalendar file cannot be imported; the message, when there is one,
// is the text the user reads.
enum class VCalendarError {
    None,
    NotACalendar,  // the first line is not "BEGIN:VCALENDAR" (no message)
    BadDate,       // a DTSTART or DTEND value cannot be read (the message names the line)
};
using VCalendarResult = Result<VCalendarError, QString>;

class VCalendarReader {
public:
    explicit VCalendarReader(QString defaultGroupName) : defaultGroup_(std::move(defaultGroupName)) {}

    // Every calendar block of the file is read, not only the first.
    VCalendarResult read(const QStringList& lines);
    const QList<EventEntry>& events() const { return events_; }

private:
    VCalendarResult readEvent(const QStringList& lines, qsizetype& next);

    QString defaultGroup_;
    QList<EventEntry> events_;
};

// "20031015T140000" (local) or "...Z" (universal time, turned into the local
// time of that instant). Missing parts count as 0; an invalid value when the
// parts do not form a date.
DateTimeValue parseVCalendarDateTime(const QString& text);
// The date part alone (characters 0 to 7) at midnight, without time-zone
// change; an invalid value when the token is not a date (a count such as "#0").
DateTimeValue parseVCalendarEndDate(const QString& token);
// Applies a recurrence rule value ("W2 MO WE FR 20031231T000000Z") to an event.
void applyVCalendarRecurrence(const QString& rule, EventEntry& event);

}  // namespace skedlin
