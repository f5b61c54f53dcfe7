#pragma once
// File > Export: asks for an iCalendar (.ics) or vCard (.vcf) file name and
// writes the package's events or contacts to it.

class QWidget;

namespace skedlin {

class CSkedlinDoc;

void runExportCommand(const CSkedlinDoc& document, QWidget* parent);

}  // namespace skedlin
