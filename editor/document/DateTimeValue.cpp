#include "editor/document/DateTimeValue.h"

#include <QLocale>

#include <cmath>

namespace skedlin {
namespace {

constexpr double kSecondsPerDay = 86400.0;
// Day 0 of the value is 30 December 1899; the file counts from 1 January 1900.
constexpr long kDaysFrom1899To1900 = 2;

qint64 julianDayOfDayZero() {
    static const qint64 day = QDate(1899, 12, 30).toJulianDay();
    return day;
}

// Whole days and seconds of the day. A negative value counts whole days
// backwards while its fraction still runs forward through the day.
void split(double value, qint64& wholeDays, int& seconds) {
    const double whole = std::trunc(value);
    double secondsOfDay = std::round(std::fabs(value - whole) * kSecondsPerDay);
    wholeDays = static_cast<qint64>(whole);
    if (secondsOfDay >= kSecondsPerDay) {  // rounding reached the next day
        secondsOfDay -= kSecondsPerDay;
        wholeDays += value < 0 ? -1 : 1;
    }
    seconds = static_cast<int>(secondsOfDay);
}

const char* const kMonthAbbreviations[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

}  // namespace

DateTimeValue DateTimeValue::invalid() {
    DateTimeValue value;
    value.valid_ = false;
    return value;
}

DateTimeValue DateTimeValue::fromDate(int year, int month, int day) { return fromDate(QDate(year, month, day)); }

DateTimeValue DateTimeValue::fromDate(const QDate& date) {
    if (!date.isValid()) return invalid();
    return DateTimeValue(static_cast<double>(date.toJulianDay() - julianDayOfDayZero()));
}

DateTimeValue DateTimeValue::fromTime(int hour, int minute, int second) {
    return fromTime(QTime(hour, minute, second));
}

DateTimeValue DateTimeValue::fromTime(const QTime& time) {
    if (!time.isValid()) return invalid();
    return DateTimeValue(time.msecsSinceStartOfDay() / 1000 / kSecondsPerDay);
}

DateTimeValue DateTimeValue::fromDateTime(const QDateTime& dateTime) {
    if (!dateTime.isValid()) return invalid();
    const DateTimeValue date = fromDate(dateTime.date());
    const DateTimeValue time = fromTime(dateTime.time());
    if (date.days_ < 0) return DateTimeValue(date.days_ - time.days_);
    return DateTimeValue(date.days_ + time.days_);
}

DateTimeValue DateTimeValue::fromDaysSince1900(long days) {
    return DateTimeValue(static_cast<double>(days + kDaysFrom1899To1900));
}

QDate DateTimeValue::date() const {
    if (!valid_) return QDate();
    qint64 wholeDays = 0;
    int seconds = 0;
    split(days_, wholeDays, seconds);
    return QDate::fromJulianDay(julianDayOfDayZero() + wholeDays);
}

QTime DateTimeValue::time() const {
    if (!valid_) return QTime();
    qint64 wholeDays = 0;
    int seconds = 0;
    split(days_, wholeDays, seconds);
    return QTime(0, 0).addSecs(seconds);
}

QDateTime DateTimeValue::toDateTime() const {
    if (!valid_) return QDateTime();
    return QDateTime(date(), time());
}

DateTimeValue DateTimeValue::datePart() const {
    if (!valid_) return *this;
    return fromDate(date());
}

DateTimeValue DateTimeValue::timePart() const {
    if (!valid_) return *this;
    return fromTime(time());
}

long DateTimeValue::wholeDaysSince1900() const { return static_cast<long>(std::trunc(days_ - kDaysFrom1899To1900)); }

QString DateTimeValue::formatFileDate() const {
    const QDate day = date();
    if (!day.isValid()) return QString();
    return QStringLiteral("%1 %2 %3")
        .arg(day.day(), 2, 10, QLatin1Char('0'))
        .arg(QLatin1String(kMonthAbbreviations[day.month() - 1]))
        .arg(day.year(), 4, 10, QLatin1Char('0'));
}

QString DateTimeValue::formatFileTime() const {
    const QTime t = time();
    if (!t.isValid()) return QString();
    return QStringLiteral("%1:%2").arg(t.hour(), 2, 10, QLatin1Char('0')).arg(t.minute(), 2, 10, QLatin1Char('0'));
}

DateTimeValue parseDateText(const QString& text, const QLocale& locale) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return DateTimeValue::invalid();
    const QLocale c = QLocale::c();
    for (const QString& format :
         {QStringLiteral("dd MMM yyyy"), QStringLiteral("d MMM yyyy"), QStringLiteral("yyyy-MM-dd")}) {
        const QDate date = c.toDate(trimmed, format);
        if (date.isValid()) return DateTimeValue::fromDate(date);
    }
    for (QLocale::FormatType type : {QLocale::ShortFormat, QLocale::LongFormat}) {
        QDate date = locale.toDate(trimmed, type);
        if (!date.isValid()) continue;
        // A two-digit year reads as 19yy; 00 to 49 mean this century's years.
        if (!trimmed.contains(QString::number(date.year())) && date.year() < 1950) date = date.addYears(100);
        return DateTimeValue::fromDate(date);
    }
    return DateTimeValue::invalid();
}

}  // namespace skedlin
