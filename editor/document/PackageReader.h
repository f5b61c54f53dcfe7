#pragma once
// Reading a calendar package XML file into an editor document.

#include <QString>

namespace skedlin {

class CSkedlinDoc;

// Read result codes; they share their numbers with the builder's exit codes so
// that both programs explain a bad file with the same message.
enum ReadResult : int {
    kReadOk = 0,
    kReadXmlError = 2,  // not well-formed, invalid, or a required part missing
    kReadParserUnavailable = 3,
    kReadBadDaysOfWeek = 8,
    kReadBadDate = 9,
    kReadDuplicateContactId = 10,
    kReadUnknownContactId = 11,
};

// Appends the package at path to the (cleared) document without its add
// operations: no id reassignment, no group creation, no modified flag. The
// document's path must already be set: relative bitmap paths are resolved
// against its folder. On failure the document's last error holds the details.
int readPackage(const QString& path, CSkedlinDoc& document);

}  // namespace skedlin
