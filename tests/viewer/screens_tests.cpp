// The display list of every screen and the navigation between them, on the
// example package and on packages made by the real builder.

#include "viewer_test_support.h"

#include <set>

namespace skedlin::testing {
namespace {

class ExampleScreens : public ::testing::Test {
protected:
    void SetUp() override { package = examplePackage(); }
    ViewerPackage package;
};

TEST_F(ExampleScreens, WelcomeShowsLogoTitleWrappedTextsAndButtons) {
    Viewer viewer(package);
    ASSERT_TRUE(viewer.ok()) << skv_status_text(viewer.status);
    EXPECT_EQ(viewer.screen(), SKV_SCREEN_WELCOME);
    EXPECT_EQ(viewer.title(), "Mobile Data Conference 2026");
    const skv_item* logo = nullptr;
    const auto items = viewer.items();
    for (const skv_item& item : items)
        if (item.kind == SKV_ITEM_BITMAP) logo = &item;
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->id, SKV_ID_LOGO);
    EXPECT_EQ(logo->x, (160 - logo->w) / 2);
    EXPECT_GE(logo->y, 15);
    // Words are kept whole; each line fits left of the scroll bar.
    EXPECT_TRUE(viewer.hasText("Welcome to the Mobile Data"));
    EXPECT_TRUE(viewer.hasText("Conference 2026!"));
    for (const skv_item& item : items) {
        if (item.kind == SKV_ITEM_TEXT) {
            EXPECT_LE(item.x + item.w, 150) << std::string(item.text, item.length);
            EXPECT_GT(item.y, logo->y);
        }
    }
    EXPECT_NE(viewer.button(SKV_CMD_BROWSE), nullptr);
    EXPECT_NE(viewer.button(SKV_CMD_COPY), nullptr);

    // The rest of the welcome (the author) is reached by scrolling.
    EXPECT_FALSE(viewer.hasText("Programme by the MDC"));
    EXPECT_EQ(viewer.key(SKV_KEY_PAGE_DOWN), SKV_ACTION_REDRAW);
    EXPECT_TRUE(viewer.hasText("info@mdc2026.example"));
    const auto* author = viewer.findText("Programme by the MDC");
    ASSERT_NE(author, nullptr);
    EXPECT_EQ(author->font, SKV_FONT_BOLD);
}

TEST_F(ExampleScreens, HighDensityDoublesTheLayout) {
    Viewer standard(package, 1);
    auto low = standard.items();
    ViewerPackage copy = package;
    Viewer high(copy, 2);
    ASSERT_TRUE(high.ok());
    auto doubled = high.items();
    ASSERT_EQ(low.size(), doubled.size());
    for (std::size_t i = 0; i < low.size(); ++i) {
        EXPECT_EQ(low[i].kind, doubled[i].kind);
        EXPECT_EQ(2 * low[i].x, doubled[i].x) << i;
        EXPECT_EQ(2 * low[i].y, doubled[i].y) << i;
        EXPECT_EQ(2 * low[i].h, doubled[i].h) << i;
    }
}

TEST_F(ExampleScreens, GroupListShowsNamesAndDescriptions) {
    Viewer viewer(package);
    EXPECT_EQ(viewer.command(SKV_CMD_BROWSE), SKV_ACTION_REDRAW);
    EXPECT_EQ(viewer.screen(), SKV_SCREEN_GROUPS);
    const auto* name = viewer.findText("Keynotes & Plenary");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->font, SKV_FONT_BOLD);
    // The description is cut to its row, visibly.
    EXPECT_TRUE(viewer.hasText("Opening, keynotes and the..."));
    EXPECT_TRUE(viewer.hasText("Track B: User Experience"));
    EXPECT_EQ(viewer.command(SKV_CMD_BACK), SKV_ACTION_REDRAW);
    EXPECT_EQ(viewer.screen(), SKV_SCREEN_WELCOME);
    EXPECT_EQ(viewer.command(SKV_CMD_BACK), SKV_ACTION_EXIT);
}

