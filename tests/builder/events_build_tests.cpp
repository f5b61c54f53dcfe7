// Events read from packages: every Nevt record decoded as a Palm Date Book
// record and every Pocket PC event record compared with what the XML says.

#include "contacts_events_packages.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>

namespace skedlin::testing {
namespace {

using namespace std::chrono;

// The `day` count of the XML, turned into a date with the standard calendar.
year_month_day dayCount(int days) { return year_month_day{sys_days{1900y / January / 1} + std::chrono::days{days}}; }

std::uint16_t palmDateOfDay(const year_month_day& date) {
    return palmDateOf(static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
                      static_cast<int>(static_cast<unsigned>(date.day())));
}

AppointmentRecord palmEvent(const BuiltPackage& built, std::uint16_t id) {
    const PrcResource* resource = built.palmResource("Nevt", id);
    EXPECT_NE(resource, nullptr) << id;
    if (!resource) return {};
    const auto record = decodeAppointmentRecord(resource->bytes);
    EXPECT_TRUE(record) << id;
    return record.value_or(AppointmentRecord{});
}

PocketPcEvent pocketPcEvent(const BuiltPackage& built, std::uint16_t id) {
    const auto found = built.pocketPc->records.find(id);
    EXPECT_NE(found, built.pocketPc->records.end()) << id;
    if (found == built.pocketPc->records.end()) return {};
    const auto record = decodePocketPcEvent(found->second);
    EXPECT_TRUE(record) << id;
    return record.value_or(PocketPcEvent{});
}

TEST(EventsBuild, TheConferenceFixtureRecordByRecord) {
    const BuiltPackage built = buildPackageFile(fixture("conference.xml"));
    ASSERT_EQ(built.code, 0) << built.message;
    ASSERT_EQ(built.palmOfType("Nevt").size(), 5u);

    // A timed one-off event with a two-line note.
    AppointmentRecord opening = palmEvent(built, 7000);
    EXPECT_EQ(opening.date, palmDateOfDay(dayCount(37816)));
    EXPECT_EQ(opening.startTime, 0x0900);
    EXPECT_EQ(opening.endTime, 0x0A0F);
    EXPECT_EQ(opening.flags, kApptDescription | kApptNote);
    EXPECT_EQ(opening.description, "Opening <keynote>");
    EXPECT_EQ(opening.note, "Doors open 8:30.\nCoffee outside.");
    PocketPcEvent openingPpc = pocketPcEvent(built, 7000);
    EXPECT_EQ(openingPpc.year, 2003);
    EXPECT_EQ(openingPpc.month, 7);
    EXPECT_EQ(openingPpc.day, 16);
    EXPECT_EQ(openingPpc.startHour, 9);
    EXPECT_EQ(openingPpc.endMinute, 15);
    EXPECT_EQ(openingPpc.recurrence, -1);
    EXPECT_EQ(openingPpc.note, "Doors open 8:30.\r\nCoffee outside.");

    // Daily with an end date and two exceptions in document order.
    AppointmentRecord standUp = palmEvent(built, 7001);
    EXPECT_EQ(standUp.flags, kApptDescription | kApptRepeat | kApptExceptions);
    EXPECT_EQ(standUp.repeatType, 1);
    EXPECT_EQ(standUp.repeatFrequency, 1);
    EXPECT_EQ(standUp.repeatEndDate, palmDateOfDay(dayCount(37820)));
    EXPECT_EQ(standUp.exceptions,
              (std::vector<std::uint16_t>{palmDateOfDay(dayCount(37818)), palmDateOfDay(dayCount(37819))}));
    PocketPcEvent standUpPpc = pocketPcEvent(built, 7001);
    EXPECT_EQ(standUpPpc.recurrence, 0);
    EXPECT_EQ(standUpPpc.endYear, 2003);
    EXPECT_EQ(standUpPpc.endMonth, 7);
    EXPECT_EQ(standUpPpc.endDay, 20);
    EXPECT_EQ(standUpPpc.frequency, 1);
    EXPECT_EQ(standUpPpc.exceptions, (std::vector<std::array<int, 3>>{{2003, 7, 18}, {2003, 7, 19}}));

    // Weekly every two weeks on Sunday, Tuesday, Thursday and Saturday, for ever.
    AppointmentRecord walk = palmEvent(built, 7002);
    EXPECT_EQ(walk.startTime, 0xFFFF);
    EXPECT_EQ(walk.repeatType, 2);
    EXPECT_EQ(walk.repeatFrequency, 2);
    EXPECT_EQ(walk.repeatOn, 0x55);
    EXPECT_EQ(walk.repeatEndDate, 0xFFFF);
    EXPECT_EQ(walk.startOfWeek, 0);
    PocketPcEvent walkPpc = pocketPcEvent(built, 7002);
    EXPECT_EQ(walkPpc.startHour, 0xFF);
    EXPECT_EQ(walkPpc.recurrence, 1);
    EXPECT_EQ(walkPpc.mask, 0x55);
    EXPECT_EQ(walkPpc.endYear, 0);

    // Month by day on the third Sunday; yearly.
    AppointmentRecord dinner = palmEvent(built, 7003);
    EXPECT_EQ(dinner.repeatType, 3);
    EXPECT_EQ(dinner.repeatOn, 14);
    EXPECT_EQ(dinner.repeatEndDate, palmDateOfDay(dayCount(38352)));
    EXPECT_EQ(pocketPcEvent(built, 7003).recurrence, 3);
    AppointmentRecord review = palmEvent(built, 7004);
    EXPECT_EQ(review.repeatType, 5);
    EXPECT_EQ(review.repeatOn, 0);
    EXPECT_EQ(pocketPcEvent(built, 7004).recurrence, 5);
}

std::string eventXml(const std::string& inner, const std::string& title = "<event-title>E</event-title>") {
    return "<event>" + title + inner + "</event>";
}

struct Failure {
    const char* event;
    int code;
    const char* message;
};

TEST(EventsBuild, BadDatesAndDaysOfWeekFailWithTheirCodes) {
    const Failure failures[] = {
        {"<date>32 Jan 2003</date>", 9, "Invalid Date: 32 Jan 2003"},
        {"<date day='0'>someday</date>", 9, "Invalid Date: someday"},
        {"<date day='37816'>x</date><repeating-event interval='daily'><last-date>never</last-date></repeating-event>",
         9, "Invalid Date: never"},
        {"<date day='37816'>x</date><repeating-event interval='daily'><except-days><date>soon</date>"
         "</except-days></repeating-event>",
         9, "Invalid Date: soon"},
        {"<date day='37816'>x</date><repeating-event interval='weekly'><days-of-week>------</days-of-week>"
         "</repeating-event>",
         8, "Bad days of week string - '------'."},
    };
    for (const Failure& failure : failures) {
        const BuiltPackage built = buildPackageText(
            packageXml("", groupXml(eventXml("<date day='37816'>x</date>") + eventXml(failure.event))));
        EXPECT_EQ(built.code, failure.code) << failure.event;
        EXPECT_EQ(built.message, failure.message);
        EXPECT_EQ(built.palmOfType("Nevt").size(), 1u);  // the failing event adds nothing
        EXPECT_EQ(built.pocketPc->records.size(), 1u);
    }
}

TEST(EventsBuild, MissingRequiredItemsNameWhatIsMissing) {
    const std::pair<const char*, const char*> cases[] = {
        {"<event-title>E</event-title>", "date"},
        {"<date day='37816'>x</date><time-range><start-time>9:00</start-time></time-range>", "end-time"},
        {"<date day='37816'>x</date><repeating-event/>", "interval"},
    };
    for (const auto& [inner, missing] : cases) {
        const BuiltPackage built =
            buildPackageText(packageXml("", groupXml("<event>" + std::string(inner) + "</event>")));
        EXPECT_EQ(built.code, 2) << inner;
        EXPECT_NE(built.message.find(missing), std::string::npos) << built.message;
    }
}

TEST(EventsBuild, AMissingTitleIsAnEmptyTitle) {
    const BuiltPackage built = buildPackageText(packageXml("", groupXml(eventXml("<date day='37816'>x</date>", ""))));
    ASSERT_EQ(built.code, 0) << built.message;
    EXPECT_EQ(palmEvent(built, 7000).description, "");
    EXPECT_EQ(built.pocketPc->records.at(7000).size(), 18u);
}

TEST(EventsBuild, TextDatesAndTheirYears) {
    const BuiltPackage built = buildPackageText(
        packageXml("", groupXml(eventXml("<date>2003-07-16</date>") + eventXml("<date>16 Jul 1850</date>") +
                                eventXml("<date>29 Feb 1600</date>"))));
    ASSERT_EQ(built.code, 0) << built.message;
    EXPECT_EQ(palmEvent(built, 7000).date, palmDateOf(2003, 7, 16));

    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const int thisYear = local.tm_year + 1900;
    // A year the Palm date cannot hold becomes this year there, and stays on the Pocket PC.
    EXPECT_EQ(palmEvent(built, 7001).date, palmDateOf(thisYear, 7, 16));
    EXPECT_EQ(pocketPcEvent(built, 7001).year, 1850);
    const bool leap = (thisYear % 4 == 0 && thisYear % 100 != 0) || thisYear % 400 == 0;
    EXPECT_EQ(palmEvent(built, 7002).date, palmDateOf(thisYear, 2, leap ? 29 : 28));
    EXPECT_EQ(pocketPcEvent(built, 7002).day, 29);
}

TEST(EventsBuild, DayCountsOutsideThePalmYearsAreRefused) {
    for (const char* day : {"1400", "48212", "-5"}) {  // 1903, 1 January 2032 and 1899
        const BuiltPackage built = buildPackageText(
            packageXml("", groupXml(eventXml("<date day='" + std::string(day) + "'>whenever</date>"))));
        EXPECT_EQ(built.code, 9) << day;
        EXPECT_EQ(built.message.rfind("Invalid Date: whenever", 0), 0u) << built.message;
    }
    // The last day a Palm date holds.
    const BuiltPackage built = buildPackageText(packageXml("", groupXml(eventXml("<date day='48211'>x</date>"))));
    ASSERT_EQ(built.code, 0) << built.message;
    EXPECT_EQ(palmEvent(built, 7000).date, palmDateOf(2031, 12, 31));
}

TEST(EventsBuild, FrequencyMustFitItsByte) {
    for (const char* frequency : {"0", "256", "-1", "often"}) {
        const BuiltPackage built = buildPackageText(
            packageXml("", groupXml(eventXml("<date day='37816'>x</date><repeating-event interval='daily' frequency='" +
                                             std::string(frequency) + "'/>"))));
        EXPECT_EQ(built.code, 2) << frequency;
        EXPECT_NE(built.message.find(frequency), std::string::npos) << built.message;
    }
    const BuiltPackage built = buildPackageText(packageXml(
        "", groupXml(eventXml("<date day='37816'>x</date><repeating-event interval='daily' frequency='255'/>"))));
    ASSERT_EQ(built.code, 0) << built.message;
    EXPECT_EQ(palmEvent(built, 7000).repeatFrequency, 255);
}

TEST(EventsBuild, WeeklyWithoutDaysAndUnknownIntervals) {
    const BuiltPackage built = buildPackageText(packageXml(
        "", groupXml(eventXml("<date day='37620'>x</date><repeating-event interval='weekly'/>") +  // a Wednesday
                     eventXml("<date day='37616'>x</date><repeating-event interval='fortnightly' frequency='3'>"
                              "<last-date day='37700'>x</last-date><except-days/></repeating-event>"))));
    ASSERT_EQ(built.code, 0) << built.message;
    EXPECT_EQ(palmEvent(built, 7000).repeatOn, 0x08);
    const AppointmentRecord unknown = palmEvent(built, 7001);
    EXPECT_EQ(unknown.flags, kApptDescription | kApptRepeat);  // an empty except-days writes no list
    EXPECT_EQ(unknown.repeatType, 0);
    const PocketPcEvent unknownPpc = pocketPcEvent(built, 7001);
    EXPECT_EQ(unknownPpc.recurrence, -1);
    EXPECT_EQ(unknownPpc.frequency, 0);
    EXPECT_EQ(unknownPpc.endYear, 0);
}

TEST(EventsBuild, OversizeEventsAreRefusedNamingTheEvent) {
    const BuiltPackage built =
        buildPackageText(packageXml("", groupXml(eventXml("<event-note>" + std::string(70000, 'n') +
                                                              "</event-note><date day='37816'>16 Jul 2003</date>",
                                                          "<event-title>Long talk</event-title>"))));
    EXPECT_EQ(built.code, 1);
    EXPECT_NE(built.message.find("event \"Long talk\" on 16 Jul 2003"), std::string::npos) << built.message;
    EXPECT_TRUE(built.palmOfType("Nevt").empty());
}

}  // namespace
}  // namespace skedlin::testing
