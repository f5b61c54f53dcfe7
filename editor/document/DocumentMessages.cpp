#include "editor/document/DocumentMessages.h"

namespace skedlin::messages {

QString messageForCode(int code) {
    switch (code) {
    case 2: return QStringLiteral("An error was detected in the calendar package XML file.");                   // 2061
    case 3: return QStringLiteral("The Micorsoft XML Parser library is not available on this machine.");        // 2062
    case 4: return QStringLiteral("A file referenced in the calendar package is missing.");                     // 2063
    case 5: return QStringLiteral("The size of a bitmap file referenced in the schedule package is invalid.");  // 2064
    case 6: return QStringLiteral("The color depth in a bitmap is not supported.");                             // 2065
    case 7:
        return QStringLiteral(
            "The color depth of a bitmap referenced in the schedule package is not supported.");          // 2066
    case 8: return QStringLiteral("The days of the week string in the schedule package is invalid.");     // 2067
    case 9: return QStringLiteral("The date format used in the schedule package is invalid.");            // 2068
    case 10: return QStringLiteral("There is a duplicate contact Id in the schedule package XML file.");  // 2069
    case 11: return QStringLiteral("A contact Id referenced in a group does not exist.");                 // 2070
    case -1: return QStringLiteral("The Skedlin Calendar Builder application was not found. ");           // 2088
    default: return QString();
    }
}

}  // namespace skedlin::messages