TEST_F(ExampleScreens, GroupEventsByDayThenEventDetails) {
    Viewer viewer(package);
    viewer.command(SKV_CMD_BROWSE);
    EXPECT_EQ(viewer.tapText("Keynotes & Plenary"), SKV_ACTION_REDRAW);
    EXPECT_EQ(viewer.screen(), SKV_SCREEN_EVENTS);
    EXPECT_EQ(viewer.title(), "Keynotes & Plenary");
    const auto texts = viewer.texts();
    // Title, the two tabs' labels are buttons; then the day heading and the rows.
    const std::vector<std::string> expected = {"Keynotes & Plenary",
                                               "Thursday, 14 May 2026",
                                               "9:00 am",
                                               "Opening and welcome",
                                               "9:20 am",
                                               "Keynote: Data that ...",
                                               "4:30 pm",
                                               "Closing panel: The ..."};
    EXPECT_EQ(texts, expected);

    EXPECT_EQ(viewer.tapText("Keynote: Data that ..."), SKV_ACTION_REDRAW);
    EXPECT_EQ(viewer.screen(), SKV_SCREEN_EVENT);
    // The bold title wraps at a space.
    EXPECT_TRUE(viewer.hasText("Keynote: Data that"));
    EXPECT_TRUE(viewer.hasText("travels"));
    EXPECT_TRUE(viewer.hasText("Thursday, 14 May 2026"));
    EXPECT_TRUE(viewer.hasText("9:20 am - 10:15 am"));
    EXPECT_TRUE(viewer.hasText("Note"));
    EXPECT_TRUE(viewer.hasText("Main Hall. Ngozi Achebe on"));
    EXPECT_EQ(viewer.command(SKV_CMD_BACK), SKV_ACTION_REDRAW);
    EXPECT_EQ(viewer.screen(), SKV_SCREEN_EVENTS);
}

TEST_F(ExampleScreens, GroupContactsAlphabeticalThenContactDetails) {
    Viewer viewer(package);
    viewer.command(SKV_CMD_BROWSE);
    viewer.tapText("Keynotes & Plenary");
    EXPECT_EQ(viewer.command(SKV_CMD_SHOW_CONTACTS), SKV_ACTION_REDRAW);
    EXPECT_EQ(viewer.screen(), SKV_SCREEN_CONTACTS);
    // The group lists Achebe (id 4) then Brennan (id 2); shown by name.
    const std::vector<std::string> expected = {"Keynotes & Plenary", "Achebe, Ngozi", "Brennan, Siobhan"};
    EXPECT_EQ(viewer.texts(), expected);
    EXPECT_EQ(viewer.button(SKV_CMD_SHOW_CONTACTS)->value, 1);
    EXPECT_EQ(viewer.button(SKV_CMD_SHOW_EVENTS)->value, 0);

    viewer.tapText("Brennan, Siobhan");
    EXPECT_EQ(viewer.screen(), SKV_SCREEN_CONTACT);
    const std::vector<std::string> details = {
        "Contact",         "Siobhan Brennan",         "Programme Chair",
        "MDC Committee",   "Mobile: +44 7700 900417", "E-mail: chair@mdc2026.example",
        "Bristol BS1 4DJ", "United Kingdom"};
    EXPECT_EQ(viewer.texts(), details);
}

TEST_F(ExampleScreens, ContactWithoutFirstNameShowsStreetLinesAndNote) {
    Viewer viewer(package);
    viewer.command(SKV_CMD_BROWSE);
    viewer.tapText("Social");
    viewer.command(SKV_CMD_SHOW_CONTACTS);
    viewer.tapText("Harbour Hall");
    EXPECT_TRUE(viewer.hasText("Main: +44 117 496 0000"));
    EXPECT_TRUE(viewer.hasText("Fax: +44 117 496 0001"));
    EXPECT_TRUE(viewer.hasText("Canons Way"));
    EXPECT_TRUE(viewer.hasText("Harbourside"));
    viewer.key(SKV_KEY_PAGE_DOWN);
    EXPECT_TRUE(viewer.hasText("Venue. Step-free access from"));
}

