#include "editor/ui/CSkedlinView.h"

#include <QContextMenuEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QtEndian>

#include <algorithm>

#include "editor/document/CSkedlinDoc.h"
#include "editor/document/DocumentMessages.h"
#include "editor/ui/BuildRunner.h"
#include "editor/ui/EntryListModel.h"
#include "editor/ui/FrameSettings.h"
#include "editor/ui/ImportCommand.h"
#include "editor/ui/ListItemDelegate.h"
#include "editor/ui/Sheets.h"
#include "editor/ui/UiText.h"

namespace skedlin {
namespace {

// Where the empty-list text is drawn, in viewport coordinates.
constexpr QPoint kEmptyTextPosition(50, 40);

QString sortSetting(ListMode mode) {
    return QString::fromUtf8(mode == ListMode::Events ? kEventSortSetting : kContactSortSetting);
}

QString sortDescendingSetting(ListMode mode) {
    return QString::fromUtf8(mode == ListMode::Events ? kEventSortDescendingSetting : kContactSortDescendingSetting);
}

QString columnOrderSetting(ListMode mode) {
    return QString::fromUtf8(mode == ListMode::Events ? kColumnOrderSetting : kContactColumnOrderSetting);
}

}  // namespace

CSkedlinView::CSkedlinView(QWidget* parent) : QTreeView(parent), model_(new EntryListModel(this)) {
    setModel(model_);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    header()->setSectionsClickable(true);
    header()->setSectionsMovable(true);
    // The last column takes the width left over, so long group names show.
    header()->setStretchLastSection(true);
    setItemDelegate(new ListItemDelegate(this));
    header()->setSortIndicatorShown(true);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(header(), &QHeaderView::sectionClicked, this, &CSkedlinView::sortByColumn);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &CSkedlinView::commandStateChanged);

    const QDateTime now = QDateTime::currentDateTime();
    rememberedDate_ = now.date();
    rememberedStartTime_ = QTime(now.time().hour(), 0);
}

CSkedlinView::~CSkedlinView() {
    if (columnsCreated_) saveColumnSettings();
}

void CSkedlinView::setDocument(CSkedlinDoc* document) {
    if (document_) disconnect(document_, nullptr, this, nullptr);
    document_ = document;
    model_->setDocument(document);
    if (document_) connect(document_, &CSkedlinDoc::updated, this, &CSkedlinView::fillList);
    documentReplaced();
}

void CSkedlinView::documentReplaced() { createColumns(); }

ListMode CSkedlinView::mode() const { return model_->mode(); }

void CSkedlinView::createColumns() {
    const ListMode currentMode = model_->mode();
    auto profile = openProfile();
    profile->beginGroup(QString::fromUtf8(kColumnsSection));
    const int sortColumn = profile->value(sortSetting(currentMode), 0).toInt();
    const bool descending = profile->value(sortDescendingSetting(currentMode), 0).toInt() != 0;
    model_->setMode(currentMode);  // drops every row and column
    model_->setSort(sortColumn, descending);
    const QList<ListColumn>& columns = listColumns(currentMode);
    for (int i = 0; i < columns.size(); ++i) {
        header()->moveSection(header()->visualIndex(i), i);
        const int width = profile->value(QString::fromUtf8(columns[i].widthSetting), columns[i].defaultWidth).toInt();
        setColumnWidth(i, width > 0 ? width : columns[i].defaultWidth);
    }
    applyColumnOrder(profile->value(columnOrderSetting(currentMode)).toByteArray());
    profile->endGroup();
    columnsCreated_ = true;
    fillList();
}

void CSkedlinView::applyColumnOrder(const QByteArray& order) {
    const int count = int(listColumns(model_->mode()).size());
    if (order.size() != count * 4) return;  // any other size is ignored
    QList<int> logical;
    for (int i = 0; i < count; ++i) {
        const int column = qFromLittleEndian<qint32>(order.constData() + i * 4);
        if (column < 0 || column >= count || logical.contains(column)) return;
        logical.append(column);
    }
    for (int visual = 0; visual < count; ++visual) {
        header()->moveSection(header()->visualIndex(logical[visual]), visual);
    }
}

