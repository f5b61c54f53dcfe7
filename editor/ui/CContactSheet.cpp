#include "editor/ui/CContactSheet.h"

#include "editor/ui/CContactGeneral.h"
#include "editor/ui/CContactGroups.h"
#include "editor/ui/NotePages.h"

namespace skedlin {

CContactSheet::CContactSheet(const QString& caption, ContactEntry& contact, const QStringList& groupNames,
                             QWidget* parent)
    : CSheetDialog(caption, Mode::Tabbed, parent), contact_(contact) {
    general_ = new CContactGeneral(contact);
    groups_ = new CContactGroups(contact, groupNames);
    notes_ = new CContactNotes(contact.note);
    addPage(general_);
    addPage(groups_);
    addPage(notes_);
    resize(480, 460);
}

bool CContactSheet::commit() {
    general_->writeTo(contact_);
    groups_->writeTo(contact_);
    contact_.note = notes_->note();
    return true;
}

}  // namespace skedlin
