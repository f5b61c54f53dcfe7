#pragma once
// The two ways a report is printed: readable text (indented "Name: value"
// lines, list items marked "-") and JSON (UTF-8, members in report order).

#include <string>

#include "tools/inspect/ReportTree.h"

namespace skedlin::inspect {

std::string printText(const Node& report);
std::string printJson(const Node& report);

// "firstEventId" -> "First event id": a member name as the text report shows it.
std::string memberLabel(const std::string& name);

}  // namespace skedlin::inspect
