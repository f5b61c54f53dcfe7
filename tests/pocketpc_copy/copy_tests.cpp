// The copy into the handheld's calendar and contacts, run against the
// recording stand-in of the store: what each package field becomes, what is
// refused, and that a failing store leaves nothing half-made behind.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "fake_store.h"

extern "C" {
#include "ppc_copy.h"
#include "ppc_items.h"
}

namespace {

using fake::Store;

ppc_text text(const char* value) {
    return {reinterpret_cast<const uint8_t*>(value), static_cast<uint32_t>(std::strlen(value))};
}

ppc_event timedEvent() {
    ppc_event event{};
    event.date = {2026, 12, 8};
    event.start_hour = 9;
    event.start_minute = 30;
    event.end_hour = 10;
    event.end_minute = 45;
    event.recurrence = SKR_PPC_RECUR_NONE;
    event.title = text("Board meeting");
    event.note = text("Room 4\r\nBring slides");
    return event;
}

ppc_event repeating(int16_t recurrence, uint8_t frequency, uint8_t mask) {
    ppc_event event = timedEvent();
    event.recurrence = recurrence;
    event.frequency = frequency;
    event.mask = mask;
    return event;
}

// A source over a fixed list of entries.
struct ListSource {
    std::vector<ppc_entry> entries;
    std::size_t next = 0;
    static uint8_t take(void* self, ppc_entry* out) {
        auto* source = static_cast<ListSource*>(self);
        if (source->next == source->entries.size()) return 0;
        *out = source->entries[source->next++];
        return 1;
    }
};

ppc_entry eventEntry(const ppc_event& event) {
    ppc_entry entry{};
    entry.kind = PPC_ENTRY_EVENT;
    entry.event = event;
    return entry;
}

ppc_entry contactEntry(const ppc_contact& contact) {
    ppc_entry entry{};
    entry.kind = PPC_ENTRY_CONTACT;
    entry.contact = contact;
    return entry;
}

class CopyTest : public ::testing::Test {
protected:
    void SetUp() override {
        Store::instance().reset();
        app_ = store().make(fake::Kind::App, "app");
    }
    void TearDown() override {
        // Every object but the test's own application released, every string freed.
        EXPECT_EQ(store().liveObjects(), 1) << store().callText();
        EXPECT_EQ(store().liveStrings, 0);
    }
    static Store& store() { return Store::instance(); }
    poom_object* app() { return reinterpret_cast<poom_object*>(app_); }
    const std::map<std::string, std::string>& onlySaved() {
        EXPECT_EQ(store().saved.size(), 1u) << store().callText();
        static const std::map<std::string, std::string> none;
        return store().saved.empty() ? none : store().saved.front().properties;
    }

