#pragma once
// The undo history's building blocks: each change knows how to take itself
// back and how to make itself again. A change keeps only the entries it
// touched and where they stood, never a copy of the whole document, so that
// deleting and restoring tens of thousands of events stays cheap.

#include <QList>
#include <QString>

#include <memory>
#include <vector>

#include "editor/document/PackageEntries.h"

namespace skedlin {

class CSkedlinDoc;

class DocumentChange {
public:
    virtual ~DocumentChange() = default;
    virtual void undo(CSkedlinDoc& document) = 0;
    virtual void redo(CSkedlinDoc& document) = 0;
};

// One user command: undone and redone as a whole.
struct UndoStep {
    QString name;
    // Undone together with the step before it and redone after it: the sort
    // that saving does belongs to the command that came before the save.
    bool followsPrevious = false;
    // A confirmed dialog counts as a change even when nothing differs.
    bool countsWhenEmpty = false;
    std::vector<std::unique_ptr<DocumentChange>> changes;
};

// The package properties, as the properties sheet edits them.
struct PackageProperties {
    std::int32_t navigationLevel = kNavigationEvents;
    QString appFileName;
    QString title;
    QString launcherName;
    ImageList launcherIcons;
    QString welcomeText;
    QString infoText;
    ImageList logoImages;
    bool operator==(const PackageProperties&) const = default;
};

enum class EntryList { Events, Contacts };

// Entries that were inserted at, removed from or replaced at the given
// positions (ascending; for an insertion, the positions after it).
template <typename Entry>
class EntriesChange : public DocumentChange {
public:
    enum class Kind { Inserted, Removed, Replaced };
    EntriesChange(Kind kind, QList<int> positions, QList<Entry> before, QList<Entry> after)
        : kind_(kind), positions_(std::move(positions)), before_(std::move(before)), after_(std::move(after)) {}
    void undo(CSkedlinDoc& document) override;
    void redo(CSkedlinDoc& document) override;

private:
    Kind kind_;
    QList<int> positions_;
    QList<Entry> before_;
    QList<Entry> after_;
};

class GroupsChange : public DocumentChange {
public:
    GroupsChange(QList<GroupEntry> before, QList<GroupEntry> after)
        : before_(std::move(before)), after_(std::move(after)) {}
    void undo(CSkedlinDoc& document) override;
    void redo(CSkedlinDoc& document) override;

private:
    QList<GroupEntry> before_;
    QList<GroupEntry> after_;
};

class PropertiesChange : public DocumentChange {
public:
    PropertiesChange(PackageProperties before, PackageProperties after)
        : before_(std::move(before)), after_(std::move(after)) {}
    void undo(CSkedlinDoc& document) override;
    void redo(CSkedlinDoc& document) override;

private:
    PackageProperties before_;
    PackageProperties after_;
};

// A reordering of the lists: entry i of the new list is entry order[i] of
// the old one. An empty order leaves its list alone.
class OrderChange : public DocumentChange {
public:
    OrderChange(QList<int> eventOrder, QList<int> contactOrder, QList<int> groupOrder)
        : eventOrder_(std::move(eventOrder)),
          contactOrder_(std::move(contactOrder)),
          groupOrder_(std::move(groupOrder)) {}
    void undo(CSkedlinDoc& document) override;
    void redo(CSkedlinDoc& document) override;

private:
    QList<int> eventOrder_;
    QList<int> contactOrder_;
    QList<int> groupOrder_;
};

// List surgery in one pass each, used by the document and by the changes.
// Removes the entries at the ascending positions and returns them in order.
template <typename T>
QList<T> takePositions(QList<T>& list, const QList<int>& positions) {
    QList<T> taken;
    taken.reserve(positions.size());
    QList<T> kept;
    kept.reserve(list.size() - positions.size());
    qsizetype next = 0;
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (next < positions.size() && positions[next] == i) {
            taken.append(std::move(list[i]));
            ++next;
        } else {
            kept.append(std::move(list[i]));
        }
    }
    list = std::move(kept);
    return taken;
}

// Inserts entries so that entry k ends up at positions[k] (ascending).
template <typename T>
void insertAtPositions(QList<T>& list, const QList<int>& positions, const QList<T>& entries) {
    QList<T> merged;
    merged.reserve(list.size() + entries.size());
    qsizetype next = 0;
    qsizetype old = 0;
    const qsizetype total = list.size() + entries.size();
    for (qsizetype i = 0; i < total; ++i) {
        if (next < positions.size() && positions[next] == i) {
            merged.append(entries[next++]);
        } else if (old < list.size()) {
            merged.append(std::move(list[old++]));
        }
    }
    list = std::move(merged);
}

template <typename T>
QList<T> reordered(QList<T>& list, const QList<int>& order) {
    QList<T> result;
    result.reserve(order.size());
    for (int from : order) result.append(std::move(list[from]));
    return result;
}

template <typename T>
QList<T> restoredOrder(QList<T>& list, const QList<int>& order) {
    QList<T> result(list.size());
    for (qsizetype i = 0; i < order.size(); ++i) result[order[i]] = std::move(list[i]);
    return result;
}

}  // namespace skedlin
