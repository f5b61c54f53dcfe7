#pragma once
// The editor's date-time value: a day count held as a double, day 0 being
// 30 December 1899 at 00:00, the fraction being the time of day, plus a validity
// status. Times of day are held on day 0. The value is what the event entries,
// their dialogs and the importers exchange; the file format speaks in days from
// 1 January 1900 (see wholeDaysSince1900).

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

namespace skedlin {

class DateTimeValue {
public:
    // Zero: 30 December 1899, 00:00, valid.
    DateTimeValue() = default;
    explicit DateTimeValue(double days) : days_(days) {}

    static DateTimeValue invalid();
    // An invalid value when the parts do not form a date or time.
    static DateTimeValue fromDate(int year, int month, int day);
    static DateTimeValue fromDate(const QDate& date);
    // A time of day on day 0.
    static DateTimeValue fromTime(int hour, int minute, int second = 0);
    static DateTimeValue fromTime(const QTime& time);
    static DateTimeValue fromDateTime(const QDateTime& dateTime);  // local wall-clock parts
    // 1 January 1900 plus the given number of days (the file's `day` attribute).
    static DateTimeValue fromDaysSince1900(long days);

    bool isValid() const { return valid_; }
    double days() const { return days_; }
    bool isZero() const { return valid_ && days_ == 0.0; }

    // The calendar day, ignoring the time of day; an invalid QDate when invalid.
    QDate date() const;
    // The time of day, rounded to the second; an invalid QTime when invalid.
    QTime time() const;
    QDateTime toDateTime() const;  // local time, no time-zone conversion
    // This value with its time of day dropped, and with its date dropped.
    DateTimeValue datePart() const;
    DateTimeValue timePart() const;

    // Whole days from 1 January 1900 00:00 to this value, truncated toward zero.
    long wholeDaysSince1900() const;

    // Locale-independent texts of the file format: "01 Jan 2003" and "21:15".
    QString formatFileDate() const;
    QString formatFileTime() const;

    friend bool operator==(const DateTimeValue& a, const DateTimeValue& b) {
        return a.valid_ == b.valid_ && a.days_ == b.days_;
    }
    friend bool operator!=(const DateTimeValue& a, const DateTimeValue& b) { return !(a == b); }
    // Orders by the day count; the status is not compared.
    friend bool operator<(const DateTimeValue& a, const DateTimeValue& b) { return a.days_ < b.days_; }

private:
    double days_ = 0.0;
    bool valid_ = true;
};

// Parses a date text as a user would type it: the file's own "01 Jan 2003",
// ISO "2003-01-01", then the short and long date formats of the given locale.
// Returns an invalid value when none matches.
DateTimeValue parseDateText(const QString& text, const QLocale& locale);

}  // namespace skedlin
