#pragma once
// The rows of the list: the events or the contacts of the document that match
// the find text, in the order of the current sort column. Each row maps to the
// index of its entry in the document; the model is reset from the document
// after every change, so those indexes stay valid.

#include <QAbstractTableModel>
#include <QIcon>
#include <QList>
#include <QPointer>

#include "editor/document/CSkedlinDoc.h"
#include "editor/ui/ListColumns.h"
#include "editor/ui/ListSorting.h"

namespace skedlin {

class EntryListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit EntryListModel(QObject* parent = nullptr);

    void setDocument(const CSkedlinDoc* document);
    ListMode mode() const { return mode_; }
    void setMode(ListMode mode);
    int sortColumn() const { return sortColumn_; }
    bool sortDescending() const { return sortDescending_; }
    void setSort(int column, bool descending);
    // Refills every row from the document and sorts.
    void rebuild();
    // Shows only the entries whose texts contain `text` (case and accents
    // ignored); an empty text shows every entry. Re-sorts nothing.
    void setFilterText(const QString& text);
    QString filterText() const { return filterText_; }

    // The entry index of a row, or -1 outside the list.
    int entryIndex(int row) const;
    // The row showing an entry, or -1.
    int rowOfEntry(int entryIndex) const;
    // Number of entries of the current mode in the document.
    int entryCount() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Background of odd rows (the second, fourth, ...).
    static QColor shadedRowColor();

private:
    QString cellText(int entry, int column) const;
    void applyFilter();

    // Which column shows the repeat marker and the repeat in words.
    static constexpr int kRepeatMarkerColumn = kEventColumnTitle;

    QPointer<const CSkedlinDoc> document_;
    ListMode mode_ = ListMode::Events;
    int sortColumn_ = 0;
    bool sortDescending_ = false;
    QList<int> sortedEntries_;  // every entry, in sort order
    QList<int> rowToEntry_;     // the shown ones
    QList<int> entryToRow_;     // -1 for an entry not shown
    QIcon repeatIcon_;
    QString filterText_;
    QString foldedFilter_;
    // Folded search text of each entry; rebuilt on the first filter after a change.
    QList<QString> searchTexts_;
    bool searchTextsValid_ = false;
};

}  // namespace skedlin
