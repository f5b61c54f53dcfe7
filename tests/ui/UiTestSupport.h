#pragma once
// Shared by the user interface tests: an offscreen application, a settings
// profile in a temporary folder, and a way to answer the modal dialogs a
// command opens.

#include <QString>
#include <QWidget>

#include <functional>

namespace skedlin::test {

// Empties the settings profile.
void clearProfile();

// Runs action; every modal dialog it opens is handed to answer (which must
// close it), as many times as dialogs appear.
void withModalAnswer(const std::function<void()>& action, const std::function<void(QWidget*)>& answer);

// The text of every label, line edit and plain text edit of a dialog, joined by line feeds.
QString dialogText(QWidget* dialog);

}  // namespace skedlin::test
