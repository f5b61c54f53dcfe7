#include "editor/ui/EntryListModel.h"

#include <QColor>
#include <QIcon>
#include <QLocale>
#include <QRegularExpression>

#include "editor/document/CSkedlinDoc.h"
#include "editor/ui/ListFilter.h"
#include "editor/ui/RepeatText.h"
#include "editor/ui/UiText.h"

namespace skedlin {
namespace {

// The locale's short time format without its seconds: some locales (the C
// locale among them) put seconds into the short format.
QString timeFormatWithoutSeconds() {
    QString format = QLocale().timeFormat(QLocale::ShortFormat);
    static const QRegularExpression seconds(QStringLiteral("[:.]?s+"));
    format.remove(seconds);
    return format.trimmed();
}

QString formatTime(const EventEntry& event, const DateTimeValue& time) {
    if (event.allDay) return QString::fromUtf8(uitext::kAllDayTime);
    return QLocale().toString(time.time(), timeFormatWithoutSeconds());
}

}  // namespace

EntryListModel::EntryListModel(QObject* parent)
    : QAbstractTableModel(parent), repeatIcon_(QStringLiteral(":/icons/repeat.svg")) {}

void EntryListModel::setDocument(const CSkedlinDoc* document) {
    document_ = document;
    rebuild();
}

void EntryListModel::setMode(ListMode mode) {
    beginResetModel();
    mode_ = mode;
    sortedEntries_.clear();
    rowToEntry_.clear();
    entryToRow_.clear();
    searchTextsValid_ = false;
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
        sortedEntries_.clear();
    } else if (mode_ == ListMode::Events) {
        sortedEntries_ = sortedEventOrder(document_->events(), sortColumn_, sortDescending_);
    } else {
        sortedEntries_ = sortedContactOrder(document_->contacts(), sortColumn_, sortDescending_);
    }
    searchTextsValid_ = false;
    applyFilter();
    endResetModel();
}

void EntryListModel::setFilterText(const QString& text) {
    if (text == filterText_) return;
    beginResetModel();
    filterText_ = text;
    foldedFilter_ = foldForSearch(text);
    applyFilter();
    endResetModel();
}

void EntryListModel::applyFilter() {
    if (foldedFilter_.isEmpty() || !document_) {
        rowToEntry_ = sortedEntries_;
    } else {
        if (!searchTextsValid_) {
            searchTexts_.clear();
            if (mode_ == ListMode::Events) {
                searchTexts_.reserve(document_->events().size());
                for (const EventEntry& event : document_->events()) searchTexts_.append(eventSearchText(event));
            } else {
                searchTexts_.reserve(document_->contacts().size());
                for (const ContactEntry& contact : document_->contacts())
                    searchTexts_.append(contactSearchText(contact));
            }
            searchTextsValid_ = true;
        }
        rowToEntry_.clear();
        for (int entry : std::as_const(sortedEntries_)) {
            if (searchTexts_.value(entry).contains(foldedFilter_)) rowToEntry_.append(entry);
        }
    }
    entryToRow_.fill(-1, entryCount());
    for (qsizetype row = 0; row < rowToEntry_.size(); ++row) {
        const int entry = rowToEntry_[row];
        if (entry >= 0 && entry < entryToRow_.size()) entryToRow_[entry] = int(row);
    }
}

int EntryListModel::entryIndex(int row) const { return row >= 0 && row < rowToEntry_.size() ? rowToEntry_[row] : -1; }

int EntryListModel::rowOfEntry(int entryIndex) const {
    return entryIndex >= 0 && entryIndex < entryToRow_.size() ? entryToRow_[entryIndex] : -1;
}

int EntryListModel::entryCount() const {
    if (!document_) return 0;
    return int(mode_ == ListMode::Events ? document_->events().size() : document_->contacts().size());
}

int EntryListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(rowToEntry_.size()); }

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
    case Qt::DecorationRole:
    case Qt::ToolTipRole: {
        if (mode_ != ListMode::Events || index.column() != kRepeatMarkerColumn || !document_) return {};
        const int entry = rowToEntry_[index.row()];
        if (entry < 0 || entry >= document_->events().size()) return {};
        const EventEntry& event = document_->events()[entry];
        if (event.repeatType < kRepeatDaily || event.repeatType > kRepeatYearly) return {};
        if (role == Qt::ToolTipRole) return repeatDescription(event);
        return repeatIcon_;
    }
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
