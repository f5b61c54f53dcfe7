#include "builder/GroupsReader.h"

#include "builder/EventsReader.h"
#include "builder/RecordLimits.h"
#include "builder/RecordMessages.h"
#include "builder/RecordText.h"
#include "builder/ResourceIds.h"

namespace skedlin::builder {
namespace {

constexpr std::string_view kNameAttribute = "name";
constexpr std::string_view kDescriptionElement = "group-description";
constexpr std::string_view kEventsElement = "events";
constexpr std::string_view kEventElement = "event";

std::size_t countEvents(const xml::Element& group) {
    std::size_t count = 0;
    if (const xml::Element events = group.firstChild(kEventsElement)) {
        for (xml::Element child = events.firstChildElement(); child; child = child.nextSiblingElement()) {
            if (child.name() == kEventElement) ++count;
        }
    }
    return count;
}

// Group counts, event ids and the group-name list must fit their 16-bit ids
// and fixed buffers; checked before anything of the groups is stored.
BuildResult checkGroupLimits(PackageBuilder& builder, const xml::Element& groups) {
    std::size_t groupCount = 0;
    std::size_t eventCount = 0;
    for (xml::Element group = groups.firstChildElement(); group; group = group.nextSiblingElement()) {
        ++groupCount;
        eventCount += countEvents(group);
    }
    if (groupCount > kMaxGroups) {
        return BuildResult(kExitRecordLimit, tooManyMessage("groups", groupCount, kMaxGroups));
    }
    const std::size_t maxEvents = kLastEventId - builder.nextEventId() + 1;
    if (eventCount > maxEvents) {
        return BuildResult(kExitRecordLimit, tooManyMessage("events", eventCount, maxEvents));
    }
    return BuildResult::success();
}

void writeGroupNames(PackageBuilder& builder, const std::vector<std::string>& names) { builder.setGroupNames(names); }

void writeGroupTables(PackageBuilder& builder) {
    const GroupTables& tables = builder.groupTables();
    for (std::uint16_t id :
         {kWordListFirstEventIds, kWordListEventCounts, kWordListFirstContactIndexes, kWordListContactCounts}) {
        builder.setWordList(id, tables.column(id));
    }
    // The Pocket PC viewer cannot take an empty list; the Palm viewer can.
    builder.setContactIndexLists(tables.palmContactIndexList(), tables.pocketPcContactIndexList());
}

}  // namespace

BuildResult readGroups(PackageBuilder& builder, const xml::Element& groups) {
    if (BuildResult result = checkGroupLimits(builder, groups); !result.ok()) return result;

    // First pass: names and descriptions. Every child is a group, whatever its name.
    std::vector<std::string> names;
    std::vector<std::string> owners;
    std::size_t nameListBytes = 3;  // empty prefix text and count
    for (xml::Element group = groups.firstChildElement(); group; group = group.nextSiblingElement()) {
        const auto name = group.attribute(kNameAttribute);
        if (!name) return PackageBuilder::missingAttribute(kNameAttribute, group);
        const std::string owner = groupName(PackageBuilder::ansi(*name));
        const auto description = recordChildText(builder, group, kDescriptionElement, owner);
        if (!description) return PackageBuilder::missingElement(kDescriptionElement, group);
        names.push_back(recordText(builder, *name, "the name", owner));
        nameListBytes += names.back().size() + 1;
        if (nameListBytes > kGroupNameListCapacity) {
            return BuildResult(kExitRecordLimit, groupNamesTooLongMessage(owner, kGroupNameListCapacity));
        }
        builder.setString(static_cast<std::uint16_t>(kStringFirstGroupDescription + owners.size()), *description);
        owners.push_back(owner);
    }

    // Second pass: each group's events and contact ids, in document order.
    std::size_t index = 0;
    for (xml::Element group = groups.firstChildElement(); group; group = group.nextSiblingElement(), ++index) {
        if (BuildResult result = readGroupEventsAndContacts(builder, group, owners[index]); !result.ok()) return result;
    }

    writeGroupNames(builder, names);
    writeGroupTables(builder);
    return BuildResult::success();
}

}  // namespace skedlin::builder
