#include "editor/document/CsvReader.h"

#include <QRegularExpression>

#include <algorithm>

#include "editor/document/ImportMessages.h"

namespace skedlin {
namespace {

bool headerNames(const QStringList& header, const char* a, const char* b) {
    for (const QString& column : header) {
        const QString name = column.toUpper();
        if (name == QLatin1String(a) || name == QLatin1String(b)) return true;
    }
    return false;
}

// The two-digit year of a numeric date: 00 to 49 are this century's years.
int fullYear(const QString& digits) {
    const int year = digits.toInt();
    if (digits.size() > 2) return year;
    return year < 50 ? 2000 + year : 1900 + year;
}

// The order in which the locale writes the day and the month of a numeric
// date. The C and POSIX locales write none; there, as in most programs that
// export such files, the month comes first.
NumericDateOrder localeDateOrder(const QLocale& locale) {
    if (locale.language() == QLocale::C) return NumericDateOrder::MonthFirst;
    const QString shortFormat = locale.dateFormat(QLocale::ShortFormat);
    const qsizetype day = shortFormat.indexOf(u'd');
    const qsizetype month = shortFormat.indexOf(u'M');
    return month >= 0 && day >= 0 && month < day ? NumericDateOrder::MonthFirst : NumericDateOrder::DayFirst;
}

}  // namespace

NumericDate parseNumericDate(const QString& text, const QLocale& locale) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,4})([/.-])(\\d{1,2})\\2(\\d{1,4})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    NumericDate result;
    if (!match.hasMatch()) return result;
    result.matched = true;
    const QString first = match.captured(1);
    const QString last = match.captured(4);
    const int middle = match.captured(3).toInt();
    if (first.size() == 4) {  // year first, as ISO writes it
        if (last.size() <= 2) result.date = DateTimeValue::fromDate(first.toInt(), middle, last.toInt());
        return result;
    }
    if (first.size() > 2 || last.size() == 3 || last.size() == 1) return result;
    const int year = fullYear(last);
    const NumericDateOrder preferred = localeDateOrder(locale);
    const NumericDateOrder other =
        preferred == NumericDateOrder::MonthFirst ? NumericDateOrder::DayFirst : NumericDateOrder::MonthFirst;
    auto dateIn = [&](NumericDateOrder order) {
        return order == NumericDateOrder::MonthFirst ? DateTimeValue::fromDate(year, first.toInt(), middle)
                                                     : DateTimeValue::fromDate(year, middle, first.toInt());
    };
    // A date the preferred order cannot give (a day above 12 in the month's
    // place) is read in the other order.
    const DateTimeValue inPreferred = dateIn(preferred);
    const DateTimeValue inOther = dateIn(other);
    if (inPreferred.isValid()) {
        result.date = inPreferred;
        result.order = preferred;
        result.ambiguous = inOther.isValid() && inOther != inPreferred;
    } else if (inOther.isValid()) {
        result.date = inOther;
        result.order = other;
    }
    return result;
}

bool splitCsvRecord(const QStringList& lines, qsizetype& next, QStringList& fields) {
    fields.clear();
    QString field;
    bool quoted = false;
    while (next < lines.size()) {
        const QString& line = lines[next++];
        for (QChar c : line) {
            if (c == u'"') {
                quoted = !quoted;
            } else if (c == u',' && !quoted) {
                fields.append(field);
                field.clear();
            } else {
                field += c;
            }
        }
        if (!quoted) {
            fields.append(field);
            return true;
        }
        field += QStringLiteral("\r\n");
    }
    return false;
}

DateTimeValue parseCsvDate(const QString& text, const QLocale& locale, NumericDate* numeric) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return DateTimeValue();
    const NumericDate date = parseNumericDate(trimmed, locale);
    if (numeric) *numeric = date;
    if (date.date.isValid()) return date.date;
    return parseDateText(trimmed, locale);
}

DateTimeValue parseCsvTime(const QString& text, const QLocale& locale) {
    const QString trimmed = text.trimmed().toUpper();
    if (trimmed.isEmpty()) return DateTimeValue();
    const QLocale c = QLocale::c();
    for (const char* format : {"h:mm AP", "h:mm:ss AP", "h:mmAP", "h:mm:ssAP", "H:mm", "H:mm:ss", "h AP"}) {
        const QTime time = c.toTime(trimmed, QLatin1String(format));
        if (time.isValid()) return DateTimeValue::fromTime(time);
    }
    for (QLocale::FormatType type : {QLocale::ShortFormat, QLocale::LongFormat}) {
        const QTime time = locale.toTime(text.trimmed(), type);
        if (time.isValid()) return DateTimeValue::fromTime(time);
    }
    return DateTimeValue::invalid();
}

