#pragma once
// Opens the user manual at the page of a help context number (the number of the
// dialog or property page the user is on).

#include <QString>

#include <functional>

namespace skedlin {

// Opens the manual page of a help context in the desktop's browser; says so
// when the page is missing or nothing can show it.
void openHelpContext(int context);
// The manual page of a help context, beside the program; the manual's first
// page for the program's own context (1) and any context without a page.
QString helpPagePath(int context);

// Replaces what openHelpContext does (tests record the context instead of
// starting a browser). An empty handler restores the default.
void setHelpContextHandler(std::function<void(int)> handler);

}  // namespace skedlin
