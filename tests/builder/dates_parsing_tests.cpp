// Dates and times as the builder reads them from a package's date and time
// elements, and their 16-bit Palm encodings.

#include "builder/DateTextParser.h"
#include "builder/PackageDateTime.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

namespace skedlin {
namespace {

DateTextConventions withOrder(NumericDateOrder order) {
    DateTextConventions conventions;
    conventions.order = order;
    return conventions;
}

TEST(DayAttribute, CountsFromFirstJanuary1900WithoutAPhantomLeapDay) {
    EXPECT_EQ(dateFromDayAttribute(0), (CalendarDate{1900, 1, 1}));
    EXPECT_EQ(dateFromDayAttribute(59), (CalendarDate{1900, 3, 1}));  // 1900 is no leap year
    EXPECT_EQ(dateFromDayAttribute(37620), (CalendarDate{2003, 1, 1}));
    EXPECT_EQ(dateFromDayAttribute(36583), (CalendarDate{2000, 2, 29}));
    EXPECT_EQ(dateFromDayAttribute(-1), (CalendarDate{1899, 12, 31}));
    EXPECT_EQ(daysSince1900({2003, 1, 1}), 37620);
}

TEST(DayAttribute, CountsBeyondTheSupportedYearsAreRefused) {
    EXPECT_EQ(dateFromDayAttribute(2958463), (CalendarDate{9999, 12, 31}));
    EXPECT_FALSE(dateFromDayAttribute(2958464));
    EXPECT_FALSE(dateFromDayAttribute(-693596));  // 31 December of year 0
    EXPECT_FALSE(dateFromDayAttribute(LONG_MAX));
    EXPECT_FALSE(dateFromDayAttribute(LONG_MIN));
}

TEST(CalendarArithmetic, WeekdaysAndDayStepsAcrossMonthsAndCenturies) {
    EXPECT_EQ(weekdayOf({2003, 1, 1}), 3);    // Wednesday
    EXPECT_EQ(weekdayOf({1850, 1, 1}), 2);    // Tuesday
    EXPECT_EQ(weekdayOf({1900, 1, 1}), 1);    // Monday
    EXPECT_EQ(weekdayOf({1, 1, 1}), 1);       // Monday, proleptic
    EXPECT_EQ(weekdayOf({2031, 12, 31}), 3);  // Wednesday
    EXPECT_EQ(addDays({2003, 1, 28}, 7), (CalendarDate{2003, 2, 4}));
    EXPECT_EQ(addDays({2004, 3, 1}, -1), (CalendarDate{2004, 2, 29}));
}

TEST(PalmDate, PacksYearFrom1904MonthAndDay) {
    EXPECT_EQ(palmDate({2003, 1, 1}), 0xC621);
    EXPECT_EQ(palmDate({1904, 1, 1}), 0x0021);
    EXPECT_EQ(palmDate({2031, 12, 31}), 0xFF9F);
    EXPECT_TRUE(fitsPalmDate({1904, 1, 1}));
    EXPECT_TRUE(fitsPalmDate({2031, 12, 31}));
    EXPECT_FALSE(fitsPalmDate({1903, 12, 31}));
    EXPECT_FALSE(fitsPalmDate({2032, 1, 1}));
}

TEST(TimeOfDayText, HoursAndMinutesWithOutOfRangePartsAsZero) {
    EXPECT_EQ(palmTime(parseTimeOfDay("9:5")), 0x0905);
    EXPECT_EQ(palmTime(parseTimeOfDay("25:30")), 0x001E);
    EXPECT_EQ(palmTime(parseTimeOfDay("7")), 0x0700);
    EXPECT_EQ(palmTime(parseTimeOfDay("7.45")), 0x072D);
    EXPECT_EQ(palmTime(parseTimeOfDay("21:15")), 0x150F);
    EXPECT_EQ(palmTime(parseTimeOfDay("12:60")), 0x0C00);
    EXPECT_EQ(palmTime(parseTimeOfDay("-1:30")), 0x001E);
    EXPECT_EQ(palmTime(parseTimeOfDay("10:-5")), 0x0A00);
    EXPECT_EQ(palmTime(parseTimeOfDay("")), 0x0000);
    EXPECT_EQ(palmTime(parseTimeOfDay("99999999999999999999:1")), 0x0001);
    // The colon wins over an earlier full stop.
    EXPECT_EQ(palmTime(parseTimeOfDay("8.5:20")), 0x0814);
}

TEST(LeadingInteger, ReadsLikeTheFilesNumbers) {
    EXPECT_EQ(leadingInteger("007"), 7);
    EXPECT_EQ(leadingInteger("  -12abc"), -12);
    EXPECT_EQ(leadingInteger("+5"), 5);
    EXPECT_EQ(leadingInteger("abc"), 0);
    EXPECT_EQ(leadingInteger(""), 0);
    EXPECT_EQ(leadingInteger("99999999999999999999999"), LONG_MAX);
    EXPECT_EQ(leadingInteger("-99999999999999999999999"), LONG_MIN);
}

TEST(DateText, TheEditorsOwnSpellingAndEnglishMonthNames) {
    const auto c = withOrder(NumericDateOrder::DayMonthYear);
    EXPECT_EQ(parseDateText("01 Jan 2003", c), (CalendarDate{2003, 1, 1}));
    EXPECT_EQ(parseDateText("31 Dec 1850", c), (CalendarDate{1850, 12, 31}));
    EXPECT_EQ(parseDateText("1 january 2003", c), (CalendarDate{2003, 1, 1}));
    EXPECT_EQ(parseDateText("Sept 9, 2004", c), (CalendarDate{2004, 9, 9}));
    EXPECT_EQ(parseDateText("29-Feb-2004", c), (CalendarDate{2004, 2, 29}));
    EXPECT_EQ(parseDateText("  2003 Mar 05 ", c), (CalendarDate{2003, 3, 5}));
}

TEST(DateText, IsoIsYearFirstWhateverTheLocale) {
    for (auto order : {NumericDateOrder::DayMonthYear, NumericDateOrder::MonthDayYear}) {
        EXPECT_EQ(parseDateText("2003-01-02", withOrder(order)), (CalendarDate{2003, 1, 2}));
    }
}

TEST(DateText, NumericDatesFollowTheLocalesOrder) {
    EXPECT_EQ(parseDateText("01/02/2003", withOrder(NumericDateOrder::MonthDayYear)), (CalendarDate{2003, 1, 2}));
    EXPECT_EQ(parseDateText("01/02/2003", withOrder(NumericDateOrder::DayMonthYear)), (CalendarDate{2003, 2, 1}));
    EXPECT_EQ(parseDateText("1.2.03", withOrder(NumericDateOrder::DayMonthYear)), (CalendarDate{2003, 2, 1}));
    EXPECT_EQ(parseDateText("03/02/01", withOrder(NumericDateOrder::YearMonthDay)), (CalendarDate{2003, 2, 1}));
    EXPECT_EQ(parseDateText("1/2/45", withOrder(NumericDateOrder::MonthDayYear)), (CalendarDate{1945, 1, 2}));
    EXPECT_EQ(parseDateText("13/02/2003", withOrder(NumericDateOrder::MonthDayYear)), std::nullopt);
}

TEST(DateText, AnythingElseIsNotADate) {
    const auto c = withOrder(NumericDateOrder::DayMonthYear);
    for (const char* text :
         {"", "tomorrow", "31 Feb 2003", "29 Feb 2003", "00 Jan 2003", "01 Foo 2003", "1/2", "2003-01-01 10:00",
          "Wed 01 Jan 2003", "01 Jan 20031", "2003-13-01", "01 Jan 0000", "01; Jan 2003", "123/1/2003"}) {
        EXPECT_EQ(parseDateText(text, c), std::nullopt) << text;
    }
}

TEST(DateText, LocaleOrderComesFromTheDatePattern) {
    EXPECT_EQ(numericDateOrderOf("%d.%m.%Y"), NumericDateOrder::DayMonthYear);
    EXPECT_EQ(numericDateOrderOf("%d/%m/%y"), NumericDateOrder::DayMonthYear);
    EXPECT_EQ(numericDateOrderOf("%m/%d/%y"), NumericDateOrder::MonthDayYear);
    EXPECT_EQ(numericDateOrderOf("%Y-%m-%d"), NumericDateOrder::YearMonthDay);
    EXPECT_EQ(numericDateOrderOf("%Y年%m月%d日"), NumericDateOrder::YearMonthDay);
    EXPECT_EQ(numericDateOrderOf("%F"), NumericDateOrder::YearMonthDay);
    EXPECT_EQ(numericDateOrderOf("%D"), NumericDateOrder::MonthDayYear);
    EXPECT_EQ(numericDateOrderOf("%Od.%Om.%EY"), NumericDateOrder::DayMonthYear);
    EXPECT_EQ(numericDateOrderOf(""), NumericDateOrder::MonthDayYear);
}

TEST(DateText, TheCLocaleReadsMonthFirst) {
    setenv("LC_ALL", "C", 1);
    const DateTextConventions c = userDateTextConventions();
    EXPECT_EQ(c.order, NumericDateOrder::MonthDayYear);
    EXPECT_EQ(parseDateText("02/03/2004", c), (CalendarDate{2004, 2, 3}));
    ASSERT_EQ(c.monthNames.full.size(), 12u);
    EXPECT_EQ(c.monthNames.full[0], "January");
}

TEST(DateText, LocaleMonthNamesAreAccepted) {
    DateTextConventions c;
    c.order = NumericDateOrder::DayMonthYear;
    c.monthNames.full = {"janvier", "février", "mars",      "avril",   "mai",      "juin",
                         "juillet", "août",    "septembre", "octobre", "novembre", "décembre"};
    c.monthNames.abbreviated = {"janv.", "févr.", "mars",  "avr.", "mai",  "juin",
                                "juil.", "août",  "sept.", "oct.", "nov.", "déc."};
    EXPECT_EQ(parseDateText("3 février 2004", c), (CalendarDate{2004, 2, 3}));
    EXPECT_EQ(parseDateText("3 avr. 2004", c), (CalendarDate{2004, 4, 3}));
}

}  // namespace
}  // namespace skedlin
