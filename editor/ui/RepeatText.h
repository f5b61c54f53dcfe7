#pragma once
// How an event repeats, in words, for the tool tip of the event list:
// "Repeats every 2 weeks on Monday and Friday until 31/12/2003".

#include <QString>

#include "editor/document/PackageEntries.h"

namespace skedlin {

// Empty for an event that does not repeat.
QString repeatDescription(const EventEntry& event);

}  // namespace skedlin
