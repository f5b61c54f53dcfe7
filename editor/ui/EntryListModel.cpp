#include "editor/ui/EntryListModel.h"

#include <QColor>
#include <QLocale>

#include "editor/document/CSkedlinDoc.h"
#include "editor/ui/ListSorting.h"
#include "editor/ui/UiText.h"

namespace skedlin {
namespace {

QString formatTime(const EventEntry& event, const DateTimeValue& time) {
    if (event.allDay) return QString::fromUtf8(uitext::kAllDayTime);
    return QLocale().toString(time.time(), QLocale::ShortFormat);
}

}  // namespace

EntryListModel::EntryListModel(QObject* parent) : QAbstractTableModel(parent) {}

void EntryListModel::setDocument(const CSkedlinDoc* document) {
    document_ = document;
    rebuild();
}

void EntryListModel::setMode(ListMode mode) {
    beginResetModel();
    mode_ = mode;
    rowToEntry_.clear();
    endResetModel();
}

void EntryListModel::setSort(int column, bool descending) {
    const int columnCount = int(listColumns(mode_).size());
    sortColumn_ = column >= 0 && column < columnCount ? column : 0;
    sortDescending_ = descending;
}

void EntryListModel::rebuild() {
    beginResetModel();
    if (!document_) {
        rowToEntry_.clear();
    } else if (mode_ == ListMode::Events) {
        rowToEntry_ = sortedEventOrder(document_->events(), sortColumn_, sortDescending_);
    } else {
        rowToEntry_ = sortedContactOrder(document_->contacts(), sortColumn_, sortDescending_);
    }
    endResetModel();
}

int EntryListModel::entryIndex(int row) const {
    return row >= 0 && row < rowToEntry_.size() ? rowToEntry_[row] : -1;
}

int EntryListModel::rowOfEntry(int entryIndex) const {
    return int(rowToEntry_.indexOf(entryIndex));
}

int EntryListModel::entryCount() const {
    if (!document_) return 0;
    return int(mode_ == ListMode::Events ? document_->events().size() : document_->contacts().size());
}

int EntryListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rowToEntry_.size());
}

int EntryListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(listColumns(mode_).size());
}

QColor EntryListModel::shadedRowColor() { return QColor(240, 240, 240); }

QVariant EntryListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowToEntry_.size() || index.column() >= columnCount()) return {};
    switch (role) {
    case Qt::DisplayRole: return cellText(rowToEntry_[index.row()], index.column());
    case Qt::TextAlignmentRole: return QVariant::fromValue(listColumns(mode_)[index.column()].alignment);
    case Qt::BackgroundRole:
        if (index.row() % 2 == 1) return shadedRowColor();
        return {};
    default: return {};
    }
}

QVariant EntryListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
    const ListColumn& column = listColumns(mode_)[section];
    if (role == Qt::DisplayRole) return QString::fromUtf8(column.heading);
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(column.alignment);
    return {};
}

QString EntryListModel::cellText(int entry, int column) const {
    if (!document_) return {};
    if (mode_ == ListMode::Events) {
        if (entry < 0 || entry >= document_->events().size()) return {};
        const EventEntry& event = document_->events()[entry];
        switch (column) {
        case kEventColumnDate:
            return event.date.isZero() ? QString() : QLocale().toString(event.date.date(), QLocale::ShortFormat);
        case kEventColumnStartTime: return formatTime(event, event.startTime);
        case kEventColumnEndTime: return formatTime(event, event.endTime);
        case kEventColumnTitle: return event.title;
        case kEventColumnGroup: return event.groupName;
        default: return {};
        }
    }
    if (entry < 0 || entry >= document_->contacts().size()) return {};
    const ContactEntry& contact = document_->contacts()[entry];
    switch (column) {
    case kContactColumnLastName: return contact.lastName;
    case kContactColumnFirstName: return contact.firstName;
    case kContactColumnCompany: return contact.company;
    case kContactColumnGroups: return joinedGroupNames(contact);
    default: return {};
    }
}

}  // namespace skedlin
