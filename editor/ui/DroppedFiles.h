#pragma once
// What the main window does with a file dropped on it.

#include <QString>

namespace skedlin {

enum class DroppedFileAction { Open, Import, Refuse };

// ".xml" opens as a package; ".dba", ".vcs", ".ics", ".vcf" and ".csv" are imported
// into the open package; anything else is refused. The extension is the text
// after the last dot of the file name, in any letter case.
DroppedFileAction droppedFileAction(const QString& path);

}  // namespace skedlin
