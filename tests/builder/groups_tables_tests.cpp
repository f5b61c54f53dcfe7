// Group tables and the group-name list as the viewers read them.

#include "builder/GroupTables.h"
#include "contacts_events_decoders.h"

#include <gtest/gtest.h>

namespace skedlin {
namespace {

TEST(GroupTables, GroupsRecordWhereTheirEventsAndContactsStart) {
    GroupTables tables;
    tables.beginGroup(7000);
    for (int i = 0; i < 4; ++i) tables.countEvent();
    tables.addContact(6001);
    tables.addContact(6000);
    tables.beginGroup(7004);  // no events, no contacts
    tables.beginGroup(7004);
    tables.countEvent();
    tables.addContact(6001);

    using V = std::vector<std::uint16_t>;
    EXPECT_EQ(tables.column(builder::kWordListFirstEventIds), (V{7000, 7004, 7004}));
    EXPECT_EQ(tables.column(builder::kWordListEventCounts), (V{4, 0, 1}));
    EXPECT_EQ(tables.column(builder::kWordListFirstContactIndexes), (V{0, 2, 2}));
    EXPECT_EQ(tables.column(builder::kWordListContactCounts), (V{2, 0, 1}));
    EXPECT_EQ(tables.palmContactIndexList(), (V{6001, 6000, 6001}));
    EXPECT_EQ(tables.pocketPcContactIndexList(), (V{6001, 6000, 6001}));
}

TEST(GroupTables, AnEmptyContactIndexListDiffersPerTarget) {
    GroupTables tables;
    tables.beginGroup(7000);
    EXPECT_TRUE(tables.palmContactIndexList().empty());
    EXPECT_EQ(tables.pocketPcContactIndexList(), (std::vector<std::uint16_t>{0}));
    EXPECT_TRUE(GroupTables{}.column(builder::kWordListEventCounts).empty());
}

TEST(GroupTables, TheSharedContactListStopsAt16BitCounts) {
    GroupTables tables;
    tables.beginGroup(7000);
    for (std::size_t i = 0; i < 0xFFFF; ++i) ASSERT_TRUE(tables.addContact(6000));
    EXPECT_FALSE(tables.addContact(6000));
    EXPECT_EQ(tables.column(builder::kWordListContactCounts), (std::vector<std::uint16_t>{0xFFFF}));
}

TEST(GroupNameList, PrefixCountAndNames) {
    const auto body = groupNameListBody({"Talks", "", "Workshops"});
    ASSERT_TRUE(body);
    EXPECT_EQ(testing::decodeStringList(*body), (std::vector<std::string>{"Talks", "", "Workshops"}));
    EXPECT_EQ(*groupNameListBody({}), (std::vector<std::uint8_t>{0, 0, 0}));
}

TEST(GroupNameList, LongerThan30000BytesIsRefused) {
    EXPECT_EQ(groupNameListBody({std::string(30000 - 4, 'g')})->size(), 30000u);
    EXPECT_FALSE(groupNameListBody({std::string(30000 - 3, 'g')}));
}

}  // namespace
}  // namespace skedlin
