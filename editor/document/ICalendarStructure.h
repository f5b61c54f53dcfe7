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

#include "formats/Result.h"

namespace skedlin {

// Why an iCalendar file cannot be imported; the message is the text the user
// reads, naming the line or the event.
enum class ICalendarError {
    None,
    Malformed,     // the file's structure or a value the import uses cannot be read
    BeyondLimits,  // its repeat rules would take more steps or events than allowed
};
using ICalendarResult = Result<ICalendarError, QString>;

struct ICalendarStructure {
    ICalendarResult result;
    QList<int> eventLines;  // 1-based line of each calendar's VEVENT, in file order
    QByteArray text;        // the unfolded lines as UTF-8 with CR LF line ends, for libical
};

// The file's bytes: UTF-8, or Windows-1252 where a line is not valid UTF-8.
ICalendarStructure checkICalendarStructure(const QByteArray& bytes);

}  // namespace skedlin
