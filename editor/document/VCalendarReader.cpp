#include "editor/document/VCalendarReader.h"

#include <QDateTime>

#include <algorithm>

#include "editor/document/ImportMessages.h"
#include "editor/document/PropertyLineReader.h"

namespace skedlin {
namespace {

// The decimal number of characters [from, from + count); a missing or
// non-numeric part counts as 0.
int numberAt(const QString& text, int from, int count) {
    bool ok = false;
    const int value = text.mid(from, count).toInt(&ok);
    return ok ? value : 0;
}

bool allDigits(const QString& text) {
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

// The number after the first `skip` characters of a token; frequencies are one
// byte on the handheld, so they are kept within 1 to 255.
std::uint8_t frequencyAfter(const QString& token, int skip) {
    QString digits;
    for (qsizetype i = skip; i < token.size() && token[i].isDigit() && digits.size() < 9; ++i) digits += token[i];
    const int value = digits.toInt();
    return static_cast<std::uint8_t>(std::clamp(value, 1, 255));
}

constexpr const char* kWeekdayTokens[] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};

}  // namespace

DateTimeValue parseVCalendarDateTime(const QString& text) {
    const QString value = text.trimmed();
    const QDate date(numberAt(value, 0, 4), numberAt(value, 4, 2), numberAt(value, 6, 2));
    const QTime time(numberAt(value, 9, 2), numberAt(value, 11, 2), numberAt(value, 13, 2));
    if (!date.isValid() || !time.isValid()) return DateTimeValue::invalid();
    if (value.endsWith(u'Z')) {
        // Universal time: the local offset that applies at that very instant,
        // daylight saving included only when it is in force then.
        const QDateTime utc(date, time, Qt::UTC);
        return DateTimeValue::fromDateTime(utc.toLocalTime());
    }
    return DateTimeValue::fromDateTime(QDateTime(date, time));
}

DateTimeValue parseVCalendarEndDate(const QString& token) {
    const QString datePart = token.left(8);
    if (datePart.size() < 8 || !allDigits(datePart)) return DateTimeValue::invalid();
    return DateTimeValue::fromDate(numberAt(datePart, 0, 4), numberAt(datePart, 4, 2), numberAt(datePart, 6, 2));
}

void applyVCalendarRecurrence(const QString& rule, EventEntry& event) {
    const QStringList tokens = rule.split(u' ', Qt::SkipEmptyParts);
    if (tokens.isEmpty()) return;
    const QString& first = tokens.front();
    // A token that is not a date (an occurrence count "#3", a day "15", a
    // position "1+") gives no end date: the event repeats for ever.
    auto takeEndDate = [&event](const QString& token) {
        const DateTimeValue end = parseVCalendarEndDate(token);
        if (end.isValid()) event.repeatEndDate = end;
    };
    switch (first[0].unicode()) {
    case 'D':
        event.repeatType = kRepeatDaily;
        event.frequency = frequencyAfter(first, 1);
        if (tokens.size() >= 2) takeEndDate(tokens[1]);
        break;
    case 'W':
        event.repeatType = kRepeatWeekly;
        event.frequency = frequencyAfter(first, 1);
        for (qsizetype i = 1; i < tokens.size(); ++i) {
            const QString& token = tokens[i];
            if (token[0].isDigit()) {
                takeEndDate(token);
                continue;
            }
            for (int day = 0; day < 7; ++day) {
                if (token == QLatin1String(kWeekdayTokens[day]))
                    event.repeatOnMask |= static_cast<std::uint8_t>(1u << day);
            }
        }
        break;
    case 'M':
        event.repeatType = first.startsWith(QLatin1String("MD")) ? kRepeatMonthByDate : kRepeatMonthByDay;
        event.frequency = frequencyAfter(first, 2);
        if (tokens.size() >= 2) takeEndDate(tokens.back());
        break;
    case 'Y':
        event.repeatType = kRepeatYearly;
        event.frequency = frequencyAfter(first, 2);
        if (tokens.size() >= 2) takeEndDate(tokens.back());
        break;
    default: break;
    }
}

VCalendarResult VCalendarReader::read(const QStringList& lines) {
    if (lines.isEmpty() || lines.front() != QLatin1String("BEGIN:VCALENDAR"))
        return VCalendarResult(VCalendarError::NotACalendar, QString());
    // Files often hold several calendar blocks one after another: an
    // "END:VCALENDAR" ends one block, not the file.
    qsizetype next = 1;
    while (next < lines.size()) {
        const QString& line = lines[next++];
        if (line != QLatin1String("BEGIN:VEVENT")) continue;
        if (VCalendarResult event = readEvent(lines, next); !event) return event;
    }
    return VCalendarResult::success();
}

VCalendarResult VCalendarReader::readEvent(const QStringList& lines, qsizetype& next) {
    EventEntry event;
    event.allDay = 1;
    event.groupName = defaultGroup_;
    // A start or end that cannot be read would leave the event without a
    // date, which no package can hold: the file is refused, naming the line.
    auto readDateTime = [&](const PropertyLine& property, DateTimeValue& target) {
        target = parseVCalendarDateTime(property.value);
        return target.isValid();
    };
    auto badDate = [&](const PropertyLine& property) {
        return VCalendarResult(VCalendarError::BadDate,
                               QString::fromLatin1(messages::kImportVCalendarBadDate).arg(next).arg(property.value));
    };
    while (next < lines.size()) {
        const QString& line = lines[next++];
        if (line == QLatin1String("END:VEVENT")) break;
        const PropertyLine property = parsePropertyLine(line);
        if (property.name == QLatin1String("SUMMARY")) {
            event.title = property.value;
        } else if (property.name == QLatin1String("DESCRIPTION")) {
            event.note = property.value;
        } else if (property.name == QLatin1String("DTSTART")) {
            if (!readDateTime(property, event.date)) return badDate(property);
            event.startTime = event.date;
        } else if (property.name == QLatin1String("DTEND")) {
            if (!readDateTime(property, event.endTime)) return badDate(property);
            event.allDay = 0;
        } else if (property.name == QLatin1String("RRULE")) {
            applyVCalendarRecurrence(property.value, event);
        }
    }
    // A weekly rule that names no weekday repeats on the weekday of the
    // event's date (Qt numbers Monday 1 to Sunday 7; the mask has Sunday as bit 0).
    if (event.repeatType == kRepeatWeekly && event.repeatOnMask == 0 && event.date.isValid())
        event.repeatOnMask = static_cast<std::uint8_t>(1u << (event.date.date().dayOfWeek() % 7));
    events_.append(event);
    return VCalendarResult::success();
}

}  // namespace skedlin