TEST_F(ExampleScreens, AboutReturnsToTheScreenItWasOpenedFrom) {
    Viewer viewer(package);
    viewer.command(SKV_CMD_BROWSE);
    EXPECT_EQ(viewer.command(SKV_CMD_ABOUT), SKV_ACTION_REDRAW);
    EXPECT_EQ(viewer.screen(), SKV_SCREEN_ABOUT);
    EXPECT_EQ(viewer.title(), "About");
    EXPECT_TRUE(viewer.hasText("Skedlin calendar package"));
    viewer.command(SKV_CMD_BACK);
    EXPECT_EQ(viewer.screen(), SKV_SCREEN_GROUPS);
}

TEST_F(ExampleScreens, TapsOutsideEveryRowAndButtonDoNothing) {
    Viewer viewer(package);
    viewer.command(SKV_CMD_BROWSE);
    EXPECT_EQ(skv_tap(viewer.ctx, 155, 5), SKV_ACTION_NONE);
    EXPECT_EQ(skv_tap(viewer.ctx, -3, 200), SKV_ACTION_NONE);
    EXPECT_EQ(viewer.screen(), SKV_SCREEN_GROUPS);
}

// ---- Repeats, headings and order, on packages made for the purpose ----

std::string eventXml(const std::string& title, int day, const std::string& times = "", const std::string& repeat = "",
                     const std::string& note = "") {
    std::string xml = "<event><event-title>" + title + "</event-title>";
    if (!note.empty()) xml += "<event-note>" + note + "</event-note>";
    xml += "<date day=\"" + std::to_string(day) + "\">x</date>";
    if (!times.empty()) xml += times;
    return xml + repeat + "</event>";
}

std::string timesXml(const std::string& start, const std::string& end) {
    return "<time-range><start-time>" + start + "</start-time><end-time>" + end + "</end-time></time-range>";
}

// Day 46154 is Thursday 14 May 2026 (days from 1 January 1900).
constexpr int kThursday = 46154;

TEST(ViewerEvents, SortedByDayAndTimeWithOneHeadingPerDayAndRepeatMarks) {
    const std::string events =
        eventXml("Late", kThursday + 1, timesXml("18:00", "19:00")) +
        eventXml("Early", kThursday + 1, timesXml("8:00", "9:00")) + eventXml("Untimed", kThursday + 1) +
        eventXml("Weekly", kThursday, timesXml("10:00", "11:00"), "<repeating-event interval=\"weekly\"/>");
    const BuiltPackage built = buildPackageText(packageXml("", groupXml(events)));
    ASSERT_EQ(built.code, 0) << built.message;
    ViewerPackage package = viewerPackageOf(built);
    Viewer viewer(package);
    viewer.command(SKV_CMD_BROWSE);
    viewer.tapText("G");
    const std::vector<std::string> expected = {"G",
                                               "Thursday, 14 May 2026",
                                               "10:00 am",
                                               "Weekly",
                                               "Friday, 15 May 2026",
                                               "Untimed",
                                               "8:00 am",
                                               "Early",
                                               "6:00 pm",
                                               "Late"};
    EXPECT_EQ(viewer.texts(), expected);
    // One repeat mark (a frame), beside the weekly event's row only.
    int frames = 0;
    const skv_item* weekly = viewer.findText("Weekly");
    const auto shown = viewer.items();
    for (const skv_item& item : shown) {
        if (item.kind == SKV_ITEM_FRAME) {
            ++frames;
            EXPECT_GE(item.y, weekly->y);
            EXPECT_LT(item.y, weekly->y + weekly->h);
        }
    }
    EXPECT_EQ(frames, 1);
}

