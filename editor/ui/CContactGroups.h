#pragma once
// Contact - Groups (dialog 136) of the contact sheet: the five phone rows with
// their types, and the contact's group membership moved between "Member of"
// and "Available groups".

#include <QStringList>

#include "editor/document/PackageEntries.h"
#include "editor/ui/SheetPage.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace skedlin {

inline constexpr int kContactGroupsHelp = 136;

class CContactGroups : public CSheetPage {
    Q_OBJECT
public:
    // documentGroups: the document's group names in group order.
    CContactGroups(const ContactEntry& contact, const QStringList& documentGroups, QWidget* parent = nullptr);

    // Writes the five phone numbers, the five phone types and (when the page
    // was opened) the member groups in the alphabetical order shown.
    void writeTo(ContactEntry& contact) const;

    QComboBox* phoneType(int row) const { return phoneTypes_[row]; }
    QLineEdit* phoneNumber(int row) const { return phoneNumbers_[row]; }
    QListWidget* memberList() const { return memberList_; }
    QListWidget* availableList() const { return availableList_; }

    // Add and Remove: move the selected group across; false without a selection.
    bool addSelectedGroup();
    bool removeSelectedGroup();

private:
    bool moveSelected(QListWidget* from, QListWidget* to);

    QStringList originalGroups_;
    QComboBox* phoneTypes_[kPhoneSlotCount];
    QLineEdit* phoneNumbers_[kPhoneSlotCount];
    QListWidget* memberList_;
    QListWidget* availableList_;
};

}  // namespace skedlin
