#pragma once
// Imports a Date Book Archive, vCalendar, iCalendar, vCard or CSV file into
// the open package, showing the importer's messages in message boxes and
// asking for the period over which repeat rules are expanded when needed. The
// import is one undo step however many entries it brings.

#include <QString>

class QWidget;

namespace skedlin {

class CSkedlinDoc;

// What an import added.
struct ImportCounts {
    bool imported = false;  // the file was read (perhaps adding nothing)
    int events = 0;
    int contacts = 0;
};

ImportCounts runImportCommand(CSkedlinDoc& document, const QString& path, QWidget* parent);

// "Imported 3 events and 2 contacts from file.vcs." for the status bar.
QString importSummary(const ImportCounts& counts, const QString& path);

}  // namespace skedlin
