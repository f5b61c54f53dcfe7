#pragma once
// Opens a file or folder with the program the desktop has for it (help pages,
// the package source, the build's output folder) and says so when nothing
// could open it: no opener at all, or an opener that found no program.

#include <QString>

class QWidget;

namespace skedlin {

// failureText holds "%1" for the path. The opener's verdict may arrive after
// this returns; the message then goes to the window that is active.
void openWithDesktop(const QString& path, QWidget* parent, const QString& failureText);

}  // namespace skedlin
