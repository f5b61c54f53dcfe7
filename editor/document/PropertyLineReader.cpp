#include "editor/document/PropertyLineReader.h"

namespace skedlin {

QString unescapePropertyValue(const QString& value) {
    QString result = value;
    result.replace(QStringLiteral("\\n"), QStringLiteral("\r\n"));
    result.replace(QStringLiteral("=0D"), QStringLiteral("\r"));
    result.replace(QStringLiteral("=0A"), QStringLiteral("\n"));
    return result;
}

PropertyLine parsePropertyLine(const QString& line) {
    PropertyLine property;
    property.raw = line;
    const qsizetype colon = line.indexOf(u':');
    if (colon >= 0) {
        QString name = line.left(colon);
        const qsizetype semicolon = name.indexOf(u';');
        if (semicolon >= 0) {
            property.parameters = name.mid(semicolon + 1).split(u';');
            name.truncate(semicolon);
        }
        property.name = name;
        property.value = unescapePropertyValue(line.mid(colon + 1));
    }
    property.values = property.value.split(u';');
    return property;
}

}  // namespace skedlin
