#pragma once
// Events from a comma-separated values file (".csv") whose first line names
// the columns.

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

#include "editor/document/DateTimeValue.h"
#include "editor/document/PackageEntries.h"
#include "formats/Result.h"

namespace skedlin {

// Splits the record that starts at lines[next] into fields and advances next
// past it. A double quote toggles quoting and is dropped; a comma outside
// quotes ends a field; a record that ends inside quotes continues on the next
// line with CR LF between. False when the file ends inside quotes.
bool splitCsvRecord(const QStringList& lines, qsizetype& next, QStringList& fields);

enum class NumericDateOrder { MonthFirst, DayFirst };

// A numeric date: "2003-10-15" (year first, always read so), or day and month
// in either order followed by a two- or four-digit year, separated by "/", "."
// or "-". Day and month are read in the locale's order (month first in the C
// and POSIX locales); a date that order cannot give, such as "15/10/2003" read
// month first, is read in the other order. Ambiguous when both orders give
// different dates.
struct NumericDate {
    bool matched = false;  // the text has the shape of a numeric date
    DateTimeValue date = DateTimeValue::invalid();
    NumericDateOrder order = NumericDateOrder::MonthFirst;  // the order used
    bool ambiguous = false;
};
NumericDate parseNumericDate(const QString& text, const QLocale& locale);

// Dates and times as a user's spreadsheet writes them: numeric dates as above,
// the file's own "01 Jan 2003", the locale's formats, and 12- or 24-hour
// times. An empty text gives the zero value; an unreadable one an invalid
// value. *numeric, when given, receives how a numeric date was read.
DateTimeValue parseCsvDate(const QString& text, const QLocale& locale, NumericDate* numeric = nullptr);
DateTimeValue parseCsvTime(const QString& text, const QLocale& locale);

// Why a CSV file cannot be imported; the message, when there is one, is the
// text the user reads.
enum class CsvError {
    None,
    NoHeader,   // the file is empty, or ends inside quotes in its first record (no message)
    BadHeader,  // the header lacks a date or a subject column
    BadDate,    // a row holds a date that cannot be read (the message names it)
    BadTime,    // a row holds a time that cannot be read (the message names it)
};
using CsvResult = Result<CsvError, QString>;

class CsvReader {
public:
    CsvReader(QString defaultGroupName, QLocale locale = QLocale())
        : defaultGroup_(std::move(defaultGroupName)), locale_(std::move(locale)) {}

    // Reads the events of the file's rows; rows whose fields are all empty are
    // skipped.
    CsvResult read(const QStringList& lines);
    const QList<EventEntry>& events() const { return events_; }
    // After a read: when some numeric date could be read either way, which
    // order was used, for the user to check; empty otherwise.
    QString dateOrderNote() const;

private:
    CsvResult readRow(const QStringList& header, const QStringList& fields, int rowNumber);

    QString defaultGroup_;
    QLocale locale_;
    QList<EventEntry> events_;
    QString firstAmbiguousDate_;  // empty when no date could be read either way
    NumericDateOrder ambiguousOrder_ = NumericDateOrder::MonthFirst;
};

}  // namespace skedlin
