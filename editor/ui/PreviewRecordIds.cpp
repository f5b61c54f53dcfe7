#include "editor/ui/PreviewRecordIds.h"

#include <QHash>

#include "editor/document/CSkedlinDoc.h"
#include "viewer/core/skv_core.h"

namespace skedlin {

PreviewRecordIds previewRecordIds(const CSkedlinDoc& document) {
    PreviewRecordIds ids;
    for (int c = 0; c < document.contacts().size(); ++c) ids.contacts.append(SKV_ID_FIRST_CONTACT + c);

    // The events of each group name in list order, as the writer gathers them.
    QHash<QString, QList<int>> eventsOfGroup;
    const QList<EventEntry>& events = document.events();
    for (int e = 0; e < events.size(); ++e) eventsOfGroup[events[e].groupName].append(e);

    ids.events = QList<int>(events.size(), -1);
    int next = SKV_ID_FIRST_EVENT;
    const QList<GroupEntry>& groups = document.groups();
    for (int g = 0; g < groups.size(); ++g) {
        // A second group of the same name is not written.
        if (document.groupIndex(groups[g].name) != g) continue;
        for (int e : eventsOfGroup.value(groups[g].name)) ids.events[e] = next++;
    }
    return ids;
}

}  // namespace skedlin
