// Copy into the handheld's Date Book and Address Book: the records the core
// hands out are read back by the tests' own decoders of those layouts and
// compared with the package; entries the handheld cannot hold are reported.

#include "viewer_test_support.h"

namespace skedlin::testing {
namespace {

std::optional<AppointmentRecord> encodeEvent(const Bytes& source, skv_record& record) {
    EXPECT_EQ(skv_datebook_record(source.data(), static_cast<std::uint32_t>(source.size()), &record), SKV_OK);
    if (record.refused) return std::nullopt;
    const Bytes bytes = joined(record);
    EXPECT_EQ(bytes.size(), record.size);
    return decodeAppointmentRecord(bytes);
}

std::optional<AddressRecord> encodeContact(const Bytes& source, skv_record& record) {
    EXPECT_EQ(skv_addressbook_record(source.data(), static_cast<std::uint32_t>(source.size()), &record), SKV_OK);
    if (record.refused) return std::nullopt;
    return decodeAddressRecord(joined(record));
}

std::string eventXml(const std::string& inner) { return "<event><event-title>T</event-title>" + inner + "</event>"; }

TEST(DatebookRecords, CarryDateTimesRepeatExceptionsAndTexts) {
    const std::string events =
        "<event><event-title>Weekly meeting</event-title><event-note>Room 2\nbring slides</event-note>"
        "<date day=\"46154\">x</date><time-range><start-time>9:05</start-time><end-time>10:30</end-time></time-range>"
        "<repeating-event interval=\"weekly\" frequency=\"2\"><last-date day=\"46244\">x</last-date>"
        "<days-of-week>-X-X---</days-of-week><except-days><date day=\"46168\">x</date><date day=\"46182\">x</date>"
        "</except-days></repeating-event></event>" +
        eventXml("<date day=\"46155\">x</date>");
    const BuiltPackage built = buildPackageText(packageXml("", groupXml(events)));
    ASSERT_EQ(built.code, 0) << built.message;

    skv_record record;
    auto weekly = encodeEvent(built.palmResource("Nevt", 7000)->bytes, record);
    ASSERT_TRUE(weekly);
    EXPECT_EQ(record.kind, SKV_RECORD_EVENT);
    EXPECT_EQ(weekly->date, palmDateOf(2026, 5, 14));
    EXPECT_EQ(weekly->startTime, 0x0905);
    EXPECT_EQ(weekly->endTime, 0x0A1E);
    EXPECT_EQ(weekly->flags, kApptRepeat | kApptNote | kApptExceptions | kApptDescription);
    EXPECT_EQ(weekly->repeatType, 2);
    EXPECT_EQ(weekly->repeatFrequency, 2);
    EXPECT_EQ(weekly->repeatOn, 0x0A);
    EXPECT_EQ(weekly->repeatEndDate, palmDateOf(2026, 8, 12));
    EXPECT_EQ(weekly->exceptions, (std::vector<std::uint16_t>{palmDateOf(2026, 5, 28), palmDateOf(2026, 6, 11)}));
    EXPECT_EQ(weekly->description, "Weekly meeting");
    EXPECT_EQ(weekly->note, std::string("Room 2\nbring slides"));

    auto single = encodeEvent(built.palmResource("Nevt", 7001)->bytes, record);
    ASSERT_TRUE(single);
    EXPECT_EQ(single->flags, kApptDescription);
    EXPECT_EQ(single->startTime, 0xFFFF);
    EXPECT_EQ(single->endTime, 0xFFFF);
    EXPECT_FALSE(single->note);
}

TEST(DatebookRecords, RepeatWithoutTypeIsLeftOutWithItsExceptions) {
    const BuiltPackage built = buildPackageText(packageXml(
        "", groupXml(eventXml("<date day=\"46154\">x</date><repeating-event interval=\"fortnightly\"><except-days>"
                              "<date day=\"46168\">x</date></except-days></repeating-event>"))));
    ASSERT_EQ(built.code, 0) << built.message;
    skv_record record;
    auto event = encodeEvent(built.palmResource("Nevt", 7000)->bytes, record);
    ASSERT_TRUE(event);
    EXPECT_EQ(event->flags, kApptDescription);
}

// Events whose fields the Date Book cannot represent: built by hand, as a
// damaged or hand-edited package would carry them.
Bytes eventRecord(std::uint16_t start, std::uint16_t end, std::uint16_t date, std::uint8_t repeatType = 0,
                  std::uint8_t frequency = 1, std::uint8_t on = 0, std::uint16_t repeatEnd = 0xFFFF) {
    Bytes b = {static_cast<std::uint8_t>(start >> 8),
               static_cast<std::uint8_t>(start),
               static_cast<std::uint8_t>(end >> 8),
               static_cast<std::uint8_t>(end),
               static_cast<std::uint8_t>(date >> 8),
               static_cast<std::uint8_t>(date),
               repeatType ? std::uint8_t{0x24} : std::uint8_t{0x04},
               0x00};
    if (repeatType) {
        Bytes repeat = {repeatType,
                        0,
                        static_cast<std::uint8_t>(repeatEnd >> 8),
                        static_cast<std::uint8_t>(repeatEnd),
                        frequency,
                        on,
                        0,
                        0};
        b.insert(b.end(), repeat.begin(), repeat.end());
    }
    b.push_back('T');
    b.push_back(0);
    return b;
}

TEST(DatebookRecords, EntriesTheDateBookCannotHoldAreRefusedNotCut) {
    const std::uint16_t day = palmDateOf(2026, 5, 14);
    struct Case {
        Bytes record;
        std::uint8_t refused;
    } cases[] = {
        {eventRecord(0x0900, 0x0800, day), SKV_REFUSE_TIME},  // ends before it starts
        {eventRecord(0x1800, 0x1900, day), SKV_REFUSE_TIME},  // hour 24
        {eventRecord(0x0900, 0xFFFF, day), SKV_REFUSE_TIME},  // only one time
        {eventRecord(0xFFFF, 0xFFFF, palmDateOf(2026, 2, 30)), SKV_REFUSE_DATE},
        {eventRecord(0xFFFF, 0xFFFF, day, 1, 0), SKV_REFUSE_REPEAT},        // every 0 days
        {eventRecord(0xFFFF, 0xFFFF, day, 2, 1, 0x80), SKV_REFUSE_REPEAT},  // weekly on no weekday
        {eventRecord(0xFFFF, 0xFFFF, day, 3, 1, 35), SKV_REFUSE_REPEAT},
        {eventRecord(0xFFFF, 0xFFFF, day, 9, 1), SKV_REFUSE_REPEAT},
        {eventRecord(0xFFFF, 0xFFFF, day, 1, 1, 0, palmDateOf(2026, 5, 13)), SKV_REFUSE_DATE},
        {eventRecord(0x0900, 0x0900, day, 4, 1, 0, day), SKV_REFUSE_NONE},
    };
    for (const Case& c : cases) {
        skv_record record;
        EXPECT_EQ(skv_datebook_record(c.record.data(), static_cast<std::uint32_t>(c.record.size()), &record), SKV_OK);
        EXPECT_EQ(record.refused, c.refused);
        if (c.refused) {
            EXPECT_EQ(record.piece_count, 0);
        }
    }
}

TEST(AddressbookRecords, CarryEveryFieldPhoneLabelsAndCompanyOffset) {
    const std::string contact =
        "<contacts><contact id=\"1\"><last-name>Li</last-name><first-name>Bo</first-name><company>Acme</company>"
        "<title>Boss</title><street>1 Road\nBack</street><city>Town</city><state>ST</state><zip>12345</zip>"
        "<country>Land</country><contact-note>Note</contact-note><phone-numbers>"
        "<phone-number type=\"mobile\">111</phone-number><phone-number type=\"home\"></phone-number>"
        "<phone-number type=\"pager\">333</phone-number><phone-number type=\"main\">444</phone-number>"
        "</phone-numbers></contact></contacts>";
    const BuiltPackage built =
        buildPackageText(packageXml(contact, groupXml("", "<contact-ids><contact-id>1</contact-id></contact-ids>")));
    ASSERT_EQ(built.code, 0) << built.message;
    skv_record record;
    auto address = encodeContact(built.palmResource("Ncnt", 6000)->bytes, record);
    ASSERT_TRUE(address);
    EXPECT_EQ(address->fields[Name], "Li");
    EXPECT_EQ(address->fields[FirstName], "Bo");
    EXPECT_EQ(address->fields[Company], "Acme");
    EXPECT_EQ(address->companyOffset, 7);
    EXPECT_EQ(address->fields[Phone1], "111");
    // The Address Book keeps no empty field: the empty home phone is left out,
    // the later phones keep their places and labels.
    EXPECT_FALSE(address->fields[Phone2]);
    EXPECT_EQ(address->fields[Phone3], "333");
    EXPECT_EQ(address->fields[Phone4], "444");
    EXPECT_EQ(address->phoneLabel(0), 7);
    EXPECT_EQ(address->phoneLabel(2), 6);
    EXPECT_EQ(address->phoneLabel(3), 5);
    EXPECT_EQ(address->fields[Address], "1 Road\nBack");
    EXPECT_EQ(address->fields[City], "Town");
    EXPECT_EQ(address->fields[State], "ST");
    EXPECT_EQ(address->fields[ZipCode], "12345");
    EXPECT_EQ(address->fields[Country], "Land");
    EXPECT_EQ(address->fields[Title], "Boss");
    EXPECT_EQ(address->fields[Note], "Note");
    // The list shows the first phone; the byte above the labels is clear.
    EXPECT_EQ(address->options >> 20, 0u);
}

Bytes contactRecord(std::uint32_t options, std::uint32_t flags, std::uint8_t offset,
                    const std::vector<std::string>& texts) {
    Bytes b;
    for (int shift = 24; shift >= 0; shift -= 8) b.push_back(static_cast<std::uint8_t>(options >> shift));
    for (int shift = 24; shift >= 0; shift -= 8) b.push_back(static_cast<std::uint8_t>(flags >> shift));
    b.push_back(offset);
    for (const std::string& t : texts) {
        b.insert(b.end(), t.begin(), t.end());
        b.push_back(0);
    }
    return b;
}

TEST(AddressbookRecords, CompanyOffsetWithoutCompanyAndUnknownLabels) {
    skv_record record;
    // Only a company: offset 1. No company: offset 0, not the 1 the package has.
    auto onlyCompany = encodeContact(contactRecord(0xAA043210, 0x4, 1, {"Acme"}), record);
    ASSERT_TRUE(onlyCompany);
    EXPECT_EQ(onlyCompany->companyOffset, 1);
    auto noCompany = encodeContact(contactRecord(0xAA043210, 0x1, 1, {"Li"}), record);
    ASSERT_TRUE(noCompany);
    EXPECT_EQ(noCompany->companyOffset, 0);
    // A label code the Address Book does not have becomes "other" (3).
    auto odd = encodeContact(contactRecord(0xAA04321C, 0x9, 1, {"Li", "555"}), record);
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->phoneLabel(0), 3);
}

TEST(AddressbookRecords, NamesTooLongForTheCompanyOffsetAreRefused) {
    skv_record record;
    const std::string longName(200, 'x');
    const Bytes source = contactRecord(0xAA043210, 0x7, 1, {longName, longName, "Acme"});
    EXPECT_EQ(skv_addressbook_record(source.data(), static_cast<std::uint32_t>(source.size()), &record), SKV_OK);
    EXPECT_EQ(record.refused, SKV_REFUSE_COMPANY);
    // Without a company the same names are kept whole.
    const Bytes noCompany = contactRecord(0xAA043210, 0x3, 1, {longName, longName});
    auto address = encodeContact(noCompany, record);
    ASSERT_TRUE(address);
    EXPECT_EQ(address->fields[Name], longName);
}

// ---- The walk over the choice of each navigation level ----

std::string navigationPackage(const std::string& navigation) {
    std::string xml = packageXml(
        "<contacts><contact id=\"1\"><last-name>A</last-name></contact><contact "
        "id=\"2\"><last-name>B</last-name></contact>"
        "<contact id=\"3\"><last-name>C</last-name></contact></contacts>",
        groupXml(eventXml("<date day=\"46154\">x</date>") + eventXml("<date day=\"46155\">x</date>"),
                 "<contact-ids><contact-id>1</contact-id><contact-id>2</contact-id></contact-ids>", "One") +
            groupXml(eventXml("<date day=\"46156\">x</date>"), "<contact-ids><contact-id>2</contact-id></contact-ids>",
                     "Two"));
    return xml.replace(xml.find("navigation=\"groups\""), 19, "navigation=\"" + navigation + "\"");
}

struct Walked {
    std::vector<std::uint16_t> ids;
    skv_copy_summary summary{};
};

Walked copyAll(Viewer& viewer) {
    Walked walked;
    EXPECT_EQ(skv_copy_prepare(viewer.ctx, &walked.summary), SKV_OK);
    skv_record record;
    while (skv_copy_next(viewer.ctx, &record)) walked.ids.push_back(record.source_id);
    return walked;
}

TEST(CopyChoice, WholePackageAtLevelZeroIncludingContactsOfNoGroup) {
    const BuiltPackage built = buildPackageText(navigationPackage("none"));
    ASSERT_EQ(built.code, 0) << built.message;
    ViewerPackage package = viewerPackageOf(built);
    Viewer viewer(package);
    EXPECT_EQ(skv_navigation(viewer.ctx), 0);
    viewer.command(SKV_CMD_COPY);
    EXPECT_EQ(viewer.screen(), SKV_SCREEN_COPY_PACKAGE);
    EXPECT_TRUE(viewer.showsSentence(
        "The whole package is copied: 3 events into the Date Book and 3 contacts into the Address Book."));
    EXPECT_EQ(viewer.command(SKV_CMD_COPY_NOW), SKV_ACTION_COPY);
    const Walked walked = copyAll(viewer);
    EXPECT_EQ(walked.ids, (std::vector<std::uint16_t>{7000, 7001, 7002, 6000, 6001, 6002}));
    EXPECT_EQ(walked.summary.events, 3);
    EXPECT_EQ(walked.summary.contacts, 3);
    EXPECT_EQ(skv_copy_finished(viewer.ctx, &walked.summary), SKV_ACTION_REDRAW);
    EXPECT_EQ(viewer.screen(), SKV_SCREEN_COPY_DONE);
    EXPECT_TRUE(viewer.showsSentence("Copied 3 events and 3 contacts."));
    viewer.command(SKV_CMD_BACK);
    EXPECT_EQ(viewer.screen(), SKV_SCREEN_WELCOME);
}

TEST(CopyChoice, GroupsAtLevelOneWithSharedContactsOnce) {
    const BuiltPackage built = buildPackageText(navigationPackage("groups"));
    ASSERT_EQ(built.code, 0) << built.message;
    ViewerPackage package = viewerPackageOf(built);
    Viewer viewer(package);
    viewer.command(SKV_CMD_COPY);
    EXPECT_EQ(viewer.screen(), SKV_SCREEN_COPY_GROUPS);
    EXPECT_EQ(viewer.command(SKV_CMD_COPY_NOW), SKV_ACTION_NONE);  // nothing chosen yet
    int boxes = 0;
    for (const skv_item& item : viewer.items()) boxes += item.kind == SKV_ITEM_CHECKBOX;
    EXPECT_EQ(boxes, 2);
    viewer.tapText("Two");
    EXPECT_EQ(viewer.title(), "Copy: 1 group");
    EXPECT_EQ(copyAll(viewer).ids, (std::vector<std::uint16_t>{7002, 6001}));
    viewer.command(SKV_CMD_SELECT_ALL);
    EXPECT_EQ(copyAll(viewer).ids, (std::vector<std::uint16_t>{7000, 7001, 7002, 6000, 6001}));
    viewer.command(SKV_CMD_SELECT_NONE);
    EXPECT_EQ(viewer.title(), "Copy: 0 groups");
}

TEST(CopyChoice, SingleEventsAndContactsAtLevelTwo) {
    const BuiltPackage built = buildPackageText(navigationPackage("events"));
    ASSERT_EQ(built.code, 0) << built.message;
    ViewerPackage package = viewerPackageOf(built);
    Viewer viewer(package);
    viewer.command(SKV_CMD_COPY);
    EXPECT_EQ(viewer.screen(), SKV_SCREEN_COPY_GROUPS);
    viewer.tapText("One");
    EXPECT_EQ(viewer.screen(), SKV_SCREEN_COPY_ENTRIES);
    // Tap the second event's row (its checkbox is the second box).
    std::vector<skv_item> boxes;
    for (const skv_item& item : viewer.items())
        if (item.kind == SKV_ITEM_CHECKBOX) boxes.push_back(item);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(skv_tap(viewer.ctx, static_cast<std::int16_t>(boxes[1].x + 2), static_cast<std::int16_t>(boxes[1].y + 2)),
              SKV_ACTION_REDRAW);
    viewer.command(SKV_CMD_SHOW_CONTACTS);
    viewer.tapText("B");
    EXPECT_EQ(viewer.title(), "Copy: 2 chosen");
    viewer.command(SKV_CMD_BACK);
    EXPECT_EQ(viewer.screen(), SKV_SCREEN_COPY_GROUPS);
    EXPECT_EQ(viewer.command(SKV_CMD_COPY_NOW), SKV_ACTION_COPY);
    EXPECT_EQ(copyAll(viewer).ids, (std::vector<std::uint16_t>{7001, 6001}));
    viewer.command(SKV_CMD_BACK);
    EXPECT_EQ(viewer.screen(), SKV_SCREEN_WELCOME);
}

TEST(CopyChoice, DamagedChosenRecordStopsTheCopyBeforeAnythingIsWritten) {
    const BuiltPackage built = buildPackageText(navigationPackage("none"));
    ViewerPackage package = viewerPackageOf(built);
    Bytes* contact = package.find("Ncnt", 6002);
    ASSERT_NE(contact, nullptr);
    contact->pop_back();  // its last text loses its zero byte
    Viewer viewer(package);
    viewer.command(SKV_CMD_COPY);
    skv_copy_summary summary;
    EXPECT_EQ(skv_copy_prepare(viewer.ctx, &summary), SKV_ERR_TEXT);
    skv_record record;
    EXPECT_EQ(skv_copy_next(viewer.ctx, &record), 0);
    std::uint32_t type = 0;
    std::uint16_t id = 0;
    EXPECT_EQ(skv_error(viewer.ctx, &type, &id), SKV_ERR_TEXT);
    EXPECT_EQ(type, SKV_TYPE_CONTACT);
    EXPECT_EQ(id, 6002);
    EXPECT_EQ(viewer.screen(), SKV_SCREEN_ERROR);
}

TEST(CopyChoice, RefusedEntriesAreCountedAndNamedAfterTheCopy) {
    const BuiltPackage built = buildPackageText(navigationPackage("none"));
    ViewerPackage package = viewerPackageOf(built);
    package.add("Nevt", 7001, eventRecord(0x0900, 0x0800, palmDateOf(2026, 5, 15)));
    Viewer viewer(package);
    viewer.command(SKV_CMD_COPY);
    skv_copy_summary summary;
    ASSERT_EQ(skv_copy_prepare(viewer.ctx, &summary), SKV_OK);
    EXPECT_EQ(summary.events, 2);
    EXPECT_EQ(summary.events_refused, 1);
    skv_record record;
    skv_copy_summary done{};
    while (skv_copy_next(viewer.ctx, &record)) {
        if (record.refused) continue;
        (record.kind == SKV_RECORD_EVENT ? done.events : done.contacts)++;
    }
    done.events_refused = summary.events_refused;
    skv_copy_finished(viewer.ctx, &done);
    EXPECT_TRUE(viewer.showsSentence("Copied 2 events and 3 contacts."));
    EXPECT_TRUE(viewer.hasText("T (time)"));
}

TEST(CopyChoice, FingerprintFollowsThePackageContent) {
    ViewerPackage a = viewerPackageOf(buildPackageText(navigationPackage("none")));
    ViewerPackage b = a;
    Viewer first(a), same(b);
    EXPECT_EQ(skv_fingerprint(first.ctx), skv_fingerprint(same.ctx));
    ViewerPackage other = viewerPackageOf(buildPackageText(navigationPackage("groups")));
    Viewer different(other);
    EXPECT_NE(skv_fingerprint(first.ctx), skv_fingerprint(different.ctx));
}

}  // namespace
}  // namespace skedlin::testing
