// The core on Pocket PC packages: the executable the builder writes, read
// through its string tables, little-endian word lists and Pocket PC
// records, shows the same screens as the Palm database of the same package;
// the copy hands out decoded entries; damage stops the viewer.

#include "pocketpc_support.h"

#include <array>
#include <functional>

namespace skedlin::testing {
namespace {

// Both viewers after the same input show the same texts at the same places.
void expectSameScreen(const Viewer& palm, const Viewer& ppc, const std::string& step) {
    const auto a = palm.items(), b = ppc.items();
    ASSERT_EQ(a.size(), b.size()) << step;
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].kind, b[i].kind) << step << " item " << i;
        EXPECT_EQ(a[i].x, b[i].x) << step << " item " << i;
        EXPECT_EQ(a[i].y, b[i].y) << step << " item " << i;
        EXPECT_EQ(std::string(a[i].text ? a[i].text : "", a[i].length),
                  std::string(b[i].text ? b[i].text : "", b[i].length))
            << step << " item " << i;
    }
}

TEST(PocketPcLayout, ShowsTheSameScreensAsThePalmDatabaseOfThePackage) {
    ViewerPackage palmPackage = examplePackage();
    ViewerPackage ppcPackage = pocketPcPackage(examplePath());
    Viewer palm(palmPackage, 2), ppc(ppcPackage, 2);
    ASSERT_TRUE(palm.ok());
    ASSERT_TRUE(ppc.ok()) << skv_status_text(ppc.status);
    EXPECT_EQ(skv_layout_kind(ppc.ctx), SKV_LAYOUT_POCKETPC);
    EXPECT_EQ(skv_layout_kind(palm.ctx), SKV_LAYOUT_PALM);
    EXPECT_EQ(skv_navigation(ppc.ctx), skv_navigation(palm.ctx));
    expectSameScreen(palm, ppc, "welcome");
    // The welcome text's line feeds arrive as CR LF: no line may keep the CR.
    for (const std::string& text : ppc.texts()) EXPECT_EQ(text.find('\r'), std::string::npos) << text;
    EXPECT_EQ(palm.key(SKV_KEY_PAGE_DOWN), ppc.key(SKV_KEY_PAGE_DOWN));
    expectSameScreen(palm, ppc, "welcome, scrolled");

    EXPECT_EQ(palm.command(SKV_CMD_BROWSE), ppc.command(SKV_CMD_BROWSE));
    expectSameScreen(palm, ppc, "groups");
    const std::string group = palm.texts().at(1);
    palm.tapText(group);
    ppc.tapText(group);
    expectSameScreen(palm, ppc, "events of " + group);
    ASSERT_EQ(ppc.screen(), SKV_SCREEN_EVENTS);
    // The first event's title: the first text right of the time column.
    const skv_item* first = nullptr;
    for (const skv_item& item : palm.items())
        if (!first && item.kind == SKV_ITEM_TEXT && item.font == SKV_FONT_STANDARD && item.x > 40)
            first = palm.findText(std::string(item.text, item.length));
    ASSERT_NE(first, nullptr);
    const std::string event(first->text, first->length);
    palm.tapText(event);
    ppc.tapText(event);
    ASSERT_EQ(ppc.screen(), SKV_SCREEN_EVENT);
    expectSameScreen(palm, ppc, "event " + event);

    palm.command(SKV_CMD_BACK);
    ppc.command(SKV_CMD_BACK);
    palm.command(SKV_CMD_SHOW_CONTACTS);
    ppc.command(SKV_CMD_SHOW_CONTACTS);
    expectSameScreen(palm, ppc, "contacts of " + group);
    const auto contacts = palm.texts();
    ASSERT_GE(contacts.size(), 2u);
    palm.tapText(contacts[1]);
    ppc.tapText(contacts[1]);
    ASSERT_EQ(ppc.screen(), SKV_SCREEN_CONTACT);
    expectSameScreen(palm, ppc, "contact " + contacts[1]);
    EXPECT_EQ(skv_error(ppc.ctx, nullptr, nullptr), SKV_OK);
}

