#include "editor/document/DocumentMessages.h"

#include "editor/document/BuildCommand.h"

namespace skedlin::messages {

QString messageForCode(builder::ExitCode code) {
    // The Build command's own endings lie outside the builder's exit codes.
    if (code == kBuilderNotStarted)
        return QStringLiteral("The Skedlin Calendar Builder application was not found. ");  // 2088
    if (code == kBuilderEndedAbnormally) return QString::fromLatin1(kBuilderCrashed);
    switch (code) {
    case builder::kExitXmlParser:
        return QStringLiteral("An error was detected in the calendar package XML file.");  // 2061
    case builder::kExitXmlComponent:
        return QStringLiteral("The Micorsoft XML Parser library is not available on this machine.");  // 2062
    case builder::kExitMissingFile:
        return QStringLiteral("A file referenced in the calendar package is missing.");  // 2063
    case builder::kExitBitmapSize:
        return QStringLiteral("The size of a bitmap file referenced in the schedule package is invalid.");  // 2064
    case builder::kExitBitmapColorDepth:
        return QStringLiteral("The color depth in a bitmap is not supported.");  // 2065
    case builder::kExitBitmapFormat:
        return QStringLiteral(
            "The color depth of a bitmap referenced in the schedule package is not supported.");  // 2066
    case builder::kExitDaysOfWeek:
        return QStringLiteral("The days of the week string in the schedule package is invalid.");  // 2067
    case builder::kExitInvalidDate:
        return QStringLiteral("The date format used in the schedule package is invalid.");  // 2068
    case builder::kExitDuplicateContactId:
        return QStringLiteral("There is a duplicate contact Id in the schedule package XML file.");  // 2069
    case builder::kExitInvalidContactId:
        return QStringLiteral("A contact Id referenced in a group does not exist.");  // 2070
    default: return QString();
    }
}

}  // namespace skedlin::messages
