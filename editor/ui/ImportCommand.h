#pragma once
// Imports a Date Book Archive, vCalendar, vCard or CSV file into the open
// package, showing the importer's messages in message boxes.

#include <QString>

class QWidget;

namespace skedlin {

class CSkedlinDoc;

void runImportCommand(CSkedlinDoc& document, const QString& path, QWidget* parent);

}  // namespace skedlin
