#pragma once
// Shared by the user interface tests: an offscreen application, a settings
// profile in a temporary folder, a way to answer the modal dialogs a command
// opens, and small events and contacts to fill a document with.

#include <QFileDialog>
#include <QString>
#include <QWidget>

#include <functional>

#include "editor/document/DateTimeValue.h"
#include "editor/document/PackageEntries.h"

namespace skedlin::test {

// Empties the settings profile.
void clearProfile();

// Runs action; every modal dialog it opens is handed to answer (which must
// close it), as many times as dialogs appear.
void withModalAnswer(const std::function<void()>& action, const std::function<void(QWidget*)>& answer);

// Chooses path in a file dialog and accepts it. The file name box is filled
// directly: selectFile() leaves the box alone while it has the keyboard focus,
// and whether it has it yet depends on how fast the window was activated.
void acceptFileDialog(QFileDialog* dialog, const QString& path);

// The text of every label, line edit and plain text edit of a dialog, joined by line feeds.
QString dialogText(QWidget* dialog);

// An untimed event on that day of January 2003.
inline EventEntry event(const QString& title, int day, const QString& group = QStringLiteral("Events")) {
    EventEntry entry;
    entry.title = title;
    entry.date = DateTimeValue::fromDate(2003, 1, day);
    entry.groupName = group;
    return entry;
}

inline ContactEntry contact(int id, const QString& last, const QStringList& groups = {}) {
    ContactEntry entry;
    entry.id = id;
    entry.lastName = last;
    entry.memberGroups = groups;
    return entry;
}

}  // namespace skedlin::test
