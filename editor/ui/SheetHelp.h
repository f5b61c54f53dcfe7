#pragma once
// Opens the user manual at the page of a help context number (the number of the
// dialog or property page the user is on).

#include <functional>

namespace skedlin {

void openHelpContext(int context);

// Replaces what openHelpContext does (tests record the context instead of
// starting a browser). An empty handler restores the default.
void setHelpContextHandler(std::function<void(int)> handler);

}  // namespace skedlin
