#include "editor/document/CsvReader.h"

namespace skedlin {
namespace {

bool headerNames(const QStringList& header, const char* a, const char* b) {
    for (const QString& column : header) {
        const QString name = column.toUpper();
        if (name == QLatin1String(a) || name == QLatin1String(b)) return true;
    }
    return false;
}

// Numeric dates with a four-digit year, in the order the locale writes dates.
DateTimeValue parseNumericDate(const QString& text, const QLocale& locale) {
    const QString shortFormat = locale.dateFormat(QLocale::ShortFormat);
    const qsizetype day = shortFormat.indexOf(u'd');
    const qsizetype month = shortFormat.indexOf(u'M');
    const qsizetype year = shortFormat.indexOf(u'y');
    QStringList orders;
    if (year >= 0 && year < day && year < month) orders << QStringLiteral("yyyy%1M%1d");
    else if (month >= 0 && month < day) orders << QStringLiteral("M%1d%1yyyy");
    else orders << QStringLiteral("d%1M%1yyyy");
    const QLocale c = QLocale::c();
    for (const QString& order : orders) {
        for (QChar separator : {u'/', u'.', u'-'}) {
            const QDate date = c.toDate(text, order.arg(separator));
            if (date.isValid()) return DateTimeValue::fromDate(date);
        }
    }
    return DateTimeValue::invalid();
}

}  // namespace

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

DateTimeValue parseCsvDate(const QString& text, const QLocale& locale) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return DateTimeValue();
    const DateTimeValue date = parseDateText(trimmed, locale);
    if (date.isValid()) return date;
    return parseNumericDate(trimmed, locale);
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

bool CsvReader::read(const QStringList& lines, ImportMessageSink& messages) {
    qsizetype next = 0;
    QStringList header;
    if (lines.isEmpty() || !splitCsvRecord(lines, next, header)) return false;
    if (!headerNames(header, "START DATE", "DATE") || !headerNames(header, "SUBJECT", "TEXT")) {
        messages.showImportMessage(QString::fromLatin1(messages::kImportCsvBadHeader), ImportMessageIcon::Exclamation);
        return false;
    }
    QStringList fields;
    int rowNumber = 1;
    while (next < lines.size()) {
        // A record cut off by the end of the file inside quotes is not used.
        if (!splitCsvRecord(lines, next, fields)) break;
        ++rowNumber;
        if (!readRow(header, fields, rowNumber, messages)) return false;
    }
    return true;
}

bool CsvReader::readRow(const QStringList& header, const QStringList& fields, int rowNumber,
                        ImportMessageSink& messages) {
    EventEntry event;
    event.allDay = 0;
    event.groupName = defaultGroup_;
    for (qsizetype column = 0; column < header.size(); ++column) {
        // A row shorter than the header has empty fields in the missing columns.
        const QString field = column < fields.size() ? fields[column] : QString();
        const QString name = header[column].toUpper();
        auto readDate = [&](DateTimeValue& target, bool isTime) {
            const DateTimeValue value = isTime ? parseCsvTime(field, locale_) : parseCsvDate(field, locale_);
            if (!value.isValid()) {
                const char* text = isTime ? messages::kImportCsvBadTime : messages::kImportCsvBadDate;
                messages.showImportMessage(QString::fromLatin1(text).arg(rowNumber).arg(field),
                                           ImportMessageIcon::Exclamation);
                return false;
            }
            target = value;
            return true;
        };
        if (name == QLatin1String("SUBJECT") || name == QLatin1String("TEXT")) {
            event.title = field;
        } else if (name == QLatin1String("START DATE") || name == QLatin1String("DATE")) {
            if (!readDate(event.date, false)) return false;
        } else if (name == QLatin1String("START TIME")) {
            if (!readDate(event.startTime, true)) return false;
        } else if (name == QLatin1String("END TIME")) {
            if (!readDate(event.endTime, true)) return false;
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
    }
    events_.append(event);
    return true;
}

}  // namespace skedlin
