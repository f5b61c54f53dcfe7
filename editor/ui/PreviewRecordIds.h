#pragma once
// The resource ids the builder gives a document's events and contacts, so the
// preview can open the record of the entry selected in the list. The builder
// numbers records in the order of the package file: contacts in list order
// from the first contact id, events group by group (in the order the writer
// writes the groups) from the first event id.

#include <QList>

namespace skedlin {

class CSkedlinDoc;

struct PreviewRecordIds {
    QList<int> events;    // per event index: its record id, or -1 when the event is not written
    QList<int> contacts;  // per contact index: its record id
};

PreviewRecordIds previewRecordIds(const CSkedlinDoc& document);

}  // namespace skedlin