QByteArray CSkedlinView::columnOrder() const {
    const int count = int(listColumns(model_->mode()).size());
    QByteArray order(count * 4, '\0');
    for (int visual = 0; visual < count; ++visual) {
        qToLittleEndian<qint32>(header()->logicalIndex(visual), order.data() + visual * 4);
    }
    return order;
}

void CSkedlinView::saveColumnSettings() {
    if (!columnsCreated_) return;
    const ListMode currentMode = model_->mode();
    auto profile = openProfile();
    profile->beginGroup(QString::fromUtf8(kColumnsSection));
    const QList<ListColumn>& columns = listColumns(currentMode);
    for (int i = 0; i < columns.size(); ++i) {
        profile->setValue(QString::fromUtf8(columns[i].widthSetting), columnWidth(i));
    }
    profile->setValue(sortSetting(currentMode), model_->sortColumn());
    profile->setValue(sortDescendingSetting(currentMode), model_->sortDescending() ? 1 : 0);
    profile->setValue(columnOrderSetting(currentMode), columnOrder());
    profile->endGroup();
}

void CSkedlinView::fillList() {
    const QList<int> selected = selectedEntries();
    const int currentEntry = model_->entryIndex(currentIndex().row());
    model_->rebuild();
    header()->setSortIndicator(model_->sortColumn(),
                               model_->sortDescending() ? Qt::DescendingOrder : Qt::AscendingOrder);
    // After a rebuild an entry index may name another entry (deletions close
    // gaps), so the old selection is restored only when the count is unchanged.
    if (!selected.isEmpty() && selected.size() <= model_->rowCount()) {
        selectEntries(selected);
        const int row = model_->rowOfEntry(currentEntry);
        if (row >= 0) selectionModel()->setCurrentIndex(model_->index(row, 0), QItemSelectionModel::NoUpdate);
    }
    viewport()->update();
    emit commandStateChanged();
}

void CSkedlinView::selectEntries(const QList<int>& entries) {
    QList<int> rows;
    rows.reserve(entries.size());
    for (int entry : entries) {
        const int row = model_->rowOfEntry(entry);
        if (row >= 0) rows.append(row);
    }
    std::sort(rows.begin(), rows.end());
    // One range per run of neighbouring rows: a selection of thousands of
    // single rows would make every later selection change slow.
    QItemSelection selection;
    const int lastColumn = model_->columnCount() - 1;
    for (qsizetype i = 0; i < rows.size();) {
        qsizetype j = i;
        while (j + 1 < rows.size() && rows[j + 1] <= rows[j] + 1) ++j;
        selection.append(QItemSelectionRange(model_->index(rows[i], 0), model_->index(rows[j], lastColumn)));
        i = j + 1;
    }
    // Cleared first: replacing thousands of ranges by thousands of others in
    // one call compares every old range with every new one.
    selectionModel()->clearSelection();
    selectionModel()->select(selection, QItemSelectionModel::Select);
    if (!rows.isEmpty()) {
        selectionModel()->setCurrentIndex(model_->index(rows.first(), 0), QItemSelectionModel::NoUpdate);
        scrollTo(model_->index(rows.first(), 0));
    }
}

void CSkedlinView::setFilterText(const QString& text) {
    const QList<int> selected = selectedEntries();
    model_->setFilterText(text);
    selectEntries(selected);
    viewport()->update();
    emit commandStateChanged();
}

void CSkedlinView::switchMode(ListMode newMode) {
    if (newMode == model_->mode()) return;
    saveColumnSettings();
    model_->setMode(newMode);
    createColumns();
}

void CSkedlinView::showEvents() { switchMode(ListMode::Events); }
void CSkedlinView::showContacts() { switchMode(ListMode::Contacts); }