TEST(PocketPcLayout, CopyHandsOutEveryChosenEntryDecodedFromItsRecord) {
    ViewerPackage package = pocketPcPackage(std::string(SKEDLIN_SOURCE_DIR) + "/tests/palmviewer/data/CopyTest.xml");
    Viewer viewer(package, 2);
    ASSERT_TRUE(viewer.ok()) << skv_status_text(viewer.status);
    ASSERT_EQ(skv_navigation(viewer.ctx), 0);  // the whole package
    skv_copy_summary summary{};
    ASSERT_EQ(skv_copy_prepare(viewer.ctx, &summary), SKV_OK);
    skv_record palmRecord;
    EXPECT_EQ(skv_copy_next(viewer.ctx, &palmRecord), 0) << "Palm records from a Pocket PC package";

    skv_entry entry;
    std::uint16_t events = 0, contacts = 0, refused = 0;
    std::uint16_t lastEvent = 0;
    while (skv_copy_next_entry(viewer.ctx, &entry)) {
        if (entry.refused) ++refused;
        if (entry.kind == SKV_RECORD_EVENT) {
            ++events;
            EXPECT_GT(entry.source_id, lastEvent) << "events in id order";
            lastEvent = entry.source_id;
            const Bytes& record = *package.findNumbered(kPpcData, entry.source_id);
            EXPECT_EQ(entry.event.year, record[0] | record[1] << 8);
            EXPECT_EQ(entry.event.month, record[2]);
            EXPECT_EQ(entry.event.day, record[3]);
            EXPECT_EQ(entry.event.start_hour, record[4]);
            EXPECT_EQ(entry.event.recurrence, static_cast<std::int16_t>(record[8] | record[9] << 8));
            EXPECT_EQ(entry.event.frequency, record[14]);
            EXPECT_EQ(entry.event.mask, record[15]);
            // Texts are read in place: the title right after the 16-byte header.
            EXPECT_EQ(reinterpret_cast<const std::uint8_t*>(entry.event.title.text), record.data() + 16);
            EXPECT_EQ(entry.event.note.text, entry.event.title.text + entry.event.title.length + 1);
        } else {
            ++contacts;
            EXPECT_GE(entry.source_id, SKV_ID_FIRST_CONTACT);
            const Bytes& record = *package.findNumbered(kPpcData, entry.source_id);
            EXPECT_EQ(reinterpret_cast<const std::uint8_t*>(entry.contact.field[SKR_PPC_CONTACT_LAST_NAME].text),
                      record.data());
            // The flag byte sits after the company.
            const skv_span company = entry.contact.field[SKR_PPC_CONTACT_COMPANY];
            EXPECT_EQ(entry.contact.flag, static_cast<std::uint8_t>(company.text[company.length + 1]));
        }
    }
    EXPECT_EQ(events, summary.events + summary.events_refused);
    EXPECT_EQ(contacts, summary.contacts + summary.contacts_refused);
    EXPECT_EQ(refused, summary.events_refused + summary.contacts_refused);
    EXPECT_GT(events, 0);
    EXPECT_GT(contacts, 0);
}

// A hand-made event record: header, title, note, and optionally the block of
// deleted occurrences (count, then year, month, day each).
Bytes eventRecord(std::uint16_t year, std::uint8_t month, std::uint8_t day, std::int16_t recurrence,
                  const std::vector<std::array<std::uint16_t, 3>>& exceptions, bool writeBlock) {
    Bytes b = {
        static_cast<std::uint8_t>(year),       static_cast<std::uint8_t>(year >> 8),       month, day, 9, 0, 10, 30,
        static_cast<std::uint8_t>(recurrence), static_cast<std::uint8_t>(recurrence >> 8), 0,     0,   0, 0, 1,  0};
    for (char c : std::string("Standup\r\nDaily")) b.push_back(static_cast<std::uint8_t>(c));
    b.push_back(0);
    for (char c : std::string("Room 4")) b.push_back(static_cast<std::uint8_t>(c));
    b.push_back(0);
    if (writeBlock) {
        b.push_back(static_cast<std::uint8_t>(exceptions.size()));
        b.push_back(0);
        for (const auto& d : exceptions) {
            b.push_back(static_cast<std::uint8_t>(d[0]));
            b.push_back(static_cast<std::uint8_t>(d[0] >> 8));
            b.push_back(static_cast<std::uint8_t>(d[1]));
            b.push_back(static_cast<std::uint8_t>(d[2]));
        }
    }
    return b;
}

