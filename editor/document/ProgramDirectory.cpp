#include "editor/document/ProgramDirectory.h"

#include <QCoreApplication>
#include <QDir>

namespace skedlin {
namespace {

QString& overriddenDirectory() {
    static QString directory;
    return directory;
}

QString withSeparator(QString directory) {
    if (!directory.isEmpty() && !directory.endsWith(QLatin1Char('/')) && !directory.endsWith(QLatin1Char('\\')))
        directory += QLatin1Char('/');
    return directory;
}

}  // namespace

QString programDirectory() {
    if (!overriddenDirectory().isEmpty()) return overriddenDirectory();
    if (QCoreApplication::instance()) return withSeparator(QCoreApplication::applicationDirPath());
    return withSeparator(QDir::currentPath());
}

void setProgramDirectory(const QString& directory) { overriddenDirectory() = withSeparator(directory); }

}  // namespace skedlin
