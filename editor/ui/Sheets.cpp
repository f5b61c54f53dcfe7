#include "editor/ui/Sheets.h"

#include "editor/ui/CContactSheet.h"
#include "editor/ui/CEventSheet.h"
#include "editor/ui/CPackagePropertiesSheet.h"
#include "editor/ui/SheetMessages.h"
#include "editor/ui/SheetText.h"

namespace skedlin {

bool runPackageWizard(CSkedlinDoc& document, QWidget* parent) {
    CPackagePropertiesSheet wizard(document, true, parent);
    return wizard.run();
}

bool CPackageWizardUi::runWizard(CSkedlinDoc& document) { return runPackageWizard(document, parent_); }

void CPackageWizardUi::showInformation(const QString& message) { skedlin::showInformation(parent_, message); }

bool showCalendarProperties(CSkedlinDoc& document, QWidget* parent) {
    CPackagePropertiesSheet sheet(document, false, parent);
    if (!sheet.run()) return false;
    // Group renames change the events' and contacts' cells too.
    document.updateAllViews();
    return true;
}

bool newEvent(CSkedlinDoc& document, EventEntry& proposal, QWidget* parent) {
    EventEntry event = proposal;
    CEventSheet sheet(sheettext::kNewEventCaption, event, document.groupNames(), parent);
    if (!sheet.run()) return false;
    document.beginStep(QString::fromUtf8(sheettext::kNewEventCaption));
    document.addEvent(event);
    document.endStep();
    document.updateAllViews();
    proposal = event;
    return true;
}

bool editEvent(CSkedlinDoc& document, int eventIndex, QWidget* parent) {
    if (eventIndex < 0 || eventIndex >= document.events().size()) return false;
    EventEntry event = document.events().at(eventIndex);
    CEventSheet sheet(sheettext::kEventDetailsCaption, event, document.groupNames(), parent);
    if (!sheet.run()) return false;
    // A confirmed event sheet counts as a change even when nothing differs.
    document.beginStep(QString::fromUtf8(sheettext::kEventDetailsCaption), true);
    document.replaceEvent(eventIndex, event);
    document.endStep();
    return true;
}

bool newContact(CSkedlinDoc& document, QWidget* parent) {
    ContactEntry contact;
    contact.id = document.nextFreeContactId();
    contact.phoneTypes = kDefaultPhoneTypes;
    CContactSheet sheet(sheettext::kNewContactCaption, contact, document.groupNames(), parent);
    if (!sheet.run()) return false;
    document.beginStep(QString::fromUtf8(sheettext::kNewContactCaption));
    document.addContact(contact);
    document.endStep();
    document.updateAllViews();
    return true;
}

bool editContact(CSkedlinDoc& document, int contactIndex, QWidget* parent) {
    if (contactIndex < 0 || contactIndex >= document.contacts().size()) return false;
    ContactEntry contact = document.contacts().at(contactIndex);
    CContactSheet sheet(sheettext::kContactDetailsCaption, contact, document.groupNames(), parent);
    if (!sheet.run()) return false;
    // Marks the document modified (and tells the views) only when the contact changed.
    document.beginStep(QString::fromUtf8(sheettext::kContactDetailsCaption));
    document.replaceContact(contactIndex, contact);
    document.endStep();
    return true;
}

}  // namespace skedlin
