#include "editor/ui/CGroupsPage.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/ui/CGroupDetailsDlg.h"
#include "editor/ui/SheetMessages.h"
#include "editor/ui/SheetText.h"
#include "editor/ui/SortedLists.h"

namespace skedlin {

namespace {
// Each list item carries the index of its group in the working list.
constexpr int kGroupIndexRole = Qt::UserRole;
}  // namespace

CGroupsPage::CGroupsPage(const QList<GroupEntry>& groups, QWidget* parent)
    : CSheetPage(sheettext::kGroupsPage, kGroupsPageHelp, parent), groups_(groups) {
    for (const GroupEntry& group : groups) committedNames_ << group.name;
    auto* layout = new QVBoxLayout(this);
    auto* note = new QLabel(sheettext::kGroupsExplanation, this);
    note->setWordWrap(true);
    layout->addWidget(note);
    auto* row = new QHBoxLayout;
    list_ = new QListWidget(this);
    row->addWidget(list_, 1);
    auto* buttons = new QVBoxLayout;
    auto* addButton = new QPushButton(sheettext::kAddGroupButton, this);
    auto* editButton = new QPushButton(sheettext::kEditGroupButton, this);
    auto* removeButton = new QPushButton(sheettext::kRemoveGroupButton, this);
    buttons->addWidget(addButton);
    buttons->addWidget(editButton);
    buttons->addWidget(removeButton);
    buttons->addStretch(1);
    row->addLayout(buttons);
    layout->addLayout(row, 1);
    connect(addButton, &QPushButton::clicked, this, &CGroupsPage::addGroup);
    connect(editButton, &QPushButton::clicked, this, &CGroupsPage::editSelectedGroup);
    connect(removeButton, &QPushButton::clicked, this, &CGroupsPage::removeSelectedGroup);
    connect(list_, &QListWidget::itemDoubleClicked, this, &CGroupsPage::editSelectedGroup);
    refillList(-1);
}

QStringList CGroupsPage::removedGroupNames() const {
    QStringList names;
    for (const GroupEntry& group : removed_) names << group.name;
    return names;
}

QStringList CGroupsPage::namesExcept(int index) const {
    // A name of the document's groups stays taken for the whole run, even once
    // its group is renamed or removed here; the names the other groups have on
    // this page are taken too, so no two groups end up with one name.
    QStringList names = committedNames_;
    for (int i = 0; i < groups_.size(); ++i)
        if (i != index) names << groups_[i].name;
    return names;
}

void CGroupsPage::dropRemoved(const QString& name) {
    // A group given back its name takes over the events and contacts the
    // removed one had, instead of sending them to the first group.
    for (int i = 0; i < removed_.size(); ++i) {
        if (removed_[i].name == name) {
            removed_.removeAt(i);
            return;
        }
    }
}

int CGroupsPage::selectedIndex() const {
    const QListWidgetItem* item = list_->currentItem();
    if (!item || !item->isSelected()) return -1;
    const int index = item->data(kGroupIndexRole).toInt();
    return index >= 0 && index < groups_.size() ? index : -1;
}

void CGroupsPage::refillList(int selectIndex) {
    list_->clear();
    for (int i = 0; i < groups_.size(); ++i) {
        QListWidgetItem* item = insertSorted(list_, groups_[i].name);
        item->setData(kGroupIndexRole, i);
        if (i == selectIndex) list_->setCurrentItem(item);
    }
}

bool CGroupsPage::addGroup() {
    GroupEntry group;
    CGroupDetailsDlg dialog(group, namesExcept(-1), this);
    if (dialog.exec() != QDialog::Accepted) return false;
    group.previousName.clear();  // a new group has no events or contacts to carry
    groups_.append(group);
    dropRemoved(group.name);
    refillList(int(groups_.size()) - 1);
    return true;
}

bool CGroupsPage::editSelectedGroup() {
    const int index = selectedIndex();
    if (index < 0) return false;
    GroupEntry copy = groups_[index];
    CGroupDetailsDlg dialog(copy, namesExcept(index), this);
    if (dialog.exec() != QDialog::Accepted) return false;
    groups_[index] = copy;
    dropRemoved(copy.name);
    refillList(index);
    return true;
}

bool CGroupsPage::removeSelectedGroup() {
    const int index = selectedIndex();
    if (index < 0) return false;
    if (groups_.size() < 2) {
        showExclamation(this, sheettext::kLastGroup);
        return false;
    }
    // The question says where the group's events go.
    const QString firstRemaining = groups_[index == 0 ? 1 : 0].name;
    const QString question = QString::fromUtf8(sheettext::kDeleteGroup) + QStringLiteral("\n\n") +
                             QString::fromUtf8(sheettext::kDeleteGroupMoves).arg(firstRemaining);
    if (!askOkCancel(this, question)) return false;
    GroupEntry removed = groups_.takeAt(index);
    // Events and contacts still carry the name the group has in the document.
    if (!removed.previousName.isEmpty()) removed.name = removed.previousName;
    removed_.append(removed);
    refillList(-1);
    return true;
}

}  // namespace skedlin
