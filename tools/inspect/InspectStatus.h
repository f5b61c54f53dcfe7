#pragma once
// The outcome of an inspection: what kind of file it was found to be, and the
// exit status SkedlinTool inspect gives for it.

#include <string>

#include "tools/inspect/ReportTree.h"

namespace skedlin::inspect {

// Exit statuses of SkedlinTool inspect.
enum class InspectStatus {
    Ok = 0,          // a package, read without finding anything wrong
    Unreadable = 1,  // the file cannot be opened or read, or is too large
    NotPackage = 3,  // not a resource database, cabinet or executable, or one without a package in it
    Damaged = 4,     // a package, but damaged: the report lists the problems
};

struct InspectResult {
    InspectStatus status = InspectStatus::Ok;
    // For NotPackage and Unreadable, and for a Damaged file that could not be
    // read far enough for a report: what is wrong, in one sentence.
    std::string message;
    // The report; empty when there is none (see message).
    Node report = Node::object();
    bool hasReport = false;
};

}  // namespace skedlin::inspect
