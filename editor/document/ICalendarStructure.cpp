#include "editor/document/ICalendarStructure.h"

#include <libical/ical.h>

#include <QDate>
#include <QStringDecoder>

#include <string>

#include "editor/document/CalendarExchangeMessages.h"
#include "editor/document/ICalendarReader.h"
#include "model/Windows1252.h"

namespace skedlin {
namespace {

struct LogicalLine {
    QString text;
    int number = 0;  // 1-based physical line where it starts
};

// Text that is valid UTF-8 is read as UTF-8, any other as Windows-1252, so
// no byte is lost.
QString decodeLine(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8.decode(bytes);
    if (!utf8.hasError()) return decoded;
    return QString::fromStdString(windows1252ToUtf8(std::string_view(bytes.constData(), bytes.size())));
}

// Joins folded lines (a line beginning with a space or a tab continues the one
// before) so that each property is seen whole, remembering where it began.
// The joining is done on the bytes: exporters fold at a byte count and may cut
// a character of several bytes in two.
QList<LogicalLine> unfold(const QByteArray& bytes) {
    QList<LogicalLine> result;
    QList<QByteArray> joined;
    qsizetype start = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    int number = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0) end = bytes.size();
        qsizetype lineEnd = end;
        while (lineEnd > start && bytes[lineEnd - 1] == '\r') --lineEnd;
        ++number;
        const QByteArray line = bytes.mid(start, lineEnd - start);
        if (!line.isEmpty() && (line[0] == ' ' || line[0] == '\t') && !joined.isEmpty()) {
            joined.back() += line.mid(1);
        } else {
            joined.append(line);
            result.append({QString(), number});
        }
        start = end + 1;
    }
    for (qsizetype i = 0; i < result.size(); ++i) result[i].text = decodeLine(joined[i]);
    return result;
}

QString propertyName(const QString& line) {
    const qsizetype colon = line.indexOf(u':');
    const qsizetype semicolon = line.indexOf(u';');
    qsizetype end = colon;
    if (semicolon >= 0 && (end < 0 || semicolon < end)) end = semicolon;
    return (end < 0 ? line : line.left(end)).trimmed().toUpper();
}

// The event properties whose values the import relies on.
bool isCheckedProperty(const QString& name) {
    static const QStringList kChecked = {
        QStringLiteral("DTSTART"), QStringLiteral("DTEND"), QStringLiteral("DURATION"),     QStringLiteral("RRULE"),
        QStringLiteral("EXDATE"),  QStringLiteral("RDATE"), QStringLiteral("RECURRENCE-ID")};
    return kChecked.contains(name);
}

// Whether libical can parse the property line into a value of its kind.
bool propertyValueReadable(const QString& line, const QString& name) {
    const QByteArray utf8 = line.toUtf8();
    icalproperty* property = icalproperty_new_from_string(utf8.constData());
    if (property == nullptr) return false;
    bool readable = icalproperty_isa(property) != ICAL_X_PROPERTY &&
                    icalproperty_isa(property) != ICAL_XLICERROR_PROPERTY &&
                    icalproperty_get_value(property) != nullptr;
    if (readable && name == QLatin1String("RRULE")) {
        const icalrecurrencetype rule = icalproperty_get_rrule(property);
        readable = rule.freq != ICAL_NO_RECURRENCE && rule.interval > 0 && rule.count >= 0;
    }
    if (readable && (name == QLatin1String("DTSTART") || name == QLatin1String("DTEND") ||
                     name == QLatin1String("RECURRENCE-ID"))) {
        // libical takes any digits for a date; a 13th month is no date.
        const icaltimetype time = icalvalue_get_datetime(icalproperty_get_value(property));
        readable = !icaltime_is_null_time(time) && QDate(time.year, time.month, time.day).isValid() && time.hour < 24 &&
                   time.minute < 60 && time.second <= 60;
    }
    icalproperty_free(property);
    return readable;
}

struct Open {
    QString name;
    int line;
};

bool insideTimeZone(const QList<Open>& open) {
    for (const Open& component : open) {
        if (component.name == QLatin1String("VTIMEZONE")) return true;
    }
    return false;
}

