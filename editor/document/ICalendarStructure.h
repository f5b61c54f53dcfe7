#pragma once
// A first pass over an iCalendar file that finds, with line numbers, what would
// make the file unreadable: a file that does not begin with a calendar, a
// component that is not closed or closed by the wrong END, components nested
// too deeply, and values of the event properties the import uses that libical
// cannot parse. libical itself reads on past all of these without saying
// where, so this pass is what lets the user's message name the line.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace skedlin {

struct ICalendarStructure {
    bool ok = false;
    QString error;          // the message when not ok, naming the line
    QList<int> eventLines;  // 1-based line of each calendar's VEVENT, in file order
    QByteArray text;        // the unfolded lines as UTF-8 with CR LF line ends, for libical
};

// The file's bytes: UTF-8, or Windows-1252 where a line is not valid UTF-8.
ICalendarStructure checkICalendarStructure(const QByteArray& bytes);

}  // namespace skedlin
