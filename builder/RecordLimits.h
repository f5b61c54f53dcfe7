#pragma once
// Sizes and id ranges that bound the records of contacts, events and groups.

#include <cstddef>
#include <cstdint>

#include "builder/ResourceIds.h"
#include "builder/palm/PalmResourceDatabase.h"
#include "builder/palm/ResourceWriter.h"

namespace skedlin {

// A Palm record is assembled in the resource writer's fixed buffer.
inline constexpr std::size_t kPalmRecordCapacity = palm::ResourceWriter::kDefaultCapacity;
// The Pocket PC viewer reads a contact or event record into a buffer of this size.
inline constexpr std::size_t kPocketPcRecordCapacity = 50000;
// The body of the group-name string list.
inline constexpr std::size_t kGroupNameListCapacity = palm::kStringListCapacity;

// Contacts take the record ids from 6000, events from 7000; both share the
// Pocket PC RCDATA id space, so contacts must stay below the first event id.
inline constexpr std::size_t kMaxContacts = builder::kFirstEventId - builder::kFirstContactRecordId;
inline constexpr std::uint32_t kLastEventId = 0xFFFF;

// Group descriptions are strings 5000 + i and Pocket PC group names strings
// 6000 + i in the same string table, so at most 1000 groups keep them apart.
inline constexpr std::size_t kMaxGroups = builder::kStringFirstGroupName - builder::kStringFirstGroupDescription;

// Every group table entry and list count is a 16-bit number.
inline constexpr std::size_t kMaxWordListEntries = 0xFFFF;

}  // namespace skedlin
