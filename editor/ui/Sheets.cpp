#include "editor/ui/Sheets.h"

#include <QMessageBox>

namespace skedlin {

// Temporary bodies: the entries are taken with their defaults until the real
// sheets are wired in.

bool runPackageWizard(CSkedlinDoc&, QWidget*) { return true; }

void CPackageWizardUi::runWizard(CSkedlinDoc& document) { runPackageWizard(document, parent_); }

void CPackageWizardUi::showInformation(const QString& message) {
    QMessageBox::information(parent_, QString(), message);
}

bool showCalendarProperties(CSkedlinDoc&, QWidget*) { return true; }

bool newEvent(CSkedlinDoc& document, EventEntry& proposal, QWidget*) {
    document.addEvent(proposal);
    document.updateAllViews();
    return true;
}

bool editEvent(CSkedlinDoc& document, int eventIndex, QWidget*) {
    return eventIndex >= 0 && eventIndex < document.events().size();
}

bool newContact(CSkedlinDoc& document, QWidget*) {
    ContactEntry contact;
    contact.id = document.nextFreeContactId();
    document.addContact(contact);
    document.updateAllViews();
    return true;
}

bool editContact(CSkedlinDoc& document, int contactIndex, QWidget*) {
    return contactIndex >= 0 && contactIndex < document.contacts().size();
}

}  // namespace skedlin
