#include "editor/document/DocumentChanges.h"

#include "editor/document/CSkedlinDoc.h"

namespace skedlin {

// The only way in to the document's lists besides its own operations.
struct DocumentChangeAccess {
    static QList<EventEntry>& list(CSkedlinDoc& document, const EventEntry*) { return document.events_; }
    static QList<ContactEntry>& list(CSkedlinDoc& document, const ContactEntry*) { return document.contacts_; }
    static QList<GroupEntry>& groups(CSkedlinDoc& document) { return document.groups_; }
    static void setProperties(CSkedlinDoc& document, const PackageProperties& properties) {
        document.applyProperties(properties);
    }
};

namespace {

template <typename Entry>
QList<Entry>& entryList(CSkedlinDoc& document) {
    return DocumentChangeAccess::list(document, static_cast<const Entry*>(nullptr));
}

template <typename Entry>
void assignAt(QList<Entry>& list, const QList<int>& positions, const QList<Entry>& entries) {
    for (qsizetype k = 0; k < positions.size(); ++k) list[positions[k]] = entries[k];
}

}  // namespace

template <typename Entry>
void EntriesChange<Entry>::undo(CSkedlinDoc& document) {
    QList<Entry>& list = entryList<Entry>(document);
    switch (kind_) {
    case Kind::Inserted: takePositions(list, positions_); break;
    case Kind::Removed: insertAtPositions(list, positions_, before_); break;
    case Kind::Replaced: assignAt(list, positions_, before_); break;
    }
}

template <typename Entry>
void EntriesChange<Entry>::redo(CSkedlinDoc& document) {
    QList<Entry>& list = entryList<Entry>(document);
    switch (kind_) {
    case Kind::Inserted: insertAtPositions(list, positions_, after_); break;
    case Kind::Removed: takePositions(list, positions_); break;
    case Kind::Replaced: assignAt(list, positions_, after_); break;
    }
}

template class EntriesChange<EventEntry>;
template class EntriesChange<ContactEntry>;

void GroupsChange::undo(CSkedlinDoc& document) { DocumentChangeAccess::groups(document) = before_; }
void GroupsChange::redo(CSkedlinDoc& document) { DocumentChangeAccess::groups(document) = after_; }

void PropertiesChange::undo(CSkedlinDoc& document) { DocumentChangeAccess::setProperties(document, before_); }
void PropertiesChange::redo(CSkedlinDoc& document) { DocumentChangeAccess::setProperties(document, after_); }

void OrderChange::undo(CSkedlinDoc& document) {
    auto& events = entryList<EventEntry>(document);
    auto& contacts = entryList<ContactEntry>(document);
    auto& groups = DocumentChangeAccess::groups(document);
    if (!eventOrder_.isEmpty()) events = restoredOrder(events, eventOrder_);
    if (!contactOrder_.isEmpty()) contacts = restoredOrder(contacts, contactOrder_);
    if (!groupOrder_.isEmpty()) groups = restoredOrder(groups, groupOrder_);
}

void OrderChange::redo(CSkedlinDoc& document) {
    auto& events = entryList<EventEntry>(document);
    auto& contacts = entryList<ContactEntry>(document);
    auto& groups = DocumentChangeAccess::groups(document);
    if (!eventOrder_.isEmpty()) events = reordered(events, eventOrder_);
    if (!contactOrder_.isEmpty()) contacts = reordered(contacts, contactOrder_);
    if (!groupOrder_.isEmpty()) groups = reordered(groups, groupOrder_);
}

}  // namespace skedlin