    fake::Object* app_ = nullptr;
};

TEST_F(CopyTest, TimedEventBecomesAnAppointmentWithItsTimesTextsAndNoAlarm) {
    const ppc_event event = timedEvent();
    ASSERT_EQ(ppc_copy_event(app(), &event), PPC_ITEM_COPIED);
    const auto& saved = onlySaved();
    EXPECT_EQ(saved.at("Subject"), "Board meeting");
    EXPECT_EQ(saved.at("Start"), "2026-12-08 09:30");
    EXPECT_EQ(saved.at("End"), "2026-12-08 10:45");
    EXPECT_EQ(saved.at("Body"), "Room 4\r\nBring slides");
    EXPECT_EQ(saved.at("ReminderSet"), "false");
    EXPECT_EQ(saved.count("AllDayEvent"), 0u);
    EXPECT_EQ(saved.count("Recurrence.RecurrenceType"), 0u);
    // Created as a new item: nothing that was in the store is looked up.
    EXPECT_EQ(store().callText().find("app1.CreateItem(1)\n"), 0u) << store().callText();
}

TEST_F(CopyTest, UntimedEventIsAllDayFromMidnightToMidnight) {
    ppc_event event = timedEvent();
    event.start_hour = event.start_minute = event.end_hour = event.end_minute = SKR_PPC_NO_TIME;
    event.date = {2000, 2, 29};
    event.note = text("");
    ASSERT_EQ(ppc_copy_event(app(), &event), PPC_ITEM_COPIED);
    const auto& saved = onlySaved();
    EXPECT_EQ(saved.at("AllDayEvent"), "true");
    EXPECT_EQ(saved.at("Start"), "2000-02-29 00:00");
    EXPECT_EQ(saved.at("End"), "2000-03-01 00:00");
    EXPECT_EQ(saved.count("Body"), 0u);  // an empty note is not set
}

TEST_F(CopyTest, EventWithAStartButNoEndLastsNoTime) {
    ppc_event event = timedEvent();
    event.end_hour = event.end_minute = SKR_PPC_NO_TIME;
    ASSERT_EQ(ppc_copy_event(app(), &event), PPC_ITEM_COPIED);
    EXPECT_EQ(onlySaved().at("End"), "2026-12-08 09:30");
}

TEST_F(CopyTest, RepeatTypesMapToThePatternsOfTheStore) {
    struct Case {
        const char* name;
        ppc_event event;
        std::map<std::string, std::string> expected;
    };
    ppc_event secondTuesday = repeating(SKR_PPC_RECUR_MONTH_BY_DAY, 1, 9);
    secondTuesday.date = {2026, 12, 8};
    ppc_event lastFriday = repeating(SKR_PPC_RECUR_MONTH_BY_DAY, 2, 33);
    lastFriday.date = {2026, 12, 25};
    ppc_event fourthMonday = repeating(SKR_PPC_RECUR_MONTH_BY_DAY, 1, 22);
    fourthMonday.date = {2026, 11, 23};
    ppc_event yearly = repeating(SKR_PPC_RECUR_YEARLY, 1, 0);
    yearly.date = {1999, 7, 4};
    ppc_event everyFourYears = repeating(SKR_PPC_RECUR_YEARLY, 4, 0);
    everyFourYears.date = {2024, 2, 29};
    const std::vector<Case> cases = {
        {"daily every 3 days", repeating(SKR_PPC_RECUR_DAILY, 3, 0), {{"RecurrenceType", "0"}, {"Interval", "3"}}},
        {"weekly X-X-X-X",
         repeating(SKR_PPC_RECUR_WEEKLY, 1, 0x55),
         {{"RecurrenceType", "1"}, {"Interval", "1"}, {"DayOfWeekMask", "85"}}},
        {"monthly on the 8th",
         repeating(SKR_PPC_RECUR_MONTH_BY_DATE, 2, 0),
         {{"RecurrenceType", "2"}, {"Interval", "2"}, {"DayOfMonth", "8"}}},
        {"second Tuesday",
         secondTuesday,
         {{"RecurrenceType", "3"}, {"Interval", "1"}, {"DayOfWeekMask", "4"}, {"Instance", "2"}}},
        {"last Friday",
         lastFriday,
         {{"RecurrenceType", "3"}, {"Interval", "2"}, {"DayOfWeekMask", "32"}, {"Instance", "5"}}},
        {"fourth Monday of a month with five",
         fourthMonday,
         {{"RecurrenceType", "3"}, {"Interval", "1"}, {"DayOfWeekMask", "2"}, {"Instance", "4"}}},
        {"yearly on 4 July", yearly, {{"RecurrenceType", "5"}, {"MonthOfYear", "7"}, {"DayOfMonth", "4"}}},
        // The store has no interval for yearly series: every 4 years is every 48 months.
        {"every 4 years on 29 February",
         everyFourYears,
         {{"RecurrenceType", "2"}, {"Interval", "48"}, {"DayOfMonth", "29"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        store().saved.clear();
        ASSERT_EQ(ppc_copy_event(app(), &c.event), PPC_ITEM_COPIED);
        const auto& saved = onlySaved();
        std::map<std::string, std::string> pattern;
        for (const auto& [property, value] : saved)
            if (property.rfind("Recurrence.", 0) == 0) pattern[property.substr(11)] = value;
        pattern.erase("NoEndDate");
        EXPECT_EQ(pattern, c.expected);
        EXPECT_EQ(saved.at("Recurrence.NoEndDate"), "true");
        EXPECT_EQ(saved.count("Recurrence.PatternEndDate"), 0u);
    }
}

TEST_F(CopyTest, RepeatEndDateIsThePatternEnd) {
    ppc_event event = repeating(SKR_PPC_RECUR_DAILY, 1, 0);
    event.repeat_end = {2027, 1, 31};
    ASSERT_EQ(ppc_copy_event(app(), &event), PPC_ITEM_COPIED);
    const auto& saved = onlySaved();
    EXPECT_EQ(saved.at("Recurrence.PatternEndDate"), "2027-01-31 00:00");
    EXPECT_EQ(saved.count("Recurrence.NoEndDate"), 0u);
}

TEST_F(CopyTest, ExceptionDatesDeleteTheirOccurrencesAfterTheSeriesIsSaved) {
    ppc_event event = repeating(SKR_PPC_RECUR_WEEKLY, 1, 0x04);
    // 15 and 29 December 2026 are Tuesdays; 16 December is not an occurrence.
    const uint8_t exceptions[] = {0xEA, 0x07, 12, 15, 0xEA, 0x07, 12, 16, 0xEA, 0x07, 12, 29, 0x00, 0x00, 0, 0};
    event.exceptions = exceptions;
    event.exception_count = 4;
    store().noOccurrence.insert(46372);  // 2026-12-16
    ASSERT_EQ(ppc_copy_event(app(), &event), PPC_ITEM_COPIED);
    ASSERT_EQ(store().saved.size(), 1u);
    EXPECT_EQ(store().saved[0].deletedOccurrences, (std::vector<std::string>{"2026-12-15 09:30", "2026-12-29 09:30"}));
    const std::string calls = store().callText();
    EXPECT_LT(calls.find("appointment3.Save"), calls.find("GetOccurrence")) << calls;
    // The invalid fourth date asks for no occurrence at all.
    EXPECT_EQ(calls.find("GetOccurrence(0000"), std::string::npos) << calls;
}

TEST_F(CopyTest, SeriesWhoseExceptionCannotBeDeletedIsTakenOutAgain) {
    ppc_event event = repeating(SKR_PPC_RECUR_DAILY, 1, 0);
    const uint8_t exceptions[] = {0xEA, 0x07, 12, 10};
    event.exceptions = exceptions;
    event.exception_count = 1;
    store().failing.insert("Appointment.Delete");
    // The occurrence refuses to go; deleting the series is refused too here,
    // but the copy reports the entry as not copied either way.
    EXPECT_EQ(ppc_copy_event(app(), &event), PPC_ITEM_FAILED);
    store().failing.clear();
}

TEST_F(CopyTest, EventsTheCalendarCannotHoldAreRefusedBeforeAnythingIsCreated) {
    struct Case {
        const char* name;
        ppc_event event;
    };
    ppc_event before1900 = timedEvent();
    before1900.date = {1850, 6, 1};
    ppc_event after2999 = timedEvent();
    after2999.date = {3000, 1, 1};
    ppc_event noSuchDay = timedEvent();
    noSuchDay.date = {1900, 2, 29};
    ppc_event endsBeforeStart = timedEvent();
    endsBeforeStart.end_hour = 8;
    ppc_event badMinute = timedEvent();
    badMinute.start_minute = 60;
    ppc_event noWeekday = repeating(SKR_PPC_RECUR_WEEKLY, 1, 0x80);
    ppc_event neverRecurs = repeating(SKR_PPC_RECUR_DAILY, 0, 0);
    ppc_event badMonthDay = repeating(SKR_PPC_RECUR_MONTH_BY_DAY, 1, 35);
    ppc_event unknownType = repeating(4, 1, 0);
    ppc_event every84Years = repeating(SKR_PPC_RECUR_YEARLY, 84, 0);
    ppc_event endsBeforeItStarts = repeating(SKR_PPC_RECUR_DAILY, 1, 0);
    endsBeforeItStarts.repeat_end = {2026, 12, 7};
    for (const Case& c : std::vector<Case>{{"1850", before1900},
                                           {"3000", after2999},
                                           {"29 Feb 1900", noSuchDay},
                                           {"end before start", endsBeforeStart},
                                           {"minute 60", badMinute},
                                           {"weekly without weekday", noWeekday},
                                           {"frequency 0", neverRecurs},
                                           {"month-by-day 35", badMonthDay},
                                           {"type 4", unknownType},
                                           {"every 84 years", every84Years},
                                           {"repeat ends before the date", endsBeforeItStarts}}) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ppc_copy_event(app(), &c.event), PPC_ITEM_REFUSED);
    }
    EXPECT_TRUE(store().calls.empty()) << store().callText();
}

TEST_F(CopyTest, FailingStoreCallsLeaveNoSavedAppointment) {
    for (const char* failing : {"App.CreateItem", "Item.QueryInterface", "Appointment.Subject", "Appointment.Start",
                                "Appointment.GetRecurrencePattern", "Pattern.Interval", "Appointment.Save"}) {
        SCOPED_TRACE(failing);
        store().failing = {failing};
        const ppc_event event = repeating(SKR_PPC_RECUR_DAILY, 1, 0);
        EXPECT_EQ(ppc_copy_event(app(), &event), PPC_ITEM_FAILED);
        EXPECT_TRUE(store().saved.empty());
    }
    store().failing.clear();
}

TEST_F(CopyTest, TextsAreConvertedFromWindows1252) {
    ppc_event event = timedEvent();
    event.title = text("Caf\xE9 \x80 5 \x93quoted\x94 \x81");
    ASSERT_EQ(ppc_copy_event(app(), &event), PPC_ITEM_COPIED);
    EXPECT_EQ(onlySaved().at("Subject"), "Caf\u00E9 \u20AC 5 \u201Cquoted\u201D \u0081");
}

TEST_F(CopyTest, OutOfMemoryForAStringFailsTheEntry) {
    store().failing = {"SysAllocStringLen"};
    const ppc_event event = timedEvent();
    EXPECT_EQ(ppc_copy_event(app(), &event), PPC_ITEM_FAILED);
    EXPECT_TRUE(store().saved.empty());
    store().failing.clear();
}

ppc_contact fullContact(uint8_t business) {
    static const char* const values[SKR_PPC_CONTACT_TEXT_COUNT] = {"Lovelace",
                                                                   "Ada",
                                                                   "Analyst",
                                                                   "Engines Ltd",
                                                                   "12 St James's Square\r\nFlat 2",
                                                                   "London",
                                                                   "Middlesex",
                                                                   "SW1Y",
                                                                   "England",
                                                                   "w1",
                                                                   "w2",
                                                                   "h1",
                                                                   "h2",
                                                                   "m",
                                                                   "p",
                                                                   "f",
                                                                   "ada@example.org",
                                                                   "ada2@example.org",
                                                                   "Line 1\r\nLine 2"};
    ppc_contact contact{};
    for (int i = 0; i < SKR_PPC_CONTACT_TEXT_COUNT; ++i) contact.texts[i] = text(values[i]);
    contact.business = business;
    return contact;
}

TEST_F(CopyTest, ContactFieldsGoToTheirProperties) {
    const ppc_contact contact = fullContact(1);
    ASSERT_EQ(ppc_copy_contact(app(), &contact), PPC_ITEM_COPIED);
    const std::map<std::string, std::string> expected = {
        {"LastName", "Lovelace"},
        {"FirstName", "Ada"},
        {"JobTitle", "Analyst"},
        {"CompanyName", "Engines Ltd"},
        {"BusinessAddressStreet", "12 St James's Square\r\nFlat 2"},
        {"BusinessAddressCity", "London"},
        {"BusinessAddressState", "Middlesex"},
        {"BusinessAddressPostalCode", "SW1Y"},
        {"BusinessAddressCountry", "England"},
        {"BusinessTelephoneNumber", "w1"},
        {"Business2TelephoneNumber", "w2"},
        {"HomeTelephoneNumber", "h1"},
        {"Home2TelephoneNumber", "h2"},
        {"MobileTelephoneNumber", "m"},
        {"PagerNumber", "p"},
        {"BusinessFaxNumber", "f"},
        {"Email1Address", "ada@example.org"},
        {"Email2Address", "ada2@example.org"},
        {"Body", "Line 1\r\nLine 2"},
    };
    EXPECT_EQ(onlySaved(), expected);
}

TEST_F(CopyTest, PrivateContactHasAHomeAddressAndEmptyFieldsStayUnset) {
    ppc_contact contact = fullContact(0);
    for (int field :
         {SKR_PPC_CONTACT_COMPANY, SKR_PPC_CONTACT_WORK_PHONE, SKR_PPC_CONTACT_WORK_PHONE2, SKR_PPC_CONTACT_NOTE})
        contact.texts[field] = text("");
    ASSERT_EQ(ppc_copy_contact(app(), &contact), PPC_ITEM_COPIED);
    const auto& saved = onlySaved();
    EXPECT_EQ(saved.at("HomeAddressStreet"), "12 St James's Square\r\nFlat 2");
    EXPECT_EQ(saved.at("HomeAddressCountry"), "England");
    for (const char* unset : {"BusinessAddressStreet", "CompanyName", "BusinessTelephoneNumber", "Body"})
        EXPECT_EQ(saved.count(unset), 0u) << unset;
}

TEST_F(CopyTest, ContactWhoseSaveFailsIsNotCopied) {
    store().failing = {"Contact.Save"};
    const ppc_contact contact = fullContact(1);
    EXPECT_EQ(ppc_copy_contact(app(), &contact), PPC_ITEM_FAILED);
    store().failing.clear();
}

class SessionTest : public ::testing::Test {
protected:
    void SetUp() override { Store::instance().reset(); }
    void TearDown() override {
        EXPECT_EQ(store().liveObjects(), 0) << store().callText();
        EXPECT_EQ(store().liveStrings, 0);
        EXPECT_EQ(store().comInitialized, 0);
    }
    static Store& store() { return Store::instance(); }
};

TEST_F(SessionTest, CopiesEveryEntryCountsThemAndRemembersThePackage) {
    ListSource source;
    ppc_entry refused = eventEntry(timedEvent());
    refused.refused = 1;
    ppc_event notStorable = timedEvent();
    notStorable.date = {1850, 1, 1};
    source.entries = {eventEntry(timedEvent()), refused, eventEntry(notStorable),
                      eventEntry(repeating(SKR_PPC_RECUR_DAILY, 1, 0)), contactEntry(fullContact(1))};
    skv_copy_summary done{};
    EXPECT_FALSE(ppc_copy_seen(0x00C0FFEE));
    ASSERT_EQ(ppc_copy_run(&ListSource::take, &source, reinterpret_cast<void*>(0x1234), 0x00C0FFEE, &done),
              PPC_COPY_OK);
    EXPECT_EQ(done.events, 2);
    EXPECT_EQ(done.events_refused, 2);
    EXPECT_EQ(done.contacts, 1);
    EXPECT_EQ(done.contacts_refused, 0);
    EXPECT_EQ(store().saved.size(), 3u);
    const std::string calls = store().callText();
    EXPECT_EQ(calls.find("app1.Logon(4660)\n"), 0u) << calls;
    EXPECT_NE(calls.find("app1.Logoff\n"), std::string::npos);
    EXPECT_TRUE(ppc_copy_seen(0x00C0FFEE));
    EXPECT_FALSE(ppc_copy_seen(0x00C0FFEF));
    EXPECT_EQ(store().registry.count("HKCU\\Software\\Skedlin\\Copied\\00C0FFEE"), 1u);
}

TEST_F(SessionTest, NothingCopiedIsNotRemembered) {
    ListSource source;
    store().failing = {"Contact.Save"};
    source.entries = {contactEntry(fullContact(0))};
    skv_copy_summary done{};
    ASSERT_EQ(ppc_copy_run(&ListSource::take, &source, nullptr, 7, &done), PPC_COPY_OK);
    EXPECT_EQ(done.contacts, 0);
    EXPECT_EQ(done.contacts_refused, 1);
    EXPECT_FALSE(ppc_copy_seen(7));
}

TEST_F(SessionTest, StoreThatCannotBeOpenedWritesNothing) {
    for (const char* failing : {"CoInitializeEx", "CoCreateInstance", "App.Logon"}) {
        SCOPED_TRACE(failing);
        store().reset();
        store().failing = {failing};
        ListSource source;
        source.entries = {eventEntry(timedEvent())};
        skv_copy_summary done{};
        const ppc_copy_status status = ppc_copy_run(&ListSource::take, &source, nullptr, 7, &done);
        EXPECT_NE(status, PPC_COPY_OK);
        EXPECT_STRNE(ppc_copy_status_text(status), "");
        EXPECT_EQ(done.events + done.events_refused, 0);
        EXPECT_TRUE(store().saved.empty());
        EXPECT_FALSE(ppc_copy_seen(7));
        EXPECT_EQ(store().liveObjects(), 0);
        EXPECT_EQ(store().comInitialized, 0);
    }
}

}  // namespace