class PocketPcRecords : public ::testing::Test {
protected:
    void SetUp() override { package = pocketPcPackage(examplePath()); }
    // Opens the core and the details of event 7000.
    std::uint16_t openFirstEvent(Viewer& viewer) {
        EXPECT_TRUE(viewer.ok()) << skv_status_text(viewer.status);
        viewer.command(SKV_CMD_BROWSE);
        viewer.tapText(viewer.texts().at(1));
        const skv_item* row = nullptr;
        for (const skv_item& item : viewer.items())
            if (item.kind == SKV_ITEM_TEXT && std::string(item.text, item.length).rfind("Standup", 0) == 0)
                row = viewer.findText(std::string(item.text, item.length));
        if (!row) return 0;
        return viewer.tapText(std::string(row->text, row->length));
    }
    ViewerPackage package;
};

TEST_F(PocketPcRecords, DeletedOccurrencesAfterTheNoteAreShownAndHandedToTheCopy) {
    package.addNumbered(kPpcData, 7000, eventRecord(2026, 5, 14, 0, {{2026, 5, 15}, {2026, 5, 18}}, true));
    Viewer viewer(package, 1);
    openFirstEvent(viewer);
    ASSERT_EQ(viewer.screen(), SKV_SCREEN_EVENT) << skv_status_text(skv_error(viewer.ctx, nullptr, nullptr));
    EXPECT_TRUE(viewer.showsSentence("Fri 15 May 2026")) << ::testing::PrintToString(viewer.texts());
    EXPECT_TRUE(viewer.showsSentence("Mon 18 May 2026"));

    skv_copy_summary summary{};
    viewer.command(SKV_CMD_COPY);
    viewer.command(SKV_CMD_SELECT_ALL);
    ASSERT_EQ(skv_copy_prepare(viewer.ctx, &summary), SKV_OK);
    skv_entry entry;
    ASSERT_TRUE(skv_copy_next_entry(viewer.ctx, &entry));
    ASSERT_EQ(entry.source_id, 7000);
    ASSERT_EQ(entry.event.exception_count, 2);
    std::uint16_t year;
    std::uint8_t month, day;
    skv_entry_exception(&entry.event, 1, &year, &month, &day);
    EXPECT_EQ(year, 2026);
    EXPECT_EQ(month, 5);
    EXPECT_EQ(day, 18);
}

TEST_F(PocketPcRecords, DamagedRecordsAndTablesStopTheViewerWithTheirResource) {
    struct Case {
        const char* what;
        std::function<void(ViewerPackage&)> damage;
        skv_status expected;
        bool atOpen;
    };
    const std::vector<Case> cases = {
        {"event shorter than its header", [](ViewerPackage& p) { p.findNumbered(kPpcData, 7000)->resize(10); },
         SKV_ERR_TRUNCATED, false},
        {"deleted occurrences longer than the record",
         [](ViewerPackage& p) {
             Bytes record = eventRecord(2026, 5, 14, 0, {{2026, 5, 15}}, true);
             record.resize(record.size() - 1);
             p.addNumbered(kPpcData, 7000, record);
         },
         SKV_ERR_COUNT, false},
        {"title without its zero byte",
         [](ViewerPackage& p) {
             Bytes record = eventRecord(2026, 5, 14, -1, {}, false);
             record.resize(20);
             p.addNumbered(kPpcData, 7000, record);
         },
         SKV_ERR_TEXT, false},
        {"string block of the title missing",
         [](ViewerPackage& p) {
             p.resources.erase({kPpcStrings, 251});
         },
         SKV_ERR_MISSING, true},
        {"string length past the block",
         [](ViewerPackage& p) {
             Bytes& block = *p.findNumbered(kPpcStrings, 251);
             block[0] = 0xFF;
             block[1] = 0x7F;
         },
         SKV_ERR_TRUNCATED, true},
        {"group table with a wrong count",
         [](ViewerPackage& p) {
             Bytes& table = *p.findNumbered(kPpcData, 4001);
             table[0] = static_cast<std::uint8_t>(table[0] + 1);
         },
         SKV_ERR_TRUNCATED, true},
    };
    for (const Case& c : cases) {
        ViewerPackage damaged = package;
        c.damage(damaged);
        Viewer viewer(damaged, 1);
        if (c.atOpen) {
            EXPECT_EQ(viewer.status, c.expected) << c.what;
            continue;
        }
        ASSERT_TRUE(viewer.ok()) << c.what;
        viewer.command(SKV_CMD_COPY);
        viewer.command(SKV_CMD_SELECT_ALL);
        skv_copy_summary summary{};
        EXPECT_EQ(skv_copy_prepare(viewer.ctx, &summary), c.expected) << c.what;
        std::uint16_t id = 0;
        EXPECT_EQ(skv_error(viewer.ctx, nullptr, &id), c.expected) << c.what;
        EXPECT_EQ(id, 7000) << c.what;
        EXPECT_EQ(viewer.screen(), SKV_SCREEN_ERROR) << c.what;
    }
}

