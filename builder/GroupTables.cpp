#include "builder/GroupTables.h"

#include "formats/Bytes.h"
#include "formats/LineEnds.h"
#include "builder/RecordLimits.h"

namespace skedlin {

void GroupTables::beginGroup(std::uint16_t firstEventId) {
    GroupEntry entry;
    entry.firstEventId = firstEventId;
    entry.firstContactIndex = static_cast<std::uint16_t>(contactIndexList_.size());
    groups_.push_back(entry);
}

void GroupTables::countEvent() { ++groups_.back().eventCount; }

bool GroupTables::addContact(std::uint16_t contactRecordId) {
    if (contactIndexList_.size() >= kMaxWordListEntries) return false;
    contactIndexList_.push_back(contactRecordId);
    ++groups_.back().contactCount;
    return true;
}

std::vector<std::uint16_t> GroupTables::column(std::uint16_t listId) const {
    std::vector<std::uint16_t> values;
    values.reserve(groups_.size());
    for (const GroupEntry& group : groups_) {
        switch (listId) {
        case builder::kWordListFirstEventIds: values.push_back(group.firstEventId); break;
        case builder::kWordListEventCounts: values.push_back(group.eventCount); break;
        case builder::kWordListFirstContactIndexes: values.push_back(group.firstContactIndex); break;
        case builder::kWordListContactCounts: values.push_back(group.contactCount); break;
        default: break;
        }
    }
    return values;
}

std::vector<std::uint16_t> GroupTables::pocketPcContactIndexList() const {
    if (contactIndexList_.empty()) return {0};
    return contactIndexList_;
}

std::optional<std::vector<std::uint8_t>> groupNameListBody(const std::vector<std::string>& names) {
    std::size_t size = 3;  // prefix terminator and count
    for (const std::string& name : names) size += name.size() + 1;
    if (size > kGroupNameListCapacity || names.size() > kMaxWordListEntries) return std::nullopt;
    bytes::Bytes out;
    out.reserve(size);
    bytes::ByteWriter(out).putText("");
    bytes::ByteWriter(out).put16be(static_cast<std::uint16_t>(names.size()));
    for (const std::string& name : names) bytes::ByteWriter(out).putText(name);
    return out;
}

}  // namespace skedlin
