#include "editor/ui/NotePages.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "editor/ui/SheetText.h"

namespace skedlin {

CNotePage::CNotePage(const QString& caption, int helpContext, const QString& note, QWidget* parent)
    : CSheetPage(caption, helpContext, parent) {
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(sheettext::kNotesLabel, this);
    noteEdit_ = new QPlainTextEdit(note, this);
    // Tab moves on to the next field: a tab character has no use in a note.
    noteEdit_->setTabChangesFocus(true);
    label->setBuddy(noteEdit_);
    layout->addWidget(label);
    layout->addWidget(noteEdit_, 1);
}

QString CNotePage::note() const { return noteEdit_->toPlainText(); }

CEventNote::CEventNote(const QString& note, QWidget* parent)
    : CNotePage(sheettext::kNotePage, kEventNoteHelp, note, parent) {}

CContactNotes::CContactNotes(const QString& note, QWidget* parent)
    : CNotePage(sheettext::kNotesPage, kContactNotesHelp, note, parent) {}

}  // namespace skedlin
