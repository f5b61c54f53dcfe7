#pragma once
// The editor's sheets as the main window and the list view call them: the
// package properties (as the New Calendar Package Wizard or as the tabbed
// "Calendar Properties" sheet), the event sheet and the contact sheet. Each runs
// modally, works on copies and writes back through the document's operations
// only when the user confirms; Cancel changes nothing. Each returns whether the
// user confirmed.

#include "editor/document/CSkedlinDoc.h"

class QWidget;

namespace skedlin {

// Runs the "New Calendar Package Wizard" on a document that already holds the
// new package's defaults; true when it ended with Finish.
bool runPackageWizard(CSkedlinDoc& document, QWidget* parent);

// The wizard and the message that follows it, as CSkedlinDoc::newDocument
// wants them: pass an instance to newDocument when a new package is made.
class CPackageWizardUi : public NewPackageWizard {
public:
    explicit CPackageWizardUi(QWidget* parent) : parent_(parent) {}
    bool runWizard(CSkedlinDoc& document) override;
    void showInformation(const QString& message) override;

private:
    QWidget* parent_;
};

// The tabbed "Calendar Properties" sheet; true when it ended with OK.
bool showCalendarProperties(CSkedlinDoc& document, QWidget* parent);

// "New Event": the sheet on the proposed event (the view sets its date, start
// and end time, all-day flag and first group). On OK the edited event is added
// to the document (creating its group when missing), the views are told, and
// `proposal` holds the event as added, so the view can remember its date and
// start time for the next new event.
bool newEvent(CSkedlinDoc& document, EventEntry& proposal, QWidget* parent);

// "Event Details" on the document's event at eventIndex; on OK the event is
// replaced and the document marked modified. False for an index out of range.
bool editEvent(CSkedlinDoc& document, int eventIndex, QWidget* parent);

// "New Contact": a contact with the next free id and the default phone types;
// on OK it is added to the document and the views are told.
bool newContact(CSkedlinDoc& document, QWidget* parent);

// "Contact Details" on the document's contact at contactIndex; on OK the
// contact is replaced (the document is marked modified when it changed).
bool editContact(CSkedlinDoc& document, int contactIndex, QWidget* parent);

}  // namespace skedlin
