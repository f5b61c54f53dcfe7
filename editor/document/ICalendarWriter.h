#pragma once
// Writes a package's events as an iCalendar file (RFC 5545).
//
// Times are written as floating local times (no time zone): a package holds
// the wall-clock times of a programme at one place, and the handheld shows
// them as they are wherever it is. Naming the exporting computer's zone would
// make calendars elsewhere move every event by the difference.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include "editor/document/PackageEntries.h"

namespace skedlin {

// `calendarName` names the calendar (the package title); `uidDomain` makes the
// events' UIDs unique to the package (its application file name). `stamp` is
// the DTSTAMP of every event, in universal time.
QByteArray writeICalendar(const QList<EventEntry>& events, const QString& calendarName, const QString& uidDomain,
                          const QDateTime& stamp);

// Escapes text for a property value: backslash, semicolon, comma and line breaks.
QString escapeICalendarText(const QString& text);
// Folds one content line at 75 octets without cutting a UTF-8 character, and
// ends it with CR LF.
QByteArray foldContentLine(const QString& line);

}  // namespace skedlin