TEST(ViewerEvents, RepeatInWordsWithEndDateAndExceptions) {
    const std::string repeats[] = {
        "<repeating-event interval=\"weekly\" frequency=\"2\"><last-date day=\"46244\">x</last-date>"
        "<days-of-week>-X-X---</days-of-week><except-days><date day=\"46168\">x</date></except-days></repeating-event>",
        "<repeating-event interval=\"month-by-day\"/>", "<repeating-event interval=\"month-by-date\" frequency=\"3\"/>",
        "<repeating-event interval=\"yearly\"/>", "<repeating-event interval=\"daily\"/>"};
    const std::vector<std::vector<std::string>> words = {
        {"Repeats every 2 weeks on Mon", "Wed", "Until Wed 12 Aug 2026", "Except Thu 28 May 2026"},
        {"Repeats every month on the", "second Thu", "No end date"},
        {"Repeats every 3 months on day", "14", "No end date"},
        {"Repeats every year", "No end date"},
        {"Repeats every day", "No end date"}};
    std::string events;
    for (int i = 0; i < 5; ++i) events += eventXml("E" + std::to_string(i), kThursday, "", repeats[i]);
    const BuiltPackage built = buildPackageText(packageXml("", groupXml(events)));
    ASSERT_EQ(built.code, 0) << built.message;
    ViewerPackage package = viewerPackageOf(built);
    Viewer viewer(package);
    viewer.command(SKV_CMD_BROWSE);
    viewer.tapText("G");
    for (int i = 0; i < 5; ++i) {
        viewer.tapText("E" + std::to_string(i));
        ASSERT_EQ(viewer.screen(), SKV_SCREEN_EVENT);
        EXPECT_TRUE(viewer.hasText("Untimed"));
        for (const std::string& line : words[i]) EXPECT_TRUE(viewer.hasText(line)) << i << ": " << line;
        viewer.command(SKV_CMD_BACK);
    }
}

// ---- Thousands of entries ----

class LargePackage : public ::testing::Test {
protected:
    void SetUp() override { package = generatedPackage(5800, 999, 1); }
    ViewerPackage package;
};

TEST_F(LargePackage, PagingCostsOnlyThePageAndMemoryStaysSmall) {
    Viewer viewer(package);
    ASSERT_TRUE(viewer.ok()) << skv_status_text(viewer.status);
    // 32 KB plus 2 bytes per record, even with the desktop's wider pointers.
    EXPECT_LE(viewer.size, 32768u + 2u * (5800 + 999));
    viewer.command(SKV_CMD_BROWSE);
    const skv_item* first = nullptr;
    const auto shown = viewer.items();
    for (const skv_item& item : shown)
        if (item.kind == SKV_ITEM_TEXT && item.font == SKV_FONT_BOLD) first = &item;
    ASSERT_NE(first, nullptr);
    const int beforeOpen = package.lookups;
    skv_tap(viewer.ctx, 10, static_cast<std::int16_t>(first->y + 2));
    ASSERT_EQ(viewer.screen(), SKV_SCREEN_EVENTS);
    // Opening the group sorts its 5,800 events reading each record once or twice.
    EXPECT_LT(package.lookups - beforeOpen, 3 * 5800);

    // Walk the list a page at a time: every event's row shows up (titles are
    // numbered, so each is distinct) and no page reads more than its rows.
    std::set<std::string> titles;
    int pages = 0, lookupsOfOnePage = 0;
    while (true) {
        const auto shown = viewer.items();
        for (const skv_item& item : shown)
            if (item.kind == SKV_ITEM_TEXT && item.x == 41) titles.emplace(item.text, item.length);
        const int before = package.lookups;
        const std::uint16_t action = viewer.key(SKV_KEY_PAGE_DOWN);
        lookupsOfOnePage = std::max(lookupsOfOnePage, package.lookups - before);
        ASSERT_EQ(action & SKV_ACTION_ERROR, 0);
        ++pages;
        const skv_item* bar = nullptr;
        const auto next = viewer.items();
        for (const skv_item& item : next)
            if (item.kind == SKV_ITEM_SCROLLBAR) bar = &item;
        ASSERT_NE(bar, nullptr);
        if (bar->value == bar->maximum || pages > 2000) break;
    }
    const auto last = viewer.items();
    for (const skv_item& item : last)
        if (item.kind == SKV_ITEM_TEXT && item.x == 41) titles.emplace(item.text, item.length);
    EXPECT_EQ(titles.size(), 5800u);
    EXPECT_LT(pages, 2000);
    // A page costs its own rows, not the list: well under a hundred lookups.
    EXPECT_LT(lookupsOfOnePage, 100);
    // And back to the top.
    for (int i = 0; i < pages + 2; ++i) viewer.key(SKV_KEY_PAGE_UP);
    const skv_item* bar = nullptr;
    const auto top = viewer.items();
    for (const skv_item& item : top)
        if (item.kind == SKV_ITEM_SCROLLBAR) bar = &item;
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->value, 0);
}