// The selected rows, read from the selection's ranges: asking the selection
// model row by row costs a pass over every range for each row, which takes
// seconds once thousands of scattered rows are selected (after a paste).
QList<int> CSkedlinView::selectedRowNumbers() const {
    QList<int> rows;
    const QItemSelection selection = selectionModel()->selection();
    for (const QItemSelectionRange& range : selection) {
        for (int row = range.top(); row <= range.bottom(); ++row) rows.append(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

QList<int> CSkedlinView::selectedEntries() const {
    QList<int> entries;
    for (int row : selectedRowNumbers()) {
        const int entry = model_->entryIndex(row);
        if (entry >= 0) entries.append(entry);
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

int CSkedlinView::selectedCount() const { return int(selectedRowNumbers().size()); }

QString CSkedlinView::countText() const {
    const int count = model_->rowCount();
    if (count <= 0) return {};
    return QString::fromUtf8(isEventMode() ? uitext::kEventCount : uitext::kContactCount).arg(count);
}

bool CSkedlinView::canPaste() const { return isEventMode() ? !eventBuffer_.isEmpty() : !contactBuffer_.isEmpty(); }

void CSkedlinView::newItem() {
    if (!document_) return;
    if (isEventMode()) {
        EventEntry proposal;
        proposal.allDay = 1;
        if (!document_->groups().isEmpty()) proposal.groupName = document_->groups().first().name;
        proposal.date = DateTimeValue::fromDate(rememberedDate_);
        proposal.startTime = DateTimeValue::fromTime(rememberedStartTime_);
        // An hour after a late start would wrap round to the small hours, before
        // the start; the end stops at 23:55 then, as in the event sheet.
        const QTime latestEnd(23, 55);
        QTime end = rememberedStartTime_.addSecs(3600);
        if (end < rememberedStartTime_) end = rememberedStartTime_ < latestEnd ? latestEnd : rememberedStartTime_;
        proposal.endTime = DateTimeValue::fromTime(end);
        if (newEvent(*document_, proposal, window())) {
            if (proposal.date.isValid()) rememberedDate_ = proposal.date.date();
            if (proposal.startTime.isValid()) rememberedStartTime_ = proposal.startTime.time();
            fillList();
        }
    } else if (newContact(*document_, window())) {
        fillList();
    }
}

void CSkedlinView::openEntry(int entryIndex) {
    if (!document_ || entryIndex < 0) return;
    const bool confirmed =
        isEventMode() ? editEvent(*document_, entryIndex, window()) : editContact(*document_, entryIndex, window());
    if (confirmed) fillList();
}

void CSkedlinView::showDetails() {
    if (!canDetails()) return;
    openEntry(selectedEntries().value(0, -1));
}

void CSkedlinView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeView::mouseDoubleClickEvent(event);
    // The first selected item in list order, whatever the number selected.
    QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty()) return;
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    openEntry(model_->entryIndex(rows.first().row()));
}

void CSkedlinView::removeSelected() {
    const QList<int> entries = selectedEntries();
    if (entries.isEmpty() || !document_) return;
    clearSelection();
    if (isEventMode()) {
        document_->removeEvents(entries);
    } else {
        document_->removeContacts(entries);
    }
}

void CSkedlinView::deleteSelection() {
    if (!hasSelection()) return;
    const auto answer = QMessageBox::question(window(), QString::fromUtf8(uitext::kApplicationTitle),
                                              QString::fromUtf8(uitext::kDeleteQuestion),
                                              QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok);
    if (answer == QMessageBox::Ok) removeSelected();
}

void CSkedlinView::copy() {
    if (!document_ || !hasSelection()) return;
    const QList<int> entries = selectedEntries();
    if (isEventMode()) {
        eventBuffer_.clear();
        for (int entry : entries) eventBuffer_.append(document_->events()[entry]);
    } else {
        contactBuffer_.clear();
        for (int entry : entries) contactBuffer_.append(document_->contacts()[entry]);
    }
    emit commandStateChanged();
}

void CSkedlinView::cut() {
    if (!hasSelection() || !document_) return;
    copy();
    document_->beginStep(QString::fromUtf8(uitext::kCutStep));
    removeSelected();
    document_->endStep();
}

void CSkedlinView::paste() {
    if (!document_ || !canPaste()) return;
    // The copies are appended: they become the selection, not the originals.
    const int first = model_->entryCount();
    clearSelection();
    document_->beginStep(QString::fromUtf8(uitext::kPasteStep));
    if (isEventMode()) {
        document_->addEvents(eventBuffer_);
    } else {
        document_->addContacts(contactBuffer_);
    }
    document_->endStep();
    QList<int> pasted;
    for (int entry = first; entry < model_->entryCount(); ++entry) pasted.append(entry);
    selectEntries(pasted);
}

void CSkedlinView::selectAllItems() {
    selectAll();
    emit commandStateChanged();
}

void CSkedlinView::applyGroup(int groupIndex) {
    if (!document_ || groupIndex < 0 || groupIndex >= document_->groups().size()) return;
    const QList<int> entries = selectedEntries();
    if (entries.isEmpty()) return;
    if (isEventMode()) {
        document_->setGroupOfEvents(entries, groupIndex);
    } else if (document_->allContactsInGroup(entries, groupIndex)) {
        document_->removeContactsFromGroup(entries, groupIndex);
    } else {
        document_->addContactsToGroup(entries, groupIndex);
    }
}

int CSkedlinView::focusedEntry() const {
    const QList<int> selected = selectedEntries();
    if (selected.isEmpty()) return -1;
    const int current = model_->entryIndex(currentIndex().row());
    return selected.contains(current) ? current : selected.first();
}

void CSkedlinView::calendarProperties() {
    if (!document_) return;
    emit propertiesSheetShown(true);
    const bool confirmed = showCalendarProperties(*document_, window());
    emit propertiesSheetShown(false);
    if (confirmed) fillList();
}

void CSkedlinView::importFile() {
    if (!document_) return;
    QFileDialog dialog(window(), QString::fromUtf8(uitext::kImportCaption));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilter(QString::fromUtf8(uitext::kImportFilter));
    dialog.setDefaultSuffix(QString::fromUtf8(uitext::kImportDefaultSuffix));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    importPath(dialog.selectedFiles().first());
}

void CSkedlinView::importPath(const QString& path) {
    if (!document_) return;
    const ImportCounts counts = runImportCommand(*document_, path, window());
    if (!counts.imported) return;
    // Show the list that received the entries, so the user sees them.
    if (counts.contacts > 0 && counts.events == 0) showContacts();
    if (counts.events > 0 && counts.contacts == 0) showEvents();
    emit statusMessage(importSummary(counts, path));
}

void CSkedlinView::build() {
    if (!document_) return;
    // A package that was never saved has no file for the builder to read.
    if (document_->isModified() || document_->pathName().isEmpty()) {
        QMessageBox box(QMessageBox::Warning, QString::fromUtf8(uitext::kApplicationTitle),
                        QString::fromUtf8(messages::kSaveBeforeBuild), QMessageBox::Cancel, window());
        QPushButton* saveAndBuild = box.addButton(QString::fromUtf8(uitext::kSaveAndBuild), QMessageBox::AcceptRole);
        saveAndBuild->setObjectName(QStringLiteral("saveAndBuild"));
        box.setDefaultButton(saveAndBuild);
        box.exec();
        if (box.clickedButton() != saveAndBuild || !saveHandler_ || !saveHandler_()) return;
        if (document_->isModified() || document_->pathName().isEmpty()) return;
    }
    runBuildCommand(*document_, window());
}

void CSkedlinView::sortByColumn(int column) {
    if (column == model_->sortColumn()) {
        model_->setSort(column, !model_->sortDescending());
    } else {
        model_->setSort(column, false);
    }
    fillList();
}

void CSkedlinView::paintEvent(QPaintEvent* event) {
    QTreeView::paintEvent(event);
    if (model_->entryCount() > 0) return;
    QPainter painter(viewport());
    const QString text = QString::fromUtf8(isEventMode() ? uitext::kNoEvents : uitext::kNoContacts);
    const QFontMetrics metrics(font());
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(kEmptyTextPosition + QPoint(0, metrics.ascent()), text);
}

void CSkedlinView::contextMenuEvent(QContextMenuEvent* event) {
    if (contextMenu_) contextMenu_->exec(event->globalPos());
}

}  // namespace skedlin
