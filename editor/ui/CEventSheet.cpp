#include "editor/ui/CEventSheet.h"

#include "editor/ui/CEventGeneral.h"
#include "editor/ui/CEventRepeat.h"
#include "editor/ui/NotePages.h"
#include "editor/ui/SheetMessages.h"
#include "editor/ui/SheetText.h"

namespace skedlin {

CEventSheet::CEventSheet(const QString& caption, EventEntry& event, const QStringList& groupNames, QWidget* parent)
    : CSheetDialog(caption, Mode::Tabbed, parent), event_(event) {
    general_ = new CEventGeneral(event, groupNames);
    repeat_ = new CEventRepeat(event);
    repeat_->setEventDateSource([this] { return general_->date(); });
    note_ = new CEventNote(event.note);
    addPage(general_);
    addPage(repeat_);
    addPage(note_);
}

bool CEventSheet::commit() {
    // A repeat that ends before the event's first day would never show it.
    if (repeat_->hasEndDate() && repeat_->endDate() < general_->date()) {
        showPlainMessage(this, sheettext::kRepeatEndBeforeDate);
        setCurrentIndex(1);
        return false;
    }
    general_->writeTo(event_);
    repeat_->writeTo(event_);
    event_.note = note_->note();
    return true;
}

}  // namespace skedlin
