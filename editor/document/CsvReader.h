#pragma once
// Events from a comma-separated values file (".csv") whose first line names
// the columns.

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

#include "editor/document/DateTimeValue.h"
#include "editor/document/ImportMessages.h"
#include "editor/document/PackageEntries.h"

namespace skedlin {

// Splits the record that starts at lines[next] into fields and advances next
// past it. A double quote toggles quoting and is dropped; a comma outside
// quotes ends a field; a record that ends inside quotes continues on the next
// line with CR LF between. False when the file ends inside quotes.
bool splitCsvRecord(const QStringList& lines, qsizetype& next, QStringList& fields);

// Dates and times as a user's spreadsheet writes them: the locale's formats,
// the file's own "01 Jan 2003", ISO dates, and 12- or 24-hour times.
// An empty text gives the zero value; an unreadable one an invalid value.
DateTimeValue parseCsvDate(const QString& text, const QLocale& locale);
DateTimeValue parseCsvTime(const QString& text, const QLocale& locale);

class CsvReader {
public:
    CsvReader(QString defaultGroupName, QLocale locale = QLocale())
        : defaultGroup_(std::move(defaultGroupName)), locale_(std::move(locale)) {}

    // False when the file is empty, its header lacks a date or a subject
    // column (the sink is told), or a row holds a date or time that cannot be
    // read (the sink is told which).
    bool read(const QStringList& lines, ImportMessageSink& messages);
    const QList<EventEntry>& events() const { return events_; }

private:
    bool readRow(const QStringList& header, const QStringList& fields, int rowNumber, ImportMessageSink& messages);

    QString defaultGroup_;
    QLocale locale_;
    QList<EventEntry> events_;
};

}  // namespace skedlin
