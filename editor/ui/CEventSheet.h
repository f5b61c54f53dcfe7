#pragma once
// The event sheet ("New Event" / "Event Details"): General, Repeat and Note
// over a copy of one event. OK writes the pages into the event; Cancel leaves
// it as it was.

#include <QStringList>

#include "editor/document/PackageEntries.h"
#include "editor/ui/CSheetDialog.h"

namespace skedlin {

class CEventGeneral;
class CEventRepeat;
class CEventNote;

class CEventSheet : public CSheetDialog {
    Q_OBJECT
public:
    CEventSheet(const QString& caption, EventEntry& event, const QStringList& groupNames, QWidget* parent = nullptr);

    CEventGeneral* generalPage() const { return general_; }
    CEventRepeat* repeatPage() const { return repeat_; }
    CEventNote* notePage() const { return note_; }

protected:
    bool commit() override;

private:
    EventEntry& event_;
    CEventGeneral* general_;
    CEventRepeat* repeat_;
    CEventNote* note_;
};

}  // namespace skedlin