// Pages through the events of the package's only group: every day's
// heading appears exactly once, so the list is in day order.
void expectOneHeadingPerDay(ViewerPackage& package) {
    Viewer viewer(package);
    ASSERT_TRUE(viewer.ok());
    viewer.command(SKV_CMD_BROWSE);
    skv_tap(viewer.ctx, 10, 20);
    ASSERT_EQ(viewer.screen(), SKV_SCREEN_EVENTS);
    std::set<std::uint16_t> days;
    for (const auto& [key, bytes] : package.resources)
        if (key.first == SKV_TYPE_EVENT) days.insert(static_cast<std::uint16_t>(bytes[4] << 8 | bytes[5]));
    std::vector<std::string> headings;
    for (int page = 0; page < 3000; ++page) {
        const skv_item* bar = nullptr;
        const auto shown = viewer.items();
        for (const skv_item& item : shown) {
            if (item.kind == SKV_ITEM_TEXT && item.font == SKV_FONT_BOLD) headings.emplace_back(item.text, item.length);
            if (item.kind == SKV_ITEM_SCROLLBAR) bar = &item;
        }
        ASSERT_NE(bar, nullptr);
        if (bar->value == bar->maximum) break;
        viewer.key(SKV_KEY_PAGE_DOWN);
    }
    // Every day has its heading; only the last page, which ends on the last
    // row and so may overlap the page before it, can repeat one.
    EXPECT_EQ(std::set<std::string>(headings.begin(), headings.end()).size(), days.size());
    EXPECT_LE(headings.size(), days.size() + 1);
}

TEST_F(LargePackage, OneHeadingPerDayAcrossAllPages) { expectOneHeadingPerDay(package); }

TEST(LongerThanTheKeyCache, SortsTheSameWayFromTheRecords) {
    ViewerPackage package = generatedPackage(6300, 10, 1);
    expectOneHeadingPerDay(package);
}

TEST_F(LargePackage, ScrollBarJumpsLandOnFullPages) {
    Viewer viewer(package);
    viewer.command(SKV_CMD_BROWSE);
    skv_tap(viewer.ctx, 10, 20);
    for (int position : {0, 1000, 2899, 5799, 30000}) {
        EXPECT_EQ(skv_scroll_to(viewer.ctx, static_cast<std::int16_t>(position)) & SKV_ACTION_ERROR, 0);
        int rows = 0;
        const auto shown = viewer.items();
        for (const skv_item& item : shown)
            if (item.kind == SKV_ITEM_TEXT && item.x > 30) ++rows;
        EXPECT_GE(rows, 5) << position;
    }
}

TEST_F(LargePackage, ContactsInAlphabeticalOrder) {
    Viewer viewer(package);
    viewer.command(SKV_CMD_BROWSE);
    skv_tap(viewer.ctx, 10, 20);
    viewer.command(SKV_CMD_SHOW_CONTACTS);
    std::vector<std::string> names;
    for (int page = 0; page < 200; ++page) {
        const auto shown = viewer.items();
        for (const skv_item& item : shown)
            if (item.kind == SKV_ITEM_TEXT) names.emplace_back(item.text, item.length);
        const skv_item* bar = nullptr;
        for (const skv_item& item : shown)
            if (item.kind == SKV_ITEM_SCROLLBAR) bar = &item;
        if (!bar || bar->value == bar->maximum) break;
        viewer.key(SKV_KEY_PAGE_DOWN);
    }
    ASSERT_GT(names.size(), 100u);
    for (std::size_t i = 1; i < names.size(); ++i) {
        std::string a = names[i - 1], b = names[i];
        for (auto& c : a) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        for (auto& c : b) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        // Names cut with "..." compare by what is shown.
        EXPECT_LE(a.substr(0, a.find(',')), b.substr(0, b.find(','))) << i;
    }
}

}  // namespace
}  // namespace skedlin::testing
