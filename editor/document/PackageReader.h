#pragma once
// Reading a calendar package XML file into an editor document.

#include <QString>

#include "builder/BuilderMessages.h"
#include "formats/Result.h"

namespace skedlin {

class CSkedlinDoc;

// The outcome of reading a package. A bad file fails with the builder's exit
// code for it (kExitXmlParser, kExitXmlComponent, kExitDaysOfWeek,
// kExitInvalidDate, kExitDuplicateContactId, kExitInvalidContactId), so that
// both programs explain it with the same message; the message holds the
// details shown below that explanation (it may be empty).
using OpenResult = Result<builder::ExitCode, QString>;

// Appends the package at path to the (cleared) document without its add
// operations: no id reassignment, no group creation, no modified flag. The
// document's path must already be set: relative bitmap paths are resolved
// against its folder.
OpenResult readPackage(const QString& path, CSkedlinDoc& document);

}  // namespace skedlin
