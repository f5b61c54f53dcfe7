#pragma once
// Imports the events of an iCalendar file into the document: reads
// them, asks for the expansion window when rules must be expanded, adds the
// events and tells the user what was left out or expanded. Nothing is added
// when the file cannot be read or the user cancels.

#include <QString>
#include <QStringList>

#include "editor/document/ImportMessages.h"
#include "editor/document/ImportOptions.h"

namespace skedlin {

class CSkedlinDoc;

bool importICalendar(CSkedlinDoc& document, const QByteArray& bytes, const QString& defaultGroup,
                     ImportMessageSink& messages, const ImportOptions& options);

}  // namespace skedlin
