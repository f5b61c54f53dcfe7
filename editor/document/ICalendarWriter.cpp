#include "editor/document/ICalendarWriter.h"

#include <QCryptographicHash>
#include <QRegularExpression>

namespace skedlin {
namespace {

constexpr int kMaxLineOctets = 75;
const char* const kWeekdays[7] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};

QString dateText(const QDate& date) { return date.toString(QStringLiteral("yyyyMMdd")); }
QString dateTimeText(const QDate& date, const QTime& time) {
    return dateText(date) + u'T' + time.toString(QStringLiteral("HHmmss"));
}

int sundayBasedWeekday(const QDate& date) { return date.dayOfWeek() % 7; }

// "1FR" ... "4FR", or "-1FR" in the last seven days of the month: the
// position the handheld takes from the event's date.
QString monthlyWeekday(const QDate& date) {
    const QString day = QString::fromLatin1(kWeekdays[sundayBasedWeekday(date)]);
    if (date.day() + 7 > date.daysInMonth()) return QStringLiteral("-1") + day;
    return QString::number((date.day() - 1) / 7 + 1) + day;
}

QString recurrenceRule(const EventEntry& event, const QDate& date) {
    QString rule;
    switch (event.repeatType) {
    case kRepeatDaily: rule = QStringLiteral("FREQ=DAILY"); break;
    case kRepeatWeekly: {
        const std::uint8_t mask =
            event.repeatOnMask ? event.repeatOnMask : static_cast<std::uint8_t>(1u << sundayBasedWeekday(date));
        QStringList days;
        for (int day = 0; day < 7; ++day) {
            if (mask & (1u << day)) days.append(QString::fromLatin1(kWeekdays[day]));
        }
        // The handheld counts weeks from Sunday.
        rule = QStringLiteral("FREQ=WEEKLY;WKST=SU;BYDAY=") + days.join(u',');
        break;
    }
    case kRepeatMonthByDay: rule = QStringLiteral("FREQ=MONTHLY;BYDAY=") + monthlyWeekday(date); break;
    case kRepeatMonthByDate: rule = QStringLiteral("FREQ=MONTHLY;BYMONTHDAY=") + QString::number(date.day()); break;
    case kRepeatYearly: rule = QStringLiteral("FREQ=YEARLY"); break;
    default: return QString();
    }
    if (event.frequency > 1) rule += QStringLiteral(";INTERVAL=") + QString::number(event.frequency);
    if (!event.repeatEndDate.isZero() && event.repeatEndDate.isValid()) {
        const QDate end = event.repeatEndDate.date();
        // UNTIL has the value type of the start: a date, or the end of that
        // day in the same floating time.
        rule += QStringLiteral(";UNTIL=") + (event.allDay ? dateText(end) : dateTimeText(end, QTime(23, 59, 59)));
    }
    return rule;
}

QString uidOf(const EventEntry& event, int index, const QString& uidDomain) {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(QString::number(index).toUtf8());
    hash.addData(event.title.toUtf8());
    hash.addData(QByteArray::number(event.date.days(), 'f', 6));
    QString domain = uidDomain;
    domain.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9.-]")), QStringLiteral("-"));
    return QString::fromLatin1(hash.result().toHex().left(24)) + u'@' +
           (domain.isEmpty() ? QStringLiteral("skedlin") : domain);
}

}  // namespace

QString escapeICalendarText(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case '\\': result += QStringLiteral("\\\\"); break;
        case ';': result += QStringLiteral("\\;"); break;
        case ',': result += QStringLiteral("\\,"); break;
        case '\n': result += QStringLiteral("\\n"); break;
        case '\r': break;
        default: result += c;
        }
    }
    return result;
}

QByteArray foldContentLine(const QString& line) {
    const QByteArray utf8 = line.toUtf8();
    QByteArray result;
    int lineOctets = 0;
    qsizetype i = 0;
    while (i < utf8.size()) {
        // The whole UTF-8 sequence of one character.
        qsizetype length = 1;
        while (i + length < utf8.size() && (static_cast<unsigned char>(utf8[i + length]) & 0xC0) == 0x80) ++length;
        if (lineOctets + length > kMaxLineOctets) {
            result += "\r\n ";
            lineOctets = 1;
        }
        result += utf8.mid(i, length);
        lineOctets += static_cast<int>(length);
        i += length;
    }
    result += "\r\n";
    return result;
}

QByteArray writeICalendar(const QList<EventEntry>& events, const QString& calendarName, const QString& uidDomain,
                          const QDateTime& stamp) {
    QByteArray out;
    auto line = [&out](const QString& text) { out += foldContentLine(text); };
    line(QStringLiteral("BEGIN:VCALENDAR"));
    line(QStringLiteral("VERSION:2.0"));
    line(QStringLiteral("PRODID:-//Skedlin//Skedlin calendar package editor//EN"));
    line(QStringLiteral("CALSCALE:GREGORIAN"));
    if (!calendarName.isEmpty()) line(QStringLiteral("X-WR-CALNAME:") + escapeICalendarText(calendarName));
    const QString stampText = dateTimeText(stamp.toUTC().date(), stamp.toUTC().time()) + u'Z';
    for (int index = 0; index < events.size(); ++index) {
        const EventEntry& event = events[index];
        const QDate date = event.date.date();
        if (!date.isValid()) continue;
        line(QStringLiteral("BEGIN:VEVENT"));
        line(QStringLiteral("UID:") + uidOf(event, index, uidDomain));
        line(QStringLiteral("DTSTAMP:") + stampText);
        if (event.allDay) {
            line(QStringLiteral("DTSTART;VALUE=DATE:") + dateText(date));
            line(QStringLiteral("DTEND;VALUE=DATE:") + dateText(date.addDays(1)));
        } else {
            const QDateTime start(date, event.startTime.time(), Qt::UTC);  // floating: no zone arithmetic
            QDateTime end(date, event.endTime.time(), Qt::UTC);
            if (end < start) end = end.addDays(1);  // ends after midnight
            line(QStringLiteral("DTSTART:") + dateTimeText(start.date(), start.time()));
            if (end > start) line(QStringLiteral("DTEND:") + dateTimeText(end.date(), end.time()));
        }
        line(QStringLiteral("SUMMARY:") + escapeICalendarText(event.title));
        if (!event.note.isEmpty()) line(QStringLiteral("DESCRIPTION:") + escapeICalendarText(event.note));
        if (!event.groupName.isEmpty()) line(QStringLiteral("CATEGORIES:") + escapeICalendarText(event.groupName));
        const QString rule = recurrenceRule(event, date);
        if (!rule.isEmpty()) {
            line(QStringLiteral("RRULE:") + rule);
            for (const DateTimeValue& exception : event.exceptionDates) {
                if (!exception.isValid()) continue;
                line(event.allDay ? QStringLiteral("EXDATE;VALUE=DATE:") + dateText(exception.date())
                                  : QStringLiteral("EXDATE:") + dateTimeText(exception.date(), event.startTime.time()));
            }
        }
        line(QStringLiteral("END:VEVENT"));
    }
    line(QStringLiteral("END:VCALENDAR"));
    return out;
}

}  // namespace skedlin