bool isYearlyOrMonthlyRule(const QString& line) {
    const QByteArray utf8 = line.toUtf8();
    icalproperty* property = icalproperty_new_from_string(utf8.constData());
    if (property == nullptr) return false;
    bool slow = false;
    if (icalproperty_isa(property) == ICAL_RRULE_PROPERTY) {
        const icalrecurrencetype_frequency frequency = icalproperty_get_rrule(property).freq;
        slow = frequency == ICAL_YEARLY_RECURRENCE || frequency == ICAL_MONTHLY_RECURRENCE;
    }
    icalproperty_free(property);
    return slow;
}

ICalendarStructure malformed(ICalendarStructure& result, const QString& message) {
    result.result = ICalendarResult(ICalendarError::Malformed, message);
    result.eventLines.clear();
    return result;
}

}  // namespace

ICalendarStructure checkICalendarStructure(const QByteArray& bytes) {
    ICalendarStructure result;
    const QList<LogicalLine> logical = unfold(bytes);
    QList<Open> open;
    bool first = true;
    for (const LogicalLine& line : logical) {
        const QString trimmed = line.text.trimmed();
        if (trimmed.isEmpty()) continue;
        const QString name = propertyName(trimmed);
        const QString value = trimmed.mid(trimmed.indexOf(u':') + 1).trimmed().toUpper();
        if (first) {
            first = false;
            if (name != QLatin1String("BEGIN") || value != QLatin1String("VCALENDAR")) {
                return malformed(result, QString::fromLatin1(messages::kICalendarNoCalendar).arg(line.number));
            }
        }
        if (name == QLatin1String("BEGIN")) {
            if (open.size() >= kMaxICalendarNesting) {
                return malformed(
                    result,
                    QString::fromLatin1(messages::kICalendarTooDeep).arg(line.number).arg(kMaxICalendarNesting));
            }
            // A second calendar may follow the first one in the same file.
            if (open.isEmpty() && value != QLatin1String("VCALENDAR")) {
                return malformed(result, QString::fromLatin1(messages::kICalendarNoCalendar).arg(line.number));
            }
            if (value == QLatin1String("VEVENT") && open.size() == 1) result.eventLines.append(line.number);
            open.append({value, line.number});
        } else if (name == QLatin1String("END")) {
            if (open.isEmpty()) {
                return malformed(result,
                                 QString::fromLatin1(messages::kICalendarStrayEnd).arg(line.number).arg(trimmed));
            }
            if (open.back().name != value) {
                return malformed(result, QString::fromLatin1(messages::kICalendarWrongEnd)
                                             .arg(line.number)
                                             .arg(trimmed, open.back().name)
                                             .arg(open.back().line));
            }
            open.removeLast();
        } else if (open.size() == 2 && open.back().name == QLatin1String("VEVENT") && isCheckedProperty(name) &&
                   !propertyValueReadable(trimmed, name)) {
            return malformed(result, QString::fromLatin1(messages::kICalendarBadValue).arg(line.number).arg(name));
        } else if (name == QLatin1String("RRULE") && insideTimeZone(open) && !isYearlyOrMonthlyRule(trimmed)) {
            // libical works out a zone's changes by iterating its rules from
            // their start; a rule more frequent than monthly could take it years.
            return malformed(result, QString::fromLatin1(messages::kICalendarBadValue).arg(line.number).arg(name));
        }
    }
    if (first) {
        return malformed(result, QString::fromLatin1(messages::kICalendarNoCalendar).arg(1));
    }
    if (!open.isEmpty()) {
        return malformed(result,
                         QString::fromLatin1(messages::kICalendarUnclosed).arg(open.back().name).arg(open.back().line));
    }
    QString text;
    for (const LogicalLine& line : logical) {
        QString clean = line.text;
        clean.remove(u'\r');  // a stray carriage return inside a value
        text += clean;
        text += QStringLiteral("\r\n");
    }
    result.text = text.toUtf8();
    return result;
}

}  // namespace skedlin