TEST(PocketPcLayout, AnEmptyContactIndexListWrittenAsOneZeroOpens) {
    ViewerPackage package = pocketPcPackageText(
        packageXml("", groupXml("<event><event-title>Solo</event-title><date day=\"46155\">x</date></event>")));
    ASSERT_EQ(package.findNumbered(kPpcData, 4004)->size(), 4u);  // count 1, value 0
    Viewer viewer(package, 1);
    ASSERT_TRUE(viewer.ok()) << skv_status_text(viewer.status);
    viewer.command(SKV_CMD_BROWSE);
    viewer.tapText("G");
    EXPECT_EQ(viewer.screen(), SKV_SCREEN_EVENTS);
    EXPECT_TRUE(viewer.showsSentence("Solo"));
}

TEST(PocketPcLayout, StringsComeBackInWindows1252) {
    ViewerPackage package = pocketPcPackageText(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<calendar-package navigation=\"groups\">\n"
        "<package-title>Caf\xC3\xA9 \xE2\x82\xAC"
        "5</package-title><app-name>T</app-name>\n"
        "<app-launcher><launcher-name>T</launcher-name></app-launcher>\n"
        "<welcome><description>W</description></welcome>\n<groups></groups>\n</calendar-package>\n");
    Viewer viewer(package, 1);
    ASSERT_TRUE(viewer.ok()) << skv_status_text(viewer.status);
    EXPECT_EQ(viewer.title(),
              "Caf\xE9 \x80"
              "5");
    EXPECT_EQ(skv_cp1252_unicode(0x80), 0x20AC);
    EXPECT_EQ(skv_cp1252_unicode(0xE9), 0x00E9);
    EXPECT_EQ(skv_cp1252_unicode(0x9F), 0x0178);
    EXPECT_EQ(skv_cp1252_unicode(0x81), 0x0081);  // unassigned: passed through

    // A character the code page cannot show becomes '?'; a surrogate pair is one character.
    Bytes& block = *package.findNumbered(kPpcStrings, 251);
    const Bytes title = {4, 0, 'A', 0, 0x2D, 0x4E, 0x3D, 0xD8, 0x00, 0xDE};
    block.erase(block.begin(), block.begin() + 2 + 2 * (block[0] | block[1] << 8));
    block.insert(block.begin(), title.begin(), title.end());
    Viewer changed(package, 1);
    ASSERT_TRUE(changed.ok()) << skv_status_text(changed.status);
    EXPECT_EQ(changed.title(), "A??");
}

}  // namespace
}  // namespace skedlin::testing

namespace skedlin::testing {
namespace {

TEST(PocketPcLayout, AboutAndCopyScreensNameTheHandheldsOwnApplications) {
    ViewerPackage package = pocketPcPackage(std::string(SKEDLIN_SOURCE_DIR) + "/tests/palmviewer/data/CopyTest.xml");
    Viewer viewer(package, 2);
    ASSERT_TRUE(viewer.ok());
    viewer.command(SKV_CMD_ABOUT);
    EXPECT_TRUE(viewer.showsSentence("into your Calendar and its contacts into your Contacts"));
    viewer.command(SKV_CMD_BACK);
    viewer.command(SKV_CMD_COPY);
    ASSERT_EQ(viewer.screen(), SKV_SCREEN_COPY_PACKAGE);
    EXPECT_TRUE(viewer.showsSentence("into the Calendar and"));
    EXPECT_TRUE(viewer.showsSentence("into Contacts."));
    for (const std::string& text : viewer.texts()) EXPECT_EQ(text.find("Book"), std::string::npos) << text;
}

}  // namespace
}  // namespace skedlin::testing
