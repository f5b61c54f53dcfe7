#pragma once
// The group tables: for each group, where its events and its contacts start and
// how many there are, and the contact index list that all groups share. The
// viewers read them as the word lists 4000 to 4004.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "builder/ResourceIds.h"

namespace skedlin {

struct GroupEntry {
    std::uint16_t firstEventId = 0;
    std::uint16_t eventCount = 0;
    std::uint16_t firstContactIndex = 0;
    std::uint16_t contactCount = 0;
};

class GroupTables {
public:
    // Opens the next group; its events start at firstEventId and its contacts
    // at the current end of the contact index list.
    void beginGroup(std::uint16_t firstEventId);
    void countEvent();
    // false when the shared list is full (its count and indexes are 16 bits).
    bool addContact(std::uint16_t contactRecordId);

    const std::vector<GroupEntry>& groups() const { return groups_; }
    const std::vector<std::uint16_t>& contactIndexList() const { return contactIndexList_; }

    // The values of one of the word lists 4000 to 4003 (builder::kWordListFirstEventIds ...).
    std::vector<std::uint16_t> column(std::uint16_t listId) const;
    // Word list 4004 as each viewer wants it: the Pocket PC viewer cannot take
    // an empty list and gets a single 0 instead.
    std::vector<std::uint16_t> palmContactIndexList() const { return contactIndexList_; }
    std::vector<std::uint16_t> pocketPcContactIndexList() const;

private:
    std::vector<GroupEntry> groups_;
    std::vector<std::uint16_t> contactIndexList_;
};

// Body of the group-name string list (`tSTL`): an empty prefix text, the count
// big-endian, then each name with its zero byte. nullopt when it would pass
// kGroupNameListCapacity.
std::optional<std::vector<std::uint8_t>> groupNameListBody(const std::vector<std::string>& names);

}  // namespace skedlin