CsvResult CsvReader::read(const QStringList& lines) {
    firstAmbiguousDate_.clear();
    qsizetype next = 0;
    QStringList header;
    if (lines.isEmpty() || !splitCsvRecord(lines, next, header)) return CsvResult(CsvError::NoHeader, QString());
    if (!headerNames(header, "START DATE", "DATE") || !headerNames(header, "SUBJECT", "TEXT"))
        return CsvResult(CsvError::BadHeader, QString::fromLatin1(messages::kImportCsvBadHeader));
    QStringList fields;
    int rowNumber = 1;
    while (next < lines.size()) {
        // A record cut off by the end of the file inside quotes is not used.
        if (!splitCsvRecord(lines, next, fields)) break;
        ++rowNumber;
        // A blank line (or one of empty fields) holds no event.
        if (std::all_of(fields.cbegin(), fields.cend(), [](const QString& f) { return f.trimmed().isEmpty(); }))
            continue;
        if (CsvResult row = readRow(header, fields, rowNumber); !row) return row;
    }
    return CsvResult::success();
}

QString CsvReader::dateOrderNote() const {
    if (firstAmbiguousDate_.isEmpty()) return QString();
    const char* order =
        ambiguousOrder_ == NumericDateOrder::MonthFirst ? messages::kImportCsvMonthFirst : messages::kImportCsvDayFirst;
    return QString::fromLatin1(messages::kImportCsvDateOrder).arg(firstAmbiguousDate_, QString::fromLatin1(order));
}

CsvResult CsvReader::readRow(const QStringList& header, const QStringList& fields, int rowNumber) {
    EventEntry event;
    event.allDay = 0;
    event.groupName = defaultGroup_;
    for (qsizetype column = 0; column < header.size(); ++column) {
        // A row shorter than the header has empty fields in the missing columns.
        const QString field = column < fields.size() ? fields[column] : QString();
        const QString name = header[column].toUpper();
        auto readDate = [&](DateTimeValue& target, bool isTime) -> CsvResult {
            NumericDate numeric;
            const DateTimeValue value = isTime ? parseCsvTime(field, locale_) : parseCsvDate(field, locale_, &numeric);
            if (numeric.ambiguous && firstAmbiguousDate_.isEmpty()) {
                firstAmbiguousDate_ = field.trimmed();
                ambiguousOrder_ = numeric.order;
            }
            if (!value.isValid()) {
                const char* text = isTime ? messages::kImportCsvBadTime : messages::kImportCsvBadDate;
                return CsvResult(isTime ? CsvError::BadTime : CsvError::BadDate,
                                 QString::fromLatin1(text).arg(rowNumber).arg(field));
            }
            target = value;
            return CsvResult::success();
        };
        CsvResult read;
        if (name == QLatin1String("SUBJECT") || name == QLatin1String("TEXT")) {
            event.title = field;
        } else if (name == QLatin1String("START DATE") || name == QLatin1String("DATE")) {
            read = readDate(event.date, false);
        } else if (name == QLatin1String("START TIME")) {
            read = readDate(event.startTime, true);
        } else if (name == QLatin1String("END TIME")) {
            read = readDate(event.endTime, true);
        } else if (name == QLatin1String("ALL DAY EVENT")) {
            event.allDay = field.compare(QLatin1String("FALSE"), Qt::CaseInsensitive) == 0 ? 0 : 1;
        } else if (name == QLatin1String("UNTIMED")) {
            event.allDay = field.isEmpty() ? 0 : 1;
        } else if (name == QLatin1String("DESCRIPTION") || name == QLatin1String("NOTE")) {
            event.note = field;
        } else if (name == QLatin1String("GROUP") && !field.isEmpty()) {
            // An empty group field keeps the default group rather than naming a group "".
            event.groupName = field;
        } else if (name == QLatin1String("CATEGORIES") && !field.isEmpty()) {
            event.groupName = field.section(u';', 0, 0);
        }
        if (!read) return read;
    }
    events_.append(event);
    return CsvResult::success();
}

}  // namespace skedlin
