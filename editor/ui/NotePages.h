#pragma once
// The note pages of the event sheet ("Note") and of the contact sheet
// ("Notes"): one multi-line text each.

#include <QString>

#include "editor/ui/SheetPage.h"

class QPlainTextEdit;

namespace skedlin {

inline constexpr int kEventNoteHelp = 143;
inline constexpr int kContactNotesHelp = 137;

class CNotePage : public CSheetPage {
    Q_OBJECT
public:
    QString note() const;
    QPlainTextEdit* noteEdit() const { return noteEdit_; }

protected:
    CNotePage(const QString& caption, int helpContext, const QString& note, QWidget* parent);

private:
    QPlainTextEdit* noteEdit_;
};

class CEventNote : public CNotePage {
    Q_OBJECT
public:
    explicit CEventNote(const QString& note, QWidget* parent = nullptr);
};

class CContactNotes : public CNotePage {
    Q_OBJECT
public:
    explicit CContactNotes(const QString& note, QWidget* parent = nullptr);
};

}  // namespace skedlin
