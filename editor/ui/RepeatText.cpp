#include "editor/ui/RepeatText.h"

#include <QLocale>
#include <QStringList>

namespace skedlin {
namespace {

constexpr int kWeekdays = 7;

// "every day", "every 3 days".
QString every(int frequency, const char* one, const char* many) {
    if (frequency <= 1) return QStringLiteral("every %1").arg(QLatin1String(one));
    return QStringLiteral("every %1 %2").arg(frequency).arg(QLatin1String(many));
}

// "Monday", "Monday and Friday", "Monday, Wednesday and Friday".
QString joinedWords(const QStringList& words) {
    if (words.size() <= 1) return words.value(0);
    return QStringList(words.mid(0, words.size() - 1)).join(QStringLiteral(", ")) + QStringLiteral(" and ") +
           words.last();
}

// Mask bit n is weekday n counted from Sunday; Qt counts Monday 1 to Sunday 7.
QString weekdayName(int bit) { return QLocale().dayName(bit == 0 ? 7 : bit, QLocale::LongFormat); }

QString weekdays(std::uint8_t mask, const QDate& date) {
    QStringList names;
    for (int bit = 0; bit < kWeekdays; ++bit) {
        if ((mask >> bit) & 1) names.append(weekdayName(bit));
    }
    // A weekly event without weekdays repeats on the weekday of its date.
    if (names.isEmpty() && date.isValid()) names.append(QLocale().dayName(date.dayOfWeek(), QLocale::LongFormat));
    return joinedWords(names);
}

// "the second Tuesday" of the event's month; the fifth is the last.
QString weekOfMonth(const QDate& date) {
    static const char* const kOrdinals[] = {"first", "second", "third", "fourth", "last"};
    const int week = (date.day() - 1) / kWeekdays;
    return QStringLiteral("the %1 %2")
        .arg(QLatin1String(kOrdinals[week]), QLocale().dayName(date.dayOfWeek(), QLocale::LongFormat));
}

}  // namespace

QString repeatDescription(const EventEntry& event) {
    const QDate date = event.date.date();
    QString text;
    switch (event.repeatType) {
    case kRepeatDaily: text = every(event.frequency, "day", "days"); break;
    case kRepeatWeekly:
        text = every(event.frequency, "week", "weeks") + QStringLiteral(" on ") + weekdays(event.repeatOnMask, date);
        break;
    case kRepeatMonthByDay:
        text = every(event.frequency, "month", "months");
        if (date.isValid()) text += QStringLiteral(" on ") + weekOfMonth(date);
        break;
    case kRepeatMonthByDate:
        text = every(event.frequency, "month", "months");
        if (date.isValid()) text += QStringLiteral(" on day %1").arg(date.day());
        break;
    case kRepeatYearly:
        text = every(event.frequency, "year", "years");
        if (date.isValid()) text += QStringLiteral(" on ") + QLocale().toString(date, QStringLiteral("MMMM d"));
        break;
    default: return {};
    }
    text = QStringLiteral("Repeats ") + text;
    if (!event.repeatEndDate.isZero() && event.repeatEndDate.date().isValid())
        text += QStringLiteral(" until ") + QLocale().toString(event.repeatEndDate.date(), QLocale::ShortFormat);
    if (!event.exceptionDates.isEmpty())
        text += QStringLiteral(", except on %1 day(s)").arg(event.exceptionDates.size());
    return text;
}

}  // namespace skedlin
