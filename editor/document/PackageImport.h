#pragma once
// Importing events and contacts from another program's file into the open
// package. The reader is picked by the file's extension, compared in capitals:
// ".dba" Date Book Archive, ".vcs" vCalendar, ".ics" iCalendar, ".vcf" vCard,
// ".csv" CSV.
// A failed read adds nothing, not even what was read before the failure.

#include <QString>

#include "editor/document/ImportMessages.h"
#include "editor/document/ImportOptions.h"

namespace skedlin {

class CSkedlinDoc;

enum class ImportOutcome {
    Imported,          // the entries were added (possibly none)
    Failed,            // the sink was told why; nothing was added
    UnknownExtension,  // nothing read, nothing shown
};

ImportOutcome importPackageFile(CSkedlinDoc& document, const QString& path, ImportMessageSink& messages);
ImportOutcome importPackageFile(CSkedlinDoc& document, const QString& path, ImportMessageSink& messages,
                                const ImportOptions& options);

// The extension of a path in capitals: the text after its last "." (the whole
// path when there is none).
QString importExtension(const QString& path);

}  // namespace skedlin
