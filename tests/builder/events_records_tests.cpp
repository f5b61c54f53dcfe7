// The two records of an event, read back the way the handheld viewers read them.

#include "builder/EventRecord.h"
#include "builder/RepeatRule.h"
#include "contacts_events_decoders.h"

#include <gtest/gtest.h>

namespace skedlin {
namespace {

using testing::decodeAppointmentRecord;
using testing::decodePocketPcEvent;
using testing::palmDateOf;

EventDate eventDate(int year, int month, int day) { return {{year, month, day}, palmDateOf(year, month, day)}; }

TEST(EventRecords, UntimedOneOffEvent) {
    EventValues event;
    event.date = eventDate(2003, 1, 1);
    event.title = "New Year";

    const auto palm = decodeAppointmentRecord(*palmEventRecord(event));
    ASSERT_TRUE(palm);
    EXPECT_EQ(palm->startTime, 0xFFFF);
    EXPECT_EQ(palm->endTime, 0xFFFF);
    EXPECT_EQ(palm->date, 0xC621);
    EXPECT_EQ(palm->flags, testing::kApptDescription);
    EXPECT_EQ(palm->description, "New Year");
    EXPECT_FALSE(palm->note);

    const auto bytes = *pocketPcEventRecord(event);
    EXPECT_EQ(bytes.size(), 18u + 8u);
    const auto ppc = decodePocketPcEvent(bytes);
    ASSERT_TRUE(ppc);
    EXPECT_EQ(ppc->year, 2003);
    EXPECT_EQ(ppc->month, 1);
    EXPECT_EQ(ppc->day, 1);
    EXPECT_EQ(ppc->startHour, 0xFF);
    EXPECT_EQ(ppc->startMinute, 0xFF);
    EXPECT_EQ(ppc->endHour, 0xFF);
    EXPECT_EQ(ppc->endMinute, 0xFF);
    EXPECT_EQ(ppc->recurrence, -1);
    EXPECT_EQ(ppc->endYear, 0);
    EXPECT_EQ(ppc->frequency, 0);
    EXPECT_EQ(ppc->title, "New Year");
    EXPECT_EQ(ppc->note, "");
}

TEST(EventRecords, WeeklyRepeatWithEndDateExceptionsAndNote) {
    EventValues event;
    event.date = eventDate(2003, 1, 7);
    event.start = TimeOfDay{9, 5};
    event.end = TimeOfDay{21, 15};
    event.title = "Training";
    event.note = "Bring\nshoes";
    EventRepeat repeat;
    repeat.type = RepeatType::Weekly;
    repeat.endDate = eventDate(2003, 6, 30);
    repeat.frequency = 2;
    repeat.mask = *weekdayMaskOfText("X-X-X-X");
    repeat.exceptions = {palmDateOf(2003, 2, 4), palmDateOf(2003, 1, 21)};
    repeat.exceptionDates = {{2003, 2, 4}, {2003, 1, 21}};
    event.repeat = repeat;

    const auto palm = decodeAppointmentRecord(*palmEventRecord(event));
    ASSERT_TRUE(palm);
    EXPECT_EQ(palm->startTime, 0x0905);
    EXPECT_EQ(palm->endTime, 0x150F);
    EXPECT_EQ(palm->flags, 0x3C00);
    EXPECT_EQ(palm->repeatType, 2);
    EXPECT_EQ(palm->repeatEndDate, palmDateOf(2003, 6, 30));
    EXPECT_EQ(palm->repeatFrequency, 2);
    EXPECT_EQ(palm->repeatOn, 0x55);
    EXPECT_EQ(palm->startOfWeek, 0);
    EXPECT_EQ(palm->exceptions, (std::vector<std::uint16_t>{palmDateOf(2003, 2, 4), palmDateOf(2003, 1, 21)}));
    EXPECT_EQ(palm->note, "Bring\nshoes");

    const auto ppc = decodePocketPcEvent(*pocketPcEventRecord(event));
    ASSERT_TRUE(ppc);
    EXPECT_EQ(ppc->startHour, 9);
    EXPECT_EQ(ppc->startMinute, 5);
    EXPECT_EQ(ppc->endHour, 21);
    EXPECT_EQ(ppc->endMinute, 15);
    EXPECT_EQ(ppc->recurrence, 1);
    EXPECT_EQ(ppc->endYear, 2003);
    EXPECT_EQ(ppc->endMonth, 6);
    EXPECT_EQ(ppc->endDay, 30);
    EXPECT_EQ(ppc->frequency, 2);
    EXPECT_EQ(ppc->mask, 0x55);
    EXPECT_EQ(ppc->note, "Bring\r\nshoes");
    // The exception dates follow the note, in document order.
    EXPECT_EQ(ppc->exceptions, (std::vector<std::array<int, 3>>{{2003, 2, 4}, {2003, 1, 21}}));
    EXPECT_EQ(pocketPcEventRecord(event)->size(), pocketPcEventRecordSize(event));
}

TEST(EventRecords, PocketPcExceptionsKeepTheirYearAndNeedARepeatType) {
    EventValues event;
    event.date = eventDate(2003, 1, 7);
    event.title = "Old";
    EventRepeat repeat;
    repeat.type = RepeatType::Yearly;
    // A year the Palm date cannot hold reaches the Pocket PC record as read.
    repeat.exceptions = {palmDateOf(2003, 1, 7)};
    repeat.exceptionDates = {{1850, 1, 7}};
    event.repeat = repeat;
    const auto bytes = *pocketPcEventRecord(event);
    EXPECT_EQ(bytes.size(), 18u + 3u + 2u + 4u);
    EXPECT_EQ(decodePocketPcEvent(bytes)->exceptions, (std::vector<std::array<int, 3>>{{1850, 1, 7}}));

    // Without a repeat type there is no series to leave days out of.
    event.repeat->type = RepeatType::None;
    EXPECT_EQ(pocketPcEventRecord(event)->size(), 18u + 3u);
    EXPECT_TRUE(decodePocketPcEvent(*pocketPcEventRecord(event))->exceptions.empty());
}

TEST(EventRecords, PocketPcRecurrenceNumbersAndFrequencyLowByte) {
    const std::pair<RepeatType, int> expected[] = {{RepeatType::Daily, 0},       {RepeatType::Weekly, 1},
                                                   {RepeatType::MonthByDate, 2}, {RepeatType::MonthByDay, 3},
                                                   {RepeatType::Yearly, 5},      {RepeatType::None, -1}};
    for (const auto& [type, recurrence] : expected) {
        EventValues event;
        event.date = eventDate(2004, 2, 29);
        event.repeat = EventRepeat{};
        event.repeat->type = type;
        event.repeat->frequency = 258;
        event.repeat->mask = 9;
        event.repeat->endDate = eventDate(2005, 3, 1);
        const auto ppc = decodePocketPcEvent(*pocketPcEventRecord(event));
        const auto palm = decodeAppointmentRecord(*palmEventRecord(event));
        ASSERT_TRUE(ppc && palm);
        EXPECT_EQ(ppc->recurrence, recurrence);
        EXPECT_EQ(palm->repeatType, static_cast<int>(type));
        EXPECT_EQ(palm->flags & testing::kApptRepeat, testing::kApptRepeat);
        EXPECT_EQ(palm->repeatFrequency, 2);
        if (type == RepeatType::None) {
            // An unknown interval repeats nothing on the Pocket PC.
            EXPECT_EQ(ppc->frequency, 0);
            EXPECT_EQ(ppc->mask, 0);
            EXPECT_EQ(ppc->endYear, 0);
            EXPECT_EQ(ppc->endMonth, 0);
        } else {
            EXPECT_EQ(ppc->frequency, 2);
            EXPECT_EQ(ppc->mask, 9);
            EXPECT_EQ(ppc->endYear, 2005);
            EXPECT_EQ(ppc->endDay, 1);
        }
    }
}

TEST(EventRecords, EmptyNoteAndEmptyExceptionList) {
    EventValues event;
    event.date = eventDate(2003, 1, 1);
    event.repeat = EventRepeat{};
    event.repeat->type = RepeatType::Daily;
    const auto palmBytes = *palmEventRecord(event);
    EXPECT_EQ(palmBytes.size(), 8u + 8u + 1u);  // header, repeat block, empty title
    const auto palm = decodeAppointmentRecord(palmBytes);
    ASSERT_TRUE(palm);
    EXPECT_EQ(palm->flags, 0x2400);
    EXPECT_EQ(palm->repeatEndDate, 0xFFFF);
    const auto ppcBytes = *pocketPcEventRecord(event);
    ASSERT_EQ(ppcBytes.size(), 18u);
    EXPECT_EQ(ppcBytes[16], 0);
    EXPECT_EQ(ppcBytes[17], 0);
}

TEST(EventRecords, RecordsThatWouldPassTheirBuffersAreRefusedNotCut) {
    EventValues event;
    event.date = eventDate(2003, 1, 1);
    event.title = std::string(65536 - 9, 'T');  // header and terminator fill 65,536 exactly
    EXPECT_EQ(palmEventRecord(event)->size(), 65536u);
    event.title += 'T';
    EXPECT_FALSE(palmEventRecord(event));

    event.title = std::string(50000 - 18, 'T');
    EXPECT_EQ(pocketPcEventRecord(event)->size(), 50000u);
    event.title = "x";
    event.note = std::string(25000, '\n');  // doubles when line ends become CR LF
    EXPECT_FALSE(pocketPcEventRecord(event));
    EXPECT_TRUE(palmEventRecord(event));
}

TEST(RepeatMasks, WeekdaysFromTextOrFromTheDate) {
    EXPECT_EQ(weekdayMaskOfText("X-X-X-X"), 0x55);
    EXPECT_EQ(weekdayMaskOfText("XXXXXXX"), 0x7F);
    EXPECT_EQ(weekdayMaskOfText("SMTWTFS"), 0x7F);
    EXPECT_EQ(weekdayMaskOfText("-------"), 0x00);
    EXPECT_EQ(weekdayMaskOfText("------"), std::nullopt);
    EXPECT_EQ(weekdayMaskOfText("--------"), std::nullopt);
    EXPECT_EQ(weekdayMaskOfDate({2003, 1, 1}), 0x08);  // a Wednesday
}

TEST(RepeatMasks, MonthByDayPositions) {
    EXPECT_EQ(monthByDayMask({2003, 1, 14}), 9);   // second Tuesday
    EXPECT_EQ(monthByDayMask({2003, 1, 31}), 33);  // last Friday
    EXPECT_EQ(monthByDayMask({2003, 3, 24}), 22);  // fourth of five Mondays
    EXPECT_EQ(monthByDayMask({2003, 3, 31}), 29);  // fifth Monday is the last one
    EXPECT_EQ(monthByDayMask({2003, 1, 1}), 3);    // first Wednesday
    EXPECT_EQ(monthByDayMask({2004, 2, 23}), 29);  // last Monday of a leap February
    EXPECT_EQ(monthByDayMask({2003, 2, 22}), 34);  // fourth and last Saturday of February
}

TEST(RepeatMasks, IntervalWords) {
    EXPECT_EQ(repeatTypeOfInterval("daily"), RepeatType::Daily);
    EXPECT_EQ(repeatTypeOfInterval("weekly"), RepeatType::Weekly);
    EXPECT_EQ(repeatTypeOfInterval("month-by-day"), RepeatType::MonthByDay);
    EXPECT_EQ(repeatTypeOfInterval("month-by-date"), RepeatType::MonthByDate);
    EXPECT_EQ(repeatTypeOfInterval("yearly"), RepeatType::Yearly);
    EXPECT_EQ(repeatTypeOfInterval("Weekly"), RepeatType::None);
    EXPECT_EQ(repeatTypeOfInterval("fortnightly"), RepeatType::None);
}

}  // namespace
}  // namespace skedlin
