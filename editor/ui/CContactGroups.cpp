#include "editor/ui/CContactGroups.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/ui/SheetText.h"
#include "editor/ui/SortedLists.h"

namespace skedlin {

namespace {
constexpr int kPhoneTypeCount = 8;

// The list entry that shows a stored type; types the package does not know
// are named "work" when written, so they show as Work.
int typeEntryOf(std::int32_t type) { return type >= 0 && type < kPhoneTypeCount ? type : kPhoneWork; }
}  // namespace

CContactGroups::CContactGroups(const ContactEntry& contact, const QStringList& documentGroups, QWidget* parent)
    : CSheetPage(sheettext::kContactGroupsPage, kContactGroupsHelp, parent), originalGroups_(contact.memberGroups) {
    auto* layout = new QVBoxLayout(this);
    auto* phoneBox = new QGroupBox(sheettext::kContactInfoBox, this);
    auto* phones = new QGridLayout(phoneBox);
    for (int row = 0; row < kPhoneSlotCount; ++row) {
        phoneTypes_[row] = new QComboBox(phoneBox);
        for (const char* text : sheettext::kPhoneTypes) phoneTypes_[row]->addItem(QString::fromUtf8(text));
        phoneTypes_[row]->setCurrentIndex(typeEntryOf(contact.phoneTypes[row]));
        phoneNumbers_[row] = new QLineEdit(contact.phoneNumbers[row], phoneBox);
        phones->addWidget(phoneTypes_[row], row, 0);
        phones->addWidget(phoneNumbers_[row], row, 1);
    }
    phones->setColumnStretch(1, 1);
    layout->addWidget(phoneBox);

    auto* groupBox = new QGroupBox(sheettext::kMembershipBox, this);
    auto* groups = new QGridLayout(groupBox);
    auto* memberLabel = new QLabel(sheettext::kMemberOfLabel, groupBox);
    auto* availableLabel = new QLabel(sheettext::kAvailableLabel, groupBox);
    memberList_ = new QListWidget(groupBox);
    availableList_ = new QListWidget(groupBox);
    memberLabel->setBuddy(memberList_);
    availableLabel->setBuddy(availableList_);
    auto* buttons = new QVBoxLayout;
    auto* addButton = new QPushButton(sheettext::kAddButton, groupBox);
    auto* removeButton = new QPushButton(sheettext::kRemoveButton, groupBox);
    buttons->addStretch(1);
    buttons->addWidget(addButton);
    buttons->addWidget(removeButton);
    buttons->addStretch(1);
    groups->addWidget(memberLabel, 0, 0);
    groups->addWidget(availableLabel, 0, 2);
    groups->addWidget(memberList_, 1, 0);
    groups->addLayout(buttons, 1, 1);
    groups->addWidget(availableList_, 1, 2);
    layout->addWidget(groupBox, 1);

    for (const QString& name : contact.memberGroups) insertSorted(memberList_, name);
    for (const QString& name : documentGroups)
        if (!contact.memberGroups.contains(name)) insertSorted(availableList_, name);

    connect(addButton, &QPushButton::clicked, this, &CContactGroups::addSelectedGroup);
    connect(removeButton, &QPushButton::clicked, this, &CContactGroups::removeSelectedGroup);
    connect(availableList_, &QListWidget::itemDoubleClicked, this, &CContactGroups::addSelectedGroup);
    connect(memberList_, &QListWidget::itemDoubleClicked, this, &CContactGroups::removeSelectedGroup);
}

bool CContactGroups::moveSelected(QListWidget* from, QListWidget* to) {
    QListWidgetItem* item = from->currentItem();
    if (!item || !item->isSelected()) return false;
    const QString name = item->text();
    delete from->takeItem(from->row(item));
    to->setCurrentItem(insertSorted(to, name));
    return true;
}

bool CContactGroups::addSelectedGroup() { return moveSelected(availableList_, memberList_); }
bool CContactGroups::removeSelectedGroup() { return moveSelected(memberList_, availableList_); }

void CContactGroups::writeTo(ContactEntry& contact) const {
    for (int row = 0; row < kPhoneSlotCount; ++row) contact.phoneNumbers[row] = phoneNumbers_[row]->text();
    for (int row = 0; row < kPhoneSlotCount; ++row) {
        // A type the list cannot show stays as stored unless the user picks one.
        const int shown = phoneTypes_[row]->currentIndex();
        if (shown != typeEntryOf(contact.phoneTypes[row])) contact.phoneTypes[row] = shown;
    }
    contact.memberGroups = wasActivated() ? listTexts(memberList_) : originalGroups_;
}

}  // namespace skedlin
