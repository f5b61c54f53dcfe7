#include "builder/GroupsReader.h"

#include "builder/ResourceIds.h"

namespace skedlin::builder {

// Minimal body: group names, descriptions and group tables without events or
// contacts. Events and contact ids are read in a later issue (Parts 2.3, 2.4).
int readGroups(PackageBuilder& builder, const xml::Element& groups) {
    std::vector<std::string> names;
    for (xml::Element group = groups.firstChildElement(); group; group = group.nextSiblingElement()) {
        std::string name;
        if (int code = builder.requireAttribute(group, "name", name)) return code;
        std::string description;
        if (int code = builder.requireChildText(group, "group-description", description)) return code;
        builder.setString(static_cast<std::uint16_t>(kStringFirstGroupDescription + names.size()), description);
        names.push_back(std::move(name));
        builder.groupTables.beginGroup(builder.eventIdCounter);
    }
    builder.palmDatabase().addStringList(kStringListGroupNames, names);
    if (PocketPcTarget* pocketPc = builder.pocketPc()) {
        for (std::size_t i = 0; i < names.size(); ++i) {
            pocketPc->addString(static_cast<std::uint16_t>(kStringFirstGroupName + i), names[i]);
        }
    }
    for (std::uint16_t id : {kWordListFirstEventIds, kWordListEventCounts, kWordListFirstContactIndexes,
                             kWordListContactCounts}) {
        builder.setWordList(id, builder.groupTables.column(id));
    }
    builder.palmDatabase().addWordList(kWordListContactIndexList, builder.groupTables.palmContactIndexList());
    if (PocketPcTarget* pocketPc = builder.pocketPc()) {
        pocketPc->addWordList(kWordListContactIndexList, builder.groupTables.pocketPcContactIndexList());
    }
    return kExitSuccess;
}

}  // namespace skedlin::builder
