#pragma once
// The contact sheet ("New Contact" / "Contact Details"): General, Contact -
// Groups and Notes over a copy of one contact. OK writes the pages into the
// contact; Cancel leaves it as it was.

#include <QStringList>

#include "editor/document/PackageEntries.h"
#include "editor/ui/CSheetDialog.h"

namespace skedlin {

class CContactGeneral;
class CContactGroups;
class CContactNotes;

class CContactSheet : public CSheetDialog {
    Q_OBJECT
public:
    CContactSheet(const QString& caption, ContactEntry& contact, const QStringList& groupNames,
                  QWidget* parent = nullptr);

    CContactGeneral* generalPage() const { return general_; }
    CContactGroups* groupsPage() const { return groups_; }
    CContactNotes* notesPage() const { return notes_; }

protected:
    bool commit() override;

private:
    ContactEntry& contact_;
    CContactGeneral* general_;
    CContactGroups* groups_;
    CContactNotes* notes_;
};

}  // namespace skedlin
